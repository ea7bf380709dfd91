// The value words of the simulator's front ends: durations, times of day, calendar days, whole
// and real numbers, colors, escaped bytes, and the excerpts messages quote.
#include "words/Words.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

namespace sim {
namespace {

bool isDigits(const std::string& s, size_t from, size_t to) {
    if (from >= to)
        return false;
    for (size_t i = from; i < to; ++i)
        if (!std::isdigit(static_cast<unsigned char>(s[i])))
            return false;
    return true;
}

} // namespace

std::string excerpt(const std::string& word, size_t limit) {
    std::string out;
    size_t shown = 0;
    for (size_t i = 0; i < word.size(); ++i) {
        if (shown >= limit)
            return out + "...";
        const unsigned char c = static_cast<unsigned char>(word[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else if (c >= 0xC2 && c <= 0xF4) {                    // a whole UTF-8 sequence prints as itself
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

std::optional<long long> parseInteger(const std::string& word, long long min, long long max) {
    size_t from = (!word.empty() && (word[0] == '-' || word[0] == '+')) ? 1 : 0;
    if (!isDigits(word, from, word.size()))
        return std::nullopt;
    long long value = 0;
    const char* first = word.data() + (word[0] == '+' ? 1 : 0);
    auto [end, ec] = std::from_chars(first, word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    if (value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<long long> parseTag(const std::string& word) {
    return parseInteger(word, -(1LL << 62), 1LL << 62);
}

std::optional<double> parseReal(const std::string& word, double maxMagnitude) {
    // Digits with an optional sign, fraction and decimal exponent; nothing else.
    size_t i = 0;
    if (i < word.size() && (word[i] == '-' || word[i] == '+'))
        ++i;
    size_t digits = 0;
    while (i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])))
        ++i, ++digits;
    if (i < word.size() && word[i] == '.') {
        ++i;
        while (i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])))
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < word.size() && (word[i] == 'e' || word[i] == 'E')) {
        ++i;
        if (i < word.size() && (word[i] == '-' || word[i] == '+'))
            ++i;
        if (!isDigits(word, i, word.size()))
            return std::nullopt;
        i = word.size();
    }
    if (i != word.size())
        return std::nullopt;
    double value = 0;
    const char* first = word.data() + (word[0] == '+' ? 1 : 0);
    auto [end, ec] = std::from_chars(first, word.data() + word.size(), value);
    if (ec != std::errc() || end != word.data() + word.size() || !std::isfinite(value))
        return std::nullopt;
    if (std::fabs(value) > maxMagnitude)
        return std::nullopt;
    return value;
}

std::optional<double> parseCoordinate(const std::string& word) {
    return parseReal(word, 10000);
}

std::optional<std::string> parseColor(const std::string& word) {
    static const std::map<std::string, std::string> named = {
        {"white", "#FFFFFFFF"}, {"black", "#000000FF"}, {"red", "#FF0000FF"}, {"green", "#00FF00FF"},
        {"blue", "#0000FFFF"},  {"clear", "none"},      {"none", "none"}};
    if (auto it = named.find(word); it != named.end())
        return it->second;
    if ((word.size() != 7 && word.size() != 9) || word[0] != '#')
        return std::nullopt;
    std::string out = "#";
    for (size_t i = 1; i < word.size(); ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(word[i])))
            return std::nullopt;
        out += char(std::toupper(static_cast<unsigned char>(word[i])));
    }
    if (out.size() == 7)
        out += "FF";
    return out;
}

std::optional<std::string> decodeBytes(const std::string& word) {
    std::string out;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '\\') {
            out += word[i];
            continue;
        }
        if (++i >= word.size())
            return std::nullopt;
        switch (word[i]) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case '0':
            out += '\0';
            break;
        case '\\':
            out += '\\';
            break;
        case 'x': {
            if (i + 2 >= word.size())
                return std::nullopt;
            if (!std::isxdigit(static_cast<unsigned char>(word[i + 1])) ||
                !std::isxdigit(static_cast<unsigned char>(word[i + 2])))
                return std::nullopt;
            out += char(std::stoi(word.substr(i + 1, 2), nullptr, 16));
            i += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return out;
}

std::optional<double> parseDuration(const std::string& word) {
    if (word.empty())
        return std::nullopt;
    size_t i = 0;
    double sign = 1;
    if (word[0] == '-' || word[0] == '+') {
        sign = word[0] == '-' ? -1 : 1;
        i = 1;
    }
    if (i >= word.size())
        return std::nullopt;
    double total = 0;
    while (i < word.size()) {
        size_t start = i;
        while (i < word.size() && (std::isdigit(static_cast<unsigned char>(word[i])) || word[i] == '.'))
            ++i;
        if (start == i || i >= word.size())
            return std::nullopt;
        auto n = parseReal(word.substr(start, i - start), kMaxDuration);
        if (!n)
            return std::nullopt;
        switch (word[i++]) {
        case 's':
            total += *n;
            break;
        case 'm':
            total += *n * 60;
            break;
        case 'h':
            total += *n * 3600;
            break;
        case 'd':
            total += *n * 86400;
            break;
        default:
            return std::nullopt;
        }
        if (total > kMaxDuration)
            return std::nullopt;
    }
    return sign * total;
}

std::optional<int> parseTimeOfDay(const std::string& word) {
    if (word.size() != 5 && word.size() != 8)
        return std::nullopt;
    if (!isDigits(word, 0, 2) || word[2] != ':' || !isDigits(word, 3, 5))
        return std::nullopt;
    if (word.size() == 8 && (word[5] != ':' || !isDigits(word, 6, 8)))
        return std::nullopt;
    const int h = std::stoi(word.substr(0, 2)), m = std::stoi(word.substr(3, 2));
    const int s = word.size() == 8 ? std::stoi(word.substr(6, 2)) : 0;
    if (h > 23 || m > 59 || s > 59)
        return std::nullopt;
    return h * 3600 + m * 60 + s;
}

std::optional<CalendarDay> parseCalendarDay(const std::string& word) {
    if (word.size() != 10 || word[4] != '-' || word[7] != '-')
        return std::nullopt;
    if (!isDigits(word, 0, 4) || !isDigits(word, 5, 7) || !isDigits(word, 8, 10))
        return std::nullopt;
    const int y = std::stoi(word.substr(0, 4)), m = std::stoi(word.substr(5, 2)),
              d = std::stoi(word.substr(8, 2));
    if (y < 1 || m < 1 || m > 12 || d < 1)
        return std::nullopt;
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > days[m - 1] + (m == 2 && leap ? 1 : 0))
        return std::nullopt;
    return CalendarDay{y, m, d};
}

} // namespace sim
