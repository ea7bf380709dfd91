// The disarm decisions: when a deadline counts as reached, and what a reload, the deferred first
// arming and the deadline timer do. Now is an argument, so the rules need no clock; the caller
// carries each decision out on the device.
#pragma once

#include "foundation/NSDate.h"

#include <optional>

inline constexpr double kArmingDeferralSeconds = 5.0; // first arming after load waits this long

// A deadline within the 15-second margin (rules/DisarmTime.h) counts as reached.

enum class IconChange { Keep, Show, Hide };

// What a reload of the settings file does with the timer and the icon. The held timer is always
// invalidated first; a shown icon is shown before arming, a hidden one after.
struct ReloadDecision {
    IconChange icon = IconChange::Keep;
    bool armNow = false;      // arm the deadline timer for the current deadline
    bool deferArming = false; // mark the launch settled and arm in 5 seconds
};

struct DisarmInputs {
    bool fileRead = true; // false when the settings file could not be read
    bool enabled = false;
    bool enableIcon = true;
    std::optional<NSDate> disarmedUntil;
    NSDate now;
    bool launchSettled = false;
};

ReloadDecision decideReload(const DisarmInputs& in);

// What the deferred arming does when its 5 seconds have passed. It looks again only for the
// tweak turned off or the deadline cleared meanwhile (nothing to arm, and the icon belongs
// hidden); it does not take the look-ahead again.
struct DeferredDecision {
    IconChange icon = IconChange::Keep;
    bool arm = false;
};

DeferredDecision decideDeferredArming(const DisarmInputs& in);

// What the deadline timer does when it fires (the held timer is invalidated first).
enum class TimerFiredAction {
    SetToggleOff, // the toggle brings the file and the tweak up to date
    SetToggleOn,  // fired early with the toggle installed
    HideIcon,     // no deadline stands
    Rearm,        // fired early: arm again for the same deadline
    Expire,       // deadline reached: forget it and hide the icon
};

TimerFiredAction decideTimerFired(std::optional<NSDate> disarmedUntil, NSDate now, bool toggleInstalled);
