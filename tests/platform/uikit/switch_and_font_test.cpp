// The switch (fixed size, a lifted finger flips it and says so, code does not) and label fonts
// (a size scales a text's width and line height in proportion).
#include "uikit/UIFont.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UILabel.h"
#include "uikit/UISnapshot.h"
#include "uikit/UISwitch.h"
#include "uikit/UIWindow.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

using Calls = std::vector<std::string>;

struct SwitchOnWindow {
    Ref<UIWindow> window = cast<UIWindow>(makeView("UIWindow", CGRectMake(0, 0, 320, 480)));
    id toggle = makeView("UISwitch", CGRectMake(100, 100, 200, 90));
    Ref<Recorder> recorder = makeRecorder();
    SwitchOnWindow() {
        msg(window, "addSubview:", toggle);
        recordAllControlEvents(toggle, recorder);
    }
    bool changed() const { return std::count(recorder->calls.begin(), recorder->calls.end(), "changed") > 0; }
};

TEST(UISwitch, KeepsItsSizeWhateverTheFrame) {
    SwitchOnWindow s;
    EXPECT_EQ(msg<CGRect>(s.toggle, "frame"), CGRectMake(100, 100, 51, 31));
    msg(s.toggle, "setFrame:", CGRectMake(5, 6, 10, 10));
    EXPECT_EQ(msg<CGRect>(s.toggle, "frame"), CGRectMake(5, 6, 51, 31));
}

struct SwitchPath {
    const char* name;
    std::vector<CGPoint> moves; // after touching down at (120, 110)
    CGPoint lift;
    bool cancel;
    bool flips;
};

class SwitchTouches : public ::testing::TestWithParam<SwitchPath> {};

TEST_P(SwitchTouches, FlipOnlyOnALiftInside) {
    const SwitchPath& p = GetParam();
    SwitchOnWindow s;
    ASSERT_TRUE(s.window->touchDown({120, 110}));
    for (CGPoint m : p.moves)
        s.window->touchMove(m);
    if (p.cancel)
        s.window->touchCancel();
    else
        s.window->touchUp(p.lift);
    EXPECT_EQ(msg<bool>(s.toggle, "isOn"), p.flips);
    EXPECT_EQ(s.changed(), p.flips);
}

INSTANTIATE_TEST_SUITE_P(Paths, SwitchTouches,
                         ::testing::Values(SwitchPath{"Tap", {}, {120, 110}, false, true},
                                           // Within the 70-point slop around it still counts.
                                           SwitchPath{"LiftNearby", {{200, 150}}, {200, 150}, false, true},
                                           SwitchPath{"LiftFarAway", {{300, 400}}, {300, 400}, false, false},
                                           SwitchPath{"Cancelled", {}, {}, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UISwitch, CodeSetsItSilentlyAndTwoTapsComeBack) {
    SwitchOnWindow s;
    msg(s.toggle, "setOn:", true);
    EXPECT_TRUE(msg<bool>(s.toggle, "isOn"));
    EXPECT_FALSE(s.changed());
    ASSERT_TRUE(s.window->tap({120, 110}));
    ASSERT_TRUE(s.window->tap({120, 110}));
    EXPECT_TRUE(msg<bool>(s.toggle, "isOn"));
    msg(s.toggle, "setEnabled:", false);
    s.window->tap({120, 110});
    EXPECT_TRUE(msg<bool>(s.toggle, "isOn")) << "a disabled switch stays";
}

TEST(UISwitch, DrawsGreenWhenOnAndWhiteWhenOff) {
    id toggle = makeView("UISwitch", CGRectMake(0, 0, 51, 31));
    // Left of the knob when on, right of it when off: the track's own color.
    msg(toggle, "setOn:", true);
    const auto on = UISnapshotRenderView(toggle, 2).at(2 * 12, 2 * 15);
    EXPECT_GT(on.g, 180);
    EXPECT_LT(on.r, 120);
    msg(toggle, "setOn:", false);
    const auto off = UISnapshotRenderView(toggle, 2).at(2 * 40, 2 * 15);
    EXPECT_EQ(off.r, 255);
    EXPECT_EQ(off.g, 255);
}

TEST(UIFont, SizesScaleWidthsAndLines) {
    const std::string text = "10:45";
    const CGSize at17 = labelTextSize(text, 0, 1);
    const CGSize at34 = labelTextSize(text, 0, 1, 34);
    // Sizes are rounded up to whole points: within one point of twice as large.
    EXPECT_NEAR(at34.width, 2 * at17.width, 2);
    EXPECT_NEAR(at34.height, 2 * at17.height, 2);
    EXPECT_GT(at34.width, at17.width + 10);
    // A label takes its font's size when it sizes to fit and when it breaks lines.
    id label = makeView("UILabel", CGRectZero);
    msg(label, "setText:", text);
    msg(label, "setFont:", msg<id>(classObject(objc_getClass("UIFont")), "systemFontOfSize:", CGFloat{34}));
    msg(label, "sizeToFit");
    EXPECT_EQ(msg<CGRect>(label, "frame").size, at34);
    EXPECT_EQ(msg<CGFloat>(msg<id>(label, "font"), "pointSize"), 34);
    msg(label, "setFrame:", CGRectMake(0, 0, at17.width + 1, at34.height));
    ASSERT_EQ(static_cast<UILabel*>(label.get())->shownLines().size(), 1u);
    EXPECT_NE(static_cast<UILabel*>(label.get())->shownLines()[0], text) << "cut at the larger size";
}

TEST(UIFont, ALargerTextCoversMorePixels) {
    auto inked = [](CGFloat size) {
        id label = makeView("UILabel", CGRectMake(0, 0, 200, 60));
        msg(label, "setText:", std::string("88"));
        msg(label, "setFont:", msg<id>(classObject(objc_getClass("UIFont")), "systemFontOfSize:", size));
        const SnapshotImage image = UISnapshotRenderView(label, 1);
        int n = 0;
        for (size_t y = 0; y < image.height; ++y)
            for (size_t x = 0; x < image.width; ++x)
                n += image.at(x, y).a > 128;
        return n;
    };
    const int small = inked(17), large = inked(34);
    // Ink grows with the area: about four times.
    EXPECT_GT(large, 3 * small);
    EXPECT_LT(large, 5 * small);
}

TEST(UIFont, NonsenseSizesFallBackToTheLabelSize) {
    for (CGFloat size : {0.0, -3.0, double(NAN), double(INFINITY)})
        EXPECT_EQ(UIFont::ofSize(size)->pointSize(), kLabelFontSize) << size;
    EXPECT_EQ(msg<CGFloat>(classObject(objc_getClass("UIFont")), "labelFontSize"), 17);
}

} // namespace
