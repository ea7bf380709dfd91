// The Darwin notify center. Each post queues one delivery per matching observer on the main run
// loop; a coalescing observer with a delivery already queued gets no second one. Nothing here is
// ever suspended, so every behavior (and deliver-immediately) delivers.
#include "foundation/NotifyCenter.h"

#include "foundation/DeviceEvents.h"
#include "foundation/RunLoop.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

struct NotifyCenter {
    struct Registration {
        const void* observer;
        CFNotificationCallback callback;
        std::string name;
        CFNotificationSuspensionBehavior behavior;
        bool pending = false;
        bool removed = false;
    };
    std::mutex mutex;
    std::vector<std::shared_ptr<Registration>> registrations;
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
    static NotifyCenter* center = new NotifyCenter(); // lives as long as the process
    return center;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, const std::string& name, const void*,
                                     CFNotificationSuspensionBehavior behavior) {
    if (!center || !callback)
        return;
    auto r = std::make_shared<NotifyCenter::Registration>();
    r->observer = observer;
    r->callback = std::move(callback);
    r->name = name;
    r->behavior = behavior;
    std::lock_guard lock(center->mutex);
    center->registrations.push_back(std::move(r));
}

void CFNotificationCenterRemoveObserver(CFNotificationCenterRef center, const void* observer,
                                        const std::string& name, const void*) {
    if (!center)
        return;
    std::lock_guard lock(center->mutex);
    auto& regs = center->registrations;
    regs.erase(std::remove_if(regs.begin(), regs.end(),
                              [&](const auto& r) {
                                  bool match = r->observer == observer && (name.empty() || r->name == name);
                                  if (match)
                                      r->removed = true; // a queued delivery must not run
                                  return match;
                              }),
               regs.end());
}

void CFNotificationCenterRemoveEveryObserver(CFNotificationCenterRef center, const void* observer) {
    CFNotificationCenterRemoveObserver(center, observer, "", nullptr);
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, const std::string& name,
                                          const void*, const void*, bool) {
    if (!center)
        return;
    DeviceEvents::record("posted", name);
    std::vector<std::shared_ptr<NotifyCenter::Registration>> deliver;
    {
        std::lock_guard lock(center->mutex);
        for (const auto& r : center->registrations) {
            if (r->name != name)
                continue;
            if (r->behavior == CFNotificationSuspensionBehaviorCoalesce && r->pending)
                continue;
            r->pending = true;
            deliver.push_back(r);
        }
    }
    for (auto& r : deliver) {
        RunLoop::main().post([center, r] {
            CFNotificationCallback callback;
            {
                std::lock_guard lock(center->mutex);
                if (r->removed)
                    return;
                r->pending = false;
                callback = r->callback;
            }
            callback(center, r->observer, r->name);
        });
    }
}
