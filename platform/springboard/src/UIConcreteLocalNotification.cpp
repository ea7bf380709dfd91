#include "springboard/UIConcreteLocalNotification.h"

namespace {
const ClassDef<UIConcreteLocalNotification>
    kUIConcreteLocalNotification("UIConcreteLocalNotification", "NSObject",
                                 {
                                     method("fireDate", &UIConcreteLocalNotification::fireDate),
                                     method("setFireDate:", &UIConcreteLocalNotification::setFireDate),
                                     method("alertBody", &UIConcreteLocalNotification::alertBody),
                                     method("setAlertBody:", &UIConcreteLocalNotification::setAlertBody),
                                     method("userInfo", &UIConcreteLocalNotification::userInfo),
                                     method("setUserInfo:", &UIConcreteLocalNotification::setUserInfo),
                                     method("allowSnooze", &UIConcreteLocalNotification::allowSnooze),
                                     method("setAllowSnooze:", &UIConcreteLocalNotification::setAllowSnooze),
                                 });
} // namespace

Ref<UIConcreteLocalNotification> UIConcreteLocalNotification::make(std::string scheduledBy, NSDate fireDate,
                                                                   std::string body, PlistDict userInfo,
                                                                   bool allowSnooze) {
    auto n = alloc<UIConcreteLocalNotification>();
    n->scheduledBy_ = std::move(scheduledBy);
    n->fireDate_ = fireDate;
    n->alertBody_ = std::move(body);
    n->userInfo_ = std::move(userInfo);
    n->allowSnooze_ = allowSnooze;
    return n;
}
