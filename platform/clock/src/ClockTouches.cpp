// A person's way through the Clock app's screens to a new alarm.
#include "clock/ClockTouches.h"

#include "clock/TimeWheel.h"
#include "uikit/UIWindow.h"

#include <algorithm>

namespace clockapp {

namespace {
// Rows a single drag turns a wheel by at most, as a finger turns it in strokes.
constexpr long kRowsPerStroke = 4;
constexpr int kMovesPerStroke = 6;

bool tapAt(const Finger& finger, CGPoint p) {
    if (!finger.down(p))
        return false;
    finger.up(p);
    return true;
}

// Taps a named control; "" or why not.
std::string tap(ClockApp& app, const Finger& finger, const std::string& control, int index = 0) {
    auto p = app.pointOf(control, index);
    if (!p)
        return "the Clock app shows no " + control + " to touch";
    if (!tapAt(finger, *p))
        return "nothing takes a touch at the Clock app's " + control;
    return "";
}

// The shortest turn from one row to another: round the wheel either way, or straight along it.
long rowsBetween(int from, int to, int count, bool circular) {
    long rows = long(to) - from;
    if (circular && count > 0) {
        rows = ((rows % count) + count) % count;
        if (rows > count / 2)
            rows -= count;
    }
    return rows;
}

// Turns a wheel to a row by vertical strokes from its band.
std::string turn(ClockApp& app, const Finger& finger, const std::string& name, const Ref<TimeWheel>& wheel,
                 int target) {
    const int count = int(wheel->titles().size());
    for (int guard = 0; guard < 64 && wheel->selectedIndex() != target; ++guard) {
        const bool circular = name != "period";
        long rows = rowsBetween(wheel->selectedIndex(), target, count, circular);
        rows = std::max(-kRowsPerStroke, std::min(kRowsPerStroke, rows));
        auto p = app.pointOf(name);
        if (!p)
            return "the Clock app shows no " + name + " wheel";
        if (!finger.down(*p))
            return "nothing takes a touch at the Clock app's " + name + " wheel";
        // Later values come from below: the finger moves up.
        const double dy = -double(rows) * kWheelRowHeight;
        for (int i = 1; i <= kMovesPerStroke; ++i)
            finger.move({p->x, p->y + dy * i / kMovesPerStroke});
        finger.up({p->x, p->y + dy});
    }
    if (wheel->selectedIndex() != target)
        return "the " + name + " wheel did not turn to " + wheel->titles()[size_t(target)];
    return "";
}

// Back to the list, as a person leaves whatever page shows.
std::string toList(ClockApp& app, const Finger& finger) {
    for (int guard = 0; guard < 4 && app.page() != ClockApp::Page::List; ++guard) {
        const auto page = app.page();
        const bool deeper = page == ClockApp::Page::Repeat || page == ClockApp::Page::Label;
        if (std::string e = tap(app, finger, deeper ? "Back" : "Cancel"); !e.empty())
            return e;
    }
    if (app.isEditingList())
        return tap(app, finger, "Done");
    return "";
}
} // namespace

Finger Finger::onWindow(const ClockApp& app) {
    const Ref<UIWindow> w = cast<UIWindow>(app.window());
    const ClockApp* clock = &app;
    return Finger{
        [w](CGPoint p) { return w->touchDown(p); },
        [w](CGPoint p) { w->touchMove(p); },
        [w](CGPoint p) { w->touchUp(p); },
        [clock](const std::string& text) {
            if (id field = clock->labelField())
                msg(field, "setText:", msg<std::string>(field, "text") + text);
        },
    };
}

std::string addAlarmByTouch(ClockApp& app, const AlarmEntry& entry, const Finger& finger) {
    if (entry.hour < 0 || entry.hour > 23 || entry.minute < 0 || entry.minute > 59)
        return "an alarm's time lies within a day";
    std::string e = toList(app, finger);
    if (e.empty())
        e = tap(app, finger, "+");
    if (!e.empty())
        return e;
    auto picker = app.timePicker();
    if (!picker)
        return "the + button opened no time picker";
    if (picker->periodWheel()) {
        const int twelveHour = entry.hour % 12 == 0 ? 12 : entry.hour % 12;
        e = turn(app, finger, "hour", picker->hourWheel(), twelveHour - 1);
        if (e.empty())
            e = turn(app, finger, "period", picker->periodWheel(), entry.hour >= 12 ? 1 : 0);
    } else {
        e = turn(app, finger, "hour", picker->hourWheel(), entry.hour);
    }
    if (e.empty())
        e = turn(app, finger, "minute", picker->minuteWheel(), entry.minute);
    if (e.empty() && entry.daily) {
        e = tap(app, finger, "Repeat");
        if (e.empty())
            e = tap(app, finger, "Every Day");
        if (e.empty())
            e = tap(app, finger, "Back");
    }
    if (e.empty() && !entry.label.empty()) {
        e = tap(app, finger, "Label");
        if (e.empty())
            e = tap(app, finger, "label field");
        if (e.empty()) {
            finger.type(entry.label);
            e = tap(app, finger, "Back");
        }
    }
    if (e.empty() && !entry.snooze)
        e = tap(app, finger, "Snooze");
    if (e.empty())
        e = tap(app, finger, "Save");
    if (e.empty() && app.page() != ClockApp::Page::List)
        e = "Save did not return to the alarm list";
    return e;
}

} // namespace clockapp
