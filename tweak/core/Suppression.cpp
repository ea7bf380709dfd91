#include "core/Suppression.h"

bool shouldDropNotification(bool enabled, std::optional<NSDate> disarmedUntil, NSDate now,
                            const std::function<bool()>& isAlarm,
                            const std::function<bool()>& isConcreteLocalNotification) {
    if (!enabled || !disarmedUntil)
        return false;
    if (!isAlarm())
        return false;
    if (!isConcreteLocalNotification())
        return false;
    return now.compare(*disarmedUntil) == NSOrderedAscending;
}
