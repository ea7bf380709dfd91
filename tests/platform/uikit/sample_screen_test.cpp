// Draws a sample screen (labels, buttons, a slider, a text field, an image, a gradient drawn in
// drawRect: and an alert with a text field and an accessory button) into the build tree, so a
// person can look at it. The assertions only check that the picture was made.
#include "uikit/UIImage.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UISnapshot.h"
#include "uikit/UIView.h"
#include "uikit/UIWindow.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

// A hue ramp across, under a white-to-clear ramp down: a small color square.
struct RampView : UIView {
    void drawRect(CGRect rect) {
        CGContextRef ctx = UIGraphicsGetCurrentContext();
        CGColorSpaceRef space = CGColorSpaceCreateDeviceRGB();
        CGGradientRef hues = CGGradientCreateWithColors(space,
                                                        {CGColorMake(1, 0, 0, 1), CGColorMake(1, 1, 0, 1),
                                                         CGColorMake(0, 1, 0, 1), CGColorMake(0, 1, 1, 1),
                                                         CGColorMake(0, 0, 1, 1), CGColorMake(1, 0, 1, 1),
                                                         CGColorMake(1, 0, 0, 1)},
                                                        nullptr);
        CGContextDrawLinearGradient(ctx, hues, CGPointMake(0, 0), CGPointMake(rect.size.width, 0), 0);
        CGGradientRef fade =
            CGGradientCreateWithColors(space, {CGColorMake(1, 1, 1, 1), CGColorMake(1, 1, 1, 0)}, nullptr);
        CGContextDrawLinearGradient(ctx, fade, CGPointMake(0, 0), CGPointMake(0, rect.size.height), 0);
        CGGradientRelease(hues);
        CGGradientRelease(fade);
        CGColorSpaceRelease(space);
    }
};
const ClassDef<RampView> kRampView("TestRampView", "UIView", {method("drawRect:", &RampView::drawRect)});

id label(const id& parent, CGRect frame, const std::string& text, NSInteger alignment, id color = nullptr) {
    id l = makeView("UILabel", frame);
    msg(l, "setText:", text);
    msg(l, "setTextAlignment:", alignment);
    if (color)
        msg(l, "setTextColor:", color);
    msg(parent, "addSubview:", l);
    return l;
}

TEST(SampleScreen, IsWrittenAsAPNG) {
    auto window = cast<UIWindow>(makeView("UIWindow", CGRectMake(0, 0, 320, 568)));
    msg(window, "setBackgroundColor:", rgba(0.94, 0.94, 0.96));

    label(window, CGRectMake(15, 24, 290, 24), "Hushmark", NSTextAlignmentCenter);
    label(window, CGRectMake(15, 52, 290, 24), "Alarms Enabled", NSTextAlignmentLeft, rgba(0, 0, 1));
    label(window, CGRectMake(15, 52, 290, 24), "#FF8000", NSTextAlignmentRight, rgba(0.5, 0.5, 0.5));
    id sample = label(window, CGRectMake(15, 84, 286, 38), "Button", NSTextAlignmentCenter, rgba(0, 0, 0));
    msg(sample, "setBackgroundColor:", rgba(1, 128.0 / 255, 0));
    id sampleLayer = msg<id>(sample, "layer");
    msg(sampleLayer, "setBorderWidth:", CGFloat{1});
    msg(sampleLayer, "setCornerRadius:", CGFloat{5});
    msg(sampleLayer, "setMasksToBounds:", true);

    id system = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", UIButtonTypeSystem);
    msg(system, "setFrame:", CGRectMake(15, 130, 140, 30));
    msg(system, "setTitle:forState:", "Disarm Now", UIControlStateNormal);
    msg(system, "setBackgroundColor:", rgba(0, 0, 0, 0.04));
    msg(msg<id>(system, "layer"), "setCornerRadius:", CGFloat{5});
    msg(window, "addSubview:", system);

    id slider = makeView("UISlider", CGRectMake(15, 418, 290, 40));
    msg(slider, "setMaximumValue:", 255.0f);
    msg(slider, "setValue:", 128.0f);
    msg(window, "addSubview:", slider);

    id field = makeView("UITextField", CGRectMake(15, 466, 140, 28));
    msg(field, "setBorderStyle:", NSInteger{3});
    msg(field, "setPlaceholder:", "Minutes");
    msg(window, "addSubview:", field);

    id ramp = msg<id>(msg<id>(classObject(objc_getClass("TestRampView")), "alloc"),
                      "initWithFrame:", CGRectMake(165, 466, 140, 90));
    msg(msg<id>(ramp, "layer"), "setCornerRadius:", CGFloat{6});
    msg(msg<id>(ramp, "layer"), "setBorderWidth:", CGFloat{1});
    msg(msg<id>(ramp, "layer"), "setMasksToBounds:", true);
    msg(window, "addSubview:", ramp);

    id crosshair = makeView("UIView", CGRectMake(200, 490, 20, 20));
    msg(crosshair, "setBackgroundColor:", rgba(1, 0.5, 0));
    id ch = msg<id>(crosshair, "layer");
    msg(ch, "setCornerRadius:", CGFloat{10});
    msg(ch, "setBorderWidth:", CGFloat{1});
    msg(ch, "setBorderColor:", CGColorMake(1, 1, 1, 0.5));
    msg(ch, "setShadowOpacity:", 1.0f);
    msg(ch, "setShadowOffset:", CGSizeZero);
    msg(ch, "setShadowRadius:", CGFloat{1});
    msg(window, "addSubview:", crosshair);

    // An image: a snapshot of the sample label, read back from its PNG.
    const auto imagePath =
        std::filesystem::temp_directory_path() / ("uikit-sample-" + std::to_string(::getpid()) + ".png");
    ASSERT_TRUE(UISnapshotWriteView(sample, imagePath.string(), 1));
    id imageView = makeView("UIImageView", CGRectMake(15, 506, 143, 19));
    msg(imageView, "setImage:", id(UIImageFromHostPNG(imagePath.string())));
    std::filesystem::remove(imagePath);
    ASSERT_TRUE(msg<id>(imageView, "image"));
    msg(window, "addSubview:", imageView);

    // An alert with a text field and an accessory button over all that.
    id alert =
        msg<id>(msg<id>(classObject(objc_getClass("UIAlertView")), "alloc"),
                "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:", "Alarm",
                "Please enter a Hue value between 0\xC2\xB0 and 360\xC2\xB0\n current value is: 180\xC2\xB0",
                nullptr, "Cancel", std::vector<std::string>{"OK"});
    msg(alert, "setAlertViewStyle:", UIAlertViewStylePlainTextInput);
    msg(msg<id>(alert, "textFieldAtIndex:", NSInteger{0}), "setText:", "180");
    id container = makeView("UIView", CGRectMake(0, 0, 100, 44));
    msg(container, "setAutoresizingMask:", UIViewAutoresizingFlexibleWidth);
    id disarm = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", UIButtonTypeCustom);
    msg(disarm, "setFrame:", CGRectMake(0, 0, 100, 44));
    msg(disarm, "setAutoresizingMask:", UIViewAutoresizingFlexibleWidth);
    msg(disarm, "setBackgroundColor:", rgba(1, 0, 0));
    msg(disarm, "setTitle:forState:", "Hushmark", UIControlStateNormal);
    id separator = msg<id>(classObject(objc_getClass("CALayer")), "layer");
    msg(separator, "setBackgroundColor:", CGColorMake(2.0 / 3, 2.0 / 3, 2.0 / 3, 0.25));
    msg(separator, "setFrame:", CGRectMake(0, 0, 1920, 1));
    msg(msg<id>(disarm, "layer"), "addSublayer:", separator);
    msg(container, "addSubview:", disarm);
    msg(alert, "setValue:forKey:", container, "accessoryView");
    msg(alert, "show");

    ASSERT_TRUE(UISnapshotWriteScreen(window, HM_SAMPLE_SCREEN_PNG, 2));
    const SnapshotImage shot = UISnapshotRenderScreen(window, 2);
    EXPECT_EQ(shot.width, 640u);
    EXPECT_EQ(shot.height, 1136u);
    msg(alert, "dismiss");
}

} // namespace
