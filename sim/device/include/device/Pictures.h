// The device's pictures: each screen drawn as a person sees it, encoded as PNG, and a version
// number a front end compares to send a picture only when it changed.
#pragma once

#include "device/Names.h"

#include "uikit/UISnapshot.h"

#include <array>
#include <cstdint>
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

  private:
    struct Rendered {
        bool any = false;
        uint64_t hash = 0;
        uint64_t version = 0;
    };
    Apps& apps_;
    double scale_;
    std::array<Rendered, 2> rendered_;
};

} // namespace sim
