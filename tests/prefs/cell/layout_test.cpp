// Frames of every view of the color cell, in both arrangements, at an integral and a half width.
#include "cell/ColorCellLayout.h"

#include <gtest/gtest.h>

namespace {

struct LayoutCase {
    double w;
    bool pickerAbove;
    float sampleWidth;
    double rowBase, pickerTop;
};

class ColorCellLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ColorCellLayoutTest, EveryRowSitsWhereTheLayoutTablePutsIt) {
    const LayoutCase c = GetParam();
    const double tw = 96, th = 21;
    const ColorCellLayout l = colorCellLayout(c.w, c.pickerAbove, tw, th);

    EXPECT_EQ(l.sampleWidth, c.sampleWidth);
    EXPECT_EQ(l.rowBaseY, c.rowBase);
    EXPECT_EQ(l.pickerTop, c.pickerTop);
    EXPECT_EQ(hexMeasureFrame(c.w), (CellFrame{15, 10, c.w - 30, 40}));
    EXPECT_EQ(l.hexField, (CellFrame{c.w / 2 - 48, 10, tw, th}));
    EXPECT_EQ(l.sample, (CellFrame{15, 41, c.sampleWidth, 38}));
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const double y = c.rowBase + 68 * i;
        EXPECT_EQ(l.captions[i], (CellFrame{15, y, c.w - 120, 20}));
        EXPECT_EQ(l.channelButtons[i], (CellFrame{c.w - 75, y - 7, 60, 30}));
        EXPECT_EQ(l.sliders[i], (CellFrame{15, y + 18, c.w - 30, 40}));
    }
    EXPECT_EQ(l.picker, (CellFrame{0, c.pickerTop, c.w, 380}));
    EXPECT_EQ(l.help, (CellFrame{15, 685, c.w - 30, 100}));
}

INSTANTIATE_TEST_SUITE_P(Widths, ColorCellLayoutTest,
                         ::testing::Values(LayoutCase{320, true, 286, 490, 90}, LayoutCase{320, false, 286, 90, 285},
                                           // 286.5 rounds away from zero
                                           LayoutCase{320.5, true, 287, 490, 90},
                                           LayoutCase{320.5, false, 287, 90, 285},
                                           LayoutCase{319.5, true, 286, 490, 90}));

TEST(ColorCellLayout, ConcreteFramesAt320) {
    const ColorCellLayout above = colorCellLayout(320, true, 90, 20);
    EXPECT_EQ(above.channelButtons[0], (CellFrame{245, 483, 60, 30}));
    EXPECT_EQ(above.sliders[2], (CellFrame{15, 644, 290, 40}));  // ends at 684, right above the help
    EXPECT_EQ(above.captions[1], (CellFrame{15, 558, 200, 20}));
    const ColorCellLayout below = colorCellLayout(320, false, 90, 20);
    EXPECT_EQ(below.channelButtons[2], (CellFrame{245, 219, 60, 30}));
    EXPECT_EQ(below.sliders[2].y + below.sliders[2].height, 284);  // the picker starts right below
    EXPECT_EQ(below.picker.y + below.picker.height, 665);
}

} // namespace
