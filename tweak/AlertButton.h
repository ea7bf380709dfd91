// The extra disarm button on a ringing alarm's alert: a container view as the alert's accessory
// view, a full-width custom button in the configured text and colors, and its touch feedback.
#pragma once

#include "TweakState.h"

// Builds the container and sets it as the alert's "accessoryView"; the button's actions go to
// `target`, which answers hushmarkButtonHighlight:, hushmarkButtonClicked: and hushmarkButtonNormal:.
void addButtonContainer(const TweakState& state, const id& alert, const id& target);
// Touch up outside: back to the configured color.
void hushmarkButtonNormal(const TweakState& state, const id& button);
// Touch down: a clear button darkens slightly, a dark one lightens, any other darkens.
void hushmarkButtonHighlight(const id& button);
