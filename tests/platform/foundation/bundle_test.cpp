#include "DeviceRootFixture.h"
#include "foundation/DeviceDlopen.h"
#include "foundation/NSBundle.h"
#include "foundation/PropertyList.h"

#include <dlfcn.h>
#include "CaseText.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

// No package, no add-ons, the clock left as it is.

const char* kBundle = "/Library/PreferenceBundles/Test.bundle";

class BundleTest : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directories(root_.hostPath(kBundle));
        strings("en", "Hushmark", {{"EDIT_SNOOZE", "Snooze"}, {"OK", "OK"}, {"ONLY_EN", "English only"}});
        strings("de", "Hushmark", {{"EDIT_SNOOZE", "Schlummern"}});
        strings("fr", "Hushmark", {{"EDIT_SNOOZE", "Rappel"}, {"NOT_TEXT", 5}});
    }

    void strings(const std::string& lang, const std::string& table, const PlistDict& entries,
                 bool binary = false) {
        fs::path folder = root_.hostPath(std::string(kBundle) + "/" + lang + ".lproj");
        fs::create_directories(folder);
        std::ofstream(folder / (table + ".strings"), std::ios::binary)
            << (binary ? propertyListToBinary(entries) : propertyListToXML(entries));
    }

    void languages(PlistArray langs) {
        ASSERT_TRUE(
            writeToFile(PlistDict{{"AppleLanguages", std::move(langs)}}, kGlobalPreferencesPath, true));
    }

    std::string text(const std::string& key, const std::string& value = "") {
        return msg<std::string>(NSBundle::bundleWithPath(kBundle), "localizedStringForKey:value:table:", key,
                                value, "Hushmark");
    }

    DeviceRootFixture root_{DeviceRootFixture::bare()};
};

TEST_F(BundleTest, IsFoundByPathOnceAndOnlyWhenItExists) {
    id bundle = msg<id>(classObject(objc_getClass("NSBundle")), "bundleWithPath:", std::string(kBundle));
    ASSERT_NE(bundle, nullptr);
    EXPECT_EQ(bundle, NSBundle::bundleWithPath(std::string(kBundle) + "/"));
    EXPECT_EQ(msg<std::string>(bundle, "bundlePath"), kBundle);
    EXPECT_EQ(NSBundle::bundleWithPath("/Library/PreferenceBundles/Missing.bundle"), nullptr);
    EXPECT_EQ(NSBundle::bundleWithPath("/../outside"), nullptr);
}

struct LanguageCase {
    PlistArray preferred;
    const char* key;
    const char* value;
    const char* expected;
};
void PrintTo(const LanguageCase& c, std::ostream* os) {
    *os << c.preferred.size() << (c.preferred.empty() ? "" : c.preferred[0].asString()) << "_" << c.key << "_"
        << caseText(c.value);
}

class BundleStrings : public BundleTest, public testing::WithParamInterface<LanguageCase> {};

TEST_P(BundleStrings, FollowPreferredLanguagesThenEnglishThenTheValue) {
    const LanguageCase& c = GetParam();
    languages(c.preferred);
    EXPECT_EQ(text(c.key, c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, BundleStrings,
                         testing::Values(LanguageCase{{"de"}, "EDIT_SNOOZE", "", "Schlummern"},
                                         LanguageCase{{"de-DE"}, "EDIT_SNOOZE", "", "Schlummern"},
                                         LanguageCase{{"it", "fr"}, "EDIT_SNOOZE", "", "Rappel"},
                                         LanguageCase{{"it"}, "EDIT_SNOOZE", "", "Snooze"},
                                         LanguageCase{{"de"}, "ONLY_EN", "", "English only"},
                                         LanguageCase{{"de"}, "MISSING", "Fallback", "Fallback"},
                                         LanguageCase{{"de"}, "MISSING", "", "MISSING"},
                                         LanguageCase{{"fr"}, "NOT_TEXT", "v", "v"},
                                         LanguageCase{{}, "OK", "", "OK"}));

TEST_F(BundleTest, ReadsBinaryTablesAndOtherTables) {
    strings("en", "Other", {{"K", "binary text"}}, true);
    EXPECT_EQ(NSBundle::bundleWithPath(kBundle)->localizedStringForKey("K", "", "Other"), "binary text");
    EXPECT_EQ(NSBundle::bundleWithPath(kBundle)->localizedStringForKey("K", "none", ""), "none");
}

TEST_F(BundleTest, FindsResourcesByNameAndType) {
    std::ofstream(root_.hostPath(std::string(kBundle) + "/Selector.png")) << "png";
    std::ofstream(root_.hostPath(std::string(kBundle) + "/de.lproj/Only.txt")) << "t";
    languages({"de"});
    auto bundle = NSBundle::bundleWithPath(kBundle);
    EXPECT_EQ(msg<std::string>(bundle, "pathForResource:ofType:", "Selector", "png"),
              std::string(kBundle) + "/Selector.png");
    EXPECT_EQ(bundle->pathForResource("Selector.png", ""), std::string(kBundle) + "/Selector.png");
    EXPECT_EQ(bundle->pathForResource("Only", "txt"), std::string(kBundle) + "/de.lproj/Only.txt");
    EXPECT_EQ(bundle->pathForResource("Missing", "png"), "");
}

TEST_F(BundleTest, LoadsItsExecutableAndFindsThePrincipalClass) {
    auto bundle = NSBundle::bundleWithPath(kBundle);
    EXPECT_FALSE(msg<bool>(bundle, "load")) << "no Info.plist yet";
    EXPECT_EQ(msg<Class*>(bundle, "principalClass"), nullptr);
    fs::copy_file(HM_TEST_PLUGIN, root_.hostPath(std::string(kBundle) + "/Test"));
    ASSERT_TRUE(writeToFile(PlistDict{{"CFBundleExecutable", "Test"}, {"NSPrincipalClass", "TestPrincipal"}},
                            std::string(kBundle) + "/Info.plist", true));
    EXPECT_EQ(msg<PlistDict>(bundle, "infoDictionary")["CFBundleExecutable"], PlistValue("Test"));
    EXPECT_EQ(objc_getClass("TestPrincipal"), nullptr) << "not loaded yet";
    Class* principal = msg<Class*>(bundle, "principalClass");
    ASSERT_NE(principal, nullptr);
    EXPECT_EQ(principal, objc_getClass("TestPrincipal"));
    EXPECT_EQ(msg<std::string>(msg<id>(classObject(principal), "new"), "greeting"), "hello from the plugin");
    EXPECT_TRUE(bundle->load());
}

TEST(DeviceDlopen, TranslatesTheDeviceModeBits) {
    EXPECT_EQ(deviceDlopenMode(10), RTLD_NOW | RTLD_GLOBAL);
    EXPECT_EQ(deviceDlopenMode(2), RTLD_NOW | RTLD_LOCAL);
    EXPECT_EQ(deviceDlopenMode(1), RTLD_LAZY | RTLD_LOCAL);
    EXPECT_EQ(deviceDlopenMode(1 | 4), RTLD_LAZY | RTLD_LOCAL);
    EXPECT_EQ(deviceDlopenMode(9), RTLD_LAZY | RTLD_GLOBAL);
}

TEST(DeviceDlopen, LoadsByDevicePathOnlyInsideTheRoot) {
    DeviceRootFixture root{DeviceRootFixture::bare()};
    fs::copy_file(HM_TEST_PLUGIN, root.hostPath("/Library/MobileSubstrate/DynamicLibraries/Plugin.dylib"));
    EXPECT_EQ(device_dlopen("/Library/MobileSubstrate/DynamicLibraries/Missing.dylib", 10), nullptr);
    EXPECT_EQ(device_dlopen(HM_TEST_PLUGIN, 10), nullptr) << "a host path is no device path";
    std::ofstream(root.hostPath("/tmp/junk.dylib")) << "not an object";
    EXPECT_EQ(device_dlopen("/tmp/junk.dylib", 10), nullptr);
    void* handle = device_dlopen("/tmp/../Library/MobileSubstrate/DynamicLibraries/Plugin.dylib", 10);
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(objc_getClass("TestPrincipal"), nullptr);
}

TEST(DeviceDlopen, EachLibraryLoadsOnceAndTwoLibrariesNeverMix) {
    // Loaded through descriptors: a closed descriptor's number, given again to another file, must
    // not hand back the library first loaded under it.
    DeviceRootFixture root{DeviceRootFixture::bare()};
    fs::copy_file(HM_TEST_PLUGIN, root.hostPath("/tmp/A.dylib"));
    fs::copy_file(HM_TEST_PLUGIN_OTHER, root.hostPath("/tmp/B.dylib"));
    void* a = device_dlopen("/tmp/A.dylib", 10);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(device_dlopen("/tmp/A.dylib", 10), a);
    EXPECT_EQ(device_dlopen("/tmp/../tmp/A.dylib", 2), a);
    EXPECT_EQ(objc_getClass("OtherPrincipal"), nullptr);
    void* b = device_dlopen("/tmp/B.dylib", 10);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(b, a);
    EXPECT_NE(objc_getClass("OtherPrincipal"), nullptr);
    EXPECT_EQ(device_dlopen("/tmp/A.dylib", 10 | 0x10), a) << "RTLD_NOLOAD finds what is loaded";
}

} // namespace
