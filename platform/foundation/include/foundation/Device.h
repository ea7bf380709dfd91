// The device the process runs: its root folder, and the settings a device keeps there.
//
// Device paths are absolute paths as the device spells them; they map into the root folder.
// Links inside the root resolve as if the root were "/" ("var" links to "private/var"); a path
// or link that would leave the root is refused.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class Device {
  public:
    static void setRoot(std::filesystem::path root);
    static std::filesystem::path root();
    // The host path for a device path, or none when there is no root, the path is not absolute,
    // or it (or a link on the way) would leave the root.
    static std::optional<std::filesystem::path> hostPath(std::string_view devicePath);

    // From "/private/var/mobile/Library/Preferences/.GlobalPreferences.plist".
    static std::string locale();                         // "AppleLocale", default "en_US"
    static std::vector<std::string> preferredLanguages(); // "AppleLanguages", default {"en"}
    static std::string timeZone();                       // "TimeZone" (Olson name), default "UTC"
};

inline constexpr const char* kGlobalPreferencesPath = "/private/var/mobile/Library/Preferences/.GlobalPreferences.plist";
