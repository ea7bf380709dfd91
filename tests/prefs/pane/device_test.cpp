// One device, both deliverables: SpringBoard with the real Hushmark.dylib, and the Settings app
// with the real Hushmark.bundle. What the user does on the settings page reaches SpringBoard
// through the settings file and the notification, or through the toggle when it is installed.
#include "DeviceRootFixture.h"
#include "foundation/DeviceEvents.h"
#include "foundation/NSDateFormatter.h"
#include "foundation/RunLoop.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardEvents.h"
#include "springboard/SpringBoardHost.h"

#include <gtest/gtest.h>

namespace {

// A time of day on the fixture's first day (UTC); the fixture starts at 08:00:00.
NSDate at(int hour, int minute, int second = 0) {
    return NSDate{DeviceRootFixture::kStart + (hour - 8) * 3600.0 + minute * 60.0 + second};
}

std::vector<std::string> events(const std::vector<std::string>& kinds) {
    std::vector<std::string> out;
    for (const DeviceEvent& e : DeviceEvents::all()) {
        for (const std::string& k : kinds) {
            if (e.kind == k)
                out.push_back(e.detail.empty() ? e.kind : e.kind + ": " + e.detail);
        }
    }
    return out;
}

const std::vector<std::string> kAlarms = {sbevent::kAlarmDelivered, sbevent::kAlarmDropped};
const std::vector<std::string> kIcon = {sbevent::kStatusItemVisible, sbevent::kStatusItemHidden};

struct Installed {
    const char* name;
    std::vector<std::string> addons;
};

class SettingsDisarmsSpringBoard : public ::testing::TestWithParam<Installed> {};

TEST_P(SettingsDisarmsSpringBoard, DisarmNowSilencesTheNextAlarmAndClearLetsTheOneAfterRing) {
    DeviceRootFixture device(GetParam().addons);
    SpringBoardHost springBoard;
    springBoard.boot();
    RunLoop::main().runFor(10); // past the tweak's start-up delays
    springBoard.addAlarm(springboard::ClockAlarm{"wake", {8, 30, 0}, "Wake", true, true});
    springBoard.addAlarm(springboard::ClockAlarm{"gym", {9, 30, 0}, "Gym", true, true});

    SettingsApp settings;
    ASSERT_TRUE(settings.openPane("Hushmark"));
    ASSERT_TRUE(settings.typeText("Minutes to Disarm", "60"));
    RunLoop::main().drain();
    DeviceEvents::clear();
    ASSERT_TRUE(settings.tapRow("Disarm Now")); // 08:00:10, until 09:00:10
    RunLoop::main().runUntil(at(8, 31));
    EXPECT_EQ(events(kAlarms), std::vector<std::string>{"alarm dropped: Wake"});
    EXPECT_EQ(events(kIcon), std::vector<std::string>{"status item visible: Hushmark"});
    EXPECT_TRUE(settings.rowEnabled(
        "Hushmarked Until: " + NSDateFormatterLocalizedStringFromDate(at(9, 0, 10), NSDateFormatterShortStyle,
                                                                      NSDateFormatterMediumStyle)));

    ASSERT_TRUE(settings.tapRow("Clear"));
    RunLoop::main().runUntil(at(9, 31));
    EXPECT_EQ(events(kAlarms), (std::vector<std::string>{"alarm dropped: Wake", "alarm delivered: Gym"}));
    EXPECT_EQ(events(kIcon),
              (std::vector<std::string>{"status item visible: Hushmark", "status item hidden: Hushmark"}));
    EXPECT_TRUE(settings.findRow("Alarms Enabled"));
    // With the toggle installed the page hands both changes to it.
    const std::vector<std::string> toggled =
        GetParam().addons.size() == 3 ? std::vector<std::string>{"switch state: net.vexmoor.hushmarkfs = 1",
                                                                 "switch state: net.vexmoor.hushmarkfs = 0"}
                                      : std::vector<std::string>{};
    EXPECT_EQ(events({sbevent::kSwitchState}), toggled);
}

INSTANTIATE_TEST_SUITE_P(Installs, SettingsDisarmsSpringBoard,
                         ::testing::Values(Installed{"Notification", {"libstatusbar8"}},
                                           Installed{"Toggle",
                                                     {"libstatusbar8", "flipswitch", "hushmarkfs"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsAndSpringBoard, SwitchingHushmarkOffLetsAlarmsRingInsideTheDisarmTime) {
    DeviceRootFixture device({"libstatusbar8"});
    SpringBoardHost springBoard;
    springBoard.boot();
    RunLoop::main().runFor(10);
    springBoard.addAlarm(springboard::ClockAlarm{"wake", {8, 30, 0}, "Wake", true, true});
    SettingsApp settings;
    ASSERT_TRUE(settings.openPane("Hushmark"));
    ASSERT_TRUE(settings.tapRow("Disarm Now"));
    RunLoop::main().drain();
    DeviceEvents::clear();
    ASSERT_TRUE(settings.setSwitch("Enabled", false));
    RunLoop::main().runUntil(at(8, 31));
    EXPECT_EQ(events(kAlarms), std::vector<std::string>{"alarm delivered: Wake"});
}

} // namespace
