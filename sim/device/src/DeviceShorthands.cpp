// Shorthands over a person's touches: each finds its target by what the screen shows (a row's
// text, a value on the color page, an alert's button title, a tag) and touches it there, through
// the same hit testing as any touch.
#include "DeviceWindows.h"
#include "ViewSearch.h"

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

std::string Device::openSettings() {
    if (!settings_)
        return "the device is not booted";
    if (!settings_->openPane("Hushmark"))
        return settled(Screen::Settings, "no Hushmark pane is installed");
    return settled(Screen::Settings, "");
}

std::string Device::settingsBack() {
    if (!isBooted())
        return "the device is not booted";
    if (!hasSettingsPage())
        return "Settings shows no page: open it first";
    if (settings_->depth() <= 1)
        return "Settings shows its first page already";
    id button = msg<id>(window(Screen::Settings), "viewWithTag:", SettingsApp::kBackButtonTag);
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

static RowFound findRowCell(Device& device, SettingsApp* settings, const std::string& label) {
    if (!device.isBooted())
        return {nullptr, "the device is not booted"};
    if (!device.hasSettingsPage())
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
template <class Cell>
RowFound findRowOfKind(Device& device, SettingsApp* settings, const std::string& label, const char* lacking) {
    RowFound found = findRowCell(device, settings, label);
    if (found.error.empty() && !dynamic_cast<Cell*>(found.cell.get()))
        return {nullptr, "the row " + quoted(label) + " has " + lacking};
    return found;
}

std::string Device::tapRow(const std::string& label) {
    window(Screen::Settings);
    RowFound found = findRowCell(*this, settings_.get(), label);
    if (!found.error.empty())
        return found.error;
    // The row's label: a tap there reaches the row, not a control at its right.
    id textLabel = msg<id>(found.cell, "textLabel");
    const bool onLabel = textLabel && asView(textLabel)->bounds().size.width > 0 &&
                         !msg<std::string>(textLabel, "text").empty();
    return tap(Screen::Settings, centerOnScreen(onLabel ? textLabel : found.cell));
}

std::string Device::setRowSwitch(const std::string& label, bool on) {
    window(Screen::Settings);
    RowFound found = findRowOfKind<PSSwitchTableCell>(*this, settings_.get(), label, "no switch");
    if (!found.error.empty())
        return found.error;
    id control = msg<id>(found.cell, "control");
    if (msg<bool>(control, "isOn") == on)
        return "";
    std::string e = tap(Screen::Settings, centerOnScreen(control));
    if (!e.empty())
        return e;
    id now = settings_->cellForRow(label);
    return now && msg<bool>(msg<id>(now, "control"), "isOn") == on
               ? ""
               : "the switch " + quoted(label) + " did not change";
}

std::string Device::typeInRow(const std::string& label, const std::string& text) {
    window(Screen::Settings);
    RowFound found = findRowOfKind<PSEditableTableCell>(*this, settings_.get(), label, "no text field");
    if (!found.error.empty())
        return found.error;
    std::string e = tap(Screen::Settings, centerOnScreen(msg<id>(found.cell, "control")));
    if (!e.empty())
        return e;
    id field = windows_->editing ? windows_->editing->field.lock() : nullptr;
    if (!field)
        return "the row " + quoted(label) + " did not start editing";
    msg(field, "setText:", std::string()); // a person clears the field first
    e = type(text);
    return e.empty() ? press(Key::Return) : e;
}

std::string Device::pickRowSegment(const std::string& label, long index) {
    window(Screen::Settings);
    RowFound found = findRowOfKind<PSSegmentTableCell>(*this, settings_.get(), label, "no segments");
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

std::string Device::tapPicker(CGPoint point) {
    auto at = pickerPoints({point});
    if (at.empty())
        return "Settings does not show the color page";
    return tap(Screen::Settings, at[0]).empty() ? "" : "nothing takes a touch at that point of the picker";
}

std::string Device::dragPicker(CGPoint from, CGPoint to) {
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
std::vector<CGPoint> Device::pickerPoints(const std::vector<CGPoint>& points) {
    id picker;
    for (const id& cell : findViews(window(Screen::Settings),
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

std::string Device::enterColor(const std::string& which, const std::string& text) {
    if (which != "hex" && which != "red" && which != "green" && which != "blue")
        return "no color prompt " + quoted(which);
    auto value = colorValueOnPage(window(Screen::Settings), which);
    if (!value)
        return "Settings does not show the color page";
    const size_t before = alertsOn(Screen::Settings).size();
    std::string e = tap(Screen::Settings, *value);
    if (!e.empty())
        return e;
    auto prompts = alertsOn(Screen::Settings);
    if (prompts.size() <= before || textFieldCount(*prompts.back()) == 0)
        return "the color page showed no prompt";
    msg(prompts.back()->textFieldAtIndex(0), "setText:", std::string()); // cleared first
    windows_->editing = Windows::Editing{prompts.back()->textFieldAtIndex(0), Screen::Settings, std::nullopt};
    e = type(text);
    return e.empty() ? press(Key::Return) : e;
}

std::string Device::tapAlertButton(const std::string& title) {
    if (!isBooted())
        return "the device is not booted";
    claimAlerts(Screen::SpringBoard);
    auto shown = UIAlertView::shownAlerts();
    if (shown.empty()) {
        if (!lockScreenAlarm())
            return "no alert is shown";
        id win = window(Screen::SpringBoard);
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
    Screen owner = Screen::SpringBoard;
    for (const auto& o : windows_->owners)
        if (o.alert.lock() == alert)
            owner = o.screen;
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
