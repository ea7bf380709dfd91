// The disarm button on SpringBoard's modal alarm alert, shown while the device is in use.
#pragma once

#include "TweakState.h"

// configure:requirePasscodeForActions: puts the button on an alarm's sheet and tags the sheet.
void modalAlertConfigure(TweakState& state, Object* alert, bool configure, bool requirePasscode);
// alertView:clickedButtonAtIndex: turns the disarm click into SpringBoard's stop plus a disarm.
void modalAlertClickedButtonAtIndex(TweakState& state, Object* alert, const id& alertView, NSInteger index);
// hushmarkButtonClicked: stops the alarm, disarms and closes the sheet.
void modalAlertButtonClicked(TweakState& state, Object* alert);
