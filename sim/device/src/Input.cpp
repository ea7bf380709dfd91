// A person's touches and keys on the device's two screens, each through the screen window's hit
// testing; the text field being edited.
#include "device/Input.h"

#include "ViewSearch.h"
#include "device/Apps.h"

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

Input::Input(Apps& apps) : apps_(apps) {
    apps_.whenClaiming([this] { dropHiddenEditing(); });
}

// The editing of an alert's field ends with its alert; a Settings row's lasts until committed.
void Input::dropHiddenEditing() {
    if (editing_) {
        id field = editing_->field.lock();
        if (!field || (!editing_->row && !alertOfField(field) && !isClockLabelField(field)))
            editing_.reset();
    }
}

std::optional<Input::EditedText> Input::editing() const {
    if (!editing_)
        return std::nullopt;
    id field = editing_->field.lock();
    if (!field)
        return std::nullopt;
    UIView* view = asView(field);
    return EditedText{editing_->screen, msg<std::string>(field, "text"),
                      view->convertRectToView(view->bounds(), nullptr)};
}

// ---------------------------------------------------------------------------------------------
// Touches

std::string Input::touchDown(Screen screen, CGPoint point) {
    return touch(screen, TouchPhase::Down, point);
}
std::string Input::touchMove(Screen screen, CGPoint point) {
    return touch(screen, TouchPhase::Move, point);
}
std::string Input::touchUp(Screen screen, CGPoint point) {
    return touch(screen, TouchPhase::Up, point);
}

std::string Input::tap(Screen screen, CGPoint point) {
    std::string e = touchDown(screen, point);
    return e.empty() ? touchUp(screen, point) : e;
}

std::string Input::drag(Screen screen, CGPoint from, CGPoint to, int steps) {
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

std::string Input::touch(Screen screen, TouchPhase phase, CGPoint point) {
    if (!apps_.isBooted())
        return "the device is not booted";
    if (!std::isfinite(point.x) || !std::isfinite(point.y))
        return "a touch needs a point on the screen";
    Touch& t = touches_[screenIndex(screen)];
    if (phase != TouchPhase::Down && !t.down)
        return "no finger is down on the " + std::string(screenName(screen)) + " screen";
    if (screen == Screen::Phone)
        return phoneTouch(phase, point);
    if (screen == Screen::Settings && phase == TouchPhase::Down)
        apps_.bringSettingsToFront();

    if (phase == TouchPhase::Down) {
        if (t.down)
            touch(screen, TouchPhase::Up, point); // a new touch ends the one in progress
        id win = apps_.window(screen);
        const auto alerts = apps_.alertsOn(screen);
        id root = alerts.empty() ? win : id(alerts.back());
        msg(root, "layoutIfNeeded");
        const CGPoint local = msg<CGPoint>(root, "convertPoint:fromView:", point, nullptr);
        id target = msg<id>(root, "hitTest:withEvent:", local, nullptr);
        // A touch outside the text being edited ends the editing of a Settings row.
        if (editing_ && editing_->row && editing_->field.lock() != target) {
            endEditing();
            return touch(screen, TouchPhase::Down, point);
        }
        if (!target || !static_cast<UIWindow*>(win.get())->touchDown(point))
            return "nothing takes a touch at " + pointText(point) + " on the " + screenName(screen) +
                   " screen";
        t = Touch{true, target, nullptr, nullptr};
        apps_.holdWindow(screen, true);
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
        return apps_.settled(screen, "");
    }

    auto* win = static_cast<UIWindow*>(apps_.heldWindow(screen).get());
    if (phase == TouchPhase::Move) {
        win->touchMove(point);
        return apps_.settled(screen, "");
    }
    win->touchUp(point);
    Touch ended = t;
    t = Touch{};
    apps_.holdWindow(screen, false);
    auto inside = [&](const id& view) {
        UIView* v = asView(view);
        return CGRectContainsPoint(v->bounds(), v->convertPointFromView(point, nullptr));
    };
    if (ended.rowCell && inside(ended.rowCell)) {
        if (auto row = apps_.settingsApp()->rowOfCell(ended.rowCell)) {
            const CGPoint inCell = asView(ended.rowCell)->convertPointFromView(point, nullptr);
            if (apps_.settingsApp()->touchRow(*row, inCell) == SettingsApp::RowTouch::Editing)
                editing_ = Editing{msg<id>(ended.rowCell, "control"), Screen::Settings, *row};
        }
    } else if (ended.field && inside(ended.field)) {
        editing_ = Editing{ended.field, screen, std::nullopt};
    }
    return apps_.settled(screen, "");
}

// ---------------------------------------------------------------------------------------------
// Keys

std::string Input::type(const std::string& text) {
    apps_.claimAlerts(Screen::SpringBoard);
    if (!editing_) {
        auto shown = UIAlertView::shownAlerts();
        if (!shown.empty() && textFieldCount(*shown.back()) > 0) {
            editing_ = Editing{shown.back()->textFieldAtIndex(0), apps_.ownerOf(shown.back()), std::nullopt};
        }
    }
    id field = editing_ ? editing_->field.lock() : nullptr;
    if (!field)
        return "no text field is being edited (touch one first)";
    msg(field, "setText:", msg<std::string>(field, "text") + text);
    return apps_.settled(editing_->screen, "");
}

std::string Input::press(Key key) {
    id field = editing_ ? editing_->field.lock() : nullptr;
    if (!field) {
        type(""); // an alert with a field that has just opened: its field takes the keyboard first
        field = editing_ ? editing_->field.lock() : nullptr;
        if (!field)
            return "no text field is being edited (touch one first)";
    }
    if (key == Key::Backspace) {
        std::string text = msg<std::string>(field, "text");
        eraseLastCharacter(text);
        msg(field, "setText:", text);
        return apps_.settled(editing_->screen, "");
    }
    const Screen screen = editing_->screen;
    if (editing_->row)
        return apps_.settled(screen, endEditing());
    auto alert = alertOfField(field);
    editing_.reset();
    if (!alert && isClockLabelField(field))
        return apps_.settled(screen, apps_.clockApp()->returnKey() ? "" : "the label is no longer edited");
    if (!alert)
        return "the text field is no longer shown";
    const NSInteger button = alert->firstOtherButtonIndex();
    if (button < 0 || !alert->tapButtonAtIndex(button))
        return "the alert has no button to end the typing";
    return apps_.settled(screen, "");
}

std::string Input::endEditing() {
    if (!editing_)
        return "";
    Editing editing = *editing_;
    editing_.reset();
    id field = editing.field.lock();
    if (!field || !editing.row)
        return "";
    const std::string text = msg<std::string>(field, "text");
    for (const std::string& label : apps_.settingsApp()->rowLabels()) {
        auto row = apps_.settingsApp()->findRow(label);
        if (!row || row->section != editing.row->section || row->row != editing.row->row)
            continue;
        auto* cell = dynamic_cast<PSEditableTableCell*>(apps_.settingsApp()->cellForRow(label).get());
        if (cell && cell->userEnteredText(text))
            return apps_.settled(Screen::Settings, "");
    }
    return apps_.settled(Screen::Settings, "the text row is no longer shown");
}

} // namespace sim
