// SpringBoard's launch: 5 seconds after it, the deadline timer may be armed at once.
#pragma once

#include "TweakState.h"

void applicationDidFinishLaunching(TweakState& state, Object* springBoard, const id& application);
