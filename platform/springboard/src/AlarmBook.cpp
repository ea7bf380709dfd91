#include "springboard/AlarmBook.h"

#include <algorithm>

namespace springboard {

AlarmBook::AlarmBook(UtcOffset offset) : offset_(std::move(offset)) {}

AlarmBook::Entry* AlarmBook::entry(const std::string& alarmId) {
    for (auto& e : entries_)
        if (e.alarm.alarmId == alarmId)
            return &e;
    return nullptr;
}

const ClockAlarm& AlarmBook::add(ClockAlarm alarm, double nowUtc) {
    if (alarm.alarmId.empty())
        alarm.alarmId = "alarm-" + std::to_string(nextNumber_++);
    Entry fresh{alarm, std::nullopt, std::nullopt};
    if (alarm.enabled)
        fresh.scheduled = nextOccurrence(alarm.time, nowUtc, offset_);
    if (Entry* existing = entry(alarm.alarmId)) {
        *existing = std::move(fresh);
        return existing->alarm;
    }
    entries_.push_back(std::move(fresh));
    return entries_.back().alarm;
}

bool AlarmBook::remove(const std::string& alarmId) {
    auto it = std::find_if(entries_.begin(), entries_.end(),
                           [&](const Entry& e) { return e.alarm.alarmId == alarmId; });
    if (it == entries_.end())
        return false;
    entries_.erase(it);
    return true;
}

const ClockAlarm* AlarmBook::find(const std::string& alarmId) const {
    for (const auto& e : entries_)
        if (e.alarm.alarmId == alarmId)
            return &e.alarm;
    return nullptr;
}

std::vector<ClockAlarm> AlarmBook::alarms() const {
    std::vector<ClockAlarm> out;
    for (const auto& e : entries_)
        out.push_back(e.alarm);
    return out;
}

std::optional<double> AlarmBook::nextRing(const std::string& alarmId) const {
    for (const auto& e : entries_)
        if (e.alarm.alarmId == alarmId)
            return e.scheduled;
    return std::nullopt;
}

std::optional<double> AlarmBook::nextDue() const {
    std::optional<double> best;
    for (const auto& e : entries_) {
        for (const auto& t : {e.scheduled, e.snoozedUntil})
            if (t && (!best || *t < *best))
                best = t;
    }
    return best;
}

std::vector<DueAlarm> AlarmBook::takeDue(double nowUtc) {
    std::vector<DueAlarm> due;
    for (auto& e : entries_) {
        const bool snoozeDue = e.snoozedUntil && *e.snoozedUntil <= nowUtc;
        const bool ownDue = e.scheduled && *e.scheduled <= nowUtc;
        if (!snoozeDue && !ownDue)
            continue;
        // Both at once ring once, at the earlier of the two.
        const bool fromSnooze = snoozeDue && (!ownDue || *e.snoozedUntil < *e.scheduled);
        due.push_back({e.alarm.alarmId, fromSnooze ? *e.snoozedUntil : *e.scheduled, fromSnooze});
        if (snoozeDue)
            e.snoozedUntil.reset();
        if (ownDue) {
            if (e.alarm.time.weekdays != 0) {
                e.scheduled = nextOccurrence(e.alarm.time, nowUtc, offset_);
            } else {
                e.scheduled.reset();
                e.alarm.enabled = false;
            }
        }
    }
    std::stable_sort(due.begin(), due.end(),
                     [](const DueAlarm& a, const DueAlarm& b) { return a.dueUtc < b.dueUtc; });
    return due;
}

void AlarmBook::snooze(const std::string& alarmId, double nowUtc) {
    if (Entry* e = entry(alarmId))
        e->snoozedUntil = nowUtc + kSnoozeSeconds;
}

void AlarmBook::stop(const std::string& alarmId) {
    if (Entry* e = entry(alarmId))
        e->snoozedUntil.reset();
}

} // namespace springboard
