// The Clock's alarm manager: tells alarm notifications from the rest.
#pragma once

#include "objc/runtime.h"

struct AlarmManager : NSObject {
    // True exactly for a Clock alarm's notification: an object whose `userInfo` (a dictionary)
    // holds a non-empty "alarmId" text. Anything else, none included, is not an alarm.
    static bool isAlarmNotification(const id& notification);
};
