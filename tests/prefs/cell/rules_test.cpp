// The cell's color and editing rules: text color, hex text, labels, picker components, prompts.
#include "cell/ColorCellEditing.h"
#include "cell/ColorRules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct FontCase {
    int r, g, b;
    float a;
    bool white;
};

class TextColorRule : public ::testing::TestWithParam<FontCase> {};

TEST_P(TextColorRule, PicksWhiteOnlyForDarkComposites) {
    const FontCase c = GetParam();
    EXPECT_EQ(useWhiteFont(c.r, c.g, c.b, c.a), c.white) << c.r << "," << c.g << "," << c.b << " @" << c.a;
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextColorRule,
    ::testing::Values(FontCase{127, 127, 127, 1, true}, FontCase{128, 128, 128, 1, false},
                      FontCase{0, 0, 255, 1, true}, FontCase{0, 255, 0, 1, false},
                      FontCase{255, 255, 0, 1, false}, FontCase{255, 0, 0, 1, true}, // luma 54.21
                      FontCase{255, 128, 0, 1, false},                               // luma 145.76
                      FontCase{0, 10, 188, 1, true},
                      // half opacity: red composites to (255, 127, 127), luma 154.21
                      FontCase{255, 0, 0, 0.5f, false},
                      // black at half opacity composites to 127.5, truncated to 127: white text
                      FontCase{0, 0, 0, 0.5f, true},
                      // opacity 0: everything composites to white
                      FontCase{0, 0, 0, 0, false}, FontCase{0, 0, 255, 0, false},
                      // gray 127 at 0.9 composites to 139.8: black text
                      FontCase{127, 127, 127, 0.9f, false}));

TEST(HexText, IsUpperCaseWithTwoDigitsPerChannel) {
    EXPECT_EQ(hexTextForChannels({255, 128, 0}), "#FF8000");
    EXPECT_EQ(hexTextForChannels({0, 10, 188}), "#000ABC");
    EXPECT_EQ(hexTextForChannels({0, 0, 0}), "#000000");
}

TEST(SliderChannels, TruncateTowardZero) {
    EXPECT_EQ(channelsFromSliderValues(12.7f, 254.996f, 0.99f), (ColorChannels{12, 254, 0}));
    EXPECT_EQ(channelsFromSliderValues(-0.5f, 255.0f, 128.0f), (ColorChannels{0, 255, 128}));
}

TEST(Truncation, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(truncateToInt(1e30), 2147483647);
    EXPECT_EQ(truncateToInt(-1e30), -2147483647 - 1);
    EXPECT_EQ(truncateToInt(std::nan("")), 0);
    EXPECT_EQ(truncateToInt(-12.9), -12);
}

TEST(PickerChoice, TwoIsBrightnessOneIsSaturationAnythingElseHue) {
    EXPECT_STREQ(pickerClassName(pickerTypeFor(2)), "HMColorPickerView_B");
    EXPECT_STREQ(pickerClassName(pickerTypeFor(1)), "HMColorPickerView_S");
    for (int t : {0, 3, -1, 100})
        EXPECT_STREQ(pickerClassName(pickerTypeFor(t)), "HMColorPickerView_H") << t;
}

struct LabelCase {
    float v;
    int shown;
};
class LabelRule : public ::testing::TestWithParam<LabelCase> {};

TEST_P(LabelRule, RoundsToHundredthsThenCuts) {
    EXPECT_EQ(labelNumberForSliderValue(GetParam().v), GetParam().shown) << GetParam().v;
}

INSTANTIATE_TEST_SUITE_P(Table, LabelRule,
                         ::testing::Values(LabelCase{12.7f, 12}, LabelCase{254.994f, 254},
                                           LabelCase{254.996f, 255}, LabelCase{0.0f, 0},
                                           LabelCase{255.0f, 255}, LabelCase{127.999f, 128},
                                           LabelCase{-3.5f, -3}));

TEST(LabelRule, FormatsThroughTheGivenFormatter) {
    const auto format = [](int n) { return "<" + std::to_string(n) + ">"; };
    EXPECT_EQ(labelTextForSliderValue(254.996f, format), "<255>");
}

TEST(PickerComponents, ScaleInDoubleRoundHalfAwayFromZero) {
    EXPECT_EQ(sliderValueForComponent(1.0), 255.0f);
    EXPECT_EQ(sliderValueForComponent(0.5), 128.0f);
    EXPECT_EQ(sliderValueForComponent(0.0), 0.0f);
    EXPECT_EQ(sliderValueForComponent(128.0 / 255.0), 128.0f);
    EXPECT_EQ(sliderValueForComponent(0.4999 / 255.0), 0.0f);
}

TEST(Prompts, ChannelMessagesTruncateTheBoundsAndAppendTheUnit) {
    EXPECT_EQ(channelPromptMessage(ColorChannel::Red, 0, 255, ""),
              "Please enter a value for Red between\n0 and 255");
    EXPECT_EQ(channelPromptMessage(ColorChannel::Green, -100.7f, 255.9f, " pt"),
              "Please enter a value for Green between\n-100 pt and 255 pt");
    EXPECT_EQ(channelPromptMessage(ColorChannel::Blue, 0, 255, "%"),
              "Please enter a value for Blue between\n0% and 255%");
    EXPECT_EQ(hexPromptMessage("#ABC"),
              "Please enter a hex value between\n#000000 and #FFFFFF\nCurrent value is: #ABC");
}

TEST(Prompts, MinusPrefillOnlyBelowZero) {
    EXPECT_EQ(channelPromptPrefill(-100), "-");
    EXPECT_EQ(channelPromptPrefill(-0.5f), "-");
    EXPECT_EQ(channelPromptPrefill(0), "");
}

TEST(Prompts, TagsAndAnswers) {
    EXPECT_EQ(promptTagForChannel(ColorChannel::Red), 2626);
    EXPECT_EQ(promptTagForChannel(ColorChannel::Green), 2627);
    EXPECT_EQ(promptTagForChannel(ColorChannel::Blue), 2628);
    EXPECT_EQ(promptAnswerFor(2626, 1), (PromptAnswer{PromptAnswer::Channel, ColorChannel::Red}));
    EXPECT_EQ(promptAnswerFor(2628, 1), (PromptAnswer{PromptAnswer::Channel, ColorChannel::Blue}));
    EXPECT_EQ(promptAnswerFor(2629, 1).kind, PromptAnswer::Hex);
    for (long tag : {2626L, 2627L, 2628L, 2629L})
        EXPECT_EQ(promptAnswerFor(tag, 0).kind, PromptAnswer::Ignore) << tag;
    EXPECT_EQ(promptAnswerFor(3026, 1).kind, PromptAnswer::Ignore);
    EXPECT_EQ(promptAnswerFor(2626, 2).kind, PromptAnswer::Ignore);
}

TEST(SettingsPath, NamesTheDomainFile) {
    EXPECT_EQ(colorSettingsPath("net.vexmoor.hushmark"),
              "/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist");
}

} // namespace
