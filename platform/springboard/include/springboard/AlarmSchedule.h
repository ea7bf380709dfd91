// When a Clock alarm next rings: pure arithmetic on seconds, free of any platform object.
//
// Times are seconds since 2001-01-01 00:00:00 UTC (the device's reference date, a Monday).
// An alarm rings at a time of day in the device's local time, on chosen weekdays or once.
#pragma once

#include <functional>

namespace springboard {

// Weekday bits of a repeating alarm: bit 0 is Sunday, bit 6 Saturday. No bit means "once".
enum Weekday : unsigned {
    Sunday = 1u << 0,
    Monday = 1u << 1,
    Tuesday = 1u << 2,
    Wednesday = 1u << 3,
    Thursday = 1u << 4,
    Friday = 1u << 5,
    Saturday = 1u << 6
};
inline constexpr unsigned kEveryDay = 0x7F;

struct AlarmTime {
    int hour = 0;          // 0 to 23, local time
    int minute = 0;        // 0 to 59
    unsigned weekdays = 0; // Weekday bits; 0 rings once
    int second = 0;        // 0 to 59
};

// Seconds to add to a UTC time to get the local wall-clock time at that moment.
using UtcOffset = std::function<double(double utcSeconds)>;

// Weekday (0 Sunday to 6 Saturday) of a local time in seconds since the reference date.
int weekdayOf(double localSeconds);

// The first moment strictly after `afterUtc` at which the alarm rings. A once-alarm rings at the
// next occurrence of its time of day, whatever the weekday.
double nextOccurrence(const AlarmTime& time, double afterUtc, const UtcOffset& offset);

} // namespace springboard
