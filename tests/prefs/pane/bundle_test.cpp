// The Settings host with the real Hushmark.bundle as installed: found through its loader entry,
// its executable loaded, its principal class shown with the rows of its resource list.
#include "DeviceRootFixture.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
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
    auto settings =
        dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->at("buttonColor"), PlistValue("#FF0000"));
}

// Both files of the toggle are there but Flipswitch never loaded into Settings: the page still
// hands the change to the toggle, which goes nowhere, and posts nothing.
TEST_F(InstalledPane, WithTheToggleFilesButNoFlipswitchClassNothingIsPosted) {
    root.writeFile("/Library/MobileSubstrate/DynamicLibraries/Flipswitch.dylib", "");
    root.writeFile("/Library/Switches/HushmarkFS.bundle/HushmarkFS", "");
    int posts = 0;
    CFNotificationCenterAddObserver(
        CFNotificationCenterGetDarwinNotifyCenter(), &posts,
        [&posts](CFNotificationCenterRef, const void*, const std::string&) { ++posts; },
        "net.vexmoor.hushmark.preferences", nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    ASSERT_TRUE(app.openPane("Hushmark"));
    ASSERT_EQ(objc_getClass("FSSwitchPanel"), nullptr);
    ASSERT_TRUE(app.tapRow("Disarm Now"));
    ASSERT_TRUE(app.tapRow("Clear"));
    ASSERT_TRUE(app.setSwitch("Enabled", false));
    RunLoop::main().drain();
    EXPECT_EQ(posts, 0);
    auto settings =
        dictionaryWithContentsOfFile("/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist");
    ASSERT_TRUE(settings);
    EXPECT_EQ(settings->at("enabled"), PlistValue(false)); // the page's own writes still happen
    ASSERT_TRUE(app.setSwitch("Enabled", true));           // not a toggle change: posted as usual
    RunLoop::main().drain();
    EXPECT_EQ(posts, 1);
    CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), &posts);
}

} // namespace
