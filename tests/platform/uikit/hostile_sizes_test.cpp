// Sizes no screen has (1e308, infinity, NaN, past 2^31 pixels) reach the label and picture code
// without undefined behaviour: they give a defined result, and pictures too big to make are
// empty.
#include "uikit/UILabel.h"
#include "uikit/UISnapshot.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct BoxCase {
    const char* name;
    CGSize box;
    size_t lines;
};
void PrintTo(const BoxCase& c, std::ostream* os) {
    *os << c.name;
}

class HostileLabelBoxes : public ::testing::TestWithParam<BoxCase> {};

TEST_P(HostileLabelBoxes, ShowADefinedNumberOfLines) {
    const BoxCase& c = GetParam();
    EXPECT_EQ(labelShownLines("one two\nthree", c.box, 0).size(), c.lines);
}

INSTANTIATE_TEST_SUITE_P(Boxes, HostileLabelBoxes,
                         ::testing::Values(BoxCase{"Tall", {290, 1e308}, 2},
                                           BoxCase{"InfinitelyTall", {290, kInf}, 2},
                                           BoxCase{"TallerThanLongsCount", {290, 2e19 * 21}, 2},
                                           BoxCase{"NaNHigh", {290, kNaN}, 1},
                                           BoxCase{"NaNWide", {kNaN, 50}, 2}, BoxCase{"Wide", {1e308, 50}, 2},
                                           BoxCase{"NegativeHuge", {-1e308, 50}, 0},
                                           BoxCase{"NegativeInfinity", {290, -kInf}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

struct PictureCase {
    const char* name;
    CGRect frame;
    double scale;
    size_t width, height;
};
void PrintTo(const PictureCase& c, std::ostream* os) {
    *os << c.name;
}

class HostilePictures : public ::testing::TestWithParam<PictureCase> {};

TEST_P(HostilePictures, AreEmptyWhenTooBigToMake) {
    const PictureCase& c = GetParam();
    id view = makeView("UIView", c.frame);
    msg(view, "setBackgroundColor:", rgba(1, 0, 0));
    id label = makeView("UILabel", c.frame);
    msg(label, "setText:", "Hushmark");
    msg(view, "addSubview:", label);
    const SnapshotImage image = UISnapshotRenderView(view, c.scale);
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
}

INSTANTIATE_TEST_SUITE_P(Views, HostilePictures,
                         ::testing::Values(PictureCase{"Plain", {{0, 0}, {10, 20}}, 2, 20, 40},
                                           PictureCase{"Huge", {{0, 0}, {1e308, 20}}, 2, 0, 0},
                                           PictureCase{
                                               "PastTwoTo31Pixels", {{0, 0}, {1073741824, 1}}, 2, 0, 0},
                                           PictureCase{"Infinite", {{0, 0}, {10, kInf}}, 1, 0, 0},
                                           PictureCase{"NaNWide", {{0, 0}, {kNaN, 10}}, 1, 0, 10},
                                           PictureCase{"HugeScale", {{0, 0}, {10, 10}}, 1e308, 0, 0},
                                           PictureCase{"NaNScale", {{0, 0}, {10, 10}}, kNaN, 0, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
