// The device's UTC offset, its zone kept between looks: it agrees with a zone made afresh, and the
// schedule follows the device's time zone file as soon as it changes, however it is written.
#include "DeviceRootFixture.h"
#include "foundation/PropertyList.h"
#include "springboard/AlarmBook.h"
#include "springboard/DeviceTimeZone.h"

#include <gtest/gtest.h>

namespace springboard {
namespace {

constexpr double kOneDay = 86400;
const DeviceRootFixture::Options kBareRoot{.addons = {}, .package = false};

TEST(DeviceTimeZone, KeptZonesAgreeWithFreshOnes) {
    // Every six hours for two years: both daylight-saving changes of each zone, and back and forth
    // between zones so that the kept one is replaced.
    const char* zones[] = {"Europe/Berlin", "America/New_York", "Australia/Lord_Howe", "Asia/Kolkata",
                           "UTC",           "No/Such_Zone"};
    for (double t = DeviceRootFixture::kStart; t < DeviceRootFixture::kStart + 730 * kOneDay; t += 6 * 3600)
        for (const char* zone : zones)
            ASSERT_EQ(utcOffsetIn(zone, t), utcOffsetInFreshZone(zone, t)) << zone << " at " << t;
}

TEST(DeviceTimeZone, TheScheduleFollowsTheTimeZoneFileMidRun) {
    DeviceRootFixture root{kBareRoot};
    const double monday = DeviceRootFixture::kStart - 8 * 3600; // 2026-12-07 00:00 UTC
    const AlarmTime seven{7, 0, kEveryDay};
    auto writeZone = [](const std::string& zone, bool atomically) {
        ASSERT_TRUE(writeToFile(PlistDict{{"TimeZone", zone}}, kGlobalPreferencesPath, atomically));
    };
    writeZone("Europe/Berlin", true);
    EXPECT_EQ(nextOccurrence(seven, monday, deviceUtcOffset), monday + 6 * 3600);
    const struct {
        const char* how;
        std::function<void()> write;
        double expected; // 07:00 local on the Monday, in UTC
    } changes[] = {
        {"written here, atomically", [&] { writeZone("Asia/Tokyo", true); }, monday + kOneDay - 2 * 3600},
        // "Asia/Dubai" is as long as "Asia/Tokyo", and the next write follows within microseconds.
        {"written here, in place", [&] { writeZone("Asia/Dubai", false); }, monday + 3 * 3600},
        {"written from outside, same size",
         [&] {
             root.writeFile(kGlobalPreferencesPath, propertyListToXML(PlistDict{{"TimeZone", "Asia/Tokyo"}}));
         },
         monday + kOneDay - 2 * 3600},
        {"written from outside, no zone",
         [&] { root.writeFile(kGlobalPreferencesPath, propertyListToXML(PlistDict{})); }, monday + 7 * 3600},
        {"written here again", [&] { writeZone("America/New_York", true); }, monday + 12 * 3600},
        {"removed", [&] { root.remove(kGlobalPreferencesPath); }, monday + 7 * 3600},
    };
    for (const auto& c : changes) {
        c.write();
        EXPECT_EQ(nextOccurrence(seven, monday, deviceUtcOffset), c.expected) << c.how;
    }
}

TEST(DeviceTimeZone, ABookReschedulesInTheNewZoneAfterRinging) {
    DeviceRootFixture root{kBareRoot};
    const double monday = DeviceRootFixture::kStart - 8 * 3600;
    ASSERT_TRUE(writeToFile(PlistDict{{"TimeZone", "Europe/Berlin"}}, kGlobalPreferencesPath, true));
    AlarmBook book(deviceUtcOffset);
    book.add({"daily", {7, 0, kEveryDay}, "Daily", true, true}, monday);
    ASSERT_EQ(book.nextDue(), monday + 6 * 3600);
    ASSERT_TRUE(writeToFile(PlistDict{{"TimeZone", "America/New_York"}}, kGlobalPreferencesPath, true));
    ASSERT_EQ(book.takeDue(monday + 6 * 3600).size(), 1u);
    EXPECT_EQ(book.nextDue(), monday + 12 * 3600); // 07:00 in New York, the same Monday
}

} // namespace
} // namespace springboard
