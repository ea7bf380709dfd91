// Setting an alarm the way a person does, through the Clock app's screens only: from the list,
// "+", the wheels turned by drags to the time, Repeat's Every Day, a typed Label, Snooze, "Save".
// The finger and the keyboard are the host's (the simulator's own touch path, or the app's
// window directly), so whatever a host does with a person's touches happens here too.
#pragma once

#include "clock/ClockApp.h"

#include <functional>
#include <string>

namespace clockapp {

struct Finger {
    std::function<bool(CGPoint)> down; // false when nothing took the touch
    std::function<void(CGPoint)> move;
    std::function<void(CGPoint)> up;
    std::function<void(const std::string&)> type; // into the text field being edited

    // A finger on the app's own window, and typing straight into the field touched.
    static Finger onWindow(const ClockApp& app);
};

struct AlarmEntry {
    int hour = 0; // 0 to 23
    int minute = 0;
    std::string label;  // none: the app's "Alarm"
    bool daily = false; // else it rings once
    bool snooze = true;
};

// Adds the alarm through the screens; "" when the list shows it saved, else what stood in the
// way ("nothing takes a touch at the + button"). Leaves the app on its list. Whole minutes: the
// picker sets no seconds.
std::string addAlarmByTouch(ClockApp& app, const AlarmEntry& entry, const Finger& finger);

} // namespace clockapp
