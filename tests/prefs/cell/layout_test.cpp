// Where the color cell's views stand, read from the cell the host makes (320 points wide) and
// compared with the layout's own numbers: every frame in both arrangements, and the sample's
// width rounded half away from zero at the widths a cell cannot be made at here.
#include "ColorCellFixture.h"
#include "cell/ColorCellLayout.h"

#include <vector>

namespace {

CGRect frameOf(const id& view) {
    return msg<CGRect>(view, "frame");
}

struct ViewFrame {
    const char* name;
    id HMColorCell::*view;
    CGRect above; // the picker above the rows (the default)
    CGRect below; // the rows above the picker
};

const ViewFrame kFrames[] = {
    {"sample", &HMColorCell::buttonColorField, {{15, 41}, {286, 38}}, {{15, 41}, {286, 38}}},
    {"red caption", &HMColorCell::titleR, {{15, 490}, {200, 20}}, {{15, 90}, {200, 20}}},
    {"green caption", &HMColorCell::titleG, {{15, 558}, {200, 20}}, {{15, 158}, {200, 20}}},
    {"blue caption", &HMColorCell::titleB, {{15, 626}, {200, 20}}, {{15, 226}, {200, 20}}},
    {"red value", &HMColorCell::valueR, {{245, 483}, {60, 30}}, {{245, 83}, {60, 30}}},
    {"green value", &HMColorCell::valueG, {{245, 551}, {60, 30}}, {{245, 151}, {60, 30}}},
    {"blue value", &HMColorCell::valueB, {{245, 619}, {60, 30}}, {{245, 219}, {60, 30}}},
    {"red slider", &HMColorCell::sliderR, {{15, 508}, {290, 40}}, {{15, 108}, {290, 40}}},
    {"green slider", &HMColorCell::sliderG, {{15, 576}, {290, 40}}, {{15, 176}, {290, 40}}},
    {"blue slider", &HMColorCell::sliderB, {{15, 644}, {290, 40}}, {{15, 244}, {290, 40}}},
    {"picker", &HMColorCell::colorPickerView_H, {{0, 90}, {320, 380}}, {{0, 285}, {320, 380}}},
};

class ColorCellLayoutTest : public ColorCellTest, public ::testing::WithParamInterface<bool> {};

TEST_P(ColorCellLayoutTest, EveryViewStandsWhereTheLayoutPutsIt) {
    const bool pickerAbove = GetParam();
    const auto cell = makeCell(colorSpecifier(PlistValue(pickerAbove)));
    ASSERT_TRUE(cell);
    ASSERT_EQ(frameOf(cell).size.width, 320);
    for (const ViewFrame& f : kFrames) {
        const id v = (*cell).*f.view;
        ASSERT_TRUE(v) << f.name;
        EXPECT_EQ(frameOf(v), pickerAbove ? f.above : f.below) << f.name;
    }

    // The hex text is centered at the top; its button lies over it, each value button under
    // its label; the help text starts at 685 in both arrangements.
    const std::vector<id> views = msg<std::vector<id>>(msg<id>(cell, "contentView"), "subviews");
    const std::vector<id> ours(views.end() - 17, views.end());
    const CGRect hex = frameOf(cell->hexColorField);
    EXPECT_EQ(hex.origin.y, 10);
    EXPECT_GT(hex.size.width, 0);
    EXPECT_DOUBLE_EQ(hex.origin.x + hex.size.width / 2, 160);
    EXPECT_EQ(frameOf(ours[14]), hex);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(frameOf(ours[5 + i]), frameOf(ours[11 + i])) << i;
    EXPECT_EQ(frameOf(ours[16]).origin, (CGPoint{15, 685}));
    EXPECT_LE(frameOf(ours[16]).size.width, 290);
}

INSTANTIATE_TEST_SUITE_P(Arrangements, ColorCellLayoutTest, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return info.param ? "PickerAbove" : "PickerBelow";
                         });

TEST(ColorCellSampleWidth, WidthLess34RoundsHalfAwayFromZero) {
    const struct {
        double w;
        float sample;
    } cases[] = {{320, 286}, {320.5, 287}, {319.5, 286}, {320.25, 286}, {320.75, 287}};
    for (const auto& c : cases)
        EXPECT_EQ(colorCellLayout(c.w, true, 90, 20).sampleWidth, c.sample) << c.w;
}

} // namespace
