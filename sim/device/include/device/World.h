// The device's world and its clock: time passing and set, the lock, Clock alarms, other apps'
// notifications, device files written from outside, and the settings file's keys as a tool
// would edit them.
#pragma once

#include "device/Names.h"
#include "words/Words.h"

#include "foundation/NSDate.h"
#include "foundation/PlistValue.h"

#include <optional>
#include <string>
#include <vector>

class SpringBoardHost;

namespace sim {

class Apps;

// A Clock alarm as a person sets it.
struct AlarmRequest {
    int secondsOfDay = 0; // local time of day, seconds kept
    std::string label;
    bool snooze = true;
    bool daily = false;
    bool enabled = true; // off: kept in the list, never due (a once-alarm that has rung)
};

// A Clock alarm as the device holds it.
struct AlarmInfo {
    std::string alarmId;
    int secondsOfDay = 0;
    std::string label;
    bool snooze = true;
    bool daily = false;
    bool enabled = true;
};

class World {
  public:
    // What was set before boot (alarms, the lock) reaches SpringBoard as it boots.
    explicit World(Apps& apps);
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // --- The clock (virtual) ----------------------------------------------------------------
    NSDate now() const;
    std::string timeZone() const;
    // Lets time pass: everything falling due runs, in order.
    std::string advance(double seconds);
    // Lets time pass until the local clock next reads the time of day (today, else tomorrow).
    std::string advanceTo(int secondsOfDay);
    // Lets time pass until the next Clock alarm (or snooze) rings; an error when none is set.
    std::string advanceToNextAlarm();
    // Moves the clock at once, forward or backward; records "clock set".
    std::string setClock(NSDate date);
    // Moves the clock to a local time: on `day`, or today when none; records "clock set".
    std::string setLocalTime(std::optional<CalendarDay> day, int secondsOfDay);
    // When the next Clock alarm (or snooze) rings, if any.
    std::optional<NSDate> nextAlarmDate() const;
    // The range of moments the device's dates can hold (years 1 to 9999).
    static bool isHoldableDate(double secondsSince2001);

    // --- The lock, alarms and notifications ---------------------------------------------------
    std::string lock(bool locked);
    bool isLocked() const;
    // Sets a Clock alarm (kept for a boot still to come); `alarmId` gets its id once booted.
    std::string addAlarm(const AlarmRequest& request, std::string* alarmId = nullptr);
    std::string removeAlarm(const std::string& alarmId);
    std::vector<AlarmInfo> alarms() const;
    // Another application's local notification fires now.
    std::string notify(const std::string& bundleIdentifier);
    // Whether SpringBoard's status bar shows the item.
    bool isStatusItemVisible(const std::string& identifier) const;

    // --- Device files -------------------------------------------------------------------------
    // By device path: raw bytes, or removal. Written at once, not atomically, as a careless tool
    // would (from outside the device: no event).
    std::string writeFile(const std::string& devicePath, const std::string& bytes);
    std::string deleteFile(const std::string& devicePath);
    // The same on the settings file; `corruptSettingsFile` leaves it cut off inside its first
    // key, as a write stopped halfway would.
    std::string writeSettingsFile(const std::string& bytes);
    std::string deleteSettingsFile();
    std::string corruptSettingsFile();
    // The settings file's keys, as a tool with the file's format would edit them.
    std::string setSetting(const std::string& key, const PlistValue& value);
    // A date key set to the moment `seconds` from now; an error outside the years 1 to 9999.
    std::string setSettingFromNow(const std::string& key, double seconds);
    std::string removeSetting(const std::string& key);
    // The key's value as text ("true", "30", "#1E90FF", a local "YYYY-MM-DD HH:MM:SS"), or
    // "absent".
    std::string settingText(const std::string& key) const;

    // --- Across a respring --------------------------------------------------------------------
    // The lock and the alarms, as a relaunched process's world starts from them.
    PlistDict saved() const;
    void restore(const PlistDict& saved);

  private:
    void carryInto(SpringBoardHost& springboard);

    Apps& apps_;
    std::vector<AlarmRequest> pendingAlarms_; // set before boot
    bool locked_ = false;
};

} // namespace sim
