// Every SpringBoard method the tweak replaces still does SpringBoard's own work.
#include "TweakDevice.h"

#include "uikit/UIAlertView.h"

#include <gtest/gtest.h>

namespace {

using namespace tweaktest;

TEST(ReplacedMethods, SpringBoardStillLaunchesDeliversConfiguresAndStopsInUse) {
    TweakDevice device;
    device.writeSettings({{"enabled", true}, {"enableAlertButtons", true}});
    device.boot();
    EXPECT_EQ(events({sbevent::kLaunched}), std::vector<std::string>{"springboard launched"}); // launch
    device.host.fireLocalNotification("com.apple.MobileSMS", "Hi");                            // firing
    device.addAlarm(8, 30, "Wake");
    device.runUntil(at(8, 30));
    // configure:requirePasscodeForActions: still built SpringBoard's sheet.
    auto sheet = cast<UIAlertView>(device.host.alertSheet());
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->title(), "Wake");
    EXPECT_EQ(sheet->numberOfButtons(), 2);
    // alertView:clickedButtonAtIndex: still snoozes and stops.
    sheet->tapButtonAtIndex(0);
    device.runUntil(at(8, 39));
    ASSERT_TRUE(device.host.alertSheet());
    cast<UIAlertView>(device.host.alertSheet())->tapButtonAtIndex(1);
    EXPECT_EQ(
        events({sbevent::kNotificationDelivered, sbevent::kAlarmDelivered, sbevent::kAlarmSnoozed,
                sbevent::kAlarmStopped}),
        (std::vector<std::string>{"notification delivered: com.apple.MobileSMS: Hi", "alarm delivered: Wake",
                                  "alarm snoozed: Wake", "alarm delivered: Wake", "alarm stopped: Wake"}));
}

TEST(ReplacedMethods, TheLockScreenStillPresentsAndDismissesItsFullscreenAlarm) {
    TweakDevice device;
    device.writeSettings({{"enabled", true}, {"enableAlertButtons", true}});
    device.boot();
    device.host.lock();
    device.addAlarm(8, 30, "Wake");
    device.runUntil(at(8, 30));
    device.host.unlock(); // slide to stop
    EXPECT_EQ(events({sbevent::kAlertShown, sbevent::kAlertDismissed, sbevent::kAlarmStopped}),
              (std::vector<std::string>{"alert shown: lock screen Wake", "alarm stopped: Wake",
                                        "alert dismissed: lock screen Wake"}));
}

} // namespace
