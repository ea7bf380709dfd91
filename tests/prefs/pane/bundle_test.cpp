// The Settings host with the real Hushmark.bundle as installed: found through its loader entry,
// its executable loaded, its principal class shown with the rows of its resource list.
#include "DeviceRootFixture.h"
#include "foundation/PropertyList.h"
#include "preferences/SettingsApp.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class InstalledPane : public ::testing::Test {
  protected:
    DeviceRootFixture root; // with the package installed
    SettingsApp app;
};

TEST_F(InstalledPane, TheLoaderEntryOpensTheRootPageFromTheBundle) {
    const auto entries = app.entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].label, "Hushmark");
    EXPECT_EQ(objc_getClass("HushmarkListController"), nullptr); // not in the process before the bundle loads
    id page = app.openPane("Hushmark");
    ASSERT_TRUE(page);
    EXPECT_EQ(object_getClass(page.get()), objc_getClass("HushmarkListController"));
    EXPECT_EQ(msg<std::string>(page, "title"), "Hushmark");
    const auto labels = app.rowLabels();
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "Enabled");
    EXPECT_EQ(labels.back(), "Button Text:");
    // The first open seeded the settings file.
    auto settings = dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->at("buttonColor"), PlistValue("#FF0000"));
}

} // namespace
