#include "pane/HushmarkSettingsFile.h"

#include "foundation/NSFileManager.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"

PlistDict loadHushmarkSettings() {
    return dictionaryWithContentsOfFile(kSettingsPath).value_or(PlistDict{});
}

void saveHushmarkSettings(const PlistDict& settings) {
    writeToFile(settings, kSettingsPath, true);
}

bool hushmarkToggleInstalled() {
    return fileExistsAtPath(kFlipswitchLibraryPath) && fileExistsAtPath(kToggleExecutablePath);
}

void postHushmarkNotification() {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         kSettingsChangedNotification, nullptr, nullptr, true);
}

bool tellTweak(NSInteger toggleState) {
    if (!hushmarkToggleInstalled()) {
        postHushmarkNotification();
        return false;
    }
    // Flipswitch is optional: found by name once, on first use, and kept; a missing class makes
    // this call go nowhere.
    static Class* const panelClass = objc_getClass("FSSwitchPanel");
    id panel = panelClass ? msg<id>(classObject(panelClass), "sharedPanel") : nullptr;
    msg(panel, "setState:forSwitchIdentifier:", toggleState, std::string(kToggleIdentifier));
    return true;
}
