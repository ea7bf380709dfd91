// A device for one test: a fresh root with the package installed (and any add-ons), the virtual
// clock at 08:00 UTC, a settings file when the test gives one, and SpringBoard booted from it so
// that the real Hushmark.dylib loads through the loader, as on a device.
#pragma once

#include "DeviceRootFixture.h"
#include "foundation/DeviceClock.h"
#include "foundation/DeviceEvents.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "springboard/AlarmBook.h"
#include "springboard/SpringBoardEvents.h"
#include "springboard/SpringBoardHost.h"

#include <optional>
#include <string>
#include <vector>

namespace tweaktest {

inline constexpr const char* kSettings = "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
inline constexpr const char* kNotification = "net.vexmoor.hushmark.preferences";

// The fixture's first moment, 08:00:00 UTC, plus `seconds`.
inline NSDate startPlus(double seconds) {
    return NSDate{DeviceRootFixture::kStart + seconds};
}
// A time of day on the fixture's first day (UTC).
inline NSDate at(int hour, int minute, int second = 0) {
    return startPlus((hour - 8) * 3600.0 + minute * 60.0 + second);
}

struct TweakDevice {
    DeviceRootFixture root;
    SpringBoardHost host;
    std::vector<std::string> loaded;

    explicit TweakDevice(std::vector<std::string> addons = {}) : root(std::move(addons)) {}

    void writeSettings(const PlistDict& settings) { writeToFile(settings, kSettings, true); }
    std::optional<PlistDict> settingsFile() const { return dictionaryWithContentsOfFile(kSettings); }

    // Boots SpringBoard; the events recorded while setting up are forgotten first.
    void boot() {
        DeviceEvents::clear();
        loaded = host.boot();
    }
    // What the Settings pane does after writing the file.
    void postSettingsChanged() {
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), kNotification,
                                             nullptr, nullptr, true);
        RunLoop::main().drain();
    }
    void advance(double seconds) { RunLoop::main().runFor(seconds); }
    void runUntil(NSDate date) { RunLoop::main().runUntil(date); }

    std::string addAlarm(int hour, int minute, std::string label, bool snooze = true) {
        return host.addAlarm(springboard::ClockAlarm{label, {hour, minute, 0}, label, snooze, true});
    }
};

// "kind: detail" of every recorded event whose kind is one of `kinds`, in order.
inline std::vector<std::string> events(const std::vector<std::string>& kinds) {
    std::vector<std::string> out;
    for (const DeviceEvent& e : DeviceEvents::all())
        for (const std::string& k : kinds)
            if (e.kind == k)
                out.push_back(e.detail.empty() ? e.kind : e.kind + ": " + e.detail);
    return out;
}

inline std::string timerArmedFor(NSDate date) {
    return "timer armed: net.vexmoor.hushmark at " + sbevent::utcText(date);
}

inline const std::vector<std::string> kTimerAndIcon = {sbevent::kTimerArmed, sbevent::kTimerInvalidated,
                                                       sbevent::kTimerFired, sbevent::kStatusItemVisible,
                                                       sbevent::kStatusItemHidden};

// Counts the settings notifications posted from now on.
struct PostCounter {
    int posts = 0;
    PostCounter() {
        CFNotificationCenterAddObserver(
            CFNotificationCenterGetDarwinNotifyCenter(), this,
            [this](CFNotificationCenterRef, const void*, const std::string&) { ++posts; }, kNotification,
            nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    }
    ~PostCounter() {
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this);
    }
    PostCounter(const PostCounter&) = delete;
    PostCounter& operator=(const PostCounter&) = delete;
};

} // namespace tweaktest
