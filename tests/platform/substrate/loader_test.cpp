#include "DeviceRootFixture.h"
#include "foundation/DeviceEvents.h"
#include "foundation/PropertyList.h"
#include "substrate/loader.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

const std::string kDylibs = "/Library/MobileSubstrate/DynamicLibraries/";

std::vector<std::string> probesLoaded() {
    std::vector<std::string> out;
    for (const auto& e : DeviceEvents::ofKind("probe loaded"))
        out.push_back(e.detail);
    return out;
}

class Loader : public ::testing::Test {
  protected:
    DeviceRootFixture device{DeviceRootFixture::Options{.addons = {}, .package = false}};

    // Installs probe library `probe` (1 to 3) as `name`, with a filter naming `bundles`.
    void install(const std::string& name, int probe, std::optional<std::vector<std::string>> bundles) {
        const auto target = device.hostPath(kDylibs + name + ".dylib");
        std::filesystem::create_directories(target.parent_path());
        std::filesystem::copy_file(std::string(PROBE_DIR) + "/probe_" + std::to_string(probe) + ".dylib",
                                   target);
        if (!bundles)
            return;
        PlistArray list(bundles->begin(), bundles->end());
        ASSERT_TRUE(writeToFile(PlistDict{{"Filter", PlistDict{{"Bundles", list}}}},
                                kDylibs + name + ".plist", true));
    }
    void SetUp() override { DeviceEvents::clear(); }
};

TEST_F(Loader, LoadsOnlyLibrariesWhoseFilterNamesTheHostInNameOrder) {
    install("alpha", 2, std::vector<std::string>{"com.apple.springboard"});
    install("Zeta", 1, std::vector<std::string>{"com.apple.UIKit", "com.apple.springboard"});
    install("Beta", 3, std::vector<std::string>{"com.apple.Preferences"});
    install("Gamma", 3, std::nullopt);               // no filter
    install("Delta", 3, std::vector<std::string>{}); // a filter naming nobody
    device.writeFile(kDylibs + "Epsilon.plist", "not a property list");
    install("Epsilon", 3, std::nullopt); // an unreadable filter

    EXPECT_EQ(MSLoadTweaksForHost("com.apple.springboard"),
              (std::vector<std::string>{"Zeta.dylib", "alpha.dylib"}));
    EXPECT_EQ(probesLoaded(), (std::vector<std::string>{"1", "2"})) << "constructors run, in name order";
    std::vector<std::string> recorded;
    for (const auto& e : DeviceEvents::ofKind("tweak loaded"))
        recorded.push_back(e.detail);
    EXPECT_EQ(recorded, (std::vector<std::string>{"Zeta.dylib", "alpha.dylib"}));
}

TEST_F(Loader, AnotherHostLoadsItsOwnLibraries) {
    install("Spring", 1, std::vector<std::string>{"com.apple.springboard"});
    install("Prefs", 2, std::vector<std::string>{"com.apple.Preferences"});
    EXPECT_EQ(MSLoadTweaksForHost("com.apple.Preferences"), (std::vector<std::string>{"Prefs.dylib"}));
    EXPECT_EQ(probesLoaded(), (std::vector<std::string>{"2"}));
}

TEST_F(Loader, ALibraryThatCannotLoadIsLeftOutAndTheRestStillLoad) {
    device.writeFile(kDylibs + "Broken.dylib", "not a shared object");
    ASSERT_TRUE(
        writeToFile(PlistDict{{"Filter", PlistDict{{"Bundles", PlistArray{"com.apple.springboard"}}}}},
                    kDylibs + "Broken.plist", true));
    install("Works", 1, std::vector<std::string>{"com.apple.springboard"});
    EXPECT_EQ(MSLoadTweaksForHost("com.apple.springboard"), (std::vector<std::string>{"Works.dylib"}));
    EXPECT_EQ(probesLoaded(), (std::vector<std::string>{"1"}));
}

TEST_F(Loader, NoLibrariesFolderLoadsNothing) {
    device.remove("/Library/MobileSubstrate");
    EXPECT_TRUE(MSLoadTweaksForHost("com.apple.springboard").empty());
}

TEST_F(Loader, NeitherALibraryNorAFilterIsTakenFromOutsideTheRoot) {
    // Beside the root: a library and a filter naming SpringBoard, reached only through links.
    const auto outside = device.root().parent_path() / (device.root().filename().string() + "-outside");
    std::filesystem::create_directories(outside);
    std::filesystem::copy_file(std::string(PROBE_DIR) + "/probe_1.dylib", outside / "Out.dylib");
    std::filesystem::copy_file(std::string(PROBE_DIR) + "/probe_2.dylib", outside / "Other.dylib");
    {
        std::ofstream filter(outside / "Out.plist");
        filter << propertyListToXML(
            PlistDict{{"Filter", PlistDict{{"Bundles", PlistArray{"com.apple.springboard"}}}}});
    }
    std::filesystem::create_directories(device.hostPath(kDylibs));
    std::filesystem::create_symlink(outside / "Out.dylib", device.hostPath(kDylibs + "Out.dylib"));
    std::filesystem::create_symlink("../../../../" + outside.filename().string() + "/Out.plist",
                                    device.hostPath(kDylibs + "Out.plist"));
    install("Other", 3, std::vector<std::string>{"com.apple.springboard"});
    std::filesystem::remove(device.hostPath(kDylibs + "Other.dylib"));
    std::filesystem::create_symlink("../../../../" + outside.filename().string() + "/Other.dylib",
                                    device.hostPath(kDylibs + "Other.dylib"));
    EXPECT_TRUE(MSLoadTweaksForHost("com.apple.springboard").empty());
    EXPECT_TRUE(probesLoaded().empty());
    std::filesystem::remove_all(outside);
}

} // namespace
