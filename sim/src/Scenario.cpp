#include "Scenario.h"

#include <cctype>
#include <functional>
#include <map>
#include <sstream>

namespace sim {
namespace {

using Check = std::function<std::string(const std::vector<std::string>&)>; // "" when fine

std::string oneOf(const std::string& word, std::initializer_list<const char*> options, const char* what) {
    for (const char* o : options)
        if (word == o) return "";
    std::string list;
    for (const char* o : options) list += std::string(list.empty() ? "" : ", ") + o;
    return std::string(what) + " must be one of " + list + ", not \"" + word + "\"";
}

bool isNumber(const std::string& w) {
    if (w.empty()) return false;
    std::istringstream in(w);
    double d;
    in >> d;
    return !in.fail() && in.eof();
}

std::string needNumbers(const std::vector<std::string>& a, size_t from) {
    for (size_t i = from; i < a.size(); ++i)
        if (!isNumber(a[i])) return "\"" + a[i] + "\" is not a number";
    return "";
}

struct Rule {
    size_t minArgs, maxArgs; // words after the verb
    const char* usage;
    Check check;
};

const std::map<std::string, Rule>& rules() {
    static const std::map<std::string, Rule> table = {
        {"start", {2, 2, "start YYYY-MM-DD HH:MM[:SS]", [](auto& a) -> std::string {
             if (a[0].size() != 10 || a[0][4] != '-' || a[0][7] != '-') return "the date must be YYYY-MM-DD";
             return parseTimeOfDay(a[1]) ? "" : "the time must be HH:MM or HH:MM:SS";
         }}},
        {"locale", {1, 1, "locale ID", nullptr}},
        {"timezone", {1, 1, "timezone NAME", nullptr}},
        {"languages", {1, 8, "languages CODE...", nullptr}},
        {"addons", {0, 8, "addons NAME...", [](auto& a) -> std::string {
             for (auto& w : a) {
                 auto e = oneOf(w, {"libstatusbar8", "libstatusbar", "flipswitch", "hushmarkfs", "protean"}, "an add-on");
                 if (!e.empty()) return e;
             }
             return "";
         }}},
        {"file", {1, 4, "file set KEY bool|int|real|string|date VALUE | file remove KEY | file delete | file corrupt",
                  [](auto& a) -> std::string {
             if (a[0] == "set") {
                 if (a.size() != 4) return "usage: file set KEY TYPE VALUE";
                 auto e = oneOf(a[2], {"bool", "int", "real", "string", "date"}, "the type");
                 if (!e.empty()) return e;
                 if (a[2] == "date" && !parseDuration(a[3])) return "a date is an offset from now, like +30m or -1m";
                 if ((a[2] == "int" || a[2] == "real") && !isNumber(a[3])) return "\"" + a[3] + "\" is not a number";
                 if (a[2] == "bool") return oneOf(a[3], {"true", "false"}, "a bool");
                 return "";
             }
             if (a[0] == "remove") return a.size() == 2 ? "" : "usage: file remove KEY";
             if (a[0] == "delete" || a[0] == "corrupt") return a.size() == 1 ? "" : "usage: file " + a[0];
             return oneOf(a[0], {"set", "remove", "delete", "corrupt"}, "a file step");
         }}},
        {"boot", {0, 0, "boot", nullptr}},
        {"respring", {0, 0, "respring", nullptr}},
        {"lock", {0, 0, "lock", nullptr}},
        {"unlock", {0, 0, "unlock", nullptr}},
        {"alarm", {2, 4, "alarm HH:MM LABEL [nosnooze] [daily]", [](auto& a) -> std::string {
             if (!parseTimeOfDay(a[0])) return "the time must be HH:MM or HH:MM:SS";
             for (size_t i = 2; i < a.size(); ++i) {
                 auto e = oneOf(a[i], {"nosnooze", "daily"}, "an alarm option");
                 if (!e.empty()) return e;
             }
             return "";
         }}},
        {"notify", {1, 1, "notify BUNDLE-ID", nullptr}},
        {"wait", {1, 1, "wait DURATION", [](auto& a) -> std::string {
             auto d = parseDuration(a[0]);
             return d && *d >= 0 ? "" : "the duration must be like 30s, 5m, 1h30m";
         }}},
        {"until", {1, 1, "until HH:MM[:SS]", [](auto& a) -> std::string {
             return parseTimeOfDay(a[0]) ? "" : "the time must be HH:MM or HH:MM:SS";
         }}},
        {"jump", {1, 1, "jump [-]DURATION", [](auto& a) -> std::string {
             return parseDuration(a[0]) ? "" : "the duration must be like +2h, -30m";
         }}},
        {"settings", {1, 3, "settings open|back | settings tap LABEL | settings switch LABEL on|off | "
                             "settings type LABEL TEXT | settings segment LABEL INDEX",
                      [](auto& a) -> std::string {
             const std::string& v = a[0];
             if (v == "open" || v == "back") return a.size() == 1 ? "" : "usage: settings " + v;
             if (v == "tap") return a.size() == 2 ? "" : "usage: settings tap LABEL";
             if (v == "switch") return a.size() == 3 ? oneOf(a[2], {"on", "off"}, "a switch") : "usage: settings switch LABEL on|off";
             if (v == "type") return a.size() == 3 ? "" : "usage: settings type LABEL TEXT";
             if (v == "segment") return a.size() == 3 ? needNumbers(a, 2) : "usage: settings segment LABEL INDEX";
             return oneOf(v, {"open", "back", "tap", "switch", "type", "segment"}, "a settings step");
         }}},
        {"picker", {3, 5, "picker tap X Y | picker drag X1 Y1 X2 Y2", [](auto& a) -> std::string {
             if (a[0] == "tap") return a.size() == 3 ? needNumbers(a, 1) : "usage: picker tap X Y";
             if (a[0] == "drag") return a.size() == 5 ? needNumbers(a, 1) : "usage: picker drag X1 Y1 X2 Y2";
             return oneOf(a[0], {"tap", "drag"}, "a picker step");
         }}},
        {"color", {2, 3, "color hex TEXT | color channel red|green|blue VALUE", [](auto& a) -> std::string {
             if (a[0] == "hex") return a.size() == 2 ? "" : "usage: color hex TEXT";
             if (a[0] == "channel") return a.size() == 3 ? oneOf(a[1], {"red", "green", "blue"}, "a channel") : "usage: color channel NAME VALUE";
             return oneOf(a[0], {"hex", "channel"}, "a color step");
         }}},
        {"alert", {2, 2, "alert tap TITLE", [](auto& a) -> std::string { return oneOf(a[0], {"tap"}, "an alert step"); }}},
        {"expect", {2, 3, "expect event TEXT | expect no-event TEXT | expect file KEY VALUE|absent | "
                           "expect status TEXT | expect icon shown|hidden | expect alert TITLE|none | "
                           "expect row LABEL enabled|disabled",
                    [](auto& a) -> std::string {
             const std::string& v = a[0];
             if (v == "event" || v == "no-event" || v == "status" || v == "alert")
                 return a.size() == 2 ? "" : "usage: expect " + v + " TEXT";
             if (v == "file") return a.size() == 3 ? "" : "usage: expect file KEY VALUE|absent";
             if (v == "icon") return a.size() == 2 ? oneOf(a[1], {"shown", "hidden"}, "the icon") : "usage: expect icon shown|hidden";
             if (v == "row") return a.size() == 3 ? oneOf(a[2], {"enabled", "disabled"}, "a row state") : "usage: expect row LABEL enabled|disabled";
             return oneOf(v, {"event", "no-event", "file", "status", "icon", "alert", "row"}, "an expectation");
         }}},
        {"snapshot", {2, 2, "snapshot settings|alert|lockscreen|statusbar|screen FILE.png", [](auto& a) -> std::string {
             return oneOf(a[0], {"settings", "alert", "lockscreen", "statusbar", "screen"}, "a screen");
         }}},
    };
    return table;
}

bool isSettingsVerb(const std::string& v) {
    return v == "start" || v == "locale" || v == "timezone" || v == "languages" || v == "addons";
}

} // namespace

bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        if (i >= line.size() || line[i] == '#') break;
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
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) word += line[i++];
        }
        words.push_back(word);
    }
    return true;
}

std::optional<double> parseDuration(const std::string& word) {
    if (word.empty()) return std::nullopt;
    size_t i = 0;
    double sign = 1;
    if (word[0] == '-' || word[0] == '+') {
        sign = word[0] == '-' ? -1 : 1;
        i = 1;
    }
    if (i >= word.size()) return std::nullopt;
    double total = 0;
    while (i < word.size()) {
        size_t start = i;
        while (i < word.size() && (std::isdigit(static_cast<unsigned char>(word[i])) || word[i] == '.')) ++i;
        if (start == i || i >= word.size()) return std::nullopt;
        double n = 0;
        try {
            n = std::stod(word.substr(start, i - start));
        } catch (...) {
            return std::nullopt;
        }
        switch (word[i++]) {
        case 's': total += n; break;
        case 'm': total += n * 60; break;
        case 'h': total += n * 3600; break;
        case 'd': total += n * 86400; break;
        default: return std::nullopt;
        }
    }
    return sign * total;
}

std::optional<int> parseTimeOfDay(const std::string& word) {
    int h = 0, m = 0, s = 0;
    char tail = 0;
    int n = std::sscanf(word.c_str(), "%2d:%2d:%2d%c", &h, &m, &s, &tail);
    if (n == 2) {
        if (word.size() != 5) return std::nullopt;
        s = 0;
    } else if (n != 3 || word.size() != 8) {
        return std::nullopt;
    }
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59) return std::nullopt;
    return h * 3600 + m * 60 + s;
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
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> words;
        std::string error;
        if (!splitWords(line, words, error)) return ParseError{number, error};
        if (words.empty()) continue;
        const std::string verb = words[0];
        std::vector<std::string> args(words.begin() + 1, words.end());
        auto it = rules().find(verb);
        if (it == rules().end()) return ParseError{number, "unknown step \"" + verb + "\""};
        const Rule& rule = it->second;
        if (args.size() < rule.minArgs || args.size() > rule.maxArgs)
            return ParseError{number, std::string("usage: ") + rule.usage};
        if (rule.check) {
            std::string e = rule.check(args);
            if (!e.empty()) return ParseError{number, e};
        }
        if (isSettingsVerb(verb)) {
            if (booted) return ParseError{number, "\"" + verb + "\" must come before boot"};
            auto& s = out.settings;
            if (verb == "start") s.start = args[0] + " " + args[1] + (args[1].size() == 5 ? ":00" : "");
            else if (verb == "locale") s.locale = args[0];
            else if (verb == "timezone") s.timeZone = args[0];
            else if (verb == "languages") s.languages = args;
            else s.addons = args;
            continue;
        }
        if (verb == "boot") booted = true;
        else if (!booted && verb != "file")
            return ParseError{number, "\"" + verb + "\" needs a booted device: put boot first"};
        out.steps.push_back(Step{number, verb, args, line});
    }
    return std::nullopt;
}

} // namespace sim
