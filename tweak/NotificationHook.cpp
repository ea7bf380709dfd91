#include "NotificationHook.h"

#include "core/Suppression.h"

void fireNotification(TweakState& state, Object* application, const id& notification) {
    const TweakSettings& s = state.settings;
    bool drop = shouldDropNotification(
        s.enabled, s.disarmedUntil, NSDate::date(),
        [&] {
            Class* alarms = state.alarmManager.get();
            return alarms && msg<bool>(classObject(alarms), "isAlarmNotification:", notification);
        },
        [&] { return isKindOfClass(notification, state.concreteLocalNotification.get()); });
    if (drop)
        return;
    callImp(state.previous.fireNotification, application, notification);
}
