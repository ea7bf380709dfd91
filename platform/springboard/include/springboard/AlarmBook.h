// The Clock app's alarms and when each is next due: plain values, free of any platform object,
// so the ringing rules are tested on their own. SpringBoard's host turns due alarms into local
// notifications.
#pragma once

#include "springboard/AlarmSchedule.h"

#include <optional>
#include <string>
#include <vector>

namespace springboard {

inline constexpr double kSnoozeSeconds = 9 * 60.0;

struct ClockAlarm {
    std::string alarmId; // given by the book when empty
    AlarmTime time;
    std::string label; // empty shows as "Alarm"
    bool allowsSnooze = true;
    bool enabled = true;
};

struct DueAlarm {
    std::string alarmId;
    double dueUtc = 0;
    bool snoozed = false; // comes from a snooze rather than the alarm's own time
};

class AlarmBook {
  public:
    explicit AlarmBook(UtcOffset offset);

    // Adds an alarm (or replaces the one with its id); it is next due at its first occurrence
    // after `nowUtc`. Returns the stored alarm.
    const ClockAlarm& add(ClockAlarm alarm, double nowUtc);
    bool remove(const std::string& alarmId);
    const ClockAlarm* find(const std::string& alarmId) const;
    std::vector<ClockAlarm> alarms() const;

    // When the alarm next rings on its own schedule (a pending snooze aside): none when it is
    // off or unknown.
    std::optional<double> nextRing(const std::string& alarmId) const;

    // The earliest moment any alarm or snooze is due, if any.
    std::optional<double> nextDue() const;

    // Every alarm due at or before `nowUtc`, earliest first. Each is moved on: a repeating alarm
    // to its next occurrence after `nowUtc`, a once-alarm is switched off, a snooze is spent.
    std::vector<DueAlarm> takeDue(double nowUtc);

    // The ringing alarm comes due again nine minutes after `nowUtc`.
    void snooze(const std::string& alarmId, double nowUtc);
    // The alarm stops ringing: a pending snooze is dropped; its own schedule goes on.
    void stop(const std::string& alarmId);

  private:
    struct Entry {
        ClockAlarm alarm;
        std::optional<double> scheduled; // its own next time, while enabled
        std::optional<double> snoozedUntil;
    };
    Entry* entry(const std::string& alarmId);

    UtcOffset offset_;
    std::vector<Entry> entries_;
    unsigned nextNumber_ = 1;
};

} // namespace springboard
