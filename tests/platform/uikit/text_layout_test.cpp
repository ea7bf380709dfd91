#include "uikit/AlertLayout.h"
#include "uikit/TextLayout.h"
#include "uikit/UILabel.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

namespace {

// Every byte 10 points wide, so widths are easy to reason about (the ellipsis is 3 bytes).
double tenPerByte(std::string_view s) {
    return 10.0 * double(s.size());
}

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
    ::testing::Values(LayoutCase{"one two three", 0, 0, {"one two three"}},     // no width: no wrapping
                      LayoutCase{"one two three", 70, 0, {"one two", "three"}}, // wraps at spaces
                      LayoutCase{"one two three", 70, 1, {"one \xE2\x80\xA6"}}, // one line: truncated
                      LayoutCase{"one two three", 1000, 1, {"one two three"}},
                      LayoutCase{"a\nb", 1000, 1, {"a\xE2\x80\xA6"}}, // a line feed still breaks
                      LayoutCase{"a\n\nb", 1000, 0, {"a", "", "b"}},
                      LayoutCase{"abcdefghij", 40, 0, {"abcd", "efgh", "ij"}}, // a long word breaks anywhere
                      LayoutCase{"one two three four",
                                 70,
                                 2,
                                 {"one two", "thre\xE2\x80\xA6"}}, // dropped lines end in an ellipsis
                      LayoutCase{"", 50, 0, {""}}));

TEST(TextLayout, NeverSplitsAMultiByteCharacter) {
    // "é" is two bytes (20 points here): a 30-point line holds one, never one and a half.
    const auto lines = layoutTextLines("\xC3\xA9\xC3\xA9\xC3\xA9", 30, 0, tenPerByte);
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& l : lines)
        EXPECT_EQ(l, "\xC3\xA9");
}

TEST(LabelSizeToFit, MeasuresWithTheLabelFont) {
    id label = makeView("UILabel", CGRectMake(15, 10, 290, 40));
    msg(label, "setText:", "#FFFFFFF");
    msg(label, "sizeToFit");
    const CGRect one = msg<CGRect>(label, "frame");
    EXPECT_EQ(one.origin, CGPointMake(15, 10));
    // Helvetica's widths at 17 points: "#FFFFFFF" is 82.2 points; a line is 20.4. Rounded up.
    EXPECT_EQ(one.size.width, 83);
    EXPECT_EQ(one.size.height, 21);
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
    EXPECT_EQ(w.size.height, 41);

    msg(label, "setText:", "");
    msg(label, "sizeToFit");
    EXPECT_EQ(msg<CGRect>(label, "frame").size, CGSizeZero);
}

// Widths of the device's system font (Helvetica's metrics), so text wraps and truncates where
// it does on a device: each of these fits its box whole, or not, as there.
struct FitCase {
    const char* name;
    const char* text;
    double width;
    bool fits;
};
class LabelFontWidths : public ::testing::TestWithParam<FitCase> {};

TEST_P(LabelFontWidths, FitOnOneLineAsOnADevice) {
    const FitCase& c = GetParam();
    const auto lines = labelShownLines(c.text, {c.width, 21}, 1);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0] == c.text, c.fits) << lines[0];
}

INSTANTIATE_TEST_SUITE_P(Texts, LabelFontWidths,
                         ::testing::Values(FitCase{"PickerTopLeft", "Brightness: 100%", 140,
                                                   true}, // 133.2: the top labels are 140
                                           FitCase{"PickerTopRight", "100% :Saturation", 140, true}, // 130.4
                                           FitCase{"Narrower", "100% :Saturation", 130, false},
                                           FitCase{"BackButton", "\xE2\x80\xB9 Hushmark", 96,
                                                   true}, // 87.8, beside "Button Color"
                                           FitCase{"Status", "Alarms Enabled", 121, true}, // 120.0
                                           FitCase{"StatusNarrower", "Alarms Enabled", 119, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LabelShownLines, OneLineIsCutAtTheTailAndMoreStopAtTheBoxHeight) {
    const std::string status = "Hushmarked Until: Monday, December 7, 2026 at 8:20:10 AM";
    const auto one = labelShownLines(status, {290, 44}, 1);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].rfind("Hushmarked Until: Monday", 0), 0u) << one[0];
    EXPECT_EQ(one[0].substr(one[0].size() - 3), "\xE2\x80\xA6");
    EXPECT_LE(labelTextSize(one[0], 0, 1).width, 290);
    // Cut as late as it can: one more character of the text would not fit with the ellipsis.
    const std::string kept = one[0].substr(0, one[0].size() - 3);
    EXPECT_GT(labelTextSize(status.substr(0, kept.size() + 1) + "\xE2\x80\xA6", 0, 1).width, 290);

    // As many lines as the box holds (two of 20.4 in 44), the last cut, however many are allowed.
    const auto two = labelShownLines(status, {150, 44}, 0);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[1].substr(two[1].size() - 3), "\xE2\x80\xA6");
    EXPECT_EQ(labelShownLines(status, {150, 10}, 0).size(), 1u) << "at least one";

    id label = makeView("UILabel", CGRectMake(0, 0, 290, 44));
    msg(label, "setText:", status);
    EXPECT_EQ(cast<UILabel>(label)->shownLines(), one);
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
