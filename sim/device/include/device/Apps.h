// The device's apps and their hosts: SpringBoard (with its tweaks) and the Settings app, the
// window each screen shows, which screen each alert belongs to, boot and relaunch.
//
// Screens. `Screen::SpringBoard` is the phone's screen: status bar, lock screen (with a ringing
// alarm, its Snooze button and its slide to stop) or home screen, and SpringBoard's alerts over
// it. `Screen::Settings` is the Settings app on its current page: navigation bar and table, as
// tall as the page's content (at least the screen), and the Settings app's own alerts (the color
// cell's prompts) over it. Each screen's window is built anew from its host whenever no finger
// is down on it, so it always shows the host's current views; the Settings window is kept while
// it shows the current page as a new one would (or stays empty), so what changes on it is all
// that is drawn again.
//
// Alerts belong to the screen whose code showed them: an alert first seen after an action on
// Settings is the Settings app's; any other (an alarm ringing as time passes, a tap on
// SpringBoard) is SpringBoard's.
//
// Every action of the other parts ends in `settled`: what fell due runs (the main queue is
// drained), new alerts are claimed by the acting screen, and the parts that keep state over the
// windows (the text being edited) drop what is no longer shown.
#pragma once

#include "device/DeviceSetup.h"
#include "device/Names.h"

#include "objc/runtime.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class SpringBoardHost;
class SettingsApp;
struct UIAlertView;

namespace sim {

class Apps {
  public:
    explicit Apps(const DeviceSetup& setup);
    ~Apps();
    Apps(const Apps&) = delete;
    Apps& operator=(const Apps&) = delete;

    // Starts SpringBoard (tweaks loaded, `applicationDidFinishLaunching:`), runs the boot hooks
    // (what the world set before boot), then starts Settings.
    std::string boot();
    bool isBooted() const;
    // Runs after SpringBoard has launched and before Settings starts, at each boot.
    void whenBooting(std::function<void(SpringBoardHost&)> hook);
    // Replaces this process with `argv` (argv[0] a path); answers only when that fails.
    static std::string relaunch(const std::vector<std::string>& argv);

    // The hosts; null before boot.
    SpringBoardHost* springBoard() const { return springboard_.get(); }
    SettingsApp* settingsApp() const { return settings_.get(); }
    bool hasSettingsPage() const;
    // The alarm ringing full screen on the lock screen, if any.
    std::optional<std::string> lockScreenAlarm() const;

    // The window the screen shows now: kept while a finger is down on it (and Settings' while
    // it shows the current page), else built anew.
    id window(Screen screen);
    // Keeps the screen's window as it is while a finger is down on it.
    void holdWindow(Screen screen, bool held);
    // The window last handed out for the screen (the one a touch in progress acts on).
    id heldWindow(Screen screen) const;
    // Gives the alerts shown since the last call to the acting screen.
    void claimAlerts(Screen acting);
    // The alerts shown on a screen, oldest first.
    std::vector<Ref<UIAlertView>> alertsOn(Screen screen);
    // The screen an alert belongs to (SpringBoard for one not yet claimed).
    Screen ownerOf(const Ref<UIAlertView>& alert) const;
    // Runs after alerts are claimed, at every `claimAlerts`.
    void whenClaiming(std::function<void()> hook);
    // Every action ends here: what fell due runs, new alerts are claimed by the acting screen.
    std::string settled(Screen acting, std::string result);

  private:
    struct Owner {
        std::weak_ptr<UIAlertView> alert;
        Screen screen;
    };
    const DeviceSetup& setup_;
    std::unique_ptr<SpringBoardHost> springboard_;
    std::unique_ptr<SettingsApp> settings_;
    std::array<id, 2> windows_;
    std::array<bool, 2> held_{};
    // The Settings stack's depth when its window was made (0: no page, an empty window).
    size_t settingsDepth_ = 0;
    std::vector<Owner> owners_;
    std::vector<std::function<void(SpringBoardHost&)>> bootHooks_;
    std::vector<std::function<void()>> claimHooks_;
};

} // namespace sim
