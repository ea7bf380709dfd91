// An application as SpringBoard knows it: its bundle identifier, the name under its icon, how
// its icon is drawn, and how it launches. Settings, the Clock app and any other plug in by
// describing themselves this way (SpringBoardApps::install).
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"

#include <functional>
#include <memory>
#include <string>

// A running application. SpringBoard keeps it while the app runs in front or in the
// background, and destroys it when the app is closed.
class SBAppInstance {
  public:
    virtual ~SBAppInstance() = default;
    // The app's root window as it shows now, full screen (the app may build it anew at each
    // call; SpringBoard asks again whenever it draws or a touch comes down).
    virtual id window() = 0;
};

struct SBAppDescription {
    std::string bundleIdentifier;
    std::string name; // shown under the icon
    // Draws the icon's picture filling a square of `side` points at the origin of the current
    // context; SpringBoard rounds its corners. None: a plain grey tile.
    std::function<void(CGContextRef context, CGFloat side)> drawIcon;
    // Launches the app for a screen of the given size; none when it cannot start.
    std::function<std::unique_ptr<SBAppInstance>(CGSize screen)> launch;
};
