// A device root's add-ons and its reset: each add-on goes in and comes out file for file, and a
// root laid out anew keeps only its lock file, with the new settings, screen and add-ons.
#include "device/DeviceImage.h"
#include "device/RootLock.h"

#include "foundation/DeviceEnvironment.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace sim {
namespace {

namespace fs = std::filesystem;

class DeviceImageTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "hm-sim-image-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        root_ = pattern;
        fs::remove(root_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    fs::path root_;
};

TEST_F(DeviceImageTest, EachAddOnGoesInAndComesOutAlone) {
    ASSERT_EQ(layDeviceImage(root_, {}), "");
    for (const std::string& name : knownAddons()) {
        SCOPED_TRACE(name);
        ASSERT_EQ(installAddon(root_, name), "");
        EXPECT_EQ(installedAddons(root_), std::vector<std::string>{name});
        ASSERT_EQ(removeAddon(root_, name), "");
        EXPECT_TRUE(installedAddons(root_).empty());
        EXPECT_EQ(removeAddon(root_, name), ""); // gone already: nothing to do
    }
    EXPECT_EQ(installAddon(root_, "cydia"), "unknown add-on \"cydia\"");
    EXPECT_EQ(removeAddon(root_, "../package"), "unknown add-on \"../package\"");
    // The deliverables stay whatever comes and goes.
    EXPECT_TRUE(fs::exists(root_ / "Library/MobileSubstrate/DynamicLibraries/Hushmark.dylib"));
}

TEST_F(DeviceImageTest, ALaidOutAnewRootKeepsOnlyItsLock) {
    DeviceImageOptions before;
    before.addons = {"protean", "flipswitch"};
    ASSERT_EQ(layDeviceImage(root_, before), "");
    const fs::path settings = root_ / "private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";
    std::ofstream(settings) << "<plist/>";
    std::ofstream(root_ / kRootLockFile) << "held by 42";
    std::ofstream(root_ / "stray") << "left by a tool";

    DeviceImageOptions fresh;
    fresh.addons = {"libstatusbar"};
    fresh.locale = "de_DE";
    fresh.timeZone = "Asia/Tokyo";
    fresh.setup = *setupForScreen("375x667");
    ASSERT_EQ(relayDeviceImage(root_, fresh), "");

    EXPECT_FALSE(fs::exists(settings));
    EXPECT_FALSE(fs::exists(root_ / "stray"));
    std::ifstream lock(root_ / kRootLockFile);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(lock), {}), "held by 42");
    EXPECT_EQ(installedAddons(root_), std::vector<std::string>{"libstatusbar"});
    EXPECT_EQ(readDeviceSetup(root_).screen.width, 375);
    DeviceEnvironment::setRoot(root_);
    const PlistDict global = dictionaryWithContentsOfFile(kGlobalPreferencesPath).value_or(PlistDict{});
    EXPECT_EQ(valueForKey(global, "TimeZone").asString(), "Asia/Tokyo");
    EXPECT_EQ(valueForKey(global, "AppleLocale").asString(), "de_DE");
}

} // namespace
} // namespace sim
