// dlopen at a device path, with the device's mode bits: 1 lazy, 2 now, 4 local, 8 global.
#pragma once

#include <string_view>

inline constexpr int kDeviceRTLD_LAZY = 1;
inline constexpr int kDeviceRTLD_NOW = 2;
inline constexpr int kDeviceRTLD_LOCAL = 4;
inline constexpr int kDeviceRTLD_GLOBAL = 8;

// The host's mode bits for the device's.
int deviceDlopenMode(int deviceMode);
// Loads the shared object; none when the path is outside the root, missing or not loadable.
void* device_dlopen(std::string_view devicePath, int deviceMode);
