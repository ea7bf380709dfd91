// The Settings host with the real Hushmark.bundle as installed: found through its loader entry,
// its executable loaded, its principal class shown with the rows of its resource list.
#include "TempDeviceRoot.h"
#include "foundation/DeviceClock.h"
#include "foundation/PropertyList.h"
#include "preferences/SettingsApp.h"

#include <gtest/gtest.h>

#include <filesystem>

#ifndef HM_PACKAGE_DIR
#error "HM_PACKAGE_DIR must name the package staging folder"
#endif

namespace {

class InstalledPane : public ::testing::Test {
  protected:
    void SetUp() override {
        DeviceClock::useVirtual(NSDate{818330400.0});
        std::filesystem::copy(HM_PACKAGE_DIR, root.path(),
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
    }
    TempDeviceRoot root;
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
