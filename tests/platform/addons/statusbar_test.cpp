// libstatusbar, loaded from a device root: its items show in SpringBoard's status bar.
#include "DeviceRootFixture.h"
#include "foundation/DeviceDlopen.h"
#include "foundation/DeviceEvents.h"
#include "springboard/StatusBar.h"

#include <gtest/gtest.h>

namespace {

const std::string kDylibs = "/Library/MobileSubstrate/DynamicLibraries/";

std::vector<std::string> eventsOf(const char* kind) {
    std::vector<std::string> out;
    for (const auto& e : DeviceEvents::ofKind(kind))
        out.push_back(e.detail);
    return out;
}

id makeItem(const std::string& identifier) {
    id item = msg<id>(classObject(objc_getClass("LSStatusBarItem")), "alloc");
    return msg<id>(item, "initWithIdentifier:alignment:", identifier, NSInteger{2});
}

TEST(Libstatusbar, AnItemsVisibilityIsTheStatusBarsAndEveryCallIsRecorded) {
    DeviceRootFixture device(DeviceRootFixture::Options{.addons = {"libstatusbar8"}, .package = false});
    DeviceEvents::clear();
    ASSERT_EQ(objc_getClass("LSStatusBarItem"), nullptr) << "nothing registers before the library loads";
    ASSERT_TRUE(device_dlopen(kDylibs + "libstatusbar8.dylib", 10));
    ASSERT_NE(objc_getClass("LSStatusBarItem"), nullptr);

    id item = makeItem("Hushmark");
    msg(item, "setVisible:", false); // hidden already: still a call, and recorded
    msg(item, "setImageName:", "Hushmark");
    auto items = StatusBar::shared().items();
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].identifier, "Hushmark");
    EXPECT_EQ(items[0].alignment, 2);
    EXPECT_EQ(items[0].imageName, "Hushmark");
    EXPECT_FALSE(items[0].visible);

    for (bool visible : {true, true, false, true})
        msg(item, "setVisible:", visible);
    EXPECT_TRUE(msg<bool>(item, "isVisible"));
    EXPECT_TRUE(StatusBar::shared().isVisible("Hushmark"));
    EXPECT_EQ(eventsOf("status item visible"),
              (std::vector<std::string>{"Hushmark", "Hushmark", "Hushmark"}));
    EXPECT_EQ(eventsOf("status item hidden"), (std::vector<std::string>{"Hushmark", "Hushmark"}));

    item.reset(); // a released item leaves the status bar
    EXPECT_TRUE(StatusBar::shared().items().empty());
}

TEST(Libstatusbar, BothVariantsLoadedRegisterTheClassOnce) {
    DeviceRootFixture device(
        DeviceRootFixture::Options{.addons = {"libstatusbar8", "libstatusbar"}, .package = false});
    DeviceEvents::clear();
    ASSERT_TRUE(device_dlopen(kDylibs + "libstatusbar8.dylib", 10));
    Class* first = objc_getClass("LSStatusBarItem");
    ASSERT_TRUE(device_dlopen(kDylibs + "libstatusbar.dylib", 10)); // would abort on a second registration
    EXPECT_EQ(objc_getClass("LSStatusBarItem"), first);
    EXPECT_EQ(eventsOf("library loaded"),
              (std::vector<std::string>{"libstatusbar8.dylib", "libstatusbar.dylib"}));
    id item = makeItem("Other");
    msg(item, "setVisible:", true);
    EXPECT_TRUE(StatusBar::shared().isVisible("Other"));
}

} // namespace
