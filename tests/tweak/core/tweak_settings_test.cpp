#include "core/TweakSettings.h"

#include <gtest/gtest.h>

namespace {

TEST(TweakSettings, NoFileAtStartUpKeepsTheInitialValues) {
    TweakSettings s;
    EXPECT_FALSE(readTweakSettings(s, std::nullopt));
    EXPECT_FALSE(s.enabled);
    EXPECT_TRUE(s.enableIcon);
    EXPECT_FALSE(s.enableAlertButtons);
    EXPECT_EQ(s.disarmSeconds, 3600);
    EXPECT_FALSE(s.disarmedUntil);
    EXPECT_TRUE(s.settingsCopy.empty());
}

TEST(TweakSettings, AnUnreadableFileTurnsOnlyEnabledOffAndEmptiesTheCopy) {
    TweakSettings s;
    ASSERT_TRUE(readTweakSettings(s, PlistDict{{"enabled", true},
                                               {"enableAlertButtons", true},
                                               {"disableForMinutes", 5},
                                               {"disarmedUntil", NSDate{900}},
                                               {"buttonText", "Quiet"}}));
    EXPECT_FALSE(readTweakSettings(s, std::nullopt));
    EXPECT_FALSE(s.enabled);
    EXPECT_TRUE(s.enableAlertButtons);
    EXPECT_EQ(s.disarmSeconds, 300);
    EXPECT_EQ(s.disarmedUntil, NSDate{900});
    EXPECT_EQ(s.buttonText, "Quiet");
    EXPECT_TRUE(s.settingsCopy.empty());
}

TEST(TweakSettings, AbsentSwitchesAndMinutesKeepTheirLastValues) {
    TweakSettings s;
    readTweakSettings(s, PlistDict{{"enabled", true}, {"enableIcon", false}, {"disableForMinutes", 2}});
    readTweakSettings(s, PlistDict{{"other", "kept"}});
    EXPECT_TRUE(s.enabled);
    EXPECT_FALSE(s.enableIcon);
    EXPECT_EQ(s.disarmSeconds, 120);
    EXPECT_EQ(valueForKey(s.settingsCopy, "other"), PlistValue("kept"));
}

TEST(TweakSettings, DeadlineTextAndColorAreAlwaysReplaced) {
    TweakSettings s;
    readTweakSettings(
        s, PlistDict{{"disarmedUntil", NSDate{42}}, {"buttonText", ""}, {"buttonColor", "#00FF00"}});
    EXPECT_EQ(s.disarmedUntil, NSDate{42});
    EXPECT_EQ(s.buttonText, ""); // an empty text stays empty
    EXPECT_EQ(s.buttonColors.value, 0x00FF00u);

    readTweakSettings(s, PlistDict{});
    EXPECT_FALSE(s.disarmedUntil);
    EXPECT_EQ(s.buttonText, "Hushmark");
    EXPECT_EQ(s.buttonColors.value, 0xFF0000u);
    EXPECT_FALSE(s.buttonColors.titleIsBlack);
}

TEST(TweakSettings, ValuesAreReadWithTheDeviceReadings) {
    struct Case {
        PlistValue minutes;
        std::int32_t seconds;
    };
    for (const Case& c :
         {Case{PlistValue("abc"), 0}, Case{PlistValue(" +0015min"), 900}, Case{PlistValue(1.9), 60},
          Case{PlistValue(-2), -120}, Case{PlistValue(35791395), -2147483596}}) {
        TweakSettings s;
        readTweakSettings(s, PlistDict{{"disableForMinutes", c.minutes}});
        EXPECT_EQ(s.disarmSeconds, c.seconds);
    }
    struct BoolCase {
        PlistValue value;
        bool enabled;
    };
    for (const BoolCase& c :
         {BoolCase{PlistValue("YES"), true}, BoolCase{PlistValue("  -007"), true},
          BoolCase{PlistValue("no"), false}, BoolCase{PlistValue(0), false}, BoolCase{PlistValue(2), true}}) {
        TweakSettings s;
        s.enabled = !c.enabled;
        readTweakSettings(s, PlistDict{{"enabled", c.value}});
        EXPECT_EQ(s.enabled, c.enabled);
    }
}

} // namespace
