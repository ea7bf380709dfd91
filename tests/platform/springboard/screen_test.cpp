// Pictures of SpringBoard: what the status bar and the screen show, read back from pixels.
#include "SpringBoardTestSupport.h"

#include "springboard/SpringBoardScreen.h"
#include "uikit/UIImage.h"
#include "uikit/UISnapshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace sbtest;
using springboard::ScreenState;

TEST(SpringBoardScreen, ClockTextIsTheLocalTimeOfDay) {
    const struct {
        double utc;
        double offset;
        const char* text;
    } cases[] = {
        {at(8, 30), 0, "08:30"},         {at(8, 30, 59), 0, "08:30"},      {at(23, 59), 3600, "00:59"},
        {at(0, 15), -5 * 3600, "19:15"}, {at(12, 0), 5.5 * 3600, "17:30"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(springboard::clockText(NSDate{c.utc}, c.offset), c.text) << c.utc;
}

// An item's picture, from the package's pictures for the image name, the variant of the bar
// (white on a dark bar, black on a light one) in the screen's scale; nothing without one.
struct BarCase {
    const char* name;
    springboard::StatusBarStyle style;
    bool installed; // the package's pictures are on the device
    const char* imageName;
    bool visible;
    const char* picture; // the file drawn, from the package's UIKit folder; none: nothing drawn
};
class StatusBarPicture : public ::testing::TestWithParam<BarCase> {};

TEST_P(StatusBarPicture, IsThePictureOfTheImageNameOrNothing) {
    using springboard::StatusBarStyle;
    const BarCase& c = GetParam();
    DeviceRootFixture root{DeviceRootFixture::Options{.addons = {}, .package = c.installed}};
    StatusBarItem item{1, "Hushmark", 2, c.imageName, c.visible};
    const ScreenState state{NSDate{at(8, 0)}, 0, false, std::nullopt, false, {item}};
    const SnapshotImage bar = UISnapshotRenderView(springboard::makeStatusBarView(state, c.style), 2);
    ASSERT_EQ(bar.width, 640u);
    ASSERT_EQ(bar.height, 40u);
    const bool dark = c.style == StatusBarStyle::Dark;
    const int background = dark ? 0 : 247;
    const int content = dark ? 255 : 0;
    bool timeShown = false;
    for (size_t x = 280; x < 360; ++x)
        timeShown = timeShown || std::abs(bar.at(x, 20).r - background) > 100;
    EXPECT_TRUE(timeShown) << "the time in the middle, in the content color";

    // The 14-point picture stands 4 points from the right edge, centered in the 20-point bar.
    const size_t x0 = 2 * (320 - 4 - 14), y0 = 2 * 3;
    Ref<UIImage> picture;
    if (c.picture) {
        picture = UIImageFromHostPNG(
            (DeviceRootFixture::packageDir() / "System/Library/Frameworks/UIKit.framework" / c.picture)
                .string());
        ASSERT_TRUE(picture) << c.picture;
    }
    for (size_t y = 0; y < 40; ++y) {
        for (size_t x = 400; x < 640; ++x) {
            const bool inside = x >= x0 && x < x0 + 28 && y >= y0 && y < y0 + 28;
            const int alpha = picture && inside ? picture->pixels()[((y - y0) * 28 + (x - x0)) * 4 + 3] : 0;
            const int want = background + (content - background) * alpha / 255;
            ASSERT_NEAR(bar.at(x, y).r, want, 2) << c.name << " at " << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Items, StatusBarPicture,
    ::testing::Values(
        BarCase{"DarkBar", springboard::StatusBarStyle::Dark, true, "Hushmark", true,
                "White_Hushmark@2x.png"},
        BarCase{"LightBar", springboard::StatusBarStyle::Light, true, "Hushmark", true,
                "Black_Hushmark@2x.png"},
        BarCase{"Hidden", springboard::StatusBarStyle::Dark, true, "Hushmark", false, nullptr},
        BarCase{"NotInstalled", springboard::StatusBarStyle::Dark, false, "Hushmark", true, nullptr},
        BarCase{"OtherName", springboard::StatusBarStyle::Dark, true, "Elsewhere", true, nullptr},
        BarCase{"NoImageName", springboard::StatusBarStyle::Light, true, "", true, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SpringBoardScreen, ThePackagesPicturesComeInEveryScaleAndBothBars) {
    const auto folder = DeviceRootFixture::packageDir() / "System/Library/Frameworks/UIKit.framework";
    for (const char* variant : {"White", "Black"}) {
        for (int scale : {1, 2, 3}) {
            const std::string name = std::string(variant) + "_Hushmark" +
                                     (scale == 1 ? "" : "@" + std::to_string(scale) + "x") + ".png";
            auto image = UIImageFromHostPNG((folder / name).string());
            ASSERT_TRUE(image) << name;
            EXPECT_EQ(image->size(), CGSizeMake(14, 14)) << name;
            EXPECT_EQ(image->scale(), scale) << name;
            // One color, the bar's content color, with soft edges; about a third of it covered.
            long covered = 0;
            const auto& px = image->pixels();
            for (size_t i = 0; i < px.size(); i += 4) {
                if (px[i + 3] == 0)
                    continue;
                EXPECT_EQ(px[i], variant[0] == 'W' ? 255 : 0) << name;
                covered += px[i + 3];
            }
            const double share = double(covered) / 255 / double(px.size() / 4);
            EXPECT_GT(share, 0.25) << name;
            EXPECT_LT(share, 0.6) << name;
        }
    }
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
