// Simulated time on one virtual device: a daily Clock alarm while Hushmark stays disarmed, so
// every day the alarm is scheduled, falls due and is dropped. Berlin's time zone, so the local
// offset changes twice a year.
//  - one simulated year and one simulated century, each a run of the device's clock: the
//    century should take a hundred times the year (linear) and under a second (the goal);
//  - the device's UTC offset as the schedule asks for it (its time zone kept between looks),
//    beside the plain way: the global preferences read and a time zone made for every look.
// Ratios are printed at the end.
#include "BenchMedians.h"
#include "ScratchRoot.h"

#include "device/Device.h"

#include "foundation/DeviceEnvironment.h"
#include "foundation/PropertyList.h"
#include "springboard/DeviceTimeZone.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr double kDay = 86400;
constexpr double kYear = 365.25 * kDay;
const NSDate kStart{818326800.0}; // 2026-12-07 07:00 UTC

struct Simulation {
    ScratchRoot root{"hm-century", berlin()};
    std::unique_ptr<sim::Device> device;
    std::string error;
    static sim::DeviceImageOptions berlin() {
        sim::DeviceImageOptions image;
        image.timeZone = "Europe/Berlin";
        return image;
    }
    Simulation() : error(root.error) {
        device = std::make_unique<sim::Device>(sim::Device::Options{root.path, kStart, false});
        // Disarmed until far past every run (the clock holds dates up to the year 9999).
        if (error.empty())
            error = device->world().setSetting("enabled", true);
        if (error.empty())
            error = device->world().setSetting("disarmedUntil",
                                               NSDate{kStart.timeIntervalSinceReferenceDate + 5000 * kYear});
        if (error.empty())
            error = device->world().addAlarm({7 * 3600 + 30 * 60, "Wake up", true, true});
        if (error.empty())
            error = device->boot();
    }
    ~Simulation() { device.reset(); }
};

Simulation& simulation() {
    static Simulation s;
    return s;
}

void simulate(benchmark::State& state, double seconds) {
    Simulation& s = simulation();
    if (!s.error.empty()) {
        state.SkipWithError(s.error.c_str());
        return;
    }
    size_t dropped = 0;
    for (auto _ : state) {
        std::string e = s.device->world().advance(seconds);
        if (!e.empty())
            state.SkipWithError(e.c_str());
        state.PauseTiming();
        dropped += DeviceEvents::ofKind("alarm dropped").size();
        DeviceEvents::clear(); // the timeline is the front end's to keep
        state.ResumeTiming();
    }
    // One alarm dropped a day, or the run did not simulate what it says.
    const double days = seconds / kDay * static_cast<double>(state.iterations());
    if (std::abs(static_cast<double>(dropped) - days) > 1 + static_cast<double>(state.iterations()))
        state.SkipWithError(
            ("dropped " + std::to_string(dropped) + " alarms in " + std::to_string(days) + " days").c_str());
    state.counters["days"] = seconds / kDay;
}

void keptOffset(benchmark::State& state) {
    simulation();
    double t = kStart.timeIntervalSinceReferenceDate;
    for (auto _ : state)
        benchmark::DoNotOptimize(springboard::deviceUtcOffset(t += 21600));
}

void plainOffset(benchmark::State& state) {
    simulation();
    double t = kStart.timeIntervalSinceReferenceDate;
    for (auto _ : state) {
        auto prefs = dictionaryWithContentsOfFile(kGlobalPreferencesPath).value_or(PlistDict{});
        const PlistValue& zone = valueForKey(prefs, "TimeZone");
        benchmark::DoNotOptimize(
            springboard::utcOffsetInFreshZone(zone.isString() ? zone.asString() : "UTC", t += 21600));
    }
}

class RatioReporter : public MedianRunReporter {
  public:
    void keep(const Run& run) override {
        cpu_[run.run_name.function_name] = run.GetAdjustedCPUTime() * secondsPerUnit(run.time_unit);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n");
        if (cpu_.count("1 year") && cpu_.count("100 years")) {
            const double year = cpu_["1 year"], century = cpu_["100 years"];
            std::printf("100 years                  %8.3f s   %6.1fx 1 year (%.4f s; linear: 100x)\n",
                        century, century / year, year);
            std::printf("one simulated day          %8.2f us\n", century / 36525 * 1e6);
        }
        if (cpu_.count("offset, kept zone") && cpu_.count("offset, plain"))
            std::printf("offset, kept zone          %8.3f us   %6.3fx plain (%.3f us)\n",
                        cpu_["offset, kept zone"] * 1e6, cpu_["offset, kept zone"] / cpu_["offset, plain"],
                        cpu_["offset, plain"] * 1e6);
    }

  private:
    std::map<std::string, double> cpu_; // seconds per iteration
};

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("1 year", [](benchmark::State& s) {
        simulate(s, kYear);
    })->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("100 years", [](benchmark::State& s) { simulate(s, 100 * kYear); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1);
    benchmark::RegisterBenchmark("offset, kept zone", keptOffset);
    benchmark::RegisterBenchmark("offset, plain", plainOffset);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
