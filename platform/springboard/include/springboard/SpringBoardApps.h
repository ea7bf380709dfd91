// SpringBoard's applications: the installed apps (one icon each on the home screen, in the order
// installed), which of them run, and what is in front: the home screen, an app full screen, or
// the app switcher.
//
// Tapping an icon opens its app: launched afresh when it does not run, else resumed as it was
// left. The home button sends the app in front to the background (it keeps running) and shows
// the home screen; pressed twice it shows the switcher: a card for each running app, most
// recent first, in a strip that scrolls sideways. A tap on a card opens its app; a card swiped
// up (or its close button) closes the app, so that the next open launches it afresh. The home
// button leaves the switcher for the home screen. Opening, resuming and closing are recorded as
// device events (app launched / resumed / closed, with the app's name).
#pragma once

#include "objc/runtime.h"
#include "springboard/SBAppDescription.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class SpringBoardApps {
  public:
    explicit SpringBoardApps(CGSize screen);
    ~SpringBoardApps();
    SpringBoardApps(const SpringBoardApps&) = delete;
    SpringBoardApps& operator=(const SpringBoardApps&) = delete;

    // Installs an app (a second app with the same identifier replaces the first's icon).
    void install(SBAppDescription app);
    const std::vector<SBAppDescription>& installed() const { return installed_; }
    const SBAppDescription* app(const std::string& bundleIdentifier) const;

    // Opens an installed app full screen; false when it is not installed or does not launch.
    bool open(const std::string& bundleIdentifier);
    // The home button: to the home screen (from an app, which goes to the background, or from
    // the switcher).
    void pressHome();
    // The home button pressed twice: the switcher.
    void showSwitcher();
    // Closes a running app; the home screen shows when it was in front. False when it does not run.
    bool close(const std::string& bundleIdentifier);

    enum class Front { Home, App, Switcher };
    Front front() const { return front_; }
    // The app in front (empty unless an app shows).
    std::string frontmost() const { return front_ == Front::App ? recent_.front() : std::string(); }
    bool isRunning(const std::string& bundleIdentifier) const { return running_.count(bundleIdentifier) > 0; }
    // The running apps, most recently in front first.
    std::vector<std::string> running() const { return recent_; }
    SBAppInstance* instance(const std::string& bundleIdentifier) const;

    // The window that shows full screen now: the app's in front, the switcher's or the home
    // screen's (those two built anew at each call, live until the next).
    id frontWindow();
    id homeScreenWindow();
    id switcherWindow();
    CGSize screenSize() const { return screen_; }

  private:
    CGSize screen_;
    std::vector<SBAppDescription> installed_;
    std::map<std::string, std::unique_ptr<SBAppInstance>> running_;
    std::vector<std::string> recent_;
    Front front_ = Front::Home;
    id actions_; // the target of icons and cards
};
