#include "device/TemporaryRoot.h"

#include "foundation/DeviceEnvironment.h"

#include <cstdlib>
#include <linux/magic.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace sim {
namespace fs = std::filesystem;

namespace {

bool isRoomyMemoryFolder(const fs::path& folder) {
    struct statfs kind;
    struct statvfs space;
    if (::statfs(folder.c_str(), &kind) != 0 || (kind.f_type != TMPFS_MAGIC && kind.f_type != RAMFS_MAGIC))
        return false;
    if (::statvfs(folder.c_str(), &space) != 0 || (space.f_flag & ST_RDONLY))
        return false;
    // ramfs reports no size at all: it grows as it is filled.
    const bool sized = space.f_blocks != 0;
    if (sized && static_cast<unsigned long long>(space.f_bavail) * space.f_frsize < kTemporaryRootRoom)
        return false;
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

} // namespace

fs::path temporaryRootsFolder(const fs::path& memory) {
    const char* chosen = std::getenv("TMPDIR");
    std::error_code ec;
    fs::path temporary = fs::temp_directory_path(ec); // TMPDIR when it names a folder, else /tmp
    if (ec)
        temporary = "/tmp";
    if (chosen && *chosen && !ec)
        return temporary;
    return isRoomyMemoryFolder(memory) ? memory : temporary;
}

fs::path makeTemporaryRoot() {
    std::string pattern = (temporaryRootsFolder() / "hushmark-device-XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return {};
    std::error_code ec;
    fs::remove(pattern, ec); // laid out afresh
    // Deleted after the run: its writes need no flush to disk (a kill still leaves whole files).
    // The root remembers it when it is set again.
    DeviceEnvironment::setRoot(pattern, RootDurability::Scratch);
    return pattern;
}

} // namespace sim
