#include "uikit/AlertLayout.h"
#include "uikit/TextLayout.h"
#include "uikit/UILabel.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

namespace {

// Every byte 10 points wide, so widths are easy to reason about (the ellipsis is 3 bytes).
double tenPerByte(std::string_view s) { return 10.0 * double(s.size()); }

struct LayoutCase {
    const char* text;
    double width;
    long maxLines;
    std::vector<std::string> lines;
};

class TextLayoutTable : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(TextLayoutTable, BreaksAsALabelShowsIt) {
    const LayoutCase& c = GetParam();
    EXPECT_EQ(layoutTextLines(c.text, c.width, c.maxLines, tenPerByte), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TextLayoutTable,
    ::testing::Values(
        LayoutCase{"one two three", 0, 0, {"one two three"}},                    // no width: no wrapping
        LayoutCase{"one two three", 70, 0, {"one two", "three"}},                // wraps at spaces
        LayoutCase{"one two three", 70, 1, {"one \xE2\x80\xA6"}},               // one line: truncated
        LayoutCase{"one two three", 1000, 1, {"one two three"}},
        LayoutCase{"a\nb", 1000, 1, {"a\xE2\x80\xA6"}},                         // a line feed still breaks
        LayoutCase{"a\n\nb", 1000, 0, {"a", "", "b"}},
        LayoutCase{"abcdefghij", 40, 0, {"abcd", "efgh", "ij"}},                 // a long word breaks anywhere
        LayoutCase{"one two three four", 70, 2, {"one two", "thre\xE2\x80\xA6"}}, // dropped lines end in an ellipsis
        LayoutCase{"", 50, 0, {""}}));

TEST(TextLayout, NeverSplitsAMultiByteCharacter) {
    // "é" is two bytes (20 points here): a 30-point line holds one, never one and a half.
    const auto lines = layoutTextLines("\xC3\xA9\xC3\xA9\xC3\xA9", 30, 0, tenPerByte);
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& l : lines) EXPECT_EQ(l, "\xC3\xA9");
}

TEST(LabelSizeToFit, MeasuresWithTheLabelFont) {
    id label = makeView("UILabel", CGRectMake(15, 10, 290, 40));
    msg(label, "setText:", "#FFFFFFF");
    msg(label, "sizeToFit");
    const CGRect one = msg<CGRect>(label, "frame");
    EXPECT_EQ(one.origin, CGPointMake(15, 10));
    // DejaVu Sans 17: about 0.6 em a glyph and 1.16 em a line, rounded up to whole points.
    EXPECT_GT(one.size.width, 70);
    EXPECT_LT(one.size.width, 110);
    EXPECT_EQ(one.size.height, 20);
    EXPECT_EQ(one.size.width, std::ceil(one.size.width));

    // One line ignores the width; more lines wrap at it and stack.
    id wide = makeView("UILabel", CGRectMake(0, 0, 10, 40));
    msg(wide, "setText:", "Brightness: Brightness:");
    msg(wide, "sizeToFit");
    EXPECT_GT(msg<CGRect>(wide, "frame").size.width, 150);
    id wrapped = makeView("UILabel", CGRectMake(0, 0, 120, 40));
    msg(wrapped, "setNumberOfLines:", NSInteger{0});
    msg(wrapped, "setText:", "Brightness: Brightness:");
    msg(wrapped, "sizeToFit");
    const CGRect w = msg<CGRect>(wrapped, "frame");
    EXPECT_LE(w.size.width, 120);
    EXPECT_EQ(w.size.height, 40);

    msg(label, "setText:", "");
    msg(label, "sizeToFit");
    EXPECT_EQ(msg<CGRect>(label, "frame").size, CGSizeZero);
}

TEST(AlertLayout, TwoButtonsSitSideBySideWithTheCancelButtonLeft) {
    AlertLayoutInput in;
    in.screen = {320, 568};
    in.titleHeight = 20;
    in.buttonCount = 2;
    in.cancelButtonIndex = 1;
    const AlertLayout l = layoutAlert(in);
    EXPECT_EQ(l.panel.size.width, kAlertWidth);
    EXPECT_EQ(l.panel.origin.x, 25);
    EXPECT_EQ(l.buttons[1].origin.x, 0);
    EXPECT_EQ(l.buttons[0].origin.x, kAlertWidth / 2);
    EXPECT_EQ(l.buttons[0].origin.y, l.buttons[1].origin.y);
    EXPECT_EQ(l.panel.size.height, l.buttonsTop + kAlertButtonHeight);
    EXPECT_NEAR(l.panel.origin.y * 2 + l.panel.size.height, 568, 1);
}

TEST(AlertLayout, OtherCountsStackWithTheCancelButtonLastAndTheAccessoryUnderThem) {
    AlertLayoutInput in;
    in.screen = {320, 568};
    in.messageHeight = 40;
    in.textFieldCount = 1;
    in.hasAccessory = true;
    in.accessoryHeight = 44;
    in.buttonCount = 3;
    in.cancelButtonIndex = 0;
    const AlertLayout l = layoutAlert(in);
    ASSERT_EQ(l.textFields.size(), 1u);
    EXPECT_GT(l.textFields[0].origin.y, CGRectGetMaxY(l.message));
    EXPECT_GE(l.buttonsTop, CGRectGetMaxY(l.textFields[0]));
    EXPECT_EQ(l.buttons[1].origin.y, l.buttonsTop);
    EXPECT_EQ(l.buttons[2].origin.y, l.buttonsTop + kAlertButtonHeight);
    EXPECT_EQ(l.buttons[0].origin.y, l.buttonsTop + 2 * kAlertButtonHeight);
    EXPECT_EQ(l.accessory.origin.y, CGRectGetMaxY(l.buttons[0]));
    EXPECT_EQ(l.accessory.size, CGSizeMake(kAlertWidth, 44));
    EXPECT_EQ(CGRectGetMaxY(l.accessory), l.panel.size.height);
}

} // namespace
