// A person's hands on the phone: a finger on its one display (the topmost window that takes the
// touch, alerts over all), the home button, opening an app by its icon, and setting an alarm
// through the Clock app's screens.
#include "PhoneApps.h"
#include "ViewSearch.h"
#include "device/Apps.h"
#include "device/Input.h"

#include "clock/ClockApp.h"
#include "clock/ClockTouches.h"
#include "preferences/PSTableCell.h"
#include "preferences/SettingsApp.h"
#include "springboard/HomeScreenViews.h"
#include "springboard/SpringBoardApps.h"
#include "springboard/SpringBoardDisplay.h"
#include "springboard/SpringBoardHost.h"
#include "uikit/UIAlertView.h"
#include "uikit/UITextField.h"
#include "uikit/UIWindow.h"

namespace sim {
namespace {

// The view a touch at a display point lands on: the topmost alert's while alerts show, else the
// topmost window's that takes it.
id viewAtOnDisplay(SpringBoardDisplay& display, CGPoint point) {
    const auto alerts = UIAlertView::shownAlerts();
    std::vector<id> roots;
    if (!alerts.empty())
        roots.push_back(alerts.back());
    else
        for (const id& w : display.windows())
            roots.insert(roots.begin(), w);
    for (const id& root : roots) {
        msg(root, "layoutIfNeeded");
        const CGPoint local = msg<CGPoint>(root, "convertPoint:fromView:", point, nullptr);
        if (id hit = msg<id>(root, "hitTest:withEvent:", local, nullptr))
            return hit;
    }
    return nullptr;
}

constexpr const char* kLocked = "the phone is locked (unlock it first)";

} // namespace

bool Input::isClockLabelField(const id& field) const {
    return field && apps_.clockApp() && apps_.clockApp()->labelField() == field;
}

std::string Input::phoneTouch(TouchPhase phase, CGPoint point) {
    SpringBoardDisplay& display = *apps_.display();
    Touch& t = touches_[screenIndex(Screen::Phone)];
    // Alerts a touch brings up belong to the app in front: Settings', or else SpringBoard's.
    const Screen acting = apps_.inFront() == kSettingsAppName ? Screen::Settings : Screen::SpringBoard;
    if (phase == TouchPhase::Down) {
        if (t.down)
            phoneTouch(TouchPhase::Up, point); // a new touch ends the one in progress
        apps_.refreshPhone();
        id target = viewAtOnDisplay(display, point);
        // A touch outside the text being edited ends the editing of a Settings row.
        if (target && editing_ && editing_->row && editing_->field.lock() != target) {
            endEditing();
            return phoneTouch(TouchPhase::Down, point);
        }
        if (!target || !display.stack().touchDown(point))
            return "nothing takes a touch at " + pointText(point) + " on the phone screen";
        t = Touch{true, target, nullptr, nullptr};
        if (dynamic_cast<UITextField*>(target.get()))
            t.field = target;
        if (acting == Screen::Settings && UIAlertView::shownAlerts().empty())
            for (id v = target; v; v = asView(v)->superview())
                if (dynamic_cast<PSTableCell*>(v.get())) {
                    t.rowCell = v;
                    break;
                }
        return apps_.settled(acting, "");
    }
    if (phase == TouchPhase::Move) {
        display.touchMove(point);
        return apps_.settled(acting, "");
    }
    const std::string frontBefore = apps_.inFront();
    display.touchUp(point);
    Touch ended = t;
    t = Touch{};
    SettingsApp* settings = apps_.settingsApp();
    auto editingRow = settings->editingRow();
    if (ended.rowCell && editingRow) {
        // The Settings screen started editing the row the finger lifted on.
        auto row = settings->rowOfCell(ended.rowCell);
        if (row && row->section == editingRow->section && row->row == editingRow->row)
            editing_ = Editing{msg<id>(ended.rowCell, "control"), Screen::Settings, *row};
    } else if (ended.field) {
        UIView* v = asView(ended.field);
        if (CGRectContainsPoint(v->bounds(), v->convertPointFromView(point, nullptr)))
            editing_ = Editing{ended.field, acting, std::nullopt};
    }
    if (apps_.inFront() != frontBefore)
        apps_.cameToFront();
    return apps_.settled(acting, "");
}

std::string Input::pressHome() {
    if (!apps_.isBooted())
        return "the device is not booted";
    if (apps_.springBoard()->isLocked())
        return kLocked;
    if (touches_[screenIndex(Screen::Phone)].down) {
        apps_.display()->touchCancel();
        touches_[screenIndex(Screen::Phone)] = Touch{};
    }
    apps_.phoneApps()->pressHome();
    return apps_.settled(Screen::SpringBoard, "");
}

std::string Input::showSwitcher() {
    std::string e = pressHome();
    if (!e.empty())
        return e;
    apps_.phoneApps()->showSwitcher();
    return apps_.settled(Screen::SpringBoard, "");
}

std::string Input::openApp(const std::string& name) {
    const std::string bundle = Apps::bundleIdentifierOf(name);
    if (bundle.empty())
        return "no app " + quoted(name) + " is installed; the apps are \"Settings\" and \"Clock\"";
    if (!apps_.isBooted())
        return "the device is not booted";
    if (apps_.springBoard()->isLocked())
        return kLocked;
    if (apps_.inFront() != "home")
        if (std::string e = pressHome(); !e.empty())
            return e;
    const auto& installed = apps_.phoneApps()->installed();
    long index = 0;
    while (size_t(index) < installed.size() && installed[size_t(index)].bundleIdentifier != bundle)
        ++index;
    id home = apps_.window(Screen::Phone);
    id icon = home ? msg<id>(home, "viewWithTag:", NSInteger{springboard::kHomeIconTagBase + index}) : id();
    if (!icon)
        return "the home screen shows no icon for " + quoted(name);
    if (std::string e = tap(Screen::Phone, centerOnScreen(icon)); !e.empty())
        return e;
    if (apps_.inFront() != name)
        return "tapping the icon of " + quoted(name) + " did not open it (an alert takes the touch)";
    return "";
}

std::string Input::addClockAlarm(const ClockEntry& entry) {
    if (std::string e = openApp(kClockAppName); !e.empty())
        return e;
    clockapp::Finger finger{
        [this](CGPoint p) { return touchDown(Screen::Phone, p).empty(); },
        [this](CGPoint p) { touchMove(Screen::Phone, p); },
        [this](CGPoint p) { touchUp(Screen::Phone, p); },
        [this](const std::string& text) { type(text); },
    };
    clockapp::AlarmEntry alarm{entry.hour, entry.minute, entry.label, entry.daily, entry.snooze};
    return apps_.settled(Screen::SpringBoard, clockapp::addAlarmByTouch(*apps_.clockApp(), alarm, finger));
}

} // namespace sim
