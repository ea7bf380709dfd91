// Reading what a person sees: each screen's view tree as JSON, the state both front ends show
// beside the screens, the Settings rows, and each screen's extent.
#include "device/Inspection.h"

#include "ViewSearch.h"
#include "device/Apps.h"
#include "device/Input.h"
#include "device/LocalTime.h"
#include "device/World.h"

#include "preferences/PSSpecifier.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardApps.h"
#include "springboard/SpringBoardDisplay.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/StatusBar.h"
#include "uikit/CALayer.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIButton.h"
#include "uikit/UIColor.h"
#include "uikit/UIImageView.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UILabel.h"
#include "uikit/UISlider.h"
#include "uikit/UISwitch.h"
#include "uikit/UITextField.h"
#include "uikit/UIWindow.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>

namespace sim {
namespace {

using nlohmann::json;

int channel(double c) {
    return int(std::lround(std::clamp(c, 0.0, 1.0) * 255));
}

json colorJson(const CGColor& c) {
    if (c.a <= 0)
        return nullptr;
    char buf[16];
    if (channel(c.a) == 255)
        std::snprintf(buf, sizeof buf, "#%02X%02X%02X", channel(c.r), channel(c.g), channel(c.b));
    else
        std::snprintf(buf, sizeof buf, "#%02X%02X%02X%02X", channel(c.r), channel(c.g), channel(c.b),
                      channel(c.a));
    return buf;
}

json colorJson(const id& color) {
    return color ? colorJson(UIColor::cgColorOf(color)) : json(nullptr);
}

double rounded(double v) {
    return std::round(v * 100) / 100;
}

json frameJson(CGRect r);

// The text field being edited, where it lies on its screen (a front end draws the caret there),
// or null.
json editingJson(const Input& input) {
    auto edited = input.editing();
    if (!edited)
        return nullptr;
    return {
        {"screen", screenName(edited->screen)}, {"text", edited->text}, {"frame", frameJson(edited->frame)}};
}

json frameJson(CGRect r) {
    return {{"x", rounded(r.origin.x)},
            {"y", rounded(r.origin.y)},
            {"width", rounded(r.size.width)},
            {"height", rounded(r.size.height)}};
}

json viewJson(const id& view) {
    auto* v = dynamic_cast<UIView*>(view.get());
    json j;
    j["class"] = class_getName(object_getClass(view.get()));
    j["frame"] = frameJson(v->convertRectToView(v->bounds(), nullptr));
    j["alpha"] = rounded(v->alpha());
    j["hidden"] = v->isHidden();
    j["tag"] = v->tag();
    j["background"] = colorJson(v->backingLayer()->backgroundColor());
    if (auto* label = dynamic_cast<UILabel*>(v)) {
        j["text"] = label->text();
        j["textColor"] = colorJson(label->textColor());
    }
    if (auto* control = dynamic_cast<UIControl*>(v)) {
        j["enabled"] = control->isEnabled();
        j["highlighted"] = control->isHighlighted();
        json actions = json::array();
        for (const id& target : control->allTargets())
            for (NSUInteger event :
                 {UIControlEventTouchDown, UIControlEventTouchUpInside, UIControlEventValueChanged})
                for (const std::string& a : control->actionsForTargetForControlEvent(target, event))
                    if (std::find(actions.begin(), actions.end(), a) == actions.end())
                        actions.push_back(a);
        j["actions"] = actions;
    }
    if (auto* button = dynamic_cast<UIButton*>(v)) {
        j["title"] = button->currentTitle();
        j["titleColor"] = colorJson(button->currentTitleColor());
    }
    if (auto* field = dynamic_cast<UITextField*>(v)) {
        j["text"] = field->isSecureTextEntry() ? std::string(field->text().size(), '*') : field->text();
        j["placeholder"] = field->placeholder();
        j["textColor"] = colorJson(field->textColor());
    }
    if (auto* slider = dynamic_cast<UISlider*>(v)) {
        j["value"] = rounded(slider->value());
        j["minimum"] = rounded(slider->minimumValue());
        j["maximum"] = rounded(slider->maximumValue());
    }
    if (respondsToSelector(view.get(), SELECTOR("isOn")) &&
        (!dynamic_cast<UIControl*>(v) || dynamic_cast<UISwitch*>(v)))
        j["on"] = msg<bool>(view, "isOn");
    if (!v->isHidden()) {
        json subs = json::array();
        for (const id& sub : v->subviews())
            subs.push_back(viewJson(sub));
        if (!subs.empty())
            j["subviews"] = subs;
    }
    return j;
}

json alertJson(const Ref<UIAlertView>& alert) {
    msg(alert, "layoutIfNeeded");
    json j;
    j["title"] = alert->title();
    j["message"] = alert->message();
    j["tag"] = alert->tag();
    j["style"] = alert->alertViewStyle();
    j["frame"] = frameJson(alert->frame());
    j["cancelButtonIndex"] = alert->cancelButtonIndex();
    json buttons = json::array();
    const AlertLayout& layout = alert->layout();
    for (NSInteger i = 0; i < alert->numberOfButtons(); ++i) {
        json b{{"index", i}, {"title", alert->buttonTitleAtIndex(i)}};
        if (size_t(i) < layout.buttons.size())
            b["frame"] = frameJson(
                CGRectOffset(layout.buttons[size_t(i)], layout.panel.origin.x, layout.panel.origin.y));
        buttons.push_back(b);
    }
    j["buttons"] = buttons;
    json fields = json::array();
    for (int i = 0; i < textFieldCount(*alert); ++i)
        fields.push_back(viewJson(alert->textFieldAtIndex(i)));
    j["textFields"] = fields;
    j["accessory"] = alert->accessoryView() ? viewJson(alert->accessoryView()) : json(nullptr);
    j["views"] = viewJson(alert);
    return j;
}

} // namespace

nlohmann::json Inspection::inspect(Screen screen) {
    apps_.claimAlerts(Screen::SpringBoard);
    id win = apps_.window(screen);
    msg(win, "layoutIfNeeded");
    json j;
    j["screen"] = screenName(screen);
    const CGRect bounds = msg<CGRect>(win, "bounds");
    j["width"] = rounded(bounds.size.width);
    j["height"] = rounded(bounds.size.height);
    j["scale"] = scale_;
    j["time"] = localDateTime(world_.now(), world_.timeZone());
    j["views"] = viewJson(win);
    json alerts = json::array();
    for (const auto& alert : apps_.alertsOn(screen))
        alerts.push_back(alertJson(alert));
    j["alerts"] = alerts;
    if (screen == Screen::SpringBoard) {
        json sb{{"booted", apps_.isBooted()}, {"locked", world_.isLocked()}, {"ringing", nullptr}};
        if (SpringBoardHost* springboard = apps_.springBoard()) {
            if (auto r = springboard->ringing())
                sb["ringing"] = {
                    {"title", r->title}, {"canSnooze", r->canSnooze}, {"onLockScreen", r->onLockScreen}};
        }
        json items = json::array();
        for (const StatusBarItem& item : StatusBar::shared().items())
            items.push_back(
                {{"identifier", item.identifier}, {"visible", item.visible}, {"image", item.imageName}});
        sb["statusItems"] = items;
        const json common = state();
        sb["alarms"] = common["alarms"];
        sb["nextAlarm"] = common["nextAlarm"];
        j["springboard"] = sb;
    } else if (screen == Screen::Phone) {
        // The windows over the full-screen one (the status bar), and what runs.
        json over = json::array();
        if (SpringBoardDisplay* display = apps_.display()) {
            const auto shown = display->windows();
            for (size_t i = 1; i < shown.size(); ++i)
                over.push_back(viewJson(shown[i]));
        }
        json running = json::array();
        if (SpringBoardApps* phone = apps_.phoneApps())
            for (const std::string& bundle : phone->running())
                running.push_back(phone->app(bundle) ? phone->app(bundle)->name : bundle);
        j["phone"] = {{"front", apps_.inFront()}, {"running", running}, {"windowsOver", over}};
    }
    // The Settings rows, placed where the screen shows them (on the phone: scrolled as it is).
    if (screen == Screen::Settings || (screen == Screen::Phone && apps_.inFront() == kSettingsAppName))
        j["settings"] = settingsJson();
    j["editing"] = editingJson(input_);
    return j;
}

json Inspection::settingsJson() {
    SettingsApp* settings = apps_.settingsApp();
    json st{{"page", nullptr}, {"depth", settings ? settings->depth() : 0}};
    json rows = json::array();
    if (apps_.hasSettingsPage()) {
        st["page"] = msg<std::string>(settings->currentController(), "title");
        for (const std::string& label : settings->rowLabels()) {
            id cell = settings->cellForRow(label);
            auto* v = dynamic_cast<UIView*>(cell.get());
            rows.push_back(
                {{"label", label},
                 {"value", settings->rowText(label)},
                 {"enabled", settings->rowEnabled(label)},
                 {"background", v ? colorJson(v->backingLayer()->backgroundColor()) : json(nullptr)},
                 {"textColor", colorJson(msg<id>(msg<id>(cell, "textLabel"), "textColor"))},
                 {"frame", v ? frameJson(v->convertRectToView(v->bounds(), nullptr)) : json(nullptr)}});
        }
    }
    st["rows"] = rows;
    return st;
}

CGSize Inspection::extent(Screen screen) {
    return msg<CGRect>(apps_.window(screen), "bounds").size;
}

json Inspection::state() const {
    json alarmList = json::array();
    for (const AlarmInfo& a : world_.alarms()) {
        char t[16];
        std::snprintf(t, sizeof t, "%02d:%02d:%02d", a.secondsOfDay / 3600, (a.secondsOfDay / 60) % 60,
                      a.secondsOfDay % 60);
        alarmList.push_back({{"id", a.alarmId},
                             {"time", t},
                             {"label", a.label},
                             {"snooze", a.snooze},
                             {"daily", a.daily},
                             {"enabled", a.enabled}});
    }
    auto next = world_.nextAlarmDate();
    return {{"time", localDateTime(world_.now(), world_.timeZone())},
            {"timeZone", world_.timeZone()},
            {"locked", world_.isLocked()},
            {"booted", apps_.isBooted()},
            {"front", apps_.isBooted() ? json(apps_.inFront()) : json(nullptr)},
            {"alarms", alarmList},
            {"nextAlarm", next ? json(localDateTime(*next, world_.timeZone())) : json(nullptr)},
            {"editing", editingJson(input_)}};
}

std::vector<std::string> Inspection::rowLabels() {
    return apps_.settingsApp() ? apps_.settingsApp()->rowLabels() : std::vector<std::string>{};
}

} // namespace sim
