// The tweak's process-wide state inside SpringBoard. The load-time constructor makes the one
// instance the device uses; tests make their own. Every hook receives it, so nothing else is global.
#pragma once

#include "core/TweakSettings.h"
#include "objc/runtime.h"

#include <string>

// An outside class looked up by name on first use and kept for the life of the process.
class CachedClass {
  public:
    explicit CachedClass(const char* name) : name_(name) {}
    Class* get() {
        if (!looked_) {
            cls_ = objc_getClass(name_);
            looked_ = true;
        }
        return cls_;
    }
    // The class as a receiver of class messages; none when it does not exist.
    id object() {
        Class* cls = get();
        return cls ? classObject(cls) : nullptr;
    }

  private:
    const char* name_;
    Class* cls_ = nullptr;
    bool looked_ = false;
};

// The implementations the hooks replaced; each replacement calls its own.
struct PreviousImplementations {
    Imp applicationDidFinishLaunching;
    Imp fireNotification;
    Imp configureRequirePasscodeForActions;
    Imp alertViewClickedButtonAtIndex;
    Imp dismissFullscreenBulletinAlertAnimated;
    Imp presentFullscreenBulletinAlertWithItem;
};

struct TweakState {
    TweakSettings settings;

    id statusItem;                // LSStatusBarItem, when libstatusbar is installed
    bool toggleInstalled = false; // Flipswitch with the HushmarkFS switch
    std::string snoozeTitle = "Snooze";
    std::string okTitle = "OK";
    bool launchSettled = false; // once true, the deadline timer is armed at once on a reload
    id deadlineTimer;           // PCSimpleTimer for the deadline
    id lockAlert;               // the lock-screen alert the tweak showed last
    bool lockAlertShowing = false;
    bool presentingLockAlarm = false; // SpringBoard's own presentation of a new alarm is running

    // The outside classes: SpringBoard's private ones and the optional add-ons'.
    CachedClass alarmManager{"AlarmManager"};
    CachedClass concreteLocalNotification{"UIConcreteLocalNotification"};
    CachedClass awayBulletinListItem{"SBAwayBulletinListItem"};
    CachedClass clockDataProvider{"SBClockDataProvider"};
    CachedClass simpleTimer{"PCSimpleTimer"};
    CachedClass statusBarItem{"LSStatusBarItem"};
    CachedClass switchPanel{"FSSwitchPanel"};

    PreviousImplementations previous;
};
