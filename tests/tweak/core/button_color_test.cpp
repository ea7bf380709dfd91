#include "core/ButtonColor.h"

#include <gtest/gtest.h>

namespace {

struct ColorCase {
    const char* text;
    std::uint32_t value;
    bool clear;
    bool blackTitle;
};
void PrintTo(const ColorCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class ParseButtonColor : public testing::TestWithParam<ColorCase> {};

TEST_P(ParseButtonColor, GivesValueBackgroundAndTitle) {
    const ColorCase& c = GetParam();
    ButtonColors colors = parseButtonColor(c.text);
    EXPECT_EQ(colors.value, c.value);
    EXPECT_EQ(colors.buttonIsClear, c.clear);
    EXPECT_EQ(colors.titleIsBlack, c.blackTitle);
    if (c.clear) {
        EXPECT_EQ(colors.buttonColor, (RgbaColor{0, 0, 0, 0}));
    } else {
        EXPECT_DOUBLE_EQ(colors.buttonColor.red, ((c.value >> 16) & 0xFF) / 255.0);
        EXPECT_DOUBLE_EQ(colors.buttonColor.green, ((c.value >> 8) & 0xFF) / 255.0);
        EXPECT_DOUBLE_EQ(colors.buttonColor.blue, (c.value & 0xFF) / 255.0);
        EXPECT_EQ(colors.buttonColor.alpha, 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseButtonColor,
    testing::Values(
        // Red with or without "#": white title (1 - L/255 = 0.7874).
        ColorCase{"#FF0000", 0xFF0000, false, false}, ColorCase{"FF0000", 0xFF0000, false, false},
        ColorCase{"##ff0000", 0xFF0000, false, false},
        // Green is light (0.2848): black title.
        ColorCase{"00FF00", 0x00FF00, false, true},
        // The threshold: 808080 gives 0.4980 (black), 7F7F7F gives 0.5020 (white).
        ColorCase{"808080", 0x808080, false, true}, ColorCase{"7F7F7F", 0x7F7F7F, false, false},
        // White, over 24 bits, no digit, leading white space, empty: clear with a black title.
        ColorCase{"FFFFFF", 0xFFFFFF, true, true}, ColorCase{"ffffff00", 0xFFFFFF, true, true},
        ColorCase{"xyz", 0xFFFFFF, true, true}, ColorCase{" FF0000", 0xFFFFFF, true, true},
        ColorCase{"", 0xFFFFFF, true, true}, ColorCase{"#", 0xFFFFFF, true, true},
        ColorCase{"FFFFFFFFFFFF", 0xFFFFFF, true, true},
        // Hex prefix of either case; trailing text ignored.
        ColorCase{"0x0000ff", 0x0000FF, false, false}, ColorCase{"#0X00ff00", 0x00FF00, false, true},
        ColorCase{"12zz", 0x000012, false, false},
        // "0x" without a digit after it reads the 0 alone.
        ColorCase{"0xg", 0x000000, false, false}));

} // namespace
