// What loading Hushmark.dylib into SpringBoard sets up, and what it leaves alone.
#include "TweakDevice.h"

#include "springboard/StatusBar.h"

#include <gtest/gtest.h>

namespace {

using namespace tweaktest;

const std::string kHidden = "status item hidden: Hushmark";

TEST(Startup, TheLoaderLoadsTheTweakIntoSpringBoard) {
    TweakDevice device;
    device.boot();
    EXPECT_EQ(device.loaded, std::vector<std::string>{"Hushmark.dylib"});
    // The tweak added its timer callback to SpringBoard's clock data provider.
    EXPECT_TRUE(class_respondsToSelector(objc_getClass("SBClockDataProvider"),
                                         sel_registerName("hushmarkTimerFired")));
}

TEST(Startup, WithoutASettingsFileNothingIsSuppressedAndNoButtonIsAdded) {
    TweakDevice device({"libstatusbar8"});
    device.boot();
    device.addAlarm(8, 30, "Wake");
    device.runUntil(at(8, 30));
    EXPECT_EQ(events({sbevent::kAlarmDelivered, sbevent::kAlarmDropped}),
              std::vector<std::string>{"alarm delivered: Wake"});
    id sheet = device.host.alertSheet();
    ASSERT_TRUE(sheet);
    EXPECT_FALSE(msg<id>(sheet, "valueForKey:", std::string("accessoryView")));
    EXPECT_NE(msg<NSInteger>(sheet, "tag"), 2627);
    // The item is made hidden, and the reading that finds no file hides it again; nothing is armed.
    EXPECT_EQ(events(kTimerAndIcon), (std::vector<std::string>{kHidden, kHidden}));
}

TEST(Startup, TheStatusItemIsCreatedHiddenOnTheRightWithItsImage) {
    TweakDevice device({"libstatusbar8"});
    device.boot();
    std::vector<StatusBarItem> items = StatusBar::shared().items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].identifier, "Hushmark");
    EXPECT_EQ(items[0].alignment, 2);
    EXPECT_EQ(items[0].imageName, "Hushmark");
    EXPECT_FALSE(items[0].visible);
}

TEST(Startup, WithBothStatusBarLibrariesOnlyTheFirstIsLoaded) {
    TweakDevice device({"libstatusbar8", "libstatusbar"});
    device.boot();
    EXPECT_EQ(events({"library loaded"}), std::vector<std::string>{"library loaded: libstatusbar8.dylib"});
    EXPECT_EQ(StatusBar::shared().items().size(), 1u);
}

TEST(Startup, TheOlderStatusBarLibraryIsLoadedWhenItIsTheOnlyOne) {
    TweakDevice device({"libstatusbar"});
    device.boot();
    EXPECT_EQ(events({"library loaded"}), std::vector<std::string>{"library loaded: libstatusbar.dylib"});
    EXPECT_EQ(StatusBar::shared().items().size(), 1u);
}

TEST(Startup, ADeadlineStandingAtLoadIsArmedOnlyAfterFiveSeconds) {
    TweakDevice device({"libstatusbar8"});
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(9, 0)}});
    device.boot();
    device.advance(4.9);
    EXPECT_EQ(events(kTimerAndIcon), std::vector<std::string>{kHidden}); // made hidden, then left alone
    device.advance(0.1);
    EXPECT_EQ(events(kTimerAndIcon),
              (std::vector<std::string>{kHidden, "status item visible: Hushmark", timerArmedFor(at(9, 0))}));
    EXPECT_EQ(DeviceEvents::ofKind(sbevent::kTimerArmed).at(0).time, startPlus(5));
}

TEST(Startup, OnceSettledAReloadArmsAtOnce) {
    TweakDevice device({"libstatusbar8"});
    device.boot();
    device.advance(5); // SpringBoard has settled
    DeviceEvents::clear();
    device.writeSettings({{"enabled", true}, {"disarmedUntil", at(9, 0)}});
    device.postSettingsChanged();
    EXPECT_EQ(events(kTimerAndIcon),
              (std::vector<std::string>{"status item visible: Hushmark", timerArmedFor(at(9, 0))}));
    EXPECT_EQ(DeviceEvents::ofKind(sbevent::kTimerArmed).at(0).time, startPlus(5));
}

} // namespace
