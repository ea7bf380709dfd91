// Each of the picker's six gradient views, drawn the way its drawRect: draws it (the layers
// gradientLayers gives, clipped to the view), at two sizes: 900 x 750 pixels (300 x 250
// points at 3x) and the picker's bar or square at 2x (580 x 40 and 580 x 290 points). Beside
// each, in the same run: the limit (memset of the same buffer once a layer) and the peer (Cairo
// painting the same layers with linear patterns). Before timing, both renderers draw each case
// once and must agree within 2 levels on every channel; the program fails when they do not.
// It ends with a table of the two ratios for every case.
#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"
#include "picker/GradientLayers.h"

#include "BenchMedians.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

struct Kind {
    GradientViewKind kind;
    const char* name;
    bool bar;
};
const Kind kKinds[] = {{GradientViewKind::HueSaturation, "HueSaturation", false},
                       {GradientViewKind::BrightnessSaturation, "BrightnessSaturation", false},
                       {GradientViewKind::HueBrightness, "HueBrightness", false},
                       {GradientViewKind::HueSlider, "HueSlider", true},
                       {GradientViewKind::BrightnessSlider, "BrightnessSlider", true},
                       {GradientViewKind::SaturationSlider, "SaturationSlider", true}};

struct Size {
    const char* name;
    double scale, barWidth, barHeight, squareWidth, squareHeight; // points
};
const Size kSizes[] = {{"900x750", 3, 300, 250, 300, 250}, {"picker@2x", 2, 580, 40, 580, 290}};

const HsbComponents kColor{0.6, 0.45, 0.7};

struct Layer {
    std::vector<CGColor> stops;
    CGPoint start, end;
};

struct Case {
    std::string name;
    double scale, width, height;
    size_t pixelsWide, pixelsHigh;
    std::vector<Layer> layers;
};

// A stop's color as the drawing takes it: HSB stops through UIColor's conversion, as the view does.
CGColor stopColor(const GradientStop& stop) {
    if (!stop.isHsb)
        return CGColorMake(stop.c1, stop.c2, stop.c3, stop.alpha);
    id color =
        msg<id>(classObject(objc_getClass("UIColor")), SELECTOR("colorWithHue:saturation:brightness:alpha:"),
                stop.c1, stop.c2, stop.c3, stop.alpha);
    return msg<CGColor>(color, SELECTOR("CGColor"));
}

Case makeCase(const Kind& kind, const Size& size) {
    Case c;
    c.name = std::string(kind.name) + "/" + size.name;
    c.scale = size.scale;
    c.width = kind.bar ? size.barWidth : size.squareWidth;
    c.height = kind.bar ? size.barHeight : size.squareHeight;
    c.pixelsWide = size_t(c.width * c.scale);
    c.pixelsHigh = size_t(c.height * c.scale);
    const GradientLayers layers = gradientLayers(kind.kind, kColor, c.width, c.height);
    for (size_t i = 0; i < layers.count; ++i) {
        Layer layer{{}, layers.layers[i].start, layers.layers[i].end};
        for (size_t s = 0; s < layers.layers[i].stopCount; ++s)
            layer.stops.push_back(stopColor(layers.layers[i].stops[s]));
        c.layers.push_back(layer);
    }
    return c;
}

void drawOurs(CGContextRef ctx, const Case& c) {
    CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
    CGContextSaveGState(ctx);
    CGContextClipToRect(ctx, CGRectMake(0, 0, c.width, c.height));
    for (const Layer& layer : c.layers) {
        CGGradientRef gradient = CGGradientCreateWithColors(space, layer.stops, nullptr);
        CGContextDrawLinearGradient(ctx, gradient, layer.start, layer.end, 0);
        CGGradientRelease(gradient);
    }
    CGContextRestoreGState(ctx);
    CGColorSpaceRelease(space);
}

void drawCairo(cairo_t* cr, const Case& c) {
    cairo_save(cr);
    cairo_scale(cr, c.scale, c.scale);
    cairo_rectangle(cr, 0, 0, c.width, c.height);
    cairo_clip(cr);
    for (const Layer& layer : c.layers) {
        cairo_pattern_t* pattern =
            cairo_pattern_create_linear(layer.start.x, layer.start.y, layer.end.x, layer.end.y);
        const size_t n = layer.stops.size();
        for (size_t i = 0; i < n; ++i) {
            const CGColor& s = layer.stops[i];
            cairo_pattern_add_color_stop_rgba(pattern, double(i) / double(n - 1), s.r, s.g, s.b, s.a);
        }
        cairo_set_source(cr, pattern);
        cairo_paint(cr);
        cairo_pattern_destroy(pattern);
    }
    cairo_restore(cr);
    cairo_surface_flush(cairo_get_target(cr));
}

// The largest difference on any channel between the two pictures. Every view's first layer is
// opaque, so Cairo's premultiplied native-endian pixels (B, G, R, A bytes here) are the colors.
int largestDifference(const Case& c) {
    CGContextRef ctx = CGBitmapContextCreate(c.pixelsWide, c.pixelsHigh);
    CGContextScaleCTM(ctx, c.scale, c.scale);
    drawOurs(ctx, c);
    const uint8_t* ours = CGBitmapContextGetData(ctx);
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(c.pixelsWide), int(c.pixelsHigh));
    cairo_t* cr = cairo_create(surface);
    drawCairo(cr, c);
    const uint8_t* peer = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    int worst = 0;
    for (size_t y = 0; y < c.pixelsHigh; ++y)
        for (size_t x = 0; x < c.pixelsWide; ++x) {
            const uint8_t* o = ours + (y * c.pixelsWide + x) * 4;
            const uint8_t* p = peer + y * size_t(stride) + x * 4;
            const int channel[4] = {o[0] - p[2], o[1] - p[1], o[2] - p[0], o[3] - p[3]};
            for (int d : channel)
                worst = std::max(worst, std::abs(d));
        }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    CGContextRelease(ctx);
    return worst;
}

void benchMemset(benchmark::State& state, const Case& c) {
    std::vector<uint8_t> pixels(c.pixelsWide * c.pixelsHigh * 4);
    for (auto _ : state)
        for (size_t layer = 0; layer < c.layers.size(); ++layer) {
            std::memset(pixels.data(), int(0x40 + layer), pixels.size());
            benchmark::DoNotOptimize(pixels.data());
            benchmark::ClobberMemory();
        }
}

void benchOurs(benchmark::State& state, const Case& c) {
    CGContextRef ctx = CGBitmapContextCreate(c.pixelsWide, c.pixelsHigh);
    CGContextScaleCTM(ctx, c.scale, c.scale);
    for (auto _ : state) {
        drawOurs(ctx, c);
        benchmark::DoNotOptimize(CGBitmapContextGetData(ctx));
        benchmark::ClobberMemory();
    }
    CGContextRelease(ctx);
}

void benchCairo(benchmark::State& state, const Case& c) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(c.pixelsWide), int(c.pixelsHigh));
    cairo_t* cr = cairo_create(surface);
    for (auto _ : state) {
        drawCairo(cr, c);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
        benchmark::ClobberMemory();
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

} // namespace

int main(int argc, char** argv) {
    std::vector<Case> cases;
    for (const Size& size : kSizes)
        for (const Kind& kind : kKinds)
            cases.push_back(makeCase(kind, size));

    bool agree = true;
    for (const Case& c : cases) {
        const int worst = largestDifference(c);
        std::printf("%-32s ours and Cairo differ by at most %d levels\n", c.name.c_str(), worst);
        agree = agree && worst <= 2;
    }
    if (!agree) {
        std::fprintf(stderr, "gradient_views_bench: the two renderers differ by more than 2 levels\n");
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    for (const Case& c : cases) {
        benchmark::RegisterBenchmark(("Memset/" + c.name).c_str(), benchMemset, c)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(5);
        benchmark::RegisterBenchmark(("Ours/" + c.name).c_str(), benchOurs, c)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(5);
        benchmark::RegisterBenchmark(("Cairo/" + c.name).c_str(), benchCairo, c)
            ->Unit(benchmark::kMicrosecond)
            ->Repetitions(5);
    }
    MedianKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    std::printf("\nMedian CPU times; goals: Cairo / ours at least 2, ours / memset per layer at most 1.5\n");
    std::printf("%-32s %12s %16s\n", "view/size", "Cairo/ours", "ours/memset");
    for (const Case& c : cases) {
        auto& m = reporter.medians;
        const std::string memset = "Memset/" + c.name, ours = "Ours/" + c.name, cairo = "Cairo/" + c.name;
        if (m.count(memset) && m.count(ours) && m.count(cairo))
            std::printf("%-32s %12.2f %16.2f\n", c.name.c_str(), m[cairo] / m[ours], m[ours] / m[memset]);
    }
    return 0;
}
