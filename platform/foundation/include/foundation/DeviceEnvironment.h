// The device environment the process runs in: its root folder, and the system settings a device
// keeps there (locale, languages, time zone).
//
// Device paths are absolute paths as the device spells them; they map into the root folder.
// Links inside the root resolve as if the root were "/" ("var" links to "private/var"); a path
// or link that would leave the root is refused. Files are opened through foundation/DeviceFiles.h.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Whether writes to the device's files must survive a power cut, not only a crash.
//  Kept:    a device root that outlives the process (one laid out by `init` and run again).
//           Atomic writes flush the new file and its folder to disk before and after the rename.
//  Scratch: a root made for one run and deleted after it (the tests' roots, a simulator run
//           without a root of its own): nothing in it outlives a power cut anyway, so writes
//           skip the flushes. A write is still atomic: a reader, or a writer killed half-way,
//           sees the old file or the new one, never a part, since that takes only the rename.
enum class RootDurability { Kept, Scratch };

class DeviceEnvironment {
  public:
    // Without a durability: the one this root was last set with, else Kept.
    static void setRoot(std::filesystem::path root, std::optional<RootDurability> durability = std::nullopt);
    static std::filesystem::path root();
    static bool writesAreDurable();
    // The host path for a device path, for messages and tools (the system opens files through
    // foundation/DeviceFiles.h, never by host path); none when there is no root, the path is not
    // absolute, or it (or a link on the way) would leave the root.
    static std::optional<std::filesystem::path> hostPath(std::string_view devicePath);

    // From "/private/var/mobile/Library/Preferences/.GlobalPreferences.plist".
    static std::string locale();                          // "AppleLocale", default "en_US"
    static std::vector<std::string> preferredLanguages(); // "AppleLanguages", default {"en"}
    static std::string timeZone();                        // "TimeZone" (Olson name), default "UTC"
};

inline constexpr const char* kGlobalPreferencesPath =
    "/private/var/mobile/Library/Preferences/.GlobalPreferences.plist";
