// The deadline, its timer and the status icon through settings changes, early and due firings,
// and the Flipswitch toggle.
#include "TweakDevice.h"

#include "springboard/StatusBar.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace tweaktest;

id clockDataProvider() {
    return msg<id>(classObject(objc_getClass("SBClockDataProvider")), "sharedInstance");
}

// A device disarmed until 09:00 whose timer is armed (after the first 5 seconds).
struct DisarmedDevice : TweakDevice {
    explicit DisarmedDevice(std::vector<std::string> addons = {"libstatusbar8"})
        : TweakDevice(std::move(addons)) {
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
              (std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark",
                                        "status item visible: Hushmark", timerArmedFor(at(10, 0))}));
    EXPECT_TRUE(StatusBar::shared().isVisible("Hushmark"));
    device.runUntil(at(9, 30));
    EXPECT_TRUE(events({sbevent::kTimerFired}).empty()); // the old timer is gone
}

TEST(DisarmState, ATimerFiringAMinuteEarlyIsArmedAgainForTheSameDeadlineAndLeavesTheIcon) {
    DisarmedDevice device;
    device.runUntil(at(8, 59));
    msg(clockDataProvider(), "hushmarkTimerFired"); // as if the timer fired early
    // Exactly these: every setVisible: is recorded, so a touched icon would show here.
    EXPECT_EQ(events(kTimerAndIcon),
              (std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark", timerArmedFor(at(9, 0))}));
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
    EXPECT_EQ(events(kTimerAndIcon), (std::vector<std::string>{"timer fired: net.vexmoor.hushmark",
                                                               "status item hidden: Hushmark"}));
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
        device.writeSettings(
            {{"enabled", true}, {"disarmedUntil", DeviceClock::now().dateByAddingTimeInterval(ahead)}});
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
    EXPECT_EQ(events(kTimerAndIcon),
              (std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark", timerArmedFor(at(10, 0)),
                                        "status item hidden: Hushmark"}));
}

TEST(DisarmState, TurningOffEndsTheTimerAndHidesTheIcon) {
    DisarmedDevice device;
    device.writeSettings({{"enabled", false}, {"disarmedUntil", at(9, 0)}});
    device.postSettingsChanged();
    EXPECT_EQ(events(kTimerAndIcon), (std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark",
                                                               "status item hidden: Hushmark"}));
}

// An unreadable file turns the tweak off and hides the icon, but the timer already running stays
// and still ends the disarm at the deadline.
TEST(DisarmState, AnUnreadableFileWhileDisarmedHidesTheIconAndKeepsTheTimer) {
    DisarmedDevice device;
    device.root.writeFile(kSettings, "not a property list");
    device.postSettingsChanged();
    EXPECT_EQ(events(kTimerAndIcon), std::vector<std::string>{"status item hidden: Hushmark"});
    EXPECT_FALSE(StatusBar::shared().isVisible("Hushmark"));
    device.runUntil(at(9, 0));
    EXPECT_EQ(events(kTimerAndIcon),
              (std::vector<std::string>{"status item hidden: Hushmark", "timer fired: net.vexmoor.hushmark",
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

TEST(DisarmState, TheFirstArmingArmsForAStandingDeadlineThatCameWithinFifteenSeconds) {
    TweakDevice device({"libstatusbar8"});
    device.writeSettings({{"enabled", true}, {"disarmedUntil", startPlus(18)}});
    device.boot();         // 18 s ahead at the reload: deferred; 13 s ahead when the deferral runs
    DeviceEvents::clear(); // the item was made hidden
    device.advance(5);
    EXPECT_EQ(events(kTimerAndIcon),
              (std::vector<std::string>{"status item visible: Hushmark", timerArmedFor(startPlus(18))}));
    device.advance(13);
    EXPECT_EQ(
        events(kTimerAndIcon),
        (std::vector<std::string>{"status item visible: Hushmark", timerArmedFor(startPlus(18)),
                                  "timer fired: net.vexmoor.hushmark", "status item hidden: Hushmark"}));
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
    // The icon is hidden once, by the reload that follows the switch's write; not by the expiry.
    EXPECT_EQ(events({sbevent::kTimerFired, sbevent::kSwitchState, sbevent::kStatusItemVisible,
                      sbevent::kStatusItemHidden, sbevent::kTimerArmed}),
              (std::vector<std::string>{"timer fired: net.vexmoor.hushmark",
                                        "switch state: net.vexmoor.hushmarkfs = 0",
                                        "status item hidden: Hushmark"}));
    EXPECT_TRUE(valueForKey(device.settingsFile().value(), "disarmedUntil").isNone());
}

// A switch panel that only records what it is told: the switch never brings the tweak up to
// date, so what the tweak did itself is all there is to see.
void recordSwitchStatesOnly() {
    class_replaceMethod(objc_getClass("FSSwitchPanel"), sel_registerName("setState:forSwitchIdentifier:"),
                        makeImp([](Object*, NSInteger state, std::string identifier) {
                            DeviceEvents::record(sbevent::kSwitchState,
                                                 identifier + " = " + std::to_string(state));
                        }));
}

TEST(DisarmStateWithToggle, ExpiryLeavesTheDeadlineAndTheIconForTheToggle) {
    TweakDevice device({"libstatusbar8", "flipswitch", "hushmarkfs"});
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(9, 0, 10)}});
    device.boot();
    device.advance(5);
    recordSwitchStatesOnly();
    device.addAlarm(9, 0, "Wake");
    device.runUntil(at(8, 59, 56));
    DeviceEvents::clear();
    msg(clockDataProvider(), "hushmarkTimerFired"); // 14 s before the deadline: reached
    EXPECT_EQ(events(kTimerAndIcon), std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark"});
    EXPECT_EQ(events({sbevent::kSwitchState}),
              std::vector<std::string>{"switch state: net.vexmoor.hushmarkfs = 0"});
    EXPECT_TRUE(StatusBar::shared().isVisible("Hushmark"));
    // The deadline stands in the tweak until the toggle says otherwise: 09:00 is still before it.
    device.runUntil(at(9, 0));
    EXPECT_EQ(events({sbevent::kAlarmDropped, sbevent::kAlarmDelivered}),
              std::vector<std::string>{"alarm dropped: Wake"});
}

TEST(DisarmStateWithToggle, AnEarlyFiringSetsTheToggleOnAndArmsNothingItself) {
    DisarmedDevice device({"libstatusbar8", "flipswitch", "hushmarkfs"});
    device.runUntil(at(8, 59));
    msg(clockDataProvider(), "hushmarkTimerFired");
    // Before the switch's notification is delivered: only what the tweak did itself.
    const std::vector<std::string> kinds = {sbevent::kSwitchState, sbevent::kTimerArmed,
                                            sbevent::kTimerInvalidated, sbevent::kStatusItemVisible,
                                            sbevent::kStatusItemHidden};
    EXPECT_EQ(events(kinds), (std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark",
                                                       "switch state: net.vexmoor.hushmarkfs = 1"}));
    // The switch kept the deadline still ahead and posted; the reload that follows re-arms for
    // the same moment, so the disarm still ends at 09:00.
    RunLoop::main().drain();
    EXPECT_EQ(events(kinds),
              (std::vector<std::string>{"timer invalidated: net.vexmoor.hushmark",
                                        "switch state: net.vexmoor.hushmarkfs = 1",
                                        "status item visible: Hushmark", timerArmedFor(at(9, 0))}));
}

TEST(DisarmStateWithToggle, FlipswitchWithoutTheSwitchLeavesTheTweakToItself) {
    DisarmedDevice device({"libstatusbar8", "flipswitch"});
    device.runUntil(at(9, 0));
    EXPECT_TRUE(events({sbevent::kSwitchState}).empty());
    EXPECT_EQ(events({sbevent::kStatusItemHidden}), std::vector<std::string>{"status item hidden: Hushmark"});
}

} // namespace
