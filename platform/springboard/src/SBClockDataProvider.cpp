#include "springboard/SBClockDataProvider.h"

namespace {
const ClassDef<SBClockDataProvider> kSBClockDataProvider(
    "SBClockDataProvider", "NSObject",
    {
        classMethod("sharedInstance", [](Object*) -> id { return SBClockDataProvider::sharedInstance(); }),
    });
} // namespace

id SBClockDataProvider::sharedInstance() {
    static id* instance = new id(msg<id>(classObject(classOf<SBClockDataProvider>()), "new"));
    return *instance;
}
