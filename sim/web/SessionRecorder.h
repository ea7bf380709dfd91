// The served device's session as a scenario: what the person does on the page (touches with their
// phases, typing, keys, lock and unlock, clock moves, alarms added and removed, add-ons, respring),
// each step written as the scenario reader reads it (StepWriter.h), with the device time that
// passed between two steps as a `wait`. `hushmark-sim run` replays it to the same timeline.
//
// Times are kept as whole nanoseconds from an anchor the replay reaches exactly (the start, or
// the moment a clock set or an `until` lands on), so rounding never builds up over a long
// session. A clock set is written as `jump to` and a jump to the next alarm as `until` when the
// alarm's time of day reaches it, both landing on the same exact moment as on the page.
// Device thread only.
#pragma once

#include "Scenario.h"

#include "device/Device.h"
#include "foundation/PlistValue.h"

#include <string>
#include <vector>

namespace sim::web {

// The device's setup as a scenario's first lines would give it: its start (now), locale, time
// zone, languages, screen, add-ons, missing SpringBoard classes and timer slack.
ScenarioSettings sessionSettings(Device& device);

class SessionRecorder {
  public:
    // A session from `start` on a device set up as `settings` (its `start` is `start`, local).
    void begin(const ScenarioSettings& settings, NSDate start);
    // The same, as `serve` starts a device: booted at `start`.
    void beginBooted(const ScenarioSettings& settings, NSDate start);
    bool started() const { return !lines_.empty(); }
    // A step that began at `at` and ended at `after` (device times): the wait before it, then
    // the step. A step the scenario lines cannot hold is kept as a comment saying so.
    void record(const sim::Action& step, NSDate at, NSDate after);
    // A step as a scenario wrote it (a played scenario's line); `anchors` when it set the clock.
    void recordLine(const std::string& line, NSDate at, NSDate after, bool anchors);
    // A comment line at `at` (after the wait up to it).
    void note(const std::string& text, NSDate at);
    // The session so far, with a last `wait` up to `now`.
    std::string scenario(NSDate now) const;
    // Steps recorded, and those that could not be written.
    size_t steps() const { return steps_; }
    size_t unwritten() const { return unwritten_; }
    // The session reached the most a scenario file may hold (1 MiB, less room for its end).
    bool full() const { return full_; }
    // Kept across a respring (the program relaunches): into and out of the front end's state.
    void save(PlistDict& state) const;
    void restore(const PlistDict& state);

  private:
    long long offset(NSDate t) const;
    void add(std::string line);
    void append(const std::string& line, NSDate at, NSDate after, bool anchors);
    void waitUntil(NSDate at);

    std::vector<std::string> lines_;
    double anchor_ = 0;     // seconds since 2001 the replay reaches exactly
    long long written_ = 0; // nanoseconds past the anchor the written steps reach
    size_t steps_ = 0, unwritten_ = 0;
    size_t bytes_ = 0;  // the text so far
    bool full_ = false; // grown to the most a scenario may hold: nothing more is kept
};

} // namespace sim::web
