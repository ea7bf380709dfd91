// The bitmap context: its pixels, the state stack, the clip, solid fills and compositing.
#include "painting_rule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>

namespace {

const uint8_t* pixel(CGContextRef ctx, size_t x, size_t y) {
    return CGBitmapContextGetData(ctx) + y * CGBitmapContextGetBytesPerRow(ctx) + 4 * x;
}

// Which pixels of a row carry any paint.
std::string paintedColumns(CGContextRef ctx, size_t y) {
    std::string row;
    for (size_t x = 0; x < CGBitmapContextGetWidth(ctx); ++x)
        row += pixel(ctx, x, y)[3] ? '#' : '.';
    return row;
}

TEST(BitmapContext, StartsTransparentWithRowsOfFourBytesAPixel) {
    CGContextRef ctx = CGBitmapContextCreate(5, 3);
    EXPECT_EQ(CGBitmapContextGetWidth(ctx), 5u);
    EXPECT_EQ(CGBitmapContextGetHeight(ctx), 3u);
    EXPECT_EQ(CGBitmapContextGetBytesPerRow(ctx), 20u);
    const uint8_t* data = CGBitmapContextGetData(ctx);
    EXPECT_TRUE(std::all_of(data, data + 60, [](uint8_t b) { return b == 0; }));
    CGContextSetRGBFillColor(ctx, 1, 0.5, 0, 1);
    CGContextFillRect(ctx, CGRectMake(4, 2, 1, 1));
    const uint8_t orange[4] = {255, 128, 0, 255};
    EXPECT_EQ(0, std::memcmp(data + 2 * 20 + 16, orange, 4)); // R, G, B, A at the last pixel
    CGContextRelease(ctx);
}

// A pixel belongs to a rectangle when its center does.
TEST(BitmapContext, FillsAndClipsCoverPixelsByTheirCenters) {
    struct Row {
        CGRect rect;
        const char* painted;
    };
    for (Row row : {Row{CGRectMake(2, 0, 3, 1), "..###..."}, Row{CGRectMake(1.4, 0, 1.2, 1), ".##....."},
                    Row{CGRectMake(1.6, 0, 1.0, 1), "..#....."}, Row{CGRectMake(1.6, 0, 0.5, 1), "........"},
                    Row{CGRectMake(6, 0, -3.5, 1), "..####.."},
                    Row{CGRectMake(-100, 0, 1e300, 1), "########"}, Row{CGRectNull, "........"}}) {
        CGContextRef fill = CGBitmapContextCreate(8, 1);
        CGContextFillRect(fill, row.rect);
        EXPECT_EQ(paintedColumns(fill, 0), row.painted);
        CGContextRelease(fill);

        CGContextRef clipped = CGBitmapContextCreate(8, 1);
        CGContextClipToRect(clipped, row.rect);
        CGContextFillRect(clipped, CGRectMake(0, 0, 8, 1));
        EXPECT_EQ(paintedColumns(clipped, 0), row.painted);
        CGContextRelease(clipped);
    }
}

TEST(BitmapContext, ClipsNarrowAndRestoreWithTheState) {
    CGContextRef ctx = CGBitmapContextCreate(10, 1);
    CGContextSaveGState(ctx);
    CGContextClipToRect(ctx, CGRectMake(1, 0, 6, 1));
    CGContextClipToRect(ctx, CGRectMake(4, 0, 6, 1)); // clips only narrow
    CGContextSetRGBFillColor(ctx, 0, 0, 1, 1);
    CGContextFillRect(ctx, CGRectMake(0, 0, 10, 1));
    EXPECT_EQ(paintedColumns(ctx, 0), "....###...");
    CGContextRestoreGState(ctx);
    CGContextFillRect(ctx, CGRectMake(9, 0, 1, 1)); // the fill color went with the state: black
    EXPECT_EQ(paintedColumns(ctx, 0), "....###..#");
    EXPECT_EQ(pixel(ctx, 9, 0)[2], 0);
    CGContextRestoreGState(ctx); // unbalanced: nothing happens
    CGContextRelease(ctx);
}

TEST(BitmapContext, TransformTranslatesAndScalesUserSpace) {
    CGContextRef ctx = CGBitmapContextCreate(12, 6);
    CGContextScaleCTM(ctx, 3, 3);
    CGContextTranslateCTM(ctx, 1, 1.0 / 3); // in scaled units: 3 pixels and 1
    CGContextSaveGState(ctx);
    CGContextClipToRect(ctx, CGRectMake(0, 0, 2, 1));
    EXPECT_EQ(CGContextGetClipBoundingBox(ctx), CGRectMake(0, 0, 2, 1));
    CGContextFillRect(ctx, CGRectMake(-5, -5, 50, 50));
    CGContextRestoreGState(ctx);
    for (size_t y = 0; y < 6; ++y)
        EXPECT_EQ(paintedColumns(ctx, y), (y >= 1 && y < 4) ? "...######..." : "............") << y;
    CGContextRelease(ctx);
}

// Over opaque pixels a layer gives c x a + u x (1 - a), correctly rounded except within a
// sliver of a tie, for every stored level and a spread of colors and alphas.
TEST(Compositing, OverOpaquePixelsFollowsTheRuleForEveryLevel) {
    for (double a : {1.0 / 255, 0.1, 0.25, 1.0 / 3, 0.5, 0.7, 0.875, 0.999, 1.0}) {
        for (double c : {0.0, 0.2, 0.5, 0.77, 1.0}) {
            CGContextRef ctx = CGBitmapContextCreate(256, 1);
            uint8_t* data = CGBitmapContextGetData(ctx);
            for (int u = 0; u < 256; ++u) {
                const uint8_t below[4] = {uint8_t(u), uint8_t(255 - u), uint8_t(u / 2), 255};
                std::memcpy(data + 4 * u, below, 4);
            }
            std::vector<uint8_t> before(data, data + 1024);
            const CGColor color{c, 1 - c, c / 2, a};
            CGContextSetFillColorWithColor(ctx, color);
            CGContextFillRect(ctx, CGRectMake(0, 0, 256, 1));
            for (int u = 0; u < 256; ++u) {
                auto want = rule::over(color, rule::exact(&before[4 * size_t(u)]));
                for (size_t ch = 0; ch < 4; ++ch)
                    ASSERT_NEAR(data[4 * u + ch], want[ch], rule::kTolerance)
                        << "a " << a << " c " << c << " u " << u;
                ASSERT_EQ(data[4 * u + 3], 255);
            }
            CGContextRelease(ctx);
        }
    }
}

// Over pixels that are not opaque, straight-alpha source-over: the layer's own color on a
// transparent pixel, a mix weighted by the alphas otherwise; opaque and translucent pixels
// may sit side by side in one run.
TEST(Compositing, OverTranslucentPixelsIsStraightAlphaSourceOver) {
    CGContextRef ctx = CGBitmapContextCreate(1, 1);
    CGContextSetRGBFillColor(ctx, 1, 0, 0, 0.5);
    CGContextFillRect(ctx, CGRectMake(0, 0, 1, 1));
    const uint8_t halfRed[4] = {255, 0, 0, 128};
    EXPECT_EQ(0, std::memcmp(pixel(ctx, 0, 0), halfRed, 4));
    CGContextSetRGBFillColor(ctx, 0, 0, 1, 0.5);
    CGContextFillRect(ctx, CGRectMake(0, 0, 1, 1));
    // alpha 0.5 + 0.5 x 0.5 = 0.75; red (0.5 x 0.5) / 0.75 = 1/3, blue 0.5 / 0.75 = 2/3.
    EXPECT_NEAR(pixel(ctx, 0, 0)[0], 85, 1);
    EXPECT_EQ(pixel(ctx, 0, 0)[1], 0);
    EXPECT_NEAR(pixel(ctx, 0, 0)[2], 170, 1);
    EXPECT_NEAR(pixel(ctx, 0, 0)[3], 191, 1);
    CGContextRelease(ctx);

    CGContextRef mixed = CGBitmapContextCreate(11, 1);
    uint8_t* data = CGBitmapContextGetData(mixed);
    for (int i = 0; i < 11; ++i) {
        const uint8_t below[4] = {uint8_t(20 * i), 90, 200, uint8_t(i % 3 == 0 ? 255 : 60 * (i % 3))};
        std::memcpy(data + 4 * i, below, 4);
    }
    std::vector<uint8_t> before(data, data + 44);
    const CGColor color{0.3, 0.9, 0.1, 0.45};
    CGContextSetFillColorWithColor(mixed, color);
    CGContextFillRect(mixed, CGRectMake(0, 0, 11, 1));
    for (int i = 0; i < 11; ++i) {
        auto want = rule::over(color, rule::exact(&before[4 * size_t(i)]));
        for (size_t ch = 0; ch < 4; ++ch)
            EXPECT_NEAR(data[4 * i + ch], want[ch], rule::kTolerance) << i;
    }
    CGContextRelease(mixed);
}

TEST(Compositing, InvisibleLayersLeaveEveryPixelAlone) {
    CGContextRef ctx = CGBitmapContextCreate(7, 2);
    uint8_t* data = CGBitmapContextGetData(ctx);
    for (int i = 0; i < 56; ++i)
        data[i] = uint8_t(i * 37);
    std::vector<uint8_t> before(data, data + 56);
    CGContextSetRGBFillColor(ctx, 1, 1, 1, 0);
    CGContextFillRect(ctx, CGRectMake(0, 0, 7, 2));
    CGGradientRef g = CGGradientCreateWithColors(nullptr, {{1, 0, 0, 0}, {0, 1, 0, 0}}, nullptr);
    CGContextDrawLinearGradient(ctx, g, {0, 0}, {7, 0}, 0);
    CGContextDrawLinearGradient(ctx, g, {0, 0}, {0, 2}, 0);
    CGContextDrawLinearGradient(ctx, g, {0, 0}, {7, 2}, 0);
    CGGradientRelease(g);
    EXPECT_EQ(std::vector<uint8_t>(data, data + 56), before);
    CGContextClearRect(ctx, CGRectMake(0, 0, 7, 1));
    EXPECT_TRUE(std::all_of(data, data + 28, [](uint8_t b) { return b == 0; }));
    CGContextRelease(ctx);
}

// Empty pictures, empty views and gradients without a direction paint nothing and do not crash.
TEST(DegenerateDrawing, PaintsNothing) {
    CGGradientRef g =
        CGGradientCreateWithColors(nullptr, {CGColor{0, 0, 0, 1}, CGColor{0, 0, 0, 1}}, nullptr);
    CGContextRef empty = CGBitmapContextCreate(0, 0);
    CGContextFillRect(empty, CGRectMake(0, 0, 10, 10));
    CGContextDrawLinearGradient(empty, g, {0, 0}, {10, 0}, 0);
    CGContextDrawLinearGradient(empty, g, {0, 0}, {0, 10}, 0);
    CGContextRelease(empty);

    struct Draw {
        CGRect clip;
        CGPoint start, end;
        CGFloat scale;
    };
    for (Draw d :
         {Draw{CGRectMake(0, 0, 0, 6), {0, 0}, {0, 6}, 1}, Draw{CGRectMake(0, 0, 6, 0), {6, 0}, {0, 0}, 1},
          Draw{CGRectMake(0, 0, 6, 6), {2, 2}, {2, 2}, 1}, Draw{CGRectMake(0, 0, 6, 6), {0, 0}, {6, 0}, 0},
          Draw{CGRectMake(0, 0, 6, 6), {0, NAN}, {0, 6}, 1},
          Draw{CGRectMake(0, 0, 6, 6), {0, 0}, {INFINITY, 0}, 1}}) {
        CGContextRef ctx = CGBitmapContextCreate(6, 6);
        CGContextScaleCTM(ctx, d.scale, d.scale);
        CGContextClipToRect(ctx, d.clip);
        CGContextDrawLinearGradient(ctx, g, d.start, d.end, 0);
        CGContextDrawLinearGradient(ctx, g, d.start, d.end, 3);
        const uint8_t* data = CGBitmapContextGetData(ctx);
        EXPECT_TRUE(std::all_of(data, data + 144, [](uint8_t b) { return b == 0; }));
        CGContextRelease(ctx);
    }
    CGContextDrawLinearGradient(nullptr, g, {0, 0}, {1, 1}, 0);
    CGGradientRelease(g);
}

TEST(CurrentContext, IsAStackThatDrawRectCanFind) {
    CGContextRef outer = CGBitmapContextCreate(1, 1), inner = CGBitmapContextCreate(1, 1);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    UIGraphicsPushContext(outer);
    UIGraphicsPushContext(inner);
    EXPECT_EQ(UIGraphicsGetCurrentContext(), inner);
    UIGraphicsPopContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), outer);
    UIGraphicsPopContext();
    UIGraphicsPopContext();
    EXPECT_EQ(UIGraphicsGetCurrentContext(), nullptr);
    CGContextRelease(outer);
    CGContextRelease(inner);
}

} // namespace

namespace {

void drawGradient(CGContextRef ctx, std::vector<CGColor> stops, CGPoint start, CGPoint end) {
    CGGradientRef g = CGGradientCreateWithColors(nullptr, stops, nullptr);
    CGContextDrawLinearGradient(ctx, g, start, end, 0);
    CGGradientRelease(g);
}

// A square's first two layers, something else, then a last layer. Drawn once straight through
// and once with the pixels read after every step, the pictures agree (to the rounding the
// reads add between layers): whatever is held back is written before anything else uses the
// pixels, and the something else is never lost under it.
TEST(HeldBackDrawing, IsWrittenBeforeAnythingElseUsesThePixels) {
    struct Step {
        const char* name;
        std::function<void(CGContextRef)> run;
    };
    const std::vector<Step> steps{
        {"read", [](CGContextRef ctx) { CGBitmapContextGetData(ctx); }},
        {"fill",
         [](CGContextRef ctx) {
             CGContextSetRGBFillColor(ctx, 0, 0.5, 1, 0.75);
             CGContextFillRect(ctx, CGRectMake(3, 2, 10, 5));
         }},
        {"clear", [](CGContextRef ctx) { CGContextClearRect(ctx, CGRectMake(5, 5, 4, 20)); }},
        {"restore",
         [](CGContextRef ctx) {
             CGContextRestoreGState(ctx);
             CGContextSaveGState(ctx);
             CGContextClipToRect(ctx, CGRectMake(0, 0, 30, 20));
         }},
        {"slanted",
         [](CGContextRef ctx) {
             drawGradient(ctx, {{1, 1, 0, 0.5}, {0, 0, 1, 0.9}}, {0, 0}, {30, 20});
         }},
        {"translucentAcross",
         [](CGContextRef ctx) {
             drawGradient(ctx, {{1, 1, 0, 0.5}, {0, 0, 1, 0.1}}, {0, 0}, {30, 0});
         }},
        {"newOpaqueAcross",
         [](CGContextRef ctx) {
             drawGradient(ctx, {{0, 1, 0, 1}, {0, 0, 1, 1}}, {5, 0}, {25, 0});
         }},
        {"downInANarrowerClip",
         [](CGContextRef ctx) {
             CGContextSaveGState(ctx);
             CGContextClipToRect(ctx, CGRectMake(4, 0, 10, 20));
             drawGradient(ctx, {{1, 0, 0, 0.3}, {0, 0, 0, 0.8}}, {0, 0}, {0, 20});
             CGContextRestoreGState(ctx);
         }},
        {"downPartly",
         [](CGContextRef ctx) {
             drawGradient(ctx, {{1, 0, 0, 0.3}, {0, 0, 0, 0.8}}, {0, 5}, {0, 12});
         }},
    };
    for (const Step& step : steps) {
        std::vector<uint8_t> pictures[2];
        for (bool readEachStep : {false, true}) {
            CGContextRef ctx = CGBitmapContextCreate(34, 24);
            auto settle = [&] {
                if (readEachStep)
                    CGBitmapContextGetData(ctx);
            };
            CGContextTranslateCTM(ctx, 2, 2);
            CGContextSaveGState(ctx);
            CGContextClipToRect(ctx, CGRectMake(0, 0, 30, 20));
            drawGradient(ctx, {{1, 0, 0, 1}, {1, 0, 1, 1}, {0, 0, 1, 1}}, {30, 0}, {0, 0});
            settle();
            drawGradient(ctx, {{0, 0, 0, 0}, {1, 1, 1, 1}}, {0, 0}, {0, 20});
            settle();
            step.run(ctx);
            settle();
            drawGradient(ctx, {{0, 0, 0, 0.4}, {0, 0, 0, 0.4}}, {0, 0}, {0, 20});
            settle();
            CGContextRestoreGState(ctx);
            const uint8_t* data = CGBitmapContextGetData(ctx);
            pictures[readEachStep].assign(data, data + 34 * 24 * 4);
            CGContextRelease(ctx);
        }
        for (size_t i = 0; i < pictures[0].size(); ++i)
            ASSERT_NEAR(pictures[0][i], pictures[1][i], 1) << step.name << " at byte " << i;
    }
}

} // namespace

namespace {

// An ellipse covers the pixels whose centers lie inside it, within the clip, in user space.
TEST(BitmapContext, EllipsesCoverThePixelsWhoseCentersLieInside) {
    const struct {
        const char* name;
        CGRect rect;
        CGFloat scale;
        CGRect clip;
        std::vector<std::string> rows;
    } cases[] = {
        {"Circle",
         CGRectMake(1, 1, 6, 6),
         1,
         CGRectMake(0, 0, 8, 8),
         {"........", "..####..", ".######.", ".######.", ".######.", ".######.", "..####..", "........"}},
        {"Wide",
         CGRectMake(0, 2, 8, 4),
         1,
         CGRectMake(0, 0, 8, 8),
         {"........", "........", ".######.", "########", "########", ".######.", "........", "........"}},
        {"ScaledUserSpace",
         CGRectMake(0.5, 0.5, 3, 3),
         2,
         CGRectMake(0, 0, 4, 4),
         {"........", "..####..", ".######.", ".######.", ".######.", ".######.", "..####..", "........"}},
        {"Clipped",
         CGRectMake(1, 1, 6, 6),
         1,
         CGRectMake(0, 0, 4, 8),
         {"........", "..##....", ".###....", ".###....", ".###....", ".###....", "..##....", "........"}},
        {"Empty",
         CGRectMake(1, 1, 0, 6),
         1,
         CGRectMake(0, 0, 8, 8),
         {"........", "........", "........", "........", "........", "........", "........", "........"}},
    };
    for (const auto& c : cases) {
        CGContextRef ctx = CGBitmapContextCreate(8, 8);
        CGContextScaleCTM(ctx, c.scale, c.scale);
        CGContextClipToRect(ctx, c.clip);
        CGContextSetRGBFillColor(ctx, 0, 0, 1, 1);
        CGContextFillEllipseInRect(ctx, c.rect);
        for (size_t y = 0; y < 8; ++y)
            EXPECT_EQ(paintedColumns(ctx, y), c.rows[y]) << c.name << " row " << y;
        CGContextRelease(ctx);
    }
}

} // namespace
