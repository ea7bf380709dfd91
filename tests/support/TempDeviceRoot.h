// A fresh device root in a temporary folder for one test: the standard skeleton, set as the
// process's device root, removed again at the end.
#pragma once

#include "foundation/Device.h"
#include "foundation/DeviceRoot.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

class TempDeviceRoot {
  public:
    TempDeviceRoot() {
        std::string pattern = (std::filesystem::temp_directory_path() / "hm-device-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        if (!createDeviceRootSkeleton(path_)) throw std::runtime_error("device root skeleton failed");
        Device::setRoot(path_);
    }
    ~TempDeviceRoot() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDeviceRoot(const TempDeviceRoot&) = delete;
    TempDeviceRoot& operator=(const TempDeviceRoot&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The host path of a device path inside this root (no link resolution).
    std::filesystem::path host(const std::string& devicePath) const { return path_ / devicePath.substr(1); }

  private:
    std::filesystem::path path_;
};
