#include "springboard/SBApplication.h"

#include "springboard/AlarmActions.h"

namespace {
const ClassDef<SBApplication>
    kSBApplication("SBApplication", "NSObject",
                   {
                       method("bundleIdentifier", &SBApplication::bundleIdentifier),
                       method("_fireNotification:", &SBApplication::fireNotification),
                   });
} // namespace

void SBApplication::fireNotification(id notification) {
    if (AlarmActions* actions = AlarmActions::current())
        actions->deliverNotification(self(), notification);
}

Ref<SBApplication> SBApplication::make(std::string bundleIdentifier) {
    auto app = alloc<SBApplication>();
    app->bundleIdentifier_ = std::move(bundleIdentifier);
    return app;
}
