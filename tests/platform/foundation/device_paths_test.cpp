#include "DeviceRootFixture.h"
#include "foundation/NSFileManager.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

// No package, no add-ons, the clock left as it is.
const DeviceRootFixture::Options kBareRoot{.addons = {}, .package = false, .virtualClock = false};

class DevicePaths : public testing::Test {
  protected:
    void SetUp() override {
        outside_ = root_.root().parent_path() / (root_.root().filename().string() + "-outside");
        fs::create_directories(outside_);
        std::ofstream(outside_ / "secret.plist") << propertyListToXML(PlistDict{{"secret", true}});
        std::ofstream(root_.hostPath("/tmp/inside.plist")) << propertyListToXML(PlistDict{{"inside", true}});
    }
    void TearDown() override { fs::remove_all(outside_); }

    void link(const std::string& devicePath, const fs::path& target) { fs::create_symlink(target, root_.hostPath(devicePath)); }

    DeviceRootFixture root_{kBareRoot};
    fs::path outside_;
};

TEST_F(DevicePaths, MapIntoTheRootAndFollowVarToPrivateVar) {
    EXPECT_EQ(Device::hostPath("/"), root_.root());
    EXPECT_EQ(Device::hostPath("/tmp/inside.plist"), root_.root() / "tmp/inside.plist");
    EXPECT_EQ(Device::hostPath("/var/mobile/x"), root_.root() / "private/var/mobile/x");
    EXPECT_EQ(Device::hostPath("//var/./mobile//x/"), root_.root() / "private/var/mobile/x");
    EXPECT_EQ(Device::hostPath("/var/mobile/../mobile/x"), root_.root() / "private/var/mobile/x");
    EXPECT_EQ(Device::hostPath("/var/../x"), root_.root() / "private/x") << "\"..\" applies after the link, as on a device";
    EXPECT_EQ(Device::hostPath("/not/yet/there.plist"), root_.root() / "not/yet/there.plist");
}

TEST_F(DevicePaths, RefuseRelativePathsAndPathsWithoutARoot) {
    EXPECT_EQ(Device::hostPath("tmp/inside.plist"), std::nullopt);
    EXPECT_EQ(Device::hostPath(""), std::nullopt);
    Device::setRoot({});
    EXPECT_EQ(Device::hostPath("/tmp/inside.plist"), std::nullopt);
    EXPECT_FALSE(fileExistsAtPath("/tmp/inside.plist"));
}

TEST_F(DevicePaths, DotDotAboveTheRootIsRefused) {
    std::string up = "/../" + outside_.filename().string() + "/secret.plist";
    for (const std::string& path : {up, "/tmp/../../" + outside_.filename().string() + "/secret.plist",
                                    "/var/../../../" + outside_.filename().string() + "/secret.plist", std::string("/..")}) {
        EXPECT_EQ(Device::hostPath(path), std::nullopt) << path;
        EXPECT_EQ(dictionaryWithContentsOfFile(path), std::nullopt) << path;
        EXPECT_FALSE(fileExistsAtPath(path)) << path;
        EXPECT_FALSE(writeToFile(PlistDict{{"x", 1}}, path, true)) << path;
    }
    EXPECT_EQ(fs::file_size(outside_ / "secret.plist"), propertyListToXML(PlistDict{{"secret", true}}).size());
}

TEST_F(DevicePaths, RelativeLinksClimbingOutAreRefused) {
    link("/tmp/escape", "../../" + outside_.filename().string());
    link("/tmp/escape-file.plist", "../../" + outside_.filename().string() + "/secret.plist");
    EXPECT_EQ(Device::hostPath("/tmp/escape/secret.plist"), std::nullopt);
    EXPECT_EQ(dictionaryWithContentsOfFile("/tmp/escape-file.plist"), std::nullopt);
    EXPECT_FALSE(fileExistsAtPath("/tmp/escape-file.plist"));
    EXPECT_FALSE(writeToFile(PlistDict{{"x", 1}}, "/tmp/escape/new.plist", true));
    EXPECT_FALSE(fs::exists(outside_ / "new.plist"));
}

TEST_F(DevicePaths, AbsoluteLinksCountFromTheDeviceRoot) {
    link("/tmp/abs-outside.plist", outside_ / "secret.plist"); // a host path: means root/<that path>
    link("/tmp/abs-device.plist", "/tmp/inside.plist");          // a device path
    link("/tmp/abs-host-inside.plist", root_.root() / "tmp/inside.plist");
    EXPECT_EQ(dictionaryWithContentsOfFile("/tmp/abs-outside.plist"), std::nullopt);
    EXPECT_EQ(Device::hostPath("/tmp/abs-outside.plist"), root_.root() / (outside_ / "secret.plist").relative_path());
    EXPECT_EQ(dictionaryWithContentsOfFile("/tmp/abs-device.plist"), (PlistDict{{"inside", true}}));
    EXPECT_EQ(dictionaryWithContentsOfFile("/tmp/abs-host-inside.plist"), (PlistDict{{"inside", true}}));
}

TEST_F(DevicePaths, LinkLoopsAreRefused) {
    link("/tmp/a", "b");
    link("/tmp/b", "a");
    EXPECT_EQ(Device::hostPath("/tmp/a/x"), std::nullopt);
}

TEST_F(DevicePaths, FileManagerAnswersByDevicePath) {
    id manager = msg<id>(classObject(objc_getClass("NSFileManager")), "defaultManager");
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager, msg<id>(classObject(objc_getClass("NSFileManager")), "defaultManager"));
    EXPECT_TRUE(msg<bool>(manager, "fileExistsAtPath:", "/tmp/inside.plist"));
    EXPECT_TRUE(msg<bool>(manager, "fileExistsAtPath:", "/var/mobile/Library/Preferences"));
    EXPECT_FALSE(msg<bool>(manager, "fileExistsAtPath:", "/tmp/missing.plist"));
}

} // namespace
