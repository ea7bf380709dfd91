// A scenario: a short text file of steps run against one virtual device.
//
// One step a line; `#` starts a comment; words are separated by blanks and a word in double
// quotes may hold blanks. The grammar is documented in the README ("Writing a scenario").
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct Step {
    int line = 0;                   // 1-based line in the scenario text
    std::string verb;               // first word ("settings", "expect", ...)
    std::vector<std::string> args;  // the remaining words, quotes removed
    std::string text;               // the line as written, for messages
};

struct ScenarioSettings {
    std::string start = "2026-12-07 08:00:00"; // device-local time the clock starts at
    std::string locale = "en_US";
    std::string timeZone = "UTC";
    std::vector<std::string> languages{"en"};
    std::vector<std::string> addons;            // from the `addons` line
};

struct Scenario {
    std::string name;
    ScenarioSettings settings;
    std::vector<Step> steps;        // everything after the settings lines, in order
};

struct ParseError {
    int line = 0;
    std::string message;
};

// Splits one line into words; false (with a message) on an unterminated quote.
bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error);

// Parses and checks a whole scenario: every verb known, every step's word count and values
// well-formed. Returns the first error found.
std::optional<ParseError> parseScenario(const std::string& text, std::string name, Scenario& out);

// "90s", "5m", "1h30m", "2d": seconds, or none when malformed. A leading "-" negates.
std::optional<double> parseDuration(const std::string& word);
// "HH:MM" or "HH:MM:SS": seconds since midnight, or none.
std::optional<int> parseTimeOfDay(const std::string& word);

} // namespace sim
