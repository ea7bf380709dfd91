// The HSB model: the six pure hues, grays, black and white, components out of range, and
// round trips.
#include "uikit/HSB.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Entry {
    const char* name;
    double h, s, b;
    double r, g, bl;
};

// Colors whose HSB form is unique (saturation and brightness above 0): both ways.
const Entry kBothWays[] = {
    {"red", 0, 1, 1, 1, 0, 0},
    {"yellow", 1.0 / 6, 1, 1, 1, 1, 0},
    {"green", 1.0 / 3, 1, 1, 0, 1, 0},
    {"cyan", 0.5, 1, 1, 0, 1, 1},
    {"blue", 2.0 / 3, 1, 1, 0, 0, 1},
    {"magenta", 5.0 / 6, 1, 1, 1, 0, 1},
    {"orange, half bright", 1.0 / 12, 1, 0.5, 0.5, 0.25, 0},
    {"pale violet", 0.75, 0.5, 0.8, 0.6, 0.4, 0.8},
    {"dark teal", 0.5, 0.25, 0.4, 0.3, 0.4, 0.4},
};

TEST(HSBTable, PureAndMixedHuesConvertBothWays) {
    for (const Entry& e : kBothWays) {
        RGBComponents rgb = HSBtoRGB(e.h, e.s, e.b);
        EXPECT_NEAR(rgb.r, e.r, 1e-12) << e.name;
        EXPECT_NEAR(rgb.g, e.g, 1e-12) << e.name;
        EXPECT_NEAR(rgb.b, e.bl, 1e-12) << e.name;
        HSBComponents hsb = RGBtoHSB(e.r, e.g, e.bl);
        EXPECT_NEAR(hsb.h, e.h, 1e-12) << e.name;
        EXPECT_NEAR(hsb.s, e.s, 1e-12) << e.name;
        EXPECT_NEAR(hsb.b, e.b, 1e-12) << e.name;
    }
}

// Grays have no hue: any hue with saturation 0 is the gray of the brightness, and a gray reads
// back with hue 0 and saturation 0; black has brightness 0 whatever else is asked.
TEST(HSBTable, GraysBlackAndWhite) {
    for (double v : {0.0, 0.25, 0.5, 2.0 / 3, 1.0}) {
        for (double hue : {0.0, 0.3, 0.9}) {
            RGBComponents rgb = HSBtoRGB(hue, 0, v);
            EXPECT_EQ(rgb.r, v);
            EXPECT_EQ(rgb.g, v);
            EXPECT_EQ(rgb.b, v);
        }
        HSBComponents hsb = RGBtoHSB(v, v, v);
        EXPECT_EQ(hsb.h, 0);
        EXPECT_EQ(hsb.s, 0);
        EXPECT_EQ(hsb.b, v);
        RGBComponents black = HSBtoRGB(0.4, 0.7, 0);
        EXPECT_EQ(black.r + black.g + black.b, 0);
    }
}

// Ties for the largest component resolve red, then green, then blue; hue 1 is red again.
TEST(HSBTable, TiesAndTheFullTurn) {
    EXPECT_NEAR(RGBtoHSB(1, 1, 0.5).h, 1.0 / 6, 1e-15); // red and green tie: red's formula
    EXPECT_NEAR(RGBtoHSB(0.5, 1, 1).h, 0.5, 1e-15);     // green and blue tie: green's formula
    EXPECT_NEAR(RGBtoHSB(1, 0.5, 1).h, 5.0 / 6, 1e-15); // red and blue tie: red's formula
    RGBComponents turn = HSBtoRGB(1, 1, 1);
    EXPECT_EQ(turn.r, 1);
    EXPECT_EQ(turn.g, 0);
    EXPECT_EQ(turn.b, 0);
    // Just short of a full turn is still magenta-red, never a stray sector.
    RGBComponents almost = HSBtoRGB(std::nextafter(1.0, 0.0), 1, 1);
    EXPECT_EQ(almost.r, 1);
    EXPECT_NEAR(almost.b, 0, 1e-12);
}

// Out of range: hue wraps by whole turns, saturation and brightness clamp, NaN counts as 0;
// what comes out always lies in [0, 1].
TEST(HSBTable, OutOfRangeComponentsComeBackInRange) {
    struct Row {
        double h, s, b;
        double wantH, wantS, wantB;
    };
    const Row rows[] = {
        {1.25, 1, 1, 0.25, 1, 1},  {-0.25, 1, 1, 0.75, 1, 1}, {3.5, 0.5, 0.5, 0.5, 0.5, 0.5},
        {-1e-18, 1, 1, 0, 1, 1},   {0.1, 2, 1, 0.1, 1, 1},    {0.1, -1, 1, 0, 0, 1},
        {0.1, 1, 7, 0.1, 1, 1},    {0.1, 1, -3, 0, 0, 0},     {NAN, NAN, 0.5, 0, 0, 0.5},
        {INFINITY, 1, 1, 0, 1, 1},
    };
    for (const Row& row : rows) {
        RGBComponents rgb = HSBtoRGB(row.h, row.s, row.b);
        for (double c : {rgb.r, rgb.g, rgb.b}) {
            EXPECT_GE(c, 0);
            EXPECT_LE(c, 1);
        }
        HSBComponents back = RGBtoHSB(rgb.r, rgb.g, rgb.b);
        EXPECT_NEAR(back.h, row.wantH, 1e-12) << row.h << " " << row.s << " " << row.b;
        EXPECT_NEAR(back.s, row.wantS, 1e-12) << row.h << " " << row.s << " " << row.b;
        EXPECT_NEAR(back.b, row.wantB, 1e-12) << row.h << " " << row.s << " " << row.b;
    }
    HSBComponents clamped = RGBtoHSB(1.5, -1, 0);
    EXPECT_EQ(clamped.h, 0);
    EXPECT_EQ(clamped.s, 1);
    EXPECT_EQ(clamped.b, 1);
}

TEST(HSBRoundTrip, RGBThroughHSBAndBackWithin1e9) {
    const int steps = 20;
    for (int i = 0; i <= steps; ++i)
        for (int j = 0; j <= steps; ++j)
            for (int k = 0; k <= steps; ++k) {
                // Off-grid values too: thirds and sevenths land inside sectors, not on their edges.
                const double r = i / double(steps), g = std::fmod(j / 7.0, 1.0),
                             b = k / double(steps) / 3 * 2;
                HSBComponents hsb = RGBtoHSB(r, g, b);
                ASSERT_GE(hsb.h, 0);
                ASSERT_LT(hsb.h, 1);
                RGBComponents rgb = HSBtoRGB(hsb.h, hsb.s, hsb.b);
                ASSERT_NEAR(rgb.r, r, 1e-9) << r << " " << g << " " << b;
                ASSERT_NEAR(rgb.g, g, 1e-9) << r << " " << g << " " << b;
                ASSERT_NEAR(rgb.b, b, 1e-9) << r << " " << g << " " << b;
            }
}

TEST(HSBRoundTrip, HSBThroughRGBAndBackKeepsTheHueWhereItExists) {
    for (int i = 0; i < 360; i += 7)
        for (double s : {0.1, 0.5, 1.0})
            for (double v : {0.05, 0.6, 1.0}) {
                const double h = i / 360.0;
                RGBComponents rgb = HSBtoRGB(h, s, v);
                HSBComponents back = RGBtoHSB(rgb.r, rgb.g, rgb.b);
                ASSERT_NEAR(back.h, h, 1e-9) << h << " " << s << " " << v;
                ASSERT_NEAR(back.s, s, 1e-9);
                ASSERT_NEAR(back.b, v, 1e-9);
            }
}

} // namespace
