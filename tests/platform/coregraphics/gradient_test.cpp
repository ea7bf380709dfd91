// Gradient layers against the painting rule, pixel by pixel, drawn the way the picker's views
// draw (save, clip to the view, one gradient per layer, restore).
#include "painting_rule.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

constexpr CGColor kRed{1, 0, 0, 1}, kYellow{1, 1, 0, 1}, kGreen{0, 1, 0, 1}, kCyan{0, 1, 1, 1},
    kBlue{0, 0, 1, 1}, kMagenta{1, 0, 1, 1}, kWhite{1, 1, 1, 1}, kBlack{0, 0, 0, 1}, kNone{0, 0, 0, 0};

const std::vector<CGColor> kHueRampRightToLeft{kRed, kMagenta, kBlue, kCyan, kGreen, kYellow, kRed};

// A view of W x H points drawn at `scale` with its origin at `offset` (points) in a context
// of `width` x `height` pixels, over an optional base color filling the whole context.
struct Case {
    std::string name;
    size_t width, height;
    double scale;
    CGPoint offset;
    CGSize view;
    std::optional<CGColor> base;
    std::vector<rule::Layer> layers;
    // How far the whole picture may stray from the exact composite of all layers. An opaque
    // layer across the view under layers of one color a row (a picker's square) is composited in
    // one go and rounded once; otherwise each layer is stored, and rounded, before the next.
    enum Rounding { Once, EachLayer, Translucent } rounding = EachLayer;
};
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.name;
}

std::vector<rule::Layer> hueSaturation(CGSize v, double brightness) {
    CGColor shade{0, 0, 0, 1 - brightness};
    return {{kHueRampRightToLeft, {v.width, 0}, {0, 0}},
            {{kNone, kWhite}, {0, 0}, {0, v.height}},
            {{shade, shade}, {0, 0}, {0, v.height}}};
}

std::vector<rule::Layer> brightnessSaturation(CGSize v, CGColor pureHue) {
    return {{{pureHue, kWhite}, {v.width, 0}, {0, 0}}, {{kNone, kBlack}, {0, 0}, {0, v.height}}};
}

std::vector<rule::Layer> hueBrightness(CGSize v, double saturation) {
    return {{kHueRampRightToLeft, {v.width, 0}, {0, 0}},
            {{kNone, kBlack}, {0, 0}, {0, v.height}},
            {{{1, 1, 1, 1 - saturation}, {0, 0, 0, 1 - saturation}}, {0, 0}, {0, v.height}}};
}

std::vector<uint8_t> pixelsOf(CGContextRef ctx) {
    const uint8_t* data = CGBitmapContextGetData(ctx);
    return {data, data + CGBitmapContextGetBytesPerRow(ctx) * CGBitmapContextGetHeight(ctx)};
}

// What the rule makes of the pixel at user point (x, y) inside the view; none: left alone.
using Expectation = std::function<std::optional<rule::Pixel>(double x, double y, const rule::Pixel& below)>;

// Compares every pixel: inside the view with the expectation (within the tolerance), elsewhere
// with the pixel before (exactly).
void expectPicture(const Case& c, const std::vector<uint8_t>& before, const uint8_t* after, double tolerance,
                   const Expectation& expectation) {
    int failures = 0;
    for (size_t j = 0; j < c.height && failures < 5; ++j) {
        for (size_t i = 0; i < c.width && failures < 5; ++i) {
            const size_t at = 4 * (j * c.width + i);
            const double x = (double(i) + 0.5) / c.scale - c.offset.x;
            const double y = (double(j) + 0.5) / c.scale - c.offset.y;
            const bool inView = x >= 0 && x < c.view.width && y >= 0 && y < c.view.height;
            auto expected = inView ? expectation(x, y, rule::exact(&before[at])) : std::nullopt;
            for (size_t ch = 0; ch < 4; ++ch) {
                const double want = expected ? (*expected)[ch] : before[at + ch];
                if (std::fabs(after[at + ch] - want) > (expected ? tolerance : 0)) {
                    ADD_FAILURE() << c.name << ": pixel (" << i << ", " << j << ") channel " << ch << " is "
                                  << int(after[at + ch]) << ", the rule gives " << want;
                    ++failures;
                    break;
                }
            }
        }
    }
}

// A context with the case's base, its transform applied, the state saved and the view clipped.
CGContextRef viewContext(const Case& c) {
    CGContextRef ctx = CGBitmapContextCreate(c.width, c.height);
    if (c.base) {
        CGContextSetFillColorWithColor(ctx, *c.base);
        CGContextFillRect(ctx, CGRectMake(0, 0, double(c.width), double(c.height)));
    }
    CGContextScaleCTM(ctx, c.scale, c.scale);
    CGContextTranslateCTM(ctx, c.offset.x, c.offset.y);
    CGContextSaveGState(ctx);
    CGContextClipToRect(ctx, CGRectMake(0, 0, c.view.width, c.view.height));
    return ctx;
}

void drawLayer(CGContextRef ctx, CGColorSpaceRef space, const rule::Layer& layer) {
    CGGradientRef gradient = CGGradientCreateWithColors(space, layer.stops, nullptr);
    CGContextDrawLinearGradient(ctx, gradient, layer.start, layer.end, 0);
    CGGradientRelease(gradient);
}

class GradientLayers : public testing::TestWithParam<Case> {};

// Layer by layer, reading the pixels after each: every pixel is the rule applied to the pixel
// as it was stored before the layer.
TEST_P(GradientLayers, EveryPixelFollowsThePaintingRule) {
    const Case& c = GetParam();
    CGContextRef ctx = viewContext(c);
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    for (const rule::Layer& layer : c.layers) {
        std::vector<uint8_t> before = pixelsOf(ctx);
        drawLayer(ctx, space, layer);
        expectPicture(
            c, before, CGBitmapContextGetData(ctx), rule::kTolerance,
            [&](double x, double y, const rule::Pixel& below) { return rule::paint(layer, x, y, below); });
    }
    CGContextRestoreGState(ctx);
    CGColorSpaceRelease(space);
    CGContextRelease(ctx);
}

const CGColor kBase{0.2, 0.4, 0.6, 1};

std::vector<Case> cases() {
    std::vector<Case> all;
    auto add = [&](std::string name, size_t w, size_t h, double scale, CGPoint offset, CGSize view,
                   std::optional<CGColor> base, std::vector<rule::Layer> layers,
                   Case::Rounding rounding = Case::EachLayer) {
        all.push_back({std::move(name), w, h, scale, offset, view, base, std::move(layers), rounding});
    };
    for (double b : {1.0, 0.5, 0.0}) {
        CGSize v{60, 50};
        add("hueSaturation_b" + std::to_string(int(b * 100)), 60, 50, 1, {0, 0}, v, std::nullopt,
            hueSaturation(v, b), Case::Once);
    }
    // The square of a picker on a 3x screen: 900 x 750 pixels.
    add("hueSaturationAtScale3", 900, 750, 3, {0, 0}, {300, 250}, std::nullopt,
        hueSaturation({300, 250}, 0.7), Case::Once);
    // Bars: one opaque layer across the whole width, every row a copy of the first, at the
    // benchmark's sizes (a 3x screen, and the picker's bar at 2x).
    add("hueBarAtScale3", 900, 750, 3, {0, 0}, {300, 250}, std::nullopt,
        {{{kRed, kYellow, kGreen, kCyan, kBlue, kMagenta, kRed}, {0, 0}, {300, 0}}}, Case::Once);
    add("barAtScale2", 1160, 80, 2, {0, 0}, {580, 40}, std::nullopt,
        {{{{0.7, 0.1, 0.35, 1}, {0.7, 0.7, 0.7, 1}}, {580, 0}, {0, 0}}}, Case::Once);
    // A bar across the whole width that starts and ends inside a taller picture, and one under a
    // layer that paints only a band of its rows (the rows above and below it are copies).
    add("barInsideATallerPicture", 64, 300, 1, {0, 7}, {64, 281}, kBase,
        {{{kGreen, kMagenta, kYellow}, {0, 0}, {64, 0}}}, Case::Once);
    add("barUnderABand", 96, 400, 1, {0, 0}, {96, 400}, std::nullopt,
        {{{kBlue, kYellow}, {0, 0}, {96, 0}}, {{kNone, {0, 0, 0, 0.6}}, {0, 250}, {0, 150}}}, Case::Once);
    add("brightnessSaturation", 128, 96, 2, {0, 0}, {64, 48}, std::nullopt,
        brightnessSaturation({64, 48}, {0.2, 1, 0, 1}), Case::Once);
    // A view inside a larger picture: the clip keeps the layers inside it.
    add("hueBrightnessInsideALargerPicture", 70, 50, 1, {7, 3}, {50, 40}, kBase, hueBrightness({50, 40}, 0.4),
        Case::Once);
    add("hueBrightnessFractionalScale", 75, 61, 1.5, {0.25, 0.5}, {49, 39.5}, kBase,
        hueBrightness({49, 39.5}, 0.25), Case::Once);
    add("opaqueAcross", 120, 20, 1, {0, 0}, {120, 20}, std::nullopt, {{{kYellow, kBlack}, {0, 0}, {120, 0}}});
    add("alphaAcross", 120, 20, 1, {0, 0}, {120, 20}, kBase,
        {{{{1, 0, 0, 0.1}, {0, 1, 0, 0.9}, {0, 0, 1, 0.35}}, {0, 0}, {120, 0}}});
    add("reversedDown", 40, 90, 1, {0, 0}, {40, 90}, kBase,
        {{{kNone, {0.9, 0.1, 0.5, 0.8}}, {0, 90}, {0, 0}}});
    add("reversedAcrossOverTransparent", 90, 30, 1, {0, 0}, {90, 30}, std::nullopt,
        {{{{1, 0.5, 0, 0.2}, {0, 0.5, 1, 0.7}}, {90, 0}, {0, 0}}, {{kNone, {0, 0, 0, 0.6}}, {0, 0}, {0, 30}}},
        Case::Translucent);
    add("slanted", 50, 40, 1, {0, 0}, {50, 40}, kBase, {{{kRed, {0, 0, 1, 0.3}, kNone}, {0, 0}, {50, 40}}});
    add("endPointsInsideTheView", 80, 60, 1, {0, 0}, {80, 60}, kBase,
        {{{kGreen, kMagenta}, {20, 0}, {60, 0}}, {{{1, 1, 1, 0.5}, kBlack}, {0, 45}, {0, 15}}});
    return all;
}

// Drawn in one go, as a view's drawRect: draws, with nothing read in between: every pixel is the
// exact composite of all layers over what was there: within half a level (rounded once) for a
// picker's square.
TEST_P(GradientLayers, TheWholePictureFollowsTheRule) {
    const Case& c = GetParam();
    CGContextRef ctx = viewContext(c);
    std::vector<uint8_t> before = pixelsOf(ctx);
    for (const rule::Layer& layer : c.layers)
        drawLayer(ctx, nullptr, layer);
    CGContextRestoreGState(ctx);
    // A translucent pixel stores its color rounded, and a layer over it magnifies that by up to
    // 1 / alpha: two levels at the alphas used here.
    const double tolerance = c.rounding == Case::Once        ? rule::kTolerance
                             : c.rounding == Case::EachLayer ? 0.5 * double(c.layers.size()) + 1.0 / 64
                                                             : 2.0;
    expectPicture(c, before, CGBitmapContextGetData(ctx), tolerance,
                  [&](double x, double y, rule::Pixel pixel) {
                      for (const rule::Layer& layer : c.layers)
                          pixel = rule::paint(layer, x, y, pixel).value_or(pixel);
                      return std::optional<rule::Pixel>(pixel);
                  });
    CGContextRelease(ctx);
}

INSTANTIATE_TEST_SUITE_P(Layers, GradientLayers, testing::ValuesIn(cases()),
                         [](const testing::TestParamInfo<Case>& info) { return info.param.name; });

// Pixel centers that fall exactly on the stops show the stop colors, the end points included,
// and nothing outside the end points is painted, whichever way the line runs.
TEST(GradientStops, PixelsOnTheStopsShowTheStopColorsBothWays) {
    const std::vector<CGColor> stops{kRed, kYellow, kGreen, kCyan, kBlue, kMagenta, kRed};
    const uint8_t expected[7][4] = {{255, 0, 0, 255},   {255, 255, 0, 255}, {0, 255, 0, 255},
                                    {0, 255, 255, 255}, {0, 0, 255, 255},   {255, 0, 255, 255},
                                    {255, 0, 0, 255}};
    for (bool reversed : {false, true}) {
        CGContextRef ctx = CGBitmapContextCreate(9, 1);
        CGGradientRef g = CGGradientCreateWithColors(nullptr, stops, nullptr);
        CGPoint a{1.5, 0}, b{7.5, 0};
        CGContextDrawLinearGradient(ctx, g, reversed ? b : a, reversed ? a : b, 0);
        const uint8_t* px = CGBitmapContextGetData(ctx);
        for (int i = 0; i < 7; ++i) {
            const uint8_t* want = expected[reversed ? 6 - i : i];
            EXPECT_EQ(0, std::memcmp(px + 4 * (i + 1), want, 4))
                << "pixel " << i + 1 << (reversed ? " reversed" : "");
        }
        const uint8_t clear[4] = {0, 0, 0, 0};
        EXPECT_EQ(0, std::memcmp(px, clear, 4));
        EXPECT_EQ(0, std::memcmp(px + 4 * 8, clear, 4));
        CGGradientRelease(g);
        CGContextRelease(ctx);
    }
}

TEST(GradientStops, ExplicitLocationsPlaceTheStops) {
    CGColor stops[] = {kBlack, kWhite, kBlack};
    CGFloat locations[] = {0, 0.25, 1};
    CGGradientRef g = CGGradientCreateWithColors(nullptr, {stops[0], stops[1], stops[2]}, locations);
    EXPECT_EQ(CGGradientColorAt(g, 0.25), kWhite);
    EXPECT_DOUBLE_EQ(CGGradientColorAt(g, 0.125).r, 0.5);
    EXPECT_DOUBLE_EQ(CGGradientColorAt(g, 0.625).g, 0.5);
    EXPECT_EQ(CGGradientColorAt(g, 7), kBlack);
    CGGradientRelease(g);
    EXPECT_EQ(CGGradientCreateWithColors(nullptr, {}, nullptr), nullptr);
}

// The extend options carry the end colors past the end points; option 0 leaves them alone.
TEST(GradientStops, ExtendOptionsPaintBeyondTheEndPoints) {
    struct Row {
        uint32_t options;
        bool left, right;
    };
    for (Row row : {Row{0, false, false}, Row{kCGGradientDrawsBeforeStartLocation, true, false},
                    Row{kCGGradientDrawsAfterEndLocation, false, true}, Row{3, true, true}}) {
        CGContextRef ctx = CGBitmapContextCreate(10, 1);
        CGGradientRef g = CGGradientCreateWithColors(nullptr, {kRed, kBlue}, nullptr);
        CGContextDrawLinearGradient(ctx, g, {3, 0}, {7, 0}, row.options);
        const uint8_t* px = CGBitmapContextGetData(ctx);
        EXPECT_EQ(px[0], row.left ? 255 : 0) << row.options;
        EXPECT_EQ(px[3], row.left ? 255 : 0) << row.options;
        EXPECT_EQ(px[4 * 9 + 2], row.right ? 255 : 0) << row.options;
        EXPECT_EQ(px[4 * 9 + 3], row.right ? 255 : 0) << row.options;
        EXPECT_EQ(px[4 * 5 + 3], 255) << row.options;
        CGGradientRelease(g);
        CGContextRelease(ctx);
    }
}

// The hue square read left to right runs red, yellow, green, cyan, blue, magenta, red; with no
// brightness it is black throughout.
TEST(HueSquare, ReadsAsTheHueCircleAndGoesBlackWithoutBrightness) {
    for (double brightness : {1.0, 0.0}) {
        CGContextRef ctx = CGBitmapContextCreate(600, 4);
        for (const rule::Layer& layer : hueSaturation({600, 4}, brightness))
            drawLayer(ctx, nullptr, layer);
        const uint8_t* top = CGBitmapContextGetData(ctx);
        for (int k = 0; k <= 6; ++k) {
            const int column = std::min(599, k * 100);
            const uint8_t* px = top + 4 * column;
            const CGColor hue =
                std::vector<CGColor>{kRed, kYellow, kGreen, kCyan, kBlue, kMagenta, kRed}[size_t(k)];
            // In the first row the white layer is (t, t, t) at alpha t, t = 1/8: its colors are
            // interpolated straight, so it darkens a little as well as whitening.
            const double t = 0.125;
            const double want[3] = {hue.r, hue.g, hue.b};
            for (int ch = 0; ch < 3; ++ch)
                EXPECT_NEAR(px[ch], 255 * brightness * (want[ch] * (1 - t) + t * t), 4)
                    << "column " << column;
            EXPECT_EQ(px[3], 255);
        }
        CGContextRelease(ctx);
    }
}

} // namespace
