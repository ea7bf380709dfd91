// The browser's action JSON turned into an action the device host performs: a pure function of
// the JSON and the screens' extents, so every malformed or out-of-range field is refused (400,
// with a message saying which) before anything reaches the device. Actions.h lists the actions.
#pragma once

#include "words/Words.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace sim::web {

// A screen an action may touch: its name and its extent in points.
struct ActionScreen {
    std::string name;
    double width = 0, height = 0;
};

struct Action {
    std::string name;                  // "touch", "tap", "type", ...
    std::string phase;                 // touch: "down", "move" or "up"; tap: "tap"
    size_t screen = 0;                 // touch, tap: an index into the screens given
    double x = 0, y = 0;               // touch, tap: within the screen's extent
    std::string finger;                // touch, tap: the page's finger ("" when none is named)
    std::string text;                  // type: the text; key: the key; removeAlarm: the id;
                                       // alertButton: the title; setTime: the time as written;
                                       // addon: the add-on's name; open: the app
    bool flag = false;                 // lock: locked; addon: install (else remove)
    int secondsOfDay = 0;              // addAlarm, setTime: local time of day
    std::string label;                 // addAlarm
    bool snooze = true, daily = false; // addAlarm
    double rate = 0;                   // rate: 0, 1, 60 or 3600
    std::optional<CalendarDay> day;    // setTime: the day, none for today
    std::string locale, timeZone;      // reset: the fresh device's locale and time zone
    std::string screenSize;            // reset: its screen, "WxH" as a known screen
};

struct ParsedAction {
    std::optional<Action> action; // none when refused
    int status = 400;
    std::string error;
};

ParsedAction parseAction(const nlohmann::json& request, const std::vector<ActionScreen>& screens);

} // namespace sim::web
