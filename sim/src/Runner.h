// Runs a parsed scenario against one virtual device: SpringBoard (with its tweaks) and Settings
// in this process, on the virtual clock, printing a timeline (one line per step and per device
// event) that is the same on every run.
#pragma once

#include "Scenario.h"

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>

namespace sim {

struct RunOptions {
    std::filesystem::path root;          // the device root (laid out already)
    std::filesystem::path snapshotDir;   // where relative snapshot paths go
    std::filesystem::path scenarioFile;  // for a respring, which re-runs this program
    std::string program;                 // this program's path, for a respring
    bool resume = false;                 // continuing after a respring: read the saved state
};

class Runner {
  public:
    Runner(const Scenario& scenario, RunOptions options, std::ostream& out, std::ostream& err);
    ~Runner();
    // 0 when every step ran and every expectation held; 1 otherwise (the message on `err`).
    int run();

  private:
    struct Device;
    std::unique_ptr<Device> device_;
};

} // namespace sim
