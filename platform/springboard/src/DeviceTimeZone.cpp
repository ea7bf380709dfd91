#include "springboard/DeviceTimeZone.h"

#include "foundation/DeviceEnvironment.h"
#include "foundation/NSDate.h"

#include <memory>
#include <mutex>
#include <unicode/timezone.h>

namespace springboard {

namespace {

double offsetAt(const icu::TimeZone& zone, double utcSeconds) {
    int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    const UDate ms = (utcSeconds + kNSTimeIntervalSince1970) * 1000.0;
    zone.getOffset(ms, false, raw, dst, status);
    if (U_FAILURE(status))
        return 0;
    return (raw + dst) / 1000.0;
}

// ICU answers an unknown name with its "Etc/Unknown" zone, which is UTC.
std::unique_ptr<icu::TimeZone> zoneNamed(const std::string& timeZone) {
    return std::unique_ptr<icu::TimeZone>(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone)));
}

} // namespace

double utcOffsetIn(const std::string& timeZone, double utcSeconds) {
    // UTC, a device's zone unless it is set, is zero hours from UTC at every date: no zone is
    // made for it, and ICU's zone data (a millisecond of a short run's start) stays unread.
    if (timeZone == "UTC")
        return 0;
    // Making a zone costs far more than asking it: the last one made is kept (a device has one).
    static std::mutex mutex;
    static std::string name;
    static std::unique_ptr<icu::TimeZone> zone;
    std::lock_guard lock(mutex);
    if (!zone || name != timeZone) {
        zone = zoneNamed(timeZone);
        name = zone ? timeZone : std::string();
    }
    return zone ? offsetAt(*zone, utcSeconds) : 0;
}

double utcOffsetInFreshZone(const std::string& timeZone, double utcSeconds) {
    auto zone = zoneNamed(timeZone);
    return zone ? offsetAt(*zone, utcSeconds) : 0;
}

double deviceUtcOffset(double utcSeconds) {
    return utcOffsetIn(DeviceEnvironment::timeZone(), utcSeconds);
}

} // namespace springboard
