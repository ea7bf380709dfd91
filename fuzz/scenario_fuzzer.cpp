// The scenario language on any text. Beyond not crashing: an error names a line of the text and
// says what is wrong in a short printable message; a scenario that parses has steps on rising
// lines, each with a known verb, and every number the runner will carry out (durations, the
// timer slack) within its bounds. The value parsers are checked on the text's first word too:
// what they accept is finite and within the bounds asked for.
#include "Scenario.h"
#include "words/Words.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "scenario rule broken: %s\n", what);
        std::abort();
    }
}

int lineCount(const std::string& text) {
    int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    return text.empty() || text.back() == '\n' ? std::max(lines, 1) : lines + 1;
}

bool printable(const std::string& s) {
    for (unsigned char c : s)
        if (c < 0x20 || c == 0x7F)
            return false;
    return true;
}

// A relative path with no ".." among its parts.
bool staysInside(const std::string& file) {
    if (!file.empty() && file[0] == '/')
        return false;
    size_t from = 0;
    for (;;) {
        const size_t slash = file.find('/', from);
        if (file.substr(from, slash == std::string::npos ? std::string::npos : slash - from) == "..")
            return false;
        if (slash == std::string::npos)
            return true;
        from = slash + 1;
    }
}

void checkValueParsers(const std::string& word) {
    if (auto d = sim::parseDuration(word))
        check(std::isfinite(*d) && std::fabs(*d) <= sim::kMaxDuration, "a duration is bounded");
    if (auto t = sim::parseTimeOfDay(word))
        check(*t >= 0 && *t < 86400, "a time of day is within the day");
    if (auto day = sim::parseCalendarDay(word))
        check(day->year >= 1 && day->year <= 9999 && day->month >= 1 && day->month <= 12 && day->day >= 1 &&
                  day->day <= 31,
              "a calendar day is a day");
    if (auto i = sim::parseInteger(word, -1000, 1000)) {
        check(*i >= -1000 && *i <= 1000, "an integer is within its bounds");
        check(sim::parseInteger(std::to_string(*i), -1000, 1000) == i,
              "an integer reads back from its digits");
    }
    if (auto r = sim::parseReal(word, 1e6))
        check(std::isfinite(*r) && std::fabs(*r) <= 1e6, "a real is within its bounds");
    if (auto c = sim::parseColor(word))
        check(*c == "none" || (c->size() == 9 && (*c)[0] == '#'), "a color is #RRGGBBAA");
    const std::string shown = sim::excerpt(word);
    check(printable(shown) && shown.size() <= 40 * 4 + 3, "an excerpt is short and printable");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> words;
    std::string error;
    if (sim::splitWords(text.substr(0, text.find('\n')), words, error) && !words.empty())
        checkValueParsers(words[0]);

    sim::Scenario scenario;
    auto failure = sim::parseScenario(text, "fuzz", scenario);
    if (failure) {
        check(failure->line >= 1 && failure->line <= lineCount(text), "an error names a line of the text");
        check(!failure->message.empty() && failure->message.size() < 1000,
              "an error says what is wrong, briefly");
        return 0;
    }
    check(!scenario.steps.empty(), "a scenario that parses has steps");
    int previous = 0;
    for (const sim::Step& step : scenario.steps) {
        check(step.line > previous && step.line <= lineCount(text), "steps are on rising lines of the text");
        previous = step.line;
        if (auto* wait = std::get_if<sim::step::Wait>(&step.action))
            check(wait->seconds >= 0 && wait->seconds <= sim::kMaxDuration,
                  "a wait is bounded and never goes back");
        if (auto* jump = std::get_if<sim::step::Jump>(&step.action))
            check(std::fabs(jump->seconds) <= sim::kMaxDuration, "a jump is bounded");
        if (auto* snapshot = std::get_if<sim::step::Snapshot>(&step.action))
            check(staysInside(snapshot->file), "a snapshot stays inside the output folder");
        if (auto* inspect = std::get_if<sim::step::Inspect>(&step.action))
            check(staysInside(inspect->file), "an inspection stays inside the output folder");
    }
    if (scenario.settings.timerSlack)
        check(*scenario.settings.timerSlack >= 0 && *scenario.settings.timerSlack <= 86400,
              "the timer slack is at most a day");
    return 0;
}
