// Texts about alarms: times through the locale's short time format, repeats, ring days.
#include "clock/AlarmText.h"

#include "foundation/NSDateFormatter.h"

#include <cctype>
#include <cmath>

namespace clockapp {

namespace {
constexpr const char* kShortDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kLongDays[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                      "Thursday", "Friday", "Saturday"};
constexpr unsigned kWeekdays = springboard::Monday | springboard::Tuesday | springboard::Wednesday |
                               springboard::Thursday | springboard::Friday;
constexpr unsigned kWeekend = springboard::Saturday | springboard::Sunday;
constexpr double kDay = 86400;

bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::string trimmed(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return s.substr(a, b - a);
}

// The locale's text for a time of day: the moment that many seconds past midnight of the
// reference day, read in UTC.
std::string formatted(int hour, int minute, int second, const std::string& locale) {
    const NSDate at{hour * 3600.0 + minute * 60.0 + second};
    return localizedStringFromDate(at, NSDateFormatterNoStyle,
                                   second ? NSDateFormatterMediumStyle : NSDateFormatterShortStyle, locale,
                                   "UTC");
}
} // namespace

TimeText timeText(int hour, int minute, int second, const std::string& locale) {
    const std::string text = formatted(hour, minute, second, locale);
    size_t first = 0;
    while (first < text.size() && !isDigit(text[first]))
        ++first;
    size_t last = text.size();
    while (last > first && !isDigit(text[last - 1]))
        --last;
    if (first >= last)
        return {text, "", false};
    TimeText out;
    out.digits = text.substr(first, last - first);
    const std::string before = trimmed(text.substr(0, first));
    const std::string after = trimmed(text.substr(last));
    out.periodFirst = !before.empty();
    out.period = before.empty() ? after : before;
    return out;
}

bool usesTwelveHourClock(const std::string& locale) {
    return !timeText(13, 0, 0, locale).period.empty();
}

std::string repeatText(unsigned weekdays) {
    weekdays &= springboard::kEveryDay;
    if (weekdays == 0)
        return "Never";
    if (weekdays == springboard::kEveryDay)
        return "Every Day";
    if (weekdays == kWeekdays)
        return "Weekdays";
    if (weekdays == kWeekend)
        return "Weekends";
    std::string out;
    // The week as the list shows it, Sunday first.
    for (int d = 0; d < 7; ++d) {
        if (!(weekdays & (1u << d)))
            continue;
        if (!out.empty())
            out += ' ';
        out += kShortDays[d];
    }
    return out;
}

std::string alarmDetail(const springboard::ClockAlarm& alarm, const std::string& ringDay) {
    std::string out = alarm.label.empty() ? "Alarm" : alarm.label;
    const unsigned days = alarm.time.weekdays & springboard::kEveryDay;
    std::string repeat;
    if (days == springboard::kEveryDay || days == kWeekdays || days == kWeekend) {
        repeat = repeatText(days);
        for (char& c : repeat)
            c = char(std::tolower(static_cast<unsigned char>(c)));
    } else if (days != 0) {
        repeat = repeatText(days);
    } else {
        repeat = ringDay;
    }
    if (!repeat.empty())
        out += ", " + repeat;
    return out;
}

std::string ringDayText(double ringUtc, double nowUtc, const springboard::UtcOffset& offset) {
    const double ringDay = std::floor((ringUtc + offset(ringUtc)) / kDay);
    const double today = std::floor((nowUtc + offset(nowUtc)) / kDay);
    if (ringDay <= today)
        return "";
    if (ringDay == today + 1)
        return "tomorrow";
    return kLongDays[springboard::weekdayOf(ringUtc + offset(ringUtc))];
}

} // namespace clockapp
