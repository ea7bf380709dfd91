// Reading SpringBoard's objects by name: instance variables and the alarm test of a bulletin.
#pragma once

#include "objc/runtime.h"

// The object in the instance variable `name`, or none when the class has no such variable.
id instanceVariable(Object* object, const char* name);
// True for a bulletin of the Clock app's alarms.
bool isAlarm(const id& bulletin);
