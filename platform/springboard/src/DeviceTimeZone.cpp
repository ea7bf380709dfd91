#include "springboard/DeviceTimeZone.h"

#include "foundation/Device.h"
#include "foundation/NSDate.h"

#include <memory>
#include <unicode/timezone.h>

namespace springboard {

double utcOffsetIn(const std::string& timeZone, double utcSeconds) {
    // ICU answers an unknown name with its "Etc/Unknown" zone, which is UTC.
    std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone)));
    if (!zone) return 0;
    int32_t raw = 0, dst = 0;
    UErrorCode status = U_ZERO_ERROR;
    const UDate ms = (utcSeconds + kNSTimeIntervalSince1970) * 1000.0;
    zone->getOffset(ms, false, raw, dst, status);
    if (U_FAILURE(status)) return 0;
    return (raw + dst) / 1000.0;
}

double deviceUtcOffset(double utcSeconds) { return utcOffsetIn(Device::timeZone(), utcSeconds); }

} // namespace springboard
