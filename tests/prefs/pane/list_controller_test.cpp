// The root page in the Settings host with its real resource list: first-use seeding, the status
// row, Disarm Now and Clear, and the toggle-or-notify rule.
#include "HushmarkPaneFixture.h"
#include "foundation/DeviceClock.h"
#include "foundation/NSDateFormatter.h"
#include "foundation/NotifyCenter.h"
#include "foundation/PropertyList.h"
#include "foundation/RunLoop.h"
#include "pane/PaneState.h"
#include "preferences/SettingsApp.h"
#include "uikit/UISnapshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <tuple>

namespace {

const ClassDef<FakeSwitchPanel> kFakeSwitchPanel(
    "FSSwitchPanel", "NSObject",
    {
        classMethod("sharedPanel",
                    [](Object*) -> id {
                        static id panel = msg<id>(classObject(objc_getClass("FSSwitchPanel")), "new");
                        return panel;
                    }),
        method("setState:forSwitchIdentifier:", &FakeSwitchPanel::setStateForSwitchIdentifier),
    });

TEST_F(HushmarkPane, FirstOpenSeedsExactlyFourValuesSilentlyAndShowsAlarmsEnabledDisabled) {
    ASSERT_TRUE(open());
    const PlistDict expected{{"buttonColor", "#FF0000"},
                             {"buttonText", "Hushmark"},
                             {"preferColorPicker", true},
                             {"colorPickerType", 0}};
    EXPECT_EQ(settings(), expected);
    EXPECT_EQ(delivered(), 0);
    EXPECT_EQ(statusText(), "Alarms Enabled");
    EXPECT_FALSE(app.rowEnabled("Alarms Enabled"));
    // The list's rows, then status, then the button options in a section of their own.
    const std::vector<std::string> rows{"Enabled",
                                        "Status Bar Icon",
                                        "Button on Alarm Alerts",
                                        "Minutes to Disarm",
                                        "Color Picker Above Sliders",
                                        "Color Picker Slider",
                                        "Disarm Now",
                                        "Clear",
                                        "Alarms Enabled",
                                        "Button Color",
                                        "Button Text:"};
    EXPECT_EQ(app.rowLabels(), rows);
    EXPECT_EQ(app.findRow("Button Color"), (NSIndexPath{1, 0}));
    EXPECT_EQ(app.rowText("Button Text:"), "Hushmark");
    EXPECT_EQ(app.rowText("Minutes to Disarm"), "60");
    EXPECT_EQ(app.rowText("Color Picker Slider"), "Hue");
}

TEST_F(HushmarkPane, FirstUseKeepsTheUsersOwnValues) {
    store({{"buttonText", "Not now"}, {"colorPickerType", 2}, {"enabled", true}});
    open();
    EXPECT_EQ(settings(), seeded({{"buttonText", "Not now"}, {"colorPickerType", 2}, {"enabled", true}}));
    EXPECT_EQ(app.rowText("Button Text:"), "Not now");
    EXPECT_EQ(app.rowText("Color Picker Slider"), "Brightness");
}

TEST_F(HushmarkPane, AStoredColorMeansNothingIsWrittenOnOpen) {
    store({{"buttonColor", "00FF00"}});
    open();
    EXPECT_EQ(settings(), (PlistDict{{"buttonColor", "00FF00"}}));
}

struct DisarmCase {
    const char* name;
    PlistValue minutes; // none: absent
    double seconds;
};

TEST_F(HushmarkPane, DisarmNowSetsTheDeadlineFromTheStoredMinutes) {
    const DisarmCase cases[] = {
        {"30 as a number", PlistValue(30), 1800},
        {"30 as text", PlistValue("30"), 1800},
        {"text with a leading number", PlistValue(" 45 min"), 2700},
        {"absent", PlistValue(), 3600},
        {"not a number", PlistValue("abc"), 0},
        {"zero", PlistValue(0), 0},
    };
    open();
    for (const DisarmCase& c : cases) {
        PlistDict stored = seeded();
        if (!c.minutes.isNone())
            stored["disableForMinutes"] = c.minutes;
        store(stored);
        msg(app.currentController(), "viewWillAppear:", false); // the page picks the file up
        ASSERT_TRUE(app.tapRow("Disarm Now")) << c.name;
        const PlistDict after = settings();
        EXPECT_EQ(after.at("enabled"), PlistValue(true)) << c.name;
        EXPECT_EQ(after.at("disarmedUntil"), PlistValue(NSDate{kTen + c.seconds})) << c.name;
        EXPECT_EQ(statusText(), disarmedText(kTen + c.seconds)) << c.name;
    }
}

TEST_F(HushmarkPane, DisarmNowFor30MinutesAtTenShowsHalfPastTen) {
    store(seeded({{"disableForMinutes", 30}}));
    open();
    ASSERT_TRUE(app.tapRow("Disarm Now"));
    EXPECT_EQ(settings().at("disarmedUntil").asDate().timeIntervalSinceReferenceDate, kTen + 1800);
    const std::string status = statusText();
    EXPECT_EQ(status, disarmedText(kTen + 1800));
    EXPECT_NE(status.find("10:30:00"), std::string::npos) << status;
    EXPECT_NE(status.find("12/7/26"), std::string::npos) << status;
    EXPECT_TRUE(app.rowEnabled(status));
    EXPECT_EQ(delivered(), 1);
}

TEST_F(HushmarkPane, DisarmNowAndClearWriteTheCopyAsLastLoadedNotTheFile) {
    store(seeded({{"disableForMinutes", 30}, {"buttonText", "Mine"}}));
    open();
    // Another writer changes the file after the page loaded it; the page does not read it again.
    store(seeded({{"disableForMinutes", 5}, {"buttonText", "Theirs"}}));
    ASSERT_TRUE(app.tapRow("Disarm Now"));
    EXPECT_EQ(settings(), seeded({{"disableForMinutes", 30},
                                  {"buttonText", "Mine"},
                                  {"enabled", true},
                                  {"disarmedUntil", NSDate{kTen + 1800}}}));
    store(seeded({{"buttonText", "Theirs again"}}));
    ASSERT_TRUE(app.tapRow("Clear"));
    EXPECT_EQ(settings(), seeded({{"disableForMinutes", 30}, {"buttonText", "Mine"}, {"enabled", true}}));
}

// The status row of a list: its one static-text row.
id statusRowOf(const id& controller) {
    for (const id& row : msg<std::vector<id>>(controller, "specifiers"))
        if (msg<NSInteger>(row, "cellType") == 7)
            return row;
    return nullptr;
}

TEST_F(HushmarkPane, EveryListSharesOneCopyOfTheFileAndTheNewestStatusRow) {
    store(seeded({{"disableForMinutes", 30}}));
    const id first = open();
    const id firstStatus = statusRowOf(first);
    ASSERT_TRUE(firstStatus);
    // A second list, opened after the file changed, loads the copy every list uses and builds
    // the status row every list changes.
    store(seeded({{"disableForMinutes", 10}}));
    SettingsApp other;
    id bundle = msg<id>(classObject(objc_getClass("NSBundle")),
                        "bundleWithPath:", "/Library/PreferenceBundles/Hushmark.bundle");
    const id second = other.openController(objc_getClass("HushmarkListController"), bundle);
    const id secondStatus = statusRowOf(second);
    ASSERT_TRUE(secondStatus);
    ASSERT_NE(firstStatus, secondStatus);

    ASSERT_TRUE(app.tapRow("Disarm Now")); // on the first list
    EXPECT_EQ(settings().at("disarmedUntil"), PlistValue(NSDate{kTen + 600}));
    EXPECT_EQ(msg<std::string>(secondStatus, "name"), disarmedText(kTen + 600));
    EXPECT_EQ(msg<std::string>(firstStatus, "name"), "Alarms Enabled");
}

TEST_F(HushmarkPane, ZeroMinutesShowsTheDeadlineUntilTheListIsBuiltAgain) {
    store(seeded({{"disableForMinutes", 0}}));
    open();
    app.tapRow("Disarm Now");
    EXPECT_EQ(statusText(), disarmedText(kTen));
    msg(app.currentController(), "reloadSpecifiers");
    EXPECT_EQ(statusText(), "Alarms Enabled");
}

struct ListStatusCase {
    const char* name;
    bool enabled;
    double deadlineFromNow;
    bool disarmed;
};

TEST_F(HushmarkPane, TheStatusRowHonoursThe15SecondMargin) {
    const ListStatusCase cases[] = {
        {"10 s ahead", true, 10, false},      {"20 s ahead", true, 20, true},
        {"an hour ahead", true, 3600, true},  {"past", true, -60, false},
        {"switched off", false, 3600, false},
    };
    for (const ListStatusCase& c : cases) {
        store(seeded({{"enabled", c.enabled}, {"disarmedUntil", NSDate{kTen + c.deadlineFromNow}}}));
        SettingsApp fresh;
        id bundle = msg<id>(classObject(objc_getClass("NSBundle")),
                            "bundleWithPath:", "/Library/PreferenceBundles/Hushmark.bundle");
        fresh.openController(objc_getClass("HushmarkListController"), bundle);
        const auto labels = fresh.rowLabels();
        const std::string expected = c.disarmed ? disarmedText(kTen + c.deadlineFromNow) : "Alarms Enabled";
        EXPECT_NE(std::find(labels.begin(), labels.end(), expected), labels.end()) << c.name;
        EXPECT_EQ(fresh.rowEnabled(expected), c.enabled) << c.name;
    }
}

TEST_F(HushmarkPane, ClearRemovesTheDeadlineAndKeepsTheMasterSwitch) {
    store(seeded({{"enabled", true}, {"disarmedUntil", NSDate{kTen + 600}}}));
    open();
    EXPECT_EQ(statusText(), disarmedText(kTen + 600));
    ASSERT_TRUE(app.tapRow("Clear"));
    EXPECT_FALSE(settings().contains("disarmedUntil"));
    EXPECT_EQ(settings().at("enabled"), PlistValue(true));
    EXPECT_EQ(statusText(), "Alarms Enabled");
    EXPECT_TRUE(app.rowEnabled("Alarms Enabled"));
    EXPECT_EQ(delivered(), 1);
}

struct ToggleCase {
    const char* name;
    std::function<bool(SettingsApp&)> act;
    int toggledTo; // -1: the toggle is not used
};

TEST_F(HushmarkPane, WithTheToggleInstalledDisarmAndRearmGoThroughIt) {
    const ToggleCase cases[] = {
        {"Disarm Now", [](SettingsApp& a) { return a.tapRow("Disarm Now"); }, 1},
        {"Clear", [](SettingsApp& a) { return a.tapRow("Clear"); }, 0},
        {"master off", [](SettingsApp& a) { return a.setSwitch("Enabled", false); }, 0},
        {"master on", [](SettingsApp& a) { return a.setSwitch("Enabled", true); }, -1},
        {"another row", [](SettingsApp& a) { return a.setSwitch("Button on Alarm Alerts", true); }, -1},
        {"button text", [](SettingsApp& a) { return a.typeText("Button Text:", "Quiet"); }, -1},
    };
    const std::string flipswitch = "/Library/MobileSubstrate/DynamicLibraries/Flipswitch.dylib";
    const std::string toggle = "/Library/Switches/HushmarkFS.bundle/HushmarkFS";
    // The toggle counts as installed only with both files.
    const std::pair<const char*, std::vector<std::string>> installs[] = {{"neither", {}},
                                                                         {"Flipswitch alone", {flipswitch}},
                                                                         {"the switch alone", {toggle}},
                                                                         {"both", {flipswitch, toggle}}};
    for (const auto& [what, files] : installs) {
        std::filesystem::remove(root.hostPath(flipswitch));
        std::filesystem::remove(root.hostPath(toggle));
        for (const std::string& file : files)
            touch(file);
        const bool installed = files.size() == 2;
        store(seeded({{"enabled", true}}));
        open();
        for (const ToggleCase& c : cases) {
            FakeSwitchPanel::calls.clear();
            const int before = delivered();
            ASSERT_TRUE(c.act(app)) << c.name;
            const bool viaToggle = installed && c.toggledTo >= 0;
            if (viaToggle) {
                ASSERT_EQ(FakeSwitchPanel::calls.size(), 1u) << c.name;
                EXPECT_EQ(FakeSwitchPanel::calls[0].first, c.toggledTo) << c.name;
                EXPECT_EQ(FakeSwitchPanel::calls[0].second, "net.vexmoor.hushmarkfs") << c.name;
            } else {
                EXPECT_TRUE(FakeSwitchPanel::calls.empty()) << c.name << ", " << what;
            }
            EXPECT_EQ(delivered() - before, viaToggle ? 0 : 1) << c.name << ", " << what;
        }
    }
}

TEST_F(HushmarkPane, SwitchingTheMasterOffShowsAlarmsEnabledAndKeepsTheDeadline) {
    store(seeded({{"enabled", true}, {"disarmedUntil", NSDate{kTen + 600}}}));
    open();
    ASSERT_TRUE(app.setSwitch("Enabled", false));
    EXPECT_EQ(statusText(), "Alarms Enabled");
    EXPECT_FALSE(app.rowEnabled("Alarms Enabled"));
    EXPECT_EQ(settings().at("disarmedUntil"), PlistValue(NSDate{kTen + 600}));
    EXPECT_EQ(settings().at("enabled"), PlistValue(false));
    ASSERT_TRUE(app.setSwitch("Enabled", true));
    // The deadline still in the file silences alarms again: the row names it.
    EXPECT_EQ(statusText(), disarmedText(kTen + 600));
    EXPECT_TRUE(app.rowEnabled(disarmedText(kTen + 600)));
}

struct SwitchOnCase {
    const char* name;
    std::optional<double> deadlineFromNow; // none: no "disarmedUntil" in the file
    bool disarmed;
};

TEST_F(HushmarkPane, SwitchingTheMasterOnNamesTheStatusByThe15SecondRule) {
    const SwitchOnCase cases[] = {
        {"an hour ahead", 3600, true},
        {"20 s ahead", 20, true},
        {"15 s ahead", 15, false},
        {"past", -60, false},
        {"no deadline", std::nullopt, false},
    };
    for (const SwitchOnCase& c : cases) {
        PlistDict file = seeded({{"enabled", false}});
        if (c.deadlineFromNow)
            file["disarmedUntil"] = NSDate{kTen + *c.deadlineFromNow};
        store(file);
        open();
        ASSERT_TRUE(app.setSwitch("Enabled", true)) << c.name;
        const std::string expected = c.disarmed ? disarmedText(kTen + *c.deadlineFromNow) : "Alarms Enabled";
        EXPECT_EQ(statusText(), expected) << c.name;
        EXPECT_TRUE(app.rowEnabled(expected)) << c.name;
    }
}

struct ReappearCase {
    const char* name;
    PlistDict fileWhileAway;  // what another writer left in the file while the page was away
    double secondsAway;       // how far the clock moved meanwhile
    double deadlineFromStart; // 0: the row reads "Alarms Enabled"
    bool rowEnabled;
};

TEST_F(HushmarkPane, ThePageShownAgainWorksTheStatusOutFromTheFile) {
    const ReappearCase cases[] = {
        {"a disarm from an alarm's alert",
         {{"enabled", true}, {"disarmedUntil", NSDate{kTen + 1800}}},
         0,
         1800,
         true},
        {"the deadline passed", {{"enabled", true}, {"disarmedUntil", NSDate{kTen + 600}}}, 700, 0, true},
        {"the deadline now 15 s away",
         {{"enabled", true}, {"disarmedUntil", NSDate{kTen + 600}}},
         585,
         0,
         true},
        {"the deadline still 16 s away",
         {{"enabled", true}, {"disarmedUntil", NSDate{kTen + 600}}},
         584,
         600,
         true},
        {"switched off elsewhere", {{"enabled", false}, {"disarmedUntil", NSDate{kTen + 600}}}, 0, 0, false},
    };
    for (const ReappearCase& c : cases) {
        DeviceClock::setVirtualNow(NSDate{kTen});
        store(seeded({{"enabled", true}}));
        open();
        ASSERT_EQ(statusText(), "Alarms Enabled") << c.name;
        store(seeded(c.fileWhileAway));
        DeviceClock::setVirtualNow(NSDate{kTen + c.secondsAway});
        msg(app.currentController(), "viewWillAppear:", false);
        const std::string expected =
            c.deadlineFromStart > 0 ? disarmedText(kTen + c.deadlineFromStart) : "Alarms Enabled";
        EXPECT_EQ(statusText(), expected) << c.name;
        EXPECT_EQ(app.rowEnabled(expected), c.rowEnabled) << c.name;
    }
}

} // namespace
