// SpringBoard firing an application's local notification: alarms inside the disarm time are dropped.
#pragma once

#include "TweakState.h"

void fireNotification(TweakState& state, Object* application, const id& notification);
