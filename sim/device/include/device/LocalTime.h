// Device-local wall time for the timeline and the scenario's clock lines.
#pragma once

#include "foundation/NSDate.h"

#include <optional>
#include <string>

namespace sim {
// "YYYY-MM-DD HH:MM:SS" in the zone → the moment; none when malformed.
std::optional<NSDate> dateFromLocal(const std::string& text, const std::string& timeZone);
// The moment as "HH:MM:SS" in the zone (with ".mmm" when it is not on a whole second).
std::string localClock(NSDate date, const std::string& timeZone);
// The moment as "YYYY-MM-DD HH:MM:SS" in the zone.
std::string localDateTime(NSDate date, const std::string& timeZone);
// Whether the time zone is one the device knows ("UTC", "Europe/Berlin", "GMT+05:00"); an
// unknown name would silently read as UTC.
bool isKnownTimeZone(const std::string& timeZone);
// The host's own time zone (from TZ, else the system's setting), as a name the device knows;
// "UTC" when the host names none it knows.
std::string hostTimeZone();
// The first moment at or after `from` when the zone's clock reads the time of day (today, else
// tomorrow), counted on the calendar, so a day of 23 or 25 hours is no hour off; a time a
// daylight-saving change skips is the moment as far past the change. None past the year 9999.
std::optional<NSDate> nextLocalTime(NSDate from, int secondsOfDay, const std::string& timeZone);
// Seconds since local midnight of the moment.
double localSecondsOfDay(NSDate date, const std::string& timeZone);
} // namespace sim
