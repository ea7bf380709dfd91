// The device's pictures: each screen drawn as a person sees it, encoded as PNG, and a version
// number a front end compares to send a picture only when it changed. `changes` keeps a picture
// of each screen and redraws only what views marked as changed, answering the changed
// rectangles (device/ScreenChanges.h), so a front end sends only those. The phone's display is
// composited from several windows (UIDisplayCanvas): what any of them marked, and what a window
// that came, went or moved uncovers, is drawn again and composited.
#pragma once

#include "device/Names.h"
#include "device/ScreenChanges.h"

#include "uikit/UIDisplayCanvas.h"
#include "uikit/UISnapshot.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace sim {

class Apps;

class Pictures {
  public:
    Pictures(Apps& apps, double scale) : apps_(apps), scale_(scale) {}
    Pictures(const Pictures&) = delete;
    Pictures& operator=(const Pictures&) = delete;

    SnapshotImage render(Screen screen, double scale = 0); // 0: the screen's own scale
    std::vector<uint8_t> png(Screen screen, double scale = 0);
    // SpringBoard's status bar alone.
    SnapshotImage renderStatusBar(double scale = 0);
    // Grows whenever the screen's rendered pixels differ from the last rendering this call made.
    uint64_t screenVersion(Screen screen);
    // One rendering for a front end that sends pictures: the screen's version (as
    // screenVersion) and, only when it differs from `knownVersion` (0 when the front end has
    // none yet), the PNG bytes.
    struct Frame {
        uint64_t version = 0;
        std::vector<uint8_t> png; // empty when the screen is unchanged
    };
    Frame frame(Screen screen, uint64_t knownVersion);
    // What changed on the screen since the last call (all of it at the first).
    ScreenChanges changes(Screen screen);
    // The picture `changes` keeps of the screen, as of its last call.
    SnapshotImage keptPicture(Screen screen) const;

  private:
    struct Rendered {
        bool any = false;
        uint64_t hash = 0;
        uint64_t version = 0;
    };
    Apps& apps_;
    double scale_;
    // The phone's changes, once booted: its display's windows and alerts, redrawn where they
    // changed.
    ScreenChanges phoneChanges();

    std::array<Rendered, kScreenCount> rendered_;
    // Each screen's kept picture for `changes`, and its version.
    std::array<std::unique_ptr<UIScreenCanvas>, kScreenCount> canvas_;
    std::unique_ptr<UIDisplayCanvas> phoneCanvas_;
    std::array<uint64_t, kScreenCount> changesVersion_{};
};

} // namespace sim
