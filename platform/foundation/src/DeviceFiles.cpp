// Resolving device paths inside the root, into descriptors.
//
// The fast way is one openat2() call with RESOLVE_BENEATH from the root's descriptor: the kernel
// follows the links and fails with EXDEV on anything that would leave the root, an absolute link
// or a ".." above it. (RESOLVE_IN_ROOT would take absolute links as we do, but it clamps ".." at
// the root silently, where we refuse.) Those cases, and kernels without openat2, take the walk:
// one component at a time from the held descriptor of the folder before it, never following a
// link by name (O_NOFOLLOW, readlinkat), so a swap between steps fails rather than escapes.
#include "foundation/DeviceFiles.h"

#include "DeviceRootHandle.h"
#include "foundation/DeviceEnvironment.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <deque>
#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace fs = std::filesystem;

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = other.release();
    }
    return *this;
}

UniqueFd::~UniqueFd() {
    if (fd_ >= 0)
        ::close(fd_);
}

int UniqueFd::release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
}

namespace {

constexpr int kMaxLinks = 40; // as the kernel's limit on links in one lookup

std::atomic<bool> gForceWalk{false};
std::atomic<bool> gKernelBeneath{true}; // cleared when openat2 turns out to be missing

// The path below the root ("" for the root itself); none when it cannot name a device file.
std::optional<std::string_view> relativePart(std::string_view devicePath) {
    if (devicePath.empty() || devicePath.front() != '/')
        return std::nullopt;
    if (devicePath.find('\0') != std::string_view::npos || devicePath.size() >= PATH_MAX)
        return std::nullopt;
    size_t start = devicePath.find_first_not_of('/');
    return start == std::string_view::npos ? std::string_view{} : devicePath.substr(start);
}

std::deque<std::string> components(std::string_view path) {
    std::deque<std::string> out;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string_view::npos)
            j = path.size();
        if (j > i)
            out.emplace_back(path.substr(i, j - i));
        i = j + 1;
    }
    return out;
}

// openat2 beneath `dir`; -1 with errno EXDEV when the walk must decide, as when the kernel lacks it.
int openBeneath(int dir, std::string_view rel, int flags) {
    if (gForceWalk.load(std::memory_order_relaxed) || !gKernelBeneath.load(std::memory_order_relaxed)) {
        errno = EXDEV;
        return -1;
    }
    std::string path(rel.empty() ? std::string_view(".") : rel);
    open_how how{};
    how.flags = static_cast<uint64_t>(flags | O_CLOEXEC);
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_MAGICLINKS;
    long fd = ::syscall(SYS_openat2, dir, path.c_str(), &how, sizeof how);
    if (fd >= 0)
        return static_cast<int>(fd);
    if (errno == ENOSYS || errno == EPERM || errno == E2BIG || errno == EINVAL) {
        gKernelBeneath.store(false, std::memory_order_relaxed);
        errno = EXDEV;
    } else if (errno == ELOOP || errno == EAGAIN) {
        errno = EXDEV; // the walk gives the same answer, with its own count of links
    }
    return -1;
}

// `target` below `root`, as a path relative to it; none when it lies elsewhere.
std::optional<std::string> insideRoot(const fs::path& target, const fs::path& root) {
    fs::path t = target.lexically_normal();
    auto r = root.begin();
    auto x = t.begin();
    for (; r != root.end(); ++r, ++x) {
        if (r->empty())
            continue; // trailing separator of the root
        if (x == t.end() || *x != *r)
            return std::nullopt;
    }
    fs::path rest;
    for (; x != t.end(); ++x)
        rest /= *x;
    return rest.string();
}

enum class Goal {
    Open,     // the entry itself, opened with the caller's flags
    Folder,   // the folder holding the entry, and its name (a last link followed)
    HostPath, // only the names: missing components are taken as they are written
};

struct Level {
    UniqueFd fd; // -1 for a component that does not exist (HostPath only)
    std::string name;
    bool folder = true;
};

struct WalkResult {
    UniqueFd fd;                    // Open: the entry; Folder: its folder
    std::string name;               // Folder: the entry's name
    std::vector<std::string> names; // HostPath: the components below the root
};

// The component-by-component resolution, the reference for every way of resolving.
std::optional<WalkResult> walk(const DeviceRootHandle& root, std::string_view rel, Goal goal, int flags) {
    std::deque<std::string> pending = components(rel);
    // As for the kernel, a path ending in "/" names a folder ("x/" is "x/.").
    if (goal != Goal::Folder && !rel.empty() && rel.back() == '/')
        pending.emplace_back(".");
    std::vector<Level> levels;
    int links = 0;
    bool missing = false; // past a missing component (HostPath only)
    auto top = [&] { return levels.empty() ? root.fd : levels.back().fd.get(); };
    char target[PATH_MAX];

    while (!pending.empty()) {
        std::string c = std::move(pending.front());
        pending.pop_front();
        if ((c == "." || c == "..") && !levels.empty() && !levels.back().folder && !missing) {
            errno = ENOTDIR; // "file/." and "file/.." name nothing
            return std::nullopt;
        }
        if (c == ".")
            continue;
        if (c == "..") {
            if (levels.empty()) {
                errno = EXDEV;
                return std::nullopt;
            }
            levels.pop_back();
            missing = !levels.empty() && !levels.back().fd;
            continue;
        }
        if (missing) {
            levels.push_back({UniqueFd(), std::move(c)});
            continue;
        }
        ssize_t n = ::readlinkat(top(), c.c_str(), target, sizeof target);
        if (n >= 0) {
            if (++links > kMaxLinks || n == static_cast<ssize_t>(sizeof target)) {
                errno = ELOOP;
                return std::nullopt;
            }
            std::string t(target, static_cast<size_t>(n));
            if (!t.empty() && t.front() == '/') {
                // A link made with the host's absolute path into the root, or a device path.
                if (auto rest = insideRoot(t, root.path))
                    t = "/" + *rest;
                levels.clear();
            }
            std::deque<std::string> more = components(t);
            pending.insert(pending.begin(), more.begin(), more.end());
            continue;
        }
        const bool last = pending.empty();
        if (errno == EINVAL || errno == ENOENT) {
            if (goal == Goal::Folder && last) {
                int folder = ::fcntl(top(), F_DUPFD_CLOEXEC, 0);
                if (folder < 0)
                    return std::nullopt;
                WalkResult out;
                out.fd = UniqueFd(folder);
                out.name = std::move(c);
                return out;
            }
            if (errno == EINVAL) {
                // Not a link. Should it become one before this open, O_NOFOLLOW opens the link
                // itself, which then fails as a folder: a swap refuses, it never escapes.
                int fd = ::openat(top(), c.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
                struct stat st;
                if (fd >= 0 && ::fstat(fd, &st) == 0) {
                    levels.push_back({UniqueFd(fd), std::move(c), S_ISDIR(st.st_mode)});
                    continue;
                }
                if (fd >= 0)
                    ::close(fd);
            }
        }
        if (goal != Goal::HostPath)
            return std::nullopt;
        missing = true;
        levels.push_back({UniqueFd(), std::move(c)});
    }

    WalkResult out;
    switch (goal) {
    case Goal::HostPath:
        for (Level& l : levels)
            out.names.push_back(std::move(l.name));
        return out;
    case Goal::Folder:
        errno = EISDIR;
        return std::nullopt; // the path names the root or ends in ".."
    case Goal::Open: {
        int fd = -1;
        if (levels.empty()) {
            fd = ::openat(root.fd, ".", flags | O_CLOEXEC);
        } else {
            int folder = levels.size() >= 2 ? levels[levels.size() - 2].fd.get() : root.fd;
            fd = ::openat(folder, levels.back().name.c_str(), flags | O_NOFOLLOW | O_CLOEXEC);
        }
        if (fd < 0)
            return std::nullopt;
        out.fd = UniqueFd(fd);
        return out;
    }
    }
    return std::nullopt;
}

std::shared_ptr<const DeviceRootHandle> usableRoot() {
    auto root = currentDeviceRoot();
    if (!root || root->fd < 0) {
        errno = ENOENT;
        return nullptr;
    }
    return root;
}

} // namespace

UniqueFd openDeviceFile(std::string_view devicePath, int flags) {
    auto rel = relativePart(devicePath);
    auto root = usableRoot();
    if (!rel || !root) {
        if (!rel)
            errno = EINVAL;
        return UniqueFd();
    }
    int fd = openBeneath(root->fd, *rel, flags);
    if (fd >= 0)
        return UniqueFd(fd);
    if (errno != EXDEV)
        return UniqueFd();
    auto result = walk(*root, *rel, Goal::Open, flags);
    return result ? std::move(result->fd) : UniqueFd();
}

std::optional<DeviceFolderEntry> openDeviceFolderOf(std::string_view devicePath) {
    auto rel = relativePart(devicePath);
    auto root = usableRoot();
    if (!rel || !root) {
        if (!rel)
            errno = EINVAL;
        return std::nullopt;
    }
    // Fast: the folder in one call, then one look at the entry to see that it is not a link.
    std::string_view path = *rel;
    while (!path.empty() && path.back() == '/')
        path.remove_suffix(1);
    size_t slash = path.rfind('/');
    std::string name(slash == std::string_view::npos ? path : path.substr(slash + 1));
    if (!name.empty() && name != "." && name != "..") {
        int folder = openBeneath(root->fd,
                                 slash == std::string_view::npos ? std::string_view{} : path.substr(0, slash),
                                 O_PATH | O_DIRECTORY);
        if (folder >= 0) {
            UniqueFd held(folder);
            struct stat st;
            if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 ? errno == ENOENT
                                                                               : !S_ISLNK(st.st_mode))
                return DeviceFolderEntry{std::move(held), std::move(name)};
        } else if (errno != EXDEV) {
            return std::nullopt;
        }
    }
    auto result = walk(*root, *rel, Goal::Folder, 0);
    if (!result)
        return std::nullopt;
    return DeviceFolderEntry{std::move(result->fd), std::move(result->name)};
}

std::optional<fs::path> DeviceEnvironment::hostPath(std::string_view devicePath) {
    auto rel = relativePart(devicePath);
    auto root = usableRoot();
    if (!rel || !root)
        return std::nullopt;
    auto result = walk(*root, *rel, Goal::HostPath, 0);
    if (!result)
        return std::nullopt;
    fs::path p = root->path;
    for (const std::string& name : result->names)
        p /= name;
    return p;
}

DeviceFileKind deviceFileKind(std::string_view devicePath) {
    UniqueFd fd = openDeviceFile(devicePath, O_PATH);
    struct stat st;
    if (!fd || ::fstat(fd.get(), &st) != 0)
        return DeviceFileKind::Missing;
    if (S_ISREG(st.st_mode))
        return DeviceFileKind::Regular;
    if (S_ISDIR(st.st_mode))
        return DeviceFileKind::Directory;
    return DeviceFileKind::Other;
}

std::optional<std::string> readDeviceFile(std::string_view devicePath, std::size_t limit) {
    UniqueFd fd = openDeviceFileForReading(devicePath);
    struct stat st;
    if (!fd || ::fstat(fd.get(), &st) != 0)
        return std::nullopt;
    return readOpenDeviceFile(fd.get(), st, limit);
}

UniqueFd openDeviceFileForReading(std::string_view devicePath) {
    // Without blocking: a FIFO or a device opens at once and is then refused for what it is.
    return openDeviceFile(devicePath, O_RDONLY | O_NONBLOCK | O_NOCTTY);
}

std::optional<std::string> readOpenDeviceFile(int fd, const struct stat& st, std::size_t limit) {
    if (!S_ISREG(st.st_mode))
        return std::nullopt;
    if (st.st_size < 0 || static_cast<std::uint64_t>(st.st_size) > limit)
        return std::nullopt;
    // One read of the known size plus one byte tells the end; a file that grew reads on, to the limit.
    std::string bytes(static_cast<size_t>(st.st_size) + 1, '\0');
    size_t done = 0;
    for (;;) {
        ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
        if (done > limit)
            return std::nullopt;
        if (done == bytes.size())
            bytes.resize(std::min(limit + 1, bytes.size() * 2));
    }
    bytes.resize(done);
    return bytes;
}

std::vector<std::string> contentsOfDeviceDirectory(std::string_view devicePath) {
    std::vector<std::string> names;
    UniqueFd fd = openDeviceFile(devicePath, O_RDONLY | O_DIRECTORY);
    if (!fd)
        return names;
    DIR* dir = ::fdopendir(fd.get());
    if (!dir)
        return names;
    fd.release(); // now owned by `dir`
    while (dirent* e = ::readdir(dir)) {
        std::string_view name = e->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

namespace devicefs_testing {
void forceComponentWalk(bool force) {
    gForceWalk.store(force);
}
bool kernelResolvesBeneath() {
    if (!gKernelBeneath.load())
        return false;
    open_how how{};
    how.flags = O_PATH | O_CLOEXEC;
    how.resolve = RESOLVE_BENEATH;
    long fd = ::syscall(SYS_openat2, AT_FDCWD, ".", &how, sizeof how);
    if (fd < 0)
        return false;
    ::close(static_cast<int>(fd));
    return true;
}
} // namespace devicefs_testing
