// The names both deliverables meet through: the settings file, the change notification, the
// Flipswitch toggle, and the files that tell whether an optional add-on is installed.
#pragma once

// The one settings file, as the tweak and the root page reach it.
inline constexpr const char* kSettingsPath =
    "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
// Its domain: the color cell and the "Button Text:" row name the file by it.
inline constexpr const char* kSettingsDomain = "net.vexmoor.hushmark";
// The Darwin notification the pane posts after a write and the tweak rereads the file on.
inline constexpr const char* kSettingsChangedNotification = "net.vexmoor.hushmark.preferences";

// The HushmarkFS toggle: state 1 disarmed, 0 armed. It counts as installed when both files exist.
inline constexpr const char* kToggleIdentifier = "net.vexmoor.hushmarkfs";
inline constexpr const char* kFlipswitchLibraryPath =
    "/Library/MobileSubstrate/DynamicLibraries/Flipswitch.dylib";
inline constexpr const char* kToggleExecutablePath = "/Library/Switches/HushmarkFS.bundle/HushmarkFS";

// libstatusbar: without it there is no status-bar icon to show.
inline constexpr const char* kLibstatusbarPath =
    "/Library/MobileSubstrate/DynamicLibraries/libstatusbar.dylib";
