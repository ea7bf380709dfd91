// Keeps the deadline, its timer and the status icon in step with the settings.
#pragma once

#include "TweakState.h"

inline constexpr const char* kTimerServiceIdentifier = "net.vexmoor.hushmark";
inline constexpr const char* kTimerSelector = "hushmarkTimerFired";

// Rereads the settings file, then applies the disarm state. The settings notification's observer.
void reloadSettings(TweakState& state);
// The second half of a reload; `fileRead` is false when the settings file could not be read.
void applyDisarmState(TweakState& state, bool fileRead);
// Replaces the held timer by one for the current deadline that sends `hushmarkTimerFired` to
// `target`, scheduled in the main run loop.
void armDeadlineTimer(TweakState& state, const id& target);
// The timer's callback, added to SBClockDataProvider; `receiver` is the timer's target.
void hushmarkTimerFired(TweakState& state, const id& receiver);
// Disarms for the configured time from an alarm alert's button, writing the deadline to the file.
void disarmFromAlert(TweakState& state);
// An alert's disarm button: the toggle, when installed, disarms and brings the file and the
// tweak up to date; otherwise the tweak disarms itself.
void disarmFromAlertButton(TweakState& state);
