// The browser's actions, as JSON objects {"action": NAME, ...}, each turned into one call of the
// device on its thread (touch moves coalesced). Malformed or out-of-range fields answer 400 with
// a message saying which; an action the device declines answers 409 with the device's reason.
//
//   {"action": "touch", "phase": "down"|"move"|"up", "screen": "phone"|"springboard"|"settings", "x", "y"}
//   {"action": "tap", "screen", "x", "y"}
//   {"action": "type", "text"}            {"action": "key", "key": "return"|"backspace"}
//   {"action": "lock", "locked": BOOL}    {"action": "respring"}
//   {"action": "addAlarm", "time": "HH:MM[:SS]", "label"?, "snooze"?, "daily"?}
//   {"action": "removeAlarm", "id"}       {"action": "alertButton", "title"}
//   {"action": "rate", "rate": 0|1|60|3600}
//   {"action": "nextAlarm"}               (lets the clock run to the next alarm)
//   {"action": "setTime", "time": "YYYY-MM-DD HH:MM[:SS]" | "HH:MM[:SS]" (today)}
//   {"action": "addon", "name", "install": BOOL}   (applied at the next respring)
//   {"action": "reset", "locale", "timeZone", "screen": "WxH"}   (a fresh device: relaunches)
//   {"action": "home"}                    {"action": "switcher"}   (the home button, once or twice)
//   {"action": "open", "app": "Settings"|"Clock"}   (its icon tapped on the home screen)
#pragma once

#include "DeviceHost.h"

#include <nlohmann/json.hpp>

namespace sim::web {
Reply performAction(DeviceHost& host, const nlohmann::json& request);
} // namespace sim::web
