// The tweak's methods in SpringBoard: six replaced, eight added, installed in a fixed order.
#pragma once

#include "TweakState.h"

void installHooks(TweakState& state);
