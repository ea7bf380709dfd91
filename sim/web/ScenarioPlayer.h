// `serve --play`: a scenario played on the served device step by step, so that a person watches
// it in the browser. Each step runs on the device thread as the scenario runner runs it
// (StepActions.h); a `wait` or `until` lets the device clock run to its end in real time divided
// by the speed, in small moves, so the clock and the screens move as they would; expectations
// are checked (a failed one stops the play, with the message on the page and on the console);
// snapshots and inspections are files of a run, not of a demo, and are passed over. The play
// starts once a page is watching. What it plays goes into the session as written. The clock's
// rate is paused while it plays, so that only the scenario moves it.
#pragma once

#include "DeviceHost.h"
#include "Expectations.h"
#include "Scenario.h"

#include <atomic>
#include <iosfwd>
#include <thread>

namespace sim::web {

class ScenarioPlayer {
  public:
    // Plays `scenario`'s steps from `first` (after the boot, or where a respring left it).
    ScenarioPlayer(DeviceHost& host, Scenario scenario, double speed, size_t first, std::ostream& out);
    ~ScenarioPlayer();
    void start();
    // Ends the play where it is (the device host stops first) and joins.
    void stop();

  private:
    void play();
    bool pace(double seconds); // false when stopped
    Reply step(size_t index);
    void show(size_t index, const std::string& error, bool done);

    DeviceHost& host_;
    Scenario scenario_;
    double speed_;
    size_t first_;
    std::ostream& out_;
    EventCursors cursors_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace sim::web
