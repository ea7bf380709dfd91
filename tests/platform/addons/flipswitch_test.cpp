// Flipswitch and the HushmarkFS switch, installed in a device root and loaded by the loader.
#include "HushmarkFSState.h"
#include "DeviceRootFixture.h"
#include "foundation/DeviceEvents.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "substrate/loader.h"

#include <gtest/gtest.h>

namespace {

const std::string kSettings = "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
const std::string kSwitch = "net.vexmoor.hushmarkfs";
constexpr double kStart = DeviceRootFixture::kStart;

id panel() {
    return msg<id>(classObject(objc_getClass("FSSwitchPanel")), "sharedPanel");
}

int gNotifications = 0;
void observeSettingsNotification() {
    gNotifications = 0;
    CFNotificationCenterAddObserver(
        CFNotificationCenterGetDarwinNotifyCenter(), &gNotifications,
        [](CFNotificationCenterRef, const void*, const std::string&) { ++gNotifications; },
        "net.vexmoor.hushmark.preferences", nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
}

TEST(HushmarkFSRules, OnSetsTheDeadlineFromTheConfiguredMinutesOffRemovesIt) {
    const NSDate now{kStart};
    const struct {
        const char* name;
        PlistValue minutes;
        double seconds;
    } cases[] = {
        {"absent", PlistValue(), 3600},
        {"number", PlistValue(15), 900},
        {"text", PlistValue(" 30 minutes"), 1800},
        {"not a number", PlistValue("abc"), 0},
        {"real", PlistValue(2.9), 120},
    };
    for (const auto& c : cases) {
        PlistDict settings{{"buttonText", "Hush"}, {"enabled", false}};
        if (!c.minutes.isNone())
            settings["disableForMinutes"] = c.minutes;
        PlistDict on = hushmarkfs::settingsWithState(settings, 1, now);
        EXPECT_EQ(on["enabled"], PlistValue(true)) << c.name;
        EXPECT_EQ(on["disarmedUntil"], PlistValue(NSDate{kStart + c.seconds})) << c.name;
        EXPECT_EQ(on["buttonText"], PlistValue("Hush")) << c.name;
        PlistDict off = hushmarkfs::settingsWithState(on, 0, now);
        EXPECT_FALSE(off.count("disarmedUntil")) << c.name;
        EXPECT_EQ(off["enabled"], PlistValue(true)) << c.name;
    }
    PlistDict any{{"enabled", true}};
    EXPECT_EQ(hushmarkfs::settingsWithState(any, -1, now), any);
}

TEST(HushmarkFSRules, OnKeepsADeadlineStillAheadAndDisarmsAnewOtherwise) {
    const NSDate now{kStart};
    const NSDate fresh{kStart + 1200}; // "disableForMinutes" 20 from now
    const struct {
        const char* name;
        PlistValue until;
        bool enabled;
        PlistValue expected;
    } cases[] = {
        {"ahead, enabled", NSDate{kStart + 30}, true, NSDate{kStart + 30}},
        {"ahead by a hair, switched off", NSDate{kStart + 0.001}, false, NSDate{kStart + 0.001}},
        {"ahead beyond the configured length", NSDate{kStart + 7200}, true, NSDate{kStart + 7200}},
        {"reached now", NSDate{kStart}, true, fresh},
        {"past", NSDate{kStart - 60}, true, fresh},
        {"absent", PlistValue(), true, fresh},
        {"not a date", PlistValue("tomorrow"), true, fresh},
    };
    for (const auto& c : cases) {
        PlistDict settings{{"disableForMinutes", 20}, {"enabled", c.enabled}};
        if (!c.until.isNone())
            settings["disarmedUntil"] = c.until;
        const PlistDict on = hushmarkfs::settingsWithState(settings, 1, now);
        EXPECT_EQ(valueForKey(on, "disarmedUntil"), c.expected) << c.name;
        EXPECT_EQ(valueForKey(on, "enabled"), PlistValue(true)) << c.name;
        EXPECT_EQ(valueForKey(on, "disableForMinutes"), PlistValue(20)) << c.name;
    }
}

TEST(HushmarkFSRules, TheSwitchIsOnWhileEnabledWithADeadlineAhead) {
    const NSDate now{kStart};
    const struct {
        PlistDict settings;
        NSInteger state;
    } cases[] = {
        {{{"enabled", true}, {"disarmedUntil", NSDate{kStart + 1}}}, 1},
        {{{"enabled", true}, {"disarmedUntil", NSDate{kStart}}}, 0},
        {{{"enabled", false}, {"disarmedUntil", NSDate{kStart + 60}}}, 0},
        {{{"enabled", true}}, 0},
        {{}, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hushmarkfs::stateOf(c.settings, now), c.state);
}

TEST(Flipswitch, TheLoaderLoadsFlipswitchAndProteanAndTheSwitchWritesTheSettings) {
    DeviceRootFixture device(
        DeviceRootFixture::Options{.addons = {"flipswitch", "hushmarkfs", "protean"}, .package = false});
    DeviceEvents::clear();
    EXPECT_EQ(MSLoadTweaksForHost("com.apple.springboard"),
              (std::vector<std::string>{"Flipswitch.dylib", "Protean.dylib"}));
    ASSERT_TRUE(
        writeToFile(PlistDict{{"disableForMinutes", 15}, {"buttonColor", "#00FF00"}}, kSettings, true));
    observeSettingsNotification();

    msg(panel(), "setState:forSwitchIdentifier:", NSInteger{1}, kSwitch);
    auto settings = dictionaryWithContentsOfFile(kSettings);
    ASSERT_TRUE(settings);
    EXPECT_EQ((*settings)["enabled"], PlistValue(true));
    EXPECT_EQ((*settings)["disarmedUntil"], PlistValue(NSDate{kStart + 900}));
    EXPECT_EQ((*settings)["buttonColor"], PlistValue("#00FF00"));
    EXPECT_EQ(msg<NSInteger>(panel(), "stateForSwitchIdentifier:", kSwitch), 1);
    RunLoop::main().drain();
    EXPECT_EQ(gNotifications, 1);

    RunLoop::main().runFor(60);
    msg(panel(), "setState:forSwitchIdentifier:", NSInteger{0}, kSwitch);
    settings = dictionaryWithContentsOfFile(kSettings);
    ASSERT_TRUE(settings);
    EXPECT_FALSE(settings->count("disarmedUntil"));
    EXPECT_EQ((*settings)["disableForMinutes"], PlistValue(15));
    EXPECT_EQ(msg<NSInteger>(panel(), "stateForSwitchIdentifier:", kSwitch), 0);
    RunLoop::main().drain();
    EXPECT_EQ(gNotifications, 2);
    EXPECT_EQ(DeviceEvents::ofKind("file written").size(), 3u) << "the test's own write and one per state";
}

// A tweak whose timer fired early sets the switch on again: the deadline stands, the file is
// left alone (nothing in it changes), and the notification still goes out so the tweak re-arms.
TEST(Flipswitch, OnAgainDuringADisarmKeepsTheDeadlineAndOnlyPosts) {
    DeviceRootFixture device(
        DeviceRootFixture::Options{.addons = {"flipswitch", "hushmarkfs"}, .package = false});
    MSLoadTweaksForHost("com.apple.springboard");
    ASSERT_TRUE(writeToFile(PlistDict{{"disableForMinutes", 20}, {"enabled", true}}, kSettings, true));
    observeSettingsNotification();
    msg(panel(), "setState:forSwitchIdentifier:", NSInteger{1}, kSwitch);
    RunLoop::main().runFor(1170); // the timer fires 30 s early
    DeviceEvents::clear();
    msg(panel(), "setState:forSwitchIdentifier:", NSInteger{1}, kSwitch);
    auto settings = dictionaryWithContentsOfFile(kSettings);
    ASSERT_TRUE(settings);
    EXPECT_EQ((*settings)["disarmedUntil"], PlistValue(NSDate{kStart + 1200}));
    EXPECT_TRUE(DeviceEvents::ofKind("file written").empty());
    RunLoop::main().drain();
    EXPECT_EQ(gNotifications, 2);

    // Switched off in the file meanwhile: on turns "enabled" back on, keeping the deadline.
    ASSERT_TRUE(writeToFile(
        PlistDict{{"disableForMinutes", 20}, {"enabled", false}, {"disarmedUntil", NSDate{kStart + 1200}}},
        kSettings, true));
    DeviceEvents::clear();
    msg(panel(), "setState:forSwitchIdentifier:", NSInteger{1}, kSwitch);
    settings = dictionaryWithContentsOfFile(kSettings);
    ASSERT_TRUE(settings);
    EXPECT_EQ((*settings)["enabled"], PlistValue(true));
    EXPECT_EQ((*settings)["disarmedUntil"], PlistValue(NSDate{kStart + 1200}));
    EXPECT_EQ(DeviceEvents::ofKind("file written").size(), 1u);
}

TEST(Flipswitch, WithoutTheSwitchInstalledNothingHappens) {
    DeviceRootFixture device(DeviceRootFixture::Options{.addons = {"flipswitch"}, .package = false});
    MSLoadTweaksForHost("com.apple.springboard");
    observeSettingsNotification();
    msg(panel(), "setState:forSwitchIdentifier:", NSInteger{1}, kSwitch);
    RunLoop::main().drain();
    EXPECT_FALSE(dictionaryWithContentsOfFile(kSettings));
    EXPECT_EQ(gNotifications, 0);
    EXPECT_EQ(msg<NSInteger>(panel(), "stateForSwitchIdentifier:", kSwitch), -1);
}

TEST(Flipswitch, TheSwitchStartsFromNothingWhenTheFileIsMissing) {
    DeviceRootFixture device(
        DeviceRootFixture::Options{.addons = {"flipswitch", "hushmarkfs"}, .package = false});
    MSLoadTweaksForHost("com.apple.springboard");
    msg(panel(), "setState:forSwitchIdentifier:", NSInteger{1}, kSwitch);
    auto settings = dictionaryWithContentsOfFile(kSettings);
    ASSERT_TRUE(settings);
    EXPECT_EQ(*settings, (PlistDict{{"enabled", true}, {"disarmedUntil", NSDate{kStart + 3600}}}));
}

} // namespace
