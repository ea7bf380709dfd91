// The hue square of the picker (three gradient layers) at 900 x 750 pixels, the size it has on
// a 3x screen, drawn the way its drawRect: draws it. Beside it, in the same run: the limit (the
// same buffer written with memset three times, once a layer) and the peer (Cairo drawing the
// same three layers with linear patterns). The program ends with the two ratios.
#include "coregraphics/CoreGraphics.h"

#include "BenchMedians.h"

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kScale = 3, kWidth = 300, kHeight = 250; // points
constexpr size_t kPixelsWide = 900, kPixelsHigh = 750;
constexpr double kBrightness = 0.7;

const std::vector<CGColor> kHueRamp{{1, 0, 0, 1}, {1, 0, 1, 1}, {0, 0, 1, 1}, {0, 1, 1, 1},
                                    {0, 1, 0, 1}, {1, 1, 0, 1}, {1, 0, 0, 1}};

struct Layer {
    std::vector<CGColor> stops;
    CGPoint start, end;
};

const std::vector<Layer>& squareLayers() {
    static const CGColor shade{0, 0, 0, 1 - kBrightness};
    static const std::vector<Layer> layers{{kHueRamp, {kWidth, 0}, {0, 0}},
                                           {{{0, 0, 0, 0}, {1, 1, 1, 1}}, {0, 0}, {0, kHeight}},
                                           {{shade, shade}, {0, 0}, {0, kHeight}}};
    return layers;
}

void BM_MemsetThreeTimes(benchmark::State& state) {
    std::vector<uint8_t> pixels(kPixelsWide * kPixelsHigh * 4);
    for (auto _ : state) {
        for (int layer = 0; layer < 3; ++layer) {
            std::memset(pixels.data(), 0x40 + layer, pixels.size());
            benchmark::DoNotOptimize(pixels.data());
            benchmark::ClobberMemory();
        }
    }
}

void BM_HueSquare(benchmark::State& state) {
    CGContextRef ctx = CGBitmapContextCreate(kPixelsWide, kPixelsHigh);
    CGContextScaleCTM(ctx, kScale, kScale);
    for (auto _ : state) {
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGContextSaveGState(ctx);
        CGContextClipToRect(ctx, CGRectMake(0, 0, kWidth, kHeight));
        for (const Layer& layer : squareLayers()) {
            CGGradientRef gradient = CGGradientCreateWithColors(space, layer.stops, nullptr);
            CGContextDrawLinearGradient(ctx, gradient, layer.start, layer.end, 0);
            CGGradientRelease(gradient);
        }
        CGContextRestoreGState(ctx);
        CGColorSpaceRelease(space);
        benchmark::DoNotOptimize(CGBitmapContextGetData(ctx));
        benchmark::ClobberMemory();
    }
    CGContextRelease(ctx);
}

void BM_CairoHueSquare(benchmark::State& state) {
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(kPixelsWide), int(kPixelsHigh));
    cairo_t* cr = cairo_create(surface);
    for (auto _ : state) {
        cairo_save(cr);
        cairo_scale(cr, kScale, kScale);
        cairo_rectangle(cr, 0, 0, kWidth, kHeight);
        cairo_clip(cr);
        for (const Layer& layer : squareLayers()) {
            cairo_pattern_t* pattern =
                cairo_pattern_create_linear(layer.start.x, layer.start.y, layer.end.x, layer.end.y);
            const size_t n = layer.stops.size();
            for (size_t i = 0; i < n; ++i) {
                const CGColor& c = layer.stops[i];
                cairo_pattern_add_color_stop_rgba(pattern, double(i) / double(n - 1), c.r, c.g, c.b, c.a);
            }
            cairo_set_source(cr, pattern);
            cairo_paint(cr);
            cairo_pattern_destroy(pattern);
        }
        cairo_restore(cr);
        cairo_surface_flush(surface);
        benchmark::DoNotOptimize(cairo_image_surface_get_data(surface));
        benchmark::ClobberMemory();
    }
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
}

BENCHMARK(BM_MemsetThreeTimes)->Unit(benchmark::kMicrosecond)->Repetitions(7);
BENCHMARK(BM_HueSquare)->Unit(benchmark::kMicrosecond)->Repetitions(7);
BENCHMARK(BM_CairoHueSquare)->Unit(benchmark::kMicrosecond)->Repetitions(7);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    MedianKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto& m = reporter.medians;
    if (m.count("BM_MemsetThreeTimes") && m.count("BM_HueSquare") && m.count("BM_CairoHueSquare")) {
        const double limit = m["BM_MemsetThreeTimes"], ours = m["BM_HueSquare"],
                     peer = m["BM_CairoHueSquare"];
        std::printf("\nHue square, 900 x 750 pixels, three layers (median CPU times):\n");
        std::printf("  ours / memset x3 = %.2f (goal: at most 3)\n", ours / limit);
        std::printf("  Cairo / ours     = %.2f (goal: at least 4)\n", peer / ours);
    }
    return 0;
}
