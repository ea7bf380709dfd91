// Long "Button Text"s, from a few thousand characters up to what the settings file holds:
//  - layout alone, at 2k, 4k, 8k, 16k and 300k characters: the line a one-line field or button
//    shows (it should not grow with the text), the text's one-line size (every character
//    measured) and its size wrapped at 290 points (every line broken): the time per character
//    should stay flat, as layout is linear in the text's length;
//  - on a device whose settings file holds the text: a picture of Hushmark's Settings page at
//    each length; at 300k characters the whole boot (device started, Hushmark's page opened and
//    drawn), the alarm alert with the extra button drawn, and the page saving the text typed
//    into its row (the settings file written); the boot with the seeded 8-character text beside it.
// Goal: at 300k characters, boot, pictures and save each well under 50 ms. The per-character
// times and the ratios to the 2k run are printed at the end.
#include "BenchMedians.h"
#include "ScratchRoot.h"
#include "device/Device.h"
#include "device/DeviceImage.h"

#include "foundation/DeviceEnvironment.h"
#include "uikit/UILabel.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const NSDate kStart{818326800.0}; // 2026-12-07 07:00 UTC
const std::vector<size_t> kLengths{2000, 4000, 8000, 16000, 300000};
constexpr size_t kLongest = 300000;

// Words of different lengths, some with characters beyond ASCII, cut at `length` bytes on a
// character boundary.
std::string longText(size_t length) {
    static const std::string kWords =
        "Wake up gently, the day is long. Caf\xC3\xA9 \xE2\x80\x94 snooze later? Hushmark ";
    std::string s;
    s.reserve(length + kWords.size());
    while (s.size() < length)
        s += kWords;
    size_t end = length;
    while (end > 0 && (static_cast<unsigned char>(s[end]) & 0xC0) == 0x80)
        --end;
    s.resize(end);
    return s;
}

// A virtual device in a temporary root whose settings file holds `text` as the button text,
// Hushmark enabled with its alert button.
struct Simulation {
    ScratchRoot root{"hm-longtext"};
    std::unique_ptr<sim::Device> device;
    std::string error = root.error;

    explicit Simulation(const std::string& text) {
        device = std::make_unique<sim::Device>(sim::Device::Options{root.path, kStart, false});
        if (error.empty())
            error = device->world().setSetting("enabled", true);
        if (error.empty())
            error = device->world().setSetting("enableAlertButtons", true);
        if (error.empty())
            error = device->world().setSetting("buttonText", text);
    }
    std::string bootAndOpen() {
        std::string e = device->boot();
        return e.empty() ? device->input().openSettings() : e;
    }
    ~Simulation() { device.reset(); } // before its root goes
};

// One device at a time (the platform has one root): kept while benchmarks ask for its length.
Simulation& simulation(size_t length) {
    static std::unique_ptr<Simulation> s;
    static size_t made = 0;
    if (!s || made != length) {
        s.reset();
        s = std::make_unique<Simulation>(longText(length));
        if (s->error.empty())
            s->error = s->bootAndOpen();
        made = length;
    }
    return *s;
}

void setCharacters(benchmark::State& state, size_t length) {
    state.counters["chars"] = double(length);
    state.SetItemsProcessed(int64_t(state.iterations()) * int64_t(length));
}

void shownLine(benchmark::State& state, size_t length) {
    const std::string text = longText(length);
    for (auto _ : state)
        benchmark::DoNotOptimize(labelShownLines(text, {290, 44}, 1));
    setCharacters(state, length);
}

void oneLineSize(benchmark::State& state, size_t length) {
    const std::string text = longText(length);
    for (auto _ : state)
        benchmark::DoNotOptimize(labelTextSize(text, 0, 1));
    setCharacters(state, length);
}

void wrappedSize(benchmark::State& state, size_t length) {
    const std::string text = longText(length);
    for (auto _ : state)
        benchmark::DoNotOptimize(labelTextSize(text, 290, 0));
    setCharacters(state, length);
}

void settingsPicture(benchmark::State& state, size_t length) {
    Simulation& s = simulation(length);
    if (!s.error.empty())
        return state.SkipWithError(s.error.c_str());
    for (auto _ : state)
        benchmark::DoNotOptimize(s.device->pictures().render(sim::Screen::Settings));
    setCharacters(state, length);
}

// `length` 0: the seeded "Hushmark", the baseline.
void boot(benchmark::State& state, size_t length) {
    const std::string text = length ? longText(length) : "Hushmark";
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<Simulation>(text);
        if (!s->error.empty())
            return state.SkipWithError(s->error.c_str());
        state.ResumeTiming();
        std::string e = s->bootAndOpen();
        if (!e.empty())
            return state.SkipWithError(e.c_str());
        benchmark::DoNotOptimize(s->device->pictures().render(sim::Screen::Settings));
        state.PauseTiming();
        s.reset();
        state.ResumeTiming();
    }
    setCharacters(state, length ? length : text.size());
}

void alertPicture(benchmark::State& state) {
    Simulation& s = simulation(kLongest);
    if (!s.error.empty())
        return state.SkipWithError(s.error.c_str());
    static bool ringing = false;
    if (!ringing) {
        std::string e = s.device->world().addAlarm({7 * 3600 + 1 * 60, "Wake up", true, false});
        const auto due = s.device->world().nextAlarmDate();
        if (e.empty() && !due)
            e = "the alarm is not set";
        if (e.empty())
            e = s.device->world().advance(due->timeIntervalSinceReferenceDate -
                                          s.device->now().timeIntervalSinceReferenceDate + 1);
        if (!e.empty())
            return state.SkipWithError(e.c_str());
        if (s.device->apps().alertsOn(sim::Screen::SpringBoard).empty())
            return state.SkipWithError("no alarm alert shows");
        ringing = true;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(s.device->pictures().render(sim::Screen::SpringBoard));
    setCharacters(state, kLongest);
}

void save(benchmark::State& state) {
    Simulation& s = simulation(kLongest);
    if (!s.error.empty())
        return state.SkipWithError(s.error.c_str());
    // Two texts in turn, so every save changes the file.
    const std::string texts[2] = {longText(kLongest), longText(kLongest - 1)};
    size_t turn = 0;
    for (auto _ : state) {
        std::string e = s.device->input().typeInRow("Button Text:", texts[turn++ % 2]);
        if (!e.empty())
            return state.SkipWithError(e.c_str());
    }
    if (s.device->world().settingText("buttonText").size() < kLongest - 1)
        state.SkipWithError("the text was not saved");
    setCharacters(state, kLongest);
}

// Prints, per family, each length's time per character and its ratio to the 2k run's.
class LinearityReporter : public MedianRunReporter {
  public:
    void keep(const Run& run) override {
        const std::string name = run.run_name.function_name;
        const size_t slash = name.rfind('/');
        auto chars = run.counters.find("chars");
        if (slash == std::string::npos || chars == run.counters.end())
            return;
        const double seconds = run.GetAdjustedCPUTime() * secondsPerUnit(run.time_unit);
        families_[name.substr(0, slash)][size_t(chars->second.value)] = seconds;
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-22s %8s %12s %12s %10s\n", "family", "chars", "time (ms)", "ns per char",
                    "x 2k/char");
        for (const auto& [family, byLength] : families_) {
            const auto base = byLength.find(2000);
            for (const auto& [length, seconds] : byLength) {
                const double perChar = seconds / double(length);
                std::printf("%-22s %8zu %12.3f %12.2f", family.c_str(), length, seconds * 1e3, perChar * 1e9);
                if (base != byLength.end())
                    std::printf(" %10.2f", perChar / (base->second / 2000.0));
                std::printf("\n");
            }
        }
    }

  private:
    std::map<std::string, std::map<size_t, double>> families_; // seconds per iteration
};

} // namespace

int main(int argc, char** argv) {
    for (size_t n : kLengths) {
        const std::string k = std::to_string(n / 1000) + "k";
        benchmark::RegisterBenchmark(("shown line/" + k).c_str(), [n](benchmark::State& s) {
            shownLine(s, n);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("one-line size/" + k).c_str(), [n](benchmark::State& s) {
            oneLineSize(s, n);
        })->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("wrapped size/" + k).c_str(), [n](benchmark::State& s) {
            wrappedSize(s, n);
        })->Unit(benchmark::kMicrosecond);
    }
    for (size_t n : kLengths) {
        const std::string k = std::to_string(n / 1000) + "k";
        benchmark::RegisterBenchmark(("settings picture/" + k).c_str(), [n](benchmark::State& s) {
            settingsPicture(s, n);
        })->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark("alert picture/300k", alertPicture)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("save/300k", save)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("boot/8", [](benchmark::State& s) { boot(s, 0); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::RegisterBenchmark("boot/300k", [](benchmark::State& s) { boot(s, kLongest); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
    benchmark::Initialize(&argc, argv);
    LinearityReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
