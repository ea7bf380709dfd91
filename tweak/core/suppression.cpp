#include "core/suppression.h"

bool shouldDropNotification(bool enabled, std::optional<double> disarmedUntil, double now,
                            const std::function<bool()>& isAlarm,
                            const std::function<bool()>& isConcreteLocalNotification) {
    if (!enabled || !disarmedUntil) return false;
    if (!isAlarm()) return false;
    if (!isConcreteLocalNotification()) return false;
    return now < *disarmedUntil;
}
