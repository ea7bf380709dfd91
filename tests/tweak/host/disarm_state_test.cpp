// The deadline, its timer and the status icon through settings changes, early and due firings,
// and the Flipswitch toggle.
#include "TweakDevice.h"

#include "springboard/StatusBar.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace tweaktest;

id clockDataProvider() { return msg<id>(classObject(objc_getClass("SBClockDataProvider")), "sharedInstance"); }

// A device disarmed until 09:00 whose timer is armed (after the first 5 seconds).
struct DisarmedDevice : TweakDevice {
    explicit DisarmedDevice(std::vector<std::string> addons = {"libstatusbar8"}) : TweakDevice(std::move(addons)) {
        writeSettings({{"enabled", true}, {"disarmedUntil", at(9, 0)}, {"disableForMinutes", 30}});
        boot();
        advance(5);
        DeviceEvents::clear();
    }
};

TEST(DisarmState, AReloadWhileDisarmedReplacesTheTimerWithOneForTheFilesDeadline) {
    DisarmedDevice device;
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(10, 0)}});
    device.postSettingsChanged();
    EXPECT_EQ(events(kTimerAndIcon),
              (std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark", "status item visible: Hushmark",
                                        timerArmedFor(at(10, 0))}));
    EXPECT_TRUE(StatusBar::shared().isVisible("Hushmark"));
    device.runUntil(at(9, 30));
    EXPECT_TRUE(events({sbevent::kTimerFired}).empty()); // the old timer is gone
}

TEST(DisarmState, ATimerFiringAMinuteEarlyIsArmedAgainForTheSameDeadlineAndLeavesTheIcon) {
    DisarmedDevice device;
    device.runUntil(at(8, 59));
    msg(clockDataProvider(), "hushmarkTimerFired"); // as if the timer fired early
    // Exactly these: every setVisible: is recorded, so a touched icon would show here.
    EXPECT_EQ(events(kTimerAndIcon), (std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark",
                                                               timerArmedFor(at(9, 0))}));
}

TEST(DisarmState, ATimerArmedOffTheMainThreadIsScheduledOnTheMainLoop) {
    DisarmedDevice device;
    device.runUntil(at(8, 59));
    std::thread([] { msg(clockDataProvider(), "hushmarkTimerFired"); }).join();
    EXPECT_TRUE(events({sbevent::kTimerArmed}).empty()); // waits for the main queue
    RunLoop::main().drain();
    EXPECT_EQ(events({sbevent::kTimerArmed}), std::vector<std::string>{timerArmedFor(at(9, 0))});
    device.runUntil(at(9, 0));
    EXPECT_EQ(events({sbevent::kTimerFired}), std::vector<std::string>{"timer fired: net.vexmoor.hushmark"});
}

TEST(DisarmState, ExpiryHidesTheIconAndLeavesTheFilesOldDate) {
    DisarmedDevice device;
    device.runUntil(at(9, 0));
    EXPECT_EQ(events(kTimerAndIcon),
              (std::vector<std::string>{"timer fired: net.vexmoor.hushmark", "status item hidden: Hushmark"}));
    EXPECT_EQ(valueForKey(device.settingsFile().value(), "disarmedUntil"), PlistValue(at(9, 0)));

    // The next reading finds the old date reached: nothing is armed again.
    DeviceEvents::clear();
    device.postSettingsChanged();
    device.advance(60);
    EXPECT_TRUE(events({sbevent::kTimerArmed, sbevent::kStatusItemVisible}).empty());
}

TEST(DisarmState, ADeadlineWithinFifteenSecondsIsTreatedAsReached) {
    DisarmedDevice device;
    for (double ahead : {10.0, 15.0, 20.0}) {
        DeviceEvents::clear();
        device.writeSettings({{"enabled", true}, {"disarmedUntil", DeviceClock::now().dateByAddingTimeInterval(ahead)}});
        device.postSettingsChanged();
        const bool armed = ahead > 15.0;
        EXPECT_EQ(events({sbevent::kTimerArmed}).size(), armed ? 1u : 0u) << ahead;
        EXPECT_EQ(StatusBar::shared().isVisible("Hushmark"), armed) << ahead;
    }
}

TEST(DisarmState, WithTheIconOffTheTimerIsArmedAndTheIconStaysHidden) {
    DisarmedDevice device;
    device.writeSettings({{"enabled", true}, {"enableIcon", false}, {"disarmedUntil", at(10, 0)}});
    device.postSettingsChanged();
    EXPECT_EQ(events(kTimerAndIcon), (std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark",
                                                               timerArmedFor(at(10, 0)),
                                                               "status item hidden: Hushmark"}));
}

TEST(DisarmState, TurningOffEndsTheTimerAndHidesTheIcon) {
    DisarmedDevice device;
    device.writeSettings({{"enabled", false}, {"disarmedUntil", at(9, 0)}});
    device.postSettingsChanged();
    EXPECT_EQ(events(kTimerAndIcon), (std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark",
                                                               "status item hidden: Hushmark"}));
}

TEST(DisarmState, ADeadlineClearedDuringTheFirstFiveSecondsArmsNothing) {
    TweakDevice device({"libstatusbar8"});
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(9, 0)}});
    device.boot();
    device.advance(2);
    device.writeSettings({{"enabled", true}});
    device.postSettingsChanged();
    device.advance(10);
    EXPECT_TRUE(events({sbevent::kTimerArmed, sbevent::kStatusItemVisible}).empty());
}

TEST(DisarmState, TheFirstArmingLooksAtTheDeadlineStandingWhenItRuns) {
    TweakDevice device({"libstatusbar8"});
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(9, 0)}});
    device.boot();
    device.advance(1);
    // Settled by the pending first arming: this reload arms at once, for 10:00.
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(10, 0)}});
    device.postSettingsChanged();
    device.advance(10);
    EXPECT_EQ(events({sbevent::kTimerArmed}),
              (std::vector<std::string>{timerArmedFor(at(10, 0)), timerArmedFor(at(10, 0))}));
    EXPECT_EQ(events({sbevent::kTimerInvalidated}).size(), 1u); // one timer held at the end
}

// With Flipswitch and the HushmarkFS switch the tweak only sets the switch; the switch writes
// the file and posts, and the tweak follows on the reload.
TEST(DisarmStateWithToggle, ExpirySetsTheToggleOffAndTheSwitchBringsTheTweakUpToDate) {
    DisarmedDevice device({"libstatusbar8", "flipswitch", "hushmarkfs"});
    device.runUntil(at(9, 0));
    EXPECT_EQ(events({sbevent::kTimerFired, sbevent::kSwitchState, sbevent::kStatusItemHidden}),
              (std::vector<std::string>{"timer fired: net.vexmoor.hushmark", "switch state: net.vexmoor.hushmarkfs = 0",
                                        "status item hidden: Hushmark"}));
    EXPECT_TRUE(valueForKey(device.settingsFile().value(), "disarmedUntil").isNone());
}

TEST(DisarmStateWithToggle, AnEarlyFiringSetsTheToggleOnAndArmsNothingItself) {
    DisarmedDevice device({"libstatusbar8", "flipswitch", "hushmarkfs"});
    device.runUntil(at(8, 59));
    msg(clockDataProvider(), "hushmarkTimerFired");
    std::vector<std::string> seen = events({sbevent::kSwitchState, sbevent::kTimerArmed, sbevent::kTimerInvalidated});
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[0], "timer invalidated: net.vexmoor.hushmark");
    EXPECT_EQ(seen[1], "switch state: net.vexmoor.hushmarkfs = 1");
}

TEST(DisarmStateWithToggle, FlipswitchWithoutTheSwitchLeavesTheTweakToItself) {
    DisarmedDevice device({"libstatusbar8", "flipswitch"});
    device.runUntil(at(9, 0));
    EXPECT_TRUE(events({sbevent::kSwitchState}).empty());
    EXPECT_EQ(events({sbevent::kStatusItemHidden}), std::vector<std::string>{"status item hidden: Hushmark"});
}

} // namespace
