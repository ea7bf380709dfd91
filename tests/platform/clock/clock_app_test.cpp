// The Clock app driven by touches at the points of its controls, checked against SpringBoard's
// alarm model: adding, editing, switching, deleting, and what the list says.
#include "ClockTestDevice.h"

#include "clock/ClockListRow.h"
#include "clock/TimeWheel.h"
#include "foundation/RunLoop.h"

#include <gtest/gtest.h>

namespace {

using clockapp::ClockApp;
using clockapp::kWheelRowHeight;
using clocktest::ClockDevice;
using springboard::ClockAlarm;

TEST(ClockApp, AddsAnAlarmSetByDraggingTheWheels) {
    ClockDevice d;
    ASSERT_TRUE(d.tap("+"));
    EXPECT_EQ(d.app.page(), ClockApp::Page::Add);
    // The picker starts at the time it is now: 8:00 AM.
    EXPECT_EQ(d.app.timePicker()->hour(), 8);
    EXPECT_EQ(d.app.timePicker()->minute(), 0);
    // Up by two rows of hours and fifteen of minutes, then PM.
    ASSERT_TRUE(d.drag("hour", -2 * kWheelRowHeight));
    ASSERT_TRUE(d.drag("minute", -15 * kWheelRowHeight, 10));
    ASSERT_TRUE(d.drag("period", -kWheelRowHeight));
    ASSERT_TRUE(d.tap("Save"));

    EXPECT_EQ(d.app.page(), ClockApp::Page::List);
    const auto alarms = d.model();
    ASSERT_EQ(alarms.size(), 1u);
    EXPECT_EQ(alarms[0].time.hour, 22);
    EXPECT_EQ(alarms[0].time.minute, 15);
    EXPECT_EQ(alarms[0].time.weekdays, 0u);
    EXPECT_TRUE(alarms[0].enabled);
    EXPECT_TRUE(alarms[0].allowsSnooze);
    ASSERT_EQ(d.app.rows().size(), 1u);
    EXPECT_EQ(d.app.rows()[0].time, "10:15 PM");
    EXPECT_EQ(d.app.rows()[0].detail, "Alarm");
}

TEST(ClockApp, TappingAValueAboveOrBelowTheBandTurnsItThere) {
    ClockDevice d;
    ASSERT_TRUE(d.tap("+"));
    auto minute = d.app.pointOf("minute");
    ASSERT_TRUE(minute);
    // Two rows below the band: 02; then one row above it: back to 01.
    ASSERT_TRUE(d.window().tap({minute->x, minute->y + 2 * kWheelRowHeight}));
    EXPECT_EQ(d.app.timePicker()->minute(), 2);
    ASSERT_TRUE(d.window().tap({minute->x, minute->y - kWheelRowHeight}));
    EXPECT_EQ(d.app.timePicker()->minute(), 1);
    ASSERT_TRUE(d.tap("Save"));
    ASSERT_EQ(d.model().size(), 1u);
    EXPECT_EQ(d.model()[0].time.minute, 1);
}

TEST(ClockApp, ThePickerShowsEveryHourOnItsWheels) {
    ClockDevice d;
    ASSERT_TRUE(d.tap("+"));
    auto picker = d.app.timePicker();
    const char* hours12[] = {"12", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"};
    for (int h = 0; h < 24; ++h) {
        picker->setTime(h, 7);
        EXPECT_EQ(picker->hour(), h);
        EXPECT_EQ(picker->minute(), 7);
        EXPECT_EQ(picker->hourWheel()->selectedTitle(), hours12[h % 12]) << h;
        EXPECT_EQ(picker->periodWheel()->selectedTitle(), h < 12 ? "AM" : "PM") << h;
    }
    // From 11 AM one row up on the hour wheel is 12, which with AM is midnight.
    picker->setTime(11, 0);
    ASSERT_TRUE(d.drag("hour", -kWheelRowHeight));
    EXPECT_EQ(picker->hour(), 0);
}

TEST(ClockApp, CancelLeavesTheModelAlone) {
    ClockDevice d;
    ASSERT_TRUE(d.tap("+"));
    ASSERT_TRUE(d.drag("hour", -kWheelRowHeight));
    ASSERT_TRUE(d.tap("Cancel"));
    EXPECT_EQ(d.app.page(), ClockApp::Page::List);
    EXPECT_TRUE(d.model().empty());
    EXPECT_TRUE(d.app.rows().empty());
}

TEST(ClockApp, RepeatLabelAndSnoozeReachTheModel) {
    ClockDevice d;
    ASSERT_TRUE(d.tap("+"));
    ASSERT_TRUE(d.tap("Repeat"));
    EXPECT_EQ(d.app.page(), ClockApp::Page::Repeat);
    ASSERT_TRUE(d.tap("Every Day"));
    ASSERT_TRUE(d.tap("Never"));
    ASSERT_TRUE(d.tap("Every Day"));
    ASSERT_TRUE(d.tap("Back"));
    EXPECT_EQ(d.app.repeatValue(), "Every Day");

    ASSERT_TRUE(d.tap("Label"));
    ASSERT_TRUE(d.app.labelField());
    msg(d.app.labelField(), "setText:", std::string("Gym"));
    ASSERT_TRUE(d.tap("Back"));
    EXPECT_EQ(d.app.labelValue(), "Gym");

    ASSERT_TRUE(d.tap("Snooze"));
    EXPECT_FALSE(d.app.snoozeValue());
    ASSERT_TRUE(d.tap("Save"));

    const auto alarms = d.model();
    ASSERT_EQ(alarms.size(), 1u);
    EXPECT_EQ(alarms[0].label, "Gym");
    EXPECT_EQ(alarms[0].time.weekdays, springboard::kEveryDay);
    EXPECT_FALSE(alarms[0].allowsSnooze);
    EXPECT_EQ(d.app.rows()[0].detail, "Gym, every day");
}

TEST(ClockApp, OtherWeekdaysStayUntilARepeatIsChosen) {
    ClockDevice d;
    d.add(7, 0, "Gym", springboard::Monday | springboard::Thursday);
    ASSERT_TRUE(d.tap("Edit"));
    ASSERT_TRUE(d.tap("row", 0));
    EXPECT_EQ(d.app.repeatValue(), "Mon Thu");
    ASSERT_TRUE(d.tap("Save"));
    EXPECT_EQ(d.model()[0].time.weekdays, unsigned(springboard::Monday | springboard::Thursday));
    ASSERT_TRUE(d.tap("Edit"));
    ASSERT_TRUE(d.tap("row", 0));
    ASSERT_TRUE(d.tap("Repeat"));
    ASSERT_TRUE(d.tap("Never"));
    ASSERT_TRUE(d.tap("Back"));
    ASSERT_TRUE(d.tap("Save"));
    EXPECT_EQ(d.model()[0].time.weekdays, 0u);
}

TEST(ClockApp, ThePickerKeepsItsTimeAcrossTheDeeperPages) {
    ClockDevice d;
    ASSERT_TRUE(d.tap("+"));
    ASSERT_TRUE(d.drag("hour", -3 * kWheelRowHeight)); // 11 AM
    ASSERT_TRUE(d.tap("Label"));
    ASSERT_TRUE(d.tap("Back"));
    EXPECT_EQ(d.app.timePicker()->hour(), 11);
    ASSERT_TRUE(d.tap("Save"));
    EXPECT_EQ(d.model()[0].time.hour, 11);
}

TEST(ClockApp, TheSwitchTurnsTheAlarmOffAndOnInTheModel) {
    ClockDevice d;
    const std::string id = d.add(9, 30, "Wake");
    ASSERT_TRUE(d.host.alarmBook().nextRing(id));
    ASSERT_TRUE(d.tap("switch", 0));
    EXPECT_FALSE(d.host.alarmBook().find(id)->enabled);
    EXPECT_FALSE(d.host.alarmBook().nextRing(id)) << "an alarm switched off is off SpringBoard's schedule";
    EXPECT_FALSE(d.app.rows()[0].on);
    ASSERT_TRUE(d.tap("switch", 0));
    EXPECT_TRUE(d.host.alarmBook().find(id)->enabled);
    EXPECT_TRUE(d.host.alarmBook().nextRing(id));
}

TEST(ClockApp, AnAlarmSwitchedOffInTheAppDoesNotRing) {
    ClockDevice d;
    d.add(8, 30, "Wake");
    ASSERT_TRUE(d.tap("switch", 0));
    RunLoop::main().runFor(3600);
    EXPECT_FALSE(d.host.ringing());
}

TEST(ClockApp, AnAlarmAddedInTheAppRingsThroughSpringBoard) {
    ClockDevice d;
    ASSERT_TRUE(d.tap("+"));
    ASSERT_TRUE(d.drag("minute", -5 * kWheelRowHeight)); // 8:05
    ASSERT_TRUE(d.tap("Save"));
    RunLoop::main().runFor(6 * 60);
    ASSERT_TRUE(d.host.ringing());
    EXPECT_EQ(d.host.ringing()->title, "Alarm");
}

TEST(ClockApp, EditingKeepsTheAlarmsIdAndItsUntouchedSeconds) {
    ClockDevice d;
    const std::string id = d.host.addAlarm({"", {7, 45, 0, 30}, "Early", true, false});
    d.app.reload();
    EXPECT_EQ(d.app.rows()[0].time, "7:45:30 AM");
    ASSERT_TRUE(d.tap("Edit"));
    ASSERT_TRUE(d.tap("row", 0));
    EXPECT_EQ(d.app.page(), ClockApp::Page::Edit);
    EXPECT_EQ(d.app.timePicker()->hour(), 7);
    EXPECT_EQ(d.app.timePicker()->minute(), 45);
    ASSERT_TRUE(d.tap("Save"));
    ASSERT_EQ(d.model().size(), 1u);
    EXPECT_EQ(d.model()[0].alarmId, id);
    EXPECT_EQ(d.model()[0].time.second, 30) << "the picker was not moved";
    EXPECT_TRUE(d.model()[0].enabled) << "a saved alarm is on";
    EXPECT_FALSE(d.app.isEditingList());

    ASSERT_TRUE(d.tap("Edit"));
    ASSERT_TRUE(d.tap("row", 0));
    ASSERT_TRUE(d.drag("minute", kWheelRowHeight)); // 7:44
    ASSERT_TRUE(d.tap("Save"));
    EXPECT_EQ(d.model()[0].alarmId, id);
    EXPECT_EQ(d.model()[0].time.minute, 44);
    EXPECT_EQ(d.model()[0].time.second, 0) << "a moved picker sets whole minutes";
}

// Deleting, each way a person can.
struct DeleteCase {
    const char* name;
    std::vector<std::pair<std::string, int>> taps;
    size_t left;
};

class ClockDelete : public testing::TestWithParam<DeleteCase> {};

TEST_P(ClockDelete, RemovesTheAlarmFromTheModel) {
    ClockDevice d;
    d.add(6, 0, "First");
    d.add(7, 0, "Second");
    for (const auto& [control, index] : GetParam().taps)
        ASSERT_TRUE(d.tap(control, index)) << control << " " << index;
    const auto alarms = d.model();
    ASSERT_EQ(alarms.size(), GetParam().left);
    if (GetParam().left == 1) {
        EXPECT_EQ(alarms[0].label, "First");
    }
    EXPECT_EQ(d.app.rows().size(), GetParam().left);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClockDelete,
    testing::Values(DeleteCase{"EditModeMarkThenDelete", {{"Edit", 0}, {"delete mark", 1}, {"Delete", 1}}, 1},
                    DeleteCase{"EditScreen", {{"Edit", 0}, {"row", 1}, {"Delete Alarm", 0}}, 1},
                    // A second tap on the mark hides the Delete button again: nothing is removed.
                    DeleteCase{"MarkTwiceKeeps", {{"Edit", 0}, {"delete mark", 1}, {"delete mark", 1}}, 2},
                    // A tap on the row beside a shown Delete button hides it.
                    DeleteCase{"RowTapHidesDelete", {{"Edit", 0}, {"delete mark", 0}, {"row", 1}}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ClockApp, EditModeTogglesAndHidesTheSwitches) {
    ClockDevice d;
    d.add(6, 0);
    EXPECT_TRUE(d.app.pointOf("switch", 0));
    EXPECT_FALSE(d.app.pointOf("delete mark", 0));
    ASSERT_TRUE(d.tap("Edit"));
    EXPECT_TRUE(d.app.isEditingList());
    EXPECT_FALSE(d.app.pointOf("switch", 0));
    EXPECT_TRUE(d.app.pointOf("delete mark", 0));
    ASSERT_TRUE(d.tap("Done"));
    EXPECT_FALSE(d.app.isEditingList());
    // Outside Edit mode a row tap opens nothing.
    ASSERT_TRUE(d.tap("row", 0));
    EXPECT_EQ(d.app.page(), ClockApp::Page::List);
}

TEST(ClockApp, TheListRunsThroughTheDayAndSaysWhenAPastTimeRings) {
    ClockDevice d; // 8:00 on a Monday
    d.add(9, 0, "Later");
    d.add(7, 0, "Earlier");
    d.add(6, 30, "Daily", springboard::kEveryDay);
    d.add(5, 0, "Off", 0, false);
    const auto rows = d.app.rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].detail, "Off") << "an alarm that is off rings on no day";
    EXPECT_EQ(rows[1].detail, "Daily, every day");
    EXPECT_EQ(rows[2].detail, "Earlier, tomorrow");
    EXPECT_EQ(rows[3].detail, "Later");
    // After midnight the same alarm rings today.
    RunLoop::main().runFor(17 * 3600);
    d.app.reload();
    EXPECT_EQ(d.app.rows()[2].detail, "Earlier");
}

TEST(ClockApp, AnAlarmAddedElsewhereShowsAtReload) {
    ClockDevice d;
    d.host.addAlarm({"", {10, 0, 0, 0}, "Side", true, true});
    EXPECT_TRUE(d.app.rows().empty());
    d.app.reload();
    ASSERT_EQ(d.app.rows().size(), 1u);
    EXPECT_EQ(d.app.rows()[0].detail, "Side");
}

TEST(ClockApp, ATwentyFourHourLocaleHasTwoWheels) {
    ClockDevice d("de_DE");
    ASSERT_TRUE(d.tap("+"));
    EXPECT_FALSE(d.app.timePicker()->periodWheel());
    ASSERT_TRUE(d.drag("hour", -14 * kWheelRowHeight, 8)); // 8 + 14 = 22
    ASSERT_TRUE(d.tap("Save"));
    EXPECT_EQ(d.model()[0].time.hour, 22);
    EXPECT_EQ(d.app.rows()[0].time, "22:00");
}

TEST(ClockApp, ALongListScrollsByDraggingItsRows) {
    ClockDevice d;
    for (int h = 1; h <= 8; ++h)
        d.add(h, 0, "A" + std::to_string(h));
    // Five rows and a bit fit below the bar: the eighth is out of reach.
    EXPECT_FALSE(d.app.pointOf("switch", 7));
    ASSERT_TRUE(d.drag("row", -400, 8));
    EXPECT_EQ(d.app.listOffset(), 8 * 88 - (568 - 64)) << "no further than the list's end";
    EXPECT_EQ(d.app.page(), ClockApp::Page::List);
    for (const auto& alarm : d.model())
        EXPECT_TRUE(alarm.enabled) << "a drag that scrolls switches nothing";
    ASSERT_TRUE(d.tap("switch", 7));
    EXPECT_FALSE(d.model()[7].enabled);
    EXPECT_EQ(d.model()[7].label, "A8");
    // Back up, past the top.
    EXPECT_FALSE(d.app.pointOf("row", 0)) << "scrolled out of sight";
    ASSERT_TRUE(d.tap("row", 7)) << "a tap on a row outside Edit mode changes nothing";
    auto last = d.app.pointOf("row", 7);
    ASSERT_TRUE(last);
    ASSERT_TRUE(d.window().touchDown(*last));
    for (int i = 1; i <= 8; ++i)
        d.window().touchMove({last->x, last->y + 125.0 * i});
    d.window().touchUp({last->x, last->y + 1000});
    EXPECT_EQ(d.app.listOffset(), 0);
    EXPECT_TRUE(d.app.pointOf("switch", 0));
}

// A finger on a row in Edit mode: a tap opens the alarm, a drag past the slop only scrolls.
struct RowDragCase {
    const char* name;
    double dy;
    ClockApp::Page page;
    bool scrolled;
};

class ClockRowDrag : public testing::TestWithParam<RowDragCase> {};

TEST_P(ClockRowDrag, TapsOrScrolls) {
    ClockDevice d;
    for (int h = 1; h <= 8; ++h)
        d.add(h, 0);
    ASSERT_TRUE(d.tap("Edit"));
    ASSERT_TRUE(d.drag("row", GetParam().dy));
    EXPECT_EQ(d.app.page(), GetParam().page);
    EXPECT_EQ(d.app.listOffset() > 0, GetParam().scrolled);
    // Afterwards the row is neither tracking nor highlighted, and it takes a tap again.
    if (d.app.page() == ClockApp::Page::List) {
        const CGPoint p = *d.app.pointOf("row", 0);
        id row = msg<id>(d.app.window(), "hitTest:withEvent:", p, nullptr);
        EXPECT_FALSE(msg<bool>(row, "isTracking"));
        EXPECT_FALSE(msg<bool>(row, "isHighlighted"));
        ASSERT_TRUE(d.tap("row", 0));
        EXPECT_EQ(d.app.page(), ClockApp::Page::Edit);
    }
}

INSTANTIATE_TEST_SUITE_P(Moves, ClockRowDrag,
                         testing::Values(RowDragCase{"Still", 0, ClockApp::Page::Edit, false},
                                         RowDragCase{"WithinSlop", clockapp::kScrollSlop - 2,
                                                     ClockApp::Page::Edit, false},
                                         RowDragCase{"PastSlopUp", -40, ClockApp::Page::List, true},
                                         // Down from the top: the list stays, and the row is not tapped.
                                         RowDragCase{"PastSlopDown", 40, ClockApp::Page::List, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ClockApp, ReloadKeepsWhatTheShownPageHolds) {
    ClockDevice d;
    ASSERT_TRUE(d.tap("+"));
    ASSERT_TRUE(d.drag("hour", -kWheelRowHeight)); // 9 AM
    d.host.addAlarm({"", {10, 0, 0, 0}, "Side", true, true});
    d.app.reload();
    EXPECT_EQ(d.app.timePicker()->hour(), 9) << "the picker's time survives a reload";
    ASSERT_TRUE(d.tap("Label"));
    msg(d.app.labelField(), "setText:", std::string("Typed"));
    d.app.reload();
    EXPECT_EQ(msg<std::string>(d.app.labelField(), "text"), "Typed");
    ASSERT_TRUE(d.tap("Back"));
    ASSERT_TRUE(d.tap("Save"));
    ASSERT_EQ(d.model().size(), 2u);
    EXPECT_EQ(d.app.rows()[0].detail, "Typed");
}

TEST(ClockApp, ResetReturnsToTheListDroppingTheDraft) {
    ClockDevice d;
    ASSERT_TRUE(d.tap("+"));
    ASSERT_TRUE(d.tap("Label"));
    d.app.reset();
    EXPECT_EQ(d.app.page(), ClockApp::Page::List);
    EXPECT_FALSE(d.app.labelField());
    EXPECT_TRUE(d.model().empty());
}

} // namespace
