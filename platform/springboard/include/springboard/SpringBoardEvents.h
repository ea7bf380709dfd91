// The kinds of event SpringBoard records (DeviceEvents), in one place: timelines and their
// golden files are made from these texts, so they stay short and stable.
#pragma once

#include "foundation/NSDate.h"

#include <string>

namespace sbevent {
inline constexpr const char* kLaunched = "springboard launched";                // detail: ""
inline constexpr const char* kTweakLoaded = "tweak loaded";                     // detail: file name
inline constexpr const char* kLocked = "device locked";                         // detail: ""
inline constexpr const char* kUnlocked = "device unlocked";                     // detail: ""
inline constexpr const char* kAlarmDue = "alarm due";                           // detail: label
inline constexpr const char* kAlarmDelivered = "alarm delivered";               // detail: label
inline constexpr const char* kAlarmDropped = "alarm dropped";                   // detail: label
inline constexpr const char* kAlarmStopped = "alarm stopped";                   // detail: label
inline constexpr const char* kAlarmSnoozed = "alarm snoozed";                   // detail: label
inline constexpr const char* kNotificationDelivered = "notification delivered"; // detail: bundle: body
inline constexpr const char* kNotificationDropped = "notification dropped";     // detail: bundle: body
inline constexpr const char* kAlertShown = "alert shown";         // detail: "modal X" / "lock screen X"
inline constexpr const char* kAlertDismissed = "alert dismissed"; // detail: as shown
inline constexpr const char* kStatusItemVisible = "status item visible"; // detail: identifier
inline constexpr const char* kStatusItemHidden = "status item hidden";   // detail: identifier
inline constexpr const char* kTimerArmed = "timer armed";                // detail: service at time
inline constexpr const char* kTimerFired = "timer fired";                // detail: service
inline constexpr const char* kTimerInvalidated = "timer invalidated";    // detail: service
inline constexpr const char* kSwitchState = "switch state";              // detail: identifier = state
inline constexpr const char* kAppLaunched = "app launched";              // detail: app name
inline constexpr const char* kAppResumed = "app resumed";                // detail: app name
inline constexpr const char* kAppClosed = "app closed";                  // detail: app name

// "2026-12-08 01:00:00Z": a date in UTC to the second, the same on every run and machine.
std::string utcText(NSDate date);
} // namespace sbevent
