// The fast path for gradients across against the plain path it stands in for: the same pixels,
// byte for byte, for every gradient and size in the table, alone and under the layers a
// picker's square lays over it, in a fresh context and in one that has drawn before; and the
// picker's views at the sizes they are drawn at.
#include "LinearGradient.h"
#include "coregraphics/CoreGraphics.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Gradient {
    std::string name;
    std::vector<CGColor> colors;
    std::vector<CGFloat> locations; // empty: evenly spaced
};

const std::vector<Gradient> kGradients = {
    {"one stop", {{0.2, 0.4, 0.6, 1}}, {}},
    {"two stops", {{1, 0, 0, 1}, {0, 0, 1, 1}}, {}},
    {"hue ramp",
     {{1, 0, 0, 1}, {1, 0, 1, 1}, {0, 0, 1, 1}, {0, 1, 1, 1}, {0, 1, 0, 1}, {1, 1, 0, 1}, {1, 0, 0, 1}},
     {}},
    {"odd fractions", {{0.3, 0.71, 0.05, 1}, {0.999, 0.001, 0.5, 1}, {0.5, 0.5, 0.5, 1}}, {}},
    {"stops inside, repeated",
     {{0, 0, 0, 1}, {1, 1, 1, 1}, {0, 1, 0, 1}, {1, 0, 1, 1}},
     {0.2, 0.5, 0.5, 0.8}},
    {"locations beyond the ends", {{0, 0, 1, 1}, {1, 1, 0, 1}}, {-0.5, 1.5}},
    {"colors out of range", {{-0.5, 2, 0.5, 1}, {1.5, -1, 0.25, 1}}, {}},
    {"alpha above one", {{0.1, 0.9, 0.4, 1.5}, {0.8, 0.2, 0.6, 1.5}}, {}},
};

struct Size {
    size_t width, height;
    double scale, x, y; // the view's offset in points
    double viewWidth, viewHeight;
};

const std::vector<Size> kSizes = {
    {1, 1, 1, 0, 0, 1, 1},
    {3, 1, 1, 0, 0, 3, 1},
    {7, 5, 1, 0, 0, 7, 5},
    {31, 9, 3, 0.4, 0, 10, 3},
    {901, 3, 2, 0.25, 0.5, 450, 1},
    {1160, 4, 2, 0, 0, 580, 2},
    // Views that start at a column off every vector step and end inside the picture.
    {67, 3, 1, 1, 0, 65, 2},
    {140, 2, 1, 3, 0, 97, 1},
    {300, 3, 3, 1, 0, 33, 1},
};

// The picker's views at the sizes the gradient benchmark draws them: 300 x 250 points at 3x,
// and the bar and the square at 2x.
const std::vector<Size> kViewSizes = {
    {900, 750, 3, 0, 0, 300, 250},
    {1160, 80, 2, 0, 0, 580, 40},
    {1160, 580, 2, 0, 0, 580, 290},
};

struct Line {
    std::string name;
    bool reversed;
    double overshoot; // how far beyond the view the end points lie, in points
    uint32_t options;
};
const std::vector<Line> kLines = {
    {"left to right", false, 0, 0},
    {"right to left", true, 0, 0},
    {"ends outside", false, -2, 0},
    {"ends inside", true, 2, 0},
    {"ends inside, extended", false, 2,
     kCGGradientDrawsBeforeStartLocation | kCGGradientDrawsAfterEndLocation},
};

using DrawFn = void (*)(CGContextRef, CGGradientRef, CGPoint, CGPoint, uint32_t);

// A picker square's overlays, down the view.
void drawOverlays(CGContextRef ctx, CGColorSpaceRef space, double viewHeight) {
    for (const std::vector<CGColor>& stops : {std::vector<CGColor>{{0, 0, 0, 0}, {1, 1, 1, 1}},
                                              std::vector<CGColor>{{0, 0, 0, 0.35}, {0, 0, 0, 0.35}}}) {
        CGGradientRef down = CGGradientCreateWithColors(space, stops, nullptr);
        CGContextDrawLinearGradient(ctx, down, {0, 0}, {0, viewHeight}, 0);
        CGGradientRelease(down);
    }
}

// The view drawn with `across` as its first layer, optionally with a picker square's overlays;
// `drawnBefore`: into a context that has drawn another square first (what a draw keeps for
// later must not outlive it).
std::vector<uint8_t> draw(DrawFn across, const Gradient& g, const Size& size, const Line& line, bool overlays,
                          bool drawnBefore) {
    CGContextRef ctx = CGBitmapContextCreate(size.width, size.height);
    if (drawnBefore) {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGGradientRef other =
            CGGradientCreateWithColors(space, {{0.9, 0.1, 0.5, 1}, {0.2, 0.8, 0.3, 1}}, nullptr);
        CGContextSaveGState(ctx);
        across(ctx, other, {0, 0}, {double(size.width), 0}, 0);
        drawOverlays(ctx, space, double(size.height));
        CGContextRestoreGState(ctx);
        CGGradientRelease(other);
        CGColorSpaceRelease(space);
    }
    CGContextSetRGBFillColor(ctx, 0.3, 0.6, 0.9, 1);
    CGContextFillRect(ctx, CGRectMake(0, 0, double(size.width), double(size.height)));
    CGContextScaleCTM(ctx, size.scale, size.scale);
    CGContextTranslateCTM(ctx, size.x, size.y);
    CGContextSaveGState(ctx);
    CGContextClipToRect(ctx, CGRectMake(0, 0, size.viewWidth, size.viewHeight));
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGGradientRef gradient =
        CGGradientCreateWithColors(space, g.colors, g.locations.empty() ? nullptr : g.locations.data());
    CGPoint a{line.overshoot, 0}, b{size.viewWidth - line.overshoot, 0};
    if (line.reversed)
        std::swap(a, b);
    across(ctx, gradient, a, b, line.options);
    CGGradientRelease(gradient);
    if (overlays)
        drawOverlays(ctx, space, size.viewHeight);
    CGColorSpaceRelease(space);
    CGContextRestoreGState(ctx);
    const uint8_t* data = CGBitmapContextGetData(ctx);
    std::vector<uint8_t> pixels(data, data + size.width * size.height * 4);
    CGContextRelease(ctx);
    return pixels;
}

// The first differing byte of two pictures of the same size (their size when they agree).
size_t firstDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    size_t i = 0;
    while (i < a.size() && a[i] == b[i])
        ++i;
    return i;
}

TEST(GradientFastPath, EqualsThePlainPathByteForByte) {
    for (const Gradient& g : kGradients)
        for (const Size& size : kSizes)
            for (const Line& line : kLines)
                for (bool overlays : {false, true})
                    for (bool drawnBefore : {false, true}) {
                        SCOPED_TRACE(g.name + ", " + std::to_string(size.width) + " x " +
                                     std::to_string(size.height) + ", " + line.name +
                                     (overlays ? ", under overlays" : "") +
                                     (drawnBefore ? ", after another picture" : ""));
                        const auto fast =
                            draw(CGContextDrawLinearGradient, g, size, line, overlays, drawnBefore);
                        const auto plain =
                            draw(cg::drawLinearGradientPlain, g, size, line, overlays, drawnBefore);
                        ASSERT_EQ(fast.size(), plain.size());
                        const size_t differing = firstDifference(fast, plain);
                        EXPECT_EQ(differing, fast.size())
                            << "first differing byte at pixel " << differing / 4;
                    }
}

// The picker's bars and squares at their drawn sizes: the stops of a bar (the hue ramp, and two
// colors with fractional components), each direction, alone (a bar) and under a square's layers.
TEST(GradientFastPath, EqualsThePlainPathAtThePickersSizes) {
    for (const Gradient& g : kGradients) {
        if (g.name != "hue ramp" && g.name != "two stops" && g.name != "odd fractions")
            continue;
        for (const Size& size : kViewSizes)
            for (const Line& line : kLines) {
                if (line.overshoot != 0)
                    continue;
                for (bool overlays : {false, true}) {
                    SCOPED_TRACE(g.name + ", " + std::to_string(size.width) + " x " +
                                 std::to_string(size.height) + ", " + line.name +
                                 (overlays ? ", under overlays" : ""));
                    const auto fast = draw(CGContextDrawLinearGradient, g, size, line, overlays, false);
                    const auto plain = draw(cg::drawLinearGradientPlain, g, size, line, overlays, false);
                    ASSERT_EQ(fast.size(), plain.size());
                    const size_t differing = firstDifference(fast, plain);
                    EXPECT_EQ(differing, fast.size()) << "first differing byte at pixel " << differing / 4;
                }
            }
    }
}

} // namespace
