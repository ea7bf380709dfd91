// The device as a second front end sees it: pictures and their change counter, events by cursor
// and by subscription, touches refused where nothing takes them, alerts on the screen that
// showed them, the inspection's shape, and the world a respring carries. Each test boots its own device in
// its own process.
#include "BootedSimDevice.h"
#include "device/Device.h"
#include "device/DeviceImage.h"
#include "device/LocalTime.h"

#include "foundation/DeviceClock.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/stat.h>

namespace sim {
namespace {

namespace fs = std::filesystem;

class DeviceTest : public BootedSimDevice {
  protected:
    // The extra button is on from boot.
    DeviceTest() : BootedSimDevice({{"enabled", true}, {"enableAlertButtons", true}}) {}

    // The alarm at 07:00 ringing, with the extra button on its alert.
    void ringWithButton() {
        ASSERT_EQ(device_->world().addAlarm({7 * 3600, "Wake up"}), "");
        ASSERT_EQ(device_->world().advance(61), "");
    }
};

TEST_F(DeviceTest, ScreenVersionGrowsOnlyWhenThePictureChanges) {
    const uint64_t first = device_->pictures().screenVersion(Screen::SpringBoard);
    EXPECT_EQ(device_->pictures().screenVersion(Screen::SpringBoard), first);
    ASSERT_EQ(device_->world().advance(30), "");
    EXPECT_EQ(device_->pictures().screenVersion(Screen::SpringBoard), first) << "06:59:30 still shows 06:59";
    ASSERT_EQ(device_->world().advance(30), "");
    EXPECT_GT(device_->pictures().screenVersion(Screen::SpringBoard), first)
        << "the status bar's clock turned to 07:00";
    // A front end asks with the version it has: bytes only when the picture changed.
    const Pictures::Frame current = device_->pictures().frame(Screen::SpringBoard, 0);
    EXPECT_FALSE(current.png.empty());
    EXPECT_TRUE(device_->pictures().frame(Screen::SpringBoard, current.version).png.empty());
    const uint64_t settings = device_->pictures().screenVersion(Screen::Settings);
    ASSERT_EQ(device_->input().openSettings(), "");
    EXPECT_GT(device_->pictures().screenVersion(Screen::Settings), settings);
}

TEST_F(DeviceTest, PngBytesAreAPictureOfTheScreenAtItsScale) {
    const std::vector<uint8_t> png = device_->pictures().png(Screen::SpringBoard);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    auto be32 = [&](size_t at) {
        return (png[at] << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) | png[at + 3];
    };
    EXPECT_EQ(be32(16), 640); // IHDR width and height: 320 x 568 points at scale 2
    EXPECT_EQ(be32(20), 1136);
}

TEST_F(DeviceTest, EventsByCursorAndBySubscription) {
    std::vector<std::string> heard;
    const int token = device_->subscribe([&](const DeviceEvent& e) { heard.push_back(e.kind); });
    const size_t cursor = device_->eventCount();
    ASSERT_EQ(device_->world().lock(true), "");
    ASSERT_EQ(device_->events(cursor).size(), 1u);
    EXPECT_EQ(device_->events(cursor)[0].kind, "device locked");
    EXPECT_EQ(heard, std::vector<std::string>{"device locked"});
    device_->unsubscribe(token);
    ASSERT_EQ(device_->world().lock(false), "");
    EXPECT_EQ(heard.size(), 1u);
    EXPECT_EQ(device_->events(device_->eventCount()).size(), 0u);
    ASSERT_EQ(device_->world().setClock(device_->now().dateByAddingTimeInterval(3600)), "");
    EXPECT_EQ(device_->events(device_->eventCount() - 1)[0].kind, "clock set");
}

TEST_F(DeviceTest, TouchesNeedSomethingToTakeThemAndAFingerDown) {
    EXPECT_EQ(device_->input().touchMove(Screen::SpringBoard, {10, 10}),
              "no finger is down on the springboard screen");
    EXPECT_EQ(device_->input().touchUp(Screen::Settings, {10, 10}),
              "no finger is down on the settings screen");
    EXPECT_EQ(device_->input().touchDown(Screen::SpringBoard, {-50, 10}),
              "nothing takes a touch at (-50, 10) on the springboard screen");
    EXPECT_EQ(device_->input().tap(Screen::SpringBoard, {160, 300}), "");
    EXPECT_EQ(device_->input().type("x"), "no text field is being edited (touch one first)");
    EXPECT_EQ(device_->input().tapAlertButton("OK"), "no alert is shown");
}

// The clock's steps in the device: to a time of day (today, else tomorrow), to a local time on
// a day or today (forward or back), and to the next alarm; the state both front ends serve
// reads the result.
TEST_F(DeviceTest, TheClockMovesToLocalTimesAndTheNextAlarm) {
    auto local = [&] { return localDateTime(device_->now(), "UTC"); };
    struct Case {
        std::function<std::string()> step;
        std::string error;
        const char* after;
    };
    const Case cases[] = {
        {[&] { return device_->world().advanceToNextAlarm(); }, "no alarm is set", "2026-12-07 06:59:00"},
        {[&] { return device_->world().advanceTo(7 * 3600 + 1); }, "", "2026-12-07 07:00:01"},
        {[&] { return device_->world().advanceTo(6 * 3600); }, "", "2026-12-08 06:00:00"},
        {[&] { return device_->world().setLocalTime(std::nullopt, 5 * 3600 + 30 * 60); }, "",
         "2026-12-08 05:30:00"},
        {[&] {
             return device_->world().setLocalTime(CalendarDay{2027, 1, 2}, 7 * 3600 + 5 * 60 + 9);
         },
         "", "2027-01-02 07:05:09"},
        {[&] {
             return device_->world().setLocalTime(CalendarDay{2026, 12, 31}, 23 * 3600);
         },
         "", "2026-12-31 23:00:00"},
        {[&] {
             return device_->world().addAlarm({8 * 3600 + 15 * 60, "Late"});
         },
         "", "2026-12-31 23:00:00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.step(), c.error);
        EXPECT_EQ(local(), c.after);
    }
    const auto state = device_->inspection().state();
    EXPECT_EQ(state["time"], "2026-12-31 23:00:00");
    EXPECT_EQ(state["alarms"][0]["time"], "08:15:00");
    EXPECT_EQ(state["alarms"][0]["label"], "Late");
    EXPECT_EQ(state["nextAlarm"], "2027-01-01 08:15:00");
    EXPECT_EQ(device_->inspection().inspect(Screen::SpringBoard)["springboard"]["alarms"], state["alarms"]);
    EXPECT_EQ(device_->world().advanceToNextAlarm(), "");
    EXPECT_EQ(local(), "2027-01-01 08:15:00");
}

// A screen's extent is its window's: the phone's screen, or a Settings page as long as it is.
TEST_F(DeviceTest, ScreenExtentsAreTheWindows) {
    EXPECT_EQ(device_->inspection().extent(Screen::SpringBoard).height, 568);
    ASSERT_EQ(device_->input().openSettings(), "");
    ASSERT_EQ(device_->input().tapRow("Button Color"), "");
    const auto image = device_->pictures().render(Screen::Settings);
    EXPECT_GT(device_->inspection().extent(Screen::Settings).height, 568);
    EXPECT_EQ(device_->inspection().extent(Screen::Settings).height * device_->setup().scale,
              double(image.height));
    EXPECT_EQ(device_->inspection().extent(Screen::Settings).width * device_->setup().scale,
              double(image.width));
}

// The Settings back button is a control in the navigation bar that hit testing reaches: a tap
// on it goes back; a tap on the title or the status bar above it does not.
TEST_F(DeviceTest, TheBackButtonIsWhereItIsDrawn) {
    auto depth = [&] {
        return device_->inspection().inspect(Screen::Settings)["settings"]["depth"].get<int>();
    };
    struct Case {
        CGPoint at;
        bool back;
    };
    const Case cases[] = {
        {{30, 42}, true}, {{12, 25}, true}, {{160, 42}, false}, {{30, 10}, false}, {{300, 42}, false}};
    ASSERT_EQ(device_->input().openSettings(), "");
    const int pane = depth(); // Hushmark's page, over Settings' root list
    ASSERT_EQ(pane, 2);
    for (const Case& c : cases) {
        ASSERT_EQ(device_->input().tapRow("Button Color"), "");
        ASSERT_EQ(depth(), pane + 1);
        device_->input().tap(Screen::Settings, c.at);
        EXPECT_EQ(depth(), c.back ? pane : pane + 1) << c.at.x << ", " << c.at.y;
        if (!c.back) {
            ASSERT_EQ(device_->input().settingsBack(), "");
        }
    }
    // The bar's back button is a control with the page's navigation action, as inspection shows it.
    ASSERT_EQ(device_->input().tapRow("Button Color"), "");
    const auto bar = device_->inspection().inspect(Screen::Settings)["views"]["subviews"][0]["subviews"][1];
    const auto button = std::find_if(bar["subviews"].begin(), bar["subviews"].end(),
                                     [](const nlohmann::json& v) { return v["class"] == "UIControl"; });
    ASSERT_NE(button, bar["subviews"].end());
    EXPECT_EQ((*button)["subviews"][0]["text"], "\u2039 Hushmark");
}

TEST_F(DeviceTest, AlertsBelongToTheScreenThatShowedThem) {
    ringWithButton();
    ASSERT_EQ(device_->apps().alertsOn(Screen::SpringBoard).size(), 1u);
    EXPECT_TRUE(device_->apps().alertsOn(Screen::Settings).empty());
    ASSERT_EQ(device_->input().tapAlertButton("OK"), "");
    ASSERT_EQ(device_->input().openSettings(), "");
    ASSERT_EQ(device_->input().tapRow("Button Color"), "");
    // The hex button, found by what its touch sends, opens the prompt on the Settings screen.
    std::function<const nlohmann::json*(const nlohmann::json&)> hexButton =
        [&](const nlohmann::json& v) -> const nlohmann::json* {
        if (v.contains("actions") && v["actions"].dump().find("askUserForInputHex") != std::string::npos)
            return &v;
        if (v.contains("subviews"))
            for (const auto& sub : v["subviews"])
                if (auto* found = hexButton(sub))
                    return found;
        return nullptr;
    };
    nlohmann::json page = device_->inspection().inspect(Screen::Settings);
    const nlohmann::json* button = hexButton(page["views"]);
    ASSERT_TRUE(button);
    const auto& f = (*button)["frame"];
    ASSERT_EQ(device_->input().tap(Screen::Settings, {f["x"].get<double>() + f["width"].get<double>() / 2,
                                                      f["y"].get<double>() + f["height"].get<double>() / 2}),
              "");
    ASSERT_EQ(device_->apps().alertsOn(Screen::Settings).size(), 1u);
    EXPECT_TRUE(device_->apps().alertsOn(Screen::SpringBoard).empty());
    EXPECT_TRUE(device_->inspection().inspect(Screen::SpringBoard)["alerts"].empty());
    ASSERT_EQ(device_->inspection().inspect(Screen::Settings)["alerts"].size(), 1u);
    ASSERT_EQ(device_->input().type("#80B8EF"), "");
    ASSERT_EQ(device_->input().press(Key::Return), "");
    EXPECT_EQ(device_->world().settingText("buttonColor"), "#80B8EF");
    EXPECT_TRUE(device_->apps().alertsOn(Screen::Settings).empty());
}

// The text being typed into belongs to its prompt: once the prompt is gone, typing and the
// inspection no longer reach its field, however it went (its cancel button, its Return).
TEST_F(DeviceTest, EditingEndsWithThePromptThatHeldTheField) {
    ASSERT_EQ(device_->input().openSettings(), "");
    ASSERT_EQ(device_->input().tapRow("Button Color"), "");
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "cancel" : "return");
        ASSERT_EQ(device_->input().tap(Screen::Settings, {160, 509}), ""); // the hex value
        ASSERT_EQ(device_->apps().alertsOn(Screen::Settings).size(), 1u);
        ASSERT_EQ(device_->input().type("#80B8EF"), "");
        const nlohmann::json shown = device_->inspection().inspect(Screen::Settings);
        ASSERT_FALSE(shown["editing"].is_null());
        if (cancel) {
            const auto& alert = shown["alerts"][0];
            const auto index = alert["cancelButtonIndex"].get<long>();
            ASSERT_GE(index, 0);
            ASSERT_EQ(device_->input().tapAlertButton(alert["buttons"][size_t(index)]["title"]), "");
        } else {
            ASSERT_EQ(device_->input().press(Key::Return), "");
        }
        EXPECT_TRUE(device_->apps().alertsOn(Screen::Settings).empty());
        EXPECT_TRUE(device_->inspection().inspect(Screen::Settings)["editing"].is_null());
        EXPECT_EQ(device_->input().type("1"), "no text field is being edited (touch one first)");
    }
}

TEST_F(DeviceTest, InspectionShowsTheAlertButtonAsItIsPainted) {
    ringWithButton();
    nlohmann::json j = device_->inspection().inspect(Screen::SpringBoard);
    EXPECT_EQ(j["screen"], "springboard");
    EXPECT_EQ(j["width"], 320);
    EXPECT_EQ(j["views"]["class"], "UIWindow");
    ASSERT_EQ(j["alerts"].size(), 1u);
    const nlohmann::json& alert = j["alerts"][0];
    EXPECT_EQ(alert["title"], "Wake up");
    EXPECT_EQ(alert["tag"], 2627);
    ASSERT_EQ(alert["buttons"].size(), 2u);
    EXPECT_EQ(alert["buttons"][0]["title"], "Snooze");
    ASSERT_TRUE(alert["accessory"].is_object());
    const nlohmann::json& button = alert["accessory"]["subviews"][0];
    EXPECT_EQ(button["title"], "Hushmark");
    EXPECT_EQ(button["background"], "#FF0000");
    EXPECT_EQ(button["titleColor"], "#FFFFFF");
    EXPECT_EQ(j["springboard"]["ringing"]["title"], "Wake up");
    // The button's frame is where a finger finds it.
    const auto& f = button["frame"];
    const CGPoint center{f["x"].get<double>() + f["width"].get<double>() / 2,
                         f["y"].get<double>() + f["height"].get<double>() / 2};
    ASSERT_EQ(device_->input().touchDown(Screen::SpringBoard, center), "");
    nlohmann::json pressed = device_->inspection().inspect(Screen::SpringBoard);
    EXPECT_EQ(pressed["alerts"][0]["accessory"]["subviews"][0]["highlighted"], true);
    EXPECT_EQ(pressed["alerts"][0]["accessory"]["subviews"][0]["background"],
              "#CC0000"); // the tweak's touch feedback
    const size_t cursor = device_->eventCount();
    ASSERT_EQ(device_->input().touchUp(Screen::SpringBoard, center), "");
    EXPECT_TRUE(device_->apps().alertsOn(Screen::SpringBoard).empty());
    std::vector<std::string> kinds;
    for (const DeviceEvent& e : device_->events(cursor))
        kinds.push_back(e.kind);
    EXPECT_NE(std::find(kinds.begin(), kinds.end(), "alarm stopped"), kinds.end());
}

// Files a front end writes or deletes by device path, with what sits there: every case returns at
// once (a FIFO is not waited on), nothing outside the root is touched, and a write's missing
// folders are made inside it.
TEST_F(DeviceTest, FileWritesAndDeletesStayInsideTheRootAndNeverWait) {
    const fs::path outside = root_.string() + "-outside";
    fs::create_directories(outside);
    { std::ofstream(outside / "secret") << "kept"; }
    const fs::path tmp = root_ / "tmp";
    fs::create_symlink("../../" + outside.filename().string(), tmp / "out");
    fs::create_symlink(outside, tmp / "out-absolute");
    ASSERT_EQ(::mkfifo((tmp / "fifo").c_str(), 0644), 0);
    fs::create_directories(tmp / "folder");
    { std::ofstream(tmp / "target") << "target"; }
    fs::create_symlink("target", tmp / "alias");

    struct Case {
        const char* path;
        const char* written; // what writeFile answers ("" when written)
    };
    const Case writes[] = {
        {"/tmp/fifo", "cannot write /tmp/fifo"},
        {"/tmp/folder", "cannot write /tmp/folder"},
        {"/tmp/out/secret", "the path /tmp/out/secret is outside the device"},
        {"/tmp/out-absolute/new", ""}, // an absolute link counts from the root: its folders are made in it
        {"/tmp/out/new/deeper", "the path /tmp/out/new/deeper is outside the device"},
        {"/../escape", "the path /../escape is outside the device"},
        {"/tmp/new/deeper/file", ""},
        {"/tmp/alias", ""},
    };
    for (const Case& c : writes)
        EXPECT_EQ(device_->world().writeFile(c.path, "bytes"), c.written) << c.path;
    ASSERT_TRUE(fs::is_regular_file(tmp / "new/deeper/file"));
    EXPECT_EQ(fs::file_size(tmp / "new/deeper/file"), 5u);
    EXPECT_TRUE(fs::is_symlink(tmp / "alias")) << "a write through a link replaces what it names";
    EXPECT_EQ(fs::file_size(tmp / "target"), 5u);
    EXPECT_TRUE(fs::is_fifo(tmp / "fifo"));
    EXPECT_TRUE(fs::is_regular_file(root_ / outside.relative_path() / "new"));

    EXPECT_EQ(device_->world().deleteFile("/tmp/out/secret"),
              "the path /tmp/out/secret is outside the device");
    EXPECT_EQ(device_->world().deleteFile("/tmp/alias"), "");
    EXPECT_FALSE(fs::is_symlink(tmp / "alias")) << "the link itself goes";
    EXPECT_TRUE(fs::exists(tmp / "target")) << "not what it names";
    EXPECT_EQ(device_->world().deleteFile("/tmp/missing"), "");

    std::vector<std::string> left;
    for (const auto& entry : fs::directory_iterator(outside))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"secret"});
    EXPECT_EQ(fs::file_size(outside / "secret"), 4u);
    fs::remove_all(outside);
}

// What a respring carries: the world's alarms (on or off, daily or once, with or without snooze),
// the lock and the clock, read back into a world that has not booted yet. A saved alarm whose
// time lies outside a day (a damaged state file) is left out rather than set.
TEST(WorldAcrossRespring, TheSavedWorldComesBackAsItWas) {
    const DeviceSetup setup;
    Apps apps(setup);
    World world(apps);
    DeviceClock::useVirtual(*dateFromLocal("2026-12-07 06:59:00", "UTC"));
    const std::vector<AlarmRequest> set = {
        {7 * 3600, "Wake up", true, false, true},
        {6 * 3600 + 30 * 60 + 15, "", false, true, true},
        {23 * 3600 + 59 * 60 + 59, "Off", true, true, false},
    };
    for (const AlarmRequest& a : set)
        ASSERT_EQ(world.addAlarm(a), "");
    ASSERT_EQ(world.lock(true), "");
    PlistDict saved = world.saved();
    PlistArray alarms = valueForKey(saved, "alarms").asArray();
    for (NSInteger outside : {NSInteger(-1), NSInteger(86400)}) {
        PlistDict damaged = alarms.front().asDict();
        damaged["time"] = PlistValue(outside);
        alarms.emplace_back(std::move(damaged));
    }
    saved["alarms"] = PlistValue(std::move(alarms));
    const NSDate savedAt = world.now();
    ASSERT_EQ(world.setClock(savedAt.dateByAddingTimeInterval(3600)), "");

    Apps laterApps(setup);
    World later(laterApps);
    later.restore(saved);
    EXPECT_EQ(later.now().timeIntervalSinceReferenceDate, savedAt.timeIntervalSinceReferenceDate);
    EXPECT_TRUE(later.isLocked());
    const std::vector<AlarmInfo> back = later.alarms();
    ASSERT_EQ(back.size(), set.size());
    for (size_t i = 0; i < set.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(back[i].secondsOfDay, set[i].secondsOfDay);
        EXPECT_EQ(back[i].label, set[i].label);
        EXPECT_EQ(back[i].snooze, set[i].snooze);
        EXPECT_EQ(back[i].daily, set[i].daily);
        EXPECT_EQ(back[i].enabled, set[i].enabled);
    }
}

} // namespace
} // namespace sim
