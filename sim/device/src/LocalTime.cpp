#include "device/LocalTime.h"

#include "springboard/DeviceTimeZone.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <memory>
#include <unicode/timezone.h>

namespace sim {
namespace {

constexpr double kUnixOf2001 = 978307200.0;

struct Civil {
    int year, month, day, hour, minute;
    double second;
};

Civil civilOf(double localSince2001) {
    double unix = localSince2001 + kUnixOf2001;
    double whole = std::floor(unix);
    auto t = static_cast<time_t>(whole);
    std::tm tm{};
    gmtime_r(&t, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec + (unix - whole)};
}

} // namespace

std::optional<NSDate> dateFromLocal(const std::string& text, const std::string& timeZone) {
    int y, mo, d, h, mi, s;
    char tail;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &y, &mo, &d, &h, &mi, &s, &tail) != 6)
        return std::nullopt;
    if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59)
        return std::nullopt;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    double local = double(timegm(&tm)) - kUnixOf2001;
    // The offset at the moment itself: two rounds settle it across a daylight-saving change.
    double utc = local - springboard::utcOffsetIn(timeZone, local);
    utc = local - springboard::utcOffsetIn(timeZone, utc);
    return NSDate{utc};
}

std::string localClock(NSDate date, const std::string& timeZone) {
    double t = date.timeIntervalSinceReferenceDate;
    Civil c = civilOf(t + springboard::utcOffsetIn(timeZone, t));
    char buf[32];
    int ms = int(std::lround((c.second - std::floor(c.second)) * 1000));
    if (ms == 0 || ms == 1000)
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", c.hour, c.minute, int(std::lround(c.second)) % 60);
    else
        std::snprintf(buf, sizeof buf, "%02d:%02d:%02d.%03d", c.hour, c.minute, int(c.second), ms);
    return buf;
}

std::string localDateTime(NSDate date, const std::string& timeZone) {
    double t = date.timeIntervalSinceReferenceDate;
    Civil c = civilOf(t + springboard::utcOffsetIn(timeZone, t));
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute,
                  int(std::floor(c.second)));
    return buf;
}

std::optional<NSDate> nextLocalTime(NSDate from, int secondsOfDay, const std::string& timeZone) {
    char clock[48];
    std::snprintf(clock, sizeof clock, " %02d:%02d:%02d", secondsOfDay / 3600, (secondsOfDay / 60) % 60,
                  secondsOfDay % 60);
    const std::string today = localDateTime(from, timeZone).substr(0, 10);
    const auto at = dateFromLocal(today + clock, timeZone);
    if (!at)
        return std::nullopt;
    if (at->timeIntervalSinceReferenceDate >= from.timeIntervalSinceReferenceDate)
        return at;
    // Tomorrow: 24 hours after today's noon is tomorrow's, give or take the change's hour.
    const auto noon = dateFromLocal(today + " 12:00:00", timeZone);
    if (!noon)
        return std::nullopt;
    return dateFromLocal(
        localDateTime(noon->dateByAddingTimeInterval(86400.0), timeZone).substr(0, 10) + clock, timeZone);
}

double localSecondsOfDay(NSDate date, const std::string& timeZone) {
    double t = date.timeIntervalSinceReferenceDate;
    double local = t + springboard::utcOffsetIn(timeZone, t);
    return local - std::floor(local / 86400.0) * 86400.0;
}

std::string hostTimeZone() {
    std::unique_ptr<icu::TimeZone> host(icu::TimeZone::detectHostTimeZone());
    std::string name;
    if (host) {
        icu::UnicodeString id;
        host->getID(id).toUTF8String(name);
    }
    return isKnownTimeZone(name) ? name : "UTC";
}

} // namespace sim
