// What SpringBoard's classes ask of the host that runs the Clock alarms: delivering a fired
// notification, stopping and snoozing a ringing alarm. One host per process; with none, the
// classes only record what happened.
#pragma once

#include "objc/runtime.h"

#include <string>

class AlarmActions {
  public:
    virtual ~AlarmActions() = default;

    // SpringBoard's own `_fireNotification:` was reached for `notification` on `application`.
    virtual void deliverNotification(const id& application, const id& notification) = 0;
    // An alert's button stopped or snoozed the alarm whose bulletin carries `alarmId`.
    virtual void stopAlarm(const std::string& alarmId) = 0;
    virtual void snoozeAlarm(const std::string& alarmId) = 0;

    static AlarmActions* current();
    static void setCurrent(AlarmActions* actions);
};
