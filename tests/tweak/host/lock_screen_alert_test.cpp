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

const PlistDict kButtonsOn{{"enabled", true}, {"enableAlertButtons", true}, {"disableForMinutes", 20}};

Ref<UIAlertView> onlyShownAlert() {
    std::vector<Ref<UIAlertView>> shown = UIAlertView::shownAlerts();
    return shown.size() == 1 ? shown[0] : nullptr;
}

std::vector<std::string> buttonTitles(const Ref<UIAlertView>& alert) {
    std::vector<std::string> titles;
    for (NSInteger i = 0; i < alert->numberOfButtons(); ++i) titles.push_back(alert->buttonTitleAtIndex(i));
    return titles;
}

// A locked device whose 08:30 alarm rings on the lock screen.
struct LockedDevice : TweakDevice {
    explicit LockedDevice(bool snooze = true, PlistDict settings = kButtonsOn, std::vector<std::string> addons = {"libstatusbar8"})
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

TEST(LockScreenAlert, NoAlertOfItsOwnWithButtonsOff) {
    LockedDevice device(true, PlistDict{{"enabled", true}});
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
    EXPECT_EQ(events({sbevent::kAlertShown}), std::vector<std::string>{"alert shown: lock screen Wake"});
}

struct ButtonCase {
    const char* name;
    bool snooze;
    NSInteger index;
    const char* outcome;
};
void PrintTo(const ButtonCase& c, std::ostream* os) { *os << c.name; }

class LockScreenButtons : public testing::TestWithParam<ButtonCase> {};

TEST_P(LockScreenButtons, AreForwardedToTheFullscreenAlarmATenthOfASecondLater) {
    LockedDevice device(GetParam().snooze);
    ASSERT_TRUE(onlyShownAlert());
    DeviceEvents::clear();
    ASSERT_TRUE(onlyShownAlert()->tapButtonAtIndex(GetParam().index));
    device.advance(0.09);
    EXPECT_TRUE(events({sbevent::kAlarmSnoozed, sbevent::kAlarmStopped}).empty());
    device.advance(0.01);
    EXPECT_EQ(events({sbevent::kAlarmSnoozed, sbevent::kAlarmStopped}), std::vector<std::string>{GetParam().outcome});
    EXPECT_EQ(events({sbevent::kAlertDismissed}), std::vector<std::string>{"alert dismissed: lock screen Wake"});
}

INSTANTIATE_TEST_SUITE_P(Mapping, LockScreenButtons,
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
    EXPECT_EQ(events({sbevent::kAlarmStopped, sbevent::kAlarmSnoozed}), std::vector<std::string>{"alarm stopped: Wake"});
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
              (std::vector<std::string>{"alarm stopped: Wake", "status item visible: Hushmark", timerArmedFor(deadline)}));
    EXPECT_EQ(valueForKey(device.settingsFile().value(), "disarmedUntil"), PlistValue(deadline));
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
    device.runUntil(at(8, 46));
    EXPECT_EQ(posts.posts, 0);
    EXPECT_EQ(events({sbevent::kAlarmDropped, sbevent::kAlarmDelivered}), std::vector<std::string>{"alarm dropped: Again"});
}

TEST(LockScreenAlert, ANewAlarmTakesDownTheAlertStillShowingBeforeReplacingIt) {
    LockedDevice device;
    Ref<UIAlertView> first = onlyShownAlert();
    ASSERT_TRUE(first);
    // SpringBoard presents another alarm without taking the first one down.
    auto bulletin = BBBulletin::make("com.apple.mobiletimer", 1, "Second", "second");
    msg(device.host.lockScreen(), "presentFullscreenBulletinAlertWithItem:", SBAwayBulletinListItem::make(bulletin, false));
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
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::skip_existing);
    }
    writeToFile(PlistDict{{"AppleLanguages", PlistArray{"de-DE"}}}, kGlobalPreferencesPath, true);
    device.writeSettings(kButtonsOn);
    device.boot();
    device.host.lock();
    device.addAlarm(8, 30, "Wecker");
    device.runUntil(at(8, 30));
    ASSERT_TRUE(onlyShownAlert());
    EXPECT_EQ(buttonTitles(onlyShownAlert()), (std::vector<std::string>{"Schlummern", "OK"}));
}

} // namespace
