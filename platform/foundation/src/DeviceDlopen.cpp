// dlopen with device paths and the device's mode bits.
#include "foundation/DeviceDlopen.h"

#include "foundation/DeviceFiles.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {
constexpr int kDeviceRTLD_NOLOAD = 0x10;
constexpr int kDeviceRTLD_NODELETE = 0x80;
} // namespace

int deviceDlopenMode(int deviceMode) {
    int mode = 0;
    if (deviceMode & kDeviceRTLD_NOW)
        mode |= RTLD_NOW;
    else
        mode |= RTLD_LAZY; // lazy, or the device's default when neither is given
    if (deviceMode & kDeviceRTLD_GLOBAL)
        mode |= RTLD_GLOBAL;
    else
        mode |= RTLD_LOCAL;
    if (deviceMode & kDeviceRTLD_NOLOAD)
        mode |= RTLD_NOLOAD;
    if (deviceMode & kDeviceRTLD_NODELETE)
        mode |= RTLD_NODELETE;
    return mode;
}

// The file is opened inside the root first and loaded through its descriptor, so the object
// loaded is the one resolved, whatever happens to the path meanwhile. The loader remembers every
// name a library was asked for ("/proc/self/fd/N", even when it was loaded already): were the
// descriptor closed, its number could come back for another file, and a load under that name
// would be handed the old library. So a descriptor that loaded stays open; there are a few.
void* device_dlopen(std::string_view devicePath, int deviceMode) {
    UniqueFd fd = openDeviceFile(devicePath, O_RDONLY);
    struct stat st;
    if (!fd || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode))
        return nullptr;
    const std::string name = "/proc/self/fd/" + std::to_string(fd.get());
    void* handle = ::dlopen(name.c_str(), deviceDlopenMode(deviceMode));
    if (handle) {
        static std::mutex mutex;
        static std::vector<int> held;
        std::lock_guard lock(mutex);
        held.push_back(fd.release());
    }
    return handle;
}
