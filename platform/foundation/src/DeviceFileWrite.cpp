// Whole-file writes at device paths (see writeDeviceFile in DeviceFiles.h).
#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceFiles.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Temporary names tried in turn; more are taken only while other writers hold the first ones.
constexpr int kTemporarySlots = 8;

bool writeAll(int fd, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO; // no progress and no error: give the failure a reason
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool sameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// A temporary at `name`, locked by us and still linked there; invalid when another writer holds
// it, or it is not a plain file of ours (a link, a folder, a FIFO, a second hard link), and
// `refused` set too when the folder takes no new file at all.
UniqueFd takeTemporary(int folder, const std::string& name, bool& refused) {
    UniqueFd fd(::openat(folder, name.c_str(),
                         O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600));
    if (!fd) {
        // A name taken by something we may not write is stepped over; these hold for every name.
        refused =
            errno == EROFS || errno == ENOENT || errno == ENOSPC || errno == ENAMETOOLONG || errno == EDQUOT;
        return fd;
    }
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0)
        return UniqueFd();
    // Locked; but a writer that renamed it away before we locked leaves us holding the live
    // file, so check that the name still leads to what we hold.
    struct stat held, named;
    if (::fstat(fd.get(), &held) != 0 || !S_ISREG(held.st_mode) || held.st_nlink != 1)
        return UniqueFd();
    if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(held, named))
        return UniqueFd();
    if (::ftruncate(fd.get(), 0) != 0)
        return UniqueFd();
    return fd;
}

void syncFolder(int folder) {
    UniqueFd fd(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd)
        ::fsync(fd.get());
}

bool writeAtomically(int folder, const std::string& name, std::string_view bytes) {
    // Keep the old file's permissions; a new file gets the usual 0644.
    struct stat old;
    mode_t mode = ::fstatat(folder, name.c_str(), &old, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(old.st_mode)
                      ? old.st_mode & 07777
                      : 0644;
    const bool durable = DeviceEnvironment::writesAreDurable();
    for (int slot = 0; slot < kTemporarySlots; ++slot) {
        const std::string temporary = "." + name + ".tmp" + std::to_string(slot);
        bool refused = false;
        UniqueFd fd = takeTemporary(folder, temporary, refused);
        if (refused)
            return false;
        if (!fd)
            continue;
        bool ok = ::fchmod(fd.get(), mode) == 0 && writeAll(fd.get(), bytes) &&
                  (!durable || ::fsync(fd.get()) == 0);
        if (ok)
            ok = ::renameat(folder, temporary.c_str(), folder, name.c_str()) == 0;
        if (!ok) {
            const int failure = errno;                // the caller's reason, kept past the clean-up
            ::unlinkat(folder, temporary.c_str(), 0); // still ours: we hold its lock
            errno = failure;
            return false;
        }
        if (durable)
            syncFolder(folder); // makes the rename itself durable
        return true;            // closing releases the lock, on what is now the file itself
    }
    errno = EBUSY; // every temporary name is held by another writer
    return false;
}

bool writeInPlace(int folder, const std::string& name, std::string_view bytes) {
    UniqueFd fd(::openat(folder, name.c_str(),
                         O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644));
    struct stat st;
    if (!fd || ::fstat(fd.get(), &st) != 0)
        return false;
    if (!S_ISREG(st.st_mode)) {
        errno = EINVAL; // a device or a socket: no file to replace
        return false;
    }
    return ::ftruncate(fd.get(), 0) == 0 && writeAll(fd.get(), bytes);
}

} // namespace

bool writeDeviceFile(std::string_view devicePath, std::string_view bytes, bool atomically) {
    auto entry = openDeviceFolderOf(devicePath);
    if (!entry)
        return false;
    return atomically ? writeAtomically(entry->folder.get(), entry->name, bytes)
                      : writeInPlace(entry->folder.get(), entry->name, bytes);
}

std::string deviceFileErrorText(int error) {
    switch (error) {
    case EXDEV:
        return "the path leaves the device";
    case EINVAL:
        return "not a device path, or not a regular file";
    case EBUSY:
        return "other writers hold every temporary name";
    default:
        return std::strerror(error);
    }
}
