// The phone as a person holds it: what is in front after the home button, an icon, the switcher
// and the lock; a step on the Settings screen bringing Settings to the front and nothing else; an
// app resumed as left and started afresh once closed; SpringBoard's ringing alarm over an app,
// taking the touch; the Clock app's list following alarms set elsewhere.
#include "device/Device.h"
#include "device/DeviceImage.h"
#include "device/LocalTime.h"

#include "clock/ClockApp.h"
#include "preferences/SettingsApp.h"
#include "springboard/HomeScreenViews.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

namespace sim {
namespace {

namespace fs = std::filesystem;

class PhoneTest : public testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "hm-sim-phone-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        root_ = pattern;
        fs::remove(root_);
        DeviceImageOptions options;
        options.addons = {"libstatusbar"};
        ASSERT_EQ(layDeviceImage(root_, options), "");
        device_ = std::make_unique<Device>(
            Device::Options{root_, *dateFromLocal("2026-12-07 06:59:00", "UTC"), false});
        ASSERT_EQ(device_->world().setSetting("enabled", true), "");
        ASSERT_EQ(device_->world().setSetting("enableAlertButtons", true), "");
        ASSERT_EQ(device_->boot(), "");
    }
    void TearDown() override {
        device_.reset();
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    std::string front() { return device_->apps().inFront(); }
    // The events since a cursor, as "kind  detail".
    std::vector<std::string> eventsSince(size_t cursor) {
        std::vector<std::string> out;
        for (const DeviceEvent& e : device_->events(cursor))
            out.push_back(e.kind + "  " + e.detail);
        return out;
    }
    // A view's center on the phone, found by its tag in the inspection.
    CGPoint centerOfTag(long tag) {
        std::function<const nlohmann::json*(const nlohmann::json&)> find =
            [&](const nlohmann::json& v) -> const nlohmann::json* {
            if (v["tag"] == tag)
                return &v;
            if (v.contains("subviews"))
                for (const auto& sub : v["subviews"])
                    if (const auto* found = find(sub))
                        return found;
            return nullptr;
        };
        const nlohmann::json inspection = device_->inspection().inspect(Screen::Phone);
        const nlohmann::json* view = find(inspection["views"]);
        EXPECT_TRUE(view) << "no view tagged " << tag;
        if (!view)
            return {-1, -1};
        const auto& f = (*view)["frame"];
        return {f["x"].get<double>() + f["width"].get<double>() / 2,
                f["y"].get<double>() + f["height"].get<double>() / 2};
    }

    fs::path root_;
    std::unique_ptr<Device> device_;
};

TEST_F(PhoneTest, WhatIsInFrontFollowsTheHomeButtonTheIconsAndTheLock) {
    struct Case {
        const char* action;
        std::function<std::string(Device&)> run;
        std::string error; // "" when it is carried out
        std::string front;
    };
    const Case cases[] = {
        {"nothing yet", [](Device&) { return std::string(); }, "", "home"},
        {"open Settings", [](Device& d) { return d.input().openApp("Settings"); }, "", "Settings"},
        {"home", [](Device& d) { return d.input().pressHome(); }, "", "home"},
        {"open Clock", [](Device& d) { return d.input().openApp("Clock"); }, "", "Clock"},
        {"open Settings from Clock", [](Device& d) { return d.input().openApp("Settings"); }, "", "Settings"},
        {"switcher", [](Device& d) { return d.input().showSwitcher(); }, "", "switcher"},
        {"home from the switcher", [](Device& d) { return d.input().pressHome(); }, "", "home"},
        {"open an app not installed", [](Device& d) { return d.input().openApp("Safari"); },
         "no app \"Safari\" is installed; the apps are \"Settings\" and \"Clock\"", "home"},
        {"lock", [](Device& d) { return d.world().lock(true); }, "", "lock"},
        {"home while locked", [](Device& d) { return d.input().pressHome(); },
         "the phone is locked (unlock it first)", "lock"},
        {"open while locked", [](Device& d) { return d.input().openApp("Clock"); },
         "the phone is locked (unlock it first)", "lock"},
        {"unlock", [](Device& d) { return d.world().lock(false); }, "", "home"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.run(*device_), c.error) << c.action;
        EXPECT_EQ(front(), c.front) << c.action;
        EXPECT_EQ(device_->inspection().state()["front"], c.front) << c.action;
    }
}

// A step on the Settings screen opens Settings as a person would: its launch is the only event
// it adds, and the row acts as before.
TEST_F(PhoneTest, ASettingsStepBringsSettingsToTheFrontAndNothingElse) {
    ASSERT_EQ(front(), "home");
    const size_t cursor = device_->eventCount();
    // Settings opens on its root list, where the row is.
    ASSERT_EQ(device_->input().tapRow("Hushmark"), "");
    EXPECT_EQ(front(), "Settings");
    EXPECT_EQ(device_->apps().settingsApp()->depth(), 2u);
    const auto events = eventsSince(cursor);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), "app launched  Settings");
    for (size_t i = 1; i < events.size(); ++i)
        EXPECT_EQ(events[i].rfind("app ", 0), std::string::npos) << events[i];
    ASSERT_EQ(device_->input().pressHome(), "");
    const size_t again = device_->eventCount();
    ASSERT_EQ(device_->input().setRowSwitch("Enabled", false), "");
    EXPECT_EQ(front(), "Settings");
    EXPECT_EQ(eventsSince(again).front(), "app resumed  Settings");
    EXPECT_EQ(device_->world().settingText("enabled"), "false");
}

TEST_F(PhoneTest, AnAppResumesAsLeftAndStartsAfreshOnceClosedFromTheSwitcher) {
    ASSERT_EQ(device_->input().openSettings(), "");
    ASSERT_EQ(device_->input().tapRow("Button Color"), "");
    const size_t onColorPage = device_->apps().settingsApp()->depth();
    ASSERT_EQ(onColorPage, 3u); // the root list, Hushmark's page, the color page
    ASSERT_EQ(device_->input().openApp("Clock"), "");
    ASSERT_EQ(device_->input().openApp("Settings"), "");
    EXPECT_EQ(device_->apps().settingsApp()->depth(), onColorPage);

    // The switcher's cards, most recent first: Settings' close button.
    ASSERT_EQ(device_->input().showSwitcher(), "");
    const size_t cursor = device_->eventCount();
    ASSERT_EQ(device_->input().tap(Screen::Phone, centerOfTag(springboard::kSwitcherCloseTagBase)), "");
    EXPECT_EQ(eventsSince(cursor), std::vector<std::string>{"app closed  Settings"});
    ASSERT_EQ(device_->input().openApp("Settings"), "");
    EXPECT_EQ(device_->apps().settingsApp()->depth(), 1u);
    EXPECT_TRUE(device_->apps().settingsApp()->showsRootList());
}

// The alarm ringing over the Clock app takes every touch: one outside it goes nowhere, the extra
// button on it stops the alarm; then the app's list shows the once-alarm switched off.
TEST_F(PhoneTest, TheRingingAlarmComesOverTheAppInFrontAndTakesTheTouch) {
    ASSERT_EQ(device_->input().addClockAlarm({7, 0, "Wake up", false, true}), "");
    ASSERT_EQ(front(), "Clock");
    ASSERT_EQ(device_->apps().clockApp()->rows().size(), 1u);
    ASSERT_EQ(device_->world().advance(61), "");
    const CGPoint plus = *device_->apps().clockApp()->pointOf("+");
    EXPECT_EQ(device_->input().tap(Screen::Phone, plus),
              "nothing takes a touch at (" + std::to_string(int(plus.x)) + ", " +
                  std::to_string(int(plus.y)) + ") on the phone screen");
    const nlohmann::json alert = device_->inspection().inspect(Screen::Phone)["alerts"].back();
    const auto& extra = alert["accessory"]["subviews"][0]["frame"];
    const size_t cursor = device_->eventCount();
    ASSERT_EQ(
        device_->input().tap(Screen::Phone, {extra["x"].get<double>() + extra["width"].get<double>() / 2,
                                             extra["y"].get<double>() + extra["height"].get<double>() / 2}),
        "");
    EXPECT_EQ(eventsSince(cursor).front(), "alarm stopped  Wake up");
    EXPECT_EQ(front(), "Clock");
    EXPECT_FALSE(device_->apps().clockApp()->rows().at(0).on);
}

// An alarm set elsewhere (the world's shortcut) shows in the Clock app's list at once.
TEST_F(PhoneTest, TheClockListFollowsAlarmsSetElsewhere) {
    ASSERT_EQ(device_->input().openApp("Clock"), "");
    ASSERT_TRUE(device_->apps().clockApp()->rows().empty());
    ASSERT_EQ(device_->world().addAlarm({8 * 3600, "Stand-up"}), "");
    ASSERT_EQ(device_->apps().clockApp()->rows().size(), 1u);
    EXPECT_EQ(device_->apps().clockApp()->rows()[0].detail, "Stand-up");
}

// The Clock app is made when first opened, as it was at boot: in the boot's locale (a locale
// written since takes effect at the next respring, as before) and on the alarms as they are then.
TEST_F(PhoneTest, TheClockAppOpensInTheBootsLocaleOnTheAlarmsOfTheMoment) {
    DeviceImageOptions german;
    german.locale = "de_DE";
    ASSERT_EQ(writeDeviceSettings(root_, german), "");
    ASSERT_EQ(device_->world().addAlarm({8 * 3600 + 5 * 60, "Stand-up"}), "");
    ASSERT_EQ(device_->input().openApp("Clock"), "");
    const auto rows = device_->apps().clockApp()->rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].time, "8:05 AM");
    EXPECT_EQ(rows[0].detail, "Stand-up");
}

// Typing on the phone goes to the field touched: the Clock app's label, ended by Return.
TEST_F(PhoneTest, TheKeyboardTypesIntoTheClockLabelAndReturnEndsIt) {
    ASSERT_EQ(device_->input().openApp("Clock"), "");
    clockapp::ClockApp& clock = *device_->apps().clockApp();
    ASSERT_EQ(device_->input().tap(Screen::Phone, *clock.pointOf("+")), "");
    ASSERT_EQ(device_->input().tap(Screen::Phone, *clock.pointOf("Label")), "");
    ASSERT_EQ(device_->input().tap(Screen::Phone, *clock.pointOf("label field")), "");
    ASSERT_EQ(device_->input().type("Gym"), "");
    EXPECT_EQ(device_->input().press(Key::Return), "");
    EXPECT_EQ(clock.page(), clockapp::ClockApp::Page::Add);
    EXPECT_EQ(clock.labelValue(), "Gym");
    EXPECT_EQ(device_->input().type("x"), "no text field is being edited (touch one first)");
}

// A look at the Settings screen while a finger is on the phone leaves the touched views where they
// are: the drag goes on scrolling the phone's table.
TEST_F(PhoneTest, ALookAtSettingsDuringADragOnThePhoneLeavesTheDragAlone) {
    ASSERT_EQ(device_->input().openSettings(), "");
    auto enabledY = [&] {
        const nlohmann::json phone = device_->inspection().inspect(Screen::Phone);
        for (const auto& row : phone["settings"]["rows"])
            if (row["label"] == "Enabled")
                return row["frame"]["y"].get<double>();
        return -1e9;
    };
    const double before = enabledY();
    ASSERT_EQ(device_->input().touchDown(Screen::Phone, {60, before + 20}), "");
    device_->inspection().inspect(Screen::Settings);
    ASSERT_EQ(device_->input().touchMove(Screen::Phone, {60, before}), "");
    ASSERT_EQ(device_->input().touchMove(Screen::Phone, {60, before - 60}), "");
    ASSERT_EQ(device_->input().touchUp(Screen::Phone, {60, before - 60}), "");
    EXPECT_EQ(device_->world().settingText("enabled"), "true"); // a scroll, not a tap
    EXPECT_EQ(enabledY(), before - 60);                         // the move past the slop starts the scroll
}

} // namespace
} // namespace sim
