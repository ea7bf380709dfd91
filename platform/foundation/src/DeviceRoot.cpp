#include "foundation/DeviceRoot.h"

namespace fs = std::filesystem;

bool createDeviceRootSkeleton(const fs::path& root) {
    std::error_code ec;
    for (const char* folder :
         {"private/var/mobile/Library/Preferences", "private/var/log",
          "Library/MobileSubstrate/DynamicLibraries", "Library/PreferenceBundles",
          "Library/PreferenceLoader/Preferences", "Library/Switches", "System/Library/CoreServices", "tmp"}) {
        fs::create_directories(root / folder, ec);
        if (ec)
            return false;
    }
    // Relative, so the root can move and links resolve the same inside and outside it.
    if (!fs::is_symlink(root / "var", ec))
        fs::create_directory_symlink("private/var", root / "var", ec);
    return !ec;
}
