// The value words the simulator's front ends read (a scenario's steps, the browser's actions):
// each parser accepts exactly one written form and answers none for anything else, so a value
// that parses is within the bounds its use needs.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace sim {

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
