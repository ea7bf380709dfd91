// A scenario's run time against its length: 5k, 10k, 20k and 40k `notify a.b` steps, each a
// device event, run by the scenario runner on one device root. A run's time should grow with
// its steps and events, not with their square: 40k steps take about 8 times 5k, and under a
// second (the goal). Ratios are printed at the end, against the 5k run measured in the same run.
#include "BenchMedians.h"

#include "Runner.h"
#include "Scenario.h"

#include "ScratchRoot.h"
#include "foundation/DeviceEvents.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <sstream>
#include <string>

namespace {

ScratchRoot& root() {
    static ScratchRoot r("hm-scenario-bench");
    return r;
}

std::string notifications(int count) {
    std::string text = "boot\n";
    for (int i = 0; i < count; ++i)
        text += "notify a.b\n";
    return text;
}

void runSteps(benchmark::State& state) {
    const int count = int(state.range(0));
    sim::Scenario scenario;
    if (auto e = sim::parseScenario(notifications(count), "bench", scenario)) {
        state.SkipWithError(e->message.c_str());
        return;
    }
    if (!root().error.empty()) {
        state.SkipWithError(root().error.c_str());
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        DeviceEvents::clear();
        std::ostringstream out, err;
        state.ResumeTiming();
        const int code = sim::Runner(scenario, {root().path, {}, {}, {}, false, false}, out, err).run();
        state.PauseTiming();
        // Every step ran, and each notification is an event on the timeline.
        const std::string timeline = out.str();
        size_t steps = 0;
        for (size_t at = timeline.find("> notify a.b"); at != std::string::npos;
             at = timeline.find("> notify a.b", at + 1))
            ++steps;
        if (code != 0 || steps != size_t(count))
            state.SkipWithError(("the run failed: " + err.str()).c_str());
        state.ResumeTiming();
    }
    state.counters["steps"] = count;
}

} // namespace

int main(int argc, char** argv) {
    for (int count : {5000, 10000, 20000, 40000})
        benchmark::RegisterBenchmark(("notify x" + std::to_string(count / 1000) + "k").c_str(), runSteps)
            ->Arg(count)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(1)
            ->Repetitions(3)
            ->ReportAggregatesOnly(true);
    benchmark::Initialize(&argc, argv);
    MedianKeeper reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    auto& m = reporter.medians;
    const std::string base = "notify x5k";
    std::printf("\n");
    for (int k : {10, 20, 40}) {
        const std::string name = "notify x" + std::to_string(k) + "k";
        if (m.count(name) && m.count(base))
            std::printf("%2dk steps  %8.1f ms CPU  %5.2fx 5k (%.1f ms; linear: %dx)\n", k, m[name],
                        m[name] / m[base], m[base], k / 5);
    }
    return 0;
}
