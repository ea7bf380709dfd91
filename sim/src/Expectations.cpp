#include "Expectations.h"

#include "words/Words.h"

#include "device/Device.h"
#include "device/LocalTime.h"

#include "uikit/UIAlertView.h"
#include "uikit/UIButton.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <type_traits>

namespace sim {
namespace {

// The screens an expectation that names none looks at: SpringBoard's and Settings' (the phone
// shows what they show).
const std::vector<Screen>& classicScreens() {
    static const std::vector<Screen> screens{Screen::SpringBoard, Screen::Settings};
    return screens;
}

using nlohmann::json;

std::string q(const std::string& s) {
    return "\"" + excerpt(s, 80) + "\"";
}

std::string listed(const std::vector<std::string>& words) {
    std::string out;
    for (const auto& w : words)
        out += (out.empty() ? "" : ", ") + q(w);
    return out.empty() ? "none" : out;
}

// A color of the inspection ("#RRGGBB", "#RRGGBBAA" or null) as parseColor writes one.
std::string normalColor(const json& c) {
    if (!c.is_string())
        return "none";
    std::string s = c.get<std::string>();
    return s.size() == 7 ? s + "FF" : s;
}

// Shown as a person reads it: "#RRGGBB" when opaque.
std::string shownColor(const std::string& normal) {
    return normal.size() == 9 && normal.substr(7) == "FF" ? normal.substr(0, 7) : normal;
}

std::string textOf(const json& view) {
    if (view.contains("text") && view["text"].is_string())
        return view["text"];
    if (view.contains("title") && view["title"].is_string())
        return view["title"];
    return "";
}

// Every view of a screen, topmost first: its alerts (the newest first), then its window from
// the front (last subview) to the back.
void collect(const json& view, std::vector<json>& out) {
    if (view.contains("subviews"))
        for (auto it = view["subviews"].rbegin(); it != view["subviews"].rend(); ++it)
            collect(*it, out);
    out.push_back(view);
}

std::vector<json> viewsOf(Device& device, Screen screen) {
    json j = device.inspection().inspect(screen);
    std::vector<json> out;
    for (auto it = j["alerts"].rbegin(); it != j["alerts"].rend(); ++it)
        collect((*it)["views"], out);
    collect(j["views"], out);
    return out;
}

// Tags compare as numbers: "+0042" is tag 42.
bool hasTag(const json& view, long long tag) {
    return view["tag"].is_number_integer() && view["tag"].get<long long>() == tag;
}

bool selects(const json& view, const expect::View& e) {
    if (e.tag)
        return hasTag(view, *e.tag);
    if (e.className)
        return view["class"] == *e.className;
    return textOf(view) == e.selector;
}

// What the view has for a property, as the scenario writes values.
std::string propertyOf(const json& view, const std::string& p) {
    auto flag = [&](const char* key) {
        return view.contains(key) ? (view[key].get<bool>() ? "yes" : "no") : "(none)";
    };
    auto number = [&](const json& v) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", v.get<double>());
        return std::string(buf);
    };
    if (p == "background")
        return shownColor(normalColor(view["background"]));
    if (p == "title-color")
        return view.contains("titleColor") ? shownColor(normalColor(view["titleColor"])) : "(none)";
    if (p == "text-color")
        return view.contains("textColor") ? shownColor(normalColor(view["textColor"])) : "(none)";
    if (p == "highlighted" || p == "enabled" || p == "hidden" || p == "on")
        return flag(p.c_str());
    if (p == "alpha")
        return number(view["alpha"]);
    if (p == "value")
        return view.contains("value") ? number(view["value"]) : "(none)";
    if (p == "x" || p == "y" || p == "width" || p == "height")
        return number(view["frame"][p]);
    if (p == "tag")
        return view["tag"].dump();
    if (p == "class")
        return view["class"];
    if (p == "text")
        return view.contains("text") ? view["text"].get<std::string>() : "(none)";
    if (p == "title")
        return view.contains("title") ? view["title"].get<std::string>() : "(none)";
    return "(none)";
}

bool propertyMatches(const json& view, const expect::ViewProperty& p) {
    using Kind = expect::ViewProperty::Kind;
    switch (p.kind) {
    case Kind::Color: {
        const char* key = p.name == "background"    ? "background"
                          : p.name == "title-color" ? "titleColor"
                                                    : "textColor";
        return view.contains(key) && normalColor(view[key]) == p.color;
    }
    case Kind::Number:
    case Kind::Coordinate: {
        const bool own = p.kind == Kind::Number; // alpha and value; the others are the frame's
        const json& seen = own ? (view.contains(p.name) ? view[p.name] : json()) : view["frame"][p.name];
        if (!seen.is_number())
            return false;
        return std::fabs(seen.get<double>() - p.number) <= (own ? 0.005 : 0.5);
    }
    case Kind::Tag:
        return hasTag(view, p.tag);
    default:
        return propertyOf(view, p.name) == p.written;
    }
}

std::string expectView(Device& device, const expect::View& e) {
    std::vector<json> candidates;
    for (Screen s : e.screen ? std::vector<Screen>{*e.screen} : classicScreens())
        for (json& v : viewsOf(device, s))
            if (selects(v, e))
                candidates.push_back(std::move(v));
    if (candidates.empty())
        return "no view " + q(e.selector) + " is on screen";
    // The number of the expected properties a view has.
    auto rightCount = [&](const json& v) {
        size_t n = 0;
        for (const auto& p : e.properties)
            n += propertyMatches(v, p) ? 1 : 0;
        return n;
    };
    for (const json& v : candidates)
        if (rightCount(v) == e.properties.size())
            return "";
    // Report the view nearest to what was expected: the one with the most properties right.
    const json& first =
        *std::max_element(candidates.begin(), candidates.end(),
                          [&](const json& x, const json& y) { return rightCount(x) < rightCount(y); });
    std::string seen;
    for (const auto& p : e.properties) {
        if (propertyMatches(first, p))
            continue;
        seen += (seen.empty() ? "" : ", ") + p.name + " " + propertyOf(first, p.name) + ", not " + p.written;
    }
    std::string more = candidates.size() > 1
                           ? " (and " + std::to_string(candidates.size() - 1) + " more views so named)"
                           : "";
    return "the view " + q(e.selector) + " (" + first["class"].get<std::string>() + ") has " + seen + more;
}

std::string expectPixel(Device& device, const expect::Pixel& e) {
    const std::string screen = screenName(e.screen);
    const double scale = device.setup().scale;
    SnapshotImage image = device.pictures().render(e.screen);
    const double x = e.at.x, y = e.at.y;
    if (x < 0 || y < 0 || x * scale >= double(image.width) || y * scale >= double(image.height))
        return "the point lies outside the " + screen + " screen (" +
               std::to_string(int(image.width / scale)) + " x " + std::to_string(int(image.height / scale)) +
               " points)";
    const SnapshotImage::Pixel p = image.at(size_t(x * scale), size_t(y * scale));
    const std::string& want = e.color;
    int r = 0, g = 0, b = 0, alpha = 0;
    if (want != "none")
        std::sscanf(want.c_str(), "#%02X%02X%02X%02X", &r, &g, &b, &alpha);
    constexpr int kTolerance = 2; // anti-aliasing and rounding of blended colors
    const bool same = std::abs(p.a - alpha) <= kTolerance &&
                      (alpha == 0 || (std::abs(p.r - r) <= kTolerance && std::abs(p.g - g) <= kTolerance &&
                                      std::abs(p.b - b) <= kTolerance));
    if (same)
        return "";
    char seen[16];
    if (p.a == 255)
        std::snprintf(seen, sizeof seen, "#%02X%02X%02X", p.r, p.g, p.b);
    else
        std::snprintf(seen, sizeof seen, "#%02X%02X%02X%02X", p.r, p.g, p.b, p.a);
    return "the pixel at (" + e.writtenX + ", " + e.writtenY + ") on the " + screen + " screen is " + seen +
           ", not " + e.writtenColor;
}

std::string expectText(Device& device, const std::string& text, bool present) {
    std::vector<std::string> seen;
    for (Screen s : classicScreens()) {
        for (const json& v : viewsOf(device, s)) {
            if (v["hidden"].get<bool>())
                continue;
            const std::string t = textOf(v);
            if (t == text) {
                if (present)
                    return "";
                return "the text " + q(text) + " is on the " + std::string(screenName(s)) + " screen (" +
                       v["class"].get<std::string>() + ")";
            }
            if (!t.empty() && seen.size() < 12)
                seen.push_back(t);
        }
    }
    return present ? "no view shows " + q(text) + "; texts on screen include " + listed(seen) : "";
}

Ref<UIAlertView> topAlert() {
    auto shown = UIAlertView::shownAlerts();
    return shown.empty() ? nullptr : shown.back();
}

// The lock-screen alarm, when no alert view shows: its title, and its controls as `alert tap`
// names them.
std::string expectLockScreenAlarm(Device& device, const Expectation& e) {
    auto lock = device.apps().lockScreenAlarm();
    if (!lock)
        return "no alert is shown";
    if (auto* title = std::get_if<expect::AlertText>(&e);
        title && title->part == expect::AlertText::Part::Title)
        return *lock == title->text ? "" : "the lock-screen alarm's title is " + q(*lock);
    if (auto* buttons = std::get_if<expect::AlertButtons>(&e)) {
        const json ringing = device.inspection().inspect(Screen::SpringBoard)["springboard"]["ringing"];
        std::vector<std::string> controls;
        if (ringing.is_object() && ringing.value("canSnooze", false))
            controls.push_back("Snooze");
        controls.push_back("slide to stop");
        return buttons->titles == controls ? ""
                                           : "the lock-screen alarm " + q(*lock) + " has " + listed(controls);
    }
    return "the alarm " + q(*lock) + " rings full screen on the lock screen, with no alert view";
}

// The buttons of an alert: its own, by index, then the buttons of its accessory view.
std::vector<std::string> buttonTitles(const UIAlertView& alert) {
    std::vector<std::string> titles;
    for (NSInteger i = 0; i < alert.numberOfButtons(); ++i)
        titles.push_back(alert.buttonTitleAtIndex(i));
    std::function<void(const id&)> accessoryButtons = [&](const id& v) {
        if (auto* b = dynamic_cast<UIButton*>(v.get()))
            titles.push_back(b->titleForState(0));
        for (const id& sub : msg<std::vector<id>>(v, "subviews"))
            accessoryButtons(sub);
    };
    if (alert.accessoryView())
        accessoryButtons(alert.accessoryView());
    return titles;
}

std::string expectAlertText(const UIAlertView& alert, const expect::AlertText& e) {
    using Part = expect::AlertText::Part;
    if (e.part == Part::Title)
        return alert.title() == e.text ? "" : "the alert's title is " + q(alert.title());
    if (e.part == Part::Message)
        return alert.message() == e.text ? "" : "the alert's message is " + q(alert.message());
    if (alert.alertViewStyle() == 0)
        return "the alert " + q(alert.title()) + " has no text field";
    const std::string text = msg<std::string>(alert.textFieldAtIndex(0), "text");
    return text == e.text ? "" : "the alert's text field holds " + q(text);
}

std::string expectAlert(Device& device, const Expectation& e) {
    auto alert = topAlert();
    if (auto* shown = std::get_if<expect::AlertShown>(&e)) {
        std::string seen = alert ? alert->title() : device.apps().lockScreenAlarm().value_or("none");
        return seen == shown->title ? "" : "the alert on screen is " + q(seen);
    }
    if (!alert)
        return expectLockScreenAlarm(device, e);
    if (auto* tag = std::get_if<expect::AlertTag>(&e))
        return alert->tag() == tag->tag
                   ? ""
                   : "the alert " + q(alert->title()) + " has the tag " + std::to_string(alert->tag());
    if (auto* text = std::get_if<expect::AlertText>(&e))
        return expectAlertText(*alert, *text);
    const std::vector<std::string> titles = buttonTitles(*alert);
    return titles == std::get<expect::AlertButtons>(e).titles ? ""
                                                              : "the alert's buttons are " + listed(titles);
}

// The row's inspection, or the message that it is not there.
const json* findRow(const json& rows, const std::string& label, std::string& error) {
    std::vector<std::string> labels;
    for (const json& r : rows) {
        if (r["label"] == label)
            return &r;
        labels.push_back(r["label"]);
    }
    error = "no row " + q(label) + "; the rows are " + listed(labels);
    return nullptr;
}

template <class RowExpectation> std::string expectRow(Device& device, const RowExpectation& e) {
    if (!device.apps().hasSettingsPage())
        return "Settings shows no page";
    const json rows = device.inspection().inspect(Screen::Settings)["settings"]["rows"];
    std::string error;
    const json* row = findRow(rows, e.label, error);
    if (!row)
        return error;
    if constexpr (std::is_same_v<RowExpectation, expect::RowState>) {
        bool enabled = (*row)["enabled"];
        return enabled == e.enabled ? ""
                                    : "the row " + q(e.label) + " is " + (enabled ? "enabled" : "disabled");
    } else if constexpr (std::is_same_v<RowExpectation, expect::RowValue>) {
        const std::string value = (*row)["value"];
        return value == e.value ? "" : "the row " + q(e.label) + " shows " + q(value);
    } else {
        const std::string seen = normalColor((*row)[e.background ? "background" : "textColor"]);
        return seen == e.color
                   ? ""
                   : "the row " + q(e.label) + " has " + (e.background ? "background" : "text-color") + " " +
                         shownColor(seen) + ", not " + e.written;
    }
}

std::string expectEvent(Device& device, const expect::Event& e, EventCursors& cursors,
                        const std::string& timeZone) {
    const size_t base = e.absent ? cursors.actionStart : cursors.matched;
    auto events = device.events(base);
    for (size_t i = 0; i < events.size(); ++i) {
        const std::string line = events[i].kind + "  " + events[i].detail;
        if (line.find(e.text) == std::string::npos)
            continue;
        if (e.absent)
            return "an event " + q(e.text) + " happened at " + localClock(events[i].time, timeZone) + ": " +
                   q(line);
        cursors.matched = base + i + 1;
        return "";
    }
    if (e.absent)
        return "";
    std::string seen;
    for (const DeviceEvent& event : events)
        seen += "\n    " + excerpt(event.kind + "  " + event.detail, 120);
    return "no event " + q(e.text) + " since the last one expected; seen:" + (seen.empty() ? " none" : seen);
}

std::string expectStatus(Device& device, const expect::Status& e) {
    if (!device.apps().hasSettingsPage())
        return "Settings shows no page";
    for (const auto& label : device.inspection().rowLabels()) {
        if (label.rfind("Alarms Enabled", 0) == 0 || label.rfind("Hushmarked Until", 0) == 0)
            return label.rfind(e.prefix, 0) == 0 ? "" : "the status row reads " + q(label);
    }
    return "the page has no status row";
}

} // namespace

std::string checkExpectation(Device& device, const Expectation& expectation, EventCursors& cursors,
                             const std::string& timeZone) {
    return std::visit(
        Visitor{
            [&](const expect::Event& e) { return expectEvent(device, e, cursors, timeZone); },
            [&](const expect::File& e) {
                std::string seen = device.world().settingText(e.key);
                if (seen == e.value || (e.value == "present" && seen != "absent"))
                    return std::string();
                return "the settings file's " + q(e.key) + " is " + q(seen) + ", not " + q(e.value);
            },
            [&](const expect::Icon& e) {
                bool shown = device.world().isStatusItemVisible("Hushmark");
                if (shown == e.shown)
                    return std::string();
                return std::string("the status-bar icon is ") + (shown ? "shown" : "hidden");
            },
            [&](const expect::Status& e) { return expectStatus(device, e); },
            [&](const expect::View& e) { return expectView(device, e); },
            [&](const expect::Pixel& e) { return expectPixel(device, e); },
            [&](const expect::AppInFront& e) {
                const std::string front = device.apps().inFront();
                if (front == e.name)
                    return std::string();
                return front.empty() ? std::string("the device is not booted") : "in front is " + q(front);
            },
            [&](const expect::Text& e) { return expectText(device, e.text, e.present); },
            [&](const expect::RowState& e) { return expectRow(device, e); },
            [&](const expect::RowValue& e) { return expectRow(device, e); },
            [&](const expect::RowColor& e) { return expectRow(device, e); },
            [&](const auto&) { return expectAlert(device, expectation); }, // the alert expectations
        },
        expectation);
}

} // namespace sim
