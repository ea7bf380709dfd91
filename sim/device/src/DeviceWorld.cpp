// The device's clock and its world: time passing and set, the lock, Clock alarms, other apps'
// notifications, and device files written from outside.
#include "device/Device.h"

#include "DeviceWindows.h"
#include "device/LocalTime.h"

#include "foundation/DeviceClock.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceEvents.h"
#include "foundation/DeviceFiles.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
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
constexpr const char* kSettingsPath = "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
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

} // namespace

springboard::ClockAlarm clockAlarmOf(const AlarmRequest& request) {
    springboard::ClockAlarm alarm;
    alarm.time = {request.secondsOfDay / 3600, (request.secondsOfDay / 60) % 60,
                  request.daily ? springboard::kEveryDay : 0u, request.secondsOfDay % 60};
    alarm.label = request.label;
    alarm.allowsSnooze = request.snooze;
    alarm.enabled = request.enabled;
    return alarm;
}

// ---------------------------------------------------------------------------------------------
// The clock

NSDate Device::now() const {
    return DeviceClock::now();
}

// The platform's reading: the same rule, over its kept copy of the global preferences.
std::string Device::timeZone() const {
    return DeviceEnvironment::timeZone();
}

bool Device::isHoldableDate(double t) {
    return t >= kEarliestDate && t <= kLatestDate;
}

std::string Device::advance(double seconds) {
    if (!(seconds >= 0))
        return "time runs forward only: use setClock to go back";
    const double target = now().timeIntervalSinceReferenceDate + seconds;
    if (!isHoldableDate(target))
        return "the clock cannot go past the year 9999";
    RunLoop::main().runFor(seconds);
    return settled(Screen::SpringBoard, "");
}

std::string Device::setClock(NSDate date) {
    if (!isHoldableDate(date.timeIntervalSinceReferenceDate))
        return "the clock holds dates from the year 1 to 9999 only";
    DeviceClock::setVirtualNow(date);
    DeviceEvents::record("clock set", "");
    return settled(Screen::SpringBoard, "");
}

std::string Device::advanceTo(int secondsOfDay) {
    const auto at = nextLocalTime(now(), secondsOfDay, timeZone());
    if (!at)
        return "the clock cannot go past the year 9999";
    return advance(at->timeIntervalSinceReferenceDate - now().timeIntervalSinceReferenceDate);
}

std::string Device::advanceToNextAlarm() {
    auto next = nextAlarmDate();
    if (!next)
        return "no alarm is set";
    return advance(
        std::max(0.0, next->timeIntervalSinceReferenceDate - now().timeIntervalSinceReferenceDate));
}

std::string Device::setLocalTime(std::optional<CalendarDay> day, int secondsOfDay) {
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

std::optional<NSDate> Device::nextAlarmDate() const {
    if (!springboard_)
        return std::nullopt;
    auto due = springboard_->alarmBook().nextDue();
    return due ? std::optional<NSDate>(NSDate{*due}) : std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// The world

std::string Device::lock(bool locked) {
    locked_ = locked;
    if (!springboard_)
        return "";
    if (locked)
        springboard_->lock();
    else
        springboard_->unlock();
    return settled(Screen::SpringBoard, "");
}

bool Device::isLocked() const {
    return springboard_ ? springboard_->isLocked() : locked_;
}

std::string Device::addAlarm(const AlarmRequest& request, std::string* alarmId) {
    if (request.secondsOfDay < 0 || request.secondsOfDay >= 86400)
        return "an alarm's time lies within a day";
    if (!springboard_) {
        pendingAlarms_.push_back(request);
        return "";
    }
    std::string added = springboard_->addAlarm(clockAlarmOf(request));
    if (alarmId)
        *alarmId = added;
    return settled(Screen::SpringBoard, "");
}

std::string Device::removeAlarm(const std::string& alarmId) {
    if (!springboard_)
        return "the device is not booted";
    if (!springboard_->removeAlarm(alarmId))
        return "no alarm \"" + alarmId + "\"";
    return settled(Screen::SpringBoard, "");
}

std::vector<AlarmInfo> Device::alarms() const {
    std::vector<AlarmInfo> out;
    if (!springboard_) {
        for (const AlarmRequest& r : pendingAlarms_)
            out.push_back({"", r.secondsOfDay, r.label, r.snooze, r.daily, r.enabled});
        return out;
    }
    for (const springboard::ClockAlarm& a : springboard_->alarmBook().alarms()) {
        out.push_back({a.alarmId, a.time.hour * 3600 + a.time.minute * 60 + a.time.second, a.label,
                       a.allowsSnooze, a.time.weekdays != 0, a.enabled});
    }
    return out;
}

std::string Device::notify(const std::string& bundleIdentifier) {
    if (!springboard_)
        return "the device is not booted";
    springboard_->fireLocalNotification(bundleIdentifier, "notification");
    return settled(Screen::SpringBoard, "");
}

std::string Device::writeFile(const std::string& devicePath, const std::string& bytes) {
    std::string name;
    if (!deviceFolderOf(devicePath, true, name))
        return "the path " + devicePath + " is outside the device";
    // Through the device root, never reopened by host path: a FIFO or a folder there is refused
    // rather than waited on, and a folder swapped for a link out cannot lead the write outside.
    if (!writeDeviceFile(devicePath, bytes, false))
        return "cannot write " + devicePath;
    return settled(Screen::SpringBoard, "");
}

std::string Device::deleteFile(const std::string& devicePath) {
    std::string name;
    UniqueFd folder = deviceFolderOf(devicePath, false, name);
    if (!folder && !DeviceEnvironment::hostPath(devicePath))
        return "the path " + devicePath + " is outside the device";
    if (folder)
        ::unlinkat(folder.get(), name.c_str(), 0); // the entry itself, a link too; missing is fine
    return settled(Screen::SpringBoard, "");
}

std::string Device::writeSettingsFile(const std::string& bytes) {
    return writeFile(kSettingsPath, bytes);
}

std::string Device::deleteSettingsFile() {
    return deleteFile(kSettingsPath);
}

std::string Device::corruptSettingsFile() {
    return writeFile(kSettingsPath, "<?xml version=\"1.0\"?><plist><dict><key>enabled</key><true/>");
}

std::string Device::setSettingFromNow(const std::string& key, double seconds) {
    const double at = now().timeIntervalSinceReferenceDate + seconds;
    if (!isHoldableDate(at))
        return "the date lies outside the years 1 to 9999";
    return setSetting(key, NSDate{at});
}

std::string Device::setSetting(const std::string& key, const PlistValue& value) {
    PlistDict dict = dictionaryWithContentsOfFile(kSettingsPath).value_or(PlistDict{});
    dict[key] = value;
    return writeToFile(dict, kSettingsPath, true) ? settled(Screen::SpringBoard, "")
                                                  : "cannot write the settings file";
}

std::string Device::removeSetting(const std::string& key) {
    PlistDict dict = dictionaryWithContentsOfFile(kSettingsPath).value_or(PlistDict{});
    dict.erase(key);
    return writeToFile(dict, kSettingsPath, true) ? settled(Screen::SpringBoard, "")
                                                  : "cannot write the settings file";
}

std::string Device::settingText(const std::string& key) const {
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

std::optional<std::string> Device::lockScreenAlarm() const {
    if (!springboard_)
        return std::nullopt;
    auto ringing = springboard_->ringing();
    if (ringing && ringing->onLockScreen && springboard_->isLocked())
        return ringing->title;
    return std::nullopt;
}

bool Device::isStatusItemVisible(const std::string& identifier) const {
    return StatusBar::shared().isVisible(identifier);
}

bool Device::hasSettingsPage() const {
    return settings_ && settings_->currentController();
}

std::vector<std::string> Device::rowLabels() {
    return settings_ ? settings_->rowLabels() : std::vector<std::string>{};
}

} // namespace sim
