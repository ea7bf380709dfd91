#include "Startup.h"

#include "DisarmState.h"
#include "HookTable.h"
#include "Outside.h"
#include "foundation/DeviceDlopen.h"
#include "foundation/NotifyCenter.h"
#include "rules/SharedNames.h"

#include <string>

namespace {

constexpr int kLoadNowGlobal = 10; // RTLD_NOW | RTLD_GLOBAL on the device
constexpr NSInteger kStatusBarRightSide = 2;
constexpr const char* kProteanPath = "/Library/MobileSubstrate/DynamicLibraries/Protean.dylib";
constexpr const char* kStatusBar8Path = "/Library/MobileSubstrate/DynamicLibraries/libstatusbar8.dylib";
constexpr const char* kPreferenceBundlePath = "/Library/PreferenceBundles/Hushmark.bundle";

bool fileExists(const char* path) {
    id manager = msg<id>(classNamed("NSFileManager"), "defaultManager");
    return msg<bool>(manager, "fileExistsAtPath:", std::string(path));
}

void loadProtean() {
    if (fileExists(kProteanPath))
        device_dlopen(kProteanPath, kLoadNowGlobal);
}

void createStatusItem(TweakState& state) {
    const char* path = fileExists(kStatusBar8Path)     ? kStatusBar8Path
                       : fileExists(kLibstatusbarPath) ? kLibstatusbarPath
                                                       : nullptr;
    if (!path)
        return;
    device_dlopen(path, kLoadNowGlobal);
    id item = msg<id>(state.statusBarItem.object(), "alloc");
    state.statusItem =
        msg<id>(item, "initWithIdentifier:alignment:", std::string("Hushmark"), kStatusBarRightSide);
    msg(state.statusItem, "setVisible:", false);
    msg(state.statusItem, "setImageName:", std::string("Hushmark"));
}

void detectToggle(TweakState& state) {
    if (fileExists(kFlipswitchLibraryPath))
        state.toggleInstalled = fileExists(kToggleExecutablePath);
}

void loadTitles(TweakState& state) {
    id bundle = msg<id>(classNamed("NSBundle"), "bundleWithPath:", std::string(kPreferenceBundlePath));
    auto localized = [&](const char* key, const char* fallback) {
        if (!bundle)
            return std::string(fallback); // no preference bundle: the English default
        // A key the table lacks comes back as the default; an entry that is empty stays empty.
        return msg<std::string>(bundle, "localizedStringForKey:value:table:", std::string(key),
                                std::string(fallback), std::string("Hushmark"));
    };
    state.snoozeTitle = localized("EDIT_SNOOZE", "Snooze");
    state.okTitle = localized("OK", "OK");
}

} // namespace

void startHushmark(TweakState& state) {
    CFNotificationCenterAddObserver(
        CFNotificationCenterGetDarwinNotifyCenter(), nullptr,
        [&state](CFNotificationCenterRef, const void*, const std::string&) { reloadSettings(state); },
        kSettingsChangedNotification, nullptr, CFNotificationSuspensionBehaviorCoalesce);
    loadProtean();
    createStatusItem(state);
    detectToggle(state);
    loadTitles(state);
    reloadSettings(state);
    installHooks(state);
}
