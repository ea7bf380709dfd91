// A fired local notification. A Clock alarm's carries "alarmId" in its user information.
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

    NSDate fireDate() const { return fireDate_; }
    void setFireDate(NSDate d) { fireDate_ = d; }
    std::string alertBody() const { return alertBody_; }
    void setAlertBody(std::string s) { alertBody_ = std::move(s); }
    PlistDict userInfo() const { return userInfo_; }
    void setUserInfo(PlistDict d) { userInfo_ = std::move(d); }
    bool allowSnooze() const { return allowSnooze_; }
    void setAllowSnooze(bool b) { allowSnooze_ = b; }

    // A new notification with these values.
    static Ref<UIConcreteLocalNotification> make(NSDate fireDate, std::string body, PlistDict userInfo,
                                                 bool allowSnooze);
};
