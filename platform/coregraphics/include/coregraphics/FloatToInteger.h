// Floating-point values (coordinates, sizes, scales, levels, dates) to integer types. Converting
// a value the type cannot hold (1e308, infinity, NaN) is undefined behaviour, so every such
// conversion checks first: `fitsInteger` tells whether the value, truncated toward zero, is held;
// `clampToInteger` truncates and saturates at the type's limits, NaN giving 0.
#pragma once

#include <cmath>
#include <limits>

template <class Int> inline bool fitsInteger(double v) {
    // The type's limits as doubles: its minimum (0 or -2^digits) and 2^digits, both exact.
    constexpr double low = double(std::numeric_limits<Int>::min());
    constexpr double high = double(std::numeric_limits<Int>::max() / 2 + 1) * 2.0;
    const double t = std::trunc(v);
    return t >= low && t < high; // NaN fails both
}

template <class Int> inline Int clampToInteger(double v) {
    if (std::isnan(v))
        return 0;
    if (fitsInteger<Int>(v))
        return static_cast<Int>(v);
    return v < 0 ? std::numeric_limits<Int>::min() : std::numeric_limits<Int>::max();
}
