// The HushmarkFS switch's rules over the settings dictionary: pure, so they are tested alone.
// On (1): "enabled" true; a "disarmedUntil" still ahead is kept, so a tweak whose timer fired
// early re-arms for the same moment and the disarm still ends when it should; otherwise
// "disarmedUntil" = now + "disableForMinutes" minutes (60 when the key is absent).
// Off (0): "disarmedUntil" removed. Other keys ride along untouched.
#pragma once

#include "foundation/PlistValue.h"

namespace hushmarkfs {

inline constexpr const char* kSettingsPath =
    "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
inline constexpr const char* kSettingsNotification = "net.vexmoor.hushmark.preferences";

// The settings after setting the switch to `state`; unchanged for a state other than 0 or 1.
PlistDict settingsWithState(PlistDict settings, NSInteger state, NSDate now);
// 1 while enabled with a deadline strictly ahead of `now`, else 0.
NSInteger stateOf(const PlistDict& settings, NSDate now);

} // namespace hushmarkfs
