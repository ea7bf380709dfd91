// The phone's one display: SpringBoard's windows and the app in front, composited by level
// (UIWindowStack). Unlocked: the front window (the app in front, the switcher or the home
// screen) at the normal level, and SpringBoard's status bar over it at the status bar level (a
// light bar over an app, a dark one over the home screen and the switcher; it takes no
// touches). Locked: the lock screen (its own status bar, and the controls of an alarm ringing
// full screen) covers everything. Shown alerts (SpringBoard's ringing alarm, an app's alert)
// come over all and take the touch.
//
// The windows are gathered again from the current state when a finger comes down and for each
// picture, never while a finger is down: the touched window keeps the touch until it lifts. The
// status bar's window is kept while it shows the same, so a picture redraws only what changed.
#pragma once

#include "springboard/SpringBoardApps.h"
#include "uikit/UIWindowStack.h"

#include <string>
#include <vector>

class SpringBoardHost;

inline constexpr CGFloat kStatusBarWindowLevel = 1000;

class SpringBoardDisplay {
  public:
    SpringBoardDisplay(SpringBoardHost& host, SpringBoardApps& apps);
    SpringBoardDisplay(const SpringBoardDisplay&) = delete;
    SpringBoardDisplay& operator=(const SpringBoardDisplay&) = delete;

    // Builds the windows from the state now (nothing while a finger is down).
    void refresh();
    // The shown windows, bottom to top, as last built.
    std::vector<id> windows() const { return stack_.orderedWindows(); }
    UIWindowStack& stack() { return stack_; }

    // A finger on the display, in display points (see UIWindowStack).
    bool touchDown(CGPoint point);
    void touchMove(CGPoint point);
    bool touchUp(CGPoint point);
    void touchCancel();
    bool tap(CGPoint point);
    bool scrollWheel(CGPoint point, CGPoint delta);
    bool fingerDown() const { return stack_.touchedWindow() != nullptr; }

    // What a person sees in front: "lock", "home", "switcher" or the bundle identifier of the
    // app in front.
    std::string inFront() const;

    SnapshotImage render(double scale);
    bool write(const std::string& hostPngPath, double scale);

  private:
    SpringBoardHost& host_;
    SpringBoardApps& apps_;
    UIWindowStack stack_;
    // The status bar's window, and what it shows (kept while that stays the same).
    id statusBar_;
    std::string statusBarContent_;
};
