// The settings file on the tweak's hot paths, on a device root in a temporary folder:
//  - the reload the Darwin notification triggers: the file read into a dictionary and into the
//    tweak's record, beside the raw read of the same bytes (open, fstat, read, close by host
//    path) as the baseline, and the parse of those bytes alone;
//  - the suppression decision SpringBoard asks for every notification it fires;
//  - one atomic write of the same file, with and without the flushes to disk a kept device root
//    makes (the tests' and a plain simulator run's roots are scratch roots and skip them).
// Goals: a reload under 10 us, a suppression decision under 10 ns. Ratios are printed at the end.
#include "core/Suppression.h"
#include "core/TweakSettings.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceRoot.h"
#include "foundation/PropertyList.h"
#include "rules/SharedNames.h"

#include "BenchMedians.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A settings file as the pane leaves it after a disarm, with the seeded keys.
const PlistDict kSettingsFile{
    {"enabled", true},
    {"enableIcon", true},
    {"enableAlertButtons", true},
    {"disableForMinutes", 30},
    {"disarmedUntil", NSDate{818325000.0}},
    {"buttonText", "Hushmark"},
    {"buttonColor", "#FF0000"},
    {"preferColorPicker", true},
    {"colorPickerType", 0},
};

struct Root {
    fs::path path;
    fs::path settings;
    size_t bytes = 0;
    Root() {
        std::string pattern = (fs::temp_directory_path() / "hm-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path = pattern;
        createDeviceRootSkeleton(path);
        DeviceEnvironment::setRoot(path, RootDurability::Scratch);
        writeToFile(kSettingsFile, kSettingsPath, true);
        settings = path / fs::path(kSettingsPath).relative_path();
        bytes = fs::file_size(settings);
    }
    ~Root() { fs::remove_all(path); }
};

Root& root() {
    static Root r;
    return r;
}

void rawRead(benchmark::State& state) {
    const std::string path = root().settings.string();
    char buffer[4096];
    for (auto _ : state) {
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        struct stat st;
        ::fstat(fd, &st);
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        ::close(fd);
        benchmark::DoNotOptimize(n);
    }
    state.SetLabel(std::to_string(root().bytes) + " bytes");
}

void parseBytes(benchmark::State& state) {
    const std::string bytes = propertyListToXML(kSettingsFile);
    for (auto _ : state)
        benchmark::DoNotOptimize(propertyListFromBytes(bytes));
}

void readDictionary(benchmark::State& state) {
    root();
    for (auto _ : state)
        benchmark::DoNotOptimize(dictionaryWithContentsOfFile(kSettingsPath));
}

void reloadSettings(benchmark::State& state) {
    root();
    TweakSettings settings;
    for (auto _ : state) {
        bool read = readTweakSettings(settings, dictionaryWithContentsOfFile(kSettingsPath));
        benchmark::DoNotOptimize(read);
    }
    if (!settings.enabled || !settings.disarmedUntil)
        state.SkipWithError("the settings did not read");
}

void suppressionDecision(benchmark::State& state) {
    const std::optional<NSDate> until = NSDate{818325000.0};
    const NSDate now{818323200.0};
    const std::function<bool()> isAlarm = [] { return true; }, isConcrete = [] { return true; };
    for (auto _ : state) {
        bool drop = shouldDropNotification(true, until, now, isAlarm, isConcrete);
        benchmark::DoNotOptimize(drop);
    }
}

void atomicWrite(benchmark::State& state, RootDurability durability) {
    DeviceEnvironment::setRoot(root().path, durability);
    for (auto _ : state)
        benchmark::DoNotOptimize(writeToFile(kSettingsFile, kSettingsPath, true));
    DeviceEnvironment::setRoot(root().path, RootDurability::Scratch);
}

class RatioReporter : public MedianRunReporter {
  public:
    void keep(const Run& run) override {
        const double toMicroseconds = run.time_unit == benchmark::kMicrosecond ? 1 : 1e-3;
        times_[run.run_name.function_name] = {run.GetAdjustedCPUTime() * toMicroseconds,
                                              run.GetAdjustedRealTime() * toMicroseconds};
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto ratio = [&](const char* a, const char* b, bool wall) {
            if (!times_.count(a) || !times_.count(b))
                return;
            const double x = wall ? times_[a].wall : times_[a].cpu, y = wall ? times_[b].wall : times_[b].cpu;
            std::printf("%-26s %9.2f us  %6.2fx %s (%.2f us, %s)\n", a, x, x / y, b, y,
                        wall ? "wall" : "cpu");
        };
        std::printf("\n");
        ratio("reload", "raw read", false);
        ratio("read dictionary", "raw read", false);
        ratio("parse bytes", "raw read", false);
        ratio("atomic write, kept root", "atomic write, scratch", true);
        if (times_.count("suppression decision"))
            std::printf("%-26s %9.2f ns\n", "suppression decision", times_["suppression decision"].cpu * 1e3);
    }

  private:
    struct Times {
        double cpu = 0, wall = 0; // microseconds per iteration
    };
    std::map<std::string, Times> times_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::RegisterBenchmark("raw read", rawRead);
    benchmark::RegisterBenchmark("parse bytes", parseBytes);
    benchmark::RegisterBenchmark("read dictionary", readDictionary);
    benchmark::RegisterBenchmark("reload", reloadSettings);
    benchmark::RegisterBenchmark("suppression decision", suppressionDecision);
    benchmark::RegisterBenchmark("atomic write, scratch", [](benchmark::State& s) {
        atomicWrite(s, RootDurability::Scratch);
    })->Unit(benchmark::kMicrosecond);
    // CPU time hides the wait for the disk; wall time is what a boot waits.
    benchmark::RegisterBenchmark("atomic write, kept root",
                                 [](benchmark::State& s) { atomicWrite(s, RootDurability::Kept); })
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime()
        ->Iterations(50);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
