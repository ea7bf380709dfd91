// Steps a person takes: Settings rows, the color page's picker and prompts, alert buttons;
// and the expectations a scenario checks.
#include "LocalTime.h"
#include "VirtualDevice.h"

#include "foundation/DeviceClock.h"
#include "foundation/DeviceEvents.h"
#include "foundation/RunLoop.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/StatusBar.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"

#include <sstream>

namespace sim {
namespace {

std::string inQuotes(const std::string& s) { return "\"" + s + "\""; }

std::string joined(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& w : words) out += (out.empty() ? "" : ", ") + inQuotes(w);
    return out.empty() ? "none" : out;
}

Ref<UIAlertView> topAlert() {
    auto alerts = UIAlertView::shownAlerts();
    return alerts.empty() ? nullptr : alerts.back();
}

} // namespace

std::string VirtualDevice::settings(const std::vector<std::string>& a) {
    if (!settings_) return "the device is not booted";
    const std::string& v = a[0];
    bool done = true;
    if (v == "open") done = settings_->openPane("Hushmark") != nullptr;
    else if (v == "back") done = settings_->back();
    else if (!settings_->currentController()) return "Settings shows no page: open it first";
    else if (v == "tap") done = settings_->tapRow(a[1]);
    else if (v == "switch") done = settings_->setSwitch(a[1], a[2] == "on");
    else if (v == "type") done = settings_->typeText(a[1], a[2]);
    else if (v == "segment") done = settings_->pickSegment(a[1], NSInteger(std::stol(a[2])));
    RunLoop::main().drain();
    if (done) return "";
    if (v == "open") return "no Hushmark pane is installed";
    if (v == "back") return "Settings shows its first page already";
    if (!settings_->findRow(a[1])) return "no row " + inQuotes(a[1]) + " on this page; the rows are " + joined(settings_->rowLabels());
    return "the row " + inQuotes(a[1]) + " cannot be changed that way (it is disabled or of another kind)";
}

id VirtualDevice::findView(id root, const std::string& classPrefix) {
    if (!root) return nullptr;
    if (std::string(class_getName(object_getClass(root.get()))).rfind(classPrefix, 0) == 0) return root;
    for (const id& sub : msg<std::vector<id>>(root, "subviews"))
        if (id found = findView(sub, classPrefix)) return found;
    return nullptr;
}

id VirtualDevice::colorCell() { return settings_ ? findView(settings_->pageView(), "HMColorCell") : nullptr; }

bool VirtualDevice::touchInPage(id view, const std::vector<CGPoint>& points) {
    // The page's views, in a window of their own size, take the touch as on the screen.
    id root = view;
    while (id parent = msg<id>(root, "superview")) root = parent;
    CGRect frame = msg<CGRect>(root, "frame");
    window_ = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"), "initWithFrame:", frame);
    msg(window_, "addSubview:", root);
    auto* win = static_cast<UIWindow*>(window_.get());
    auto* v = static_cast<UIView*>(view.get());
    std::vector<CGPoint> inWindow;
    for (CGPoint p : points) inWindow.push_back(v->convertPointToView(p, window_));
    if (!win->touchDown(inWindow.front())) return false;
    for (size_t i = 1; i < inWindow.size(); ++i) win->touchMove(inWindow[i]);
    win->touchUp(inWindow.back());
    msg(root, "removeFromSuperview");
    RunLoop::main().drain();
    return true;
}

std::string VirtualDevice::picker(const std::vector<std::string>& a) {
    id cell = colorCell();
    id picker = cell ? findView(cell, "HMColorPickerView_") : nullptr;
    if (!picker) return "Settings does not show the color page";
    std::vector<CGPoint> points;
    CGPoint from{std::stod(a[1]), std::stod(a[2])};
    if (a[0] == "tap") {
        points = {from};
    } else {
        CGPoint to{std::stod(a[3]), std::stod(a[4])};
        const int steps = 10;
        for (int i = 0; i <= steps; ++i)
            points.push_back({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    }
    return touchInPage(picker, points) ? "" : "nothing takes a touch at that point of the picker";
}

std::string VirtualDevice::color(const std::vector<std::string>& a) {
    id cell = colorCell();
    if (!cell) return "Settings does not show the color page";
    std::string text;
    if (a[0] == "hex") {
        msg(cell, "askUserForInputHex");
        text = a[1];
    } else {
        msg(cell, a[1] == "red" ? "askUserForInputR" : a[1] == "green" ? "askUserForInputG" : "askUserForInputB");
        text = a[2];
    }
    auto prompt = topAlert();
    if (!prompt) return "the color page showed no prompt";
    msg(msg<id>(prompt, "textFieldAtIndex:", NSInteger{0}), "setText:", text);
    bool tapped = prompt->tapButtonAtIndex(1);
    RunLoop::main().drain();
    return tapped ? "" : "the prompt has no Save button";
}

std::string VirtualDevice::tapAlertButton(const std::string& title) {
    auto alert = topAlert();
    if (!alert) return "no alert is shown";
    for (NSInteger i = 0; i < alert->numberOfButtons(); ++i) {
        if (alert->buttonTitleAtIndex(i) == title) {
            alert->tapButtonAtIndex(i);
            RunLoop::main().drain();
            return "";
        }
    }
    // The extra button lives in the accessory view: a person touches it where it shows.
    id accessory = alert->accessoryView();
    id button = accessory ? findView(accessory, "UIButton") : nullptr;
    if (button && msg<std::string>(button, "titleForState:", NSUInteger{0}) == title) {
        const AlertLayout& layout = alert->layout(); // the accessory lies in the panel's coordinates
        CGRect area = CGRectOffset(layout.accessory, layout.panel.origin.x, layout.panel.origin.y);
        auto* b = static_cast<UIView*>(button.get());
        CGPoint inAccessory = b->convertPointToView({b->bounds().size.width / 2, b->bounds().size.height / 2}, accessory);
        CGPoint onScreen{area.origin.x + inAccessory.x, area.origin.y + inAccessory.y};
        id screen = screenWindow();
        if (!screen) return "the device is not booted";
        auto window = static_cast<UIWindow*>(screen.get());
        bool took = window->touchDown(onScreen);
        window->touchUp(onScreen);
        RunLoop::main().drain();
        return took ? "" : "the button " + inQuotes(title) + " did not take the touch";
    }
    std::vector<std::string> titles;
    for (NSInteger i = 0; i < alert->numberOfButtons(); ++i) titles.push_back(alert->buttonTitleAtIndex(i));
    if (button) titles.push_back(msg<std::string>(button, "titleForState:", NSUInteger{0}));
    return "the alert has no button " + inQuotes(title) + "; its buttons are " + joined(titles);
}

std::string VirtualDevice::alert(const std::vector<std::string>& a) { return tapAlertButton(a[1]); }

std::string VirtualDevice::expect(const std::vector<std::string>& a) {
    const std::string& what = a[0];
    if (what == "event" || what == "no-event") {
        auto events = DeviceEvents::all();
        for (size_t i = eventCursor_; i < events.size(); ++i) {
            std::string line = events[i].kind + "  " + events[i].detail;
            if (line.find(a[1]) == std::string::npos) continue;
            if (what == "no-event")
                return "an event " + inQuotes(a[1]) + " happened at " + localClock(events[i].time, scenario_.settings.timeZone);
            eventCursor_ = i + 1;
            return "";
        }
        if (what == "no-event") return "";
        std::string seen;
        for (size_t i = eventCursor_; i < events.size(); ++i) seen += "\n    " + events[i].kind + "  " + events[i].detail;
        return "no event " + inQuotes(a[1]) + " since the last one expected; seen:" + (seen.empty() ? " none" : seen);
    }
    if (what == "file") {
        std::string seen = settingsValueText(a[1]);
        if (seen == a[2] || (a[2] == "present" && seen != "absent")) return "";
        return "the settings file's " + inQuotes(a[1]) + " is " + inQuotes(seen) + ", not " + inQuotes(a[2]);
    }
    if (what == "icon") {
        bool shown = StatusBar::shared().isVisible("Hushmark");
        if (shown == (a[1] == "shown")) return "";
        return std::string("the status-bar icon is ") + (shown ? "shown" : "hidden");
    }
    if (what == "alert") {
        auto alert = topAlert();
        std::string seen = alert ? alert->title() : "none";
        return seen == a[1] ? "" : "the alert on screen is " + inQuotes(seen);
    }
    if (!settings_ || !settings_->currentController()) return "Settings shows no page";
    if (what == "status") {
        for (const auto& label : settings_->rowLabels()) {
            if (label.rfind("Alarms Enabled", 0) == 0 || label.rfind("Hushmarked Until", 0) == 0)
                return label.rfind(a[1], 0) == 0 ? "" : "the status row reads " + inQuotes(label);
        }
        return "the page has no status row";
    }
    // row
    if (!settings_->findRow(a[1])) return "no row " + inQuotes(a[1]) + "; the rows are " + joined(settings_->rowLabels());
    bool enabled = settings_->rowEnabled(a[1]);
    return enabled == (a[2] == "enabled") ? "" : "the row " + inQuotes(a[1]) + " is " + (enabled ? "enabled" : "disabled");
}

} // namespace sim
