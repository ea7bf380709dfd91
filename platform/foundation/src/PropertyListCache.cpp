// Dictionaries of device files kept between reads, each read again only when its file may have
// changed (sharedDictionaryWithContentsOfFile in PropertyList.h).
//
// An entry holds its file open with the identity it had when read: device, inode, size, and the
// modification and change times to the nanosecond. One fstat of the held descriptor tells whether
// it is still that file unchanged: a rename over it or its removal drops its link count to 0, a
// write in place moves its change time. File times follow the kernel's coarse clock, so two
// writes within one tick can leave the same times and size: an entry read less than a tick after
// its file's last change is not trusted and reads again, until the file has been quiet that long.
// A new device root starts afresh.
#include "foundation/PropertyList.h"

#include "DeviceRootHandle.h"
#include "PlistGuards.h"
#include "foundation/DeviceFiles.h"

#include <ctime>
#include <map>
#include <mutex>
#include <sys/stat.h>

namespace {

struct Entry {
    std::shared_ptr<const DeviceRootHandle> root; // the root it was read under
    UniqueFd file;
    struct stat read; // the file's identity when read
    bool settled;     // read at least a tick after the file last changed
    std::shared_ptr<const PlistDict> dict;
};

std::mutex gMutex;
std::map<std::string, Entry, std::less<>> gEntries;

bool sameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool unchanged(const Entry& e) {
    struct stat now;
    if (!e.settled || ::fstat(e.file.get(), &now) != 0 || now.st_nlink == 0)
        return false;
    return now.st_dev == e.read.st_dev && now.st_ino == e.read.st_ino && now.st_size == e.read.st_size &&
           sameTime(now.st_mtim, e.read.st_mtim) && sameTime(now.st_ctim, e.read.st_ctim);
}

// Whether a change after `lookedAt` must give the file another change time than it has: the
// coarse clock moves a tick (at most 10 ms) at a time, and a file system keeping whole seconds
// (a change time without nanoseconds) once a second.
bool settledAt(const struct stat& st, const timespec& lookedAt) {
    const double tick = st.st_ctim.tv_nsec == 0 ? 2.0 : 0.05;
    auto seconds = [](const timespec& t) { return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9; };
    return seconds(st.st_ctim) + tick < seconds(lookedAt);
}

} // namespace

std::shared_ptr<const PlistDict> sharedDictionaryWithContentsOfFile(std::string_view devicePath) {
    auto root = currentDeviceRoot();
    std::lock_guard lock(gMutex);
    auto known = gEntries.find(devicePath);
    if (known != gEntries.end()) {
        if (known->second.root == root && unchanged(known->second))
            return known->second.dict;
        gEntries.erase(known);
    }
    timespec lookedAt{};
    ::clock_gettime(CLOCK_REALTIME, &lookedAt);
    UniqueFd file = openDeviceFileForReading(devicePath);
    struct stat st;
    if (!file || ::fstat(file.get(), &st) != 0)
        return nullptr;
    std::shared_ptr<const PlistDict> dict;
    if (auto bytes = readOpenDeviceFile(file.get(), st, kMaxPropertyListBytes)) {
        auto value = propertyListFromBytes(*bytes);
        if (value && value->isDict())
            dict = std::make_shared<const PlistDict>(std::move(value->mutableDict()));
    }
    if (S_ISREG(st.st_mode))
        gEntries.emplace(std::string(devicePath),
                         Entry{root, std::move(file), st, settledAt(st, lookedAt), dict});
    return dict;
}
