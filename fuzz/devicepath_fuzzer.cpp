// Device paths mapped into a scratch root full of links: to "..", to "/", to host paths in and
// out of the root, loops, and one link whose target the input chooses. Checked for every path:
// whatever opens lies inside the root (the kernel's own name for the descriptor says where);
// the kernel's one-call resolution and the component walk agree on what a path names; the
// folder-and-name form never hands back a link or a name that climbs; a host path for messages
// stays under the root.
//
// Input: one byte of flags (bit 0: the next bytes up to a newline are the target of the link
// "/private/var/mobile/f"), then the device path.
#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceFiles.h"
#include "foundation/DeviceRoot.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path gBase, gRoot; // canonical
std::string gFuzzLink;

void check(bool ok, const char* what, std::string_view path) {
    if (!ok) {
        std::fprintf(stderr, "device path rule broken: %s, for the path \"", what);
        for (unsigned char c : path)
            std::fprintf(stderr, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
        std::fprintf(stderr, "\"\n");
        std::abort();
    }
}

std::string whereIs(int fd) {
    char link[64], target[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    ssize_t n = ::readlink(link, target, sizeof target);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

bool insideRoot(const std::string& host) {
    const std::string root = gRoot.string();
    return host == root ||
           (host.size() > root.size() && host.compare(0, root.size(), root) == 0 && host[root.size()] == '/');
}

struct Named {
    bool found = false;
    dev_t dev = 0;
    ino_t ino = 0;
    std::string name;
    bool operator==(const Named&) const = default;
};

Named identity(int fd, std::string name = {}) {
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0)
        return {};
    return {true, st.st_dev, st.st_ino, std::move(name)};
}

Named openAndCheck(std::string_view path) {
    UniqueFd fd = openDeviceFile(path, O_PATH);
    if (fd)
        check(insideRoot(whereIs(fd.get())), "an opened path lies inside the root", path);
    return identity(fd.get());
}

Named folderAndCheck(std::string_view path) {
    auto entry = openDeviceFolderOf(path);
    if (!entry)
        return {};
    check(insideRoot(whereIs(entry->folder.get())), "the folder of a path lies inside the root", path);
    const std::string& name = entry->name;
    check(!name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos,
          "the entry is one plain name", path);
    struct stat st;
    check(::fstatat(entry->folder.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(st.st_mode),
          "the entry handed back is never a link", path);
    return identity(entry->folder.get(), name);
}

void link(const std::string& target, const fs::path& at) {
    fs::remove(at);
    fs::create_symlink(target, at);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // In memory where the machine has it: a disk's file system flushes a file truncated and rewritten.
    std::string pattern = std::filesystem::is_directory("/dev/shm") ? "/dev/shm/hm-fuzz-path-XXXXXX"
                                                                    : "/tmp/hm-fuzz-path-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        std::abort();
    gBase = fs::canonical(pattern.c_str());
    gRoot = gBase / "root";
    if (!createDeviceRootSkeleton(gRoot))
        std::abort();
    fs::create_directories(gBase / "outside" / "dir");
    std::FILE* secret = std::fopen((gBase / "outside" / "secret").c_str(), "w");
    if (secret)
        std::fclose(secret);
    std::FILE* plist = std::fopen((gRoot / "private/var/mobile/Library/Preferences/file.plist").c_str(), "w");
    if (plist)
        std::fclose(plist);
    ::mkfifo((gRoot / "fifo").c_str(), 0644);
    link("..", gRoot / "up");
    link("/", gRoot / "abs");
    link((gBase / "outside").string(), gRoot / "hostout");
    link((gRoot / "private").string(), gRoot / "hostin");
    link("loop", gRoot / "loop");
    link("b", gRoot / "a");
    link("a", gRoot / "b");
    link("../../../..", gRoot / "private/var/mobile/rel");
    link("../../../../outside", gRoot / "private/var/mobile/out");
    link("/var/mobile/Library", gRoot / "private/var/mobile/lib");
    gFuzzLink = (gRoot / "private/var/mobile/f").string();
    link("Library", gFuzzLink);
    DeviceEnvironment::setRoot(gRoot, RootDurability::Scratch);
    static struct Cleanup {
        ~Cleanup() {
            std::error_code ec;
            fs::remove_all(gBase, ec);
        }
    } cleanup;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    if (data[0] & 1) {
        size_t newline = rest.find('\n');
        std::string target(rest.substr(0, newline));
        target = target.substr(0, target.find('\0'));
        rest = newline == std::string_view::npos ? std::string_view{} : rest.substr(newline + 1);
        ::unlink(gFuzzLink.c_str());
        if (!target.empty() && target.size() < 512)
            (void)::symlink(target.c_str(), gFuzzLink.c_str());
    }
    const std::string_view path = rest;

    devicefs_testing::forceComponentWalk(false);
    const Named fast = openAndCheck(path);
    const Named fastFolder = folderAndCheck(path);
    devicefs_testing::forceComponentWalk(true);
    const Named walked = openAndCheck(path);
    const Named walkedFolder = folderAndCheck(path);
    devicefs_testing::forceComponentWalk(false);
    check(fast == walked, "both ways of resolving open the same file", path);
    check(fastFolder == walkedFolder, "both ways of resolving give the same folder and name", path);

    if (auto host = DeviceEnvironment::hostPath(path)) {
        const std::string text = host->string();
        check(insideRoot(text), "a host path lies under the root", path);
        for (const auto& part : *host)
            check(part != "..", "a host path never climbs", path);
    }
    return 0;
}
