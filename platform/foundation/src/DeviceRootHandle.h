// The running device's root, held open: every device path resolves from this descriptor.
#pragma once

#include <filesystem>
#include <memory>

struct DeviceRootHandle {
    std::filesystem::path path; // canonical host path of the root folder
    int fd = -1;                // O_PATH descriptor of it, or -1 when it could not be opened
    bool durable = true;        // whether writes flush to disk (see DeviceEnvironment::setRoot)
    ~DeviceRootHandle();
};

// The current root; none when no root is set. Holding the pointer keeps the descriptor open
// while the root is changed on another thread.
std::shared_ptr<const DeviceRootHandle> currentDeviceRoot();
