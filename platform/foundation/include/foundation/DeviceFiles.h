// Files at device paths, opened without ever leaving the device root.
//
// A device path is resolved once, into an open file descriptor, and used through it: nothing
// re-walks the path later, so a folder swapped for a link between a check and a use cannot send
// a read or a write outside the root. Links inside the root resolve as if the root were "/" (an
// absolute target counts from the root, "var" leads to "private/var"); ".." above the root, a
// NUL in the path, or more than 40 links on the way refuse the path.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct stat;

// An owned file descriptor, closed when it goes.
class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept;
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    ~UniqueFd();

    int get() const { return fd_; }
    int release();
    explicit operator bool() const { return fd_ >= 0; }

  private:
    int fd_ = -1;
};

// Opens what a device path names, following links inside the root; `flags` as for open(2)
// (O_CLOEXEC is added; O_CREAT is not supported here: create through openDeviceFolderOf).
// Invalid (errno set) when the path is refused, missing or cannot be opened.
UniqueFd openDeviceFile(std::string_view devicePath, int flags);

// The folder holding the entry a device path names, and the entry's name in it, for creating,
// replacing or removing the entry. A link in the last place is followed too, so a write reaches
// the file the link names, as it would on the device. None when the path is refused or its
// folder is missing.
struct DeviceFolderEntry {
    UniqueFd folder;
    std::string name;
};
std::optional<DeviceFolderEntry> openDeviceFolderOf(std::string_view devicePath);

enum class DeviceFileKind { Missing, Regular, Directory, Other };
DeviceFileKind deviceFileKind(std::string_view devicePath);

// The bytes of the regular file at a device path, at most `limit` of them. None when the path is
// refused, missing, not a regular file (a folder, a FIFO or a device: opened without blocking and
// then refused), longer than `limit`, or unreadable.
std::optional<std::string> readDeviceFile(std::string_view devicePath, std::size_t limit);
// The two halves of readDeviceFile, for a reader that looks at the open file before reading it:
// the open (read-only, without blocking), and the read of an open file whose fstat is `st`.
UniqueFd openDeviceFileForReading(std::string_view devicePath);
std::optional<std::string> readOpenDeviceFile(int fd, const struct stat& st, std::size_t limit);

// The names in the folder at a device path ("." and ".." left out), in the folder's order; empty
// when it is missing or not a folder.
std::vector<std::string> contentsOfDeviceDirectory(std::string_view devicePath);

// Writes `bytes` as the whole file at a device path. Atomically: into a temporary file beside
// it (".<name>.tmp<N>", held under an exclusive lock while written), then renamed over it, so a
// reader in any process, or a writer killed at any moment, leaves the old file or the new one,
// never a part. A writer that dies leaves its temporary behind; the next write takes the same
// name over (its lock died with it), so leftovers never pile up. On a root whose writes are
// durable (DeviceEnvironment::writesAreDurable) the new file is flushed to disk before the rename and the
// folder after it. Not atomically: truncated and written in place. False on any failure, the
// old file left as it was (the target must be a regular file or missing), with errno giving the
// reason (deviceFileErrorText reads it).
bool writeDeviceFile(std::string_view devicePath, std::string_view bytes, bool atomically);

// The reason for a failed device-file call, from the errno it left: the system's text ("Not a
// directory", "Read-only file system"), or ours where errno alone would mislead (a path that
// leaves the device root fails with EXDEV, not "Invalid cross-device link").
std::string deviceFileErrorText(int error);

namespace devicefs_testing {
// Resolve component by component even where the kernel offers a one-call resolution, so tests
// cover both ways on any kernel.
void forceComponentWalk(bool force);
bool kernelResolvesBeneath();
} // namespace devicefs_testing
