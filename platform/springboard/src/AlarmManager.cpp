#include "springboard/AlarmManager.h"

#include "foundation/PlistValue.h"
#include "springboard/BBBulletin.h"
#include "springboard/UIConcreteLocalNotification.h"

namespace {
const ClassDef<AlarmManager>
    kAlarmManager("AlarmManager", "NSObject",
                  {
                      classMethod("sharedManager",
                                  [](Object* cls) -> id {
                                      static id* manager = new id(msg<id>(cls, "new"));
                                      return *manager;
                                  }),
                      classMethod("isAlarmNotification:",
                                  [](Object*, id n) -> bool { return AlarmManager::isAlarmNotification(n); }),
                  });
} // namespace

bool AlarmManager::isAlarmNotification(const id& notification) {
    const auto local = cast<UIConcreteLocalNotification>(notification);
    if (!local || local->scheduledBy_ != kClockBundleIdentifier)
        return false;
    const PlistValue& alarmId = valueForKey(local->userInfo_, kAlarmIdKey);
    return alarmId.isString() && !alarmId.asString().empty();
}
