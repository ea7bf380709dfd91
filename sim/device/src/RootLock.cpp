#include "device/RootLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sim {
namespace fs = std::filesystem;

namespace {

constexpr const char* kLockFile = kRootLockFile;
// Names the descriptor handed across a respring's exec; unset once taken up.
constexpr const char* kHandedOverVariable = "HUSHMARK_SIM_ROOT_LOCK_FD";
constexpr size_t kMaxHolderText = 600;

int gHeld = -1; // the descriptor holding the lock, for the process's life

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// This process's command line, its words joined by spaces, control bytes shown as '?'.
std::string commandLine() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    std::string text(kMaxHolderText, '\0');
    in.read(text.data(), std::streamsize(text.size()));
    text.resize(size_t(in.gcount()));
    while (!text.empty() && text.back() == '\0')
        text.pop_back();
    for (char& c : text)
        if (c == '\0')
            c = ' ';
        else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return text;
}

// The holder's record: its process id on the first line, its command line on the second. At
// best effort: without it (a read-only lock file) the lock still holds, and whoever is refused
// reads "another process".
void recordHolder(int fd) {
    const std::string text = std::to_string(::getpid()) + "\n" + commandLine() + "\n";
    if (::ftruncate(fd, 0) != 0)
        return;
    const ssize_t written = ::pwrite(fd, text.data(), text.size(), 0);
    (void)written;
}

std::string holderOf(int fd) {
    char buffer[kMaxHolderText + 32];
    ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
    std::string text(buffer, n > 0 ? size_t(n) : 0);
    const size_t newline = text.find('\n');
    if (newline == std::string::npos || newline == 0 || text.find_first_not_of("0123456789") != newline)
        return "another process";
    std::string command = text.substr(newline + 1);
    if (!command.empty() && command.back() == '\n')
        command.pop_back();
    for (char& c : command)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return "process " + text.substr(0, newline) + (command.empty() ? "" : " (" + command + ")");
}

// The lock this process held before a respring's exec, when the environment hands one over and
// it is the lock file of `root`; -1 otherwise.
int handedOver(const fs::path& lockPath) {
    const char* named = std::getenv(kHandedOverVariable);
    if (!named)
        return -1;
    char* end = nullptr;
    const long fd = std::strtol(named, &end, 10);
    ::unsetenv(kHandedOverVariable);
    if (end == named || *end != '\0' || fd < 0 || fd > 1 << 20)
        return -1;
    struct stat held, file;
    if (::fstat(int(fd), &held) != 0 || ::stat(lockPath.c_str(), &file) != 0 || !sameFile(held, file))
        return -1;
    // Ours: a lock an open file description holds is granted to it again at once.
    if (::flock(int(fd), LOCK_EX | LOCK_NB) != 0)
        return -1;
    ::fcntl(int(fd), F_SETFD, FD_CLOEXEC);
    return int(fd);
}

} // namespace

std::string lockDeviceRoot(const fs::path& root) {
    const fs::path lockPath = root / kLockFile;
    struct stat wanted;
    if (gHeld >= 0) {
        struct stat held;
        if (::stat(lockPath.c_str(), &wanted) == 0 && ::fstat(gHeld, &held) == 0 && sameFile(held, wanted))
            return "";
    }
    if (int fd = handedOver(lockPath); fd >= 0) {
        gHeld = fd;
        recordHolder(fd); // the new image's command line
        return "";
    }
    int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0644);
    if (fd < 0 && (errno == EROFS || errno == EACCES || errno == EPERM)) {
        fd = ::open(lockPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            return ""; // a root that takes no files: nothing in it can change
    }
    if (fd < 0)
        return "cannot lock the device root " + root.string() + ": " + std::strerror(errno);
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        std::string message =
            error == EWOULDBLOCK
                ? "the device root " + root.string() + " is in use by " + holderOf(fd)
                : "cannot lock the device root " + root.string() + ": " + std::strerror(error);
        ::close(fd);
        return message;
    }
    gHeld = fd; // another root's lock, if one was held, stays held too
    recordHolder(fd);
    return "";
}

void keepRootLockAcrossExec() {
    if (gHeld < 0)
        return;
    ::fcntl(gHeld, F_SETFD, 0);
    ::setenv(kHandedOverVariable, std::to_string(gHeld).c_str(), 1);
}

} // namespace sim
