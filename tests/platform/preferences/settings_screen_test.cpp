// Settings as a phone shows it: the root list of installed entries, rows touched through the
// screen, the back button, the table scrolling under a finger, and the pane's lifecycle calls.
#include "DeviceRootFixture.h"
#include "foundation/PropertyList.h"
#include "preferences/PSListController.h"
#include "preferences/PSSpecifier.h"
#include "preferences/PSTableView.h"
#include "preferences/SettingsApp.h"
#include "uikit/UIColor.h"
#include "uikit/UISnapshot.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A pane of a dozen button rows ("Row 0" to "Row 11") and a link to a page of its own; it counts
// its appearances and the taps on each row.
struct CountingPane : PSListController {
    int appearances = 0;
    std::vector<std::string> tapped;
    std::vector<id> specifiers() {
        if (!_specifiers.empty())
            return _specifiers;
        id cls = classObject(objc_getClass("PSSpecifier"));
        auto make = [&](const std::string& name, NSInteger cell, Class* detail) {
            return msg<id>(cls, "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", name, self(),
                           SEL{}, SEL{}, detail, cell, static_cast<Class*>(nullptr));
        };
        _specifiers.push_back(make("", PSGroupCell, nullptr));
        for (int i = 0; i < 12; ++i) {
            id row = make("Row " + std::to_string(i), PSButtonCell, nullptr);
            msg(row, "setButtonAction:", sel_registerName("tapRow:"));
            _specifiers.push_back(row);
        }
        _specifiers.push_back(make("Deeper", PSLinkCell, objc_getClass("TestCountingPane")));
        _specifiers.push_back(make("Name", PSEditTextCell, nullptr));
        return _specifiers;
    }
    void viewWillAppear(bool animated) {
        ++appearances;
        msgSuper(this, classOf<CountingPane>(), "viewWillAppear:", animated);
    }
    void tapRow(id specifier) { tapped.push_back(msg<std::string>(specifier, "name")); }
};
const ClassDef<CountingPane> kCountingPane("TestCountingPane", "PSListController",
                                           {
                                               method("specifiers", &CountingPane::specifiers),
                                               method("viewWillAppear:", &CountingPane::viewWillAppear),
                                               method("tapRow:", &CountingPane::tapRow),
                                           });

class SettingsScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        std::filesystem::create_directories(root.hostPath("/Library/PreferenceLoader/Preferences"));
        addEntry("Counting", "TestCountingPane");
    }
    // A bundle with a loadable executable and an entry naming it.
    void addEntry(const std::string& label, const std::string& principal, bool icon = false) {
        const std::string bundle = "/Library/PreferenceBundles/" + label + ".bundle";
        std::filesystem::create_directories(root.hostPath(bundle));
        std::filesystem::copy_file(HM_EMPTY_BUNDLE_EXECUTABLE, root.hostPath(bundle + "/" + label));
        writeToFile(PlistDict{{"CFBundleExecutable", label}, {"NSPrincipalClass", principal}},
                    bundle + "/Info.plist", true);
        writeToFile(
            PlistDict{{"entry", PlistDict{{"bundle", label}, {"label", label}, {"cell", "PSLinkCell"}}}},
            "/Library/PreferenceLoader/Preferences/" + label + ".plist", true);
        if (icon) {
            id square = msg<id>(msg<id>(classObject(objc_getClass("UIView")), "alloc"),
                                "initWithFrame:", CGRectMake(0, 0, 29, 29));
            msg(square, "setBackgroundColor:", UIColor::rgba(1, 0, 0, 1));
            ASSERT_TRUE(UISnapshotWriteView(square, root.hostPath(bundle + "/icon@2x.png"), 2));
        }
    }
    UIWindow* screen() {
        window = app.screenWindow();
        return static_cast<UIWindow*>(window.get());
    }
    // The center of a row's cell on the screen.
    CGPoint rowCenter(const std::string& label) {
        id cell = app.cellForRow(label);
        const CGRect b = msg<CGRect>(cell, "bounds");
        return msg<CGPoint>(cell, "convertPoint:toView:", CGPoint{b.size.width / 2, b.size.height / 2},
                            nullptr);
    }
    PSTableView* table() {
        return static_cast<PSTableView*>(msg<id>(app.currentController(), "table").get());
    }
    CGFloat offset() { return table()->contentOffset().y; }
    CountingPane* pane() { return static_cast<CountingPane*>(app.currentController().get()); }

    DeviceRootFixture root{DeviceRootFixture::Options{.addons = {}, .package = false}};
    SettingsApp app{CGSize{320, 400}};
    id window;
};

TEST_F(SettingsScreen, OpensOnTheRootListOfEntriesWithTheirIcons) {
    addEntry("Alpha", "TestCountingPane", true);
    ASSERT_TRUE(app.launch());
    EXPECT_TRUE(app.showsRootList());
    EXPECT_EQ(msg<std::string>(app.currentController(), "title"), "Settings");
    EXPECT_EQ(app.rowLabels(), (std::vector<std::string>{"Alpha", "Counting"}));
    id withIcon = msg<id>(app.cellForRow("Alpha"), "imageView");
    ASSERT_TRUE(msg<id>(withIcon, "image"));
    EXPECT_EQ(msg<CGRect>(withIcon, "frame"), CGRectMake(15, 7.5, 29, 29));
    EXPECT_EQ(msg<CGRect>(msg<id>(app.cellForRow("Alpha"), "textLabel"), "frame").origin.x, 59);
    EXPECT_EQ(msg<CGRect>(msg<id>(app.cellForRow("Counting"), "textLabel"), "frame").origin.x, 15);
    // The icon is drawn where the row shows it.
    screen();
    const SnapshotImage shot = UISnapshotRenderView(window, 1);
    const CGPoint icon = msg<CGPoint>(withIcon, "convertPoint:toView:", CGPoint{14, 14}, nullptr);
    EXPECT_EQ(shot.at(size_t(icon.x), size_t(icon.y)).r, 255);
    EXPECT_EQ(shot.at(size_t(icon.x), size_t(icon.y)).g, 0);
}

TEST_F(SettingsScreen, ARowTouchedPushesItsPaneAndTheBackButtonReturns) {
    id pushed = app.openPaneFromList("Counting");
    ASSERT_TRUE(pushed);
    EXPECT_EQ(app.depth(), 2u);
    EXPECT_EQ(pane()->appearances, 1); // on the push
    EXPECT_EQ(app.openPaneFromList("Nowhere"), nullptr);
    EXPECT_EQ(app.depth(), 1u); // back on the list, which has no such row
    ASSERT_EQ(app.openPaneFromList("Counting") != nullptr, true);
    CountingPane* first = pane();

    // Deeper (at the end, scrolled to), then back by the bar's button: the pane appears again.
    screen()->scrollWheel({100, 200}, {0, 5000});
    ASSERT_TRUE(screen()->tap(rowCenter("Deeper")));
    EXPECT_EQ(app.depth(), 3u);
    screen();
    id back = msg<id>(window, "viewWithTag:", SettingsApp::kBackButtonTag);
    ASSERT_TRUE(back);
    const CGPoint onBack = msg<CGPoint>(back, "convertPoint:toView:", CGPoint{10, 22}, nullptr);
    ASSERT_TRUE(screen()->tap(onBack));
    EXPECT_EQ(app.depth(), 2u);
    EXPECT_EQ(pane(), first);
    EXPECT_EQ(first->appearances, 2);
    ASSERT_TRUE(screen()->tap(onBack));
    EXPECT_TRUE(app.showsRootList());
    EXPECT_EQ(app.depth(), 1u);
}

TEST_F(SettingsScreen, ADragScrollsTheTableWithoutTappingTheRowAndATapStillTaps) {
    ASSERT_TRUE(app.openPaneFromList("Counting"));
    UIWindow* w = screen();
    ASSERT_GT(msg<CGSize>(table()->self(), "contentSize").height, 400 - 64);
    const CGPoint start = rowCenter("Row 3");
    w->touchDown(start);
    EXPECT_FALSE(msg<bool>(msg<id>(app.cellForRow("Row 3"), "backgroundColor"),
                           "isEqual:", UIColor::rgba(1, 1, 1, 1))); // pressed
    for (int i = 1; i <= 20; ++i)
        w->touchMove({start.x, start.y - 5.0 * i});
    EXPECT_FALSE(w->touchUp({start.x, start.y - 100}));
    EXPECT_TRUE(pane()->tapped.empty());
    EXPECT_EQ(offset(), 100 - 15);
    EXPECT_TRUE(msg<bool>(msg<id>(app.cellForRow("Row 3"), "backgroundColor"),
                          "isEqual:", UIColor::rgba(1, 1, 1, 1))); // the press is taken back
    // The scrolled table is touched where it shows each row now.
    ASSERT_TRUE(w->tap(rowCenter("Row 7")));
    EXPECT_EQ(pane()->tapped, std::vector<std::string>{"Row 7"});
    // A finger that lifts on another row than it came down on acts on none.
    w->touchDown(rowCenter("Row 6"));
    w->touchMove({rowCenter("Row 6").x + 4, rowCenter("Row 6").y});
    w->touchUp(rowCenter("Row 5"));
    EXPECT_EQ(pane()->tapped.size(), 1u);
    // The wheel scrolls it too, to the end at most.
    EXPECT_TRUE(w->scrollWheel({100, 200}, {0, 5000}));
    EXPECT_EQ(offset(), table()->maximumContentOffset().y);
}

TEST_F(SettingsScreen, TheScreenKeepsItsScrollAcrossAWholePagePictureAndAPush) {
    ASSERT_TRUE(app.openPaneFromList("Counting"));
    screen()->scrollWheel({100, 200}, {0, 300});
    ASSERT_EQ(offset(), 300);
    id page = app.pageView(); // the whole page, unscrolled
    EXPECT_EQ(offset(), 0);
    EXPECT_GT(msg<CGRect>(page, "frame").size.height, 400);
    screen();
    EXPECT_EQ(offset(), 300);
    ASSERT_TRUE(screen()->tap(rowCenter("Deeper")));
    screen();
    EXPECT_EQ(offset(), 0); // a new page starts at its top
    ASSERT_TRUE(app.back());
    screen();
    EXPECT_EQ(offset(), 300);
}

TEST_F(SettingsScreen, ATextRowTouchedStartsEditingAndAnEntryOutOfSightStillOpens) {
    for (int i = 0; i < 12; ++i)
        addEntry("Extra" + std::to_string(10 + i), "TestCountingPane");
    ASSERT_TRUE(app.launch());
    screen();
    EXPECT_GT(CGRectGetMaxY(msg<CGRect>(app.cellForRow("Extra21"), "frame")), 400 - 64);
    ASSERT_TRUE(app.openPaneFromList("Extra21"));
    EXPECT_TRUE(isKindOfClass(app.currentController(), objc_getClass("TestCountingPane")));
    EXPECT_FALSE(app.editingRow());
    UIWindow* w = screen();
    w->scrollWheel({100, 200}, {0, 5000});
    // On the row's field, and on the row beside it.
    id field = msg<id>(app.cellForRow("Name"), "control");
    ASSERT_TRUE(w->tap(msg<CGPoint>(field, "convertPoint:toView:", CGPoint{5, 5}, nullptr)));
    ASSERT_TRUE(app.editingRow());
    EXPECT_EQ(app.editingRow()->row, 13);
    ASSERT_TRUE(w->tap(rowCenter("Row 11")));
    EXPECT_FALSE(app.editingRow());
    ASSERT_TRUE(
        w->tap(msg<CGPoint>(app.cellForRow("Name"), "convertPoint:toView:", CGPoint{20, 20}, nullptr)));
    ASSERT_TRUE(app.editingRow());
}

} // namespace

namespace {

// The root list and a pane as the phone shows them, written into the build tree for a person
// to look at.
TEST_F(SettingsScreen, PicturesForAPersonToLookAt) {
    addEntry("Alpha", "TestCountingPane", true);
    const std::string dir = HM_SETTINGS_PICTURES_DIR;
    ASSERT_TRUE(app.launch());
    EXPECT_TRUE(UISnapshotWriteView(app.screenWindow(), dir + "/settings_root.png", 2));
    ASSERT_TRUE(app.openPaneFromList("Counting"));
    app.screenWindow();
    static_cast<UIWindow*>(app.screenWindow().get())->scrollWheel({100, 200}, {0, 60});
    EXPECT_TRUE(UISnapshotWriteView(app.screenWindow(), dir + "/settings_pane.png", 2));
}

} // namespace
