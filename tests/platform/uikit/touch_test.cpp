#include "uikit/UIKitConstants.h"
#include "uikit/UIWindow.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

namespace {

// A window with a panel (at 20, 20) holding a lower and an upper button that overlap, and a label.
struct Scene {
    Ref<UIWindow> window = cast<UIWindow>(makeView("UIWindow", CGRectMake(0, 0, 320, 480)));
    id panel = makeView("UIView", CGRectMake(20, 20, 200, 200));
    id lower = makeView("UIControl", CGRectMake(0, 0, 100, 100));
    id upper = makeView("UIControl", CGRectMake(50, 50, 100, 100));
    id label = makeView("UILabel", CGRectMake(0, 150, 200, 50));
    Scene() {
        msg(window, "addSubview:", panel);
        msg(panel, "addSubview:", lower);
        msg(panel, "addSubview:", upper);
        msg(panel, "addSubview:", label);
    }
    id hit(CGPoint p) { return msg<id>(window, "hitTest:withEvent:", p, nullptr); }
};

TEST(HitTest, FindsTheTopmostViewThatTakesTouches) {
    Scene s;
    EXPECT_EQ(s.hit({30, 30}), s.lower);
    EXPECT_EQ(s.hit({100, 100}), s.upper); // where they overlap, the later one
    EXPECT_EQ(s.hit({30, 200}), s.panel);  // labels take no touches
    EXPECT_EQ(s.hit({300, 300}), s.window);
    EXPECT_EQ(s.hit({-1, 10}), nullptr);

    msg(s.upper, "setHidden:", true);
    EXPECT_EQ(s.hit({100, 100}), s.lower);
    msg(s.upper, "setHidden:", false);
    msg(s.upper, "setAlpha:", CGFloat{0});
    EXPECT_EQ(s.hit({100, 100}), s.lower);
    msg(s.upper, "setAlpha:", CGFloat{1});
    msg(s.panel, "setUserInteractionEnabled:", false); // takes its subviews out too
    EXPECT_EQ(s.hit({100, 100}), s.window);
}

TEST(HitTest, ASubviewOutsideItsParentsBoundsIsNotReached) {
    Scene s;
    id outside = makeView("UIControl", CGRectMake(190, 190, 50, 50));
    msg(s.panel, "addSubview:", outside);
    EXPECT_EQ(s.hit({215, 215}), outside);
    EXPECT_EQ(s.hit({235, 235}), s.window);
}

TEST(HitTest, ATouchOnAPlainViewIsHandedUpToTheControlBelowIt) {
    Scene s;
    auto r = makeRecorder();
    id inner = makeView("UIView", CGRectMake(10, 10, 20, 20));
    msg(s.lower, "addSubview:", inner);
    msg(s.lower, "addTarget:action:forControlEvents:", r, sel_registerName("action0"),
        UIControlEventTouchUpInside);
    EXPECT_TRUE(s.window->tap({40, 40}));
    EXPECT_EQ(r->calls, std::vector<std::string>{"action0"});
}

TEST(Touches, LocationsAreInTheAskedViewAndTheTouchStaysWithItsView) {
    Scene s;
    auto r = makeRecorder();
    msg(s.upper, "addTarget:action:forControlEvents:", r, sel_registerName("action2:event:"),
        UIControlEventTouchDragInside | UIControlEventTouchDragOutside);
    s.window->touchDown({100, 100});
    s.window->touchMove({25, 30});
    ASSERT_TRUE(r->lastEvent);
    const auto all = msg<std::vector<id>>(r->lastEvent, "allTouches");
    ASSERT_EQ(all.size(), 1u);
    id touch = all[0];
    EXPECT_EQ(msg<id>(touch, "view"), s.upper); // not the lower control the finger moved over
    EXPECT_EQ(msg<CGPoint>(touch, "locationInView:", s.upper), CGPointMake(-45, -40));
    EXPECT_EQ(msg<CGPoint>(touch, "locationInView:", s.panel), CGPointMake(5, 10));
    EXPECT_EQ(msg<CGPoint>(touch, "locationInView:", nullptr), CGPointMake(25, 30));
    EXPECT_EQ(msg<CGPoint>(touch, "previousLocationInView:", nullptr), CGPointMake(100, 100));
    EXPECT_EQ(msg<NSInteger>(touch, "phase"), UITouchPhaseMoved);
    // touchesForView: gives the touches of that view or of views inside it.
    EXPECT_EQ(msg<std::vector<id>>(r->lastEvent, "touchesForView:", s.upper).size(), 1u);
    EXPECT_EQ(msg<std::vector<id>>(r->lastEvent, "touchesForView:", s.panel).size(), 1u);
    EXPECT_TRUE(msg<std::vector<id>>(r->lastEvent, "touchesForView:", s.lower).empty());
    s.window->touchUp({25, 30});
}

TEST(Touches, ConversionFollowsBoundsOrigins) {
    Scene s;
    msg(s.panel, "setBounds:", CGRectMake(0, 10, 200, 200)); // scrolled down by 10
    EXPECT_EQ(msg<CGPoint>(s.upper, "convertPoint:toView:", CGPointMake(0, 0), nullptr), CGPointMake(70, 60));
    EXPECT_EQ(msg<CGPoint>(s.lower, "convertPoint:fromView:", CGPointMake(70, 60), s.upper),
              CGPointMake(120, 110));
    EXPECT_EQ(s.hit({25, 25}), s.lower);
    EXPECT_EQ(msg<id>(s.upper, "window"), s.window);
    EXPECT_EQ(msg<id>(makeView("UIView", CGRectZero), "window"), nullptr);
}

} // namespace
