#include "HushmarkFSState.h"

namespace hushmarkfs {
namespace {

// A "disarmedUntil" date strictly later than `now`.
bool deadlineAhead(const PlistDict& settings, NSDate now) {
    const PlistValue& until = valueForKey(settings, "disarmedUntil");
    return until.isDate() && now.compare(until.asDate()) == NSOrderedAscending;
}

} // namespace

PlistDict settingsWithState(PlistDict settings, NSInteger state, NSDate now) {
    if (state == 1) {
        if (!deadlineAhead(settings, now)) {
            const PlistValue& minutes = valueForKey(settings, "disableForMinutes");
            const double seconds = (minutes.isNone() ? 60.0 : static_cast<double>(minutes.intValue())) * 60.0;
            settings["disarmedUntil"] = now.dateByAddingTimeInterval(seconds);
        }
        settings["enabled"] = true;
    } else if (state == 0) {
        settings.erase("disarmedUntil");
    }
    return settings;
}

NSInteger stateOf(const PlistDict& settings, NSDate now) {
    return valueForKey(settings, "enabled").boolValue() && deadlineAhead(settings, now) ? 1 : 0;
}

} // namespace hushmarkfs
