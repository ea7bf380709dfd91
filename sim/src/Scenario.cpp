#include "Scenario.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <sstream>

namespace sim {
namespace {

using Check = std::function<std::string(const std::vector<std::string>&)>; // "" when fine

std::string q(const std::string& word) { return "\"" + excerpt(word) + "\""; }

std::string oneOf(const std::string& word, std::initializer_list<const char*> options, const char* what) {
    for (const char* o : options)
        if (word == o) return "";
    std::string list;
    for (const char* o : options) list += std::string(list.empty() ? "" : ", ") + o;
    return std::string(what) + " must be one of " + list + ", not " + q(word);
}

std::string needCoordinates(const std::vector<std::string>& a, size_t from, size_t to) {
    for (size_t i = from; i < to && i < a.size(); ++i)
        if (!parseCoordinate(a[i])) return q(a[i]) + " is not a coordinate (a number of points within 10000)";
    return "";
}

const char* kScreens = "springboard, settings";

std::string needScreen(const std::string& word) {
    if (word == "springboard" || word == "settings") return "";
    return std::string("the screen must be one of ") + kScreens + ", not " + q(word);
}

constexpr const char* kDurationHelp = "the duration must be like 30s, 5m, 1h30m (at most 100 years)";

// `expect view [SCREEN] SELECTOR PROPERTY VALUE...`
std::string checkViewExpectation(const std::vector<std::string>& a) {
    size_t at = 1;
    if (a.size() % 2 == 1) { // "view", then SCREEN SELECTOR and pairs
        if (!needScreen(a[1]).empty()) return "usage: expect view [SCREEN] SELECTOR PROPERTY VALUE...";
        at = 2;
    }
    if (a.size() < at + 3) return "usage: expect view [SCREEN] SELECTOR PROPERTY VALUE...";
    // A tag is a number: "tag:2627", not a name or a hex word.
    if (a[at].rfind("tag:", 0) == 0 && !parseTag(a[at].substr(4)))
        return "a tag selector is tag:NUMBER, a whole number, not " + q(a[at]);
    for (size_t i = at + 1; i + 1 < a.size(); i += 2) {
        const std::string& p = a[i];
        const std::string& v = a[i + 1];
        if (p == "background" || p == "title-color" || p == "text-color") {
            if (!parseColor(v)) return q(v) + " is not a color (#RRGGBB, #RRGGBBAA, white, black, clear, ...)";
        } else if (p == "highlighted" || p == "enabled" || p == "hidden" || p == "on") {
            if (auto e = oneOf(v, {"yes", "no"}, "a yes-or-no property"); !e.empty()) return e;
        } else if (p == "alpha" || p == "value") {
            if (!parseReal(v, 1e6)) return q(v) + " is not a number";
        } else if (p == "x" || p == "y" || p == "width" || p == "height") {
            if (!parseCoordinate(v)) return q(v) + " is not a coordinate";
        } else if (p == "tag") {
            if (!parseTag(v)) return q(v) + " is not a whole number";
        } else if (p != "class" && p != "text" && p != "title") {
            return "a view property must be one of background, title-color, text-color, highlighted, enabled, hidden, "
                   "on, alpha, value, x, y, width, height, tag, class, text, title, not " + q(p);
        }
    }
    return "";
}

std::string checkExpectation(const std::vector<std::string>& a) {
    const std::string& v = a[0];
    auto exactly = [&](size_t n, const char* usage) { return a.size() == n ? std::string() : std::string("usage: ") + usage; };
    if (v == "event" || v == "no-event" || v == "status" || v == "text" || v == "no-text")
        return exactly(2, (v + " TEXT").insert(0, "expect ").c_str());
    if (v == "file") return exactly(3, "expect file KEY VALUE|absent|present");
    if (v == "icon") return a.size() == 2 ? oneOf(a[1], {"shown", "hidden"}, "the icon") : "usage: expect icon shown|hidden";
    if (v == "alert") {
        if (a.size() == 2) return "";
        const std::string& what = a[1];
        if (what == "tag")
            return a.size() == 3 && parseTag(a[2]) ? "" : "usage: expect alert tag NUMBER";
        if (what == "message" && a.size() == 3 && !decodeBytes(a[2]))
            return "a message takes the escapes \\n \\r \\t \\0 \\\\ and \\xHH only";
        if (what == "title" || what == "message" || what == "field") return exactly(3, "expect alert title|message|field TEXT");
        if (what == "buttons") return a.size() >= 3 ? "" : "usage: expect alert buttons TITLE...";
        return "usage: expect alert TITLE|none | expect alert title|message|field TEXT | expect alert tag NUMBER | "
               "expect alert buttons TITLE...";
    }
    if (v == "row") {
        if (a.size() == 3) return oneOf(a[2], {"enabled", "disabled"}, "a row state");
        if (a.size() != 4) return "usage: expect row LABEL enabled|disabled | expect row LABEL value|background|text-color VALUE";
        if (a[2] == "value") return "";
        if (a[2] == "background" || a[2] == "text-color") return parseColor(a[3]) ? "" : q(a[3]) + " is not a color";
        return oneOf(a[2], {"value", "background", "text-color"}, "a row property");
    }
    if (v == "view") return checkViewExpectation(a);
    if (v == "pixel") {
        if (a.size() != 5) return "usage: expect pixel SCREEN X Y COLOR";
        if (auto e = needScreen(a[1]); !e.empty()) return e;
        if (auto e = needCoordinates(a, 2, 4); !e.empty()) return e;
        return parseColor(a[4]) ? "" : q(a[4]) + " is not a color";
    }
    return oneOf(v, {"event", "no-event", "file", "status", "icon", "alert", "row", "view", "text", "no-text", "pixel"},
                 "an expectation");
}

struct Rule {
    size_t minArgs, maxArgs; // words after the verb
    const char* usage;
    Check check;
};

const std::map<std::string, Rule>& rules() {
    static const std::map<std::string, Rule> table = {
        {"start", {2, 2, "start YYYY-MM-DD HH:MM[:SS]", [](auto& a) -> std::string {
             if (!parseCalendarDay(a[0])) return "the date must be a day of the calendar, YYYY-MM-DD, not " + q(a[0]);
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
        {"screen", {1, 1, "screen 320x568|375x667|414x736", [](auto& a) -> std::string {
             return oneOf(a[0], {"320x568", "375x667", "414x736"}, "the screen");
         }}},
        {"springboard-without", {1, 9, "springboard-without CLASS...", [](auto& a) -> std::string {
             for (auto& w : a) {
                 auto e = oneOf(w, {"SpringBoard", "SBApplication", "SBClockDataProvider", "SBBulletinModalAlert",
                                    "SBLockScreenViewController", "SBAwayBulletinListItem", "PCSimpleTimer",
                                    "AlarmManager", "UIConcreteLocalNotification"},
                                "a SpringBoard class");
                 if (!e.empty()) return e;
             }
             return "";
         }}},
        {"timer-slack", {1, 1, "timer-slack DURATION", [](auto& a) -> std::string {
             auto d = parseDuration(a[0]);
             return d && *d >= 0 && *d <= 86400 ? "" : "the slack must be a duration of at most a day, like 30s";
         }}},
        {"file", {1, 4, "file set KEY bool|int|real|string|date VALUE | file remove KEY | file delete | file corrupt | "
                        "file write PATH|settings TEXT",
                  [](auto& a) -> std::string {
             if (a[0] == "set") {
                 if (a.size() != 4) return "usage: file set KEY TYPE VALUE";
                 auto e = oneOf(a[2], {"bool", "int", "real", "string", "date"}, "the type");
                 if (!e.empty()) return e;
                 if (a[2] == "date" && !parseDuration(a[3])) return "a date is an offset from now, like +30m or -1m";
                 if (a[2] == "int" && !parseInteger(a[3], INT64_MIN, INT64_MAX))
                     return q(a[3]) + " is not a whole number that fits 64 bits";
                 if (a[2] == "real" && !parseReal(a[3], 1e300)) return q(a[3]) + " is not a finite number";
                 if (a[2] == "bool") return oneOf(a[3], {"true", "false"}, "a bool");
                 return "";
             }
             if (a[0] == "remove") return a.size() == 2 ? "" : "usage: file remove KEY";
             if (a[0] == "delete" || a[0] == "corrupt") return a.size() == 1 ? "" : "usage: file " + a[0];
             if (a[0] == "write") {
                 if (a.size() != 3) return "usage: file write PATH|settings TEXT";
                 if (a[1] != "settings" && (a[1].empty() || a[1][0] != '/')) return "the path must be a device path (from /) or settings";
                 return decodeBytes(a[2]) ? "" : "a text to write takes the escapes \\n \\r \\t \\0 \\\\ and \\xHH only";
             }
             return oneOf(a[0], {"set", "remove", "delete", "corrupt", "write"}, "a file step");
         }}},
        {"boot", {0, 0, "boot", nullptr}},
        {"respring", {0, 0, "respring", nullptr}},
        {"lock", {0, 0, "lock", nullptr}},
        {"unlock", {0, 0, "unlock", nullptr}},
        {"alarm", {2, 4, "alarm HH:MM[:SS] LABEL [nosnooze] [daily]", [](auto& a) -> std::string {
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
             return d && *d >= 0 && a[0][0] != '-' ? "" : kDurationHelp;
         }}},
        {"until", {1, 1, "until HH:MM[:SS]", [](auto& a) -> std::string {
             return parseTimeOfDay(a[0]) ? "" : "the time must be HH:MM or HH:MM:SS";
         }}},
        {"jump", {1, 1, "jump [-]DURATION", [](auto& a) -> std::string {
             return parseDuration(a[0]) ? "" : "the duration must be like +2h, -30m (at most 100 years)";
         }}},
        {"settings", {1, 3, "settings open|back | settings tap LABEL | settings switch LABEL on|off | "
                             "settings type LABEL TEXT | settings segment LABEL INDEX",
                      [](auto& a) -> std::string {
             const std::string& v = a[0];
             if (v == "open" || v == "back") return a.size() == 1 ? "" : "usage: settings " + v;
             if (v == "tap") return a.size() == 2 ? "" : "usage: settings tap LABEL";
             if (v == "switch") return a.size() == 3 ? oneOf(a[2], {"on", "off"}, "a switch") : "usage: settings switch LABEL on|off";
             if (v == "type") return a.size() == 3 ? "" : "usage: settings type LABEL TEXT";
             if (v == "segment") {
                 if (a.size() != 3) return "usage: settings segment LABEL INDEX";
                 return parseInteger(a[2], 0, 999) ? "" : "a segment index is a whole number from 0, not " + q(a[2]);
             }
             return oneOf(v, {"open", "back", "tap", "switch", "type", "segment"}, "a settings step");
         }}},
        {"picker", {3, 5, "picker tap X Y | picker drag X1 Y1 X2 Y2", [](auto& a) -> std::string {
             if (a[0] == "tap") return a.size() == 3 ? needCoordinates(a, 1, 3) : "usage: picker tap X Y";
             if (a[0] == "drag") return a.size() == 5 ? needCoordinates(a, 1, 5) : "usage: picker drag X1 Y1 X2 Y2";
             return oneOf(a[0], {"tap", "drag"}, "a picker step");
         }}},
        {"touch", {4, 4, "touch down|move|up SCREEN X Y", [](auto& a) -> std::string {
             if (auto e = oneOf(a[0], {"down", "move", "up"}, "a touch"); !e.empty()) return e;
             if (auto e = needScreen(a[1]); !e.empty()) return e;
             return needCoordinates(a, 2, 4);
         }}},
        {"tap", {3, 3, "tap SCREEN X Y", [](auto& a) -> std::string {
             if (auto e = needScreen(a[0]); !e.empty()) return e;
             return needCoordinates(a, 1, 3);
         }}},
        {"drag", {5, 6, "drag SCREEN X1 Y1 X2 Y2 [STEPS]", [](auto& a) -> std::string {
             if (auto e = needScreen(a[0]); !e.empty()) return e;
             if (auto e = needCoordinates(a, 1, 5); !e.empty()) return e;
             if (a.size() == 6 && !parseInteger(a[5], 1, 1000)) return "the steps of a drag are a whole number from 1 to 1000, not " + q(a[5]);
             return "";
         }}},
        {"type", {1, 1, "type TEXT", nullptr}},
        {"key", {1, 1, "key return|backspace", [](auto& a) -> std::string {
             return oneOf(a[0], {"return", "backspace"}, "a key");
         }}},
        {"color", {2, 3, "color hex TEXT | color channel red|green|blue VALUE", [](auto& a) -> std::string {
             if (a[0] == "hex") return a.size() == 2 ? "" : "usage: color hex TEXT";
             if (a[0] == "channel") return a.size() == 3 ? oneOf(a[1], {"red", "green", "blue"}, "a channel") : "usage: color channel NAME VALUE";
             return oneOf(a[0], {"hex", "channel"}, "a color step");
         }}},
        {"alert", {2, 2, "alert tap TITLE", [](auto& a) -> std::string { return oneOf(a[0], {"tap"}, "an alert step"); }}},
        {"inspect", {2, 2, "inspect springboard|settings FILE.json", [](auto& a) -> std::string { return needScreen(a[0]); }}},
        {"expect", {2, 21, "expect event|no-event|file|status|icon|alert|row|view|text|no-text|pixel ...", checkExpectation}},
        {"snapshot", {2, 2, "snapshot settings|alert|lockscreen|statusbar|screen FILE.png", [](auto& a) -> std::string {
             return oneOf(a[0], {"settings", "alert", "lockscreen", "statusbar", "screen"}, "a screen");
         }}},
    };
    return table;
}

bool isSettingsVerb(const std::string& v) {
    return v == "start" || v == "locale" || v == "timezone" || v == "languages" || v == "addons" || v == "screen" ||
           v == "springboard-without" || v == "timer-slack";
}

bool isDigits(const std::string& s, size_t from, size_t to) {
    if (from >= to) return false;
    for (size_t i = from; i < to; ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i]))) return false;
    return true;
}

} // namespace

std::string excerpt(const std::string& word, size_t limit) {
    std::string out;
    size_t shown = 0;
    for (size_t i = 0; i < word.size(); ++i) {
        if (shown >= limit) return out + "...";
        const unsigned char c = static_cast<unsigned char>(word[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (c >= 0xC2 && c <= 0xF4) { // a whole UTF-8 sequence prints as itself
            const size_t n = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1; // continuation bytes
            bool whole = true;
            for (size_t k = 1; whole && k <= n; ++k)
                whole = i + k < word.size() && (static_cast<unsigned char>(word[i + k]) & 0xC0) == 0x80;
            if (whole) {
                out += word.substr(i, n + 1);
                i += n;
            } else {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\x%02X", c);
                out += buf;
            }
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        }
        ++shown;
    }
    return out;
}

bool splitWords(const std::string& line, std::vector<std::string>& words, std::string& error) {
    words.clear();
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        // "#" opens a comment at the start of a line or before a blank; "#FF0000" is a word.
        if (i >= line.size()) break;
        if (line[i] == '#' && (words.empty() || i + 1 >= line.size() || std::isspace(static_cast<unsigned char>(line[i + 1]))))
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
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i]))) word += line[i++];
        }
        words.push_back(word);
    }
    return true;
}

std::optional<long long> parseInteger(const std::string& word, long long min, long long max) {
    size_t from = (!word.empty() && (word[0] == '-' || word[0] == '+')) ? 1 : 0;
    if (!isDigits(word, from, word.size())) return std::nullopt;
    long long value = 0;
    const char* first = word.data() + (word[0] == '+' ? 1 : 0);
    auto [end, ec] = std::from_chars(first, word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size()) return std::nullopt;
    if (value < min || value > max) return std::nullopt;
    return value;
}

std::optional<long long> parseTag(const std::string& word) { return parseInteger(word, -(1LL << 62), 1LL << 62); }

std::optional<double> parseReal(const std::string& word, double maxMagnitude) {
    // Digits with an optional sign, fraction and decimal exponent; nothing else.
    size_t i = 0;
    if (i < word.size() && (word[i] == '-' || word[i] == '+')) ++i;
    size_t digits = 0;
    while (i < word.size() && std::isdigit(static_cast<unsigned char>(word[i]))) ++i, ++digits;
    if (i < word.size() && word[i] == '.') {
        ++i;
        while (i < word.size() && std::isdigit(static_cast<unsigned char>(word[i]))) ++i, ++digits;
    }
    if (digits == 0) return std::nullopt;
    if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
        ++i;
        if (i < word.size() && (word[i] == '-' || word[i] == '+')) ++i;
        if (!isDigits(word, i, word.size())) return std::nullopt;
        i = word.size();
    }
    if (i != word.size()) return std::nullopt;
    double value = 0;
    const char* first = word.data() + (word[0] == '+' ? 1 : 0);
    auto [end, ec] = std::from_chars(first, word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value)) return std::nullopt;
    if (std::fabs(value) > maxMagnitude) return std::nullopt;
    return value;
}

std::optional<double> parseCoordinate(const std::string& word) { return parseReal(word, 10000); }

std::optional<std::string> parseColor(const std::string& word) {
    static const std::map<std::string, std::string> named = {
        {"white", "#FFFFFFFF"}, {"black", "#000000FF"}, {"red", "#FF0000FF"}, {"green", "#00FF00FF"},
        {"blue", "#0000FFFF"},  {"clear", "none"},      {"none", "none"}};
    if (auto it = named.find(word); it != named.end()) return it->second;
    if ((word.size() != 7 && word.size() != 9) || word[0] != '#') return std::nullopt;
    std::string out = "#";
    for (size_t i = 1; i < word.size(); ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(word[i]))) return std::nullopt;
        out += char(std::toupper(static_cast<unsigned char>(word[i])));
    }
    if (out.size() == 7) out += "FF";
    return out;
}

std::optional<std::string> decodeBytes(const std::string& word) {
    std::string out;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '\\') {
            out += word[i];
            continue;
        }
        if (++i >= word.size()) return std::nullopt;
        switch (word[i]) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '0': out += '\0'; break;
        case '\\': out += '\\'; break;
        case 'x': {
            if (i + 2 >= word.size()) return std::nullopt;
            if (!std::isxdigit(static_cast<unsigned char>(word[i + 1])) || !std::isxdigit(static_cast<unsigned char>(word[i + 2])))
                return std::nullopt;
            out += char(std::stoi(word.substr(i + 1, 2), nullptr, 16));
            i += 2;
            break;
        }
        default: return std::nullopt;
        }
    }
    return out;
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
        auto n = parseReal(word.substr(start, i - start), kMaxDuration);
        if (!n) return std::nullopt;
        switch (word[i++]) {
        case 's': total += *n; break;
        case 'm': total += *n * 60; break;
        case 'h': total += *n * 3600; break;
        case 'd': total += *n * 86400; break;
        default: return std::nullopt;
        }
        if (total > kMaxDuration) return std::nullopt;
    }
    return sign * total;
}

std::optional<int> parseTimeOfDay(const std::string& word) {
    if (word.size() != 5 && word.size() != 8) return std::nullopt;
    if (!isDigits(word, 0, 2) || word[2] != ':' || !isDigits(word, 3, 5)) return std::nullopt;
    if (word.size() == 8 && (word[5] != ':' || !isDigits(word, 6, 8))) return std::nullopt;
    const int h = std::stoi(word.substr(0, 2)), m = std::stoi(word.substr(3, 2));
    const int s = word.size() == 8 ? std::stoi(word.substr(6, 2)) : 0;
    if (h > 23 || m > 59 || s > 59) return std::nullopt;
    return h * 3600 + m * 60 + s;
}

std::optional<CalendarDay> parseCalendarDay(const std::string& word) {
    if (word.size() != 10 || word[4] != '-' || word[7] != '-') return std::nullopt;
    if (!isDigits(word, 0, 4) || !isDigits(word, 5, 7) || !isDigits(word, 8, 10)) return std::nullopt;
    const int y = std::stoi(word.substr(0, 4)), m = std::stoi(word.substr(5, 2)), d = std::stoi(word.substr(8, 2));
    if (y < 1 || m < 1 || m > 12 || d < 1) return std::nullopt;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > days[m - 1] + (m == 2 && leap ? 1 : 0)) return std::nullopt;
    return CalendarDay{y, m, d};
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
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3); // a byte-order mark some editors write
        std::vector<std::string> words;
        std::string error;
        if (!splitWords(line, words, error)) return ParseError{number, error};
        if (words.empty()) continue;
        const std::string verb = words[0];
        std::vector<std::string> args(words.begin() + 1, words.end());
        auto it = rules().find(verb);
        if (it == rules().end()) return ParseError{number, "unknown step " + q(verb)};
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
            if (verb == "start") s.start = args[0] + " " + args[1] + (args[1].size() == 5 ? ":00" : ""), s.startLine = number;
            else if (verb == "locale") s.locale = args[0];
            else if (verb == "timezone") s.timeZone = args[0], s.timeZoneLine = number;
            else if (verb == "languages") s.languages = args;
            else if (verb == "screen") s.screen = args[0];
            else if (verb == "springboard-without") s.springboardWithout = args;
            else if (verb == "timer-slack") s.timerSlack = *parseDuration(args[0]);
            else s.addons = args;
            continue;
        }
        if (verb == "boot") booted = true;
        else if (!booted && verb != "file")
            return ParseError{number, "\"" + verb + "\" needs a booted device: put boot first"};
        out.steps.push_back(Step{number, verb, args, line});
    }
    if (out.steps.empty()) return ParseError{number > 0 ? number : 1, "the scenario has no steps"};
    return std::nullopt;
}

} // namespace sim
