// The device's life cycle, clock, world actions, respring and events.
#include "device/Device.h"

#include "DeviceWindows.h"
#include "device/LocalTime.h"
#include "device/RootLock.h"
#include "device/StopSignals.h"

#include "foundation/Device.h"
#include "foundation/DeviceClock.h"
#include "foundation/DeviceFiles.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "preferences/SettingsApp.h"
#include "springboard/PCSimpleTimer.h"
#include "springboard/SpringBoardHost.h"
#include "springboard/StatusBar.h"
#include "uikit/UIScreen.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace sim {
namespace fs = std::filesystem;

namespace {
constexpr const char* kResumeFile = "/.hushmark-sim-resume.plist";
constexpr const char* kSettingsPath = "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
// Seconds from 2001-01-01 to 0001-01-01 and to 9999-12-31 23:59:59 (proleptic Gregorian).
constexpr double kEarliestDate = -63113904000.0;
constexpr double kLatestDate = 252423993599.0;

// The folder holding a device path's last entry, opened through the device root, and the entry's
// name; with `make`, missing folders on the way are made first, as a package install makes them.
// Invalid when the path is outside the root, names no entry, or the folder is missing.
UniqueFd deviceFolderOf(const std::string& devicePath, bool make, std::string& name) {
    const size_t slash = devicePath.find_last_of('/');
    if (slash == std::string::npos) return {};
    const std::string parent = slash == 0 ? "/" : devicePath.substr(0, slash);
    name = devicePath.substr(slash + 1);
    if (name.empty() || name == "." || name == "..") return {};
    for (size_t at = 1; make && at <= parent.size();) {
        size_t next = std::min(parent.find('/', at), parent.size());
        const std::string prefix = parent.substr(0, next);
        if (deviceFileKind(prefix) == DeviceFileKind::Missing)
            if (auto entry = openDeviceFolderOf(prefix)) ::mkdirat(entry->folder.get(), entry->name.c_str(), 0755);
        at = next + 1;
    }
    return openDeviceFile(parent, O_PATH | O_DIRECTORY);
}

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

Device::Device(Options options) : root_(std::move(options.root)), windows_(std::make_unique<Windows>()) {
    ::Device::setRoot(root_);
    setup_ = readDeviceSetup(root_);
    UIScreen::setMainScreen(setup_.screen, setup_.scale);
    PCSimpleTimer::setSlack(setup_.timerSlack);
    DeviceClock::useVirtual(options.start);
    // What was recorded before the device existed (its root laid out, under the host's clock) is
    // not the device's: its record starts at its own clock.
    DeviceEvents::clear();
    DeviceEvents::setListener([this](const DeviceEvent& e) { dispatchEvent(e); });
    if (options.resume && !loadRespringState()) resumeError_ = "cannot resume after a respring (no saved state in " + root_.string() + ")";
}

Device::~Device() {
    DeviceEvents::setListener(nullptr);
    windows_.reset();
    settings_.reset();
    springboard_.reset();
}

// ---------------------------------------------------------------------------------------------
// Life cycle

std::string Device::boot() {
    if (springboard_) return "the device is booted already";
    for (const std::string& name : setup_.springboardWithout) objc_hideClass(name);
    springboard_ = std::make_unique<SpringBoardHost>();
    springboard_->boot();
    for (const AlarmRequest& request : pendingAlarms_) springboard_->addAlarm(clockAlarmOf(request));
    pendingAlarms_.clear();
    if (locked_) springboard_->lock();
    settings_ = std::make_unique<SettingsApp>(setup_.screen);
    return settled(Screen::SpringBoard, "");
}

bool Device::isBooted() const { return springboard_ != nullptr; }

bool Device::saveForRespring(const PlistDict& frontEndState) {
    RunLoop::main().drain();
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
    state["clock"] = PlistValue(DeviceClock::now().timeIntervalSinceReferenceDate);
    state["locked"] = PlistValue(isLocked());
    state["alarms"] = PlistValue(std::move(alarmList));
    state["frontEnd"] = PlistValue(frontEndState);
    return writeToFile(state, kResumeFile, true);
}

bool Device::loadRespringState() {
    auto state = dictionaryWithContentsOfFile(kResumeFile);
    if (!state) return false;
    std::error_code ec;
    fs::remove(root_ / fs::path(kResumeFile).relative_path(), ec);
    DeviceClock::useVirtual(NSDate{valueForKey(*state, "clock").doubleValue()});
    locked_ = valueForKey(*state, "locked").boolValue();
    // Every alarm carries over, on or off, as the Clock app keeps them across a respring.
    for (const PlistValue& a : valueForKey(*state, "alarms").asArray()) {
        const PlistDict& d = a.asDict();
        const NSInteger t = valueForKey(d, "time").integerValue();
        if (t < 0 || t >= 86400) continue;
        pendingAlarms_.push_back({int(t), valueForKey(d, "label").asString(), valueForKey(d, "snooze").boolValue(),
                                  valueForKey(d, "daily").boolValue(), valueForKey(d, "enabled").boolValue()});
    }
    frontEndState_ = valueForKey(*state, "frontEnd").asDict();
    return boot().empty();
}

std::string Device::relaunch(const std::vector<std::string>& argv) {
    if (argv.empty()) return "nothing to relaunch";
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::vector<std::string> words = argv;
    std::vector<char*> args;
    for (auto& w : words) args.push_back(w.data());
    args.push_back(nullptr);
    stopsignals::HeldAcrossExec held; // a stop arriving now waits for the new image
    if (stopsignals::caught()) return "stopped before the relaunch"; // one that came before would be lost
    keepRootLockAcrossExec();
    execv(words[0].c_str(), args.data());
    return "cannot relaunch " + words[0];
}

// Every action ends here: what fell due runs, new alerts are claimed by the acting screen.
std::string Device::settled(Screen acting, std::string result) {
    RunLoop::main().drain();
    claimAlerts(acting);
    return result;
}

// ---------------------------------------------------------------------------------------------
// The clock

NSDate Device::now() const { return DeviceClock::now(); }

// The platform's reading: the same rule, over its kept copy of the global preferences.
std::string Device::timeZone() const { return ::Device::timeZone(); }

bool Device::isHoldableDate(double t) { return t >= kEarliestDate && t <= kLatestDate; }

std::string Device::advance(double seconds) {
    if (!(seconds >= 0)) return "time runs forward only: use setClock to go back";
    const double target = now().timeIntervalSinceReferenceDate + seconds;
    if (!isHoldableDate(target)) return "the clock cannot go past the year 9999";
    RunLoop::main().runFor(seconds);
    return settled(Screen::SpringBoard, "");
}

std::string Device::setClock(NSDate date) {
    if (!isHoldableDate(date.timeIntervalSinceReferenceDate)) return "the clock holds dates from the year 1 to 9999 only";
    DeviceClock::setVirtualNow(date);
    DeviceEvents::record("clock set", "");
    return settled(Screen::SpringBoard, "");
}

std::string Device::advanceTo(int secondsOfDay) {
    const auto at = nextLocalTime(now(), secondsOfDay, timeZone());
    if (!at) return "the clock cannot go past the year 9999";
    return advance(at->timeIntervalSinceReferenceDate - now().timeIntervalSinceReferenceDate);
}

std::string Device::advanceToNextAlarm() {
    auto next = nextAlarmDate();
    if (!next) return "no alarm is set";
    return advance(std::max(0.0, next->timeIntervalSinceReferenceDate - now().timeIntervalSinceReferenceDate));
}

std::string Device::setLocalTime(std::optional<CalendarDay> day, int secondsOfDay) {
    if (secondsOfDay < 0 || secondsOfDay >= 86400) return "a time of day lies within a day";
    if (!day) // today: the moment that many seconds past local midnight
        return setClock(NSDate{now().timeIntervalSinceReferenceDate - localSecondsOfDay(now(), timeZone()) + secondsOfDay});
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", day->year, day->month, day->day, secondsOfDay / 3600,
                  secondsOfDay / 60 % 60, secondsOfDay % 60);
    auto date = dateFromLocal(text, timeZone());
    if (!date) return std::string("no moment reads ") + text + " in " + timeZone();
    return setClock(*date);
}

std::optional<NSDate> Device::nextAlarmDate() const {
    if (!springboard_) return std::nullopt;
    auto due = springboard_->alarmBook().nextDue();
    return due ? std::optional<NSDate>(NSDate{*due}) : std::nullopt;
}

// ---------------------------------------------------------------------------------------------
// The world

std::string Device::lock(bool locked) {
    locked_ = locked;
    if (!springboard_) return "";
    if (locked) springboard_->lock();
    else springboard_->unlock();
    return settled(Screen::SpringBoard, "");
}

bool Device::isLocked() const { return springboard_ ? springboard_->isLocked() : locked_; }

std::string Device::addAlarm(const AlarmRequest& request, std::string* alarmId) {
    if (request.secondsOfDay < 0 || request.secondsOfDay >= 86400) return "an alarm's time lies within a day";
    if (!springboard_) {
        pendingAlarms_.push_back(request);
        return "";
    }
    std::string added = springboard_->addAlarm(clockAlarmOf(request));
    if (alarmId) *alarmId = added;
    return settled(Screen::SpringBoard, "");
}

std::string Device::removeAlarm(const std::string& alarmId) {
    if (!springboard_) return "the device is not booted";
    if (!springboard_->removeAlarm(alarmId)) return "no alarm \"" + alarmId + "\"";
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
        out.push_back({a.alarmId, a.time.hour * 3600 + a.time.minute * 60 + a.time.second, a.label, a.allowsSnooze,
                       a.time.weekdays != 0, a.enabled});
    }
    return out;
}

std::string Device::notify(const std::string& bundleIdentifier) {
    if (!springboard_) return "the device is not booted";
    springboard_->fireLocalNotification(bundleIdentifier, "notification");
    return settled(Screen::SpringBoard, "");
}

std::string Device::writeFile(const std::string& devicePath, const std::string& bytes) {
    std::string name;
    if (!deviceFolderOf(devicePath, true, name)) return "the path " + devicePath + " is outside the device";
    // Through the device root, never reopened by host path: a FIFO or a folder there is refused
    // rather than waited on, and a folder swapped for a link out cannot lead the write outside.
    if (!writeDeviceFile(devicePath, bytes, false)) return "cannot write " + devicePath;
    return settled(Screen::SpringBoard, "");
}

std::string Device::deleteFile(const std::string& devicePath) {
    std::string name;
    UniqueFd folder = deviceFolderOf(devicePath, false, name);
    if (!folder && !::Device::hostPath(devicePath)) return "the path " + devicePath + " is outside the device";
    if (folder) ::unlinkat(folder.get(), name.c_str(), 0); // the entry itself, a link too; missing is fine
    return settled(Screen::SpringBoard, "");
}

std::string Device::writeSettingsFile(const std::string& bytes) { return writeFile(kSettingsPath, bytes); }

std::string Device::deleteSettingsFile() { return deleteFile(kSettingsPath); }

std::string Device::corruptSettingsFile() {
    return writeFile(kSettingsPath, "<?xml version=\"1.0\"?><plist><dict><key>enabled</key><true/>");
}

std::string Device::setSettingFromNow(const std::string& key, double seconds) {
    const double at = now().timeIntervalSinceReferenceDate + seconds;
    if (!isHoldableDate(at)) return "the date lies outside the years 1 to 9999";
    return setSetting(key, NSDate{at});
}

std::string Device::setSetting(const std::string& key, const PlistValue& value) {
    PlistDict dict = dictionaryWithContentsOfFile(kSettingsPath).value_or(PlistDict{});
    dict[key] = value;
    return writeToFile(dict, kSettingsPath, true) ? settled(Screen::SpringBoard, "") : "cannot write the settings file";
}

std::string Device::removeSetting(const std::string& key) {
    PlistDict dict = dictionaryWithContentsOfFile(kSettingsPath).value_or(PlistDict{});
    dict.erase(key);
    return writeToFile(dict, kSettingsPath, true) ? settled(Screen::SpringBoard, "") : "cannot write the settings file";
}

std::string Device::settingText(const std::string& key) const {
    auto dict = dictionaryWithContentsOfFile(kSettingsPath);
    if (!dict) return "absent";
    const PlistValue& v = valueForKey(*dict, key);
    if (v.isNone()) return "absent";
    if (v.isBool()) return v.asBool() ? "true" : "false";
    if (v.isInteger()) return std::to_string(v.asInteger());
    if (v.isReal()) {
        std::ostringstream s;
        s << v.asReal();
        return s.str();
    }
    if (v.isString()) return v.asString();
    if (v.isDate()) return localDateTime(v.asDate(), timeZone());
    return "(a value of another kind)";
}

std::optional<std::string> Device::lockScreenAlarm() const {
    if (!springboard_) return std::nullopt;
    auto ringing = springboard_->ringing();
    if (ringing && ringing->onLockScreen && springboard_->isLocked()) return ringing->title;
    return std::nullopt;
}

bool Device::isStatusItemVisible(const std::string& identifier) const { return StatusBar::shared().isVisible(identifier); }

bool Device::hasSettingsPage() const { return settings_ && settings_->currentController(); }

std::vector<std::string> Device::rowLabels() { return settings_ ? settings_->rowLabels() : std::vector<std::string>{}; }

// ---------------------------------------------------------------------------------------------
// Events

size_t Device::eventCount() const { return DeviceEvents::count(); }

std::vector<DeviceEvent> Device::events(size_t from) const { return DeviceEvents::since(from); }

int Device::subscribe(std::function<void(const DeviceEvent&)> listener) {
    listeners_[nextToken_] = std::move(listener);
    return nextToken_++;
}

void Device::unsubscribe(int token) { listeners_.erase(token); }

void Device::dispatchEvent(const DeviceEvent& event) {
    auto listeners = listeners_; // a listener may unsubscribe
    for (auto& [token, listener] : listeners)
        if (listener) listener(event);
}

} // namespace sim
