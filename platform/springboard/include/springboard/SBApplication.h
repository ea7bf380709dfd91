// An application as SpringBoard knows it. `_fireNotification:` delivers one of its fired local
// notifications: not calling it means the notification is not delivered.
#pragma once

#include "objc/runtime.h"

#include <string>

struct SBApplication : NSObject {
    std::string bundleIdentifier_;

    std::string bundleIdentifier() const { return bundleIdentifier_; }
    void fireNotification(id notification);

    static Ref<SBApplication> make(std::string bundleIdentifier);
};
