// A fresh device root for one test: a temporary folder laid out like an installed device (the
// package's deliverables from ${HM_PACKAGE_DIR}, the chosen add-ons from ${HM_ADDONS_DIR},
// "var" linking to "private/var", an empty Preferences folder), made the running device's root,
// with the virtual clock started at a fixed moment. The folder goes away with the fixture.
//
//   DeviceRootFixture device({"libstatusbar8", "flipswitch", "hushmarkfs"});
//   device.hostPath("/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist");
//
// Add-on names are the folders of ${HM_ADDONS_DIR}: libstatusbar8, libstatusbar, flipswitch,
// hushmarkfs, protean.
#pragma once

#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceClock.h"
#include "foundation/DeviceRoot.h"
#include "foundation/NSDate.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#ifndef HM_PACKAGE_DIR
#error "HM_PACKAGE_DIR must name the package staging folder (hm_test defines it)"
#endif
#ifndef HM_ADDONS_DIR
#error "HM_ADDONS_DIR must name the add-ons staging folder (hm_test defines it)"
#endif

class DeviceRootFixture {
  public:
    // Monday 2026-12-07 08:00:00 UTC.
    static constexpr double kStart = 818323200.0;

    struct Options {
        std::vector<std::string> addons;
        bool package = true;      // copy the deliverables
        bool virtualClock = true; // start the virtual clock at `start`
        NSDate start = NSDate{kStart};
    };

    // A bare root: no add-ons, no deliverables, the real clock.
    static Options bare() { return Options{.addons = {}, .package = false, .virtualClock = false}; }

    explicit DeviceRootFixture(std::vector<std::string> addons = {})
        : DeviceRootFixture(Options{std::move(addons)}) {}
    explicit DeviceRootFixture(const Options& options) {
        std::string pattern = (std::filesystem::temp_directory_path() / "hm-device-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            throw std::runtime_error("cannot create a temporary device root");
        root_ = pattern;
        if (!createDeviceRootSkeleton(root_))
            throw std::runtime_error("cannot lay out the device root");
        if (options.package)
            copyTree(packageDir());
        for (const auto& addon : options.addons)
            installAddon(addon);
        DeviceEnvironment::setRoot(root_, RootDurability::Scratch); // gone after the test: no flush to disk
        if (options.virtualClock)
            DeviceClock::useVirtual(options.start);
    }
    ~DeviceRootFixture() {
        std::error_code ec;
        std::filesystem::remove_all(root_, ec);
    }
    DeviceRootFixture(const DeviceRootFixture&) = delete;
    DeviceRootFixture& operator=(const DeviceRootFixture&) = delete;

    static std::filesystem::path packageDir() { return HM_PACKAGE_DIR; }
    static std::filesystem::path addonsDir() { return HM_ADDONS_DIR; }

    const std::filesystem::path& root() const { return root_; }
    // The host path of a device path ("/Library/…" → "<root>/Library/…"), links not followed.
    std::filesystem::path hostPath(std::string_view devicePath) const {
        return root_ / std::filesystem::path(devicePath).relative_path();
    }

    // Installs an add-on (a folder of ${HM_ADDONS_DIR}); fails loudly when it was not built.
    void installAddon(const std::string& name) {
        const auto source = addonsDir() / name;
        if (!std::filesystem::is_directory(source))
            throw std::runtime_error("add-on not staged: " + source.string() + " (build hm_addons)");
        copyTree(source);
    }
    // Removes a file or folder at a device path.
    void remove(std::string_view devicePath) { std::filesystem::remove_all(hostPath(devicePath)); }
    // Writes a file at a device path, creating its folders.
    void writeFile(std::string_view devicePath, std::string_view contents) {
        const auto path = hostPath(devicePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << contents;
    }

  private:
    void copyTree(const std::filesystem::path& source) {
        namespace fs = std::filesystem;
        if (!fs::is_directory(source))
            return;
        fs::copy(source, root_,
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing |
                     fs::copy_options::copy_symlinks);
    }

    std::filesystem::path root_;
};

// No package, no add-ons, the clock left as it is.
inline const DeviceRootFixture::Options kBareRoot{.addons = {}, .package = false, .virtualClock = false};
