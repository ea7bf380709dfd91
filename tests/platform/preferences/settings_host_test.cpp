// The Settings side through its host: resource lists become rows, rows read and write their
// domain files, cells follow their cell types, disabled rows refuse changes, pages push and pop.
#include "DeviceRootFixture.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "preferences/PSCellClasses.h"
#include "preferences/PSListController.h"
#include "preferences/PSSpecifier.h"
#include "preferences/PSTableView.h"
#include "preferences/SettingsApp.h"
#include "uikit/UILabel.h"
#include "uikit/UISnapshot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace {

// A page whose rows are the resource list "Rows" of its bundle.
struct RowsPage : PSListController {
    int appearances = 0;
    int taps = 0;
    id tappedWith;
    std::vector<id> specifiers() {
        if (_specifiers.empty())
            _specifiers = loadSpecifiersFromPlistName("Rows", self());
        return _specifiers;
    }
    void viewWillAppear(bool animated) {
        ++appearances;
        msgSuper(this, classOf<RowsPage>(), "viewWillAppear:", animated);
    }
    void tap() { ++taps; }
    void tapWith(id specifier) { tappedWith = std::move(specifier); }
};
const ClassDef<RowsPage> kRowsPage("TestRowsPage", "PSListController",
                                   {
                                       method("specifiers", &RowsPage::specifiers),
                                       method("viewWillAppear:", &RowsPage::viewWillAppear),
                                       method("tap", &RowsPage::tap),
                                       method("tapWith:", &RowsPage::tapWith),
                                   });

// A detail page: its rows say which row pushed it.
struct DetailPage : PSListController {
    std::vector<id> specifiers() {
        if (_specifiers.empty()) {
            std::string pushedBy = msg<std::string>(specifier_, "name");
            _specifiers.push_back(msg<id>(
                classObject(objc_getClass("PSSpecifier")),
                "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", "Pushed by " + pushedBy, self(),
                SEL{}, SEL{}, static_cast<Class*>(nullptr), PSStaticTextCell, static_cast<Class*>(nullptr)));
        }
        return _specifiers;
    }
};
const ClassDef<DetailPage> kDetailPage("TestDetailPage", "PSListController",
                                       {
                                           method("specifiers", &DetailPage::specifiers),
                                       });

// A cell class named by a row's "cellClass".
struct CustomCell : PSTableCell {
    id initWithStyleReuseIdentifierSpecifier(NSInteger style, std::string reuseIdentifier, id specifier) {
        receivedSpecifier = specifier;
        return msgSuper<id>(this, classOf<CustomCell>(), "initWithStyle:reuseIdentifier:specifier:", style,
                            std::move(reuseIdentifier), specifier);
    }
    id receivedSpecifier;
};
const ClassDef<CustomCell> kCustomCell("TestCustomCell", "PSTableCell",
                                       {
                                           method("initWithStyle:reuseIdentifier:specifier:",
                                                  &CustomCell::initWithStyleReuseIdentifierSpecifier),
                                       });

constexpr const char* kBundle = "/Library/PreferenceBundles/Test.bundle";
constexpr const char* kDomainFile = "/var/mobile/Library/Preferences/com.example.test.plist";

PlistDict row(std::initializer_list<std::pair<const std::string, PlistValue>> entries) {
    return PlistDict(entries);
}

PlistArray standardRows() {
    return {
        row({{"cell", "PSGroupCell"}, {"label", "General"}, {"footerText", "About these rows."}}),
        row({{"cell", "PSSwitchCell"},
             {"label", "Flag"},
             {"key", "flag"},
             {"default", true},
             {"defaults", "com.example.test"},
             {"PostNotification", "com.example.test.changed"},
             {"id", "FlagRow"}}),
        row({{"cell", "PSSwitchCell"},
             {"label", "Locked"},
             {"key", "locked"},
             {"defaults", "com.example.test"},
             {"enabled", false}}),
        row({{"cell", "PSEditTextCell"},
             {"label", "Minutes"},
             {"key", "minutes"},
             {"defaults", "com.example.test"},
             {"default", "60"},
             {"isNumeric", true},
             {"placeholder", "60"}}),
        row({{"cell", "PSSegmentCell"},
             {"label", "Mode"},
             {"key", "mode"},
             {"defaults", "com.example.test"},
             {"validValues", PlistArray{PlistValue(0), PlistValue(1), PlistValue(2)}},
             {"validTitles", PlistArray{PlistValue("Zero"), PlistValue("One"), PlistValue("Two")}},
             {"default", 0}}),
        row({{"cell", "PSButtonCell"}, {"label", "Tap"}, {"action", "tap"}}),
        row({{"cell", "PSButtonCell"}, {"label", "Tap With"}, {"action", "tapWith:"}}),
        row({{"cell", "PSGroupCell"}}),
        row({{"cell", "PSLinkCell"}, {"label", "More"}, {"detail", "TestDetailPage"}}),
        row({{"cell", "PSStaticTextCell"},
             {"label", "Custom"},
             {"cellClass", "TestCustomCell"},
             {"height", 60}}),
        row({{"cell", "PSLinkListCell"},
             {"label", "Sound"},
             {"key", "sound"},
             {"defaults", "com.example.test"},
             {"validValues", PlistArray{PlistValue("a"), PlistValue("b")}},
             {"validTitles", PlistArray{PlistValue("Chime"), PlistValue("Bell")}},
             {"default", "a"}}),
        row({{"cell", "PSSliderCell"},
             {"label", "Level"},
             {"key", "level"},
             {"defaults", "com.example.test"},
             {"min", 0},
             {"max", 10},
             {"default", 5}}),
    };
}

class SettingsHost : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(root.hostPath(kBundle));
        std::filesystem::create_directories(root.hostPath("/Library/PreferenceLoader/Preferences"));
        writeToFile(PlistDict{{"title", "Test Rows"}, {"items", standardRows()}},
                    std::string(kBundle) + "/Rows.plist", true);
        writeToFile(PlistDict{{"CFBundleExecutable", "Test"}, {"NSPrincipalClass", "TestRowsPage"}},
                    std::string(kBundle) + "/Info.plist", true);
        CFNotificationCenterAddObserver(
            CFNotificationCenterGetDarwinNotifyCenter(), this,
            [this](CFNotificationCenterRef, const void*, const std::string& name) { posted.push_back(name); },
            "com.example.test.changed", nullptr, CFNotificationSuspensionBehaviorDeliverImmediately);
    }
    void TearDown() override {
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this);
    }

    id openRows() {
        id bundle = msg<id>(classObject(objc_getClass("NSBundle")), "bundleWithPath:", kBundle);
        return app.openController(objc_getClass("TestRowsPage"), bundle);
    }
    PlistDict domain() const { return dictionaryWithContentsOfFile(kDomainFile).value_or(PlistDict{}); }
    std::vector<std::string> deliveredNotifications() {
        RunLoop::main().drain();
        return posted;
    }

    DeviceRootFixture root{DeviceRootFixture::Options{.addons = {}, .package = false}};
    SettingsApp app;
    std::vector<std::string> posted;
};

TEST_F(SettingsHost, AResourceListBecomesRowsWithTheirPropertiesAndBindings) {
    id page = openRows();
    ASSERT_TRUE(page);
    EXPECT_EQ(msg<std::string>(page, "title"), "Test Rows");
    std::vector<id> rows = msg<std::vector<id>>(page, "specifiers");
    ASSERT_EQ(rows.size(), standardRows().size());
    id flag = msg<id>(page, "specifierForID:", "FlagRow");
    ASSERT_TRUE(flag);
    EXPECT_EQ(flag, rows[1]);
    EXPECT_EQ(msg<NSInteger>(flag, "cellType"), PSSwitchCell);
    EXPECT_EQ(msg<id>(flag, "target"), page);
    auto* s = static_cast<PSSpecifier*>(flag.get());
    EXPECT_EQ(s->setter(), sel_registerName("setPreferenceValue:specifier:"));
    EXPECT_EQ(s->getter(), sel_registerName("readPreferenceValue:"));
    EXPECT_EQ(msg<PlistValue>(flag, "propertyForKey:", "PostNotification"),
              PlistValue("com.example.test.changed"));
    // Rows without a key read and write nothing; a row without an "id" is found by its name.
    auto* button = static_cast<PSSpecifier*>(rows[5].get());
    EXPECT_EQ(button->getter(), nullptr);
    EXPECT_EQ(button->buttonAction(), sel_registerName("tap"));
    EXPECT_EQ(msg<id>(page, "specifierForID:", "Tap"), rows[5]);
    EXPECT_EQ(msg<id>(page, "specifierForID:", "Nothing"), nullptr);
    EXPECT_EQ(msg<Class*>(rows[8], "detailControllerClass"), objc_getClass("TestDetailPage"));
    // Text entries are text-field specifiers with their placeholder.
    EXPECT_TRUE(isKindOfClass(rows[3], objc_getClass("PSTextFieldSpecifier")));
    EXPECT_EQ(static_cast<PSTextFieldSpecifier*>(rows[3].get())->placeholder(), "60");
}

TEST_F(SettingsHost, RowsShowDefaultsUntilTheDomainFileHoldsAValue) {
    openRows();
    EXPECT_EQ(app.rowText("Flag"), "on");
    EXPECT_EQ(app.rowText("Minutes"), "60");
    EXPECT_EQ(app.rowText("Mode"), "Zero");
    writeToFile(PlistDict{{"flag", false}, {"minutes", "15"}, {"mode", 2}}, kDomainFile, true);
    msg(app.currentController(), "reload");
    EXPECT_EQ(app.rowText("Flag"), "off");
    EXPECT_EQ(app.rowText("Minutes"), "15");
    EXPECT_EQ(app.rowText("Mode"), "Two");
}

TEST_F(SettingsHost, ChangesAreWrittenToTheDomainFileAndAnnounced) {
    openRows();
    writeToFile(PlistDict{{"other", "kept"}}, kDomainFile, true);
    EXPECT_TRUE(app.setSwitch("Flag", false));
    EXPECT_EQ(domain()["flag"], PlistValue(false));
    EXPECT_EQ(domain()["other"], PlistValue("kept"));
    EXPECT_EQ(deliveredNotifications(), std::vector<std::string>{"com.example.test.changed"});

    EXPECT_TRUE(app.typeText("Minutes", "25"));
    EXPECT_EQ(domain()["minutes"], PlistValue("25"));
    EXPECT_TRUE(app.pickSegment("Mode", 1));
    EXPECT_EQ(domain()["mode"], PlistValue(1));
    EXPECT_FALSE(app.pickSegment("Mode", 3));
    EXPECT_FALSE(app.pickSegment("Mode", -1));
    EXPECT_EQ(domain()["mode"], PlistValue(1));
    EXPECT_TRUE(app.moveSlider("Level", 40));
    EXPECT_EQ(domain()["level"].doubleValue(), 10.0); // clamped into the slider's range
    EXPECT_TRUE(app.tapRow("Flag"));                  // a tap on a switch row flips it
    EXPECT_EQ(domain()["flag"], PlistValue(true));
    // Rows without a PostNotification post nothing.
    EXPECT_EQ(deliveredNotifications().size(), 2u);
}

TEST_F(SettingsHost, ADisabledRowIsGreyedAndRefusesChanges) {
    openRows();
    EXPECT_FALSE(app.rowEnabled("Locked"));
    EXPECT_TRUE(app.rowEnabled("Flag"));
    EXPECT_FALSE(app.setSwitch("Locked", true));
    EXPECT_FALSE(app.tapRow("Locked"));
    EXPECT_FALSE(domain().contains("locked"));
    id lockedColor = msg<id>(msg<id>(app.cellForRow("Locked"), "textLabel"), "textColor");
    id flagColor = msg<id>(msg<id>(app.cellForRow("Flag"), "textLabel"), "textColor");
    EXPECT_FALSE(msg<bool>(lockedColor, "isEqual:", flagColor));
    // Enabling the row through its property takes effect at the next reload.
    msg(msg<id>(app.currentController(), "specifierForID:", "Locked"),
        "setProperty:forKey:", PlistValue(true), "enabled");
    msg(app.currentController(), "reload");
    EXPECT_TRUE(app.setSwitch("Locked", true));
    EXPECT_EQ(domain()["locked"], PlistValue(true));
}

TEST_F(SettingsHost, CellsFollowTheirCellTypeOrNamedClassAndRowsTheirHeight) {
    id page = openRows();
    auto* table = static_cast<PSTableView*>(msg<id>(page, "table").get());
    ASSERT_EQ(table->numberOfSections(), 2);
    EXPECT_EQ(table->numberOfRowsInSection(0), 6);
    EXPECT_EQ(table->numberOfRowsInSection(1), 4);
    EXPECT_TRUE(isKindOfClass(app.cellForRow("Flag"), objc_getClass("PSSwitchTableCell")));
    EXPECT_TRUE(isKindOfClass(app.cellForRow("Minutes"), objc_getClass("PSEditableTableCell")));
    EXPECT_TRUE(isKindOfClass(app.cellForRow("Mode"), objc_getClass("PSSegmentTableCell")));
    EXPECT_TRUE(isKindOfClass(app.cellForRow("Level"), objc_getClass("PSSliderTableCell")));
    EXPECT_EQ(object_getClass(app.cellForRow("Tap").get()), objc_getClass("PSTableCell"));
    id custom = app.cellForRow("Custom");
    ASSERT_EQ(object_getClass(custom.get()), objc_getClass("TestCustomCell"));
    EXPECT_EQ(static_cast<CustomCell*>(custom.get())->receivedSpecifier,
              msg<id>(page, "specifierForID:", "Custom"));
    EXPECT_EQ(msg<id>(custom, "specifier"), msg<id>(page, "specifierForID:", "Custom"));
    EXPECT_EQ(msg<CGFloat>(page, "tableView:heightForRowAtIndexPath:", table->self(), NSIndexPath{0, 0}),
              44.0);
    EXPECT_EQ(msg<CGRect>(custom, "frame").size.height, 60.0);
    EXPECT_EQ(msg<NSInteger>(msg<id>(app.cellForRow("Minutes"), "control"), "keyboardType"), 4);
}

TEST_F(SettingsHost, ReloadShowsRenamedRowsInTheSameCells) {
    id page = openRows();
    id cell = app.cellForRow("Tap");
    msg(msg<id>(page, "specifierForID:", "Tap"), "setName:", "Tapped");
    auto shows = [&](const std::string& label) {
        auto labels = app.rowLabels();
        return std::find(labels.begin(), labels.end(), label) != labels.end();
    };
    EXPECT_TRUE(shows("Tap")); // the cell shows the old name until the page reloads
    msg(page, "reload");
    EXPECT_FALSE(shows("Tap"));
    ASSERT_TRUE(shows("Tapped"));
    EXPECT_EQ(app.cellForRow("Tapped"), cell);
}

TEST_F(SettingsHost, ButtonsRunTheirActionsWithOrWithoutTheRow) {
    id page = openRows();
    auto* rows = static_cast<RowsPage*>(page.get());
    EXPECT_TRUE(app.tapRow("Tap"));
    EXPECT_TRUE(app.tapRow("Tap"));
    EXPECT_EQ(rows->taps, 2);
    EXPECT_TRUE(app.tapRow("Tap With"));
    EXPECT_EQ(rows->tappedWith, msg<id>(page, "specifierForID:", "Tap With"));
    EXPECT_FALSE(app.tapRow("No Such Row"));
    EXPECT_FALSE(app.tapRow("Minutes")); // a text row is typed into, not tapped
}

TEST_F(SettingsHost, LinksPushTheirPageAndBackShowsThePageBelowAgain) {
    id page = openRows();
    auto* rows = static_cast<RowsPage*>(page.get());
    EXPECT_EQ(rows->appearances, 1);
    EXPECT_FALSE(app.back());
    ASSERT_TRUE(app.tapRow("More"));
    EXPECT_EQ(app.depth(), 2u);
    id detail = app.currentController();
    EXPECT_EQ(object_getClass(detail.get()), objc_getClass("TestDetailPage"));
    EXPECT_EQ(msg<id>(detail, "specifier"), msg<id>(page, "specifierForID:", "More"));
    EXPECT_EQ(msg<id>(detail, "parentController"), page);
    EXPECT_EQ(app.rowLabels(), std::vector<std::string>{"Pushed by More"});
    // Meanwhile a row of the page below is renamed: coming back does not redraw it by itself.
    msg(msg<id>(page, "specifierForID:", "Tap"), "setName:", std::string("Renamed"));
    EXPECT_TRUE(app.back());
    EXPECT_EQ(app.currentController(), page);
    EXPECT_EQ(rows->appearances, 2);
    auto shows = [&](const char* label) {
        const auto labels = app.rowLabels();
        return std::find(labels.begin(), labels.end(), label) != labels.end();
    };
    EXPECT_TRUE(shows("Tap"));
    EXPECT_FALSE(shows("Renamed"));
    msg(page, "reload"); // what a page that wants fresh rows calls from its viewWillAppear:
    EXPECT_TRUE(shows("Renamed"));
}

TEST_F(SettingsHost, AListRowPushesItsValuesAndShowsTheChosenTitle) {
    openRows();
    EXPECT_EQ(app.rowText("Sound"), "Chime");
    ASSERT_TRUE(app.tapRow("Sound"));
    EXPECT_EQ(app.rowLabels(), (std::vector<std::string>{"Chime", "Bell"}));
    EXPECT_EQ(app.rowText("Chime"), "\u2713");
    EXPECT_EQ(app.rowText("Bell"), "Bell"); // no check: the row shows its title only
    ASSERT_TRUE(app.tapRow("Bell"));
    EXPECT_EQ(domain()["sound"], PlistValue("b"));
    EXPECT_EQ(app.rowText("Bell"), "\u2713");
    ASSERT_TRUE(app.back());
    EXPECT_EQ(app.rowText("Sound"), "Bell");
}

TEST_F(SettingsHost, LoaderEntriesAreListedByLabel) {
    writeToFile(
        PlistDict{{"entry", PlistDict{{"bundle", "Test"}, {"label", "Zeta"}, {"cell", "PSLinkCell"}}}},
        "/Library/PreferenceLoader/Preferences/Zeta.plist", true);
    writeToFile(
        PlistDict{{"entry", PlistDict{{"bundle", "Other"}, {"label", "Alpha"}, {"detail", "TestRowsPage"}}}},
        "/Library/PreferenceLoader/Preferences/Alpha.plist", true);
    writeToFile(PlistDict{{"entry", PlistDict{{"label", "No bundle"}}}},
                "/Library/PreferenceLoader/Preferences/Broken.plist", true);
    const auto entries = app.entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].label, "Alpha");
    EXPECT_EQ(entries[0].detail, "TestRowsPage");
    EXPECT_EQ(entries[1].bundle, "Test");
    // A bundle whose executable is missing does not open.
    EXPECT_EQ(app.openPane("Zeta"), nullptr);
    EXPECT_EQ(app.openPane("Nowhere"), nullptr);
    EXPECT_EQ(app.depth(), 0u);
}

TEST_F(SettingsHost, ASnapshotOfThePageIsAPNG) {
    openRows();
    const auto png = root.root() / "rows.png";
    ASSERT_TRUE(app.snapshot(png.string()));
    std::ifstream file(png, std::ios::binary);
    char signature[8] = {};
    file.read(signature, 8);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}

TEST_F(SettingsHost, StaticTextRowsShowOneLineCutAtTheTail) {
    id page = openRows();
    auto shown = [&](const std::string& row) {
        id label = msg<id>(app.cellForRow(row), "textLabel");
        EXPECT_EQ(msg<NSInteger>(label, "numberOfLines"), 1);
        return cast<UILabel>(label)->shownLines();
    };
    EXPECT_EQ(shown("Custom"), std::vector<std::string>{"Custom"});
    const std::string status =
        "Hushmarked Until: Monday, December 7, 2026 at 8:20:10 AM Central European Time";
    msg(msg<id>(page, "specifierForID:", "Custom"), "setName:", status);
    msg(page, "reload");
    const auto lines = shown(status);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("Hushmarked Until: Monday", 0), 0u) << lines[0];
    EXPECT_EQ(lines[0].substr(lines[0].size() - 3), "\xE2\x80\xA6") << lines[0];
}

TEST_F(SettingsHost, APagePictureGrowsToARowsContentThatRunsPastTheTable) {
    openRows();
    const CGFloat plain = msg<CGRect>(app.pageView(), "frame").size.height;
    id custom = app.cellForRow("Custom");
    id tall = msg<id>(msg<id>(classObject(objc_getClass("UIView")), "alloc"),
                      "initWithFrame:", CGRectMake(0, 0, 20, 2000));
    msg(tall, "setBackgroundColor:", msg<id>(classObject(objc_getClass("UIColor")), "redColor"));
    msg(msg<id>(custom, "contentView"), "addSubview:", tall);

    id page = app.pageView();
    const CGFloat bottom = 64 + msg<CGRect>(custom, "frame").origin.y + 2000; // under the 64-point bar
    ASSERT_GT(bottom, plain);
    EXPECT_EQ(msg<CGRect>(page, "frame").size.height, bottom);
    const SnapshotImage shot = UISnapshotRenderView(page, 1);
    ASSERT_EQ(shot.height, size_t(bottom));
    EXPECT_EQ(shot.at(10, size_t(bottom) - 1).r, 255);
    EXPECT_EQ(shot.at(10, size_t(bottom) - 1).g, 0);

    msg(tall, "setHidden:", true);
    EXPECT_EQ(msg<CGRect>(app.pageView(), "frame").size.height, plain);
}

} // namespace
