// The color a new cell starts with: stored text or "default", the hex text shown, the parsed
// channels, the sample's opacity and the picker type.
#include "cell/ColorCellInitialLoad.h"
#include "cell/HexColorRule.h"

#include <gtest/gtest.h>

namespace {

struct HexCase {
    const char* text;
    ColorChannels channels;
};
class HexColorRuleTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexColorRuleTest, ReadsOneHexNumberAfterLeadingHashes) {
    EXPECT_EQ(hexColorChannels(GetParam().text), GetParam().channels) << '"' << GetParam().text << '"';
}

constexpr ColorChannels kWhite{255, 255, 255};
INSTANTIATE_TEST_SUITE_P(
    Table, HexColorRuleTest,
    ::testing::Values(HexCase{"ff8000", {255, 128, 0}}, HexCase{"#00ff00", {0, 255, 0}},
                      HexCase{"##00FF00#", {0, 255, 0}}, HexCase{"0x0000ff", {0, 0, 255}},
                      HexCase{"0X0000FF", {0, 0, 255}},
                      HexCase{"abc", {0, 10, 188}},    // a number, not a three-digit shorthand
                      HexCase{"FF00GG", {0, 255, 0}},  // the scan stops at the first G
                      HexCase{"1000000", kWhite},      // seven digits: above 24 bits
                      HexCase{"FFFFFFFFFFFF", kWhite}, // too long for 32 bits
                      HexCase{"", kWhite}, HexCase{"xyz", kWhite}, HexCase{" FF0000", kWhite},
                      HexCase{"000000", {0, 0, 0}}, HexCase{"FFFFFF", kWhite}));

struct LoadCase {
    const char* name;
    std::string defaultValue;
    std::optional<StoredColorSettings> file;
    std::string hexText;
    ColorChannels channels;
    float alpha;
    int pickerType;
};

class InitialLoadTest : public ::testing::TestWithParam<LoadCase> {};

TEST_P(InitialLoadTest, StoredTextWinsOverDefaultAndIsShownUpperCased) {
    const LoadCase& c = GetParam();
    const InitialColor initial = initialColorFor(c.defaultValue, c.file);
    EXPECT_EQ(initial.hexText, c.hexText);
    EXPECT_EQ(initial.channels, c.channels);
    EXPECT_EQ(initial.buttonAlphaLevel, c.alpha);
    EXPECT_EQ(initial.colorPickerType, c.pickerType);
}

StoredColorSettings stored(std::optional<std::string> value, std::optional<float> alpha = {},
                           std::optional<int> type = {}) {
    return {std::move(value), alpha, type};
}

INSTANTIATE_TEST_SUITE_P(
    Table, InitialLoadTest,
    ::testing::Values(
        LoadCase{"orange", "#FF0000", stored("#ff8000"), "#FF8000", {255, 128, 0}, 1.0f, 0},
        LoadCase{"shortNumber", "#FF0000", stored("abc"), "#ABC", {0, 10, 188}, 1.0f, 0},
        LoadCase{"hashesBothEnds", "#FF0000", stored("##00ff00#"), "#00FF00", {0, 255, 0}, 1.0f, 0},
        // the hex text is the stored text, not the parsed color
        LoadCase{"notHex", "#FF0000", stored("FF00GG"), "#FF00GG", {0, 255, 0}, 1.0f, 0},
        LoadCase{"sevenDigits", "#FF0000", stored("1234567"), "#1234567", kWhite, 1.0f, 0},
        LoadCase{"empty", "#FF0000", stored(""), "#", kWhite, 1.0f, 0},
        LoadCase{"noDigits", "#FF0000", stored("xyz"), "#XYZ", kWhite, 1.0f, 0},
        LoadCase{"leadingBlank", "#FF0000", stored(" FF0000"), "# FF0000", kWhite, 1.0f, 0},
        LoadCase{"halfOpacity", "#FF0000", stored("FF0000", 50.0f), "#FF0000", {255, 0, 0}, 0.5f, 0},
        LoadCase{"pickerType", "#FF0000", stored("FF0000", {}, 2), "#FF0000", {255, 0, 0}, 1.0f, 2},
        // a file without the key keeps the default and still gives the other two
        LoadCase{"keyMissing", "#00ff00", stored(std::nullopt, 25.0f, 1), "#00FF00", {0, 255, 0}, 0.25f, 1},
        LoadCase{"noFile", "#00ff00", std::nullopt, "#00FF00", {0, 255, 0}, 1.0f, 0},
        LoadCase{"noDefault", "", std::nullopt, "#", kWhite, 1.0f, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TrimmedHashes, RemovesHashesAtEitherEndOnly) {
    EXPECT_EQ(trimmedHashes("##a#b##"), "a#b");
    EXPECT_EQ(trimmedHashes("###"), "");
    EXPECT_EQ(trimmedHashes(" #a"), " #a");
}

} // namespace
