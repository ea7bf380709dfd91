// The outside pieces the tweak drives by name: the status-bar icon and the Flipswitch toggle.
#pragma once

#include "TweakState.h"

inline constexpr const char* kToggleIdentifier = "net.vexmoor.hushmarkfs";

// Shows or hides the status icon; nothing when there is no status item.
void setStatusIconVisible(TweakState& state, bool visible);
// Hands a disarm (on) or re-arm (off) to the HushmarkFS toggle.
void setToggleState(bool on);
// A class object to send class messages to; none when the class does not exist.
id classNamed(const char* name);
