// UIColor through messages, as system code reaches it.
#include "uikit/UIColor.h"

#include <gtest/gtest.h>

namespace {

id colorClass() {
    return classObject(objc_getClass("UIColor"));
}

std::array<CGFloat, 4> rgbaOf(const id& color) {
    std::array<CGFloat, 4> c{-1, -1, -1, -1};
    EXPECT_TRUE(msg<bool>(color, "getRed:green:blue:alpha:", &c[0], &c[1], &c[2], &c[3]));
    return c;
}

TEST(UIColor, NamedColorsHaveTheirComponents) {
    struct Row {
        const char* selector;
        std::array<CGFloat, 4> rgba;
    };
    for (Row row :
         {Row{"clearColor", {0, 0, 0, 0}}, Row{"blackColor", {0, 0, 0, 1}}, Row{"whiteColor", {1, 1, 1, 1}},
          Row{"grayColor", {0.5, 0.5, 0.5, 1}}, Row{"lightGrayColor", {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}},
          Row{"redColor", {1, 0, 0, 1}}, Row{"greenColor", {0, 1, 0, 1}}, Row{"blueColor", {0, 0, 1, 1}}}) {
        id color = msg<id>(colorClass(), row.selector);
        EXPECT_EQ(rgbaOf(color), row.rgba) << row.selector;
        EXPECT_EQ(CGColorGetComponents(msg<CGColor>(color, "CGColor")), row.rgba) << row.selector;
    }
}

// A white level answers as red = green = blue; a gray made either way is the same color, and
// any difference in a component (alpha included) makes another color.
TEST(UIColor, EqualityComparesComponentsWhicheverWayTheColorWasMade) {
    id white = msg<id>(colorClass(), "colorWithWhite:alpha:", 0.25, 0.5);
    id rgb = msg<id>(colorClass(), "colorWithRed:green:blue:alpha:", 0.25, 0.25, 0.25, 0.5);
    EXPECT_EQ(rgbaOf(white), (std::array<CGFloat, 4>{0.25, 0.25, 0.25, 0.5}));
    EXPECT_TRUE(msg<bool>(white, "isEqual:", rgb));
    EXPECT_TRUE(msg<bool>(rgb, "isEqual:", white));
    EXPECT_EQ(msg<NSUInteger>(white, "hash"), msg<NSUInteger>(rgb, "hash"));
    EXPECT_FALSE(msg<bool>(rgb, "isEqual:", msg<id>(colorClass(), "colorWithWhite:alpha:", 0.25, 0.6)));
    EXPECT_FALSE(msg<bool>(
        rgb,
        "isEqual:", msg<id>(colorClass(), "colorWithRed:green:blue:alpha:", 0.25, 0.25, 0.2500001, 0.5)));
    EXPECT_FALSE(msg<bool>(rgb, "isEqual:", msg<id>(classObject(objc_getClass("NSObject")), "new")));
    EXPECT_FALSE(msg<bool>(rgb, "isEqual:", nullptr));
    // The clear color is white 0 with alpha 0: the same as transparent black made from RGB.
    EXPECT_TRUE(msg<bool>(msg<id>(colorClass(), "clearColor"), "isEqual:",
                          msg<id>(colorClass(), "colorWithRed:green:blue:alpha:", 0.0, 0.0, 0.0, 0.0)));
}

TEST(UIColor, WhiteLevelsAreReadableOnlyFromGrays) {
    CGFloat w = -1, a = -1;
    EXPECT_TRUE(msg<bool>(msg<id>(colorClass(), "lightGrayColor"), "getWhite:alpha:", &w, &a));
    EXPECT_DOUBLE_EQ(w, 2.0 / 3);
    EXPECT_EQ(a, 1);
    EXPECT_TRUE(msg<bool>(msg<id>(colorClass(), "colorWithRed:green:blue:alpha:", 0.1, 0.1, 0.1, 0.3),
                          "getWhite:alpha:", &w, &a));
    EXPECT_EQ(w, 0.1);
    w = -1;
    EXPECT_FALSE(msg<bool>(msg<id>(colorClass(), "redColor"), "getWhite:alpha:", &w, &a));
    EXPECT_EQ(w, -1);
}

// HSB in and out: components outside [0, 1] come back inside it (hue by whole turns, the rest
// clamped), and out-parameters may be left out.
TEST(UIColor, HueSaturationBrightnessInAndOut) {
    id yellow =
        msg<id>(colorClass(), "colorWithHue:saturation:brightness:alpha:", 1.0 + 1.0 / 6, 1.5, 1.0, 1.0);
    const std::array<CGFloat, 4> yellowRGBA{1, 1, 0, 1};
    for (size_t i = 0; i < 4; ++i)
        EXPECT_NEAR(rgbaOf(yellow)[i], yellowRGBA[i], 1e-12);
    CGFloat h = -1, s = -1, b = -1, a = -1;
    EXPECT_TRUE(msg<bool>(yellow, "getHue:saturation:brightness:alpha:", &h, &s, &b, &a));
    EXPECT_NEAR(h, 1.0 / 6, 1e-12);
    EXPECT_EQ(s, 1);
    EXPECT_EQ(b, 1);
    EXPECT_EQ(a, 1);
    id dim = msg<id>(colorClass(), "colorWithHue:saturation:brightness:alpha:", -0.25, 0.5, -2.0, 0.0);
    EXPECT_EQ(rgbaOf(dim), (std::array<CGFloat, 4>{0, 0, 0, 0}));
    CGFloat* none = nullptr;
    EXPECT_TRUE(msg<bool>(msg<id>(colorClass(), "blueColor"), "getHue:saturation:brightness:alpha:", &h, none,
                          none, none));
    EXPECT_NEAR(h, 2.0 / 3, 1e-12);
    EXPECT_TRUE(
        msg<bool>(msg<id>(colorClass(), "blueColor"), "getRed:green:blue:alpha:", none, none, &b, none));
    EXPECT_EQ(b, 1);
}

// Alpha is not an HSB component: it passes through as given, as colorWithRed:green:blue:alpha:
// keeps it.
TEST(UIColor, HueSaturationBrightnessPassesAlphaThroughAsRgbDoes) {
    for (CGFloat alpha : {0.0, 0.3, 1.0, 2.0, -1.0}) {
        id hsb = msg<id>(colorClass(), "colorWithHue:saturation:brightness:alpha:", 0.0, 1.0, 1.0, alpha);
        id rgb = msg<id>(colorClass(), "colorWithRed:green:blue:alpha:", 1.0, 0.0, 0.0, alpha);
        EXPECT_EQ(rgbaOf(hsb)[3], alpha);
        EXPECT_EQ(rgbaOf(hsb), rgbaOf(rgb)) << alpha;
    }
}

TEST(UIColor, AlphaComponentKeepsTheColor) {
    id half = msg<id>(msg<id>(colorClass(), "lightGrayColor"), "colorWithAlphaComponent:", CGFloat(0.25));
    EXPECT_EQ(msg<CGColor>(half, "CGColor"), (CGColor{2.0 / 3, 2.0 / 3, 2.0 / 3, 0.25}));
    EXPECT_EQ(UIColor::cgColorOf(half), (CGColor{2.0 / 3, 2.0 / 3, 2.0 / 3, 0.25}));
    EXPECT_EQ(UIColor::cgColorOf(nullptr), (CGColor{0, 0, 0, 0}));
    EXPECT_EQ(msg<std::string>(half, "description"), "UIExtendedGrayColorSpace 0.666667 0.25");
}

} // namespace
