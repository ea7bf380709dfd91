// The names a device takes as its time zone: ICU's zone names and nothing else, UTC among them
// (which is answered without ICU's zone data), and no near miss of it.
#include "device/LocalTime.h"

#include <gtest/gtest.h>

namespace sim {
namespace {

TEST(TimeZoneNames, IcusZonesAreKnownAndNothingElse) {
    const struct {
        const char* name;
        bool known;
    } cases[] = {
        {"UTC", true},
        {"Etc/UTC", true},
        {"GMT", true},
        {"Europe/Berlin", true},
        {"America/New_York", true},
        {"utc", false},
        {"UTC ", false},
        {" UTC", false},
        {"UTC+1", false},
        {"UTCX", false},
        {"", false},
        {"No/Such_Zone", false},
        {"Etc/Unknown", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isKnownTimeZone(c.name), c.known) << "\"" << c.name << "\"";
}

} // namespace
} // namespace sim
