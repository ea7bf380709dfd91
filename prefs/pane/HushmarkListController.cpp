#include "pane/HushmarkListController.h"

#include "foundation/NSDateFormatter.h"
#include "foundation/NSFileManager.h"
#include "pane/ButtonColorPaint.h"
#include "pane/DisarmLength.h"
#include "pane/FirstUseSeeding.h"
#include "pane/HushmarkSettingsFile.h"
#include "pane/HushmarkStatus.h"
#include "pane/PaneState.h"
#include "preferences/PSSpecifier.h"

namespace {

Class* specifierClass(const char* name) {
    return objc_getClass(name);
}

id makeSpecifier(const char* className, const std::string& name, const id& target, SEL set, SEL get,
                 Class* detail, NSInteger cell) {
    return msg<id>(classObject(specifierClass(className)),
                   "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", name, target, set, get,
                   detail, cell, static_cast<Class*>(nullptr));
}

std::string formattedDeadline(NSDate deadline) {
    return NSDateFormatterLocalizedStringFromDate(deadline, NSDateFormatterShortStyle,
                                                  NSDateFormatterMediumStyle);
}

std::string keyOf(const id& specifier) {
    return msg<PlistValue>(specifier, "propertyForKey:", "key").asString();
}

// Names the status row by the status rule (master switch, deadline, 15-second margin) and sets
// its "enabled" property to the master switch. The list build, the page's reappearance and the
// master switch turned on all use it, so the row never claims alarms are on while they are not.
void nameStatusRow(const id& status, const PlistDict& settings) {
    const PlistValue& enabled = valueForKey(settings, "enabled");
    const bool master = !enabled.isNone() && enabled.boolValue();
    const PlistValue& until = valueForKey(settings, "disarmedUntil");
    std::optional<double> deadline;
    if (until.isDate())
        deadline = until.asDate().timeIntervalSinceReferenceDate;
    const bool disarmed =
        statusShowsDisarmed(master, deadline, NSDate::date().timeIntervalSinceReferenceDate);
    msg(status, "setName:",
        disarmed ? statusDisarmedText(formattedDeadline(until.asDate())) : std::string(kStatusArmedText));
    msg(status, "setProperty:forKey:", PlistValue(master), "enabled");
}

} // namespace

void HushmarkListController::hushmarkNow() {
    PaneState& state = paneState();
    PlistDict& settings = state.listSettings;
    const PlistValue& minutes = valueForKey(settings, "disableForMinutes");
    const int32_t seconds =
        disarmLengthSeconds(minutes.isNone() ? std::nullopt : std::optional<int32_t>(minutes.intValue()));
    const NSDate deadline = NSDate::date().dateByAddingTimeInterval(seconds);
    settings["enabled"] = PlistValue(true);
    settings["disarmedUntil"] = PlistValue(deadline);
    saveHushmarkSettings(settings);
    if (state.statusSpecifier) {
        msg(state.statusSpecifier, "setName:", statusDisarmedText(formattedDeadline(deadline)));
        msg(state.statusSpecifier, "setProperty:forKey:", PlistValue(true), "enabled");
    }
    msg(self(), "reload");
    tellTweak(1);
}

void HushmarkListController::clearHushmark() {
    PaneState& state = paneState();
    state.listSettings.erase("disarmedUntil");
    saveHushmarkSettings(state.listSettings);
    if (state.statusSpecifier)
        msg(state.statusSpecifier, "setName:", std::string(kStatusArmedText));
    msg(self(), "reload");
    tellTweak(0);
}

id HushmarkListController::initForContentSize(CGSize size) {
    id controller = msgSuper<id>(this, classOf<HushmarkListController>(), "initForContentSize:", size);
    if (!controller)
        return nullptr;
    PlistDict& settings = paneState().listSettings;
    settings = loadHushmarkSettings();
    // First use: the alert button's options get their starting values; nothing is announced.
    if (seedFirstUse(settings))
        saveHushmarkSettings(settings);
    return controller;
}

void HushmarkListController::viewWillAppear(bool animated) {
    PaneState& state = paneState();
    state.listSettings = loadHushmarkSettings();
    // The file may have changed while the page was away (a disarm from an alarm's alert, a
    // deadline that passed): the status row is worked out again from what it holds now.
    if (state.statusSpecifier)
        nameStatusRow(state.statusSpecifier, state.listSettings);
    msgSuper(this, classOf<HushmarkListController>(), "viewWillAppear:", animated);
    msg(self(), "reload");
}

void HushmarkListController::setPreferenceValue(PlistValue value, id specifier) {
    PaneState& state = paneState();
    const std::string key = keyOf(specifier);
    state.listSettings = loadHushmarkSettings();
    state.listSettings[key] = value;
    saveHushmarkSettings(state.listSettings);
    if (!state.statusSpecifier || key != "enabled") {
        postHushmarkNotification();
        return;
    }
    if (value.boolValue()) {
        // Switched on: a deadline still ahead in the file silences alarms again, so the row says so.
        nameStatusRow(state.statusSpecifier, state.listSettings);
        msg(self(), "reload");
        postHushmarkNotification();
        return;
    }
    // Switched off: the disarm time no longer shows, and the toggle (when installed) is turned off.
    msg(state.statusSpecifier, "setProperty:forKey:", PlistValue(false), "enabled");
    const bool toggled = hushmarkToggleInstalled();
    if (toggled)
        tellTweak(0);
    msg(state.statusSpecifier, "setName:", std::string(kStatusArmedText));
    msg(self(), "reload");
    if (!toggled)
        postHushmarkNotification();
}

PlistValue HushmarkListController::readPreferenceValue(id specifier) {
    const PlistValue& value = valueForKey(paneState().listSettings, keyOf(specifier));
    return value.isNone() ? msg<PlistValue>(specifier, "propertyForKey:", "default") : value;
}

std::vector<id> HushmarkListController::specifiers() {
    if (!_specifiers.empty())
        return _specifiers;
    PaneState& state = paneState();
    const PlistDict& settings = state.listSettings;
    _specifiers = msg<std::vector<id>>(self(), "loadSpecifiersFromPlistName:target:", "Hushmark", self());

    // The status-bar icon needs libstatusbar: without it the row shows but cannot be changed.
    if (!fileExistsAtPath(kLibstatusbarPath)) {
        if (id icon = msg<id>(self(), "specifierForID:", "HMEnableIcon")) {
            msg(icon, "setProperty:forKey:", PlistValue(false), "enabled");
        }
    }

    id status = makeSpecifier("PSSpecifier", kStatusArmedText, self(), nullptr, nullptr, nullptr, 7);
    state.statusSpecifier = status;
    nameStatusRow(status, settings);
    _specifiers.push_back(status);

    _specifiers.push_back(makeSpecifier("PSSpecifier", "Extra Alert View Button Options", self(), nullptr,
                                        nullptr, nullptr, 0));

    id color = makeSpecifier("PSSpecifier", "Button Color", self(), nullptr, nullptr,
                             objc_getClass("HushmarkColorSelectorController"), 1);
    msg(color, "setProperty:forKey:", PlistValue("buttonColor"), "title");
    msg(color, "setProperty:forKey:", PlistValue("buttonColor"), "label");
    _specifiers.push_back(color);

    id text = makeSpecifier("PSTextFieldSpecifier", "Button Text:", self(),
                            SELECTOR("setPreferenceValue:specifier:"), SELECTOR("readPreferenceValue:"),
                            nullptr, 8);
    msg(text, "setProperty:forKey:", PlistValue("Button Text:"), "label");
    msg(text, "setProperty:forKey:", PlistValue("buttonText"), "key");
    msg(text, "setProperty:forKey:", PlistValue(kSettingsDomain), "defaults");
    msg(text, "setProperty:forKey:", PlistValue("Hushmark"), "default");
    msg(text, "setProperty:forKey:", PlistValue(true), "enabled");
    msg(text, "setPlaceholder:", std::string("Hushmark"));
    _specifiers.push_back(text);
    return _specifiers;
}

id HushmarkListController::tableViewCellForRowAtIndexPath(id table, NSIndexPath indexPath) {
    id cell = msgSuper<id>(this, classOf<HushmarkListController>(), "tableView:cellForRowAtIndexPath:", table,
                           indexPath);
    if (!(indexPath == NSIndexPath{1, 0}))
        return cell;
    // The "Button Color" row shows the alert button's color; white when none is stored.
    const PlistValue& stored = valueForKey(paneState().listSettings, "buttonColor");
    const ButtonColorPaint paint = buttonColorPaint(
        stored.isString() ? std::optional<std::string_view>(stored.asString()) : std::nullopt);
    id colorClass = classObject(objc_getClass("UIColor"));
    msg(msg<id>(cell, "textLabel"),
        "setTextColor:", msg<id>(colorClass, paint.blackText ? "blackColor" : "whiteColor"));
    msg(cell, "setBackgroundColor:",
        msg<id>(colorClass, "colorWithRed:green:blue:alpha:", paint.red, paint.green, paint.blue,
                CGFloat{1.0}));
    return cell;
}

namespace {
const ClassDef<HushmarkListController> kHushmarkListController(
    "HushmarkListController", "PSListController",
    {
        method("hushmarkNow", &HushmarkListController::hushmarkNow),
        method("clearHushmark", &HushmarkListController::clearHushmark),
        method("initForContentSize:", &HushmarkListController::initForContentSize),
        method("viewWillAppear:", &HushmarkListController::viewWillAppear),
        method("setPreferenceValue:specifier:", &HushmarkListController::setPreferenceValue),
        method("readPreferenceValue:", &HushmarkListController::readPreferenceValue),
        method("specifiers", &HushmarkListController::specifiers),
        method("tableView:cellForRowAtIndexPath:", &HushmarkListController::tableViewCellForRowAtIndexPath),
    });
} // namespace
