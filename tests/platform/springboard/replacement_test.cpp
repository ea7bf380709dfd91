// A method replaced through MSHookMessageEx really changes what SpringBoard does: the host
// reaches its classes only through messages.
#include "SpringBoardTestSupport.h"

#include "springboard/AlarmManager.h"
#include "springboard/SpringBoardEvents.h"
#include "substrate/substrate.h"

#include <gtest/gtest.h>

namespace {

using namespace sbtest;

// One replacement of `_fireNotification:` per process; each test sets what it does.
struct FireNotificationHook {
    bool dropAlarms = false;
    std::vector<std::string> seen; // "bundle alarm|other"
};
FireNotificationHook gHook;

void hookFireNotification() {
    static Imp previous;
    static bool hooked = false;
    gHook = {};
    if (hooked)
        return;
    hooked = true;
    MSHookMessageEx(
        objc_getClass("SBApplication"), sel_registerName("_fireNotification:"),
        makeImp([](Object* self, id notification) {
            const bool alarm =
                msg<bool>(classObject(objc_getClass("AlarmManager")), "isAlarmNotification:", notification) &&
                isKindOfClass(notification, objc_getClass("UIConcreteLocalNotification"));
            gHook.seen.push_back(msg<std::string>(self, "bundleIdentifier") + (alarm ? " alarm" : " other"));
            if (alarm && gHook.dropAlarms)
                return; // the alarm is dropped: no call through
            callImp(previous, self, notification);
        }),
        &previous);
    ASSERT_TRUE(previous);
}

TEST(Replacement, AFireNotificationThatDoesNotCallThroughDropsTheAlarm) {
    BootedDevice device;
    hookFireNotification();
    gHook.dropAlarms = true;
    device.host.addAlarm({"a", {8, 30, 0}, "Wake", true, true});
    runUntil(8, 31);
    EXPECT_EQ(gHook.seen, (std::vector<std::string>{"com.apple.mobiletimer alarm"}));
    EXPECT_EQ(events({sbevent::kAlarmDelivered, sbevent::kAlarmDropped, sbevent::kAlertShown}),
              (std::vector<std::string>{"alarm dropped: Wake"}));
    EXPECT_FALSE(device.host.ringing());
    EXPECT_FALSE(device.host.alertSheet());
}

TEST(Replacement, AFireNotificationThatCallsThroughDeliversAsBefore) {
    BootedDevice device;
    hookFireNotification();
    device.host.addAlarm({"a", {8, 30, 0}, "Wake", true, true});
    runUntil(8, 31);
    EXPECT_EQ(events({sbevent::kAlarmDelivered, sbevent::kAlarmDropped, sbevent::kAlertShown}),
              (std::vector<std::string>{"alarm delivered: Wake", "alert shown: modal Wake"}));
    EXPECT_TRUE(device.host.ringing());
}

TEST(Replacement, NotificationsOfOtherApplicationsPassThroughTheSameMethod) {
    BootedDevice device;
    hookFireNotification();
    gHook.dropAlarms = true;
    device.host.fireLocalNotification("com.example.mail", "New mail");
    EXPECT_EQ(gHook.seen, (std::vector<std::string>{"com.example.mail other"}));
    EXPECT_EQ(events({sbevent::kNotificationDelivered, sbevent::kNotificationDropped}),
              (std::vector<std::string>{"notification delivered: com.example.mail: New mail"}));
    EXPECT_FALSE(device.host.ringing());
}

TEST(Replacement, AConfigureThatDoesNotCallThroughLeavesNoSheetToShow) {
    static Imp previous;
    MSHookMessageEx(objc_getClass("SBBulletinModalAlert"),
                    sel_registerName("configure:requirePasscodeForActions:"),
                    makeImp([](Object*, bool, bool) {}), &previous);
    ASSERT_TRUE(previous);
    BootedDevice device;
    device.host.addAlarm({"a", {8, 30, 0}, "Wake", true, true});
    runUntil(8, 31);
    EXPECT_TRUE(hasEvent(sbevent::kAlarmDelivered, "Wake"));
    EXPECT_FALSE(device.host.alertSheet());
    EXPECT_TRUE(events({sbevent::kAlertShown}).empty());
    Imp replaced;
    MSHookMessageEx(objc_getClass("SBBulletinModalAlert"),
                    sel_registerName("configure:requirePasscodeForActions:"), previous,
                    &replaced); // SpringBoard's own again, for whatever runs next in this process
}

} // namespace
