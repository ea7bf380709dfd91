#include "springboard/AlarmBook.h"

#include <gtest/gtest.h>

namespace springboard {
namespace {

constexpr double kDay = 86400;
constexpr double kMonday = 0; // 2001-01-01 00:00 UTC
const UtcOffset kUtc = [](double) { return 0.0; };

TEST(AlarmSchedule, WeekdaysCountFromTheReferenceMonday) {
    const struct {
        double local;
        int weekday;
    } cases[] = {{0, 1}, {kDay - 1, 1}, {-1, 0}, {6 * kDay, 0}, {5 * kDay + 100, 6}, {-7 * kDay, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(weekdayOf(c.local), c.weekday) << c.local;
}

TEST(AlarmSchedule, NextOccurrenceIsStrictlyAheadOnAChosenDayInLocalTime) {
    const UtcOffset plusOne = [](double) { return 3600.0; };
    const UtcOffset minusFive = [](double) { return -5 * 3600.0; };
    const struct {
        const char* name;
        AlarmTime time;
        double after;
        UtcOffset offset;
        double expected;
    } cases[] = {
        {"once, later today", {7, 30, 0}, kMonday, kUtc, 7.5 * 3600},
        {"once, exactly now rings tomorrow", {7, 30, 0}, 7.5 * 3600, kUtc, kDay + 7.5 * 3600},
        {"once, already past today", {7, 30, 0}, 8 * 3600, kUtc, kDay + 7.5 * 3600},
        {"Sundays only from a Monday", {7, 0, Sunday}, kMonday, kUtc, 6 * kDay + 7 * 3600},
        {"weekdays from a Friday evening",
         {6, 0, Monday | Tuesday | Wednesday | Thursday | Friday},
         4 * kDay + 20 * 3600,
         kUtc,
         7 * kDay + 6 * 3600},
        {"every day, east of UTC", {7, 0, kEveryDay}, kMonday, plusOne, 6 * 3600},
        {"west of UTC: local day is still Sunday", {20, 0, Sunday}, kMonday, minusFive, 3600},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(nextOccurrence(c.time, c.after, c.offset), c.expected) << c.name;
}

TEST(AlarmSchedule, TheOffsetOfTheAlarmDayAppliesAcrossADaylightSavingChange) {
    const double change = kDay + 2 * 3600; // clocks go forward one hour on day two, 02:00 UTC
    const UtcOffset offset = [&](double utc) { return utc < change ? 3600.0 : 7200.0; };
    // 07:00 local on day two is 05:00 UTC under the new offset.
    EXPECT_DOUBLE_EQ(nextOccurrence({7, 0, 0}, kDay - 1, offset), kDay + 5 * 3600);
}

// Day two, 01:00 UTC: local clocks go from 02:00 to 03:00 (forward), or from 03:00 back to 02:00.
TEST(AlarmSchedule, ATimeTheChangeSkipsRingsAfterItAndARepeatedHourRingsOnce) {
    const double change = kDay + 3600;
    const UtcOffset forward = [&](double utc) { return utc < change ? 3600.0 : 7200.0; };
    const UtcOffset back = [&](double utc) { return utc < change ? 7200.0 : 3600.0; };
    struct Case {
        const char* name;
        AlarmTime time;
        const UtcOffset* offset;
        double after, expected;
    };
    const Case cases[] = {
        {"before the gap", {1, 30, 0}, &forward, kDay - 1, kDay + 0.5 * 3600},
        {"in the gap: 03:30, not an hour early", {2, 30, 0}, &forward, kDay - 1, kDay + 1.5 * 3600},
        {"after the gap", {3, 30, 0}, &forward, kDay - 1, kDay + 1.5 * 3600},
        {"the repeated hour: its first time", {2, 30, 0}, &back, kDay - 1, kDay + 0.5 * 3600},
        {"the repeated hour rung: the next day", {2, 30, 0}, &back, kDay + 0.5 * 3600, 2 * kDay + 1.5 * 3600},
    };
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(nextOccurrence(c.time, c.after, *c.offset), c.expected) << c.name;
}

TEST(AlarmBook, AOnceAlarmRingsOnceAndSwitchesOff) {
    AlarmBook book(kUtc);
    const std::string id = book.add({"", {7, 0, 0}, "Wake", true, true}, kMonday).alarmId;
    EXPECT_FALSE(id.empty());
    ASSERT_EQ(book.nextDue(), 7 * 3600.0);
    EXPECT_TRUE(book.takeDue(7 * 3600 - 1).empty());
    auto due = book.takeDue(7 * 3600);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].alarmId, id);
    EXPECT_FALSE(due[0].snoozed);
    EXPECT_FALSE(book.find(id)->enabled);
    EXPECT_EQ(book.nextDue(), std::nullopt);
    EXPECT_TRUE(book.takeDue(10 * kDay).empty());
}

TEST(AlarmBook, ARepeatingAlarmMovesOnPastAClockJumpAndRingsOnlyOnce) {
    AlarmBook book(kUtc);
    book.add({"daily", {7, 0, kEveryDay}, "", true, true}, kMonday);
    // The clock jumps three days ahead: the missed occurrences ring once, then tomorrow.
    auto due = book.takeDue(3 * kDay + 12 * 3600);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].dueUtc, 7 * 3600.0);
    EXPECT_EQ(book.nextDue(), 4 * kDay + 7 * 3600);
}

TEST(AlarmBook, SnoozeBringsTheAlarmBackNineMinutesLaterAndStopDropsIt) {
    AlarmBook book(kUtc);
    book.add({"a", {7, 0, 0}, "", true, true}, kMonday);
    book.takeDue(7 * 3600);
    book.snooze("a", 7 * 3600 + 20);
    EXPECT_EQ(book.nextDue(), 7 * 3600 + 20 + 540.0);
    EXPECT_TRUE(book.takeDue(7 * 3600 + 559).empty());
    auto due = book.takeDue(7 * 3600 + 560);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_TRUE(due[0].snoozed);

    book.snooze("a", 8 * 3600);
    book.stop("a");
    EXPECT_EQ(book.nextDue(), std::nullopt);
}

TEST(AlarmBook, DueAlarmsComeEarliestFirstAndASnoozeMeetingTheOwnTimeRingsOnce) {
    AlarmBook book(kUtc);
    book.add({"late", {7, 5, kEveryDay}, "", true, true}, kMonday);
    book.add({"early", {7, 0, kEveryDay}, "", true, true}, kMonday);
    auto due = book.takeDue(7 * 3600 + 600);
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(due[0].alarmId, "early");
    EXPECT_EQ(due[1].alarmId, "late");

    book.snooze("early", kDay + 7 * 3600 - 540); // the snooze lands on tomorrow's own time
    due = book.takeDue(kDay + 7 * 3600);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].alarmId, "early");
    EXPECT_FALSE(due[0].snoozed);
}

TEST(AlarmBook, NextRingIsTheOwnScheduleWithoutSnoozes) {
    AlarmBook book(kUtc);
    book.add({"a", {7, 0, kEveryDay}, "", true, true}, kMonday + 8 * 3600);
    book.add({"off", {6, 0, 0}, "", true, false}, kMonday);
    EXPECT_EQ(book.nextRing("a"), kDay + 7 * 3600) << "past today's time: tomorrow";
    EXPECT_EQ(book.nextRing("off"), std::nullopt);
    EXPECT_EQ(book.nextRing("missing"), std::nullopt);
    // Ringing and snoozed: the snooze is due first, the alarm's own next time stays.
    book.takeDue(kDay + 7 * 3600);
    book.snooze("a", kDay + 7 * 3600);
    EXPECT_EQ(book.nextDue(), kDay + 7 * 3600 + 540);
    EXPECT_EQ(book.nextRing("a"), 2 * kDay + 7 * 3600);
    // Switched off by replacing it: off the schedule.
    book.add({"a", {7, 0, kEveryDay}, "", true, false}, kDay + 8 * 3600);
    EXPECT_EQ(book.nextRing("a"), std::nullopt);
}

TEST(AlarmBook, ReplacingAndRemovingAlarms) {
    AlarmBook book(kUtc);
    book.add({"a", {7, 0, 0}, "first", true, true}, kMonday);
    book.add({"a", {9, 0, 0}, "second", false, true}, kMonday);
    ASSERT_EQ(book.alarms().size(), 1u);
    EXPECT_EQ(book.find("a")->label, "second");
    EXPECT_EQ(book.nextDue(), 9 * 3600.0);
    book.add({"off", {6, 0, 0}, "", true, false}, kMonday);
    EXPECT_EQ(book.nextDue(), 9 * 3600.0); // a switched-off alarm is not due
    EXPECT_TRUE(book.remove("a"));
    EXPECT_FALSE(book.remove("a"));
    EXPECT_EQ(book.nextDue(), std::nullopt);
}

} // namespace
} // namespace springboard
