#include "HushmarkFSState.h"

namespace hushmarkfs {

PlistDict settingsWithState(PlistDict settings, NSInteger state, NSDate now) {
    if (state == 1) {
        const PlistValue& minutes = valueForKey(settings, "disableForMinutes");
        const double seconds = (minutes.isNone() ? 60.0 : static_cast<double>(minutes.intValue())) * 60.0;
        settings["enabled"] = true;
        settings["disarmedUntil"] = now.dateByAddingTimeInterval(seconds);
    } else if (state == 0) {
        settings.erase("disarmedUntil");
    }
    return settings;
}

NSInteger stateOf(const PlistDict& settings, NSDate now) {
    const PlistValue& until = valueForKey(settings, "disarmedUntil");
    const bool ahead = until.isDate() && now.compare(until.asDate()) == NSOrderedAscending;
    return valueForKey(settings, "enabled").boolValue() && ahead ? 1 : 0;
}

} // namespace hushmarkfs
