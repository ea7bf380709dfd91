// A device root laid out like a package install: the deliverables, their filter, resources,
// Info.plist and loader entry at their device paths, the chosen add-ons, `var` linked to
// `private/var`, an empty Preferences folder, and the device's locale, time zone and preferred
// languages in its global preferences.
#pragma once

#include "device/DeviceSetup.h"

#include <filesystem>
#include <string>
#include <vector>

namespace sim {

struct DeviceImageOptions {
    std::vector<std::string> addons; // names as in a scenario's `addons` line
    std::string locale = "en_US";
    std::string timeZone = "UTC";
    std::vector<std::string> languages{"en"};
    DeviceSetup setup; // screen, missing classes, timer slack
};

// Lays out `root` (created when missing; it must be empty or absent). Returns "" on success,
// else a message saying what went wrong. The staged package and add-ons come from the build.
std::string layDeviceImage(const std::filesystem::path& root, const DeviceImageOptions& options);

// Lays `root` out anew, as a fresh device: everything in it goes (its lock file stays, held by
// this process) and the image is laid out with `options`. "" on success.
std::string relayDeviceImage(const std::filesystem::path& root, const DeviceImageOptions& options);

// Writes the device settings (locale, time zone, languages) into the root's global preferences,
// and the device setup beside them.
std::string writeDeviceSettings(const std::filesystem::path& root, const DeviceImageOptions& options);

// The known add-ons whose every file stands in the root, in the order `knownAddons` lists them.
std::vector<std::string> installedAddons(const std::filesystem::path& root);
// Puts an add-on's files into the root, or takes exactly those files out, as a package manager
// would; "" on success, else what went wrong (an unknown name, a file that cannot be written).
std::string installAddon(const std::filesystem::path& root, const std::string& name);
std::string removeAddon(const std::filesystem::path& root, const std::string& name);

} // namespace sim
