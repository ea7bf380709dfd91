// A settings table reloaded after its rows change: it keeps the cells the controller hands back
// and its headers, footers and separators, marks only what changed for redrawing, and pictures
// exactly as a table loaded fresh with the same rows.
#include "preferences/PSCellTypes.h"
#include "preferences/PSListController.h"
#include "preferences/PSTableView.h"
#include "uikit/UIDirtyRegion.h"
#include "uikit/UISnapshot.h"
#include "uikit/UIView.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

id specifierOf(const std::string& name, NSInteger cell) {
    return msg<id>(classObject(objc_getClass("PSSpecifier")),
                   "preferenceSpecifierNamed:target:set:get:detail:cell:edit:", name, id{}, SEL{}, SEL{},
                   static_cast<Class*>(nullptr), cell, static_cast<Class*>(nullptr));
}

// Two sections: a headed group with a switch, a text row and a footer; then two plain rows.
std::vector<id> sampleRows() {
    id group = specifierOf("Options", PSGroupCell);
    msg(group, "setProperty:forKey:", PlistValue(std::string("What the options do.")),
        std::string("footerText"));
    id toggle = specifierOf("Enabled", PSSwitchCell);
    msg(toggle, "setProperty:forKey:", PlistValue(true), std::string("default"));
    return {group,
            toggle,
            specifierOf("Name", PSEditTextCell),
            specifierOf("", PSGroupCell),
            specifierOf("First", PSStaticTextCell),
            specifierOf("Second", PSStaticTextCell)};
}

struct Loaded {
    id window, controller;
    PSTableView* table = nullptr;
};

Loaded load(std::vector<id> rows) {
    Loaded l;
    l.window = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                       "initWithFrame:", CGRectMake(0, 0, 320, 600));
    l.controller = msg<id>(msg<id>(classObject(objc_getClass("PSListController")), "alloc"),
                           "initForContentSize:", CGSize{320, 600});
    id table = msg<id>(l.controller, "table");
    l.table = static_cast<PSTableView*>(table.get());
    // Shown in a screen: the table keeps its height (a table sized to its content redraws whole
    // when its height changes).
    l.table->sizesToContent = false;
    msg(table, "setFrame:", CGRectMake(0, 0, 320, 600));
    msg(l.window, "addSubview:", table);
    msg(l.controller, "setSpecifiers:", std::move(rows));
    return l;
}

bool covers(const std::vector<CGRect>& marks, CGPoint p) {
    for (const CGRect& r : marks)
        if (CGRectContainsPoint(r, p))
            return true;
    return false;
}

// The middle of a row's cell, in the window.
CGPoint middleOf(const PSTableView& table, NSIndexPath row) {
    const CGRect f = msg<CGRect>(table.cellForRowAtIndexPath(row), "frame");
    return {CGRectGetMidX(f), CGRectGetMidY(f)};
}

struct ReloadCase {
    const char* name;
    std::function<void(std::vector<id>& rows)> change; // applied to the loaded rows, then reloaded
    std::vector<NSIndexPath> redrawn;                  // rows (after the change) the marks cover
    std::vector<NSIndexPath> kept;                     // rows they do not
};
void PrintTo(const ReloadCase& c, std::ostream* os) {
    *os << c.name;
}

class TableReload : public ::testing::TestWithParam<ReloadCase> {};

TEST_P(TableReload, RedrawsWhatChangedAndPicturesAsAFreshLoad) {
    const ReloadCase& c = GetParam();
    std::vector<id> rows = sampleRows();
    Loaded shown = load(rows);
    auto* root = static_cast<UIView*>(shown.window.get());
    const std::vector<id> before = msg<std::vector<id>>(id(shown.table->self()), "subviews");
    UIDirtyTake(*root);

    c.change(rows);
    msg(shown.controller, "setSpecifiers:", rows);
    const std::vector<CGRect> marks = UIDirtyTake(*root);
    for (NSIndexPath row : c.redrawn)
        EXPECT_TRUE(covers(marks, middleOf(*shown.table, row))) << row.section << "." << row.row;
    for (NSIndexPath row : c.kept)
        EXPECT_FALSE(covers(marks, middleOf(*shown.table, row))) << row.section << "." << row.row;
    // Every view shown before and still wanted is the same object.
    const std::vector<id> after = msg<std::vector<id>>(id(shown.table->self()), "subviews");
    size_t reused = 0;
    for (const id& v : after)
        reused += std::count(before.begin(), before.end(), v);
    EXPECT_GE(reused, std::min(before.size(), after.size()) - 3) << "views made anew on a reload";

    Loaded fresh = load(rows);
    const SnapshotImage a = UISnapshotRenderView(id(shown.table->self()), 2);
    const SnapshotImage b = UISnapshotRenderView(id(fresh.table->self()), 2);
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    EXPECT_TRUE(a.rgba == b.rgba) << "the reloaded table pictures unlike a fresh one";
}

INSTANTIATE_TEST_SUITE_P(
    Changes, TableReload,
    ::testing::Values(
        ReloadCase{"NothingChanged", [](std::vector<id>&) {}, {}, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},
        ReloadCase{"RowRenamed",
                   [](std::vector<id>& rows) { msg(rows[4], "setName:", std::string("Renamed")); },
                   {{1, 0}},
                   {{0, 0}, {0, 1}, {1, 1}}},
        ReloadCase{"RowDisabled",
                   [](std::vector<id>& rows) {
                       msg(rows[2], "setProperty:forKey:", PlistValue(false), std::string("enabled"));
                   },
                   {{0, 1}},
                   {{0, 0}, {1, 0}, {1, 1}}},
        ReloadCase{"FooterLonger",
                   [](std::vector<id>& rows) {
                       msg(rows[0], "setProperty:forKey:",
                           PlistValue(std::string("What the options do, at length: a footer of two lines "
                                                  "moves the rows below it down.")),
                           std::string("footerText"));
                   },
                   {{1, 0}, {1, 1}},
                   {{0, 0}, {0, 1}}},
        ReloadCase{"RowAdded",
                   [](std::vector<id>& rows) { rows.push_back(specifierOf("Third", PSStaticTextCell)); },
                   {{1, 2}},
                   {{0, 0}, {0, 1}, {1, 0}}},
        ReloadCase{"RowRemoved",
                   [](std::vector<id>& rows) { rows.erase(rows.begin() + 4); },
                   {{1, 0}},
                   {{0, 0}, {0, 1}}}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
