#include "DeviceRootFixture.h"
#include "foundation/DeviceDlopen.h"
#include "foundation/DeviceFiles.h"
#include "foundation/NSBundle.h"
#include "foundation/NSFileManager.h"
#include "foundation/PropertyList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <map>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Every case runs twice: resolved by the kernel where it can (openat2), and component by component.
class DevicePaths : public testing::TestWithParam<bool> {
  protected:
    void SetUp() override {
        devicefs_testing::forceComponentWalk(GetParam());
        outside_ = root_.root().parent_path() / (root_.root().filename().string() + "-outside");
        fs::create_directories(outside_);
        std::ofstream(outside_ / "secret.plist") << propertyListToXML(PlistDict{{"secret", true}});
        std::ofstream(root_.hostPath("/tmp/inside.plist")) << propertyListToXML(PlistDict{{"inside", true}});
    }
    void TearDown() override {
        devicefs_testing::forceComponentWalk(false);
        fs::remove_all(outside_);
    }

    void link(const std::string& devicePath, const fs::path& target) {
        fs::create_symlink(target, root_.hostPath(devicePath));
    }

    DeviceRootFixture root_{kBareRoot};
    fs::path outside_;
};

TEST_P(DevicePaths, MapIntoTheRootAndFollowVarToPrivateVar) {
    EXPECT_EQ(DeviceEnvironment::hostPath("/"), root_.root());
    EXPECT_EQ(DeviceEnvironment::hostPath("/tmp/inside.plist"), root_.root() / "tmp/inside.plist");
    EXPECT_EQ(DeviceEnvironment::hostPath("/var/mobile/x"), root_.root() / "private/var/mobile/x");
    EXPECT_EQ(DeviceEnvironment::hostPath("//var/./mobile//x/"), root_.root() / "private/var/mobile/x");
    EXPECT_EQ(DeviceEnvironment::hostPath("/var/mobile/../mobile/x"), root_.root() / "private/var/mobile/x");
    EXPECT_EQ(DeviceEnvironment::hostPath("/var/../x"), root_.root() / "private/x")
        << "\"..\" applies after the link, as on a device";
    EXPECT_EQ(DeviceEnvironment::hostPath("/not/yet/there.plist"), root_.root() / "not/yet/there.plist");
}

TEST_P(DevicePaths, RefuseRelativePathsAndPathsWithoutARoot) {
    EXPECT_EQ(DeviceEnvironment::hostPath("tmp/inside.plist"), std::nullopt);
    EXPECT_EQ(DeviceEnvironment::hostPath(""), std::nullopt);
    DeviceEnvironment::setRoot({});
    EXPECT_EQ(DeviceEnvironment::hostPath("/tmp/inside.plist"), std::nullopt);
    EXPECT_FALSE(fileExistsAtPath("/tmp/inside.plist"));
}

TEST_P(DevicePaths, DotDotAboveTheRootIsRefused) {
    std::string up = "/../" + outside_.filename().string() + "/secret.plist";
    for (const std::string& path :
         {up, "/tmp/../../" + outside_.filename().string() + "/secret.plist",
          "/var/../../../" + outside_.filename().string() + "/secret.plist", std::string("/..")}) {
        EXPECT_EQ(DeviceEnvironment::hostPath(path), std::nullopt) << path;
        EXPECT_EQ(dictionaryWithContentsOfFile(path), std::nullopt) << path;
        EXPECT_FALSE(fileExistsAtPath(path)) << path;
        EXPECT_FALSE(writeToFile(PlistDict{{"x", 1}}, path, true)) << path;
    }
    EXPECT_EQ(fs::file_size(outside_ / "secret.plist"),
              propertyListToXML(PlistDict{{"secret", true}}).size());
}

TEST_P(DevicePaths, RelativeLinksClimbingOutAreRefused) {
    link("/tmp/escape", "../../" + outside_.filename().string());
    link("/tmp/escape-file.plist", "../../" + outside_.filename().string() + "/secret.plist");
    EXPECT_EQ(DeviceEnvironment::hostPath("/tmp/escape/secret.plist"), std::nullopt);
    EXPECT_EQ(dictionaryWithContentsOfFile("/tmp/escape-file.plist"), std::nullopt);
    EXPECT_FALSE(fileExistsAtPath("/tmp/escape-file.plist"));
    EXPECT_FALSE(writeToFile(PlistDict{{"x", 1}}, "/tmp/escape/new.plist", true));
    EXPECT_FALSE(fs::exists(outside_ / "new.plist"));
}

TEST_P(DevicePaths, AbsoluteLinksCountFromTheDeviceRoot) {
    link("/tmp/abs-outside.plist", outside_ / "secret.plist"); // a host path: means root/<that path>
    link("/tmp/abs-device.plist", "/tmp/inside.plist");        // a device path
    link("/tmp/abs-host-inside.plist", root_.root() / "tmp/inside.plist");
    EXPECT_EQ(dictionaryWithContentsOfFile("/tmp/abs-outside.plist"), std::nullopt);
    EXPECT_EQ(DeviceEnvironment::hostPath("/tmp/abs-outside.plist"),
              root_.root() / (outside_ / "secret.plist").relative_path());
    EXPECT_EQ(dictionaryWithContentsOfFile("/tmp/abs-device.plist"), (PlistDict{{"inside", true}}));
    EXPECT_EQ(dictionaryWithContentsOfFile("/tmp/abs-host-inside.plist"), (PlistDict{{"inside", true}}));
}

TEST_P(DevicePaths, LinkLoopsAreRefused) {
    link("/tmp/a", "b");
    link("/tmp/b", "a");
    EXPECT_EQ(DeviceEnvironment::hostPath("/tmp/a/x"), std::nullopt);
}

TEST_P(DevicePaths, FileManagerAnswersByDevicePath) {
    id manager = msg<id>(classObject(objc_getClass("NSFileManager")), "defaultManager");
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager, msg<id>(classObject(objc_getClass("NSFileManager")), "defaultManager"));
    EXPECT_TRUE(msg<bool>(manager, "fileExistsAtPath:", "/tmp/inside.plist"));
    EXPECT_TRUE(msg<bool>(manager, "fileExistsAtPath:", "/var/mobile/Library/Preferences"));
    EXPECT_FALSE(msg<bool>(manager, "fileExistsAtPath:", "/tmp/missing.plist"));
}

TEST_P(DevicePaths, ANulInThePathRefusesIt) {
    // "/..\0x" once mapped to the root's parent: the host call stops at the NUL, after "..".
    for (std::string_view path : {std::string_view("/..\0x", 5), std::string_view("/tmp/inside.plist\0", 18),
                                  std::string_view("/\0", 2)}) {
        EXPECT_EQ(DeviceEnvironment::hostPath(path), std::nullopt);
        EXPECT_FALSE(openDeviceFile(path, O_RDONLY));
        EXPECT_EQ(dictionaryWithContentsOfFile(path), std::nullopt);
        EXPECT_FALSE(fileExistsAtPath(path));
        EXPECT_FALSE(writeToFile(PlistDict{{"x", 1}}, path, true));
        EXPECT_TRUE(contentsOfDeviceDirectory(path).empty());
    }
}

TEST_P(DevicePaths, EveryWayInFollowsLinksInsideAndRefusesOnesOut) {
    link("/tmp/out", "../../" + outside_.filename().string());
    link("/tmp/out-abs", outside_);
    link("/tmp/in", "../private/var/mobile");
    fs::create_directories(outside_ / "Outside.bundle");
    std::ofstream(outside_ / "Outside.bundle/Info.plist")
        << propertyListToXML(PlistDict{{"CFBundleIdentifier", "x"}});
    for (const char* out : {"/tmp/out", "/tmp/out-abs"}) {
        const std::string o = out;
        EXPECT_EQ(readDeviceFile(o + "/secret.plist", 1 << 20), std::nullopt) << o;
        EXPECT_EQ(deviceFileKind(o + "/secret.plist"), DeviceFileKind::Missing) << o;
        EXPECT_TRUE(contentsOfDeviceDirectory(o).empty()) << o;
        EXPECT_EQ(NSBundle::bundleWithPath(o + "/Outside.bundle"), nullptr) << o;
        EXPECT_FALSE(writeToFile(PlistDict{{"x", 1}}, o + "/new.plist", true)) << o;
        EXPECT_FALSE(writeToFile(PlistDict{{"x", 1}}, o + "/new.plist", false)) << o;
    }
    EXPECT_FALSE(fs::exists(outside_ / "new.plist"));
    EXPECT_EQ(deviceFileKind("/tmp/in"), DeviceFileKind::Directory);
    EXPECT_EQ(contentsOfDeviceDirectory("/tmp/in"), std::vector<std::string>{"Library"});
    ASSERT_TRUE(writeToFile(PlistDict{{"x", 1}}, "/tmp/in/Library/Preferences/through-a-link.plist", true));
    EXPECT_TRUE(
        fs::is_regular_file(root_.hostPath("/private/var/mobile/Library/Preferences/through-a-link.plist")));
}

TEST_P(DevicePaths, AWriteThroughALinkInTheLastPlaceReplacesTheFileItNames) {
    link("/tmp/alias.plist", "/tmp/inside.plist");
    ASSERT_TRUE(writeToFile(PlistDict{{"new", true}}, "/tmp/alias.plist", true));
    EXPECT_TRUE(fs::is_symlink(root_.hostPath("/tmp/alias.plist")));
    EXPECT_EQ(dictionaryWithContentsOfFile("/tmp/inside.plist"), (PlistDict{{"new", true}}));
}

// A folder on the way swapped for a link out of the root, again and again, while every way in
// reads and writes through it: nothing may ever reach the outside.
TEST_P(DevicePaths, AFolderSwappedForALinkOutNeverLeadsOut) {
    fs::create_directories(root_.hostPath("/tmp/swap"));
    fs::create_directories(outside_ / "Outside.bundle");
    std::ofstream(outside_ / "Outside.bundle/Info.plist")
        << propertyListToXML(PlistDict{{"CFBundleIdentifier", "x"}});
    fs::copy_file(HM_TEST_PLUGIN, outside_ / "plugin.dylib");
    const fs::path dir = root_.hostPath("/tmp/swap"), relative = root_.hostPath("/tmp/link-relative"),
                   absolute = root_.hostPath("/tmp/link-absolute");
    fs::create_symlink("../../" + outside_.filename().string(), relative);
    fs::create_symlink(outside_, absolute);

    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        // Exchanges the folder's name with a link's, atomically, back and forth.
        for (unsigned i = 0; !stop.load(); ++i) {
            const fs::path& other = (i / 2) % 2 ? relative : absolute;
            ::renameat2(AT_FDCWD, dir.c_str(), AT_FDCWD, other.c_str(), RENAME_EXCHANGE);
        }
    });
    const std::vector<std::pair<const char*, std::function<bool()>>> ways = {
        {"read", [] { return dictionaryWithContentsOfFile("/tmp/swap/secret.plist").has_value(); }},
        {"exists", [] { return fileExistsAtPath("/tmp/swap/secret.plist"); }},
        {"bundle", [] { return NSBundle::bundleWithPath("/tmp/swap/Outside.bundle") != nullptr; }},
        {"dlopen", [] { return device_dlopen("/tmp/swap/plugin.dylib", 10) != nullptr; }},
        {"list",
         [] {
             auto names = contentsOfDeviceDirectory("/tmp/swap");
             return std::find(names.begin(), names.end(), "plugin.dylib") != names.end();
         }},
        {"write",
         [] {
             return writeToFile(PlistDict{{"x", 1}}, "/tmp/swap/new.plist", true) && false;
         }},
        {"write in place",
         [] {
             return writeToFile(PlistDict{{"x", 1}}, "/tmp/swap/new.plist", false) && false;
         }},
    };
    std::map<std::string, int> escapes;
    for (int round = 0; round < 1500; ++round)
        for (const auto& [name, way] : ways)
            if (way())
                ++escapes[name];
    stop = true;
    swapper.join();
    EXPECT_TRUE(escapes.empty()) << escapes.size() << " ways led out, the first " << escapes.begin()->first
                                 << " (" << escapes.begin()->second << " times)";
    EXPECT_FALSE(fs::exists(outside_ / "new.plist")) << "a write landed outside the root";
    for (const auto& entry : fs::directory_iterator(outside_))
        EXPECT_TRUE(entry.path().filename().string().rfind(".new.plist", 0) != 0)
            << "a temporary landed outside";
}

INSTANTIATE_TEST_SUITE_P(Resolution, DevicePaths, testing::Bool(),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "ComponentWalk" : "Kernel";
                         });

TEST(DeviceFiles, ReadsOnlyRegularFilesWithoutBlockingAndWithinTheLimit) {
    DeviceRootFixture root{kBareRoot};
    ASSERT_EQ(::mkfifo(root.hostPath("/tmp/fifo").c_str(), 0644), 0);
    EXPECT_EQ(readDeviceFile("/tmp/fifo", 100), std::nullopt) << "returns at once: no writer is needed";
    EXPECT_EQ(deviceFileKind("/tmp/fifo"), DeviceFileKind::Other);
    EXPECT_EQ(readDeviceFile("/tmp", 100), std::nullopt);
    std::ofstream(root.hostPath("/tmp/ten")) << "0123456789";
    EXPECT_EQ(readDeviceFile("/tmp/ten", 10), "0123456789");
    EXPECT_EQ(readDeviceFile("/tmp/ten", 9), std::nullopt);
    std::ofstream(root.hostPath("/tmp/empty"));
    EXPECT_EQ(readDeviceFile("/tmp/empty", 10), "");
    EXPECT_FALSE(writeToFile(PlistDict{{"x", 1}}, "/tmp/fifo", false)) << "nothing written into a FIFO";
}

} // namespace
