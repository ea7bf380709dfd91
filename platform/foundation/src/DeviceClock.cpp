// The device clock. The virtual time is guarded so that other threads may read it.
#include "foundation/DeviceClock.h"

#include <atomic>
#include <chrono>
#include <mutex>

namespace {
std::mutex gClockMutex;
bool gVirtual = false;
NSDate gVirtualNow;

NSDate systemNow() {
    using namespace std::chrono;
    double unix = duration<double>(system_clock::now().time_since_epoch()).count();
    return NSDate::dateWithTimeIntervalSince1970(unix);
}
} // namespace

void DeviceClock::useVirtual(NSDate start) {
    std::lock_guard lock(gClockMutex);
    gVirtual = true;
    gVirtualNow = start;
}

void DeviceClock::useSystem() {
    std::lock_guard lock(gClockMutex);
    gVirtual = false;
}

bool DeviceClock::isVirtual() {
    std::lock_guard lock(gClockMutex);
    return gVirtual;
}

NSDate DeviceClock::now() {
    {
        std::lock_guard lock(gClockMutex);
        if (gVirtual)
            return gVirtualNow;
    }
    return systemNow();
}

void DeviceClock::setVirtualNow(NSDate now) {
    std::lock_guard lock(gClockMutex);
    if (gVirtual)
        gVirtualNow = now;
}
