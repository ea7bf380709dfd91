// Where a run's temporary root goes: the user's TMPDIR when it names a folder, else a memory
// file system when there is one with room, else /tmp.
#include "device/TemporaryRoot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <linux/magic.h>
#include <optional>
#include <string>
#include <sys/statfs.h>

namespace sim {
namespace {

namespace fs = std::filesystem;

bool isMemoryFileSystem(const fs::path& folder) {
    struct statfs kind;
    return ::statfs(folder.c_str(), &kind) == 0 && kind.f_type == TMPFS_MAGIC;
}

TEST(TemporaryRoot, GoesToTheUsersFolderElseToMemoryElseToTmp) {
    if (!isMemoryFileSystem("/dev/shm"))
        GTEST_SKIP() << "this machine has no memory file system at /dev/shm";
    const fs::path own = fs::current_path();
    struct Case {
        const char* name;
        std::optional<std::string> tmpdir;
        fs::path memory;
        fs::path expected;
    } cases[] = {
        {"no TMPDIR, memory at hand", std::nullopt, "/dev/shm", "/dev/shm"},
        {"an empty TMPDIR counts as none", "", "/dev/shm", "/dev/shm"},
        {"TMPDIR chosen", own.string(), "/dev/shm", own},
        {"TMPDIR naming no folder", "/nonexistent-tmpdir", "/dev/shm", "/dev/shm"},
        {"no memory folder", std::nullopt, "/nonexistent-shm", "/tmp"},
        {"a folder of another kind", std::nullopt, "/proc", "/tmp"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.tmpdir)
            ::setenv("TMPDIR", c.tmpdir->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        EXPECT_EQ(temporaryRootsFolder(c.memory), c.expected);
    }
    ::unsetenv("TMPDIR");
}

TEST(TemporaryRoot, IsMadeFreshInTheChosenFolder) {
    ::setenv("TMPDIR", fs::current_path().c_str(), 1);
    const fs::path made = makeTemporaryRoot();
    ::unsetenv("TMPDIR");
    ASSERT_FALSE(made.empty());
    EXPECT_EQ(made.parent_path(), fs::current_path());
    EXPECT_EQ(made.filename().string().rfind("hushmark-device-", 0), 0u) << made;
    EXPECT_FALSE(fs::exists(made)) << "left free for the layout, which wants an empty place";
}

} // namespace
} // namespace sim
