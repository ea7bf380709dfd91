// What the tweak does when SpringBoard loads it, in this order: listen for settings changes,
// load the optional libraries, create the status item, detect the toggle, load the localized
// titles, read the settings once, install the hooks.
#pragma once

#include "TweakState.h"

void startHushmark(TweakState& state);
