// How long a disarm lasts and when its deadline counts as reached: the same arithmetic in the
// tweak (its timer and icon) and in the root page (Disarm Now and the status row).
#pragma once

#include <cstdint>

// A disarm lasts an hour until the settings file says otherwise.
inline constexpr std::int32_t kDefaultDisarmSeconds = 3600;

// The stored "disableForMinutes" times 60, in 32-bit signed arithmetic that wraps on overflow as
// the device's does (without C++'s undefined signed overflow: unsigned arithmetic wraps by
// definition, and the conversion back is modular since C++20).
inline constexpr std::int32_t disarmSecondsForMinutes(std::int32_t minutes) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(minutes) * 60u);
}

// A deadline this close, or past, counts as reached: the tweak arms no timer for it and the
// status row no longer shows it.
inline constexpr double kDeadlineMarginSeconds = 15.0;

// Times in seconds since 2001. True while now + 15 s is strictly earlier than the deadline,
// which is what comparing the two dates gives as ascending.
inline constexpr bool deadlineStillAhead(double now, double deadline) {
    return now + kDeadlineMarginSeconds < deadline;
}
