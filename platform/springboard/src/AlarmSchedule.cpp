#include "springboard/AlarmSchedule.h"

#include <algorithm>
#include <cmath>

namespace springboard {

namespace {
constexpr double kDay = 86400.0;
}

int weekdayOf(double localSeconds) {
    // The reference date 2001-01-01 was a Monday (1).
    long days = static_cast<long>(std::floor(localSeconds / kDay));
    long w = (days + 1) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

double nextOccurrence(const AlarmTime& time, double afterUtc, const UtcOffset& offset) {
    const double localAfter = afterUtc + offset(afterUtc);
    const double dayStart = std::floor(localAfter / kDay) * kDay;
    const double timeOfDay = time.hour * 3600.0 + time.minute * 60.0 + time.second;
    // Eight days cover every weekday once past today; two more absorb an offset change that
    // moves a candidate back behind `afterUtc`.
    for (int d = 0; d < 10; ++d) {
        const double local = dayStart + d * kDay + timeOfDay;
        if (time.weekdays != 0 && !(time.weekdays & (1u << weekdayOf(local))))
            continue;
        // The offset that applies at the candidate itself (it may differ across a daylight
        // saving change): guess with the offset now, then settle on the candidate's own.
        const double guess = local - offset(afterUtc);
        double utc = local - offset(guess);
        // A time the change skips (02:30 when the clocks go from 02:00 to 03:00) reads under
        // neither offset: it rings as far past the change as it lies past the change's start
        // (03:30), with the offset from before the change, never before it.
        if (utc + offset(utc) != local)
            utc = local - std::min(offset(guess), offset(utc));
        if (utc > afterUtc)
            return utc;
    }
    return afterUtc + kDay; // unreachable for a valid time; keeps the result ahead
}

} // namespace springboard
