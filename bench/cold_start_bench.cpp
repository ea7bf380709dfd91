// A cold start: `hushmark-sim run` as a person types it, a new process each time, on a temporary
// device root. Each run is spawned and waited for; its wall time is taken around it, its CPU time
// (user and system) from the child's resource usage. Programs: a two-step scenario (boot, then a
// one-second wait), the shortest shipped scenario, and /bin/true as the floor every process start
// pays, measured in the same run. The goal: a short run under 30 ms wall, within 1.5 times its CPU
// time. The figures are medians of the runs; the machine may be loaded, so give its load beside them.
// HM_COLD_START_SIM names another build of the simulator (an earlier one) to time beside this one,
// run for run in turns, so that both meet the same load: the table then gives its figures too,
// and this build's CPU time against it.
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

struct Timed {
    std::string label;
    std::vector<std::string> argv;
    std::vector<double> walls, cpus;
};

// Each iteration runs every program once, in turns (the first one first in even iterations, last
// in odd ones); the iteration's time is the first program's.
void coldStart(benchmark::State& state, std::vector<Timed> programs) {
    size_t iteration = 0;
    for (auto _ : state) {
        double firstWall = 0;
        for (size_t k = 0; k < programs.size(); ++k) {
            const size_t i = iteration % 2 ? programs.size() - 1 - k : k;
            double wall = 0, cpu = 0;
            if (!spawnTimed(programs[i].argv, wall, cpu)) {
                state.SkipWithError(("the run failed: " + programs[i].argv[0]).c_str());
                return;
            }
            programs[i].walls.push_back(wall);
            programs[i].cpus.push_back(cpu);
            if (i == 0)
                firstWall = wall;
        }
        state.SetIterationTime(firstWall / 1e3);
        ++iteration;
    }
    for (const Timed& p : programs)
        figures[p.label] = Figures{median(p.walls), median(p.cpus)};
    const Figures& f = figures[programs[0].label];
    state.counters["wall_ms"] = f.wall;
    state.counters["cpu_ms"] = f.cpu;
    state.counters["wall/cpu"] = f.cpu > 0 ? f.wall / f.cpu : 0;
    if (programs.size() > 1 && figures[programs[1].label].cpu > 0)
        state.counters["cpu/other"] = f.cpu / figures[programs[1].label].cpu;
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
    const char* otherBuild = std::getenv("HM_COLD_START_SIM");
    const std::string other = otherBuild && *otherBuild ? otherBuild : "";
    const std::string sim = HM_SIM_PROGRAM;
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
    for (const auto& [label, args] : programs) {
        std::vector<Timed> timed{{label, args, {}, {}}};
        if (!other.empty() && args[0] == sim) {
            std::vector<std::string> otherArgs = args;
            otherArgs[0] = other;
            timed.push_back({label + " (other build)", otherArgs, {}, {}});
        }
        benchmark::RegisterBenchmark(label.c_str(), coldStart, timed)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(40);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    unlink(twoSteps.c_str());

    // Medians, and the runs against the bare process start measured in this run.
    std::printf("\n%-42s %10s %10s %9s %12s\n", "cold start (median)", "wall ms", "cpu ms", "wall/cpu",
                "wall/floor");
    const double floor = figures.count(programs[0].first) ? figures[programs[0].first].wall : 0;
    for (const auto& [label, f] : figures)
        std::printf("%-42s %10.2f %10.2f %9.2f %12.2f\n", label.c_str(), f.wall, f.cpu,
                    f.cpu > 0 ? f.wall / f.cpu : 0.0, floor > 0 ? f.wall / floor : 0.0);
    if (!other.empty()) {
        std::printf("\nthis build's CPU time against the other build's (%s), run for run:\n", other.c_str());
        for (const auto& [label, args] : programs) {
            const std::string otherLabel = label + " (other build)";
            if (figures.count(label) && figures.count(otherLabel) && figures[otherLabel].cpu > 0)
                std::printf("%-42s %10.2f\n", label.c_str(), figures[label].cpu / figures[otherLabel].cpu);
        }
    }
    return 0;
}
