#include "DeviceRootFixture.h"
#include "foundation/DeviceClock.h"
#include "foundation/DeviceEvents.h"
#include "foundation/NSLog.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

// Whether text is "PROCESS[PID]": a name without spaces, then digits in brackets.
bool isProcessAndPid(std::string_view text) {
    const size_t open = text.find('[');
    if (open == 0 || open == std::string_view::npos || text.back() != ']' || open + 2 >= text.size())
        return false;
    const std::string_view name = text.substr(0, open), pid = text.substr(open + 1, text.size() - open - 2);
    return name.find_first_of(" \t\n") == std::string_view::npos &&
           std::all_of(pid.begin(), pid.end(), [](unsigned char c) { return std::isdigit(c); });
}

TEST(NSLogTest, WritesATimestampedLineAndALogEvent) {
    DeviceRootFixture root{kBareRoot};
    DeviceClock::useVirtual(NSDate::dateWithTimeIntervalSince1970(1796639400.25));
    DeviceEvents::clear();
    testing::internal::CaptureStderr();
    NSLog("[Hushmark] Error: %s %d", "timer", 42);
    std::string out = testing::internal::GetCapturedStderr();
    // "DATE TIME PROCESS[PID] MESSAGE" and a line feed.
    const std::string stamp = "2026-12-07 10:30:00.250 ", message = " [Hushmark] Error: timer 42\n";
    ASSERT_GT(out.size(), stamp.size() + message.size()) << out;
    EXPECT_TRUE(out.starts_with(stamp) && out.ends_with(message) &&
                isProcessAndPid(
                    std::string_view(out).substr(stamp.size(), out.size() - stamp.size() - message.size())))
        << out;
    auto events = DeviceEvents::all();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], (DeviceEvent{DeviceClock::now(), "log", "[Hushmark] Error: timer 42"}));
}

TEST(NSLogTest, StampsInTheDeviceTimeZone) {
    DeviceRootFixture root{kBareRoot};
    DeviceClock::useVirtual(NSDate::dateWithTimeIntervalSince1970(1796639400));
    ASSERT_TRUE(writeToFile(PlistDict{{"TimeZone", "Asia/Kolkata"}}, kGlobalPreferencesPath, true));
    EXPECT_EQ(NSLogLine("x").substr(0, 23), "2026-12-07 16:00:00.000");
}

TEST(DeviceEventsTest, RecordInOrderWithTheDeviceTimeAndTellTheListener) {
    DeviceClock::useVirtual(NSDate{100});
    DeviceEvents::clear();
    std::vector<std::string> heard;
    DeviceEvents::setListener([&](const DeviceEvent& e) { heard.push_back(e.kind + "/" + e.detail); });
    DeviceEvents::record("alarm delivered", "wake");
    DeviceClock::setVirtualNow(NSDate{160});
    DeviceEvents::record("alert shown", "Alarm");
    DeviceEvents::setListener(nullptr);
    DeviceEvents::record("quiet", "");
    auto all = DeviceEvents::all();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0], (DeviceEvent{NSDate{100}, "alarm delivered", "wake"}));
    EXPECT_EQ(all[1], (DeviceEvent{NSDate{160}, "alert shown", "Alarm"}));
    EXPECT_EQ(heard, (std::vector<std::string>{"alarm delivered/wake", "alert shown/Alarm"}));
    EXPECT_EQ(DeviceEvents::ofKind("quiet").size(), 1u);
    DeviceEvents::clear();
    EXPECT_TRUE(DeviceEvents::all().empty());
}

} // namespace
