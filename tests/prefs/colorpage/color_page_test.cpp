// The color page: its one tall row, the key it hands the color cell, where the picker goes.
#include "cell/HMColorCell.h"
#include "foundation/DeviceEnvironment.h"
#include "foundation/DeviceClock.h"
#include "foundation/NSBundle.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "pane/HushmarkColorSelectorController.h"
#include "pane/PaneState.h"
#include "preferences/PSCellTypes.h"

#include <gtest/gtest.h>

#include "DeviceRootFixture.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;
constexpr const char* kSettings = "/private/var/mobile/Library/Preferences/net.vexmoor.hushmark.plist";

class ColorPageTest : public ::testing::Test {
  protected:
    void SetUp() override {
        usePaneState(&state_);
        const fs::path bundle = root_.hostPath("/Library/PreferenceBundles/Hushmark.bundle");
        fs::create_directories(bundle);
        fs::copy_file(fs::path(HM_PREFS_RESOURCES) / "HushmarkColorSelector.plist",
                      bundle / "HushmarkColorSelector.plist");
        CFNotificationCenterAddObserver(
            CFNotificationCenterGetDarwinNotifyCenter(), this,
            [this](CFNotificationCenterRef, const void*, const std::string&) { ++posts_; },
            "net.vexmoor.hushmark.preferences", nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    }
    void TearDown() override {
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this);
        usePaneState(nullptr);
    }
    PaneState state_; // this test's own, in place of the bundle constructor's

    // The page as the root list's "Button Color" row pushes it.
    static id pushPage(const PlistValue& title = "buttonColor") {
        id pushing =
            msg<id>(classObject(objc_getClass("PSSpecifier")),
                    "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", std::string("Button Color"),
                    id{}, SEL{nullptr}, SEL{nullptr}, objc_getClass("HushmarkColorSelectorController"),
                    PSLinkCell, static_cast<Class*>(nullptr));
        msg(pushing, "setProperty:forKey:", title, std::string("title"));
        msg(pushing, "setProperty:forKey:", PlistValue("buttonColor"), std::string("label"));
        id page = msg<id>(classObject(objc_getClass("HushmarkColorSelectorController")), "alloc");
        msg(page, "setBundle:", id(NSBundle::bundleWithPath("/Library/PreferenceBundles/Hushmark.bundle")));
        page = msg<id>(page, "initForContentSize:", CGSize{320, 568});
        msg(page, "setSpecifier:", pushing);
        return page;
    }
    static id colorRow(const id& page) {
        const auto rows = msg<std::vector<id>>(page, "specifiers");
        return rows.empty() ? nullptr : rows.front();
    }
    static PlistValue property(const id& row, const char* key) {
        return msg<PlistValue>(row, "propertyForKey:", std::string(key));
    }
    int posts() {
        RunLoop::main().drain();
        return posts_;
    }

    DeviceRootFixture root_{DeviceRootFixture::Options{.addons = {}, .package = false}};
    int posts_ = 0;
};

TEST_F(ColorPageTest, TheRowEditsThePushingRowsTitleKeyAndThePageIsTitledByIt) {
    ASSERT_TRUE(writeToFile({{"buttonColor", "#FF0000"}}, kSettings, true));
    const id page = pushPage();
    const id row = colorRow(page);
    ASSERT_TRUE(row);
    EXPECT_EQ(msg<std::vector<id>>(page, "specifiers").size(), 1u);
    EXPECT_EQ(property(row, "key"), PlistValue("buttonColor"));
    EXPECT_EQ(msg<std::string>(page, "title"), "buttonColor");
    // What the resource list gives the cell.
    EXPECT_EQ(property(row, "cellClass"), PlistValue("HMColorCell"));
    EXPECT_EQ(property(row, "defaults"), PlistValue("net.vexmoor.hushmark"));
    EXPECT_EQ(property(row, "PostNotification"), PlistValue("net.vexmoor.hushmark.preferences"));
    EXPECT_EQ(property(row, "min").floatValue(), 0.0f);
    EXPECT_EQ(property(row, "max").floatValue(), 255.0f);
    EXPECT_TRUE(property(row, "default").isString());

    const id other = colorRow(pushPage("otherColor"));
    EXPECT_EQ(property(other, "key"), PlistValue("otherColor"));
}

struct PreferCase {
    const char* name;
    std::optional<PlistValue> stored;
    PlistValue given;
};
class ColorPagePrefer : public ColorPageTest, public ::testing::WithParamInterface<PreferCase> {};

TEST_P(ColorPagePrefer, PassesTheStoredObjectUnchangedOrTrue) {
    PlistDict file{{"buttonColor", "#FF0000"}};
    if (GetParam().stored)
        file["preferColorPicker"] = *GetParam().stored;
    ASSERT_TRUE(writeToFile(file, kSettings, true));
    EXPECT_EQ(property(colorRow(pushPage()), "preferColorPicker"), GetParam().given);
}

INSTANTIATE_TEST_SUITE_P(Stored, ColorPagePrefer,
                         ::testing::Values(PreferCase{"absent", std::nullopt, PlistValue(true)},
                                           PreferCase{"no", PlistValue(false), PlistValue(false)},
                                           PreferCase{"zero", PlistValue(0), PlistValue(0)},
                                           PreferCase{"text", PlistValue("NO"), PlistValue("NO")}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ColorPageTest, WithoutAFileThePickerGoesAbove) {
    EXPECT_EQ(property(colorRow(pushPage()), "preferColorPicker"), PlistValue(true));
}

TEST_F(ColorPageTest, StoredFalsePutsTheCellsSlidersAboveItsPicker) {
    ASSERT_TRUE(writeToFile({{"buttonColor", "#FF0000"}, {"preferColorPicker", false}}, kSettings, true));
    const id page = pushPage();
    const auto cell = msg<Ref<HMColorCell>>(page, "tableView:cellForRowAtIndexPath:", msg<id>(page, "table"),
                                            NSIndexPath{0, 0});
    ASSERT_TRUE(cell);
    EXPECT_EQ(msg<CGRect>(cell->chosenPicker(), "frame").origin.y, 285);
    EXPECT_EQ(msg<CGRect>(cell->titleR, "frame").origin.y, 90);
}

TEST_F(ColorPageTest, EveryRowIs860PointsTall) {
    const id page = pushPage();
    for (NSIndexPath path : {NSIndexPath{0, 0}, NSIndexPath{0, 1}, NSIndexPath{2, 5}})
        EXPECT_EQ(msg<CGFloat>(page, "tableView:heightForRowAtIndexPath:", id{}, path), 860.0);
}

TEST_F(ColorPageTest, ValueCallsOfThePageNeitherReadWriteNorPost) {
    ASSERT_TRUE(writeToFile({{"buttonColor", "#FF0000"}}, kSettings, true));
    const id page = pushPage();
    const id row = colorRow(page);
    EXPECT_TRUE(msg<PlistValue>(page, "readPreferenceValue:", row).isNone());
    msg(page, "setPreferenceValue:specifier:", PlistValue("#00FF00"), row);
    EXPECT_EQ(dictionaryWithContentsOfFile(kSettings), (PlistDict{{"buttonColor", "#FF0000"}}));
    EXPECT_EQ(posts(), 0);
}

TEST_F(ColorPageTest, RowsAreBuiltOnceAndEachNewPageRereadsTheFile) {
    ASSERT_TRUE(writeToFile({{"preferColorPicker", false}}, kSettings, true));
    const id first = pushPage();
    const auto rows = msg<std::vector<id>>(first, "specifiers");
    ASSERT_TRUE(writeToFile({{"preferColorPicker", true}}, kSettings, true));
    EXPECT_EQ(msg<std::vector<id>>(first, "specifiers"), rows); // the cached list, unchanged
    EXPECT_EQ(property(rows.front(), "preferColorPicker"), PlistValue(false));
    EXPECT_EQ(property(colorRow(pushPage()), "preferColorPicker"), PlistValue(true));
}

TEST_F(ColorPageTest, PagesShareOneCopyOfTheFileTheNewestPageLoaded) {
    ASSERT_TRUE(writeToFile({{"preferColorPicker", false}}, kSettings, true));
    const id first = pushPage(); // loads false; its rows are not built yet
    ASSERT_TRUE(writeToFile({{"preferColorPicker", 0}}, kSettings, true));
    const id second = pushPage(); // loads 0, for every page of the process
    EXPECT_EQ(property(colorRow(first), "preferColorPicker"), PlistValue(0));
    EXPECT_EQ(property(colorRow(second), "preferColorPicker"), PlistValue(0));
}

} // namespace
