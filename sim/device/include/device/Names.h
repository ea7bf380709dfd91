// The words a device and its front ends share: its screens, a finger's phases, the keys besides
// characters, and the lists of what a device can be (screen sizes, add-ons, SpringBoard classes
// it can be without). Front ends take these lists from here rather than writing them again.
// Nothing here needs a device: the scenario language checks its words against these lists.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace sim {

// `SpringBoard` and `Settings` are the two screens scenarios have always named: SpringBoard's own
// screen (status bar, lock screen, its alerts) and the Settings app's whole page. `Phone` is the
// one display as a person holding the phone sees it: the app in front (or the home screen, the
// switcher, the lock screen) under SpringBoard's status bar, alerts over all.
enum class Screen { SpringBoard, Settings, Phone };
inline constexpr size_t kScreenCount = 3;
// Every screen, in the order messages list them.
const std::vector<Screen>& allScreens();
// "springboard", "settings" and "phone".
const char* screenName(Screen screen);
std::optional<Screen> screenNamed(const std::string& name);
// A screen's place in a per-screen array (SpringBoard 0, Settings 1, Phone 2).
inline size_t screenIndex(Screen screen) {
    return static_cast<size_t>(screen);
}

// The apps SpringBoard shows on the home screen, by the name under the icon.
inline constexpr const char* kSettingsAppName = "Settings";
inline constexpr const char* kClockAppName = "Clock";

// A finger's phases on a screen.
enum class TouchPhase { Down, Move, Up };

// Keys a person presses on the keyboard besides characters.
enum class Key { Return, Backspace };

// The screens a device can have: 320x568, 375x667 (scale 2) and 414x736 (scale 3).
const std::vector<std::string>& knownScreens();
// The SpringBoard classes a device can be without.
const std::vector<std::string>& removableSpringBoardClasses();
// The add-on names a device image knows.
const std::vector<std::string>& knownAddons();

} // namespace sim
