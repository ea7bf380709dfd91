// No SpringBoard in this process: every class the tweak reaches by name is missing.
#include "DisarmState.h"
#include "NotificationHook.h"
#include "DeviceRootFixture.h"
#include "foundation/DeviceClock.h"
#include "foundation/DeviceEvents.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "rules/SharedNames.h"

#include <gtest/gtest.h>

namespace {

const NSDate kStart{DeviceRootFixture::kStart};

DeviceRootFixture::Options bareDevice() {
    DeviceRootFixture::Options options;
    options.package = false; // the tweak runs in this process, not from the package
    return options;
}

class WithoutSpringBoard : public testing::Test {
  protected:
    void SetUp() override { DeviceEvents::clear(); }
    void writeSettings(PlistDict dict) { ASSERT_TRUE(writeToFile(dict, kSettingsPath, true)); }
    std::vector<std::string> logLines() {
        std::vector<std::string> lines;
        for (const DeviceEvent& e : DeviceEvents::ofKind("log"))
            lines.push_back(e.detail);
        return lines;
    }

    DeviceRootFixture root{bareDevice()};
    TweakState state;
};

TEST_F(WithoutSpringBoard, ImmediateArmingLogsLoad2AndArmsNothing) {
    writeSettings({{"enabled", true}, {"disarmedUntil", kStart.dateByAddingTimeInterval(600)}});
    state.launchSettled = true;
    reloadSettings(state);
    EXPECT_EQ(logLines(), std::vector<std::string>{"[Hushmark] Error: Cannot set PCSimpleTimer Load 2"});
    EXPECT_FALSE(state.deadlineTimer);
}

// Outside classes are looked up once, on first use, and kept: a class that appears later (here
// a stand-in registered after the first arming) is not picked up.
TEST_F(WithoutSpringBoard, AClassMissingAtFirstUseStaysMissing) {
    writeSettings({{"enabled", true}, {"disarmedUntil", kStart.dateByAddingTimeInterval(600)}});
    state.launchSettled = true;
    reloadSettings(state);
    struct LateProvider : NSObject {};
    static const ClassDef<LateProvider> kLateProvider("SBClockDataProvider", "NSObject",
                                                      {
                                                          classMethod("sharedInstance",
                                                                      [](Object* cls) -> id {
                                                                          static id* shared =
                                                                              new id(msg<id>(cls, "new"));
                                                                          return *shared;
                                                                      }),
                                                      });
    ASSERT_TRUE(objc_getClass("SBClockDataProvider"));
    reloadSettings(state);
    EXPECT_EQ(logLines(), (std::vector<std::string>{"[Hushmark] Error: Cannot set PCSimpleTimer Load 2",
                                                    "[Hushmark] Error: Cannot set PCSimpleTimer Load 2"}));
}

TEST_F(WithoutSpringBoard, DeferredArmingLogsLoad1After5Seconds) {
    writeSettings({{"enabled", true}, {"disarmedUntil", kStart.dateByAddingTimeInterval(600)}});
    reloadSettings(state);
    EXPECT_TRUE(state.launchSettled);
    RunLoop::main().runFor(4.9);
    EXPECT_TRUE(logLines().empty());
    RunLoop::main().runFor(0.1);
    EXPECT_EQ(logLines(), std::vector<std::string>{"[Hushmark] Error: Cannot set PCSimpleTimer Load 1"});
    EXPECT_FALSE(state.deadlineTimer);
}

TEST_F(WithoutSpringBoard, SuppressionStillHoldsWithoutATimerAndPassesEverythingWithoutAlarmManager) {
    // Without AlarmManager no notification counts as an alarm: the previous implementation runs.
    writeSettings({{"enabled", true}, {"disarmedUntil", kStart.dateByAddingTimeInterval(600)}});
    state.launchSettled = true;
    reloadSettings(state);
    int delivered = 0;
    state.previous.fireNotification = makeImp([&](Object*, id) { ++delivered; });
    id someObject = msg<id>(classObject(objc_getClass("NSObject")), "new");
    fireNotification(state, someObject.get(), someObject);
    EXPECT_EQ(delivered, 1);
}

TEST_F(WithoutSpringBoard, UnreadableFileTurnsOffAndKeepsTheDeadline) {
    writeSettings({{"enabled", true}, {"disarmedUntil", kStart.dateByAddingTimeInterval(600)}});
    reloadSettings(state);
    std::filesystem::remove(root.hostPath(kSettingsPath));
    reloadSettings(state);
    EXPECT_FALSE(state.settings.enabled);
    EXPECT_EQ(state.settings.disarmedUntil, kStart.dateByAddingTimeInterval(600));
    // The deferral scheduled by the first reload looks again, finds the tweak off, arms nothing.
    RunLoop::main().runFor(5);
    EXPECT_TRUE(logLines().empty());
}

} // namespace
