// Pictures of SpringBoard, built as UIKit views from plain state, for snapshots: the status bar
// (time and the visible add-on items) and the whole screen (the lock screen, with a ringing
// alarm when one shows full screen, or the home screen), status bar on top. Alerts are not
// part of the views: a screen snapshot draws the shown alerts over the window.
#pragma once

#include "foundation/NSDate.h"
#include "objc/runtime.h"
#include "springboard/StatusBar.h"

#include <optional>
#include <string>
#include <vector>

namespace springboard {

struct ScreenState {
    NSDate now;
    double utcOffset = 0; // seconds, for the local time shown
    bool locked = false;
    std::optional<std::string> fullscreenAlarm; // title of the alarm ringing full screen
    bool canSnooze = false;
    std::vector<StatusBarItem> items;
};

// "08:30": the local time of day, 24-hour, as the status bar shows it.
std::string clockText(NSDate now, double utcOffset);

inline constexpr double kStatusBarHeight = 20;
// The lock screen's controls for a ringing alarm, found by tag: the Snooze button and the slide
// to stop (a slider from 0 to 1 whose knob is dragged from the left end to the right end).
inline constexpr long kLockScreenSnoozeTag = 4101;
inline constexpr long kLockScreenSlideTag = 4102;

// A dark bar (black, white content: SpringBoard's lock and home screens) or a light one (light
// gray, black content, as over an application's white page).
enum class StatusBarStyle { Dark, Light };

// Where libstatusbar finds the picture of an item's image name: in UIKit's folder, "White_"
// before the name for a dark bar, "Black_" for a light one, each in the screen scales beside it
// ("White_Hushmark.png", "White_Hushmark@2x.png", ...).
std::string statusBarImagePath(const std::string& imageName, StatusBarStyle style);

// A 320 x 20 bar: the time centered, and from the right edge the picture of each visible item's
// image name, vertically centered, 6 points apart. An item without a picture shows nothing.
id makeStatusBarView(const ScreenState& state, StatusBarStyle style = StatusBarStyle::Dark);
// What such a bar shows, as text: two states with the same text make the same bar.
std::string statusBarContent(const ScreenState& state, StatusBarStyle style);
// A window the size of the main screen.
id makeScreenWindow(const ScreenState& state);

} // namespace springboard
