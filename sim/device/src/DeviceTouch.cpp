// A person's touches and keys on the device's two screens, each through the screen window's hit
// testing; which screen each alert belongs to; the text field being edited.
#include "DeviceWindows.h"
#include "ViewSearch.h"

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

// The alert a text field belongs to, if it is shown.
Ref<UIAlertView> alertOfField(const id& field) {
    for (const auto& alert : UIAlertView::shownAlerts())
        for (int i = 0; i < textFieldCount(*alert); ++i)
            if (alert->textFieldAtIndex(i) == field)
                return alert;
    return nullptr;
}

void eraseLastCharacter(std::string& text) {
    if (text.empty())
        return;
    size_t i = text.size() - 1;
    while (i > 0 && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
        --i; // UTF-8 continuation bytes
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
        if (!known)
            owners.push_back({alert, acting});
    }
    if (windows_->editing) {
        id field = windows_->editing->field.lock();
        if (!field || (!windows_->editing->row && !alertOfField(field)))
            windows_->editing.reset();
    }
}

std::vector<Ref<UIAlertView>> Device::alertsOn(Screen screen) {
    std::vector<Ref<UIAlertView>> out;
    for (const auto& alert : UIAlertView::shownAlerts()) {
        Screen owner = Screen::SpringBoard; // not yet claimed: shown while time passed
        for (const auto& o : windows_->owners)
            if (o.alert.lock() == alert)
                owner = o.screen;
        if (owner == screen)
            out.push_back(alert);
    }
    return out;
}

id Device::window(Screen screen) {
    auto& slot = windows_->window[indexOf(screen)];
    if (windows_->touch[indexOf(screen)].down && slot)
        return slot;
    const CGRect bounds{{0, 0}, setup_.screen};
    id made;
    if (screen == Screen::SpringBoard && springboard_) {
        made = springboard_->screenWindow();
    } else if (screen == Screen::Settings && hasSettingsPage()) {
        // The page's window is kept while it shows the page as it is, so what changes on it is
        // all that is drawn again.
        if (showsCurrentPage(*settings_, slot, windows_->settingsDepth, setup_.screen))
            return slot;
        windows_->settingsDepth = settings_->depth();
        id page = settings_->pageView();
        made = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                       "initWithFrame:", CGRect{{0, 0}, asView(page)->frame().size});
        msg(made, "addSubview:", page);
    } else {
        // Not booted, or Settings on no page: an empty screen (kept while it stays empty).
        if (screen == Screen::Settings) {
            if (slot && windows_->settingsDepth == 0)
                return slot;
            windows_->settingsDepth = 0;
        }
        made = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"), "initWithFrame:", bounds);
        msg(made, "setBackgroundColor:",
            screen == Screen::Settings ? id(UIColor::rgba(0.94, 0.94, 0.96, 1)) : id(UIColor::white(0, 1)));
    }
    static_cast<UIWindow*>(made.get())->setAlertSource([this, screen] { return alertsOn(screen); });
    slot = made;
    return slot;
}

// ---------------------------------------------------------------------------------------------
// Touches

std::string Device::touchDown(Screen screen, CGPoint point) {
    return touch(screen, TouchPhase::Down, point);
}
std::string Device::touchMove(Screen screen, CGPoint point) {
    return touch(screen, TouchPhase::Move, point);
}
std::string Device::touchUp(Screen screen, CGPoint point) {
    return touch(screen, TouchPhase::Up, point);
}

std::string Device::tap(Screen screen, CGPoint point) {
    std::string e = touchDown(screen, point);
    return e.empty() ? touchUp(screen, point) : e;
}

std::string Device::drag(Screen screen, CGPoint from, CGPoint to, int steps) {
    if (steps < 1)
        steps = 1;
    std::string e = touchDown(screen, from);
    if (!e.empty())
        return e;
    for (int i = 1; i <= steps; ++i) {
        const double f = double(i) / steps;
        touchMove(screen, {from.x + (to.x - from.x) * f, from.y + (to.y - from.y) * f});
    }
    return touchUp(screen, to);
}

std::string Device::touch(Screen screen, TouchPhase phase, CGPoint point) {
    if (!isBooted())
        return "the device is not booted";
    if (!std::isfinite(point.x) || !std::isfinite(point.y))
        return "a touch needs a point on the screen";
    Windows::Touch& t = windows_->touch[indexOf(screen)];
    if (phase != TouchPhase::Down && !t.down)
        return "no finger is down on the " + std::string(screenName(screen)) + " screen";

    if (phase == TouchPhase::Down) {
        if (t.down)
            touch(screen, TouchPhase::Up, point); // a new touch ends the one in progress
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
            return "nothing takes a touch at " + pointText(point) + " on the " + screenName(screen) +
                   " screen";
        t = Windows::Touch{true, target, nullptr, nullptr};
        if (dynamic_cast<UITextField*>(target.get()))
            t.field = target;
        if (screen == Screen::Settings && alerts.empty()) {
            for (id v = target; v; v = asView(v)->superview()) {
                if (dynamic_cast<PSTableCell*>(v.get())) {
                    t.rowCell = v;
                    break;
                }
                // A row's text field is the row's: a touch on it starts editing the row.
                if (handlesTouchesItself(v) && !dynamic_cast<UITextField*>(v.get()))
                    break;
            }
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
                windows_->editing =
                    Windows::Editing{msg<id>(ended.rowCell, "control"), Screen::Settings, *row};
        }
    } else if (ended.field && inside(ended.field)) {
        windows_->editing = Windows::Editing{ended.field, screen, std::nullopt};
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
                if (o.alert.lock() == shown.back())
                    owner = o.screen;
            windows_->editing = Windows::Editing{shown.back()->textFieldAtIndex(0), owner, std::nullopt};
        }
    }
    id field = windows_->editing ? windows_->editing->field.lock() : nullptr;
    if (!field)
        return "no text field is being edited (touch one first)";
    msg(field, "setText:", msg<std::string>(field, "text") + text);
    return settled(windows_->editing->screen, "");
}

std::string Device::press(Key key) {
    id field = windows_->editing ? windows_->editing->field.lock() : nullptr;
    if (!field) {
        type(""); // an alert with a field that has just opened: its field takes the keyboard first
        field = windows_->editing ? windows_->editing->field.lock() : nullptr;
        if (!field)
            return "no text field is being edited (touch one first)";
    }
    if (key == Key::Backspace) {
        std::string text = msg<std::string>(field, "text");
        eraseLastCharacter(text);
        msg(field, "setText:", text);
        return settled(windows_->editing->screen, "");
    }
    const Screen screen = windows_->editing->screen;
    if (windows_->editing->row)
        return settled(screen, endEditing());
    auto alert = alertOfField(field);
    windows_->editing.reset();
    if (!alert)
        return "the text field is no longer shown";
    const NSInteger button = alert->firstOtherButtonIndex();
    if (button < 0 || !alert->tapButtonAtIndex(button))
        return "the alert has no button to end the typing";
    return settled(screen, "");
}

std::string Device::endEditing() {
    if (!windows_->editing)
        return "";
    Windows::Editing editing = *windows_->editing;
    windows_->editing.reset();
    id field = editing.field.lock();
    if (!field || !editing.row)
        return "";
    const std::string text = msg<std::string>(field, "text");
    for (const std::string& label : settings_->rowLabels()) {
        auto row = settings_->findRow(label);
        if (!row || row->section != editing.row->section || row->row != editing.row->row)
            continue;
        auto* cell = dynamic_cast<PSEditableTableCell*>(settings_->cellForRow(label).get());
        if (cell && cell->userEnteredText(text))
            return settled(Screen::Settings, "");
    }
    return settled(Screen::Settings, "the text row is no longer shown");
}

} // namespace sim
