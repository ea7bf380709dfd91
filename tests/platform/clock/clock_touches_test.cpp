// Alarms set through the Clock app's screens by a finger, checked in SpringBoard's model.
#include "ClockTestDevice.h"

#include "clock/ClockTouches.h"
#include "foundation/RunLoop.h"

#include <gtest/gtest.h>

namespace {

using clockapp::AlarmEntry;
using clockapp::ClockApp;
using clockapp::Finger;
using clocktest::ClockDevice;
using namespace springboard;

struct EntryCase {
    const char* name;
    const char* locale;
    AlarmEntry entry;
    const char* detail; // as the list shows it
};

class AddByTouch : public testing::TestWithParam<EntryCase> {};

TEST_P(AddByTouch, ReachesTheModelAsEntered) {
    const EntryCase& c = GetParam();
    ClockDevice d(c.locale);
    ASSERT_EQ(clockapp::addAlarmByTouch(d.app, c.entry, Finger::onWindow(d.app)), "");
    const auto alarms = d.model();
    ASSERT_EQ(alarms.size(), 1u);
    EXPECT_EQ(alarms[0].time.hour, c.entry.hour);
    EXPECT_EQ(alarms[0].time.minute, c.entry.minute);
    EXPECT_EQ(alarms[0].time.second, 0);
    EXPECT_EQ(alarms[0].time.weekdays, c.entry.daily ? kEveryDay : 0u);
    EXPECT_EQ(alarms[0].label, c.entry.label);
    EXPECT_EQ(alarms[0].allowsSnooze, c.entry.snooze);
    EXPECT_TRUE(alarms[0].enabled);
    EXPECT_EQ(d.app.page(), ClockApp::Page::List);
    EXPECT_EQ(d.app.rows()[0].detail, c.detail);
}

// The device starts at 08:00 on a Monday.
INSTANTIATE_TEST_SUITE_P(
    Entries, AddByTouch,
    testing::Values(EntryCase{"Midnight", "en_US", {0, 0, "", false, true}, "Alarm, tomorrow"},
                    EntryCase{"Noon", "en_US", {12, 0, "Lunch", false, true}, "Lunch"},
                    EntryCase{"LateEveningAcrossTheMinutes", "en_US", {23, 59, "", false, true}, "Alarm"},
                    EntryCase{"DailyNoSnooze", "en_US", {6, 30, "Wake", true, false}, "Wake, every day"},
                    EntryCase{"TwentyFourHours", "de_DE", {21, 45, "Abend", true, true}, "Abend, every day"},
                    EntryCase{
                        "TwentyFourHoursBeforeNow", "de_DE", {3, 5, "", false, true}, "Alarm, tomorrow"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AddByTouch, StartsFromWhateverPageShows) {
    ClockDevice d;
    d.add(5, 0, "Old");
    ASSERT_TRUE(d.tap("Edit"));
    ASSERT_TRUE(d.tap("row", 0));
    ASSERT_TRUE(d.tap("Label"));
    ASSERT_EQ(clockapp::addAlarmByTouch(d.app, {9, 10, "New", false, true}, Finger::onWindow(d.app)), "");
    ASSERT_EQ(d.model().size(), 2u);
    EXPECT_EQ(d.model()[0].label, "Old") << "the edit left behind was cancelled";
    EXPECT_EQ(d.model()[1].label, "New");
}

TEST(AddByTouch, SaysWhatStoodInTheWay) {
    ClockDevice d;
    EXPECT_EQ(clockapp::addAlarmByTouch(d.app, {24, 0, "", false, true}, Finger::onWindow(d.app)),
              "an alarm's time lies within a day");
    // A ringing alarm's alert over the app takes the touches.
    d.host.addAlarm({"", {8, 1, 0, 0}, "Ringing", true, true});
    RunLoop::main().runFor(120);
    ASSERT_TRUE(d.host.ringing());
    EXPECT_NE(clockapp::addAlarmByTouch(d.app, {9, 0, "", false, true}, Finger::onWindow(d.app)), "");
    EXPECT_EQ(d.model().size(), 1u);
}

TEST(ClockApp, ReturnEndsTheLabelsTyping) {
    ClockDevice d;
    EXPECT_FALSE(d.app.returnKey());
    ASSERT_TRUE(d.tap("+"));
    ASSERT_TRUE(d.tap("Label"));
    Finger::onWindow(d.app).type("Tea");
    EXPECT_TRUE(d.app.returnKey());
    EXPECT_EQ(d.app.page(), ClockApp::Page::Add);
    EXPECT_EQ(d.app.labelValue(), "Tea");
}

} // namespace
