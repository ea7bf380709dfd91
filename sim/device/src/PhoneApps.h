// The apps SpringBoard installs on the device's home screen: Settings and Clock, each a running
// instance over the app the device keeps for as long as SpringBoard lives.
#pragma once

#include <functional>
#include <string>

class SettingsApp;
class SpringBoardApps;
class SpringBoardHost;
namespace clockapp {
class ClockApp;
}

namespace sim {

inline constexpr const char* kSettingsBundleIdentifier = "com.apple.Preferences";
inline constexpr const char* kClockAppBundleIdentifier = "com.apple.mobiletimer";

// Installs Settings, then Clock (their icons in that order). A launch starts the app afresh:
// Settings on its root list, Clock on its alarm list with nothing unsaved. `clock` gives the
// device's Clock app, made when first asked for.
void installPhoneApps(SpringBoardApps& apps, SettingsApp& settings,
                      std::function<clockapp::ClockApp&()> clock);

// A text that changes whenever SpringBoard's alarms change (added, removed, switched, rung once).
std::string alarmModelSignature(const SpringBoardHost& springBoard);

} // namespace sim
