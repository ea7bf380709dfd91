// What the Clock app writes about alarms, and the wheel's arithmetic: values in, values out.
#include "clock/AlarmText.h"
#include "clock/TimeWheel.h"

#include <gtest/gtest.h>

namespace {

using namespace clockapp;
using springboard::ClockAlarm;

struct TimeCase {
    int hour, minute, second;
    const char* locale;
    const char* digits;
    const char* period;
    bool periodFirst;
};

TEST(AlarmText, TimesSplitIntoDigitsAndMark) {
    const TimeCase cases[] = {
        {7, 30, 0, "en_US", "7:30", "AM", false},    {0, 5, 0, "en_US", "12:05", "AM", false},
        {12, 0, 0, "en_US", "12:00", "PM", false},   {23, 59, 0, "en_US", "11:59", "PM", false},
        {8, 30, 5, "en_US", "8:30:05", "AM", false}, {7, 30, 0, "de_DE", "07:30", "", false},
        {21, 0, 0, "fr_FR", "21:00", "", false},     {9, 15, 0, "ko_KR", "9:15", "오전", true},
    };
    for (const auto& c : cases) {
        const TimeText t = timeText(c.hour, c.minute, c.second, c.locale);
        EXPECT_EQ(t.digits, c.digits) << c.locale << " " << c.hour << ":" << c.minute;
        EXPECT_EQ(t.period, c.period) << c.locale << " " << c.hour << ":" << c.minute;
        EXPECT_EQ(t.periodFirst, c.periodFirst) << c.locale;
    }
    EXPECT_TRUE(usesTwelveHourClock("en_US"));
    EXPECT_FALSE(usesTwelveHourClock("de_DE"));
}

TEST(AlarmText, RepeatNamesTheCommonWeeksAndListsTheRest) {
    using namespace springboard;
    const std::pair<unsigned, const char*> cases[] = {
        {0, "Never"},
        {kEveryDay, "Every Day"},
        {Monday | Tuesday | Wednesday | Thursday | Friday, "Weekdays"},
        {Saturday | Sunday, "Weekends"},
        {Monday | Wednesday | Friday, "Mon Wed Fri"},
        {Sunday | Saturday | Monday, "Sun Mon Sat"},
        {Tuesday, "Tue"},
        {kEveryDay | 0x80, "Every Day"}, // bits past Saturday mean nothing
    };
    for (const auto& [days, text] : cases)
        EXPECT_EQ(repeatText(days), text) << days;
}

TEST(AlarmText, DetailIsLabelThenRepeatOrRingDay) {
    using namespace springboard;
    struct Case {
        std::string label;
        unsigned days;
        std::string ringDay;
        std::string detail;
    };
    const Case cases[] = {
        {"", 0, "", "Alarm"},
        {"", kEveryDay, "", "Alarm, every day"},
        {"Wake", Monday | Tuesday | Wednesday | Thursday | Friday, "", "Wake, weekdays"},
        {"Gym", Monday | Thursday, "", "Gym, Mon Thu"},
        {"Nap", 0, "tomorrow", "Nap, tomorrow"},
        // A repeating alarm says its days, never a ring day.
        {"Run", Saturday | Sunday, "tomorrow", "Run, weekends"},
    };
    for (const auto& c : cases) {
        ClockAlarm alarm;
        alarm.label = c.label;
        alarm.time.weekdays = c.days;
        EXPECT_EQ(alarmDetail(alarm, c.ringDay), c.detail);
    }
}

TEST(AlarmText, RingDayCountsLocalDays) {
    // 2026-12-07 was a Monday; times in seconds since 2001 UTC.
    const double mondayMidnightUtc = 818294400.0;
    const double hour = 3600;
    auto utc = [](double) { return 0.0; };
    auto tokyo = [](double) { return 9 * 3600.0; };
    auto newYork = [](double) { return -5 * 3600.0; };
    struct Case {
        const char* name;
        double ring, now;
        springboard::UtcOffset offset;
        const char* text;
    };
    const Case cases[] = {
        {"later today", mondayMidnightUtc + 20 * hour, mondayMidnightUtc + 8 * hour, utc, ""},
        {"tomorrow", mondayMidnightUtc + 31 * hour, mondayMidnightUtc + 8 * hour, utc, "tomorrow"},
        {"just past midnight", mondayMidnightUtc + 24 * hour + 60, mondayMidnightUtc + 23 * hour, utc,
         "tomorrow"},
        {"in three days", mondayMidnightUtc + 3 * 24 * hour + 7 * hour, mondayMidnightUtc + 8 * hour, utc,
         "Thursday"},
        // 20:00 UTC Monday is 05:00 Tuesday in Tokyo, where it is 17:00 Monday at 08:00 UTC.
        {"east of UTC", mondayMidnightUtc + 20 * hour, mondayMidnightUtc + 8 * hour, tokyo, "tomorrow"},
        // 03:00 UTC Tuesday is 22:00 Monday in New York, where it is 03:00 Monday at 08:00 UTC.
        {"west of UTC", mondayMidnightUtc + 27 * hour, mondayMidnightUtc + 8 * hour, newYork, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ringDayText(c.ring, c.now, c.offset), c.text) << c.name;
}

TEST(TimeWheelArithmetic, TurnsGoRoundOrStopAtTheEnds) {
    struct Case {
        int selected;
        long rows;
        int count;
        bool circular;
        int expected;
    };
    const Case cases[] = {
        {58, 3, 60, true, 1}, {0, -1, 60, true, 59}, {5, -125, 60, true, 0}, {3, 0, 12, true, 3},
        {0, 1, 2, false, 1},  {1, 5, 2, false, 1},   {1, -3, 2, false, 0},   {0, 4, 0, true, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(turnedWheelIndex(c.selected, c.rows, c.count, c.circular), c.expected)
            << c.selected << " + " << c.rows << " of " << c.count;
}

TEST(TimeWheelArithmetic, DragsAndTapsCountWholeRows) {
    // A finger moved up brings later values; half a row or more counts as a row.
    EXPECT_EQ(rowsForDrag(-kWheelRowHeight, kWheelRowHeight), 1);
    EXPECT_EQ(rowsForDrag(2.4 * kWheelRowHeight, kWheelRowHeight), -2);
    EXPECT_EQ(rowsForDrag(-0.6 * kWheelRowHeight, kWheelRowHeight), 1);
    EXPECT_EQ(rowsForDrag(-0.4 * kWheelRowHeight, kWheelRowHeight), 0);
    // A tap below the band picks a later value.
    EXPECT_EQ(rowsForTap(2 * kWheelRowHeight + 5, kWheelRowHeight), 2);
    EXPECT_EQ(rowsForTap(-kWheelRowHeight, kWheelRowHeight), -1);
    EXPECT_EQ(rowsForTap(10, kWheelRowHeight), 0);
}

} // namespace
