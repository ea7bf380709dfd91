// The scenario runner: a front end over one virtual device (device/Device.h). It turns each
// step of a parsed scenario into the device's actions and readings, on the virtual clock, and
// prints a timeline (one line per step and per device event) that is the same on every run, or
// one JSON object an event with `json`.
#pragma once

#include "Scenario.h"

#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>

namespace sim {

struct RunOptions {
    std::filesystem::path root;         // the device root (laid out already)
    std::filesystem::path snapshotDir;  // where relative snapshot paths go
    std::filesystem::path scenarioFile; // for a respring, which re-runs this program
    std::string program;                // this program's path, for a respring
    bool resume = false;                // continuing after a respring: read the saved state
    bool json = false;                  // one JSON object a line instead of the timeline
};

class Runner {
  public:
    Runner(const Scenario& scenario, RunOptions options, std::ostream& out, std::ostream& err);
    ~Runner();
    // 0 when every step ran and every expectation held; 1 otherwise (the message on `err`).
    int run();

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace sim
