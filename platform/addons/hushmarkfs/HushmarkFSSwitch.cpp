// The HushmarkFS switch ("net.vexmoor.hushmarkfs"): Flipswitch's data source for Hushmark.
// Setting it writes the settings file whole and atomically when the state changes what it holds
// (setting it on again during a disarm writes nothing), then posts the settings notification,
// so every reader (the tweak, the Settings pane) picks the state up.
#include "HushmarkFSState.h"

#include "foundation/NSDate.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "objc/runtime.h"

namespace {

struct HushmarkFSSwitch : NSObject {
    NSInteger stateForSwitchIdentifier(std::string) {
        return hushmarkfs::stateOf(
            dictionaryWithContentsOfFile(hushmarkfs::kSettingsPath).value_or(PlistDict{}), NSDate::date());
    }
    void applyStateForSwitchIdentifier(NSInteger state, std::string) {
        if (state != 0 && state != 1)
            return;
        const PlistDict settings =
            dictionaryWithContentsOfFile(hushmarkfs::kSettingsPath).value_or(PlistDict{});
        const PlistDict changed = hushmarkfs::settingsWithState(settings, state, NSDate::date());
        if (changed != settings)
            writeToFile(changed, hushmarkfs::kSettingsPath, true);
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                             hushmarkfs::kSettingsNotification, nullptr, nullptr, true);
    }
};

const ClassDef<HushmarkFSSwitch> kHushmarkFSSwitch(
    "HushmarkFSSwitch", "NSObject",
    {
        method("stateForSwitchIdentifier:", &HushmarkFSSwitch::stateForSwitchIdentifier),
        method("applyState:forSwitchIdentifier:", &HushmarkFSSwitch::applyStateForSwitchIdentifier),
    });

} // namespace
