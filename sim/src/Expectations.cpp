#include "Expectations.h"

#include "Scenario.h"

#include "device/Device.h"
#include "device/LocalTime.h"

#include "uikit/UIAlertView.h"
#include "uikit/UIButton.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace sim {
namespace {

using nlohmann::json;

std::string q(const std::string& s) { return "\"" + excerpt(s, 80) + "\""; }

std::string listed(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& w : words) out += (out.empty() ? "" : ", ") + q(w);
    return out.empty() ? "none" : out;
}

// A color of the inspection ("#RRGGBB", "#RRGGBBAA" or null) as parseColor writes one.
std::string normalColor(const json& c) {
    if (!c.is_string()) return "none";
    std::string s = c.get<std::string>();
    return s.size() == 7 ? s + "FF" : s;
}

// Shown as a person reads it: "#RRGGBB" when opaque.
std::string shownColor(const std::string& normal) {
    return normal.size() == 9 && normal.substr(7) == "FF" ? normal.substr(0, 7) : normal;
}

std::string textOf(const json& view) {
    if (view.contains("text") && view["text"].is_string()) return view["text"];
    if (view.contains("title") && view["title"].is_string()) return view["title"];
    return "";
}

// Every view of a screen, topmost first: its alerts (the newest first), then its window from
// the front (last subview) to the back.
void collect(const json& view, std::vector<json>& out) {
    if (view.contains("subviews"))
        for (auto it = view["subviews"].rbegin(); it != view["subviews"].rend(); ++it) collect(*it, out);
    out.push_back(view);
}

std::vector<json> viewsOf(Device& device, Screen screen) {
    json j = device.inspect(screen);
    std::vector<json> out;
    for (auto it = j["alerts"].rbegin(); it != j["alerts"].rend(); ++it) collect((*it)["views"], out);
    collect(j["views"], out);
    return out;
}

std::vector<Screen> screensOf(const std::string& name) {
    if (auto s = screenNamed(name)) return {*s};
    return {Screen::SpringBoard, Screen::Settings};
}

// Tags compare as numbers: "+0042" is tag 42.
bool hasTag(const json& view, const std::string& number) {
    return view["tag"].is_number_integer() && view["tag"].get<long long>() == *parseTag(number);
}

bool selects(const json& view, const std::string& selector) {
    if (selector.rfind("tag:", 0) == 0) return hasTag(view, selector.substr(4));
    if (selector.rfind("class:", 0) == 0) return view["class"] == selector.substr(6);
    return textOf(view) == selector;
}

// What the view has for a property, as the scenario writes values.
std::string propertyOf(const json& view, const std::string& p) {
    auto flag = [&](const char* key) { return view.contains(key) ? (view[key].get<bool>() ? "yes" : "no") : "(none)"; };
    auto number = [&](const json& v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", v.get<double>());
        return std::string(buf);
    };
    if (p == "background") return shownColor(normalColor(view["background"]));
    if (p == "title-color") return view.contains("titleColor") ? shownColor(normalColor(view["titleColor"])) : "(none)";
    if (p == "text-color") return view.contains("textColor") ? shownColor(normalColor(view["textColor"])) : "(none)";
    if (p == "highlighted" || p == "enabled" || p == "hidden" || p == "on") return flag(p.c_str());
    if (p == "alpha") return number(view["alpha"]);
    if (p == "value") return view.contains("value") ? number(view["value"]) : "(none)";
    if (p == "x" || p == "y" || p == "width" || p == "height") return number(view["frame"][p]);
    if (p == "tag") return view["tag"].dump();
    if (p == "class") return view["class"];
    if (p == "text") return view.contains("text") ? view["text"].get<std::string>() : "(none)";
    if (p == "title") return view.contains("title") ? view["title"].get<std::string>() : "(none)";
    return "(none)";
}

bool propertyMatches(const json& view, const std::string& p, const std::string& expected) {
    if (p == "background" || p == "title-color" || p == "text-color") {
        const char* key = p == "background" ? "background" : p == "title-color" ? "titleColor" : "textColor";
        if (!view.contains(key)) return false;
        return normalColor(view[key]) == *parseColor(expected);
    }
    if (p == "alpha" || p == "value" || p == "x" || p == "y" || p == "width" || p == "height") {
        const json& seen = p == "alpha" || p == "value" ? (view.contains(p) ? view[p] : json()) : view["frame"][p];
        if (!seen.is_number()) return false;
        const double tolerance = p == "alpha" || p == "value" ? 0.005 : 0.5;
        return std::fabs(seen.get<double>() - *parseReal(expected, 1e6)) <= tolerance;
    }
    if (p == "tag") return hasTag(view, expected);
    return propertyOf(view, p) == expected;
}

std::string expectView(Device& device, const std::vector<std::string>& a) {
    size_t at = 1;
    std::string screenName;
    if (a.size() % 2 == 1) screenName = a[1], at = 2;
    const std::string& selector = a[at];
    std::vector<json> candidates;
    for (Screen s : screensOf(screenName))
        for (json& v : viewsOf(device, s))
            if (selects(v, selector)) candidates.push_back(std::move(v));
    if (candidates.empty()) return "no view " + q(selector) + " is on screen";
    for (const json& v : candidates) {
        bool all = true;
        for (size_t i = at + 1; all && i + 1 < a.size(); i += 2) all = propertyMatches(v, a[i], a[i + 1]);
        if (all) return "";
    }
    // Report the view nearest to what was expected: the one with the most properties right.
    auto rightCount = [&](const json& v) {
        int n = 0;
        for (size_t i = at + 1; i + 1 < a.size(); i += 2) n += propertyMatches(v, a[i], a[i + 1]) ? 1 : 0;
        return n;
    };
    const json& first = *std::max_element(candidates.begin(), candidates.end(),
                                          [&](const json& x, const json& y) { return rightCount(x) < rightCount(y); });
    std::string seen;
    for (size_t i = at + 1; i + 1 < a.size(); i += 2) {
        if (propertyMatches(first, a[i], a[i + 1])) continue;
        seen += (seen.empty() ? "" : ", ") + a[i] + " " + propertyOf(first, a[i]) + ", not " + a[i + 1];
    }
    std::string more = candidates.size() > 1 ? " (and " + std::to_string(candidates.size() - 1) + " more views so named)" : "";
    return "the view " + q(selector) + " (" + first["class"].get<std::string>() + ") has " + seen + more;
}

std::string expectPixel(Device& device, const std::vector<std::string>& a) {
    const Screen screen = *screenNamed(a[1]);
    const double scale = device.setup().scale;
    SnapshotImage image = device.render(screen);
    const double x = *parseCoordinate(a[2]), y = *parseCoordinate(a[3]);
    if (x < 0 || y < 0 || x * scale >= double(image.width) || y * scale >= double(image.height))
        return "the point lies outside the " + a[1] + " screen (" + std::to_string(int(image.width / scale)) + " x " +
               std::to_string(int(image.height / scale)) + " points)";
    const SnapshotImage::Pixel p = image.at(size_t(x * scale), size_t(y * scale));
    const std::string want = *parseColor(a[4]);
    int r = 0, g = 0, b = 0, alpha = 0;
    if (want != "none") std::sscanf(want.c_str(), "#%02X%02X%02X%02X", &r, &g, &b, &alpha);
    constexpr int kTolerance = 2; // anti-aliasing and rounding of blended colors
    const bool same = std::abs(p.a - alpha) <= kTolerance &&
                      (alpha == 0 || (std::abs(p.r - r) <= kTolerance && std::abs(p.g - g) <= kTolerance &&
                                      std::abs(p.b - b) <= kTolerance));
    if (same) return "";
    char seen[16];
    if (p.a == 255) std::snprintf(seen, sizeof seen, "#%02X%02X%02X", p.r, p.g, p.b);
    else std::snprintf(seen, sizeof seen, "#%02X%02X%02X%02X", p.r, p.g, p.b, p.a);
    return "the pixel at (" + a[2] + ", " + a[3] + ") on the " + a[1] + " screen is " + seen + ", not " + a[4];
}

std::string expectText(Device& device, const std::string& text, bool present) {
    std::vector<std::string> seen;
    for (Screen s : {Screen::SpringBoard, Screen::Settings}) {
        for (const json& v : viewsOf(device, s)) {
            if (v["hidden"].get<bool>()) continue;
            const std::string t = textOf(v);
            if (t == text) {
                if (present) return "";
                return "the text " + q(text) + " is on the " + std::string(screenName(s)) + " screen (" +
                       v["class"].get<std::string>() + ")";
            }
            if (!t.empty() && seen.size() < 12) seen.push_back(t);
        }
    }
    return present ? "no view shows " + q(text) + "; texts on screen include " + listed(seen) : "";
}

Ref<UIAlertView> topAlert() {
    auto shown = UIAlertView::shownAlerts();
    return shown.empty() ? nullptr : shown.back();
}

std::string expectAlert(Device& device, const std::vector<std::string>& a) {
    auto alert = topAlert();
    if (a.size() == 2) {
        std::string seen = alert ? alert->title() : device.lockScreenAlarm().value_or("none");
        return seen == a[1] ? "" : "the alert on screen is " + q(seen);
    }
    if (!alert) {
        auto lock = device.lockScreenAlarm();
        if (!lock) return "no alert is shown";
        // SpringBoard's own lock-screen alarm: its title, and its controls as `alert tap` names them.
        if (a[1] == "title") return *lock == a[2] ? "" : "the lock-screen alarm's title is " + q(*lock);
        if (a[1] == "buttons") {
            const json ringing = device.inspect(Screen::SpringBoard)["springboard"]["ringing"];
            std::vector<std::string> controls;
            if (ringing.is_object() && ringing.value("canSnooze", false)) controls.push_back("Snooze");
            controls.push_back("slide to stop");
            return std::vector<std::string>(a.begin() + 2, a.end()) == controls
                       ? "" : "the lock-screen alarm " + q(*lock) + " has " + listed(controls);
        }
        return "the alarm " + q(*lock) + " rings full screen on the lock screen, with no alert view";
    }
    const std::string& what = a[1];
    if (what == "tag") {
        const long long want = *parseTag(a[2]);
        return alert->tag() == want ? "" : "the alert " + q(alert->title()) + " has the tag " + std::to_string(alert->tag());
    }
    if (what == "title") return alert->title() == a[2] ? "" : "the alert's title is " + q(alert->title());
    // A message of several lines is named with the escapes `file write` takes ("\n", "\x0A").
    if (what == "message")
        return alert->message() == decodeBytes(a[2]).value_or(a[2]) ? "" : "the alert's message is " + q(alert->message());
    if (what == "field") {
        const NSInteger style = alert->alertViewStyle();
        if (style == 0) return "the alert " + q(alert->title()) + " has no text field";
        const std::string text = msg<std::string>(alert->textFieldAtIndex(0), "text");
        return text == a[2] ? "" : "the alert's text field holds " + q(text);
    }
    // buttons: the alert's own, by index, then the buttons of its accessory view.
    std::vector<std::string> titles;
    for (NSInteger i = 0; i < alert->numberOfButtons(); ++i) titles.push_back(alert->buttonTitleAtIndex(i));
    std::function<void(const id&)> accessoryButtons = [&](const id& v) {
        if (auto* b = dynamic_cast<UIButton*>(v.get())) titles.push_back(b->titleForState(0));
        for (const id& sub : msg<std::vector<id>>(v, "subviews")) accessoryButtons(sub);
    };
    if (alert->accessoryView()) accessoryButtons(alert->accessoryView());
    const std::vector<std::string> want(a.begin() + 2, a.end());
    return titles == want ? "" : "the alert's buttons are " + listed(titles);
}

std::string expectRow(Device& device, const std::vector<std::string>& a) {
    if (!device.hasSettingsPage()) return "Settings shows no page";
    json rows = device.inspect(Screen::Settings)["settings"]["rows"];
    const json* row = nullptr;
    std::vector<std::string> labels;
    for (const json& r : rows) {
        labels.push_back(r["label"]);
        if (!row && r["label"] == a[1]) row = &r;
    }
    if (!row) return "no row " + q(a[1]) + "; the rows are " + listed(labels);
    if (a.size() == 3) {
        bool enabled = (*row)["enabled"];
        return enabled == (a[2] == "enabled") ? "" : "the row " + q(a[1]) + " is " + (enabled ? "enabled" : "disabled");
    }
    if (a[2] == "value") {
        const std::string value = (*row)["value"];
        return value == a[3] ? "" : "the row " + q(a[1]) + " shows " + q(value);
    }
    const std::string seen = normalColor((*row)[a[2] == "background" ? "background" : "textColor"]);
    return seen == *parseColor(a[3]) ? "" : "the row " + q(a[1]) + " has " + a[2] + " " + shownColor(seen) + ", not " + a[3];
}

} // namespace

std::string checkExpectation(Device& device, const std::vector<std::string>& a, EventCursors& cursors,
                             const std::string& timeZone) {
    const std::string& what = a[0];
    if (what == "event" || what == "no-event") {
        const bool no = what == "no-event";
        auto events = device.events(no ? cursors.actionStart : cursors.matched);
        const size_t base = no ? cursors.actionStart : cursors.matched;
        for (size_t i = 0; i < events.size(); ++i) {
            const std::string line = events[i].kind + "  " + events[i].detail;
            if (line.find(a[1]) == std::string::npos) continue;
            if (no) return "an event " + q(a[1]) + " happened at " + localClock(events[i].time, timeZone) + ": " + q(line);
            cursors.matched = base + i + 1;
            return "";
        }
        if (no) return "";
        std::string seen;
        for (const DeviceEvent& e : events) seen += "\n    " + excerpt(e.kind + "  " + e.detail, 120);
        return "no event " + q(a[1]) + " since the last one expected; seen:" + (seen.empty() ? " none" : seen);
    }
    if (what == "file") {
        std::string seen = device.settingText(a[1]);
        if (seen == a[2] || (a[2] == "present" && seen != "absent")) return "";
        return "the settings file's " + q(a[1]) + " is " + q(seen) + ", not " + q(a[2]);
    }
    if (what == "icon") {
        bool shown = device.isStatusItemVisible("Hushmark");
        if (shown == (a[1] == "shown")) return "";
        return std::string("the status-bar icon is ") + (shown ? "shown" : "hidden");
    }
    if (what == "alert") return expectAlert(device, a);
    if (what == "view") return expectView(device, a);
    if (what == "pixel") return expectPixel(device, a);
    if (what == "text" || what == "no-text") return expectText(device, a[1], what == "text");
    if (what == "status") {
        if (!device.hasSettingsPage()) return "Settings shows no page";
        for (const auto& label : device.rowLabels()) {
            if (label.rfind("Alarms Enabled", 0) == 0 || label.rfind("Hushmarked Until", 0) == 0)
                return label.rfind(a[1], 0) == 0 ? "" : "the status row reads " + q(label);
        }
        return "the page has no status row";
    }
    return expectRow(device, a);
}

} // namespace sim
