// The fixture both browser-device suites start from: a fresh device root, the device booted on
// Hushmark's Settings page at 2026-12-07 06:59:00 UTC, and its host; the server is the suite's.
#pragma once

#include "DeviceHost.h"
#include "WebServer.h"

#include "device/DeviceImage.h"
#include "device/LocalTime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace sim::web {

class ServedDeviceTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "hm-sim-web-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        root_ = pattern;
        std::filesystem::remove(root_);
        ASSERT_EQ(layDeviceImage(root_, {}), "");
        device_ = std::make_unique<Device>(
            Device::Options{root_, *dateFromLocal("2026-12-07 06:59:00", "UTC"), false});
        // As `serve` starts: the session's setup read before the boot, which it records.
        const ScenarioSettings setup = sessionSettings(*device_);
        const NSDate start = device_->now();
        ASSERT_EQ(device_->boot(), "");
        ASSERT_EQ(device_->input().openSettings(), "");
        host_ = std::make_unique<DeviceHost>(*device_, "UTC");
        host_->session().beginBooted(setup, start);
        host_->session().record(step::OpenSettings{}, device_->now(), device_->now());
    }
    void TearDown() override {
        server_.reset();
        host_.reset();
        device_.reset();
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }

    std::filesystem::path root_;
    std::unique_ptr<Device> device_;
    std::unique_ptr<DeviceHost> host_;
    std::unique_ptr<WebServer> server_;
};

} // namespace sim::web
