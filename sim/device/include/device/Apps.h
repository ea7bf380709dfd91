// The device's apps and their hosts: SpringBoard (with its tweaks) and the Settings app, the
// window each screen shows, which screen each alert belongs to, boot and relaunch.
//
// The phone. SpringBoard shows its home screen with two apps installed, Clock (the Clock app's
// alarm list) and Settings (opening on its root list); the device's one display composites the
// app in front (or the home screen, the switcher, the lock screen) under SpringBoard's status bar,
// with every shown alert over all taking the touch. `Screen::Phone` is that display. The two
// apps live as long as SpringBoard: an app closed from the switcher starts afresh at its next
// open (Settings on its root list, Clock on its list), one sent home resumes as it was left.
//
// Screens. `Screen::SpringBoard` is SpringBoard's own screen: status bar, lock screen (with a ringing
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
class SpringBoardApps;
class SpringBoardDisplay;
struct UIAlertView;
namespace clockapp {
class ClockApp;
}

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
    // The phone: SpringBoard's apps, its display, the Clock app; null before boot.
    SpringBoardApps* phoneApps() const { return phoneApps_.get(); }
    SpringBoardDisplay* display() const { return display_.get(); }
    // The Clock app is made when it is first asked for (opened, touched, inspected): until then
    // its pages, and the font their texts are measured with, cost a run nothing. It is made as it
    // would have been at boot: in the boot's locale, on the alarms as they are.
    clockapp::ClockApp* clockApp() const;
    // The bundle identifier of an installed app by its name ("Settings", "Clock"); "" if none.
    static std::string bundleIdentifierOf(const std::string& appName);
    // What is in front on the phone: "lock", "home", "switcher" or the app's name ("" before boot).
    std::string inFront() const;
    // Brings Settings to the front as a person opening it would (launched, or resumed as left),
    // before a step acts on the Settings screen; nothing when it is in front already.
    void bringSettingsToFront();
    // Runs when an app comes to the front: the Clock app reads the alarms again.
    void cameToFront();
    // The alarm ringing full screen on the lock screen, if any.
    std::optional<std::string> lockScreenAlarm() const;

    // The window the screen shows now: kept while a finger is down on it (and Settings' while
    // it shows the current page; SpringBoard's and Settings' while a finger is on the phone,
    // whose windows hold the same views), else built anew. The phone's: the full-screen window.
    id window(Screen screen);
    // Builds the phone's windows again from the state now, unless a finger is down on any screen.
    void refreshPhone();
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
    mutable std::unique_ptr<clockapp::ClockApp> clock_;
    std::string clockLocale_; // the device's locale at boot
    std::unique_ptr<SpringBoardApps> phoneApps_;
    std::unique_ptr<SpringBoardDisplay> display_;
    // The alarms as the Clock app last read them, so it reads them again when they change.
    mutable std::string clockSeen_;
    std::array<id, kScreenCount> windows_;
    std::array<bool, kScreenCount> held_{};
    // The Settings stack's depth when its window was made (0: no page, an empty window).
    size_t settingsDepth_ = 0;
    std::vector<Owner> owners_;
    std::vector<std::function<void(SpringBoardHost&)>> bootHooks_;
    std::vector<std::function<void()>> claimHooks_;
};

} // namespace sim
