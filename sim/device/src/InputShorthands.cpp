// Shorthands over a person's touches: each finds its target by what the screen shows (a row's
// text, a value on the color page, an alert's button title, a tag) and touches it there, through
// the same hit testing as any touch.
#include "device/Input.h"

#include "ViewSearch.h"
#include "device/Apps.h"

#include "preferences/PSCellClasses.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/SpringBoardScreen.h"
#include "uikit/UIButton.h"
#include "uikit/UIControl.h"
#include "uikit/UILabel.h"

#include <algorithm>
#include <cctype>

namespace sim {

// Settings comes to the front, back on its root list, and the Hushmark row is touched there.
std::string Input::openSettings() {
    if (!apps_.settingsApp())
        return "the device is not booted";
    apps_.bringSettingsToFront();
    if (!apps_.settingsApp()->openPaneFromList("Hushmark"))
        return apps_.settled(Screen::Settings, "no Hushmark pane is installed");
    return apps_.settled(Screen::Settings, "");
}

std::string Input::settingsBack() {
    if (!apps_.isBooted())
        return "the device is not booted";
    apps_.bringSettingsToFront();
    if (!apps_.hasSettingsPage())
        return "Settings shows no page: open it first";
    if (apps_.settingsApp()->depth() <= 1)
        return "Settings shows its first page already";
    id button = msg<id>(apps_.window(Screen::Settings), "viewWithTag:", SettingsApp::kBackButtonTag);
    if (!button)
        return "Settings shows no back button";
    return tap(Screen::Settings, centerOnScreen(button));
}

namespace {
struct RowFound {
    id cell;
    std::string error;
};
} // namespace

// The row's cell on the Settings page as it is now laid out (the window built first).
static RowFound findRowCell(Apps& apps, const std::string& label) {
    apps.bringSettingsToFront();
    apps.window(Screen::Settings);
    SettingsApp* settings = apps.settingsApp();
    if (!apps.isBooted())
        return {nullptr, "the device is not booted"};
    if (!apps.hasSettingsPage())
        return {nullptr, "Settings shows no page: open it first"};
    id cell = settings->cellForRow(label);
    if (!cell)
        return {nullptr,
                "no row " + quoted(label) + " on this page; the rows are " + listed(settings->rowLabels())};
    if (!msg<bool>(cell, "cellEnabled"))
        return {nullptr, "the row " + quoted(label) + " is disabled"};
    return {cell, ""};
}

// The row, when its cell is of the kind a step needs ("has no switch" otherwise).
template <class Cell> RowFound findRowOfKind(Apps& apps, const std::string& label, const char* lacking) {
    RowFound found = findRowCell(apps, label);
    if (found.error.empty() && !dynamic_cast<Cell*>(found.cell.get()))
        return {nullptr, "the row " + quoted(label) + " has " + lacking};
    return found;
}

std::string Input::tapRow(const std::string& label) {
    RowFound found = findRowCell(apps_, label);
    if (!found.error.empty())
        return found.error;
    // The row's label: a tap there reaches the row, not a control at its right.
    id textLabel = msg<id>(found.cell, "textLabel");
    const bool onLabel = textLabel && asView(textLabel)->bounds().size.width > 0 &&
                         !msg<std::string>(textLabel, "text").empty();
    return tap(Screen::Settings, centerOnScreen(onLabel ? textLabel : found.cell));
}

std::string Input::setRowSwitch(const std::string& label, bool on) {
    RowFound found = findRowOfKind<PSSwitchTableCell>(apps_, label, "no switch");
    if (!found.error.empty())
        return found.error;
    id control = msg<id>(found.cell, "control");
    if (msg<bool>(control, "isOn") == on)
        return "";
    std::string e = tap(Screen::Settings, centerOnScreen(control));
    if (!e.empty())
        return e;
    id now = apps_.settingsApp()->cellForRow(label);
    return now && msg<bool>(msg<id>(now, "control"), "isOn") == on
               ? ""
               : "the switch " + quoted(label) + " did not change";
}

std::string Input::typeInRow(const std::string& label, const std::string& text) {
    RowFound found = findRowOfKind<PSEditableTableCell>(apps_, label, "no text field");
    if (!found.error.empty())
        return found.error;
    std::string e = tap(Screen::Settings, centerOnScreen(msg<id>(found.cell, "control")));
    if (!e.empty())
        return e;
    id field = editing_ ? editing_->field.lock() : nullptr;
    if (!field)
        return "the row " + quoted(label) + " did not start editing";
    msg(field, "setText:", std::string()); // a person clears the field first
    e = type(text);
    return e.empty() ? press(Key::Return) : e;
}

std::string Input::pickRowSegment(const std::string& label, long index) {
    RowFound found = findRowOfKind<PSSegmentTableCell>(apps_, label, "no segments");
    if (!found.error.empty())
        return found.error;
    id control = msg<id>(found.cell, "control");
    const NSInteger count = msg<NSInteger>(control, "numberOfSegments");
    if (index < 0 || index >= count)
        return "the row " + quoted(label) + " has " + std::to_string(count) + " segments (0 to " +
               std::to_string(count - 1) + ")";
    // The segments share the strip evenly.
    UIView* strip = asView(control);
    const CGRect b = strip->bounds();
    const CGFloat w = b.size.width / CGFloat(count);
    const CGPoint p = strip->convertPointToView(
        {b.origin.x + w * (CGFloat(index) + 0.5), b.origin.y + b.size.height / 2}, nullptr);
    return tap(Screen::Settings, p);
}

std::string Input::tapPicker(CGPoint point) {
    auto at = pickerPoints({point});
    if (at.empty())
        return "Settings does not show the color page";
    return tap(Screen::Settings, at[0]).empty() ? "" : "nothing takes a touch at that point of the picker";
}

std::string Input::dragPicker(CGPoint from, CGPoint to) {
    auto at = pickerPoints({from, to});
    if (at.empty())
        return "Settings does not show the color page";
    return drag(Screen::Settings, at[0], at[1], 10).empty()
               ? ""
               : "nothing takes a touch at that point of the picker";
}

// Points of the color page's picker on the Settings screen; none when the page is not shown.
// The picker is the group of controls a row holds: a view inside a row's content that has
// controls of its own (the color row's picker, with its gradients and value buttons).
std::vector<CGPoint> Input::pickerPoints(const std::vector<CGPoint>& points) {
    apps_.bringSettingsToFront();
    id picker;
    for (const id& cell : findViews(apps_.window(Screen::Settings),
                                    [](const id& v) { return dynamic_cast<PSTableCell*>(v.get()); })) {
        for (const id& part : asView(msg<id>(cell, "contentView"))->subviews()) {
            const auto& inside = asView(part)->subviews();
            if (std::any_of(inside.begin(), inside.end(),
                            [](const id& v) { return dynamic_cast<UIControl*>(v.get()); }))
                picker = part;
        }
    }
    if (!picker)
        return {};
    std::vector<CGPoint> out;
    for (CGPoint p : points)
        out.push_back(asView(picker)->convertPointToView(p, nullptr));
    return out;
}

namespace {

// Whether a text is a color as the color page shows it: "#" and six (or eight) hex digits.
bool isHexColorText(const std::string& text) {
    if ((text.size() != 7 && text.size() != 9) || text[0] != '#')
        return false;
    return std::all_of(text.begin() + 1, text.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

bool isNumberText(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(),
                                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

// Where a person taps on the color page to be asked for a value: the hex color it shows, or
// the number on the row of a channel's caption ("Red", "Green", "Blue").
std::optional<CGPoint> colorValueOnPage(const id& window, const std::string& which) {
    if (which == "hex") {
        id hex = findView(window, [](const id& v) { return isHexColorText(shownText(v)); });
        return hex ? std::optional<CGPoint>(centerOnScreen(hex)) : std::nullopt;
    }
    std::string caption = which;
    caption[0] = char(std::toupper(static_cast<unsigned char>(caption[0])));
    id title = findView(window, [&](const id& v) { return shownText(v) == caption; });
    if (!title)
        return std::nullopt;
    const CGRect row = frameOnScreen(title);
    const CGFloat middle = row.origin.y + row.size.height / 2;
    // The number right of the caption whose middle is level with the caption's.
    for (const id& v : findViews(window, [](const id& v) { return isNumberText(shownText(v)); })) {
        const CGRect f = frameOnScreen(v);
        if (f.origin.x >= CGRectGetMaxX(row) && middle >= f.origin.y && middle <= CGRectGetMaxY(f))
            return centerOnScreen(v);
    }
    return std::nullopt;
}

} // namespace

std::string Input::enterColor(const std::string& which, const std::string& text) {
    if (which != "hex" && which != "red" && which != "green" && which != "blue")
        return "no color prompt " + quoted(which);
    apps_.bringSettingsToFront();
    auto value = colorValueOnPage(apps_.window(Screen::Settings), which);
    if (!value)
        return "Settings does not show the color page";
    const size_t before = apps_.alertsOn(Screen::Settings).size();
    std::string e = tap(Screen::Settings, *value);
    if (!e.empty())
        return e;
    auto prompts = apps_.alertsOn(Screen::Settings);
    if (prompts.size() <= before || textFieldCount(*prompts.back()) == 0)
        return "the color page showed no prompt";
    msg(prompts.back()->textFieldAtIndex(0), "setText:", std::string()); // cleared first
    editing_ = Editing{prompts.back()->textFieldAtIndex(0), Screen::Settings, std::nullopt};
    e = type(text);
    return e.empty() ? press(Key::Return) : e;
}

std::string Input::tapAlertButton(const std::string& title) {
    if (!apps_.isBooted())
        return "the device is not booted";
    apps_.claimAlerts(Screen::SpringBoard);
    auto shown = UIAlertView::shownAlerts();
    if (shown.empty()) {
        if (!apps_.lockScreenAlarm())
            return "no alert is shown";
        id win = apps_.window(Screen::SpringBoard);
        if (title == "Snooze") {
            id snooze = msg<id>(win, "viewWithTag:", NSInteger{springboard::kLockScreenSnoozeTag});
            if (!snooze)
                return "the lock-screen alarm cannot snooze";
            return tap(Screen::SpringBoard, centerOnScreen(snooze));
        }
        if (title == "slide to stop") {
            id slide = msg<id>(win, "viewWithTag:", NSInteger{springboard::kLockScreenSlideTag});
            UIView* v = asView(slide);
            const CGRect b = v->bounds();
            const CGPoint from = v->convertPointToView({b.origin.x + 2, b.size.height / 2}, nullptr);
            const CGPoint to =
                v->convertPointToView({b.origin.x + b.size.width - 2, b.size.height / 2}, nullptr);
            return drag(Screen::SpringBoard, from, to, 10);
        }
        return "the lock-screen alarm has no button " + quoted(title) +
               "; it has \"Snooze\" (when it can snooze) and \"slide to stop\"";
    }
    Ref<UIAlertView> alert = shown.back();
    const Screen owner = apps_.ownerOf(alert);
    msg(alert, "layoutIfNeeded");
    id button = findView(alert, [&](const id& v) {
        auto* b = dynamic_cast<UIButton*>(v.get());
        return b && b->titleForState(0) == title;
    });
    if (!button) {
        // Listed as a person reads them: the alert's own buttons in order, then its accessory view's.
        std::vector<std::string> titles;
        for (NSInteger i = 0; i < alert->numberOfButtons(); ++i)
            titles.push_back(alert->buttonTitleAtIndex(i));
        if (alert->accessoryView())
            findView(alert->accessoryView(), [&](const id& v) {
                if (auto* b = dynamic_cast<UIButton*>(v.get()))
                    titles.push_back(b->titleForState(0));
                return false;
            });
        return "the alert has no button " + quoted(title) + "; its buttons are " + listed(titles);
    }
    std::string e = tap(owner, centerOnScreen(button));
    return e.empty() ? "" : "the button " + quoted(title) + " did not take the touch";
}

} // namespace sim
