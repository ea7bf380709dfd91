// A cold start: `hushmark-sim run` as a person types it, a new process each time, on a temporary
// device root. Each run is spawned and waited for; its wall time is taken around it, its CPU time
// (user and system) from the child's resource usage. Programs: a two-step scenario (boot, then a
// one-second wait), the shortest shipped scenario, and /bin/true as the floor every process start
// pays, measured in the same run. The goal: a short run under 30 ms wall, within 1.5 times its CPU
// time. The figures are medians of the runs; the machine may be loaded, so give its load beside them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Figures {
    double wall = 0; // milliseconds, median
    double cpu = 0;  // milliseconds, median
};
std::map<std::string, Figures> figures;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double milliseconds(const timeval& t) {
    return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
}

// Runs `argv` with its output thrown away; false when it cannot start or exits non-zero.
bool spawnTimed(const std::vector<std::string>& argv, double& wallMs, double& cpuMs) {
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return false;
    wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    cpuMs = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void coldStart(benchmark::State& state, const std::string& label, const std::vector<std::string>& argv) {
    std::vector<double> walls, cpus;
    for (auto _ : state) {
        double wall = 0, cpu = 0;
        if (!spawnTimed(argv, wall, cpu)) {
            state.SkipWithError(("the run failed: " + argv[0]).c_str());
            return;
        }
        state.SetIterationTime(wall / 1e3);
        walls.push_back(wall);
        cpus.push_back(cpu);
    }
    Figures f{median(walls), median(cpus)};
    figures[label] = f;
    state.counters["wall_ms"] = f.wall;
    state.counters["cpu_ms"] = f.cpu;
    state.counters["wall/cpu"] = f.cpu > 0 ? f.wall / f.cpu : 0;
}

// The two-step scenario, written once to the temporary folder.
std::string twoStepScenario() {
    const char* tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/hm-cold-start-XXXXXX.scn";
    const int fd = mkstemps(path.data(), 4);
    if (fd < 0)
        return "";
    const std::string text = "boot\nwait 1s\n";
    const bool written = write(fd, text.data(), text.size()) == ssize_t(text.size());
    close(fd);
    return written ? path : "";
}

} // namespace

int main(int argc, char** argv) {
    // HM_COLD_START_SIM names another build of the simulator to time (an earlier one, to compare).
    const char* other = std::getenv("HM_COLD_START_SIM");
    const std::string sim = other && *other ? other : HM_SIM_PROGRAM;
    const std::string twoSteps = twoStepScenario();
    if (twoSteps.empty()) {
        std::fprintf(stderr, "cannot write the two-step scenario in the temporary folder\n");
        return 1;
    }
    const std::vector<std::pair<std::string, std::vector<std::string>>> programs = {
        {"process start (/bin/true)", {"/bin/true"}},
        {"run, two steps", {sim, "run", twoSteps}},
        {"run deadline.scn", {sim, "run", HM_SCENARIO_DIR "/deadline.scn"}},
    };
    for (const auto& [label, args] : programs)
        benchmark::RegisterBenchmark(label.c_str(), coldStart, label, args)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(40);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    unlink(twoSteps.c_str());

    // Medians, and the runs against the bare process start measured in this run.
    std::printf("\n%-28s %10s %10s %9s %12s\n", "cold start (median)", "wall ms", "cpu ms", "wall/cpu",
                "wall/floor");
    const double floor = figures.count(programs[0].first) ? figures[programs[0].first].wall : 0;
    for (const auto& [label, f] : figures)
        std::printf("%-28s %10.2f %10.2f %9.2f %12.2f\n", label.c_str(), f.wall, f.cpu,
                    f.cpu > 0 ? f.wall / f.cpu : 0.0, floor > 0 ? f.wall / floor : 0.0);
    return 0;
}
