// Shared by the SpringBoard host tests: a device with a SpringBoard host on the virtual clock,
// and readings of the recorded events.
#pragma once

#include "DeviceRootFixture.h"
#include "foundation/DeviceEvents.h"
#include "foundation/RunLoop.h"
#include "springboard/SpringBoardHost.h"

#include <string>
#include <vector>

namespace sbtest {

// "kind: detail" of every event whose kind is in `kinds` (all events when empty), in order.
inline std::vector<std::string> events(const std::vector<std::string>& kinds = {}) {
    std::vector<std::string> out;
    for (const auto& e : DeviceEvents::all()) {
        bool wanted = kinds.empty();
        for (const auto& k : kinds)
            wanted = wanted || e.kind == k;
        if (wanted)
            out.push_back(e.detail.empty() ? e.kind : e.kind + ": " + e.detail);
    }
    return out;
}

inline bool hasEvent(const std::string& kind, const std::string& detail) {
    for (const auto& e : DeviceEvents::all())
        if (e.kind == kind && e.detail == detail)
            return true;
    return false;
}

// Seconds since the device's reference date of a time on the fixture's first day (UTC).
inline double at(int hour, int minute, int second = 0) {
    return DeviceRootFixture::kStart - 8 * 3600 + hour * 3600 + minute * 60 + second;
}

inline void runUntil(int hour, int minute, int second = 0) {
    RunLoop::main().runUntil(NSDate{at(hour, minute, second)});
}

// A device without the package (only what a test installs), SpringBoard booted on it.
struct BootedDevice {
    DeviceRootFixture root{DeviceRootFixture::Options{.addons = {}, .package = false}};
    SpringBoardHost host;
    BootedDevice() {
        DeviceEvents::clear();
        host.boot();
    }
};

} // namespace sbtest
