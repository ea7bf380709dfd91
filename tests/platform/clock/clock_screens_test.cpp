// Pictures of the Clock app's screens: each is drawn, written as a PNG into the build tree for a
// person to look at, and checked where a fault would show (the switches' colors, the delete
// mark, the check marks, the picker's band value).
#include "ClockTestDevice.h"

#include "uikit/UISnapshot.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using clocktest::ClockDevice;

constexpr double kScale = 2;

SnapshotImage picture(ClockDevice& d, const std::string& name) {
    UISnapshotWriteScreen(d.app.window(), std::string(HM_CLOCK_PICTURES_DIR) + "/clock_" + name + ".png",
                          kScale);
    return UISnapshotRenderScreen(d.app.window(), kScale);
}

SnapshotImage::Pixel at(const SnapshotImage& image, CGPoint p) {
    return image.at(size_t(p.x * kScale), size_t(p.y * kScale));
}

bool isGreen(SnapshotImage::Pixel p) {
    return p.g > 180 && p.r < 120 && p.b < 140;
}
bool isRed(SnapshotImage::Pixel p) {
    return p.r > 220 && p.g < 100 && p.b < 100;
}
bool isBlue(SnapshotImage::Pixel p) {
    return p.b > 200 && p.r < 80;
}

// Pixels of a color within a rectangle (points).
int pixelsWithin(const SnapshotImage& image, CGRect r, bool (*is)(SnapshotImage::Pixel)) {
    int n = 0;
    for (double y = r.origin.y; y < CGRectGetMaxY(r); y += 1 / kScale)
        for (double x = r.origin.x; x < CGRectGetMaxX(r); x += 1 / kScale)
            n += is(at(image, {x, y}));
    return n;
}
int bluePixels(const SnapshotImage& image, CGRect r) {
    return pixelsWithin(image, r, isBlue);
}

TEST(ClockScreens, TheListShowsEachAlarmsSwitchInItsState) {
    ClockDevice d;
    d.add(6, 30, "Wake", springboard::kEveryDay);
    d.add(7, 0, "", 0, false);
    d.add(9, 45, "Standup", springboard::Monday | springboard::Wednesday | springboard::Friday);
    const SnapshotImage image = picture(d, "list");
    // A switch's track just right of its knob when on, or left of it when off.
    const CGPoint on = *d.app.pointOf("switch", 0);
    const CGPoint off = *d.app.pointOf("switch", 1);
    EXPECT_TRUE(isGreen(at(image, {on.x - 15, on.y})));
    EXPECT_FALSE(isGreen(at(image, {off.x + 15, off.y})));
    EXPECT_TRUE(isGreen(at(image, {on.x + 3, on.y - 13}))) << "the track reaches the knob's top";
}

TEST(ClockScreens, EditModeShowsRedMarksAndTheDeleteButton) {
    ClockDevice d;
    d.add(6, 30, "Wake");
    d.add(7, 0);
    ASSERT_TRUE(d.tap("Edit"));
    ASSERT_TRUE(d.tap("delete mark", 1));
    const SnapshotImage image = picture(d, "list_edit");
    const CGPoint mark = *d.app.pointOf("delete mark", 0);
    EXPECT_TRUE(isRed(at(image, {mark.x, mark.y + 7}))) << "the mark's disc, below its white bar";
    EXPECT_FALSE(isRed(at(image, {mark.x, mark.y}))) << "the white bar";
    const CGPoint button = *d.app.pointOf("Delete", 1);
    EXPECT_TRUE(isRed(at(image, {button.x - 30, button.y - 30}))) << "the Delete button's red";
}

TEST(ClockScreens, AddAndEditScreensAndTheirPages) {
    ClockDevice d;
    d.add(6, 30, "Wake", springboard::kEveryDay);
    ASSERT_TRUE(d.tap("+"));
    const SnapshotImage add = picture(d, "add");
    const CGPoint hour = *d.app.pointOf("hour");
    EXPECT_GT(bluePixels(add, {{0, 20}, {80, 44}}), 0) << "Cancel in the tint";
    EXPECT_EQ(bluePixels(add, {{0, hour.y - 100}, {320, 200}}), 0) << "no tint in the picker";

    ASSERT_TRUE(d.tap("Repeat"));
    ASSERT_TRUE(d.tap("Every Day"));
    const SnapshotImage repeat = picture(d, "repeat");
    const CGPoint daily = *d.app.pointOf("Every Day");
    const CGPoint never = *d.app.pointOf("Never");
    EXPECT_GT(bluePixels(repeat, {{280, daily.y - 15}, {40, 30}}), 10) << "the chosen repeat's check mark";
    EXPECT_EQ(bluePixels(repeat, {{280, never.y - 15}, {40, 30}}), 0) << "no mark on the other";
    ASSERT_TRUE(d.tap("Back"));
    ASSERT_TRUE(d.tap("Label"));
    msg(d.app.labelField(), "setText:", std::string("Meeting"));
    picture(d, "label");
    ASSERT_TRUE(d.tap("Cancel") == false) << "the Label page has no Cancel";
    ASSERT_TRUE(d.tap("Back"));
    ASSERT_TRUE(d.tap("Cancel"));

    ASSERT_TRUE(d.tap("Edit"));
    ASSERT_TRUE(d.tap("row", 0));
    const SnapshotImage edit = picture(d, "edit");
    const CGPoint remove = *d.app.pointOf("Delete Alarm");
    EXPECT_GT(pixelsWithin(edit, {{0, remove.y - 10}, {320, 20}}, isRed), 20) << "Delete Alarm in red";
}

TEST(ClockScreens, AScrolledListStaysUnderTheBar) {
    ClockDevice d;
    for (int h = 1; h <= 8; ++h)
        d.add(h, 0, "Alarm " + std::to_string(h), 0, h % 2 == 0);
    ASSERT_TRUE(d.drag("row", -130, 6));
    const SnapshotImage image = picture(d, "list_scrolled");
    // The bar's light gray, untouched by the rows scrolled beneath it.
    for (double y : {2.0, 30.0, 60.0}) {
        const auto p = at(image, {200, y});
        EXPECT_EQ(p.r, p.b) << y;
        EXPECT_GT(p.r, 240) << y;
    }
}

TEST(ClockScreens, AShortScreenHasEveryControlInReach) {
    ClockDevice d("en_US", {320, 480});
    for (int h = 1; h <= 6; ++h)
        d.add(h, 0);
    picture(d, "list_short");
    EXPECT_TRUE(d.app.pointOf("switch", 4));
    EXPECT_FALSE(d.app.pointOf("switch", 5)) << "below the screen's end";
    ASSERT_TRUE(d.tap("Edit"));
    ASSERT_TRUE(d.tap("row", 0));
    picture(d, "edit_short");
    for (const char* control :
         {"Cancel", "Save", "hour", "minute", "period", "Repeat", "Label", "Snooze", "Delete Alarm"}) {
        auto p = d.app.pointOf(control);
        ASSERT_TRUE(p) << control;
        EXPECT_LT(p->y, 480) << control;
    }
    ASSERT_TRUE(d.tap("Delete Alarm"));
    EXPECT_EQ(d.model().size(), 5u);
}

TEST(ClockScreens, ATwentyFourHourClock) {
    ClockDevice d("de_DE");
    d.add(21, 15, "Abend");
    picture(d, "list_24h");
    ASSERT_TRUE(d.tap("+"));
    picture(d, "add_24h");
    EXPECT_FALSE(d.app.pointOf("period"));
}

} // namespace
