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

enum class Screen { SpringBoard, Settings };
// Every screen, in the order messages list them.
const std::vector<Screen>& allScreens();
// "springboard" and "settings".
const char* screenName(Screen screen);
std::optional<Screen> screenNamed(const std::string& name);
// A screen's place in a per-screen array (SpringBoard 0, Settings 1).
inline size_t screenIndex(Screen screen) {
    return screen == Screen::SpringBoard ? 0 : 1;
}

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
