// The device's life cycle (boot, respring) and its events.
#include "device/Device.h"

#include "DeviceWindows.h"
#include "device/LocalTime.h"
#include "device/RootLock.h"
#include "device/StopSignals.h"

#include "foundation/DeviceEnvironment.h"
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
} // namespace

Device::Device(Options options)
    : root_(std::move(options.root)), windows_(std::make_unique<Windows>()),
      pictures_(std::make_unique<Pictures>(*this)) {
    DeviceEnvironment::setRoot(root_);
    setup_ = readDeviceSetup(root_);
    UIScreen::setMainScreen(setup_.screen, setup_.scale);
    PCSimpleTimer::setSlack(setup_.timerSlack);
    DeviceClock::useVirtual(options.start);
    // What was recorded before the device existed (its root laid out, under the host's clock) is
    // not the device's: its record starts at its own clock.
    DeviceEvents::clear();
    DeviceEvents::setListener([this](const DeviceEvent& e) { dispatchEvent(e); });
    if (options.resume && !loadRespringState())
        resumeError_ = "cannot resume after a respring (no saved state in " + root_.string() + ")";
}

Device::~Device() {
    DeviceEvents::setListener(nullptr);
    pictures_.reset();
    windows_.reset();
    settings_.reset();
    springboard_.reset();
}

// ---------------------------------------------------------------------------------------------
// Life cycle

std::string Device::boot() {
    if (springboard_)
        return "the device is booted already";
    for (const std::string& name : setup_.springboardWithout)
        objc_hideClass(name);
    springboard_ = std::make_unique<SpringBoardHost>();
    springboard_->boot();
    for (const AlarmRequest& request : pendingAlarms_)
        springboard_->addAlarm(clockAlarmOf(request));
    pendingAlarms_.clear();
    if (locked_)
        springboard_->lock();
    settings_ = std::make_unique<SettingsApp>(setup_.screen);
    return settled(Screen::SpringBoard, "");
}

bool Device::isBooted() const {
    return springboard_ != nullptr;
}

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
    if (!state)
        return false;
    std::error_code ec;
    fs::remove(root_ / fs::path(kResumeFile).relative_path(), ec);
    DeviceClock::useVirtual(NSDate{valueForKey(*state, "clock").doubleValue()});
    locked_ = valueForKey(*state, "locked").boolValue();
    // Every alarm carries over, on or off, as the Clock app keeps them across a respring.
    for (const PlistValue& a : valueForKey(*state, "alarms").asArray()) {
        const PlistDict& d = a.asDict();
        const NSInteger t = valueForKey(d, "time").integerValue();
        if (t < 0 || t >= 86400)
            continue;
        pendingAlarms_.push_back({int(t), valueForKey(d, "label").asString(),
                                  valueForKey(d, "snooze").boolValue(), valueForKey(d, "daily").boolValue(),
                                  valueForKey(d, "enabled").boolValue()});
    }
    frontEndState_ = valueForKey(*state, "frontEnd").asDict();
    return boot().empty();
}

std::string Device::relaunch(const std::vector<std::string>& argv) {
    if (argv.empty())
        return "nothing to relaunch";
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    std::vector<std::string> words = argv;
    std::vector<char*> args;
    for (auto& w : words)
        args.push_back(w.data());
    args.push_back(nullptr);
    stopsignals::HeldAcrossExec held; // a stop arriving now waits for the new image
    if (stopsignals::caught())
        return "stopped before the relaunch"; // one that came before would be lost
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
// Events

size_t Device::eventCount() const {
    return DeviceEvents::count();
}

std::vector<DeviceEvent> Device::events(size_t from) const {
    return DeviceEvents::since(from);
}

int Device::subscribe(std::function<void(const DeviceEvent&)> listener) {
    listeners_[nextToken_] = std::move(listener);
    return nextToken_++;
}

void Device::unsubscribe(int token) {
    listeners_.erase(token);
}

void Device::dispatchEvent(const DeviceEvent& event) {
    auto listeners = listeners_; // a listener may unsubscribe
    for (auto& [token, listener] : listeners)
        if (listener)
            listener(event);
}

} // namespace sim
