// The color-text rule and the black-or-white rule: what each stored text reads as, and which
// text color goes on it.
#include "foundation/NSScanner.h"
#include "rules/ColorText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TextCase {
    const char* text;
    std::uint32_t value;
};

TEST(ColorText, ReadsOneHexNumberAfterHashesAndClampsToWhite) {
    const TextCase cases[] = {
        {"#FF0000", 0xFF0000},      {"FF0000", 0xFF0000},  {"##ff0000", 0xFF0000}, {"0x0000ff", 0x0000FF},
        {"#0X00ff00", 0x00FF00},    {"12zz", 0x000012}, // stops at the first other character
        {"0xg", 0x000000},                              // "0x" without a digit: the 0 alone
        {"000000", 0x000000},                           // black is a value, not "no digit"
        {"FFFFFF", 0xFFFFFF},       {"1000000", 0xFFFFFF}, {"ffffff00", 0xFFFFFF}, // above 24 bits: white
        {"123456789ABC", 0xFFFFFF},                                         // too long for 32 bits: white
        {"xyz", 0xFFFFFF},          {"", 0xFFFFFF},        {"#", 0xFFFFFF}, // no digit: white
        {" FF0000", 0xFFFFFF},                                              // white space is not skipped
        {"FF0000#", 0xFF0000},      {"#FFFFFE", 0xFFFFFE},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(colorValueOfText(c.text, NSScannerScanHexInt), c.value) << '"' << c.text << '"';
}

// A scan that finds no digit leaves the value alone, whatever the scanner's verdict: the rule
// starts from white and does not consult it. The skip set is "#" and nothing else.
std::string skippedBy;
bool scanNothing(std::string_view, std::string_view skip, unsigned*) {
    skippedBy = skip;
    return false;
}
bool scanAbove24Bits(std::string_view, std::string_view, unsigned* result) {
    *result = 0x01000000;
    return true;
}

TEST(ColorText, HandsTheScannerOnlyTheHashAndKeepsWhiteWhenItFindsNothing) {
    EXPECT_EQ(colorValueOfText("whatever", scanNothing), 0xFFFFFFu);
    EXPECT_EQ(skippedBy, "#");
    EXPECT_EQ(colorValueOfText("whatever", scanAbove24Bits), 0xFFFFFFu);
}

TEST(ColorText, ChannelsAreTheValuesThreeBytes) {
    EXPECT_EQ(channelsOfValue(0x123456), (ColorChannels{0x12, 0x34, 0x56}));
    EXPECT_EQ(channelsOfValue(0xFF0080), (ColorChannels{255, 0, 128}));
    EXPECT_EQ(channelsOfValue(0), (ColorChannels{0, 0, 0}));
}

struct TextColorCase {
    ColorChannels color;
    bool black;
    const char* why;
};

TEST(BlackOrWhiteText, BlackBelowHalfDarknessByTheBt709Weights) {
    const TextColorCase cases[] = {
        {{255, 0, 0}, false, "red: darkness 0.7874"},
        {{0, 255, 0}, true, "green: darkness 0.2848"},
        {{0, 0, 255}, false, "blue: darkness 0.9278"},
        {{128, 128, 128}, true, "darkness 0.4980"},
        {{127, 127, 127}, false, "darkness 0.5020"},
        {{255, 255, 255}, true, "white"},
        {{0, 0, 0}, false, "black"},
        // The weights tell these apart: with equal weights both would be dark.
        {{0, 180, 0}, true, "green 180: luma 128.7"},
        {{255, 0, 255}, false, "magenta: luma 72.6"},
    };
    for (const TextColorCase& c : cases)
        EXPECT_EQ(takesBlackText(c.color), c.black) << c.why;
    EXPECT_NEAR(lumaOf({255, 128, 0}), 0.2126 * 255 + 0.7152 * 128, 1e-12);
}

} // namespace
