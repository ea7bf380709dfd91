// What the device did, in order, with its time: log lines, file writes (and failed ones), and
// whatever the hosts record (alarms, alerts, timers). Tests and the simulator read it.
#pragma once

#include "foundation/NSDate.h"

#include <functional>
#include <string>
#include <vector>

struct DeviceEvent {
    NSDate time;
    std::string kind;
    std::string detail;
    bool operator==(const DeviceEvent& other) const = default;
};

class DeviceEvents {
  public:
    // Thread-safe. Stamped with the device clock; the listener (if any) is called after recording.
    static void record(std::string kind, std::string detail);
    static std::vector<DeviceEvent> all();
    // How many events are recorded, and those from index `from` on: a reader that keeps a
    // cursor copies only what is new to it.
    static size_t count();
    static std::vector<DeviceEvent> since(size_t from);
    static std::vector<DeviceEvent> ofKind(const std::string& kind);
    static void clear();
    static void setListener(std::function<void(const DeviceEvent&)> listener);
};
