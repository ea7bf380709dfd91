// The device's clock and its world: time passing and set, the lock, Clock alarms, other apps'
// notifications, and device files written from outside.
#include "device/World.h"

#include "device/Apps.h"
#include "device/LocalTime.h"
#include "rules/SharedNames.h"

#include "foundation/DeviceClock.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceEvents.h"
#include "foundation/DeviceFiles.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "springboard/AlarmBook.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/StatusBar.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace sim {

namespace {
// Seconds from 2001-01-01 to 0001-01-01 and to 9999-12-31 23:59:59 (proleptic Gregorian).
constexpr double kEarliestDate = -63113904000.0;
constexpr double kLatestDate = 252423993599.0;

// The folder holding a device path's last entry, opened through the device root, and the entry's
// name; with `make`, missing folders on the way are made first, as a package install makes them.
// Invalid when the path is outside the root, names no entry, or the folder is missing.
UniqueFd deviceFolderOf(const std::string& devicePath, bool make, std::string& name) {
    const size_t slash = devicePath.find_last_of('/');
    if (slash == std::string::npos)
        return {};
    const std::string parent = slash == 0 ? "/" : devicePath.substr(0, slash);
    name = devicePath.substr(slash + 1);
    if (name.empty() || name == "." || name == "..")
        return {};
    for (size_t at = 1; make && at <= parent.size();) {
        size_t next = std::min(parent.find('/', at), parent.size());
        const std::string prefix = parent.substr(0, next);
        if (deviceFileKind(prefix) == DeviceFileKind::Missing)
            if (auto entry = openDeviceFolderOf(prefix))
                ::mkdirat(entry->folder.get(), entry->name.c_str(), 0755);
        at = next + 1;
    }
    return openDeviceFile(parent, O_PATH | O_DIRECTORY);
}

// A Clock alarm as SpringBoard's alarm model holds it.
springboard::ClockAlarm clockAlarmOf(const AlarmRequest& request) {
    springboard::ClockAlarm alarm;
    alarm.time = {request.secondsOfDay / 3600, (request.secondsOfDay / 60) % 60,
                  request.daily ? springboard::kEveryDay : 0u, request.secondsOfDay % 60};
    alarm.label = request.label;
    alarm.allowsSnooze = request.snooze;
    alarm.enabled = request.enabled;
    return alarm;
}

} // namespace

World::World(Apps& apps) : apps_(apps) {
    apps_.whenBooting([this](SpringBoardHost& springboard) { carryInto(springboard); });
}

// What was set before boot: the alarms (kept in the order set) and the lock.
void World::carryInto(SpringBoardHost& springboard) {
    for (const AlarmRequest& request : pendingAlarms_)
        springboard.addAlarm(clockAlarmOf(request));
    pendingAlarms_.clear();
    if (locked_)
        springboard.lock();
}

// ---------------------------------------------------------------------------------------------
// The clock

NSDate World::now() const {
    return DeviceClock::now();
}

// The platform's reading: the same rule, over its kept copy of the global preferences.
std::string World::timeZone() const {
    return DeviceEnvironment::timeZone();
}

bool World::isHoldableDate(double t) {
    return t >= kEarliestDate && t <= kLatestDate;
}

std::string World::advance(double seconds) {
    if (!(seconds >= 0))
        return "time runs forward only: use setClock to go back";
    const double target = now().timeIntervalSinceReferenceDate + seconds;
    if (!isHoldableDate(target))
        return "the clock cannot go past the year 9999";
    RunLoop::main().runFor(seconds);
    return apps_.settled(Screen::SpringBoard, "");
}

std::string World::setClock(NSDate date) {
    if (!isHoldableDate(date.timeIntervalSinceReferenceDate))
        return "the clock holds dates from the year 1 to 9999 only";
    DeviceClock::setVirtualNow(date);
    DeviceEvents::record("clock set", "");
    return apps_.settled(Screen::SpringBoard, "");
}

std::string World::advanceTo(int secondsOfDay) {
    const auto at = nextLocalTime(now(), secondsOfDay, timeZone());
    if (!at)
        return "the clock cannot go past the year 9999";
    return advance(at->timeIntervalSinceReferenceDate - now().timeIntervalSinceReferenceDate);
}

std::string World::advanceToNextAlarm() {
    auto next = nextAlarmDate();
    if (!next)
        return "no alarm is set";
    return advance(
        std::max(0.0, next->timeIntervalSinceReferenceDate - now().timeIntervalSinceReferenceDate));
}

std::string World::setLocalTime(std::optional<CalendarDay> day, int secondsOfDay) {
    if (secondsOfDay < 0 || secondsOfDay >= 86400)
        return "a time of day lies within a day";
    if (!day) // today: the moment that many seconds past local midnight
        return setClock(NSDate{now().timeIntervalSinceReferenceDate - localSecondsOfDay(now(), timeZone()) +
                               secondsOfDay});
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", day->year, day->month, day->day,
                  secondsOfDay / 3600, secondsOfDay / 60 % 60, secondsOfDay % 60);
    auto date = dateFromLocal(text, timeZone());
    if (!date)
        return std::string("no moment reads ") + text + " in " + timeZone();
    return setClock(*date);
}

std::optional<NSDate> World::nextAlarmDate() const {
    if (!apps_.springBoard())
        return std::nullopt;
    auto due = apps_.springBoard()->alarmBook().nextDue();
    return due ? std::optional<NSDate>(NSDate{*due}) : std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// The world

std::string World::lock(bool locked) {
    locked_ = locked;
    if (!apps_.springBoard())
        return "";
    if (locked)
        apps_.springBoard()->lock();
    else
        apps_.springBoard()->unlock();
    return apps_.settled(Screen::SpringBoard, "");
}

bool World::isLocked() const {
    return apps_.springBoard() ? apps_.springBoard()->isLocked() : locked_;
}

std::string World::addAlarm(const AlarmRequest& request, std::string* alarmId) {
    if (request.secondsOfDay < 0 || request.secondsOfDay >= 86400)
        return "an alarm's time lies within a day";
    if (!apps_.springBoard()) {
        pendingAlarms_.push_back(request);
        return "";
    }
    std::string added = apps_.springBoard()->addAlarm(clockAlarmOf(request));
    if (alarmId)
        *alarmId = added;
    return apps_.settled(Screen::SpringBoard, "");
}

std::string World::removeAlarm(const std::string& alarmId) {
    if (!apps_.springBoard())
        return "the device is not booted";
    if (!apps_.springBoard()->removeAlarm(alarmId))
        return "no alarm \"" + alarmId + "\"";
    return apps_.settled(Screen::SpringBoard, "");
}

std::vector<AlarmInfo> World::alarms() const {
    std::vector<AlarmInfo> out;
    if (!apps_.springBoard()) {
        for (const AlarmRequest& r : pendingAlarms_)
            out.push_back({"", r.secondsOfDay, r.label, r.snooze, r.daily, r.enabled});
        return out;
    }
    for (const springboard::ClockAlarm& a : apps_.springBoard()->alarmBook().alarms()) {
        out.push_back({a.alarmId, a.time.hour * 3600 + a.time.minute * 60 + a.time.second, a.label,
                       a.allowsSnooze, a.time.weekdays != 0, a.enabled});
    }
    return out;
}

std::string World::notify(const std::string& bundleIdentifier) {
    if (!apps_.springBoard())
        return "the device is not booted";
    apps_.springBoard()->fireLocalNotification(bundleIdentifier, "notification");
    return apps_.settled(Screen::SpringBoard, "");
}

std::string World::writeFile(const std::string& devicePath, const std::string& bytes) {
    std::string name;
    if (!deviceFolderOf(devicePath, true, name))
        return "the path " + devicePath + " is outside the device";
    // Through the device root, never reopened by host path: a FIFO or a folder there is refused
    // rather than waited on, and a folder swapped for a link out cannot lead the write outside.
    if (!writeDeviceFile(devicePath, bytes, false))
        return "cannot write " + devicePath;
    return apps_.settled(Screen::SpringBoard, "");
}

std::string World::deleteFile(const std::string& devicePath) {
    std::string name;
    UniqueFd folder = deviceFolderOf(devicePath, false, name);
    if (!folder && !DeviceEnvironment::hostPath(devicePath))
        return "the path " + devicePath + " is outside the device";
    if (folder)
        ::unlinkat(folder.get(), name.c_str(), 0); // the entry itself, a link too; missing is fine
    return apps_.settled(Screen::SpringBoard, "");
}

std::string World::writeSettingsFile(const std::string& bytes) {
    return writeFile(kSettingsPath, bytes);
}

std::string World::deleteSettingsFile() {
    return deleteFile(kSettingsPath);
}

std::string World::corruptSettingsFile() {
    return writeFile(kSettingsPath, "<?xml version=\"1.0\"?><plist><dict><key>enabled</key><true/>");
}

std::string World::setSettingFromNow(const std::string& key, double seconds) {
    const double at = now().timeIntervalSinceReferenceDate + seconds;
    if (!isHoldableDate(at))
        return "the date lies outside the years 1 to 9999";
    return setSetting(key, NSDate{at});
}

std::string World::setSetting(const std::string& key, const PlistValue& value) {
    PlistDict dict = dictionaryWithContentsOfFile(kSettingsPath).value_or(PlistDict{});
    dict[key] = value;
    return writeToFile(dict, kSettingsPath, true) ? apps_.settled(Screen::SpringBoard, "")
                                                  : "cannot write the settings file";
}

std::string World::removeSetting(const std::string& key) {
    PlistDict dict = dictionaryWithContentsOfFile(kSettingsPath).value_or(PlistDict{});
    dict.erase(key);
    return writeToFile(dict, kSettingsPath, true) ? apps_.settled(Screen::SpringBoard, "")
                                                  : "cannot write the settings file";
}

std::string World::settingText(const std::string& key) const {
    auto dict = dictionaryWithContentsOfFile(kSettingsPath);
    if (!dict)
        return "absent";
    const PlistValue& v = valueForKey(*dict, key);
    if (v.isNone())
        return "absent";
    if (v.isBool())
        return v.asBool() ? "true" : "false";
    if (v.isInteger())
        return std::to_string(v.asInteger());
    if (v.isReal()) {
        std::ostringstream s;
        s << v.asReal();
        return s.str();
    }
    if (v.isString())
        return v.asString();
    if (v.isDate())
        return localDateTime(v.asDate(), timeZone());
    return "(a value of another kind)";
}

bool World::isStatusItemVisible(const std::string& identifier) const {
    return StatusBar::shared().isVisible(identifier);
}

// ---------------------------------------------------------------------------------------------
// Across a respring

PlistDict World::saved() const {
    // Built key by key: GCC 12 takes a nested braced PlistDict for a read of uninitialized memory.
    PlistArray alarmList;
    for (const AlarmInfo& a : alarms()) {
        PlistDict alarm;
        alarm["time"] = PlistValue(NSInteger(a.secondsOfDay));
        alarm["label"] = PlistValue(a.label);
        alarm["snooze"] = PlistValue(a.snooze);
        alarm["daily"] = PlistValue(a.daily);
        alarm["enabled"] = PlistValue(a.enabled);
        alarmList.emplace_back(std::move(alarm));
    }
    PlistDict state;
    state["clock"] = PlistValue(now().timeIntervalSinceReferenceDate);
    state["locked"] = PlistValue(isLocked());
    state["alarms"] = PlistValue(std::move(alarmList));
    return state;
}

void World::restore(const PlistDict& state) {
    DeviceClock::useVirtual(NSDate{valueForKey(state, "clock").doubleValue()});
    locked_ = valueForKey(state, "locked").boolValue();
    // Every alarm carries over, on or off, as the Clock app keeps them across a respring.
    for (const PlistValue& a : valueForKey(state, "alarms").asArray()) {
        const PlistDict& d = a.asDict();
        const NSInteger t = valueForKey(d, "time").integerValue();
        if (t < 0 || t >= 86400)
            continue;
        pendingAlarms_.push_back({int(t), valueForKey(d, "label").asString(),
                                  valueForKey(d, "snooze").boolValue(), valueForKey(d, "daily").boolValue(),
                                  valueForKey(d, "enabled").boolValue()});
    }
}

} // namespace sim
