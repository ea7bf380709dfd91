#include "Actions.h"

#include "Scenario.h"

#include "device/LocalTime.h"

#include <cmath>
#include <cstdio>
#include <optional>

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
            if (required && error.empty()) error = std::string("\"") + name + "\" is missing";
            return nullptr;
        }
        return &*it;
    }
    std::string text(const char* name, bool required = true, size_t limit = kLongestText) {
        const nlohmann::json* v = find(name, required);
        if (!v) return "";
        if (!v->is_string()) return fail(name, "a string"), "";
        const std::string& s = v->get_ref<const std::string&>();
        if (s.size() > limit) return fail(name, "at most " + std::to_string(limit) + " bytes long"), "";
        return s;
    }
    bool flag(const char* name, bool fallback) {
        const nlohmann::json* v = find(name, false);
        if (!v) return fallback;
        if (!v->is_boolean()) return fail(name, "true or false"), fallback;
        return v->get<bool>();
    }
    double number(const char* name) {
        const nlohmann::json* v = find(name, true);
        if (!v) return 0;
        if (!v->is_number() || !std::isfinite(v->get<double>())) return fail(name, "a number"), 0;
        return v->get<double>();
    }
    std::optional<Screen> screen() {
        std::string name = text("screen");
        if (!error.empty()) return std::nullopt;
        auto s = screenNamed(name);
        if (!s) fail("screen", "\"springboard\" or \"settings\"");
        return s;
    }
    void fail(const char* name, const std::string& what) {
        if (error.empty()) error = std::string("\"") + name + "\" must be " + what;
    }
};

Reply answer(const std::string& deviceError) { return deviceError.empty() ? Reply::ok() : Reply::error(409, deviceError); }

// The day's moment at `seconds` past local midnight of `now`.
NSDate sameDay(const Device& d, int seconds) {
    return NSDate{d.now().timeIntervalSinceReferenceDate - localSecondsOfDay(d.now(), d.timeZone()) + seconds};
}
} // namespace

Reply performAction(DeviceHost& host, const nlohmann::json& request) {
    if (!request.is_object()) return Reply::error(400, "an action is a JSON object with an \"action\" field");
    Fields f{request, {}};
    const std::string action = f.text("action", true, 64);
    if (!f.error.empty()) return Reply::error(400, f.error);

    if (action == "touch" || action == "tap") {
        const std::string phase = action == "tap" ? "tap" : f.text("phase");
        auto screen = f.screen();
        const double x = f.number("x"), y = f.number("y");
        if (!f.error.empty()) return Reply::error(400, f.error);
        if (phase != "down" && phase != "move" && phase != "up" && phase != "tap")
            return Reply::error(400, "\"phase\" must be \"down\", \"move\" or \"up\"");
        const CGSize extent = host.extent(*screen);
        if (x < 0 || y < 0 || x > extent.width || y > extent.height) {
            // The numbers as given (%g), never through an integer that cannot hold them.
            char point[96];
            std::snprintf(point, sizeof point, "(%g, %g)", x, y);
            char size[64];
            std::snprintf(size, sizeof size, "(%g by %g points)", double(extent.width), double(extent.height));
            return Reply::error(400, std::string("the point ") + point + " lies outside the " + screenName(*screen) + " screen " + size);
        }
        const CGPoint point{x, y};
        if (phase == "move") return host.move(*screen, point);
        return host.call([=, &host](Device& d) {
            host.touched(*screen);
            if (phase == "down") return answer(d.touchDown(*screen, point));
            if (phase == "up") return answer(d.touchUp(*screen, point));
            return answer(d.tap(*screen, point));
        });
    }
    if (action == "type") {
        std::string text = f.text("text");
        if (!f.error.empty()) return Reply::error(400, f.error);
        return host.call([text](Device& d) { return answer(d.type(text)); });
    }
    if (action == "key") {
        std::string key = f.text("key");
        if (!f.error.empty()) return Reply::error(400, f.error);
        if (key != "return" && key != "backspace") return Reply::error(400, "\"key\" must be \"return\" or \"backspace\"");
        return host.call([key](Device& d) { return answer(d.press(key == "return" ? Key::Return : Key::Backspace)); });
    }
    if (action == "lock") {
        if (!f.find("locked", true)) return Reply::error(400, f.error);
        const bool locked = f.flag("locked", true);
        if (!f.error.empty()) return Reply::error(400, f.error);
        return host.call([locked](Device& d) { return answer(d.lock(locked)); });
    }
    if (action == "addAlarm") {
        const std::string time = f.text("time", true, 16);
        AlarmRequest alarm;
        alarm.label = f.text("label", false, 200);
        alarm.snooze = f.flag("snooze", true);
        alarm.daily = f.flag("daily", false);
        if (!f.error.empty()) return Reply::error(400, f.error);
        auto seconds = parseTimeOfDay(time);
        if (!seconds) return Reply::error(400, "\"time\" must be HH:MM or HH:MM:SS");
        alarm.secondsOfDay = *seconds;
        return host.call([alarm](Device& d) {
            std::string id;
            std::string e = d.addAlarm(alarm, &id);
            return e.empty() ? Reply::ok({{"id", id}}) : Reply::error(409, e);
        });
    }
    if (action == "removeAlarm") {
        std::string id = f.text("id", true, 200);
        if (!f.error.empty()) return Reply::error(400, f.error);
        return host.call([id](Device& d) { return answer(d.removeAlarm(id)); });
    }
    if (action == "alertButton") {
        std::string title = f.text("title", true, 200);
        if (!f.error.empty()) return Reply::error(400, f.error);
        return host.call([title](Device& d) { return answer(d.tapAlertButton(title)); });
    }
    if (action == "rate") {
        const double rate = f.number("rate");
        if (!f.error.empty()) return Reply::error(400, f.error);
        if (rate != 0 && rate != 1 && rate != 60 && rate != 3600) return Reply::error(400, "\"rate\" must be 0, 1, 60 or 3600");
        return host.call([&host, rate](Device&) {
            host.setRate(rate);
            return Reply::ok();
        });
    }
    if (action == "nextAlarm") {
        return host.call([](Device& d) {
            auto next = d.nextAlarmDate();
            if (!next) return Reply::error(409, "no alarm is set");
            const double ahead = next->timeIntervalSinceReferenceDate - d.now().timeIntervalSinceReferenceDate;
            return answer(d.advance(std::max(0.0, ahead)));
        });
    }
    if (action == "setTime") {
        const std::string time = f.text("time", true, 32);
        if (!f.error.empty()) return Reply::error(400, f.error);
        auto ofDay = parseTimeOfDay(time);
        return host.call([time, ofDay](Device& d) {
            std::optional<NSDate> date = ofDay ? std::optional<NSDate>(sameDay(d, *ofDay)) : std::nullopt;
            if (!date) {
                const size_t blank = time.find(' ');
                auto day = parseCalendarDay(time.substr(0, blank));
                auto clock = blank == std::string::npos ? std::nullopt : parseTimeOfDay(time.substr(blank + 1));
                if (day && clock) date = dateFromLocal(time.substr(0, blank) + " " + localClock(NSDate{double(*clock)}, "UTC"), d.timeZone());
            }
            if (!date) return Reply::error(400, "\"time\" must be \"YYYY-MM-DD HH:MM[:SS]\" or \"HH:MM[:SS]\"");
            return answer(d.setClock(*date));
        });
    }
    if (action == "respring") {
        return host.call([&host](Device& d) {
            if (!d.isBooted()) return Reply::error(409, "the device is not booted");
            if (!d.saveForRespring(PlistDict{{"rate", host.rate()}})) return Reply::error(500, "cannot save the device state for the respring");
            host.requestRelaunch();
            return Reply::ok({{"relaunching", true}});
        });
    }
    return Reply::error(400, "no action \"" + excerpt(action) + "\"");
}

} // namespace sim::web
