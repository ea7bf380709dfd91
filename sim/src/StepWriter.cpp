#include "StepWriter.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>

namespace sim {
namespace {

std::string clockText(int secondsOfDay) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", secondsOfDay / 3600 % 100, secondsOfDay / 60 % 60,
                  secondsOfDay % 60);
    return text;
}

std::string dayText(const CalendarDay& day) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", day.year % 10000, day.month % 100, day.day % 100);
    return text;
}

// A line from words, each written as a word; the first word that cannot be written is the error.
WrittenStep line(std::initializer_list<std::string> plain, std::initializer_list<std::string> words = {}) {
    WrittenStep out;
    for (const std::string& w : plain)
        out.line += (out.line.empty() ? "" : " ") + w;
    for (const std::string& w : words) {
        std::string written = writeWord(w, out.error);
        if (!out.error.empty())
            return {"", out.error};
        out.line += " " + written;
    }
    return out;
}

WrittenStep point(const char* verb, const std::string& rest, ScreenPoint p) {
    return line({verb + std::string(rest.empty() ? "" : " ") + rest, writeNumber(p.x), writeNumber(p.y)});
}

} // namespace

std::string writeNumber(double value) {
    char text[64];
    auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    return ec == std::errc() ? std::string(text, end) : "0";
}

std::string writeDuration(double seconds) {
    char text[400];
    auto [end, ec] = std::to_chars(text, text + sizeof text, seconds, std::chars_format::fixed);
    return (ec == std::errc() ? std::string(text, end) : "0") + "s";
}

std::string writeWord(const std::string& word, std::string& error) {
    error.clear();
    if (word.find_first_of("\n\r") != std::string::npos)
        return error = "a line break cannot be written in a scenario line", "";
    const bool blank = std::any_of(word.begin(), word.end(),
                                   [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
    // Bare, a word must not start a quote or be a lone "#" (which starts a comment).
    if (!word.empty() && !blank && word[0] != '"' && word != "#")
        return word;
    if (word.find('"') != std::string::npos)
        return error = "a double quote cannot be written in a word that needs quotes", "";
    return "\"" + word + "\"";
}

WrittenStep writeStep(const Action& action) {
    auto phase = [](TouchPhase p) {
        return p == TouchPhase::Down ? "down" : p == TouchPhase::Move ? "move" : "up";
    };
    return std::visit(
        Visitor{
            [](const step::Boot&) { return line({"boot"}); },
            [](const step::Respring&) { return line({"respring"}); },
            [](const step::Lock& s) { return line({s.locked ? "lock" : "unlock"}); },
            [](const step::Alarm& s) {
                WrittenStep w = line({"alarm", clockText(s.secondsOfDay)}, {s.label});
                if (w.error.empty())
                    w.line += std::string(s.snooze ? "" : " nosnooze") + (s.daily ? " daily" : "");
                return w;
            },
            [](const step::RemoveAlarm& s) {
                return line({"alarm remove", clockText(s.secondsOfDay)}, {s.label});
            },
            [](const step::Wait& s) {
                return line({"wait", writeDuration(s.seconds)});
            },
            [](const step::Until& s) {
                return line({"until", clockText(s.secondsOfDay)});
            },
            [](const step::Jump& s) {
                return line({"jump", writeDuration(s.seconds)});
            },
            [](const step::SetClock& s) {
                return s.day ? line({"jump to", dayText(*s.day), clockText(s.secondsOfDay)})
                             : line({"jump to", clockText(s.secondsOfDay)});
            },
            [](const step::Addon& s) {
                return line({"addon", s.install ? "install" : "remove"}, {s.name});
            },
            [](const step::OpenSettings&) { return line({"settings open"}); },
            [](const step::SettingsBack&) { return line({"settings back"}); },
            [&](const step::Touch& s) {
                return point("touch", std::string(phase(s.phase)) + " " + screenName(s.screen), s.at);
            },
            [](const step::Tap& s) { return point("tap", screenName(s.screen), s.at); },
            [](const step::Drag& s) {
                WrittenStep w = line({"drag", screenName(s.screen), writeNumber(s.from.x),
                                      writeNumber(s.from.y), writeNumber(s.to.x), writeNumber(s.to.y)});
                if (s.steps != 10)
                    w.line += " " + std::to_string(s.steps);
                return w;
            },
            [](const step::Type& s) { return line({"type"}, {s.text}); },
            [](const step::Press& s) {
                return line({"key", s.key == Key::Return ? "return" : "backspace"});
            },
            [](const step::TapAlertButton& s) { return line({"alert tap"}, {s.title}); },
            [](const step::Home& s) { return line({s.twice ? "switcher" : "home"}); },
            [](const step::OpenApp& s) { return line({"open"}, {s.name}); },
            [](const auto&) {
                return WrittenStep{"", "this kind of step has no written form here"};
            },
        },
        action);
}

std::vector<std::string> writeSettings(const ScenarioSettings& settings) {
    std::vector<std::string> lines{"start " + settings.start};
    std::string error;
    auto words = [&](const char* verb, const std::vector<std::string>& list) {
        std::string text = verb;
        for (const std::string& w : list)
            text += " " + writeWord(w, error);
        return text;
    };
    lines.push_back(words("locale", {settings.locale}));
    lines.push_back(words("timezone", {settings.timeZone}));
    lines.push_back(words("languages", settings.languages));
    if (!settings.screen.empty())
        lines.push_back("screen " + settings.screen);
    if (!settings.addons.empty())
        lines.push_back(words("addons", settings.addons));
    if (!settings.springboardWithout.empty())
        lines.push_back(words("springboard-without", settings.springboardWithout));
    if (settings.timerSlack)
        lines.push_back("timer-slack " + writeDuration(*settings.timerSlack));
    return lines;
}

} // namespace sim
