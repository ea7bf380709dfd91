// The tweak's own alert beside SpringBoard's fullscreen alarm on the lock screen.
#include "TweakDevice.h"

#include "springboard/BBBulletin.h"
#include "springboard/SBAwayBulletinListItem.h"
#include "springboard/SBLockScreenViewController.h"
#include "springboard/StatusBar.h"
#include "uikit/UIAlertView.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace tweaktest;

const PlistDict kLockButtonsOn{{"enabled", true}, {"enableAlertButtons", true}, {"disableForMinutes", 20}};

Ref<UIAlertView> onlyShownAlert() {
    std::vector<Ref<UIAlertView>> shown = UIAlertView::shownAlerts();
    return shown.size() == 1 ? shown[0] : nullptr;
}

std::vector<std::string> buttonTitles(const Ref<UIAlertView>& alert) {
    std::vector<std::string> titles;
    for (NSInteger i = 0; i < alert->numberOfButtons(); ++i)
        titles.push_back(alert->buttonTitleAtIndex(i));
    return titles;
}

// A locked device whose 08:30 alarm rings on the lock screen.
struct LockedDevice : TweakDevice {
    explicit LockedDevice(bool snooze = true, PlistDict settings = kLockButtonsOn,
                          std::vector<std::string> addons = {"libstatusbar8"})
        : TweakDevice(std::move(addons)) {
        writeSettings(settings);
        boot();
        host.lock();
        addAlarm(8, 30, "Wake", snooze);
        addAlarm(8, 45, "Again");
        runUntil(at(8, 30));
    }
};

TEST(LockScreenAlert, ASnoozableAlarmGetsSnoozeOkAndTheButton) {
    LockedDevice device;
    EXPECT_EQ(events({sbevent::kAlertShown}), std::vector<std::string>{"alert shown: lock screen Wake"});
    Ref<UIAlertView> alert = onlyShownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Wake");
    EXPECT_EQ(buttonTitles(alert), (std::vector<std::string>{"Snooze", "OK"}));
    EXPECT_EQ(alert->cancelButtonIndex(), 0);
    EXPECT_EQ(alert->tag(), 2626);
    EXPECT_EQ(alert->delegate(), id(device.host.lockScreen()));
    EXPECT_TRUE(alert->accessoryView());
}

TEST(LockScreenAlert, AnAlarmThatCannotSnoozeGetsOkAlone) {
    LockedDevice device(false);
    Ref<UIAlertView> alert = onlyShownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(buttonTitles(alert), std::vector<std::string>{"OK"});
    EXPECT_EQ(alert->tag(), 2627);
}

struct QuietCase {
    const char* name;
    PlistDict settings;
};
void PrintTo(const QuietCase& c, std::ostream* os) {
    *os << c.name;
}
class NoLockAlertOfItsOwn : public testing::TestWithParam<QuietCase> {};

TEST_P(NoLockAlertOfItsOwn, SpringBoardPresentsItsOwnAlone) {
    LockedDevice device(true, GetParam().settings);
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
    EXPECT_EQ(events({sbevent::kAlertShown}), std::vector<std::string>{"alert shown: lock screen Wake"});
}

INSTANTIATE_TEST_SUITE_P(Settings, NoLockAlertOfItsOwn,
                         testing::Values(QuietCase{"ButtonsOff", {{"enabled", true}}},
                                         QuietCase{"TweakOff",
                                                   {{"enabled", false}, {"enableAlertButtons", true}}}),
                         [](const testing::TestParamInfo<QuietCase>& info) { return info.param.name; });

// The alert is made in this order: a Snooze button when the alarm can snooze, its tag, then OK.
class LockAlertMaking : public testing::TestWithParam<bool> {};

TEST_P(LockAlertMaking, SetsTheTagBetweenTheSnoozeAndOkButtons) {
    static std::vector<std::string> making;
    static Imp addButton, setTag;
    Class* alerts = objc_getClass("UIAlertView");
    addButton = class_replaceMethod(alerts, sel_registerName("addButtonWithTitle:"),
                                    makeImp([](Object* self, std::string title) -> NSInteger {
                                        making.push_back(title);
                                        return callImp<NSInteger>(addButton, self, title);
                                    }));
    setTag =
        class_replaceMethod(alerts, sel_registerName("setTag:"), makeImp([](Object* self, NSInteger tag) {
                                making.push_back("tag " + std::to_string(tag));
                                callImp(setTag, self, tag);
                            }));
    LockedDevice device(GetParam());
    EXPECT_EQ(making, GetParam() ? (std::vector<std::string>{"Snooze", "tag 2626", "OK"})
                                 : (std::vector<std::string>{"tag 2627", "OK"}));
}

INSTANTIATE_TEST_SUITE_P(Alarms, LockAlertMaking, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "Snoozable" : "NoSnooze";
                         });

struct ButtonCase {
    const char* name;
    bool snooze;
    NSInteger index;
    const char* outcome;
};
void PrintTo(const ButtonCase& c, std::ostream* os) {
    *os << c.name;
}

class LockScreenButtons : public testing::TestWithParam<ButtonCase> {};

TEST_P(LockScreenButtons, AreForwardedToTheFullscreenAlarmATenthOfASecondLater) {
    LockedDevice device(GetParam().snooze);
    ASSERT_TRUE(onlyShownAlert());
    DeviceEvents::clear();
    ASSERT_TRUE(onlyShownAlert()->tapButtonAtIndex(GetParam().index));
    device.advance(0.09);
    EXPECT_TRUE(events({sbevent::kAlarmSnoozed, sbevent::kAlarmStopped}).empty());
    device.advance(0.01);
    EXPECT_EQ(events({sbevent::kAlarmSnoozed, sbevent::kAlarmStopped}),
              std::vector<std::string>{GetParam().outcome});
    EXPECT_EQ(events({sbevent::kAlertDismissed}),
              std::vector<std::string>{"alert dismissed: lock screen Wake"});
}

INSTANTIATE_TEST_SUITE_P(
    Mapping, LockScreenButtons,
    testing::Values(ButtonCase{"SnoozeOfASnoozableAlarm", true, 0, "alarm snoozed: Wake"},
                    ButtonCase{"OkOfASnoozableAlarm", true, 1, "alarm stopped: Wake"},
                    ButtonCase{"OkOfAnAlarmThatCannotSnooze", false, 0, "alarm stopped: Wake"}),
    [](const testing::TestParamInfo<ButtonCase>& info) { return info.param.name; });

TEST(LockScreenAlert, SpringBoardTakingTheFullscreenAlarmDownTakesTheAlertDownToo) {
    LockedDevice device;
    ASSERT_TRUE(onlyShownAlert());
    device.host.unlock(); // slide to stop
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
    device.advance(1);
    EXPECT_EQ(events({sbevent::kAlarmStopped, sbevent::kAlarmSnoozed}),
              std::vector<std::string>{"alarm stopped: Wake"});
}

TEST(LockScreenAlert, TheDisarmButtonStopsTheAlarmDisarmsAndClosesTheAlert) {
    LockedDevice device;
    PostCounter posts;
    id container = onlyShownAlert()->accessoryView();
    id button = msg<std::vector<id>>(container, "subviews").at(0);
    DeviceEvents::clear();
    msg(button, "sendActionsForControlEvents:", NSUInteger{64});
    const NSDate deadline = at(8, 50);
    EXPECT_EQ(events({sbevent::kAlarmStopped, sbevent::kStatusItemVisible, sbevent::kTimerArmed}),
              (std::vector<std::string>{"alarm stopped: Wake", "status item visible: Hushmark",
                                        timerArmedFor(deadline)}));
    EXPECT_EQ(valueForKey(device.settingsFile().value(), "disarmedUntil"), PlistValue(deadline));
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
    device.runUntil(at(8, 46));
    EXPECT_EQ(posts.posts, 0);
    EXPECT_EQ(events({sbevent::kAlarmDropped, sbevent::kAlarmDelivered}),
              std::vector<std::string>{"alarm dropped: Again"});
}

id disarmButtonOf(const Ref<UIAlertView>& alert) {
    return alert ? msg<std::vector<id>>(alert->accessoryView(), "subviews").at(0) : nullptr;
}

TEST(LockScreenAlert, TheDisarmButtonWithTheIconOffArmsTheTimerAndLeavesTheIconHidden) {
    PlistDict settings = kLockButtonsOn;
    settings["enableIcon"] = false;
    LockedDevice device(true, settings);
    id button = disarmButtonOf(onlyShownAlert());
    ASSERT_TRUE(button);
    DeviceEvents::clear();
    msg(button, "sendActionsForControlEvents:", NSUInteger{64});
    const NSDate deadline = at(8, 50);
    EXPECT_EQ(events(kTimerAndIcon), std::vector<std::string>{timerArmedFor(deadline)});
    EXPECT_EQ(valueForKey(device.settingsFile().value(), "disarmedUntil"), PlistValue(deadline));
    EXPECT_EQ(events({sbevent::kAlarmStopped}), std::vector<std::string>{"alarm stopped: Wake"});
}

TEST(LockScreenAlert, TheDisarmButtonWithTheToggleSetsItOnAndDisarmsNothingItself) {
    LockedDevice device(true, kLockButtonsOn, {"libstatusbar8", "flipswitch", "hushmarkfs"});
    id button = disarmButtonOf(onlyShownAlert());
    ASSERT_TRUE(button);
    DeviceEvents::clear();
    msg(button, "sendActionsForControlEvents:", NSUInteger{64});
    // Before the switch's notification is delivered: what the tweak did itself.
    std::vector<std::string> kinds = kTimerAndIcon;
    kinds.insert(kinds.begin(), {sbevent::kAlarmStopped, sbevent::kSwitchState});
    EXPECT_EQ(events(kinds),
              (std::vector<std::string>{"alarm stopped: Wake", "switch state: net.vexmoor.hushmarkfs = 1"}));
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
    // The switch wrote the deadline and posted; the tweak follows on the reload.
    RunLoop::main().drain();
    const NSDate deadline = at(8, 50);
    EXPECT_EQ(valueForKey(device.settingsFile().value(), "disarmedUntil"), PlistValue(deadline));
    EXPECT_EQ(events(kTimerAndIcon),
              (std::vector<std::string>{"status item visible: Hushmark", timerArmedFor(deadline)}));
}

TEST(LockScreenAlert, ANewAlarmTakesDownTheAlertStillShowingBeforeReplacingIt) {
    LockedDevice device;
    Ref<UIAlertView> first = onlyShownAlert();
    ASSERT_TRUE(first);
    // SpringBoard presents another alarm without taking the first one down.
    auto bulletin = BBBulletin::make("com.apple.mobiletimer", 1, "Second", "second");
    msg(device.host.lockScreen(),
        "presentFullscreenBulletinAlertWithItem:", SBAwayBulletinListItem::make(bulletin, false));
    EXPECT_FALSE(first->isVisible());
    Ref<UIAlertView> second = onlyShownAlert();
    ASSERT_TRUE(second) << UIAlertView::shownAlerts().size();
    EXPECT_EQ(second->title(), "Second");
    // The first alert can no longer reach the fullscreen alarm.
    EXPECT_FALSE(first->tapButtonAtIndex(0));
}

TEST(LockScreenAlert, TitlesFollowTheDevicesLanguage) {
    TweakDevice device({"libstatusbar8"});
    const std::string bundle = "/Library/PreferenceBundles/Hushmark.bundle";
    if (!std::filesystem::exists(device.root.hostPath(bundle + "/de.lproj/Hushmark.strings"))) {
        // The package has no preference bundle yet: lay its strings tables out from the sources.
        std::filesystem::create_directories(device.root.hostPath(bundle));
        std::filesystem::copy(HM_BUNDLE_RESOURCES, device.root.hostPath(bundle),
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::skip_existing);
    }
    writeToFile(PlistDict{{"AppleLanguages", PlistArray{"de-DE"}}}, kGlobalPreferencesPath, true);
    device.writeSettings(kLockButtonsOn);
    device.boot();
    device.host.lock();
    device.addAlarm(8, 30, "Wecker");
    device.runUntil(at(8, 30));
    ASSERT_TRUE(onlyShownAlert());
    EXPECT_EQ(buttonTitles(onlyShownAlert()), (std::vector<std::string>{"Schlummern", "OK"}));
}

} // namespace
