// Whether a name is a time zone the device knows: ICU's zone names, nothing else. A file of its own
// so that the browser front end's request reader (and its fuzzer) needs ICU only, not the device.
#include "device/LocalTime.h"

#include <memory>

#include <unicode/timezone.h>

namespace sim {

bool isKnownTimeZone(const std::string& timeZone) {
    // ICU always knows UTC, a device's zone unless it is set: no need to read its zone data to
    // say so.
    if (timeZone == "UTC")
        return true;
    std::unique_ptr<icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(timeZone)));
    icu::UnicodeString id;
    return zone && zone->getID(id) != icu::UnicodeString("Etc/Unknown");
}

} // namespace sim
