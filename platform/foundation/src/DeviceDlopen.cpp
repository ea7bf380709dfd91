// dlopen with device paths and the device's mode bits.
#include "foundation/DeviceDlopen.h"

#include "foundation/Device.h"

#include <dlfcn.h>

namespace {
constexpr int kDeviceRTLD_NOLOAD = 0x10;
constexpr int kDeviceRTLD_NODELETE = 0x80;
} // namespace

int deviceDlopenMode(int deviceMode) {
    int mode = 0;
    if (deviceMode & kDeviceRTLD_NOW) mode |= RTLD_NOW;
    else mode |= RTLD_LAZY; // lazy, or the device's default when neither is given
    if (deviceMode & kDeviceRTLD_GLOBAL) mode |= RTLD_GLOBAL;
    else mode |= RTLD_LOCAL;
    if (deviceMode & kDeviceRTLD_NOLOAD) mode |= RTLD_NOLOAD;
    if (deviceMode & kDeviceRTLD_NODELETE) mode |= RTLD_NODELETE;
    return mode;
}

void* device_dlopen(std::string_view devicePath, int deviceMode) {
    auto host = Device::hostPath(devicePath);
    if (!host) return nullptr;
    return ::dlopen(host->c_str(), deviceDlopenMode(deviceMode));
}
