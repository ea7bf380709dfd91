// Pictures of SpringBoard: what the status bar and the screen show, read back from pixels.
#include "SpringBoardTestSupport.h"

#include "springboard/SpringBoardScreen.h"
#include "uikit/UISnapshot.h"

#include <gtest/gtest.h>

namespace {

using namespace sbtest;
using springboard::ScreenState;

TEST(SpringBoardScreen, ClockTextIsTheLocalTimeOfDay) {
    const struct {
        double utc;
        double offset;
        const char* text;
    } cases[] = {
        {at(8, 30), 0, "08:30"}, {at(8, 30, 59), 0, "08:30"}, {at(23, 59), 3600, "00:59"},
        {at(0, 15), -5 * 3600, "19:15"}, {at(12, 0), 5.5 * 3600, "17:30"},
    };
    for (const auto& c : cases) EXPECT_EQ(springboard::clockText(NSDate{c.utc}, c.offset), c.text) << c.utc;
}

bool anyBrightPixel(const SnapshotImage& image, size_t x0, size_t x1, size_t y0, size_t y1) {
    for (size_t y = y0; y < y1; ++y)
        for (size_t x = x0; x < x1; ++x)
            if (image.at(x, y).r > 128) return true;
    return false;
}

TEST(SpringBoardScreen, AVisibleItemShowsAtTheRightOfTheStatusBar) {
    StatusBarItem item{1, "Hushmark", 2, "Hushmark", false};
    ScreenState state{NSDate{at(8, 0)}, 0, false, std::nullopt, false, {item}};
    const SnapshotImage hidden = UISnapshotRenderView(springboard::makeStatusBarView(state), 1);
    ASSERT_EQ(hidden.width, 320u);
    ASSERT_EQ(hidden.height, 20u);
    EXPECT_FALSE(anyBrightPixel(hidden, 220, 320, 0, 20));
    EXPECT_TRUE(anyBrightPixel(hidden, 140, 180, 0, 20)) << "the time in the middle";
    state.items[0].visible = true;
    EXPECT_TRUE(anyBrightPixel(UISnapshotRenderView(springboard::makeStatusBarView(state), 1), 220, 320, 0, 20));
}

TEST(SpringBoardScreen, TheLockScreenShowsTheRingingAlarmAndItsSnoozeButton) {
    ScreenState state{NSDate{at(8, 30)}, 0, true, std::string("Wake"), true, {}};
    const auto snoozeArea = [](const SnapshotImage& image) { return image.at(60, 400); };
    const SnapshotImage ringing = UISnapshotRenderScreen(springboard::makeScreenWindow(state), 1);
    EXPECT_GT(snoozeArea(ringing).r, 200);
    EXPECT_LT(snoozeArea(ringing).b, 60) << "orange";
    state.canSnooze = false;
    EXPECT_LT(snoozeArea(UISnapshotRenderScreen(springboard::makeScreenWindow(state), 1)).r, 60);
}

TEST(SpringBoardScreen, TheHostPicturesTheModalAlarmOverTheHomeScreen) {
    BootedDevice device;
    const auto middle = [&] { return UISnapshotRenderScreen(device.host.screenWindow(), 1).at(160, 284); };
    const int homeRed = middle().r;
    device.host.addAlarm({"a", {8, 30, 0}, "Wake", true, true});
    runUntil(8, 30);
    EXPECT_GT(middle().r, homeRed + 60) << "the alert's light panel";
    const auto png = device.root.root() / "screen.png";
    EXPECT_TRUE(device.host.writeScreenSnapshot(png.string()));
    EXPECT_TRUE(std::filesystem::file_size(png) > 1000);
    EXPECT_TRUE(device.host.writeStatusBarSnapshot((device.root.root() / "bar.png").string()));
}

} // namespace
