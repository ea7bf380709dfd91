#include "springboard/SpringBoardEvents.h"

#include "coregraphics/FloatToInteger.h"

#include <cmath>
#include <cstdio>

namespace sbevent {

std::string utcText(NSDate date) {
    // A date from a file can be anything: NaN counts as 1970, dates past 64 bits of seconds
    // saturate (the year printed is then far out, never garbage).
    const long long unix = clampToInteger<long long>(std::floor(date.timeIntervalSince1970()));
    long long days = unix / 86400;
    long long secs = unix % 86400;
    if (secs < 0) {
        secs += 86400;
        --days;
    }
    // Civil date from days since 1970-01-01 (Howard Hinnant's algorithm).
    const long long z = days + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    const long long day = doy - (153 * mp + 2) / 5 + 1;
    const long long month = mp < 10 ? mp + 3 : mp - 9;
    const long long year = yoe + era * 400 + (month <= 2 ? 1 : 0);
    char buf[96];
    std::snprintf(buf, sizeof buf, "%04lld-%02lld-%02lld %02lld:%02lld:%02lldZ", year, month, day,
                  secs / 3600, secs / 60 % 60, secs % 60);
    return buf;
}

} // namespace sbevent
