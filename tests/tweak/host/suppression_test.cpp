// Alarms inside the disarm time never ring; alarms at or after the deadline and other
// applications' notifications always pass.
#include "TweakDevice.h"

#include <gtest/gtest.h>

namespace {

using namespace tweaktest;

const std::vector<std::string> kDeliveries = {sbevent::kAlarmDelivered, sbevent::kAlarmDropped,
                                              sbevent::kNotificationDelivered, sbevent::kNotificationDropped};

TEST(Suppression, AlarmsInsideTheDisarmTimeAreDroppedAndTheDeadlineEndsIt) {
    TweakDevice device;
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(8, 45)}});
    device.boot();
    device.addAlarm(8, 30, "Early");
    device.addAlarm(8, 44, "A minute before");
    device.addAlarm(8, 45, "At the deadline");
    device.addAlarm(9, 0, "Later");
    device.runUntil(at(8, 10));
    device.host.fireLocalNotification("com.apple.MobileSMS", "Hello");
    device.runUntil(at(8, 44, 50));
    device.host.fireLocalNotification("com.apple.mobilemail", "Inbox");
    device.runUntil(at(9, 0));
    EXPECT_EQ(events(kDeliveries), (std::vector<std::string>{
                                       "notification delivered: com.apple.MobileSMS: Hello",
                                       "alarm dropped: Early",
                                       "alarm dropped: A minute before",
                                       "notification delivered: com.apple.mobilemail: Inbox",
                                       "alarm delivered: At the deadline",
                                       "alarm delivered: Later",
                                   }));
}

TEST(Suppression, AnAlarmTenSecondsBeforeTheDeadlineIsDroppedThoughTheTimerCountsItReached) {
    TweakDevice device({"libstatusbar8"});
    device.boot();
    device.advance(5);
    device.addAlarm(8, 30, "Wake");
    device.runUntil(at(8, 29, 55));
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(8, 30, 10)}});
    device.postSettingsChanged(); // 15 seconds ahead: reached for the timer, no icon
    device.runUntil(at(8, 30));
    EXPECT_TRUE(events({sbevent::kTimerArmed, sbevent::kStatusItemVisible}).empty());
    EXPECT_EQ(events(kDeliveries), std::vector<std::string>{"alarm dropped: Wake"});
}

TEST(Suppression, AnotherApplicationsNotificationCarryingAnAlarmIdPasses) {
    TweakDevice device;
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(9, 0)}});
    device.boot();
    const std::string alarmId = device.addAlarm(8, 30, "Wake");
    device.runUntil(at(8, 10));
    device.host.fireLocalNotification("com.example.app", "Looks like an alarm", {{"alarmId", alarmId}});
    device.runUntil(at(8, 30));
    EXPECT_EQ(events(kDeliveries), (std::vector<std::string>{
                                       "notification delivered: com.example.app: Looks like an alarm",
                                       "alarm dropped: Wake",
                                   }));
}

TEST(Suppression, NothingIsDroppedWhileTurnedOff) {
    TweakDevice device;
    device.writeSettings({{"enabled", false}, {"disarmedUntil", at(12, 0)}});
    device.boot();
    device.addAlarm(8, 30, "Wake");
    device.runUntil(at(8, 30));
    EXPECT_EQ(events(kDeliveries), std::vector<std::string>{"alarm delivered: Wake"});
}

TEST(Suppression, TheSettingsNotificationTurnsSuppressionOnAndOff) {
    TweakDevice device;
    device.boot();
    device.addAlarm(8, 30, "First", false);
    device.addAlarm(9, 30, "Second", false);
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(9, 0)}});
    device.postSettingsChanged();
    device.runUntil(at(8, 31));
    device.writeSettings({{"enabled", true}}); // cleared
    device.postSettingsChanged();
    device.runUntil(at(9, 30));
    EXPECT_EQ(events(kDeliveries),
              (std::vector<std::string>{"alarm dropped: First", "alarm delivered: Second"}));
}

} // namespace
