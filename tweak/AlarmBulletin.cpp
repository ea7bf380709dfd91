#include "AlarmBulletin.h"

#include "core/AlertRules.h"

#include <string>

id instanceVariable(Object* object, const char* name) {
    if (!object)
        return nullptr;
    return object_getIvar<id>(object, class_getInstanceVariable(object_getClass(object), name));
}

bool isAlarm(const id& bulletin) {
    return bulletin && isAlarmBulletin(msg<std::string>(bulletin, "sectionID"),
                                       msg<NSInteger>(bulletin, "sectionSubtype"));
}
