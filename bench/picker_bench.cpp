// The picker's two hot paths, measured on each of the three layouts:
//  - one drag event on the square or the bar, end to end: the window moves the finger, the
//    touch-eater reports a drag inside, the picker maps the point, refreshes labels and markers,
//    makes the color and calls a recording change callback (no drawing: a drag only asks for a
//    redraw, which the display pass coalesces);
//  - the redraw that event asks for, at 3x scale (a square 900 pixels wide), beside memset of
//    the same pixel buffer as the baseline.
// Goals: a drag event under 10 us (median of the repetitions); a redraw of the largest view
// under 0.3 ms. The ratios to memset are printed at the end.
#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"
#include "uikit/UIWindow.h"

#include "BenchMedians.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr double kScale = 3;
const CGRect kPickerFrame = CGRectMake(0, 0, 320, 400);

struct Layout {
    const char* className;
    const char* square;
    const char* bar;
};
const Layout kLayouts[] = {
    {"HMColorPickerView_B", "hueSaturationView", "brightnessGradientView"},
    {"HMColorPickerView_H", "brightnessSaturationView", "hueGradientView"},
    {"HMColorPickerView_S", "hueBrightnessView", "saturationGradientView"},
};

struct Host {
    Ref<UIWindow> window;
    id picker;
    long reported = 0;

    explicit Host(const char* className) {
        window = std::static_pointer_cast<UIWindow>(
            msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                    "initWithFrame:", CGRectMake(0, 0, 320, 568)));
        id start = msg<id>(classObject(objc_getClass("UIColor")),
                           "colorWithHue:saturation:brightness:alpha:", 0.5, 0.5, 0.5, 1.0);
        picker =
            msg<id>(msg<id>(classObject(objc_getClass(className)), "alloc"),
                    "initWithFrame:color:colorsHaveChangedBlock:saveChangesBlock:", kPickerFrame, start,
                    std::function<void(id)>([this](id) { ++reported; }), std::function<void(id)>([](id) {}));
        msg(window, "addSubview:", picker);
        msg(window, "layoutIfNeeded");
    }
    CGRect frameOf(const char* part) const { return msg<CGRect>(msg<id>(picker, part), "frame"); }
};

// Drags back and forth between two points of a part, so that every event changes the color.
void dragEvent(benchmark::State& state, const Layout& layout, bool onSquare) {
    Host host(layout.className);
    const CGRect r = host.frameOf(onSquare ? layout.square : layout.bar);
    const CGPoint a{r.origin.x + r.size.width * 0.3, r.origin.y + r.size.height * 0.4};
    const CGPoint b{r.origin.x + r.size.width * 0.7, r.origin.y + r.size.height * 0.6};
    host.window->touchDown(a);
    bool flip = false;
    for (auto _ : state) {
        host.window->touchMove(flip ? a : b);
        flip = !flip;
    }
    host.window->touchUp(a);
    if (host.reported < static_cast<long>(state.iterations()))
        state.SkipWithError("a drag event did not report");
}

// The view a drag on one part asks to redraw: a square drag refreshes the bar, a bar drag the
// square (HMColorPickerView_H's square drag redraws nothing; its bar is the hue bar, drawn
// here all the same as the largest bar).
void redraw(benchmark::State& state, const Layout& layout, bool square) {
    Host host(layout.className);
    id view = msg<id>(host.picker, square ? layout.square : layout.bar);
    const CGRect frame = msg<CGRect>(view, "frame");
    CGContextRef context = CGBitmapContextCreate(static_cast<size_t>(frame.size.width * kScale),
                                                 static_cast<size_t>(frame.size.height * kScale));
    CGContextScaleCTM(context, kScale, kScale);
    UIGraphicsPushContext(context);
    const CGRect bounds = CGRectMake(0, 0, frame.size.width, frame.size.height);
    for (auto _ : state) {
        msg(view, "drawRect:", bounds);
        benchmark::DoNotOptimize(CGBitmapContextGetData(context));
    }
    UIGraphicsPopContext();
    state.counters["pixels"] =
        static_cast<double>(CGBitmapContextGetWidth(context) * CGBitmapContextGetHeight(context));
    CGContextRelease(context);
}

// The baseline: clearing a buffer of the same size.
void memsetOf(benchmark::State& state, const Layout& layout, bool square) {
    Host host(layout.className);
    const CGRect frame = host.frameOf(square ? layout.square : layout.bar);
    std::vector<uint8_t> buffer(static_cast<size_t>(frame.size.width * kScale) *
                                static_cast<size_t>(frame.size.height * kScale) * 4);
    int value = 0;
    for (auto _ : state) {
        std::memset(buffer.data(), ++value & 0xFF, buffer.size());
        benchmark::DoNotOptimize(buffer.data());
        benchmark::ClobberMemory();
    }
}

void registerAll() {
    for (const Layout& layout : kLayouts) {
        const std::string name = layout.className;
        for (bool square : {true, false}) {
            const std::string part = square ? "square" : "bar";
            benchmark::RegisterBenchmark(
                ("drag/" + name + "/" + part).c_str(),
                [&layout, square](benchmark::State& s) { dragEvent(s, layout, square); })
                ->Repetitions(5)
                ->ReportAggregatesOnly(true)
                ->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("redraw/" + name + "/" + part).c_str(), [&layout, square](
                                                                                      benchmark::State& s) {
                redraw(s, layout, square);
            })->Unit(benchmark::kMicrosecond);
            benchmark::RegisterBenchmark(("memset/" + name + "/" + part).c_str(), [&layout, square](
                                                                                      benchmark::State& s) {
                memsetOf(s, layout, square);
            })->Unit(benchmark::kMicrosecond);
        }
    }
}

// Prints what the console shows, and keeps each run's times per iteration for the ratios. The
// machine may be shared, so the summary gives CPU time (the work done) beside wall time.
class RatioReporter : public MedianRunReporter {
  public:
    void keep(const Run& run) override {
        times_[run.run_name.function_name] = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime()};
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-30s %10s %10s %8s %10s %10s\n", "redraw at 3x", "cpu us", "memset", "ratio",
                    "wall us", "memset");
        for (const auto& [name, t] : times_) {
            if (name.rfind("redraw/", 0) != 0)
                continue;
            const auto base = times_.find("memset/" + name.substr(7));
            if (base == times_.end())
                continue;
            std::printf("%-30s %10.1f %10.1f %8.2f %10.1f %10.1f\n", name.substr(7).c_str(), t.cpu,
                        base->second.cpu, t.cpu / base->second.cpu, t.wall, base->second.wall);
        }
        std::printf("\n%-30s %10s %10s\n", "drag event (median)", "cpu us", "wall us");
        for (const auto& [name, t] : times_) {
            if (name.rfind("drag/", 0) == 0)
                std::printf("%-30s %10.2f %10.2f\n", name.substr(5).c_str(), t.cpu, t.wall);
        }
    }

  private:
    struct Times {
        double cpu = 0, wall = 0;
    };
    std::map<std::string, Times> times_;
};

} // namespace

int main(int argc, char** argv) {
    registerAll();
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
