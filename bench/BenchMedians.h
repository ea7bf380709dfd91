// A console reporter that also keeps each benchmark's median CPU time, for the ratios a program
// prints at its end (CPU time: the machine may be shared, and these benchmarks run on one thread).
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Seconds in one of Google Benchmark's time units (a run's times are in its unit).
inline double secondsPerUnit(benchmark::TimeUnit unit) {
    switch (unit) {
    case benchmark::kSecond:
        return 1;
    case benchmark::kMillisecond:
        return 1e-3;
    case benchmark::kMicrosecond:
        return 1e-6;
    default:
        return 1e-9;
    }
}

// A console reporter that hands its subclass each run a summary keeps: a run of its own, or the
// median of repeated runs (the mean and spread of repetitions are left to the console).
class MedianRunReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type != Run::RT_Aggregate || run.aggregate_name == "median")
                keep(run);
    }

  protected:
    virtual void keep(const Run& run) = 0;
};

class MedianKeeper : public benchmark::ConsoleReporter {
  public:
    std::map<std::string, double> medians;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }
};
