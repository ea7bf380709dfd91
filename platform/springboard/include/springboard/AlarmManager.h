// The Clock's alarm manager: tells alarm notifications from the rest.
#pragma once

#include "objc/runtime.h"

struct AlarmManager : NSObject {
    // True exactly for a Clock alarm's notification: a local notification of the Clock
    // application whose user information holds a non-empty "alarmId" text. Another
    // application's notification is never an alarm, whatever it carries; nor is any other
    // object, none included.
    static bool isAlarmNotification(const id& notification);
};
