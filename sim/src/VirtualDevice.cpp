#include "VirtualDevice.h"

#include "LocalTime.h"

#include "foundation/Device.h"
#include "foundation/DeviceClock.h"
#include "foundation/DeviceEvents.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "preferences/SettingsApp.h"
#include "springboard/SpringBoardHost.h"

#include <cstdio>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <unistd.h>

namespace sim {
namespace fs = std::filesystem;

namespace {
constexpr const char* kResumeFile = ".hushmark-sim-resume.plist";
} // namespace

VirtualDevice::VirtualDevice(const Scenario& scenario, RunOptions options, std::ostream& out, std::ostream& err)
    : scenario_(scenario), options_(std::move(options)), out_(out), err_(err) {}

VirtualDevice::~VirtualDevice() { DeviceEvents::setListener(nullptr); }

void VirtualDevice::printEvent(NSDate time, const std::string& kind, const std::string& detail) {
    out_ << localClock(time, scenario_.settings.timeZone) << "  " << kind;
    if (!detail.empty()) out_ << "  " << detail;
    out_ << '\n';
}

int VirtualDevice::run() {
    Device::setRoot(options_.root);
    size_t first = 0;
    if (options_.resume) {
        if (!loadResumeState(first)) {
            err_ << scenario_.name << ": cannot resume after a respring (no saved state in " << options_.root.string() << ")\n";
            return 1;
        }
    } else {
        auto start = dateFromLocal(scenario_.settings.start, scenario_.settings.timeZone);
        if (!start) {
            err_ << scenario_.name << ": the start time \"" << scenario_.settings.start << "\" is not a date\n";
            return 1;
        }
        DeviceClock::useVirtual(*start);
        out_ << "# " << scenario_.name << ": " << localDateTime(*start, scenario_.settings.timeZone) << ' '
             << scenario_.settings.timeZone << ", " << scenario_.settings.locale << '\n';
    }
    DeviceEvents::setListener([this](const DeviceEvent& e) { printEvent(e.time, e.kind, e.detail); });

    for (size_t i = first; i < scenario_.steps.size(); ++i) {
        const Step& step = scenario_.steps[i];
        out_ << localClock(DeviceClock::now(), scenario_.settings.timeZone) << "  > ";
        for (size_t w = 0; w < step.args.size() + 1; ++w) {
            const std::string& word = w == 0 ? step.verb : step.args[w - 1];
            bool quote = word.empty() || word.find(' ') != std::string::npos;
            out_ << (w ? " " : "") << (quote ? "\"" + word + "\"" : word);
        }
        out_ << '\n';
        std::string failure = execute(step, i);
        if (!failure.empty()) {
            out_.flush();
            err_ << scenario_.name << ":" << step.line << ": " << step.text << "\n  " << failure << '\n';
            return 1;
        }
    }
    out_ << localClock(DeviceClock::now(), scenario_.settings.timeZone) << "  end\n";
    return 0;
}

std::string VirtualDevice::execute(const Step& step, size_t index) {
    const auto& a = step.args;
    const std::string& v = step.verb;
    if (v == "boot") return boot();
    if (v == "respring") return respring(index + 1);
    if (v == "lock" || v == "unlock") return lock(v == "lock");
    if (v == "alarm") {
        AlarmRequest request{a[0], a[1]};
        for (size_t i = 2; i < a.size(); ++i) {
            if (a[i] == "nosnooze") request.snooze = false;
            if (a[i] == "daily") request.daily = true;
        }
        return alarm(request);
    }
    if (v == "notify") return notify(a[0]);
    if (v == "wait") return wait(*parseDuration(a[0]));
    if (v == "until") return until(*parseTimeOfDay(a[0]));
    if (v == "jump") return jump(*parseDuration(a[0]));
    if (v == "file") return file(a);
    if (v == "settings") return settings(a);
    if (v == "picker") return picker(a);
    if (v == "color") return color(a);
    if (v == "alert") return alert(a);
    if (v == "expect") return expect(a);
    if (v == "snapshot") return snapshot(a[0], a[1]);
    return "the step \"" + v + "\" is not runnable";
}

// ---------------------------------------------------------------------------------------------
// SpringBoard, clock and alarms

std::string VirtualDevice::boot() {
    if (springboard_) return "the device is booted already";
    springboard_ = std::make_unique<SpringBoardHost>();
    springboard_->boot();
    for (const auto& request : alarms_) {
        auto t = parseTimeOfDay(request.time);
        springboard::ClockAlarm alarm;
        alarm.time = {*t / 3600, (*t / 60) % 60, request.daily ? springboard::kEveryDay : 0u};
        alarm.label = request.label;
        alarm.allowsSnooze = request.snooze;
        springboard_->addAlarm(alarm);
    }
    if (locked_) springboard_->lock();
    settings_ = std::make_unique<SettingsApp>();
    RunLoop::main().drain();
    return "";
}

std::string VirtualDevice::respring(size_t nextStep) {
    if (!springboard_) return "the device is not booted";
    if (options_.program.empty() || options_.scenarioFile.empty()) return "a respring needs the scenario in a file";
    RunLoop::main().drain();
    if (!saveResumeState(nextStep)) return "cannot save the device state for the respring";
    out_ << localClock(DeviceClock::now(), scenario_.settings.timeZone) << "  springboard relaunching\n";
    out_.flush();
    std::fflush(stdout);
    std::vector<std::string> words{options_.program, "run", options_.scenarioFile.string(), "--root",
                                   options_.root.string(), "--resume"};
    if (!options_.snapshotDir.empty()) {
        words.push_back("--snapshots");
        words.push_back(options_.snapshotDir.string());
    }
    std::vector<char*> argv;
    for (auto& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    execv(options_.program.c_str(), argv.data());
    return "cannot relaunch " + options_.program;
}

bool VirtualDevice::saveResumeState(size_t nextStep) {
    PlistArray alarms;
    for (const auto& s : alarms_)
        alarms.push_back(PlistDict{{"time", s.time}, {"label", s.label}, {"snooze", s.snooze}, {"daily", s.daily}});
    PlistDict state{{"step", NSInteger(nextStep)}, {"clock", DeviceClock::now().timeIntervalSinceReferenceDate},
                    {"locked", locked_}, {"alarms", alarms}};
    return writeToFile(state, std::string("/") + kResumeFile, true);
}

bool VirtualDevice::loadResumeState(size_t& nextStep) {
    auto state = dictionaryWithContentsOfFile(std::string("/") + kResumeFile);
    if (!state) return false;
    nextStep = size_t(valueForKey(*state, "step").integerValue());
    DeviceClock::useVirtual(NSDate{valueForKey(*state, "clock").doubleValue()});
    locked_ = valueForKey(*state, "locked").boolValue();
    for (const auto& a : valueForKey(*state, "alarms").asArray()) {
        const auto& d = a.asDict();
        alarms_.push_back({valueForKey(d, "time").asString(), valueForKey(d, "label").asString(),
                           valueForKey(d, "snooze").boolValue(), valueForKey(d, "daily").boolValue()});
    }
    std::error_code ec;
    fs::remove(options_.root / kResumeFile, ec);
    return nextStep <= scenario_.steps.size() && boot().empty();
}

std::string VirtualDevice::lock(bool locked) {
    locked_ = locked;
    if (locked) springboard_->lock();
    else springboard_->unlock();
    RunLoop::main().drain();
    return "";
}

std::string VirtualDevice::alarm(const AlarmRequest& request) {
    alarms_.push_back(request);
    if (!springboard_) return "";
    auto t = parseTimeOfDay(request.time);
    springboard::ClockAlarm alarm;
    alarm.time = {*t / 3600, (*t / 60) % 60, request.daily ? springboard::kEveryDay : 0u};
    alarm.label = request.label;
    alarm.allowsSnooze = request.snooze;
    springboard_->addAlarm(alarm);
    RunLoop::main().drain();
    return "";
}

std::string VirtualDevice::notify(const std::string& bundle) {
    springboard_->fireLocalNotification(bundle, "notification");
    RunLoop::main().drain();
    return "";
}

std::string VirtualDevice::wait(double seconds) {
    RunLoop::main().runFor(seconds);
    return "";
}

std::string VirtualDevice::until(int secondsOfDay) {
    const std::string& tz = scenario_.settings.timeZone;
    double now = localSecondsOfDay(DeviceClock::now(), tz);
    double ahead = secondsOfDay - now;
    if (ahead < 0) ahead += 86400;
    RunLoop::main().runFor(ahead);
    return "";
}

std::string VirtualDevice::jump(double seconds) {
    DeviceClock::setVirtualNow(DeviceClock::now().dateByAddingTimeInterval(seconds));
    out_ << localClock(DeviceClock::now(), scenario_.settings.timeZone) << "  clock set\n";
    RunLoop::main().drain();
    return "";
}

// ---------------------------------------------------------------------------------------------
// The settings file

std::string VirtualDevice::file(const std::vector<std::string>& a) {
    const std::string path = "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
    if (a[0] == "delete" || a[0] == "corrupt") {
        auto host = Device::hostPath(path);
        if (!host) return "the settings file is outside the device";
        std::error_code ec;
        fs::remove(*host, ec);
        if (a[0] == "corrupt") {
            std::ofstream(*host) << "<?xml version=\"1.0\"?><plist><dict><key>enabled</key><true/>";
        }
        return "";
    }
    PlistDict dict = dictionaryWithContentsOfFile(path).value_or(PlistDict{});
    if (a[0] == "remove") {
        dict.erase(a[1]);
    } else {
        const std::string& type = a[2];
        const std::string& text = a[3];
        if (type == "bool") dict[a[1]] = text == "true";
        else if (type == "int") dict[a[1]] = NSInteger(std::stoll(text));
        else if (type == "real") dict[a[1]] = std::stod(text);
        else if (type == "string") dict[a[1]] = text;
        else dict[a[1]] = DeviceClock::now().dateByAddingTimeInterval(*parseDuration(text));
    }
    return writeToFile(dict, path, true) ? "" : "cannot write the settings file";
}

std::string VirtualDevice::settingsValueText(const std::string& key) {
    auto dict = dictionaryWithContentsOfFile("/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist");
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
    if (v.isDate()) return localDateTime(v.asDate(), scenario_.settings.timeZone);
    return "(a value of another kind)";
}

} // namespace sim
