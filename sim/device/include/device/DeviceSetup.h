// What a device root says about the hardware and system it stands for, beyond the user's
// settings: the screen (points and scale), SpringBoard classes its system lacks (as older or
// newer systems do), and how early `PCSimpleTimer` may fire ("at or near the date").
// `hushmark-sim init` writes it; a device reads it when it starts. Kept in the root's
// "/.hushmark-sim-device.plist", outside what the device's own code reads.
#pragma once

#include "coregraphics/CGGeometry.h"
#include "device/Names.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct DeviceSetup {
    CGSize screen{320, 568};
    double scale = 2;
    std::vector<std::string> springboardWithout; // class names
    double timerSlack = 0;                       // seconds a timer may fire before its date

    bool operator==(const DeviceSetup&) const = default;
};

// The setup of a screen named in knownScreens() (device/Names.h), over `base`.
std::optional<DeviceSetup> setupForScreen(const std::string& widthByHeight, DeviceSetup base = {});
// The longest timer slack a device takes (a day).
inline constexpr double kMaxTimerSlack = 86400;

// "" when written, else what went wrong.
std::string writeDeviceSetup(const std::filesystem::path& root, const DeviceSetup& setup);
// The defaults when the root holds none.
DeviceSetup readDeviceSetup(const std::filesystem::path& root);

} // namespace sim
