// The three pickers on screen: each drawn in a window on a device that has the bundle's marker
// image, written as a PNG for a person to look at, and checked at a few telling pixels.
#include "coregraphics/CoreGraphics.h"
#include "foundation/DeviceEnvironment.h"
#include "objc/runtime.h"
#include "uikit/UISnapshot.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <unistd.h>

namespace {

constexpr double kScale = 2;

class PickerSnapshot : public ::testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("picker-snapshot-" + std::string(GetParam()) + "-" + std::to_string(::getpid()));
        const auto bundle = root / "Library/PreferenceBundles/Hushmark.bundle";
        std::filesystem::create_directories(bundle);
        std::filesystem::copy_file(HM_SELECTOR_PNG, bundle / "Selector.png");
        DeviceEnvironment::setRoot(root);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    std::filesystem::path root;
};

TEST_P(PickerSnapshot, ShowsFieldsLabelsCrosshairAndMarker) {
    id window = msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                        "initWithFrame:", CGRectMake(0, 0, 320, 440));
    msg(window, "setBackgroundColor:", msg<id>(classObject(objc_getClass("UIColor")), "whiteColor"));
    id color = msg<id>(classObject(objc_getClass("UIColor")),
                       "colorWithHue:saturation:brightness:alpha:", 0.6, 0.7, 0.9, 1.0);
    id picker =
        msg<id>(msg<id>(classObject(objc_getClass(GetParam())), "alloc"),
                "initWithFrame:color:colorsHaveChangedBlock:saveChangesBlock:", CGRectMake(0, 20, 320, 400),
                color, std::function<void(id)>(), std::function<void(id)>());
    msg(window, "addSubview:", picker);

    const std::string path = std::string(HM_SNAPSHOT_DIR) + "/" + GetParam() + ".png";
    std::filesystem::create_directories(HM_SNAPSHOT_DIR);
    ASSERT_TRUE(UISnapshotWriteView(window, path, kScale)) << path;
    const SnapshotImage image = UISnapshotRenderView(window, kScale);
    auto at = [&](CGPoint inPicker) {
        return image.at(static_cast<size_t>(inPicker.x * kScale),
                        static_cast<size_t>((inPicker.y + 20) * kScale));
    };

    // The crosshair is filled with the picker's color.
    CGFloat r = 0, g = 0, b = 0, a = 0;
    msg<bool>(color, "getRed:green:blue:alpha:", &r, &g, &b, &a);
    const auto fill = at(msg<CGPoint>(msg<id>(picker, "crossHairs"), "center"));
    EXPECT_NEAR(fill.r, r * 255, 3);
    EXPECT_NEAR(fill.g, g * 255, 3);
    EXPECT_NEAR(fill.b, b * 255, 3);

    // The marker image is loaded: the dark top edge of its upper arrow shows over the white
    // above the bar.
    id marker = msg<std::vector<id>>(picker, "subviews")[7];
    ASSERT_TRUE(msg<id>(marker, "image"));
    const CGRect m = msg<CGRect>(marker, "frame");
    const auto rim = at({m.origin.x + m.size.width / 2, m.origin.y + 0.25});
    EXPECT_LT(rim.r, 100);
    EXPECT_EQ(rim.a, 255);

    // The top-left label shows blue text somewhere on its line.
    const CGRect label = msg<CGRect>(msg<std::vector<id>>(picker, "subviews")[0], "frame");
    bool blue = false;
    for (double x = label.origin.x; x < label.origin.x + 120 && !blue; x += 0.5) {
        for (double y = label.origin.y; y < label.origin.y + label.size.height && !blue; y += 0.5) {
            const auto p = at({x, y});
            blue = p.b > 150 && p.r < 120 && p.g < 120;
        }
    }
    EXPECT_TRUE(blue) << "no blue label text";
}

INSTANTIATE_TEST_SUITE_P(Layouts, PickerSnapshot,
                         ::testing::Values("HMColorPickerView_B", "HMColorPickerView_H",
                                           "HMColorPickerView_S"),
                         [](const auto& info) { return std::string(info.param).substr(18); });

} // namespace
