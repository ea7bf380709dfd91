#include "springboard/AlarmManager.h"

#include "foundation/PlistValue.h"
#include "springboard/UIConcreteLocalNotification.h"

#include <typeinfo>

namespace {
const ClassDef<AlarmManager> kAlarmManager("AlarmManager", "NSObject", {
    classMethod("sharedManager", [](Object* cls) -> id {
        static id* manager = new id(msg<id>(cls, "new"));
        return *manager;
    }),
    classMethod("isAlarmNotification:", [](Object*, id n) -> bool { return AlarmManager::isAlarmNotification(n); }),
});
} // namespace

bool AlarmManager::isAlarmNotification(const id& notification) {
    if (!notification || !notification->isa) return false;
    // Only a `userInfo` answering a dictionary is read: any other object is simply not an alarm.
    const Method* m = class_getInstanceMethod(notification->isa, sel_registerName("userInfo"));
    if (!m || m->imp.signature != typeid(PlistDict())) return false;
    const PlistDict userInfo = msg<PlistDict>(notification, "userInfo");
    const PlistValue& alarmId = valueForKey(userInfo, kAlarmIdKey);
    return alarmId.isString() && !alarmId.asString().empty();
}
