#include "DeviceRootFixture.h"
#include "uikit/UIImage.h"
#include "uikit/UIScreen.h"
#include "uikit/UISnapshot.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr const char* kMarkerPath = "/Library/PreferenceBundles/Hushmark.bundle/Selector.png";

// A device root holding a 16 x 48 PNG, red over its top half and half-transparent blue below.
struct RootWithMarker {
    DeviceRootFixture device{DeviceRootFixture::Options{{}, false, false}};
    RootWithMarker() {
        id marker = makeView("UIView", CGRectMake(0, 0, 16, 48));
        id top = makeView("UIView", CGRectMake(0, 0, 16, 24));
        id bottom = makeView("UIView", CGRectMake(0, 24, 16, 24));
        msg(top, "setBackgroundColor:", rgba(1, 0, 0));
        msg(bottom, "setBackgroundColor:", rgba(0, 0, 1, 0.5));
        msg(marker, "addSubview:", top);
        msg(marker, "addSubview:", bottom);
        const auto host = *DeviceEnvironment::hostPath(kMarkerPath);
        std::filesystem::create_directories(host.parent_path());
        EXPECT_TRUE(UISnapshotWriteView(marker, host.string(), 1));
        std::ofstream(host.parent_path() / "Broken.png") << "not a picture";
    }
};

TEST(ImageNamed, ReadsAPNGAtADevicePath) {
    RootWithMarker root;
    id image = msg<id>(classObject(objc_getClass("UIImage")), "imageNamed:", kMarkerPath);
    ASSERT_TRUE(image);
    EXPECT_EQ(msg<CGSize>(image, "size"), CGSizeMake(16, 48));
    const auto pixels = cast<UIImage>(image)->pixels();
    EXPECT_EQ(pixels[0], 255); // red, straight alpha
    EXPECT_EQ(pixels[3], 255);
    const size_t below = (30 * 16 + 5) * 4;
    EXPECT_EQ(pixels[below + 2], 255);      // blue keeps its full value...
    EXPECT_NEAR(pixels[below + 3], 128, 1); // ...at half alpha
    // Without an extension ".png" is tried.
    EXPECT_TRUE(msg<id>(classObject(objc_getClass("UIImage")),
                        "imageNamed:", "/Library/PreferenceBundles/Hushmark.bundle/Selector"));
}

TEST(ImageNamed, GivesNoneForMissingUnreadableOrEscapingPaths) {
    RootWithMarker root;
    for (const char* path : {"/Library/PreferenceBundles/Hushmark.bundle/Missing.png",
                             "/Library/PreferenceBundles/Hushmark.bundle/Broken.png",
                             "/Library/PreferenceBundles/Hushmark.bundle", "Selector.png", "",
                             "/../../../../../../../etc/passwd"}) {
        EXPECT_EQ(msg<id>(classObject(objc_getClass("UIImage")), "imageNamed:", path), nullptr) << path;
    }
}

TEST(ImageNamed, ReadsNothingThroughALinkOutOfTheRoot) {
    RootWithMarker root;
    const auto marker = *DeviceEnvironment::hostPath(kMarkerPath);
    const auto outside =
        root.device.root().parent_path() / (root.device.root().filename().string() + "-outside.png");
    std::filesystem::copy_file(marker, outside);
    std::filesystem::create_symlink(outside, marker.parent_path() / "Absolute.png");
    std::filesystem::create_symlink("../../../../" + outside.filename().string(),
                                    marker.parent_path() / "Relative.png");
    std::filesystem::create_symlink("Selector.png", marker.parent_path() / "Inside.png");
    EXPECT_TRUE(msg<id>(classObject(objc_getClass("UIImage")),
                        "imageNamed:", "/Library/PreferenceBundles/Hushmark.bundle/Inside.png"));
    for (const char* name : {"Absolute.png", "Relative.png"})
        EXPECT_EQ(msg<id>(classObject(objc_getClass("UIImage")),
                          "imageNamed:", std::string("/Library/PreferenceBundles/Hushmark.bundle/") + name),
                  nullptr)
            << name;
    std::filesystem::remove(outside);
}

TEST(ImageView, ShowsItsImageStretchedAndNothingWithout) {
    RootWithMarker root;
    id view = makeView("UIImageView", CGRectMake(0, 0, 32, 96));
    EXPECT_FALSE(msg<bool>(view, "isUserInteractionEnabled"));
    EXPECT_EQ(UISnapshotRenderView(view, 1).at(5, 5).a, 0);
    msg(view, "setImage:", msg<id>(classObject(objc_getClass("UIImage")), "imageNamed:", kMarkerPath));
    const SnapshotImage shot = UISnapshotRenderView(view, 1);
    EXPECT_EQ(shot.at(16, 20).r, 255);
    EXPECT_EQ(shot.at(16, 20).a, 255);
    EXPECT_EQ(shot.at(16, 80).b, 255);
    EXPECT_NEAR(shot.at(16, 80).a, 128, 2);
}

// An image name is looked up in the screen's scale first, then smaller, then larger scales.
struct ScaleCase {
    const char* name;
    CGFloat screen;
    std::vector<int> present; // scales written as Icon.png, Icon@2x.png, Icon@3x.png
    const char* asked;        // the name asked for
    CGFloat found;            // the scale of the image found; 0 for none
};
class ImageScales : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ImageScales, PickTheVariantForTheScreen) {
    const ScaleCase& c = GetParam();
    DeviceRootFixture device{DeviceRootFixture::Options{{}, false, false}};
    const std::string folder = "/System/Library/Frameworks/UIKit.framework/";
    std::filesystem::create_directories(*DeviceEnvironment::hostPath(folder));
    for (int scale : c.present) {
        // Each variant is 4 points square in its own pixels: 4, 8 or 12 wide.
        id square = makeView("UIView", CGRectMake(0, 0, 4, 4));
        msg(square, "setBackgroundColor:", rgba(1, 0, 0));
        const std::string name = scale == 1 ? "Icon.png" : "Icon@" + std::to_string(scale) + "x.png";
        ASSERT_TRUE(UISnapshotWriteView(square, DeviceEnvironment::hostPath(folder + name)->string(), scale));
    }
    UIScreen::setMainScreen({320, 568}, c.screen);
    for (const char* factory : {"imageNamed:", "imageWithContentsOfFile:"}) {
        id image = msg<id>(classObject(objc_getClass("UIImage")), factory, folder + c.asked);
        if (c.found == 0) {
            EXPECT_FALSE(image) << factory;
            continue;
        }
        ASSERT_TRUE(image) << factory;
        EXPECT_EQ(msg<CGFloat>(image, "scale"), c.found) << factory;
        EXPECT_EQ(msg<CGSize>(image, "size"), CGSizeMake(4, 4)) << factory;
        EXPECT_EQ(cast<UIImage>(image)->pixelWidth(), size_t(4 * c.found)) << factory;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, ImageScales,
                         ::testing::Values(ScaleCase{"TwoOnTwo", 2, {1, 2, 3}, "Icon", 2},
                                           ScaleCase{"ThreeOnThree", 3, {1, 2, 3}, "Icon.png", 3},
                                           ScaleCase{"OneOnOne", 1, {1, 2, 3}, "Icon", 1},
                                           ScaleCase{"SmallerFirst", 3, {1, 2}, "Icon", 2},
                                           ScaleCase{"ThenLarger", 2, {3}, "Icon", 3},
                                           ScaleCase{"OnlyOne", 2, {1}, "Icon.png", 1},
                                           ScaleCase{"AskedScaleStands", 2, {1, 2, 3}, "Icon@3x.png", 3},
                                           ScaleCase{"AskedScaleMissing", 2, {1, 2}, "Icon@3x", 0},
                                           ScaleCase{"None", 2, {}, "Icon", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
