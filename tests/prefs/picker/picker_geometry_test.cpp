#include "picker/PickerGeometry.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <tuple>

namespace {

// A picker 320 by 400 with 20-point label lines: square (10, 40, 300, 280), bar (10, 354, 300,
// 40), slider labels at y 330, top labels ending at y 30.
constexpr double kPickerW = 320, kPickerH = 400, kPickerLh = 20;

TouchRegions regionsOf(const PickerFrames& f) {
    return {f.square, f.bar, f.sliderValueLabel.origin.y, f.topLeftLabel.origin.y + kPickerLh};
}

TEST(PickerFrames, PartsSitWhereThePickerPutsThem) {
    const PickerFrames f = pickerFrames({kPickerW, kPickerH}, kPickerLh);
    auto same = [](CGRect r, std::tuple<double, double, double, double> e) {
        return std::tie(r.origin.x, r.origin.y, r.size.width, r.size.height) == e;
    };
    EXPECT_TRUE(same(f.measuringLabel, {10, 10, 140, 40}));
    EXPECT_TRUE(same(f.topLeftLabel, {10, 10, 140, 20}));
    EXPECT_TRUE(same(f.topRightLabel, {170, 10, 140, 20}));
    EXPECT_TRUE(same(f.square, {10, 40, 300, kPickerH - kPickerLh - 100}));
    EXPECT_TRUE(same(f.bar, {10, 354, 300, 40}));
    EXPECT_TRUE(same(f.marker, {2, 350, 16, 48}));
    EXPECT_TRUE(same(f.sliderTitle, {60, 330, 100, 20}));
    EXPECT_TRUE(same(f.sliderValueLabel, {162, 330, 100, 20}));
    EXPECT_TRUE(same(f.sliderEntryButton, {60, 330, 200, 20}));
    EXPECT_TRUE(same(f.crosshair, {10, 40, 20, 20}));
    // The gaps the touch rules rely on: 10 points between the top labels and the square, and
    // between the square and the slider labels.
    EXPECT_EQ(f.square.origin.y - (f.topLeftLabel.origin.y + kPickerLh), 10);
    EXPECT_EQ(f.sliderValueLabel.origin.y - CGRectGetMaxY(f.square), 10);
}

// A readable test name from a description: letters and digits kept, the rest dropped.
std::string caseName(const std::string& what) {
    std::string name;
    bool upper = true;
    for (char ch : what) {
        if (std::isalnum(static_cast<unsigned char>(ch))) {
            name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(ch))) : ch;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}

struct DispatchCase {
    const char* what;
    CGPoint p;
    TouchTarget::Kind kind;
    CGPoint applied;
};

void PrintTo(const DispatchCase& c, std::ostream* os) {
    *os << c.what;
}

class TouchDispatch : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(TouchDispatch, PointGoesToTheRightPartWithTheRightClamp) {
    const DispatchCase& c = GetParam();
    const TouchTarget t = dispatchTouch(regionsOf(pickerFrames({kPickerW, kPickerH}, kPickerLh)), c.p);
    ASSERT_EQ(t.kind, c.kind) << c.what;
    if (c.kind == TouchTarget::Square) {
        EXPECT_EQ(t.point.x, c.applied.x) << c.what;
        EXPECT_EQ(t.point.y, c.applied.y) << c.what;
    } else if (c.kind == TouchTarget::Bar) {
        EXPECT_EQ(t.point.x, c.applied.x) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Edges, TouchDispatch,
    ::testing::Values(
        DispatchCase{"square top-left corner", {10, 40}, TouchTarget::Square, {10, 40}},
        DispatchCase{"square inside", {160, 180}, TouchTarget::Square, {160, 180}},
        DispatchCase{"right of the square, level with it", {400, 100}, TouchTarget::Square, {310, 100}},
        DispatchCase{"on the square's right border", {310, 100}, TouchTarget::Square, {310, 100}},
        DispatchCase{"left of the square", {-30, 100}, TouchTarget::Square, {10, 100}},
        DispatchCase{"between square and slider labels", {100, 325}, TouchTarget::Square, {100, 320}},
        DispatchCase{"just under the top labels", {100, 31}, TouchTarget::Square, {100, 40}},
        DispatchCase{"below and right of the square", {900, 329}, TouchTarget::Square, {310, 320}},
        DispatchCase{"bottom edge of the top labels", {100, 30}, TouchTarget::Ignored, {}},
        DispatchCase{"on the top labels", {100, 15}, TouchTarget::Ignored, {}},
        DispatchCase{"top of the slider label row", {100, 330}, TouchTarget::Ignored, {}},
        DispatchCase{"on the slider label row", {200, 340}, TouchTarget::Ignored, {}},
        DispatchCase{"below the bar", {100, 395}, TouchTarget::Ignored, {}},
        DispatchCase{"bar left end", {10, 360}, TouchTarget::Bar, {10, 0}},
        DispatchCase{"bar right border (outside the half-open bar)", {310, 360}, TouchTarget::Bar, {310, 0}},
        DispatchCase{"drag past the bar's left end", {-50, 370}, TouchTarget::Bar, {10, 0}},
        DispatchCase{
            "drag past the bar's right end, on its bottom line", {500, 394}, TouchTarget::Bar, {310, 0}}),
    [](const auto& info) { return caseName(info.param.what); });

struct LayoutEdges {
    const PickerLayout* layout;
    // Components after a touch at the square's left-top corner, at its right-bottom corner,
    // and at the bar's left and right ends (hue, saturation, brightness; -1: must stay as it was).
    HsbComponents leftTop, rightBottom, barLeft, barRight;
};

void PrintTo(const LayoutEdges& e, std::ostream* os) {
    *os << e.layout->className;
}

class TouchMapping : public ::testing::TestWithParam<LayoutEdges> {};

void expectComponents(const HsbComponents& got, const HsbComponents& want, const char* where) {
    EXPECT_DOUBLE_EQ(got.hue, want.hue) << where;
    EXPECT_DOUBLE_EQ(got.saturation, want.saturation) << where;
    EXPECT_DOUBLE_EQ(got.brightness, want.brightness) << where;
}

TEST_P(TouchMapping, EdgesGiveTheEndValuesAndTheUntouchedComponentStays) {
    const LayoutEdges& e = GetParam();
    const PickerFrames f = pickerFrames({kPickerW, kPickerH}, kPickerLh);
    const HsbComponents start{-1, -1, -1}; // marks what a touch must not change
    HsbComponents hsb = start;
    applySquareTouch(*e.layout, hsb, f.square, {f.square.origin.x, f.square.origin.y});
    expectComponents(hsb, e.leftTop, "square left-top");
    hsb = start;
    applySquareTouch(*e.layout, hsb, f.square, {CGRectGetMaxX(f.square), CGRectGetMaxY(f.square)});
    expectComponents(hsb, e.rightBottom, "square right-bottom");
    hsb = start;
    applyBarTouch(*e.layout, hsb, f.bar, f.bar.origin.x);
    expectComponents(hsb, e.barLeft, "bar left");
    hsb = start;
    applyBarTouch(*e.layout, hsb, f.bar, CGRectGetMaxX(f.bar));
    expectComponents(hsb, e.barRight, "bar right");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TouchMapping,
    ::testing::Values(LayoutEdges{&kPickerLayoutB, {0, 1, -1}, {1, 0, -1}, {-1, -1, 1}, {-1, -1, 0}},
                      LayoutEdges{&kPickerLayoutH, {-1, 0, 1}, {-1, 1, 0}, {0, -1, -1}, {1, -1, -1}},
                      LayoutEdges{&kPickerLayoutS, {0, -1, 1}, {1, -1, 0}, {-1, 1, -1}, {-1, 0, -1}}),
    [](const auto& info) { return caseName(info.param.layout->className); });

TEST(TouchMapping, EdgesOfFramesWithFractionalOriginsStayInsideZeroToOne) {
    // Each of these frames divides its far edge to a hair above 1 (or its near one below 0).
    const CGRect frames[] = {CGRectMake(8.155, 8.155, 280.07, 280.07), CGRectMake(0.1, 0.7, 0.3, 0.3),
                             CGRectMake(10.1, 354.1, 0.3, 40)};
    for (const PickerLayout* layout : {&kPickerLayoutB, &kPickerLayoutH, &kPickerLayoutS}) {
        for (const CGRect& r : frames) {
            for (CGPoint q : {r.origin, CGPoint{CGRectGetMaxX(r), CGRectGetMaxY(r)}}) {
                HsbComponents hsb{0.5, 0.5, 0.5};
                applySquareTouch(*layout, hsb, r, q);
                applyBarTouch(*layout, hsb, r, q.x);
                for (double c : {hsb.hue, hsb.saturation, hsb.brightness}) {
                    EXPECT_GE(c, 0.0) << layout->className << " at " << q.x << "," << q.y;
                    EXPECT_LE(c, 1.0) << layout->className << " at " << q.x << "," << q.y;
                }
            }
        }
    }
}

TEST(MarkerPlacement, TouchPointAndPlacedMarkerAgreeInEveryLayout) {
    const PickerFrames f = pickerFrames({kPickerW, kPickerH}, kPickerLh);
    for (const PickerLayout* layout : {&kPickerLayoutB, &kPickerLayoutH, &kPickerLayoutS}) {
        for (CGPoint q : {CGPoint{10, 40}, CGPoint{85, 110}, CGPoint{310, 320}}) {
            HsbComponents hsb{0.3, 0.3, 0.3};
            applySquareTouch(*layout, hsb, f.square, q);
            const CGPoint c = crosshairCenter(*layout, hsb, f.square);
            EXPECT_NEAR(c.x, q.x, 1e-9) << layout->className;
            EXPECT_NEAR(c.y, q.y, 1e-9) << layout->className;
        }
        for (double x : {10.0, 85.0, 310.0}) {
            HsbComponents hsb{0.3, 0.3, 0.3};
            applyBarTouch(*layout, hsb, f.bar, x);
            const CGPoint m = markerCenter(*layout, hsb, f.bar);
            EXPECT_NEAR(m.x, x, 1e-4) << layout->className;
            EXPECT_EQ(m.y, 374) << layout->className;
        }
    }
}

TEST(MarkerPlacement, MarkerXIsRoundedToSinglePrecision) {
    const CGRect bar = CGRectMake(10, 354, 300, 40);
    const HsbComponents hsb{0.123456789, 0, 0};
    const double exact = 0.123456789 * 300 + 10;
    EXPECT_EQ(markerCenter(kPickerLayoutH, hsb, bar).x, static_cast<double>(static_cast<float>(exact)));
    EXPECT_NE(markerCenter(kPickerLayoutH, hsb, bar).x, exact);
    // Brightness and saturation bars run from 1 at the left to 0 at the right.
    EXPECT_EQ(markerCenter(kPickerLayoutB, HsbComponents{0, 0, 1}, bar).x, 10);
    EXPECT_EQ(markerCenter(kPickerLayoutS, HsbComponents{0, 0, 1}, bar).x, 310);
}

} // namespace
