// A person's touches and keys on the device's two screens, and the shorthands over them.
#include "DeviceWindows.h"

#include "foundation/RunLoop.h"
#include "preferences/PSCellClasses.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/SpringBoardScreen.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UITextField.h"
#include "uikit/UIWindow.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sim {
namespace {

constexpr CGFloat kNavigationBarHeight = 64;
constexpr CGFloat kBackButtonWidth = 70;

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

std::string listed(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& w : words) out += (out.empty() ? "" : ", ") + quoted(w);
    return out.empty() ? "none" : out;
}

std::string pointText(CGPoint p) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%g, %g)", double(p.x), double(p.y));
    return buf;
}

UIView* asView(const id& v) { return dynamic_cast<UIView*>(v.get()); }

CGPoint centerOnScreen(const id& view) {
    UIView* v = asView(view);
    const CGRect b = v->bounds();
    return v->convertPointToView({b.origin.x + b.size.width / 2, b.origin.y + b.size.height / 2}, nullptr);
}

bool handlesTouchesItself(const id& view) {
    static const Method* forwarding = objc_getClass("UIResponder")->lookup(SELECTOR("touchesBegan:withEvent:"));
    const Method* own = object_getClass(view.get())->lookup(SELECTOR("touchesBegan:withEvent:"));
    return own && own != forwarding;
}

id findView(const id& root, const std::function<bool(const id&)>& match) {
    if (!root) return nullptr;
    if (match(root)) return root;
    for (const id& sub : asView(root)->subviews())
        if (id found = findView(sub, match)) return found;
    return nullptr;
}

bool classStartsWith(const id& view, const char* prefix) {
    return std::string(class_getName(object_getClass(view.get()))).rfind(prefix, 0) == 0;
}

int textFieldCount(const UIAlertView& alert) {
    switch (alert.alertViewStyle()) {
    case 1:
    case 2: return 1;
    case 3: return 2;
    default: return 0;
    }
}

// The alert a text field belongs to, if it is shown.
Ref<UIAlertView> alertOfField(const id& field) {
    for (const auto& alert : UIAlertView::shownAlerts())
        for (int i = 0; i < textFieldCount(*alert); ++i)
            if (alert->textFieldAtIndex(i) == field) return alert;
    return nullptr;
}

void eraseLastCharacter(std::string& text) {
    if (text.empty()) return;
    size_t i = text.size() - 1;
    while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) --i; // UTF-8 continuation bytes
    text.erase(i);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Screens and their alerts

void Device::claimAlerts(Screen acting) {
    auto& owners = windows_->owners;
    owners.erase(std::remove_if(owners.begin(), owners.end(),
                                [](const Windows::Owner& o) {
                                    auto a = o.alert.lock();
                                    return !a || !a->isVisible();
                                }),
                 owners.end());
    for (const auto& alert : UIAlertView::shownAlerts()) {
        bool known = std::any_of(owners.begin(), owners.end(),
                                 [&](const Windows::Owner& o) { return o.alert.lock() == alert; });
        if (!known) owners.push_back({alert, acting});
    }
    if (windows_->editing) {
        id field = windows_->editing->field.lock();
        if (!field || (!windows_->editing->row && !alertOfField(field))) windows_->editing.reset();
    }
}

std::vector<Ref<UIAlertView>> Device::alertsOn(Screen screen) {
    std::vector<Ref<UIAlertView>> out;
    for (const auto& alert : UIAlertView::shownAlerts()) {
        Screen owner = Screen::SpringBoard; // not yet claimed: shown while time passed
        for (const auto& o : windows_->owners)
            if (o.alert.lock() == alert) owner = o.screen;
        if (owner == screen) out.push_back(alert);
    }
    return out;
}

id Device::window(Screen screen) {
    auto& slot = windows_->window[indexOf(screen)];
    if (windows_->touch[indexOf(screen)].down && slot) return slot;
    const CGRect bounds{{0, 0}, setup_.screen};
    id made;
    if (screen == Screen::SpringBoard && springboard_) {
        made = springboard_->screenWindow();
    } else if (screen == Screen::Settings && hasSettingsPage()) {
        id page = settings_->pageView();
        made = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"), "initWithFrame:",
                       CGRect{{0, 0}, asView(page)->frame().size});
        msg(made, "addSubview:", page);
    } else {
        // Not booted, or Settings on no page: an empty screen.
        made = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"), "initWithFrame:", bounds);
        msg(made, "setBackgroundColor:", screen == Screen::Settings ? id(UIColor::rgba(0.94, 0.94, 0.96, 1)) : id(UIColor::white(0, 1)));
    }
    static_cast<UIWindow*>(made.get())->setAlertSource([this, screen] { return alertsOn(screen); });
    slot = made;
    return slot;
}

// ---------------------------------------------------------------------------------------------
// Touches

std::string Device::touchDown(Screen screen, CGPoint point) { return touch(screen, TouchPhase::Down, point); }
std::string Device::touchMove(Screen screen, CGPoint point) { return touch(screen, TouchPhase::Move, point); }
std::string Device::touchUp(Screen screen, CGPoint point) { return touch(screen, TouchPhase::Up, point); }

std::string Device::tap(Screen screen, CGPoint point) {
    std::string e = touchDown(screen, point);
    return e.empty() ? touchUp(screen, point) : e;
}

std::string Device::drag(Screen screen, CGPoint from, CGPoint to, int steps) {
    if (steps < 1) steps = 1;
    std::string e = touchDown(screen, from);
    if (!e.empty()) return e;
    for (int i = 1; i <= steps; ++i) {
        const double f = double(i) / steps;
        touchMove(screen, {from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f});
    }
    return touchUp(screen, to);
}

std::string Device::touch(Screen screen, TouchPhase phase, CGPoint point) {
    if (!isBooted()) return "the device is not booted";
    if (!std::isfinite(point.x) || !std::isfinite(point.y)) return "a touch needs a point on the screen";
    Windows::Touch& t = windows_->touch[indexOf(screen)];
    if (phase != TouchPhase::Down && !t.down) return "no finger is down on the " + std::string(screenName(screen)) + " screen";

    if (phase == TouchPhase::Down) {
        if (t.down) touch(screen, TouchPhase::Up, point); // a new touch ends the one in progress
        id win = window(screen);
        const auto alerts = alertsOn(screen);
        id root = alerts.empty() ? win : id(alerts.back());
        msg(root, "layoutIfNeeded");
        const CGPoint local = msg<CGPoint>(root, "convertPoint:fromView:", point, nullptr);
        id target = msg<id>(root, "hitTest:withEvent:", local, nullptr);
        // A touch outside the text being edited ends the editing of a Settings row.
        if (windows_->editing && windows_->editing->row && windows_->editing->field.lock() != target) {
            endEditing();
            return touch(screen, TouchPhase::Down, point);
        }
        if (!target || !static_cast<UIWindow*>(win.get())->touchDown(point))
            return "nothing takes a touch at " + pointText(point) + " on the " + screenName(screen) + " screen";
        t = Windows::Touch{true, target, nullptr, nullptr, false};
        if (dynamic_cast<UITextField*>(target.get())) t.field = target;
        if (screen == Screen::Settings && alerts.empty()) {
            for (id v = target; v; v = asView(v)->superview()) {
                if (dynamic_cast<PSTableCell*>(v.get())) {
                    t.rowCell = v;
                    break;
                }
                // A row's text field is the row's: a touch on it starts editing the row.
                if (handlesTouchesItself(v) && !dynamic_cast<UITextField*>(v.get())) break;
            }
            t.backButton = !t.rowCell && point.y >= 20 && point.y < kNavigationBarHeight && point.x < kBackButtonWidth &&
                           settings_->depth() > 1;
        }
        return settled(screen, "");
    }

    auto* win = static_cast<UIWindow*>(windows_->window[indexOf(screen)].get());
    if (phase == TouchPhase::Move) {
        win->touchMove(point);
        return settled(screen, "");
    }
    win->touchUp(point);
    Windows::Touch ended = t;
    t = Windows::Touch{};
    auto inside = [&](const id& view) {
        UIView* v = asView(view);
        return CGRectContainsPoint(v->bounds(), v->convertPointFromView(point, nullptr));
    };
    if (ended.rowCell && inside(ended.rowCell)) {
        if (auto row = settings_->rowOfCell(ended.rowCell)) {
            const CGPoint inCell = asView(ended.rowCell)->convertPointFromView(point, nullptr);
            if (settings_->touchRow(*row, inCell) == SettingsApp::RowTouch::Editing)
                windows_->editing = Windows::Editing{msg<id>(ended.rowCell, "control"), Screen::Settings, *row};
        }
    } else if (ended.field && inside(ended.field)) {
        windows_->editing = Windows::Editing{ended.field, screen, std::nullopt};
    } else if (ended.backButton && point.y >= 20 && point.y < kNavigationBarHeight && point.x < kBackButtonWidth) {
        settings_->back();
    }
    return settled(screen, "");
}

// ---------------------------------------------------------------------------------------------
// Keys

std::string Device::type(const std::string& text) {
    claimAlerts(Screen::SpringBoard);
    if (!windows_->editing) {
        auto shown = UIAlertView::shownAlerts();
        if (!shown.empty() && textFieldCount(*shown.back()) > 0) {
            Screen owner = Screen::SpringBoard;
            for (const auto& o : windows_->owners)
                if (o.alert.lock() == shown.back()) owner = o.screen;
            windows_->editing = Windows::Editing{shown.back()->textFieldAtIndex(0), owner, std::nullopt};
        }
    }
    id field = windows_->editing ? windows_->editing->field.lock() : nullptr;
    if (!field) return "no text field is being edited (touch one first)";
    msg(field, "setText:", msg<std::string>(field, "text") + text);
    return settled(windows_->editing->screen, "");
}

std::string Device::press(Key key) {
    id field = windows_->editing ? windows_->editing->field.lock() : nullptr;
    if (!field) {
        type(""); // an alert with a field that has just opened: its field takes the keyboard first
        field = windows_->editing ? windows_->editing->field.lock() : nullptr;
        if (!field) return "no text field is being edited (touch one first)";
    }
    if (key == Key::Backspace) {
        std::string text = msg<std::string>(field, "text");
        eraseLastCharacter(text);
        msg(field, "setText:", text);
        return settled(windows_->editing->screen, "");
    }
    const Screen screen = windows_->editing->screen;
    if (windows_->editing->row) return settled(screen, endEditing());
    auto alert = alertOfField(field);
    windows_->editing.reset();
    if (!alert) return "the text field is no longer shown";
    const NSInteger button = alert->firstOtherButtonIndex();
    if (button < 0 || !alert->tapButtonAtIndex(button)) return "the alert has no button to end the typing";
    return settled(screen, "");
}

std::string Device::endEditing() {
    if (!windows_->editing) return "";
    Windows::Editing editing = *windows_->editing;
    windows_->editing.reset();
    id field = editing.field.lock();
    if (!field || !editing.row) return "";
    const std::string text = msg<std::string>(field, "text");
    for (const std::string& label : settings_->rowLabels()) {
        auto row = settings_->findRow(label);
        if (!row || row->section != editing.row->section || row->row != editing.row->row) continue;
        auto* cell = dynamic_cast<PSEditableTableCell*>(settings_->cellForRow(label).get());
        if (cell && cell->userEnteredText(text)) return settled(Screen::Settings, "");
    }
    return settled(Screen::Settings, "the text row is no longer shown");
}

// ---------------------------------------------------------------------------------------------
// Shorthands

std::string Device::openSettings() {
    if (!settings_) return "the device is not booted";
    if (!settings_->openPane("Hushmark")) return settled(Screen::Settings, "no Hushmark pane is installed");
    return settled(Screen::Settings, "");
}

std::string Device::settingsBack() {
    if (!isBooted()) return "the device is not booted";
    if (!hasSettingsPage()) return "Settings shows no page: open it first";
    if (settings_->depth() <= 1) return "Settings shows its first page already";
    return tap(Screen::Settings, {kBackButtonWidth / 2, (20 + kNavigationBarHeight) / 2});
}

namespace {
struct RowFound {
    id cell;
    std::string error;
};
} // namespace

static RowFound findRowCell(Device& device, SettingsApp* settings, const std::string& label) {
    if (!device.isBooted()) return {nullptr, "the device is not booted"};
    if (!device.hasSettingsPage()) return {nullptr, "Settings shows no page: open it first"};
    id cell = settings->cellForRow(label);
    if (!cell) return {nullptr, "no row " + quoted(label) + " on this page; the rows are " + listed(settings->rowLabels())};
    if (!msg<bool>(cell, "cellEnabled")) return {nullptr, "the row " + quoted(label) + " is disabled"};
    return {cell, ""};
}

std::string Device::tapRow(const std::string& label) {
    window(Screen::Settings);
    RowFound found = findRowCell(*this, settings_.get(), label);
    if (!found.error.empty()) return found.error;
    // The row's label: a tap there reaches the row, not a control at its right.
    id textLabel = msg<id>(found.cell, "textLabel");
    const bool onLabel = textLabel && asView(textLabel)->bounds().size.width > 0 && !msg<std::string>(textLabel, "text").empty();
    return tap(Screen::Settings, centerOnScreen(onLabel ? textLabel : found.cell));
}

std::string Device::setRowSwitch(const std::string& label, bool on) {
    window(Screen::Settings);
    RowFound found = findRowCell(*this, settings_.get(), label);
    if (!found.error.empty()) return found.error;
    if (!dynamic_cast<PSSwitchTableCell*>(found.cell.get())) return "the row " + quoted(label) + " has no switch";
    id control = msg<id>(found.cell, "control");
    if (msg<bool>(control, "isOn") == on) return "";
    std::string e = tap(Screen::Settings, centerOnScreen(control));
    if (!e.empty()) return e;
    id now = settings_->cellForRow(label);
    return now && msg<bool>(msg<id>(now, "control"), "isOn") == on ? "" : "the switch " + quoted(label) + " did not change";
}

std::string Device::typeInRow(const std::string& label, const std::string& text) {
    window(Screen::Settings);
    RowFound found = findRowCell(*this, settings_.get(), label);
    if (!found.error.empty()) return found.error;
    if (!dynamic_cast<PSEditableTableCell*>(found.cell.get())) return "the row " + quoted(label) + " has no text field";
    std::string e = tap(Screen::Settings, centerOnScreen(msg<id>(found.cell, "control")));
    if (!e.empty()) return e;
    id field = windows_->editing ? windows_->editing->field.lock() : nullptr;
    if (!field) return "the row " + quoted(label) + " did not start editing";
    msg(field, "setText:", std::string()); // a person clears the field first
    e = type(text);
    return e.empty() ? press(Key::Return) : e;
}

std::string Device::pickRowSegment(const std::string& label, long index) {
    window(Screen::Settings);
    RowFound found = findRowCell(*this, settings_.get(), label);
    if (!found.error.empty()) return found.error;
    if (!dynamic_cast<PSSegmentTableCell*>(found.cell.get())) return "the row " + quoted(label) + " has no segments";
    id control = msg<id>(found.cell, "control");
    const NSInteger count = msg<NSInteger>(control, "numberOfSegments");
    if (index < 0 || index >= count)
        return "the row " + quoted(label) + " has " + std::to_string(count) + " segments (0 to " + std::to_string(count - 1) + ")";
    // The segments share the strip evenly.
    UIView* strip = asView(control);
    const CGRect b = strip->bounds();
    const CGFloat w = b.size.width / CGFloat(count);
    const CGPoint p = strip->convertPointToView({b.origin.x + w * (CGFloat(index) + 0.5), b.origin.y + b.size.height / 2}, nullptr);
    return tap(Screen::Settings, p);
}

std::string Device::tapPicker(CGPoint point) {
    auto at = pickerPoints({point});
    if (at.empty()) return "Settings does not show the color page";
    return tap(Screen::Settings, at[0]).empty() ? "" : "nothing takes a touch at that point of the picker";
}

std::string Device::dragPicker(CGPoint from, CGPoint to) {
    auto at = pickerPoints({from, to});
    if (at.empty()) return "Settings does not show the color page";
    return drag(Screen::Settings, at[0], at[1], 10).empty() ? "" : "nothing takes a touch at that point of the picker";
}

// Points of the color page's picker on the Settings screen; none when the page is not shown.
std::vector<CGPoint> Device::pickerPoints(const std::vector<CGPoint>& points) {
    id win = window(Screen::Settings);
    id picker = findView(win, [](const id& v) { return classStartsWith(v, "HMColorPickerView_"); });
    if (!picker) return {};
    std::vector<CGPoint> out;
    for (CGPoint p : points) out.push_back(asView(picker)->convertPointToView(p, nullptr));
    return out;
}

std::string Device::enterColor(const std::string& which, const std::string& text) {
    const char* action = which == "hex"     ? "askUserForInputHex"
                         : which == "red"   ? "askUserForInputR"
                         : which == "green" ? "askUserForInputG"
                         : which == "blue"  ? "askUserForInputB"
                                            : nullptr;
    if (!action) return "no color prompt " + quoted(which);
    id win = window(Screen::Settings);
    id button = findView(win, [&](const id& v) {
        auto* control = dynamic_cast<UIControl*>(v.get());
        if (!control) return false;
        for (const id& target : control->allTargets()) {
            auto actions = control->actionsForTargetForControlEvent(target, 64 /* touch up inside */);
            if (std::find(actions.begin(), actions.end(), action) != actions.end()) return true;
        }
        return false;
    });
    if (!button) return "Settings does not show the color page";
    const size_t before = alertsOn(Screen::Settings).size();
    std::string e = tap(Screen::Settings, centerOnScreen(button));
    if (!e.empty()) return e;
    auto prompts = alertsOn(Screen::Settings);
    if (prompts.size() <= before || textFieldCount(*prompts.back()) == 0) return "the color page showed no prompt";
    msg(prompts.back()->textFieldAtIndex(0), "setText:", std::string()); // cleared first
    windows_->editing = Windows::Editing{prompts.back()->textFieldAtIndex(0), Screen::Settings, std::nullopt};
    e = type(text);
    return e.empty() ? press(Key::Return) : e;
}

std::string Device::tapAlertButton(const std::string& title) {
    if (!isBooted()) return "the device is not booted";
    claimAlerts(Screen::SpringBoard);
    auto shown = UIAlertView::shownAlerts();
    if (shown.empty()) {
        if (!lockScreenAlarm()) return "no alert is shown";
        id win = window(Screen::SpringBoard);
        if (title == "Snooze") {
            id snooze = msg<id>(win, "viewWithTag:", NSInteger{springboard::kLockScreenSnoozeTag});
            if (!snooze) return "the lock-screen alarm cannot snooze";
            return tap(Screen::SpringBoard, centerOnScreen(snooze));
        }
        if (title == "slide to stop") {
            id slide = msg<id>(win, "viewWithTag:", NSInteger{springboard::kLockScreenSlideTag});
            UIView* v = asView(slide);
            const CGRect b = v->bounds();
            const CGPoint from = v->convertPointToView({b.origin.x + 2, b.size.height / 2}, nullptr);
            const CGPoint to = v->convertPointToView({b.origin.x + b.size.width - 2, b.size.height / 2}, nullptr);
            return drag(Screen::SpringBoard, from, to, 10);
        }
        return "the lock-screen alarm has no button " + quoted(title) + "; it has \"Snooze\" (when it can snooze) and \"slide to stop\"";
    }
    Ref<UIAlertView> alert = shown.back();
    Screen owner = Screen::SpringBoard;
    for (const auto& o : windows_->owners)
        if (o.alert.lock() == alert) owner = o.screen;
    msg(alert, "layoutIfNeeded");
    id button = findView(alert, [&](const id& v) {
        auto* b = dynamic_cast<UIButton*>(v.get());
        return b && b->titleForState(0) == title;
    });
    if (!button) {
        // Listed as a person reads them: the alert's own buttons in order, then its accessory view's.
        std::vector<std::string> titles;
        for (NSInteger i = 0; i < alert->numberOfButtons(); ++i) titles.push_back(alert->buttonTitleAtIndex(i));
        if (alert->accessoryView())
            findView(alert->accessoryView(), [&](const id& v) {
                if (auto* b = dynamic_cast<UIButton*>(v.get())) titles.push_back(b->titleForState(0));
                return false;
            });
        return "the alert has no button " + quoted(title) + "; its buttons are " + listed(titles);
    }
    std::string e = tap(owner, centerOnScreen(button));
    return e.empty() ? "" : "the button " + quoted(title) + " did not take the touch";
}

} // namespace sim
