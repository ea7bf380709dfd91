// How a step is written: the line that the scenario reader (Scenario.h) reads back as the same
// step, values and all. Front ends that turn what a person does into a scenario (the browser
// device's session) write their steps here, so that the written form and the grammar stay one.
//
// Numbers are written in their shortest form that reads back as the same double (a 60 Hz pause
// is "wait 0.016666666666666666s"); a word is quoted only when it holds a blank or would read as
// something else. A word no line can hold (a line break; a double quote in a word that needs
// quotes, since a quoted word ends at the next quote) is refused with a message, never written
// as another word.
#pragma once

#include "Scenario.h"

#include <string>
#include <vector>

namespace sim {

struct WrittenStep {
    std::string line;  // the step, when it could be written
    std::string error; // else why not
};

// The line for one step. The kinds a person's session holds have a written form (boot, respring,
// lock, alarms, clock moves, touches, typing, keys, alert buttons, add-ons, the home button and
// the switcher, apps opened, Settings' open and back); others answer an error.
WrittenStep writeStep(const Action& action);

// The device lines a scenario starts with, for these settings (the defaults left out where the
// reader's default is the same).
std::vector<std::string> writeSettings(const ScenarioSettings& settings);

// A word as a scenario line holds it (quoted when it must be); "" in `error` when it can be.
std::string writeWord(const std::string& word, std::string& error);
// A number in its shortest form that reads back as the same double.
std::string writeNumber(double value);
// A duration in seconds, "0.5s", in the shortest fixed form that reads back the same.
std::string writeDuration(double seconds);

} // namespace sim
