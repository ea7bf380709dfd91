// A simulator device booted for one test: a fresh root under the temporary folder laid out with
// the libstatusbar add-on, the virtual clock at 2026-12-07 06:59 UTC, the given settings written
// before boot (the tweak reads its settings as SpringBoard starts). The root goes away with the
// test.
#pragma once

#include "device/Device.h"
#include "device/DeviceImage.h"
#include "device/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sim {

class BootedSimDevice : public testing::Test {
  protected:
    // Boolean settings written before boot, in order.
    explicit BootedSimDevice(std::vector<std::pair<std::string, bool>> settings)
        : settings_(std::move(settings)) {}

    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "hm-sim-device-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        root_ = pattern;
        std::filesystem::remove(root_);
        DeviceImageOptions options;
        options.addons = {"libstatusbar"};
        ASSERT_EQ(layDeviceImage(root_, options), "");
        device_ = std::make_unique<Device>(
            Device::Options{root_, *dateFromLocal("2026-12-07 06:59:00", "UTC"), false});
        for (const auto& [key, value] : settings_)
            ASSERT_EQ(device_->world().setSetting(key, value), "");
        ASSERT_EQ(device_->boot(), "");
    }
    void TearDown() override {
        device_.reset();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    std::filesystem::path root_;
    std::unique_ptr<Device> device_;

  private:
    std::vector<std::pair<std::string, bool>> settings_;
};

} // namespace sim
