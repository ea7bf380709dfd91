// Where the pane keeps its settings and how it tells the tweak about a change.
#pragma once

#include "foundation/PlistValue.h"
#include "objc/runtime.h"
#include "rules/SharedNames.h"

// The settings file as a dictionary; empty when it is missing or unreadable.
PlistDict loadHushmarkSettings();
// Writes the whole dictionary atomically; a failed write is ignored, as every writer does.
void saveHushmarkSettings(const PlistDict& settings);
// Whether Flipswitch and the Hushmark toggle are both installed.
bool hushmarkToggleInstalled();
// Tells the tweak about a change: through the toggle (state 1 disarmed, 0 armed) when it is
// installed, else by posting the change notification. True when the toggle path was taken.
bool tellTweak(NSInteger toggleState);
// Posts the change notification.
void postHushmarkNotification();
