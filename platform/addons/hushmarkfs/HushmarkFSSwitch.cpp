// The HushmarkFS switch ("net.vexmoor.hushmarkfs"): Flipswitch's data source for Hushmark.
// Setting it writes the settings file whole and atomically, then posts the settings
// notification, so every reader (the tweak, the Settings pane) picks the change up.
#include "HushmarkFSState.h"

#include "foundation/NSDate.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "objc/runtime.h"

namespace {

struct HushmarkFSSwitch : NSObject {
    NSInteger stateForSwitchIdentifier(std::string) {
        return hushmarkfs::stateOf(dictionaryWithContentsOfFile(hushmarkfs::kSettingsPath).value_or(PlistDict{}),
                                   NSDate::date());
    }
    void applyStateForSwitchIdentifier(NSInteger state, std::string) {
        if (state != 0 && state != 1) return;
        PlistDict settings = dictionaryWithContentsOfFile(hushmarkfs::kSettingsPath).value_or(PlistDict{});
        writeToFile(hushmarkfs::settingsWithState(std::move(settings), state, NSDate::date()), hushmarkfs::kSettingsPath,
                    true);
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                             hushmarkfs::kSettingsNotification, nullptr, nullptr, true);
    }
};

const ClassDef<HushmarkFSSwitch> kHushmarkFSSwitch("HushmarkFSSwitch", "NSObject", {
    method("stateForSwitchIdentifier:", &HushmarkFSSwitch::stateForSwitchIdentifier),
    method("applyState:forSwitchIdentifier:", &HushmarkFSSwitch::applyStateForSwitchIdentifier),
});

} // namespace
