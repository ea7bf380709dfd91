// What the device's files share: the state around its two screens (the window each shows, built
// anew from the hosts whenever no finger is down on it; the touch in progress; which screen each
// alert belongs to; the text field being edited; what each screen last rendered), and the Clock
// alarm SpringBoard keeps for a request.
#pragma once

#include "device/Device.h"

#include "foundation/NSIndexPath.h"
#include "springboard/AlarmBook.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace sim {

struct Device::Windows {
    struct Touch {
        bool down = false;
        id target;  // the view the finger landed on
        id rowCell; // a Settings cell that takes the touch as a row tap
        id field;   // a text field the finger landed on
    };
    struct Rendered {
        bool any = false;
        uint64_t hash = 0;
        uint64_t version = 0;
    };
    struct Owner {
        std::weak_ptr<UIAlertView> alert;
        Screen screen;
    };
    struct Editing {
        std::weak_ptr<Object> field; // a UITextField
        Screen screen = Screen::SpringBoard;
        std::optional<NSIndexPath> row; // a Settings text row, committed on Return
    };

    std::array<id, 2> window;
    std::array<Touch, 2> touch;
    std::array<Rendered, 2> rendered;
    // Each screen's kept picture for `changes`, its version, and the Settings stack's depth
    // when its window was made (a window is kept while it shows the current page).
    std::array<std::unique_ptr<UIScreenCanvas>, 2> canvas;
    std::array<uint64_t, 2> changesVersion{};
    size_t settingsDepth = 0;
    std::vector<Owner> owners;
    std::optional<Editing> editing;
};

// Whether the Settings window still shows the current page, laid out as a new one would be.
bool showsCurrentPage(SettingsApp& settings, const id& window, size_t depthWhenMade, CGSize screen);

// A Clock alarm as SpringBoard's alarm model holds it (boot adds those set before it).
springboard::ClockAlarm clockAlarmOf(const AlarmRequest& request);

inline size_t indexOf(Screen screen) {
    return screen == Screen::SpringBoard ? 0 : 1;
}

} // namespace sim
