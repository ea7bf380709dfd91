#include "picker/PickerTexts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(PickerTexts, RoundingTakesHalvesAwayFromZeroAndStaysIn32Bits) {
    struct Case {
        double v;
        std::int32_t want;
    } cases[] = {
        {12.5, 13},
        {-12.5, -13},
        {2.5, 3},
        {0.4999999, 0},
        {359.5, 360},
        {-0.4, 0},
        {1e20, std::numeric_limits<std::int32_t>::max()},
        {-1e20, std::numeric_limits<std::int32_t>::min()},
        {std::nan(""), 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(roundHalfAway(c.v), c.want) << c.v;
    EXPECT_EQ(displayedValue(HsbComponent::Brightness, 0.125), 13);
    EXPECT_EQ(displayedValue(HsbComponent::Hue, 1.0), 360);
    EXPECT_EQ(displayedValue(HsbComponent::Hue, 0.5), 180);
}

TEST(PickerTexts, LabelTextsOfTheThreeLayouts) {
    const HsbComponents hsb{0.5, 0.125, 0.75};
    struct Case {
        const PickerLayout* layout;
        const char *topLeft, *topRight, *slider, *title;
    } cases[] = {
        {&kPickerLayoutB, "Saturation: 13%", "180° : Hue", "75%", "Brightness:"},
        {&kPickerLayoutH, "Brightness: 75%", "13% :Saturation", "180°", "Hue:"},
        {&kPickerLayoutS, "Brightness: 75%", "180° : Hue", "13%", "Saturation:"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(componentText(c.layout->topLeftText, hsb), c.topLeft);
        EXPECT_EQ(componentText(c.layout->topRightText, hsb), c.topRight);
        EXPECT_EQ(componentText(c.layout->sliderValueText, hsb), c.slider);
        EXPECT_STREQ(c.layout->sliderTitle, c.title);
    }
}

TEST(PickerTexts, EachPromptHasItsTagAndMessage) {
    const HsbComponents hsb{1.0, 0.333, 0.125};
    struct Case {
        HsbComponent component;
        long tag;
        const char* message;
    } cases[] = {
        {HsbComponent::Hue, 3026, "Please enter a Hue value between 0° and 360°\n current value is: 360°"},
        {HsbComponent::Brightness, 3027,
         "Please enter a Brightness value between 0% and 100%\n current value is: 13%"},
        {HsbComponent::Saturation, 3028,
         "Please enter a Saturation value between 0% and 100%\n current value is: 33%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(entryPromptFor(c.component).tag, c.tag);
        EXPECT_EQ(entryComponentForTag(c.tag), c.component);
        EXPECT_EQ(entryMessage(c.component, hsb), c.message);
    }
    EXPECT_EQ(entryComponentForTag(2626), std::nullopt);
}

TEST(PickerTexts, TypedEntryChangesOnlyItsComponentAndOnlyOnOk) {
    struct Case {
        long tag;
        long button;
        float typed;
        bool changes;
        HsbComponents want;
    } cases[] = {
        {3026, 1, 360, true, {1.0, 0.5, 0.5}},
        {3026, 1, 90, true, {0.25, 0.5, 0.5}},
        {3027, 1, 0, true, {0.5, 0.5, 0}},
        {3028, 1, 150, true, {0.5, 1.5, 0.5}}, // as typed; the color made from it clamps
        {3028, 1, -20, true, {0.5, -0.2, 0.5}},
        {3026, 0, 90, false, {0.5, 0.5, 0.5}}, // Cancel
        {2626, 1, 90, false, {0.5, 0.5, 0.5}}, // not a picker prompt
    };
    for (const Case& c : cases) {
        HsbComponents hsb{0.5, 0.5, 0.5};
        EXPECT_EQ(applyTypedEntry(hsb, c.tag, c.button, c.typed), c.changes) << c.tag << " " << c.typed;
        EXPECT_NEAR(hsb.hue, c.want.hue, 1e-7);
        EXPECT_NEAR(hsb.saturation, c.want.saturation, 1e-7);
        EXPECT_NEAR(hsb.brightness, c.want.brightness, 1e-7);
    }
}

} // namespace
