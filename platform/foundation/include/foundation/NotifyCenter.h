// The Darwin notify center: names without payload, delivered asynchronously on the main run loop.
#pragma once

#include <functional>
#include <string>

struct NotifyCenter;
using CFNotificationCenterRef = NotifyCenter*;

enum CFNotificationSuspensionBehavior {
    CFNotificationSuspensionBehaviorDrop = 1,
    CFNotificationSuspensionBehaviorCoalesce = 2,
    CFNotificationSuspensionBehaviorHold = 3,
    CFNotificationSuspensionBehaviorDeliverImmediately = 4,
    // Short spellings of the same values.
    Drop = 1,
    Coalesce = 2,
    Hold = 3,
    DeliverImmediately = 4,
};

using CFNotificationCallback =
    std::function<void(CFNotificationCenterRef center, const void* observer, const std::string& name)>;

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// With coalesce, several posts before a delivery make one call.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, const std::string& name,
                                     const void* object, CFNotificationSuspensionBehavior suspensionBehavior);
// Removes the observer's registration for `name` (every name when `name` is empty).
void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        const std::string& name, const void* object);
void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer);
// Thread-safe. Each matching observer is called later, on the main run loop.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const std::string& name,
                                          const void* object, const void* userInfo, bool deliverImmediately);
