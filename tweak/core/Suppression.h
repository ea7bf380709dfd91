// Whether a notification SpringBoard is about to fire is dropped: only Clock alarms, only while
// the tweak is enabled and before the deadline. The deadline is used as it stands, without the
// timer's look-ahead.
#pragma once

#include "foundation/NSDate.h"

#include <functional>
#include <optional>

// The questions about the notification are asked in a fixed order and only when needed: whether
// it is an alarm only when enabled and a deadline stands, its class only for an alarm.
bool shouldDropNotification(bool enabled, std::optional<NSDate> disarmedUntil, NSDate now,
                            const std::function<bool()>& isAlarm,
                            const std::function<bool()>& isConcreteLocalNotification);
