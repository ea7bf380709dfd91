#include "ActionRequest.h"

#include "device/DeviceSetup.h"
#include "device/LocalTime.h"
#include "device/Names.h"
#include "words/Words.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <regex>

namespace sim::web {
namespace {
constexpr size_t kLongestText = 1000;

// A field's value, or a message saying what is wrong with it.
struct Fields {
    const nlohmann::json& request;
    std::string error;

    const nlohmann::json* find(const char* name, bool required) {
        auto it = request.find(name);
        if (it == request.end()) {
            if (required && error.empty())
                error = std::string("\"") + name + "\" is missing";
            return nullptr;
        }
        return &*it;
    }
    std::string text(const char* name, bool required = true, size_t limit = kLongestText) {
        const nlohmann::json* v = find(name, required);
        if (!v)
            return "";
        if (!v->is_string())
            return fail(name, "a string"), "";
        const std::string& s = v->get_ref<const std::string&>();
        if (s.size() > limit)
            return fail(name, "at most " + std::to_string(limit) + " bytes long"), "";
        return s;
    }
    bool flag(const char* name, bool fallback) {
        const nlohmann::json* v = find(name, false);
        if (!v)
            return fallback;
        if (!v->is_boolean())
            return fail(name, "true or false"), fallback;
        return v->get<bool>();
    }
    double number(const char* name) {
        const nlohmann::json* v = find(name, true);
        if (!v)
            return 0;
        if (!v->is_number() || !std::isfinite(v->get<double>()))
            return fail(name, "a number"), 0;
        return v->get<double>();
    }
    void fail(const char* name, const std::string& what) {
        if (error.empty())
            error = std::string("\"") + name + "\" must be " + what;
    }
};

// A coordinate for a message: whole points when it is one a screen could have, else as written
// in short (a cast of 1e308 to int would be undefined).
std::string coordinate(double v) {
    if (std::fabs(v) < 1e9)
        return std::to_string(static_cast<long long>(v));
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

ParsedAction refuse(std::string message) {
    return {std::nullopt, 400, std::move(message)};
}
} // namespace

ParsedAction parseAction(const nlohmann::json& request, const std::vector<ActionScreen>& screens) {
    if (!request.is_object())
        return refuse("an action is a JSON object with an \"action\" field");
    Fields f{request, {}};
    Action a;
    a.name = f.text("action", true, 64);
    if (!f.error.empty())
        return refuse(f.error);

    if (a.name == "touch" || a.name == "tap") {
        a.phase = a.name == "tap" ? "tap" : f.text("phase");
        const std::string screen = f.text("screen");
        a.finger = f.text("finger", false, 64);
        a.x = f.number("x");
        a.y = f.number("y");
        if (!f.error.empty())
            return refuse(f.error);
        std::string names;
        a.screen = screens.size();
        for (size_t i = 0; i < screens.size(); ++i) {
            if (screens[i].name == screen)
                a.screen = i;
            names += (i == 0 ? "\"" : i + 1 == screens.size() ? " or \"" : ", \"") + screens[i].name + "\"";
        }
        if (a.screen == screens.size())
            return refuse("\"screen\" must be " + names);
        if (a.phase != "down" && a.phase != "move" && a.phase != "up" && a.phase != "tap")
            return refuse("\"phase\" must be \"down\", \"move\" or \"up\"");
        const ActionScreen& s = screens[a.screen];
        if (a.x < 0 || a.y < 0 || a.x > s.width || a.y > s.height)
            return refuse("the point (" + coordinate(a.x) + ", " + coordinate(a.y) + ") lies outside the " +
                          s.name + " screen (" + coordinate(s.width) + " by " + coordinate(s.height) +
                          " points)");
    } else if (a.name == "type") {
        a.text = f.text("text");
    } else if (a.name == "key") {
        a.text = f.text("key");
        if (f.error.empty() && a.text != "return" && a.text != "backspace")
            return refuse("\"key\" must be \"return\" or \"backspace\"");
    } else if (a.name == "lock") {
        if (f.find("locked", true))
            a.flag = f.flag("locked", true);
    } else if (a.name == "addAlarm") {
        const std::string time = f.text("time", true, 16);
        a.label = f.text("label", false, 200);
        a.snooze = f.flag("snooze", true);
        a.daily = f.flag("daily", false);
        if (!f.error.empty())
            return refuse(f.error);
        auto seconds = parseTimeOfDay(time);
        if (!seconds)
            return refuse("\"time\" must be HH:MM or HH:MM:SS");
        a.secondsOfDay = *seconds;
    } else if (a.name == "removeAlarm") {
        a.text = f.text("id", true, 200);
    } else if (a.name == "alertButton") {
        a.text = f.text("title", true, 200);
    } else if (a.name == "rate") {
        a.rate = f.number("rate");
        if (f.error.empty() && a.rate != 0 && a.rate != 1 && a.rate != 60 && a.rate != 3600)
            return refuse("\"rate\" must be 0, 1, 60 or 3600");
    } else if (a.name == "setTime") {
        a.text = f.text("time", true, 32);
        if (!f.error.empty())
            return refuse(f.error);
        const std::string refusal = "\"time\" must be \"YYYY-MM-DD HH:MM[:SS]\" or \"HH:MM[:SS]\"";
        if (auto ofDay = parseTimeOfDay(a.text)) {
            a.secondsOfDay = *ofDay;
        } else {
            const size_t blank = a.text.find(' ');
            if (blank == std::string::npos)
                return refuse(refusal);
            auto day = parseCalendarDay(a.text.substr(0, blank));
            auto clock = parseTimeOfDay(a.text.substr(blank + 1));
            if (!day || !clock)
                return refuse(refusal);
            a.day = day;
            a.secondsOfDay = *clock;
        }
    } else if (a.name == "addon") {
        a.text = f.text("name", true, 64);
        if (f.find("install", true))
            a.flag = f.flag("install", true);
        const auto& known = knownAddons();
        if (f.error.empty() && std::find(known.begin(), known.end(), a.text) == known.end())
            return refuse("\"name\" must be a known add-on, not \"" + excerpt(a.text) + "\"");
    } else if (a.name == "reset") {
        a.locale = f.text("locale", true, 32);
        a.timeZone = f.text("timeZone", true, 64);
        a.screenSize = f.text("screen", true, 16);
        if (!f.error.empty())
            return refuse(f.error);
        // A locale name: a language of two or three letters, then parts of letters and digits.
        const bool localeShape = std::regex_match(a.locale, std::regex("[A-Za-z]{2,3}(_[A-Za-z0-9]{2,8})*"));
        if (!localeShape)
            return refuse("\"locale\" must be a locale such as en_US or de_DE, not \"" + excerpt(a.locale) +
                          "\"");
        if (!isKnownTimeZone(a.timeZone))
            return refuse("\"timeZone\" must be a time zone such as UTC or Europe/Berlin, not \"" +
                          excerpt(a.timeZone) + "\"");
        if (!setupForScreen(a.screenSize))
            return refuse("\"screen\" must be one of 320x568, 375x667, 414x736");
    } else if (a.name == "open") {
        a.text = f.text("app", true, 64);
        if (f.error.empty() && a.text != "Settings" && a.text != "Clock")
            return refuse("\"app\" must be \"Settings\" or \"Clock\", not \"" + excerpt(a.text) + "\"");
    } else if (a.name != "nextAlarm" && a.name != "respring" && a.name != "home" && a.name != "switcher") {
        return refuse("no action \"" + excerpt(a.name) + "\"");
    }
    if (!f.error.empty())
        return refuse(f.error);
    return {std::move(a), 200, ""};
}

} // namespace sim::web
