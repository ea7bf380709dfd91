// A scenario: a short text file of steps run against one virtual device.
//
// One step a line; `#` starts a comment at the start of a line or before a blank (a word such
// as "#FF0000" is a color); words are separated by blanks and a word in double
// quotes may hold blanks. The grammar is documented in the README ("Writing a scenario").
//
// Parsing is a pure function of the text: each line becomes a typed step (Steps.h) whose values
// are checked the way the runner will use them (integers fit, indexes and coordinates are in
// range, durations and times are well-formed and bounded, output files stay inside the output
// folder), so a scenario that parses runs without surprises; the runner still refuses, with the
// line, a clock moved outside the dates the device can hold.
#pragma once

#include "Steps.h"

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct Step {
    int line = 0;      // 1-based line in the scenario text
    std::string text;  // the line as written, for messages
    std::string shown; // its words as the timeline shows them
    Action action;     // what it does, checked
};

struct ScenarioSettings {
    std::string start = "2026-12-07 08:00:00"; // device-local time the clock starts at
    std::string locale = "en_US";
    std::string timeZone = "UTC";
    int startLine = 0, timeZoneLine = 0; // their lines, 0 when left out (the runner checks them)
    std::vector<std::string> languages{"en"};
    std::vector<std::string> addons; // from the `addons` line
    // The device setup lines; left out, a device root keeps what it has (a new one the defaults).
    std::string screen;                          // from the `screen` line
    std::vector<std::string> springboardWithout; // from the `springboard-without` line
    std::optional<double> timerSlack;            // from the `timer-slack` line, seconds
};

struct Scenario {
    std::string name;
    ScenarioSettings settings;
    std::vector<Step> steps; // everything after the settings lines, in order
};

struct ParseError {
    int line = 0;
    std::string message;
};

// Splits one line into words; false (with a message) on an unterminated quote.
bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error);

// Parses and checks a whole scenario: every verb known, every step's word count and values
// well-formed. Returns the first error found. A scenario without a single step is an error.
std::optional<ParseError> parseScenario(const std::string& text, std::string name, Scenario& out);

} // namespace sim
