#include "core/Highlight.h"

#include <gtest/gtest.h>

namespace {

struct HighlightCase {
    const char* name;
    bool clear;
    std::optional<RgbaColor> background;
    std::optional<RgbaColor> expected;
};
void PrintTo(const HighlightCase& c, std::ostream* os) {
    *os << '"' << c.name << '"';
}

class Highlight : public testing::TestWithParam<HighlightCase> {};

TEST_P(Highlight, LightensDarkAndDarkensOtherColorsKeepingAlpha) {
    const HighlightCase& c = GetParam();
    std::optional<RgbaColor> got = highlightColor(c.clear, c.background);
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (!got)
        return;
    EXPECT_NEAR(got->red, c.expected->red, 1e-12);
    EXPECT_NEAR(got->green, c.expected->green, 1e-12);
    EXPECT_NEAR(got->blue, c.expected->blue, 1e-12);
    EXPECT_EQ(got->alpha, c.expected->alpha);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Highlight,
    testing::Values(
        HighlightCase{"Clear", true, RgbaColor{0, 0, 0, 0}, RgbaColor{0, 0, 0, 0.075}},
        HighlightCase{"Red", false, RgbaColor{1, 0, 0, 1}, RgbaColor{0.8, 0, 0, 1}},
        HighlightCase{"DarkGray", false, RgbaColor{0.1, 0.1, 0.1, 1}, RgbaColor{0.3, 0.3, 0.3, 1}},
        HighlightCase{"OneLightComponent", false, RgbaColor{0.3, 0.5, 0.3, 1}, RgbaColor{0.1, 0.3, 0.1, 1}},
        // 0.4 is not dark: darkened.
        HighlightCase{"ExactlyPointFour", false, RgbaColor{0.4, 0.4, 0.4, 1}, RgbaColor{0.2, 0.2, 0.2, 1}},
        HighlightCase{"JustBelowPointFour", false, RgbaColor{0.39, 0.0, 0.39, 0.5},
                      RgbaColor{0.59, 0.2, 0.59, 0.5}},
        HighlightCase{"FloorsAtZero", false, RgbaColor{0.5, 0.1, 0.0, 1}, RgbaColor{0.3, 0.0, 0.0, 1}},
        HighlightCase{"NotReadableAsRgb", false, std::nullopt, std::nullopt}),
    [](const testing::TestParamInfo<HighlightCase>& info) { return info.param.name; });

} // namespace
