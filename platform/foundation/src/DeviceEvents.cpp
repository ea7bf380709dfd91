// The device's event record. The listener runs outside the lock so it may record in turn.
#include "foundation/DeviceEvents.h"

#include "foundation/DeviceClock.h"

#include <mutex>

namespace {
std::mutex gEventsMutex;
std::vector<DeviceEvent> gEvents;
std::shared_ptr<std::function<void(const DeviceEvent&)>> gListener;
} // namespace

void DeviceEvents::record(std::string kind, std::string detail) {
    DeviceEvent event{DeviceClock::now(), std::move(kind), std::move(detail)};
    std::shared_ptr<std::function<void(const DeviceEvent&)>> listener;
    {
        std::lock_guard lock(gEventsMutex);
        gEvents.push_back(event);
        listener = gListener;
    }
    if (listener && *listener)
        (*listener)(event);
}

std::vector<DeviceEvent> DeviceEvents::all() {
    std::lock_guard lock(gEventsMutex);
    return gEvents;
}

size_t DeviceEvents::count() {
    std::lock_guard lock(gEventsMutex);
    return gEvents.size();
}

std::vector<DeviceEvent> DeviceEvents::since(size_t from) {
    std::lock_guard lock(gEventsMutex);
    if (from >= gEvents.size())
        return {};
    return {gEvents.begin() + long(from), gEvents.end()};
}

std::vector<DeviceEvent> DeviceEvents::ofKind(const std::string& kind) {
    std::lock_guard lock(gEventsMutex);
    std::vector<DeviceEvent> out;
    for (const auto& e : gEvents)
        if (e.kind == kind)
            out.push_back(e);
    return out;
}

void DeviceEvents::clear() {
    std::lock_guard lock(gEventsMutex);
    gEvents.clear();
}

void DeviceEvents::setListener(std::function<void(const DeviceEvent&)> listener) {
    std::lock_guard lock(gEventsMutex);
    gListener =
        listener ? std::make_shared<std::function<void(const DeviceEvent&)>>(std::move(listener)) : nullptr;
}
