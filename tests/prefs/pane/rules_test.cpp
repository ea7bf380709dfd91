// The root page's pure rules: status text, the button-color row's paint, disarm length and
// first-use seeding.
#include "pane/ButtonColorPaint.h"
#include "pane/DisarmLength.h"
#include "pane/FirstUseSeeding.h"
#include "pane/HushmarkStatus.h"

#include <gtest/gtest.h>

namespace {

struct StatusCase {
    const char* name;
    bool master;
    std::optional<double> deadlineFromNow;
    bool disarmed;
};

TEST(HushmarkStatus, DisarmedOnlyWhenEnabledAndTheDeadlineIsMoreThan15SecondsAhead) {
    const double now = 800000000;
    const StatusCase cases[] = {
        {"no deadline", true, std::nullopt, false},
        {"deadline past", true, -60, false},
        {"deadline now", true, 0, false},
        {"10 s ahead", true, 10, false},
        {"exactly 15 s ahead", true, 15, false},
        {"15.001 s ahead", true, 15.001, true},
        {"20 s ahead", true, 20, true},
        {"an hour ahead", true, 3600, true},
        {"master off, an hour ahead", false, 3600, false},
    };
    for (const StatusCase& c : cases) {
        std::optional<double> deadline;
        if (c.deadlineFromNow)
            deadline = now + *c.deadlineFromNow;
        EXPECT_EQ(statusShowsDisarmed(c.master, deadline, now), c.disarmed) << c.name;
    }
}

TEST(HushmarkStatus, DisarmedTextCarriesTheFormattedDeadline) {
    EXPECT_EQ(statusDisarmedText("12/7/26, 10:30:00 AM"), "Hushmarked Until: 12/7/26, 10:30:00 AM");
    EXPECT_EQ(statusDisarmedText(""), "Hushmarked Until: ");
}

struct PaintCase {
    std::optional<std::string_view> stored; // none: no text under "buttonColor"
    int red, green, blue;
    bool blackText;
};

TEST(ButtonColorPaint, StoredTextsPaintByTheHexRuleWithWhiteOpaque) {
    const PaintCase cases[] = {
        {"#FF0000", 255, 0, 0, false},
        {"FF0000", 255, 0, 0, false},
        {"##ff0000", 255, 0, 0, false},
        {"00FF00", 0, 255, 0, true},
        {"FFFFFF", 255, 255, 255, true},
        {"000000", 0, 0, 0, false},
        {"xyz", 255, 255, 255, true}, // no digit: white
        {"", 255, 255, 255, true},
        {"1FFFFFF", 255, 255, 255, true},      // above 24 bits: white
        {"123456789ABC", 255, 255, 255, true}, // too long for 32 bits: white
        {"0x0000ff", 0, 0, 255, false},
        {" FF0000", 255, 255, 255, true}, // white space is not skipped
        {"808080", 128, 128, 128, true},  // darkness 0.4980
        {"7F7F7F", 127, 127, 127, false}, // darkness 0.5020
        {"12zz", 0, 0, 0x12, false},      // the scan stops at the first other character
        {"0xg", 0, 0, 0, false},          // "0x" without a digit: the 0 alone
        {std::nullopt, 255, 255, 255, true},
    };
    for (const PaintCase& c : cases) {
        const std::string name = c.stored ? '"' + std::string(*c.stored) + '"' : "none";
        const ButtonColorPaint paint = buttonColorPaint(c.stored);
        EXPECT_DOUBLE_EQ(paint.red, c.red / 255.0) << name;
        EXPECT_DOUBLE_EQ(paint.green, c.green / 255.0) << name;
        EXPECT_DOUBLE_EQ(paint.blue, c.blue / 255.0) << name;
        EXPECT_EQ(paint.blackText, c.blackText) << name;
    }
}

TEST(DisarmLength, MinutesTimes60In32BitsOrAnHourWhenAbsent) {
    EXPECT_EQ(disarmLengthSeconds(std::nullopt), 3600);
    EXPECT_EQ(disarmLengthSeconds(30), 1800);
    EXPECT_EQ(disarmLengthSeconds(0), 0); // a stored zero is not the absent hour
    EXPECT_EQ(disarmLengthSeconds(-5), -300);
    // 40 000 000 minutes overflow 32 bits and wrap as the device's arithmetic does.
    EXPECT_EQ(disarmLengthSeconds(40000000), static_cast<int32_t>(2400000000u));
}

TEST(FirstUseSeeding, AnEmptyFileGetsExactlyTheFourStartingValues) {
    PlistDict settings;
    EXPECT_TRUE(seedFirstUse(settings));
    const PlistDict expected{{"buttonColor", PlistValue("#FF0000")},
                             {"buttonText", PlistValue("Hushmark")},
                             {"preferColorPicker", PlistValue(true)},
                             {"colorPickerType", PlistValue(0)}};
    EXPECT_EQ(settings, expected);
}

TEST(FirstUseSeeding, ValuesTheUserAlreadyHasAreKept) {
    PlistDict settings{{"buttonText", PlistValue("Snooze me not")},
                       {"colorPickerType", PlistValue(2)},
                       {"enabled", PlistValue(true)}};
    EXPECT_TRUE(seedFirstUse(settings));
    EXPECT_EQ(settings["buttonText"], PlistValue("Snooze me not"));
    EXPECT_EQ(settings["colorPickerType"], PlistValue(2));
    EXPECT_EQ(settings["buttonColor"], PlistValue("#FF0000"));
    EXPECT_EQ(settings["preferColorPicker"], PlistValue(true));
    EXPECT_EQ(settings["enabled"], PlistValue(true));
    EXPECT_EQ(settings.size(), 5u);
}

TEST(FirstUseSeeding, AStoredColorMeansNothingIsSeeded) {
    PlistDict settings{{"buttonColor", PlistValue("00FF00")}};
    EXPECT_FALSE(seedFirstUse(settings));
    EXPECT_EQ(settings.size(), 1u);
}

} // namespace
