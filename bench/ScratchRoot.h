// A device root laid out in the temporary folder for one benchmark program (no flushes to disk:
// it is removed when the program ends).
#pragma once

#include "device/DeviceImage.h"
#include "foundation/DeviceEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

struct ScratchRoot {
    std::filesystem::path path;
    std::string error; // "" when laid out
    explicit ScratchRoot(const std::string& prefix, const sim::DeviceImageOptions& image = {}) {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!mkdtemp(pattern.data()))
            std::abort();
        path = pattern;
        std::filesystem::remove(path); // laid out afresh
        DeviceEnvironment::setRoot(path, RootDurability::Scratch);
        error = sim::layDeviceImage(path, image);
    }
    ~ScratchRoot() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    ScratchRoot(const ScratchRoot&) = delete;
    ScratchRoot& operator=(const ScratchRoot&) = delete;
};
