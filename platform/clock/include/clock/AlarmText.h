// What the Clock app writes about an alarm: its time of day in the device's locale (the digits
// apart from the AM/PM mark, which the list sets smaller), its repeat ("Never", "Every Day",
// "Weekdays", "Mon Wed"), the line under the time ("Wake, every day", "Alarm, tomorrow"), and
// the day a once-alarm rings when that is not today. Pure: locale, time zone offset and times
// come in as values.
#pragma once

#include "springboard/AlarmBook.h"

#include <optional>
#include <string>

namespace clockapp {

// A time of day as the locale writes it: "7:30" and "AM" in en_US, "07:30" and "" in de_DE;
// `periodFirst` when the mark stands before the digits.
struct TimeText {
    std::string digits;
    std::string period;
    bool periodFirst = false;
};
// Seconds show only when the alarm has them ("8:30:05").
TimeText timeText(int hour, int minute, int second, const std::string& locale);
// Whether the locale writes times with an AM/PM mark (its time picker then has a third wheel).
bool usesTwelveHourClock(const std::string& locale);

// The repeat row's value on the edit screen.
std::string repeatText(unsigned weekdays);

// The line under an alarm's time in the list: its label ("Alarm" when it has none), then its
// repeat ("every day", "weekdays", "Mon Wed"), or, for an alarm that rings once, the day it
// rings when that is not today ("tomorrow").
std::string alarmDetail(const springboard::ClockAlarm& alarm, const std::string& ringDay);

// The day an alarm next rings, said from `nowUtc`: "" today, "tomorrow", else the weekday's
// name. `offset` gives local time from UTC.
std::string ringDayText(double ringUtc, double nowUtc, const springboard::UtcOffset& offset);

} // namespace clockapp
