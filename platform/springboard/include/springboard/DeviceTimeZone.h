// The device's time zone as an offset from UTC at a given moment (daylight saving included).
#pragma once

#include <string>

namespace springboard {
// Seconds to add to UTC (seconds since 2001) for local time in the named zone ("UTC" if unknown).
double utcOffsetIn(const std::string& timeZone, double utcSeconds);
// The same from a zone made for this one call: the reference the kept zone is compared against.
double utcOffsetInFreshZone(const std::string& timeZone, double utcSeconds);
// The same for the device's own time zone (DeviceEnvironment::timeZone, read again when the file changes).
double deviceUtcOffset(double utcSeconds);
} // namespace springboard
