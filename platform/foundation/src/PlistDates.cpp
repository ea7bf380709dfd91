// Date texts and bytes of property lists (see PlistDates.h).
#include "PlistDates.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kMaxYear = 99'999'999'999; // eleven digits: seconds stay far inside 64 bits

// Days since 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
}

const int64_t kDays1970To2001 = daysFromCivil(2001, 1, 1);

bool isLeap(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

unsigned daysInMonth(int64_t y, unsigned m) {
    static const unsigned days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && isLeap(y) ? 29 : days[m - 1];
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
bool isAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

// Exactly `count` digits at `text[at]`.
bool digits(std::string_view text, size_t& at, int count, unsigned& out) {
    out = 0;
    for (int i = 0; i < count; ++i, ++at) {
        if (at >= text.size() || !isAsciiDigit(text[at]))
            return false;
        out = out * 10 + static_cast<unsigned>(text[at] - '0');
    }
    return true;
}

bool expect(std::string_view text, size_t& at, char c) {
    if (at >= text.size() || text[at] != c)
        return false;
    ++at;
    return true;
}

} // namespace

std::string plistDateText(double t) {
    if (std::isnan(t))
        t = 0;
    const double limit =
        static_cast<double>((daysFromCivil(kMaxYear, 12, 31) - kDays1970To2001) * kSecondsPerDay);
    t = std::fmax(-limit, std::fmin(limit, t));
    // Whole seconds, the fraction dropped: 08:00:01.75 is written 08:00:01, and a moment before
    // 2001 goes back to the second that holds it (23:59:59.5 is 23:59:59), as the device writes.
    auto seconds = static_cast<int64_t>(std::floor(t));
    int64_t days = seconds / kSecondsPerDay, rest = seconds % kSecondsPerDay;
    if (rest < 0)
        rest += kSecondsPerDay, --days;
    int64_t year;
    unsigned month, day;
    civilFromDays(days + kDays1970To2001, year, month, day);
    char text[64];
    int n;
    if (year >= 0 && year <= 9999)
        n = std::snprintf(text, sizeof text, "%04lld", static_cast<long long>(year));
    else if (year > 9999)
        n = std::snprintf(text, sizeof text, "+%lld", static_cast<long long>(year));
    else
        n = std::snprintf(text, sizeof text, "-%04lld", static_cast<long long>(-year));
    n += std::snprintf(text + n, sizeof text - static_cast<size_t>(n), "-%02u-%02uT%02lld:%02lld:%02lld",
                       month, day, static_cast<long long>(rest / 3600),
                       static_cast<long long>(rest / 60 % 60), static_cast<long long>(rest % 60));
    std::snprintf(text + n, sizeof text - static_cast<size_t>(n), "Z");
    return text;
}

std::optional<double> plistDateFromText(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        negative = text[at++] == '-';
    int64_t year = 0;
    size_t first = at;
    while (at < text.size() && isAsciiDigit(text[at])) {
        if (at - first == 11)
            return std::nullopt;
        year = year * 10 + (text[at++] - '0');
    }
    if (at == first)
        return std::nullopt;
    if (negative)
        year = -year;
    unsigned month, day, hour, minute, second;
    if (!expect(text, at, '-') || !digits(text, at, 2, month) || !expect(text, at, '-') ||
        !digits(text, at, 2, day) || !expect(text, at, 'T') || !digits(text, at, 2, hour) ||
        !expect(text, at, ':') || !digits(text, at, 2, minute) || !expect(text, at, ':') ||
        !digits(text, at, 2, second))
        return std::nullopt;
    if (month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) || hour > 23 || minute > 59 ||
        second > 59)
        return std::nullopt;
    // The fraction: its first nine digits, rounded to the nanosecond; more are ignored.
    int64_t nanos = 0;
    if (at < text.size() && text[at] == '.') {
        ++at;
        size_t start = at;
        int64_t scale = 100'000'000;
        for (; at < text.size() && isAsciiDigit(text[at]); ++at, scale /= 10)
            if (scale > 0)
                nanos += (text[at] - '0') * scale;
        if (at == start)
            return std::nullopt;
    }
    if (at < text.size() && text[at] == 'Z')
        ++at;
    if (at != text.size())
        return std::nullopt;
    int64_t days = daysFromCivil(year, month, day) - kDays1970To2001;
    int64_t seconds = days * kSecondsPerDay + hour * 3600 + minute * 60 + second;
    // Counted in nanoseconds, exactly, and divided once in extended precision: the text
    // "2000-12-31T23:59:59.999999Z" reads as the double nearest -0.000001, as that literal would.
    const __int128 total = static_cast<__int128>(seconds) * 1'000'000'000 + nanos;
    return static_cast<double>(static_cast<long double>(total) / 1e9L);
}

void storeBigEndianDouble(double value, unsigned char out[8]) {
    uint64_t bits;
    std::memcpy(&bits, &value, 8);
    for (int i = 7; i >= 0; --i, bits >>= 8)
        out[i] = static_cast<unsigned char>(bits & 0xFF);
}

double loadBigEndianDouble(const unsigned char in[8]) {
    uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
        bits = bits << 8 | in[i];
    double value;
    std::memcpy(&value, &bits, 8);
    return value;
}
