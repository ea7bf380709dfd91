// The readings of text as numbers (boolValue, intValue, integerValue, floatValue, doubleValue)
// and of a real as an integer, checked against their rules on any bytes:
//  - text that starts with a printable ASCII character (so no white space to skip) reads as
//    an independent reading of its leading number says: the sign and digit run, saturated;
//    the longest decimal number, as std::from_chars reads it; the boolean's first character;
//  - white space in front, or a letter behind, changes no reading;
//  - intValue is integerValue clamped to 32 bits, floatValue is doubleValue rounded to float.
#include "foundation/ValueReadings.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace {

void check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "reading rule broken: %s\n", what);
        std::abort();
    }
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Readings {
    bool b;
    int i;
    NSInteger n;
    float f;
    double d;
    bool operator==(const Readings& o) const {
        return b == o.b && i == o.i && n == o.n && std::memcmp(&f, &o.f, sizeof f) == 0 &&
               std::memcmp(&d, &o.d, sizeof d) == 0;
    }
};

Readings read(std::string_view s) {
    return {NSStringBoolValue(s), NSStringIntValue(s), NSStringIntegerValue(s), NSStringFloatValue(s),
            NSStringDoubleValue(s)};
}

// Sign and digit run, saturated to 64 bits (s starts with no white space).
NSInteger expectedInteger(std::string_view s) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    __int128 v = 0;
    constexpr __int128 cap = static_cast<__int128>(1) << 64;
    for (; i < s.size() && isDigit(s[i]); ++i)
        v = std::min<__int128>(v * 10 + (s[i] - '0'), cap);
    if (negative)
        v = -v;
    return static_cast<NSInteger>(std::clamp<__int128>(v, std::numeric_limits<NSInteger>::min(),
                                                       std::numeric_limits<NSInteger>::max()));
}

bool expectedBool(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    while (i < s.size() && s[i] == '0')
        ++i;
    if (i == s.size())
        return false;
    return std::strchr("YyTt123456789", s[i]) != nullptr && s[i] != '\0';
}

// The leading decimal number: digits, an optional fraction, an exponent only with a digit.
void checkDouble(std::string_view s, double got) {
    size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    const size_t start = i;
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i]))
        ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return check(got == 0, "text without a digit reads 0");
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            i = j;
        }
    }
    double magnitude = 0;
    auto [end, ec] = std::from_chars(s.data() + start, s.data() + i, magnitude);
    check(end == s.data() + i, "the number is read whole");
    if (ec == std::errc::result_out_of_range) {
        // Too large is infinite, too small is zero or below the smallest normal double.
        check(std::isinf(got) || std::fabs(got) < std::numeric_limits<double>::min(),
              "an out-of-range number saturates");
        return;
    }
    check(ec == std::errc(), "the leading number parses");
    const double expected = negative ? -magnitude : magnitude;
    check(std::memcmp(&expected, &got, sizeof got) == 0 || (expected == 0 && got == 0),
          "doubleValue is the leading number");
}

void checkReal(const uint8_t* data, size_t size) {
    if (size < 8)
        return;
    double v;
    std::memcpy(&v, data, 8);
    int i = NSNumberIntValueOfReal(v);
    NSInteger n = NSNumberIntegerValueOfReal(v);
    if (std::isnan(v))
        return check(i == 0 && n == 0, "NaN reads 0");
    const double t = std::trunc(v);
    const double ei = std::clamp(t, -2147483648.0, 2147483647.0);
    check(i == static_cast<int>(ei), "intValue of a real is its integer part, saturated");
    if (t >= 9223372036854775808.0)
        return check(n == std::numeric_limits<NSInteger>::max(), "integerValue saturates high");
    if (t <= -9223372036854775808.0)
        return check(n == std::numeric_limits<NSInteger>::min(), "integerValue saturates low");
    check(n == static_cast<NSInteger>(t), "integerValue of a real is its integer part");
}

const char* const kWhiteSpace[] = {" ",
                                   "\t",
                                   "\n",
                                   "\r",
                                   "\v",
                                   "\f",
                                   "\xC2\xA0",
                                   "\xC2\x85",
                                   "\xE2\x80\x80",
                                   "\xE2\x80\x8A",
                                   "\xE2\x80\xA8",
                                   "\xE2\x80\xAF",
                                   "\xE3\x80\x80",
                                   "\xE1\x9A\x80"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    checkReal(data, size);
    const std::string_view s(reinterpret_cast<const char*>(data), size);
    const Readings r = read(s);
    check(r.i == static_cast<int>(std::clamp<NSInteger>(r.n, std::numeric_limits<int>::min(),
                                                        std::numeric_limits<int>::max())),
          "intValue is integerValue clamped to 32 bits");
    const float asFloat = static_cast<float>(r.d);
    check(std::memcmp(&r.f, &asFloat, sizeof asFloat) == 0, "floatValue is doubleValue as a float");
    if (!s.empty() && s[0] > ' ' && s[0] < 0x7F) {
        check(r.n == expectedInteger(s), "integerValue is the saturated leading integer");
        check(r.b == expectedBool(s), "boolValue follows the first character after sign and zeros");
        checkDouble(s, r.d);
    }
    const std::string ws = kWhiteSpace[size % (sizeof kWhiteSpace / sizeof *kWhiteSpace)];
    check(read(ws + std::string(s)) == r, "white space in front changes no reading");
    check(read(std::string(s) + "x") == r, "a letter behind changes no reading");
    return 0;
}
