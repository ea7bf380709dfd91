// The device's text and number readings. Hand-written rather than strtol/strtod: those skip a
// different set of white space, and accept "inf", "nan", hexadecimal and locale-dependent input
// that the device reads as 0.
#include "foundation/ValueReadings.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <string>

namespace {

// Length in bytes of the white space or line break (Unicode, UTF-8) at `i`, or 0.
size_t whiteSpaceAt(std::string_view s, size_t i) {
    auto byte = [&](size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0u; };
    unsigned c = byte(i);
    if (c == ' ' || (c >= 0x09 && c <= 0x0D))
        return 1;
    if (c == 0xC2 && (byte(i + 1) == 0x85 || byte(i + 1) == 0xA0))
        return 2; // U+0085, U+00A0
    if (c == 0xE1 && byte(i + 1) == 0x9A && byte(i + 2) == 0x80)
        return 3; // U+1680
    if (c == 0xE2 && byte(i + 1) == 0x80) {
        unsigned d = byte(i + 2);
        if ((d >= 0x80 && d <= 0x8A) || d == 0xA8 || d == 0xA9 || d == 0xAF)
            return 3; // U+2000-200A, 2028, 2029, 202F
    }
    if (c == 0xE2 && byte(i + 1) == 0x81 && byte(i + 2) == 0x9F)
        return 3; // U+205F
    if (c == 0xE3 && byte(i + 1) == 0x80 && byte(i + 2) == 0x80)
        return 3; // U+3000
    return 0;
}

size_t skipWhiteSpace(std::string_view s) {
    size_t i = 0;
    while (size_t n = whiteSpaceAt(s, i))
        i += n;
    return i;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Leading decimal integer after white space and sign, clamped to [lo, hi].
template <class T> T readInteger(std::string_view s) {
    size_t i = skipWhiteSpace(s);
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    // Accumulate as a negative number so the minimum of the type fits.
    constexpr T lo = std::numeric_limits<T>::min();
    constexpr T hi = std::numeric_limits<T>::max();
    T acc = 0;
    bool overflow = false;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        int d = s[i] - '0';
        if (overflow)
            continue;
        if (acc < (lo + d) / 10) {
            overflow = true;
            continue;
        }
        acc = static_cast<T>(acc * 10 - d);
    }
    if (overflow)
        return negative ? lo : hi;
    if (negative)
        return acc;
    return acc == lo ? hi : static_cast<T>(-acc);
}

locale_t cLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return loc;
}

} // namespace

bool NSStringBoolValue(std::string_view s) {
    size_t i = skipWhiteSpace(s);
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    while (i < s.size() && s[i] == '0')
        ++i;
    if (i >= s.size())
        return false;
    char c = s[i];
    return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

int NSStringIntValue(std::string_view s) {
    return readInteger<int>(s);
}

NSInteger NSStringIntegerValue(std::string_view s) {
    return readInteger<NSInteger>(s);
}

double NSStringDoubleValue(std::string_view s) {
    size_t i = skipWhiteSpace(s);
    std::string number;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        number += s[i++];
    size_t digits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i, ++digits)
        number += s[i];
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        for (; i < s.size() && isDigit(s[i]); ++i, ++digits)
            number += s[i];
    }
    if (digits == 0)
        return 0;
    // An exponent counts only with at least one digit: "1e" and "1e+" read 1.
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            number.append(s.substr(i, j - i));
        }
    }
    // The text is now a plain decimal number, which strtod rounds correctly.
    return strtod_l(number.c_str(), nullptr, cLocale());
}

float NSStringFloatValue(std::string_view s) {
    return static_cast<float>(NSStringDoubleValue(s));
}

int NSNumberIntValueOfReal(double v) {
    if (std::isnan(v))
        return 0;
    if (v <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (v >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(v);
}

NSInteger NSNumberIntegerValueOfReal(double v) {
    if (std::isnan(v))
        return 0;
    // 2^63 is exactly representable; anything at or above it saturates.
    if (v >= 9223372036854775808.0)
        return std::numeric_limits<NSInteger>::max();
    if (v <= -9223372036854775808.0)
        return std::numeric_limits<NSInteger>::min();
    return static_cast<NSInteger>(v);
}
