// The outside pieces the tweak drives by name: the status-bar icon and the Flipswitch toggle.
#pragma once

#include "TweakState.h"

// Shows or hides the status icon; nothing when there is no status item.
void setStatusIconVisible(TweakState& state, bool visible);
// Hands a disarm (on) or re-arm (off) to the HushmarkFS toggle.
void setToggleState(TweakState& state, bool on);
// A class of the platform's own frameworks, to send class messages to; none when it does not
// exist. Outside classes are the state's, looked up once.
id classNamed(const char* name);
