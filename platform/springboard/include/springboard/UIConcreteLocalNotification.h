// A fired local notification. It belongs to the application that scheduled it; a Clock
// alarm's is the Clock's and carries "alarmId" in its user information.
#pragma once

#include "foundation/NSDate.h"
#include "foundation/PlistValue.h"
#include "objc/runtime.h"

#include <string>

inline constexpr const char* kAlarmIdKey = "alarmId";

struct UIConcreteLocalNotification : NSObject {
    NSDate fireDate_;
    std::string alertBody_;
    PlistDict userInfo_;
    bool allowSnooze_ = false;
    std::string scheduledBy_; // the bundle identifier of the application it belongs to

    NSDate fireDate() const { return fireDate_; }
    void setFireDate(NSDate d) { fireDate_ = d; }
    std::string alertBody() const { return alertBody_; }
    void setAlertBody(std::string s) { alertBody_ = std::move(s); }
    PlistDict userInfo() const { return userInfo_; }
    void setUserInfo(PlistDict d) { userInfo_ = std::move(d); }
    bool allowSnooze() const { return allowSnooze_; }
    void setAllowSnooze(bool b) { allowSnooze_ = b; }

    // A new notification of application `scheduledBy` with these values.
    static Ref<UIConcreteLocalNotification> make(std::string scheduledBy, NSDate fireDate, std::string body,
                                                 PlistDict userInfo, bool allowSnooze);
};
