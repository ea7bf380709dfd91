// The Settings app plugged into SpringBoard as a phone runs it: opened from its icon on its root
// list, a pane reached by touching its row on the display, resumed as left after the home
// button, started afresh after the switcher closed it.
#include "SpringBoardTestSupport.h"

#include "foundation/PropertyList.h"
#include "preferences/PSListController.h"
#include "preferences/SettingsApp.h"
#include "springboard/AppIcons.h"
#include "springboard/HomeScreenViews.h"
#include "springboard/SpringBoardApps.h"
#include "springboard/SpringBoardDisplay.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using namespace sbtest;

struct PhonePane : PSListController {};
const ClassDef<PhonePane> kPhonePane("TestPhonePane", "PSListController", {});

// Settings as SpringBoard runs it: launched on its root list, its screen as its window.
struct SettingsInstance : SBAppInstance {
    SettingsApp app;
    explicit SettingsInstance(CGSize screen) : app(screen) { app.launch(); }
    id window() override { return app.screenWindow(); }
};

TEST(SettingsOnThePhone, OpensOnItsListResumesAsLeftAndStartsAfreshWhenClosed) {
    BootedDevice device;
    const std::string bundle = "/Library/PreferenceBundles/Phone.bundle";
    std::filesystem::create_directories(device.root.hostPath(bundle));
    std::filesystem::create_directories(device.root.hostPath("/Library/PreferenceLoader/Preferences"));
    std::filesystem::copy_file(HM_EMPTY_BUNDLE_EXECUTABLE, device.root.hostPath(bundle + "/Phone"));
    writeToFile(PlistDict{{"CFBundleExecutable", "Phone"}, {"NSPrincipalClass", "TestPhonePane"}},
                bundle + "/Info.plist", true);
    writeToFile(
        PlistDict{{"entry", PlistDict{{"bundle", "Phone"}, {"label", "Phone"}, {"cell", "PSLinkCell"}}}},
        "/Library/PreferenceLoader/Preferences/Phone.plist", true);

    SpringBoardApps apps{CGSize{320, 568}};
    SpringBoardDisplay display{device.host, apps};
    apps.install({"com.apple.Preferences", "Settings", springboard::drawSettingsIcon,
                  [](CGSize screen) { return std::make_unique<SettingsInstance>(screen); }});
    auto settings = [&] { return static_cast<SettingsInstance*>(apps.instance("com.apple.Preferences")); };
    auto center = [](const id& view) {
        const CGRect b = msg<CGRect>(view, "bounds");
        return msg<CGPoint>(view, "convertPoint:toView:", CGPoint{b.size.width / 2, b.size.height / 2},
                            nullptr);
    };
    auto tapIcon = [&] {
        display.refresh();
        id icon =
            msg<id>(display.windows().front(), "viewWithTag:", NSInteger{springboard::kHomeIconTagBase});
        return icon && display.tap(center(icon));
    };

    ASSERT_TRUE(tapIcon());
    ASSERT_TRUE(settings());
    EXPECT_TRUE(settings()->app.showsRootList());
    display.refresh(); // the cells are placed on the screen the display shows
    ASSERT_TRUE(display.tap(center(settings()->app.cellForRow("Phone"))));
    EXPECT_EQ(settings()->app.depth(), 2u);
    // The status bar over the navigation bar's room for it.
    EXPECT_NEAR(display.render(1).at(2, 10).r, 247, 2);

    apps.pressHome();
    ASSERT_TRUE(tapIcon());
    EXPECT_EQ(settings()->app.depth(), 2u); // resumed on the pane

    EXPECT_TRUE(apps.close("com.apple.Preferences"));
    ASSERT_TRUE(tapIcon());
    EXPECT_EQ(settings()->app.depth(), 1u); // afresh, on its list
}

} // namespace
