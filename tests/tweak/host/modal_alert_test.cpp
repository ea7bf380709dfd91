// The disarm button on SpringBoard's modal alarm alert, end to end in SpringBoard.
#include "TweakDevice.h"

#include "springboard/BBBulletin.h"
#include "springboard/SBBulletinModalAlert.h"
#include "springboard/StatusBar.h"
#include "uikit/UIAlertView.h"

#include <gtest/gtest.h>

namespace {

using namespace tweaktest;

const PlistDict kButtonsOn{{"enabled", true},
                           {"enableAlertButtons", true},
                           {"disableForMinutes", 30},
                           {"buttonText", "Quiet"},
                           {"buttonColor", "#00FF00"}};

id accessoryButton(const id& alert) {
    id container = msg<id>(alert, "valueForKey:", std::string("accessoryView"));
    std::vector<id> subviews = msg<std::vector<id>>(container, "subviews");
    return subviews.empty() ? nullptr : subviews[0];
}

// A device in use whose 08:30 alarm rings with the button on.
struct RingingDevice : TweakDevice {
    explicit RingingDevice(PlistDict settings = kButtonsOn,
                           std::vector<std::string> addons = {"libstatusbar8"})
        : TweakDevice(std::move(addons)) {
        writeSettings(settings);
        boot();
        addAlarm(8, 30, "Wake");
        addAlarm(8, 50, "Nap");
        runUntil(at(8, 30));
    }
};

TEST(ModalAlert, AnAlarmsSheetCarriesTheButtonInTheConfiguredTextAndColor) {
    RingingDevice device;
    id sheet = device.host.alertSheet();
    ASSERT_TRUE(sheet);
    EXPECT_EQ(msg<NSInteger>(sheet, "tag"), 2627);
    id button = accessoryButton(sheet);
    ASSERT_TRUE(button);
    EXPECT_EQ(msg<std::string>(button, "titleForState:", NSUInteger{0}), "Quiet");
    EXPECT_TRUE(msg<bool>(msg<id>(button, "backgroundColor"), "isEqual:",
                          msg<id>(classObject(objc_getClass("UIColor")),
                                  "colorWithRed:green:blue:alpha:", 0.0, 1.0, 0.0, 1.0)));
    // Its actions go to the modal alert, which answers them.
    std::vector<id> targets = msg<std::vector<id>>(button, "allTargets");
    ASSERT_FALSE(targets.empty());
    for (const id& target : targets)
        EXPECT_EQ(target, id(device.host.modalAlert()));
}

TEST(ModalAlert, NoButtonWhenTurnedOffOrButtonsOff) {
    RingingDevice device(PlistDict{{"enabled", false}, {"enableAlertButtons", true}});
    EXPECT_FALSE(msg<id>(device.host.alertSheet(), "valueForKey:", std::string("accessoryView")));
    // Buttons off, on again later: the next alarm's sheet follows the settings at that time.
    device.writeSettings({{"enabled", true}, {"enableAlertButtons", false}});
    device.postSettingsChanged();
    device.runUntil(at(8, 50));
    EXPECT_FALSE(msg<id>(device.host.alertSheet(), "valueForKey:", std::string("accessoryView")));
    EXPECT_NE(msg<NSInteger>(device.host.alertSheet(), "tag"), 2627);
}

TEST(ModalAlert, OtherBulletinsGetNoTagAndNoButton) {
    TweakDevice device;
    device.writeSettings(kButtonsOn);
    device.boot();
    for (auto bulletin : {BBBulletin::make("com.apple.MobileSMS", 1, "Hi", "m1"),
                          BBBulletin::make("com.apple.mobiletimer", 0, "Timer", "t1")}) {
        auto alert = SBBulletinModalAlert::make(bulletin);
        msg(alert, "configure:requirePasscodeForActions:", false, false);
        ASSERT_TRUE(alert->alertSheet_) << bulletin->sectionID_;
        EXPECT_EQ(msg<NSInteger>(alert->alertSheet_, "tag"), 0) << bulletin->sectionID_;
        EXPECT_FALSE(msg<id>(alert->alertSheet_, "valueForKey:", std::string("accessoryView")));
    }
}

TEST(ModalAlert, TappingTheButtonStopsTheAlarmAndDisarmsWithoutPosting) {
    RingingDevice device;
    PostCounter posts;
    id sheet = device.host.alertSheet();
    device.advance(60); // 08:31
    DeviceEvents::clear();
    msg(accessoryButton(sheet), "sendActionsForControlEvents:", NSUInteger{64});
    const NSDate deadline = at(8, 31).dateByAddingTimeInterval(1800);

    EXPECT_EQ(
        events({sbevent::kAlarmStopped, sbevent::kStatusItemVisible, sbevent::kTimerArmed, "file written"}),
        (std::vector<std::string>{"alarm stopped: Wake", "status item visible: Hushmark",
                                  timerArmedFor(deadline), std::string("file written: ") + kSettings}));
    EXPECT_FALSE(msg<bool>(sheet, "isVisible"));
    EXPECT_EQ(valueForKey(device.settingsFile().value(), "disarmedUntil"), PlistValue(deadline));
    EXPECT_EQ(valueForKey(device.settingsFile().value(), "buttonText"), PlistValue("Quiet")); // the rest kept
    RunLoop::main().drain();
    EXPECT_EQ(posts.posts, 0);

    // A reload reads the same deadline back; the next alarm inside it is dropped.
    DeviceEvents::clear();
    device.postSettingsChanged();
    EXPECT_EQ(events({sbevent::kTimerArmed}), std::vector<std::string>{timerArmedFor(deadline)});
    device.runUntil(at(8, 50));
    EXPECT_EQ(events({sbevent::kAlarmDropped, sbevent::kAlarmDelivered}),
              std::vector<std::string>{"alarm dropped: Nap"});
}

TEST(ModalAlert, TheDisarmClickOfTheSheetStopsAndDisarms) {
    RingingDevice device;
    DeviceEvents::clear();
    msg(device.host.modalAlert(), "alertView:clickedButtonAtIndex:", device.host.alertSheet(), NSInteger{2});
    EXPECT_EQ(events({sbevent::kAlarmStopped, sbevent::kTimerArmed}),
              (std::vector<std::string>{"alarm stopped: Wake", timerArmedFor(at(9, 0))}));
}

TEST(ModalAlert, WithTheToggleTheButtonSetsTheToggleAndTheTweakSetsNoDeadlineItself) {
    RingingDevice device(kButtonsOn, {"libstatusbar8", "flipswitch", "hushmarkfs"});
    DeviceEvents::clear();
    msg(accessoryButton(device.host.alertSheet()), "sendActionsForControlEvents:", NSUInteger{64});
    EXPECT_EQ(events({sbevent::kAlarmStopped, sbevent::kSwitchState, sbevent::kTimerArmed}),
              (std::vector<std::string>{"alarm stopped: Wake", "switch state: net.vexmoor.hushmarkfs = 1"}));
    // The switch wrote the deadline and posted; the tweak follows on the reload.
    RunLoop::main().drain();
    EXPECT_EQ(events({sbevent::kTimerArmed}), std::vector<std::string>{timerArmedFor(at(9, 0))});
}

TEST(ModalAlert, StoppingOrSnoozingOnATaggedSheetLeavesARunningDisarmTimerAlone) {
    RingingDevice device;
    // Disarmed from the Settings pane while the alarm rings.
    device.writeSettings({{"enabled", true}, {"enableAlertButtons", true}, {"disarmedUntil", at(9, 30)}});
    device.postSettingsChanged();
    DeviceEvents::clear();
    cast<UIAlertView>(device.host.alertSheet())->tapButtonAtIndex(1); // OK
    EXPECT_EQ(events({sbevent::kAlarmStopped, sbevent::kTimerInvalidated}),
              std::vector<std::string>{"alarm stopped: Wake"});
    device.runUntil(at(9, 30));
    EXPECT_EQ(
        events({sbevent::kTimerFired, sbevent::kStatusItemHidden}),
        (std::vector<std::string>{"timer fired: net.vexmoor.hushmark", "status item hidden: Hushmark"}));
}

TEST(ModalAlert, TouchFeedbackFollowsTheFinger) {
    RingingDevice device(
        PlistDict{{"enabled", true}, {"enableAlertButtons", true}, {"buttonColor", "FF0000"}});
    id button = accessoryButton(device.host.alertSheet());
    msg(button, "sendActionsForControlEvents:", NSUInteger{1});
    CGFloat r = 0, g = 0, b = 0, a = 0;
    ASSERT_TRUE(msg<bool>(msg<id>(button, "backgroundColor"), "getRed:green:blue:alpha:", &r, &g, &b, &a));
    EXPECT_NEAR(r, 0.8, 1e-9);
    msg(button, "sendActionsForControlEvents:", NSUInteger{128});
    ASSERT_TRUE(msg<bool>(msg<id>(button, "backgroundColor"), "getRed:green:blue:alpha:", &r, &g, &b, &a));
    EXPECT_EQ(r, 1.0);
    EXPECT_TRUE(device.host.ringing()); // feedback alone stops nothing
}

} // namespace
