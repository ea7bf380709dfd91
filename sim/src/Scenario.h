// A scenario: a short text file of steps run against one virtual device.
//
// One step a line; `#` starts a comment at the start of a line or before a blank (a word such
// as "#FF0000" is a color); words are separated by blanks and a word in double
// quotes may hold blanks. The grammar is documented in the README ("Writing a scenario").
//
// Parsing is a pure function of the text: it checks every verb, word count and value the way
// the runner will use it (integers fit, indexes and coordinates are in range, durations and
// times are well-formed and bounded), so a scenario that parses runs without surprises; the
// runner still refuses, with the line, a clock moved outside the dates the device can hold.
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
    int startLine = 0, timeZoneLine = 0;        // their lines, 0 when left out (the runner checks them)
    std::vector<std::string> languages{"en"};
    std::vector<std::string> addons;            // from the `addons` line
    // The device setup lines; left out, a device root keeps what it has (a new one the defaults).
    std::string screen;                          // from the `screen` line
    std::vector<std::string> springboardWithout; // from the `springboard-without` line
    std::optional<double> timerSlack;            // from the `timer-slack` line, seconds
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
// well-formed. Returns the first error found. A scenario without a single step is an error.
std::optional<ParseError> parseScenario(const std::string& text, std::string name, Scenario& out);

// The longest duration a step takes: 100 years.
inline constexpr double kMaxDuration = 100 * 365.25 * 86400;

// "90s", "5m", "1h30m", "2d", "0.5s": seconds, or none when malformed or longer than
// kMaxDuration. A leading "-" negates, a leading "+" is allowed.
std::optional<double> parseDuration(const std::string& word);
// "HH:MM" or "HH:MM:SS": seconds since midnight, or none.
std::optional<int> parseTimeOfDay(const std::string& word);
// "YYYY-MM-DD" of a real calendar day, years 1 to 9999: {year, month, day}, or none.
struct CalendarDay {
    int year, month, day;
};
std::optional<CalendarDay> parseCalendarDay(const std::string& word);
// A whole number in [min, max] written in decimal digits with an optional sign; none otherwise
// (no fraction, exponent, blank or overflow).
std::optional<long long> parseInteger(const std::string& word, long long min, long long max);
// A view's tag: a whole number within ±2^62 ("2627", "-1").
std::optional<long long> parseTag(const std::string& word);
// A finite decimal number with at most `maxMagnitude` in size ("12", "-0.5", "1e3"); none
// for "inf", "nan", hex or overflow.
std::optional<double> parseReal(const std::string& word, double maxMagnitude);
// A screen point's coordinate: a number within ±10000 points.
std::optional<double> parseCoordinate(const std::string& word);
// A color: "#RRGGBB", "#RRGGBBAA", or white, black, red, green, blue, clear/none (no color).
// As "#RRGGBBAA" (upper case), or "none" for no color.
std::optional<std::string> parseColor(const std::string& word);
// The bytes of a `file write` text: \n \r \t \0 \\ and \xHH escapes decoded; none when an
// escape is malformed.
std::optional<std::string> decodeBytes(const std::string& word);

// A word as an error message may quote it: at most 40 characters, bytes that do not print
// shown as \xHH, "..." where it was cut.
std::string excerpt(const std::string& word, size_t limit = 40);

} // namespace sim
