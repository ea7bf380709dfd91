#include "Scenario.h"

#include "ScenarioRules.h"
#include "words/Words.h"

#include <cctype>
#include <sstream>

namespace sim {
namespace {

// The step's words as the timeline shows them: a word with a blank (or none) quoted, each an
// excerpt.
std::string shownWords(const std::vector<std::string>& words) {
    std::string shown;
    for (const std::string& word : words) {
        const bool quote = word.empty() || word.find(' ') != std::string::npos;
        shown += (shown.empty() ? "" : " ") + (quote ? "\"" + excerpt(word, 200) + "\"" : excerpt(word, 200));
    }
    return shown;
}

} // namespace

bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i])))
            ++i;
        // "#" opens a comment at the start of a line or before a blank; "#FF0000" is a word.
        if (i >= line.size())
            break;
        if (line[i] == '#' &&
            (words.empty() || i + 1 >= line.size() || std::isspace(static_cast<unsigned char>(line[i + 1]))))
            break;
        std::string word;
        if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            if (end == std::string::npos) {
                error = "a quote is not closed";
                return false;
            }
            word = line.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
                word += line[i++];
        }
        words.push_back(word);
    }
    return true;
}

std::optional<ParseError> parseScenario(const std::string& text, std::string name, Scenario& out) {
    out = Scenario{};
    out.name = std::move(name);
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool booted = false;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0)
            line.erase(0, 3); // a byte-order mark some editors write
        std::vector<std::string> words;
        std::string error;
        if (!splitWords(line, words, error))
            return ParseError{number, error};
        if (words.empty())
            continue;
        const std::string& verb = words[0];
        const std::vector<std::string> args(words.begin() + 1, words.end());
        // A rule's word count first, then its words.
        auto counted = [&](const auto& rule) -> std::optional<ParseError> {
            if (args.size() < rule.minArgs || args.size() > rule.maxArgs)
                return ParseError{number, std::string("usage: ") + rule.usage};
            return std::nullopt;
        };
        if (auto setting = rules::settingRules().find(verb); setting != rules::settingRules().end()) {
            if (auto e = counted(setting->second))
                return e;
            ScenarioSettings settings = out.settings;
            if (auto e = setting->second.build(args, settings); !e.empty())
                return ParseError{number, e};
            if (booted)
                return ParseError{number, "\"" + verb + "\" must come before boot"};
            out.settings = std::move(settings);
            if (verb == "start")
                out.settings.startLine = number;
            if (verb == "timezone")
                out.settings.timeZoneLine = number;
            continue;
        }
        auto rule = rules::stepRules().find(verb);
        if (rule == rules::stepRules().end())
            return ParseError{number, "unknown step " + rules::quote(verb)};
        if (auto e = counted(rule->second))
            return e;
        Step step{number, line, shownWords(words), {}};
        if (auto e = rule->second.build(args, step.action); !e.empty())
            return ParseError{number, e};
        if (verb == "boot")
            booted = true;
        else if (!booted && verb != "file")
            return ParseError{number, "\"" + verb + "\" needs a booted device: put boot first"};
        out.steps.push_back(std::move(step));
    }
    if (out.steps.empty())
        return ParseError{number > 0 ? number : 1, "the scenario has no steps"};
    return std::nullopt;
}

} // namespace sim
