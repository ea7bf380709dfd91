#include "uikit/AutoresizingRule.h"
#include "uikit/CALayer.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIView.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

namespace {

struct ResizeCase {
    NSUInteger mask;
    CGRect before;
    CGRect after; // when the parent goes from 320 x 480 to 480 x 640
};

class AutoresizingTable : public ::testing::TestWithParam<ResizeCase> {};

TEST_P(AutoresizingTable, ChildFollowsTheParentsSizeChange) {
    const ResizeCase& c = GetParam();
    id parent = makeView("UIView", CGRectMake(0, 0, 320, 480));
    id child = makeView("UIView", c.before);
    msg(child, "setAutoresizingMask:", c.mask);
    msg(parent, "addSubview:", child);
    msg(parent, "setFrame:", CGRectMake(0, 0, 480, 640));
    const CGRect f = msg<CGRect>(child, "frame");
    EXPECT_DOUBLE_EQ(f.origin.x, c.after.origin.x);
    EXPECT_DOUBLE_EQ(f.origin.y, c.after.origin.y);
    EXPECT_DOUBLE_EQ(f.size.width, c.after.size.width);
    EXPECT_DOUBLE_EQ(f.size.height, c.after.size.height);
}

// Width change +160 and height change +160. Shares are in proportion to the flexible parts'
// lengths before the change.
INSTANTIATE_TEST_SUITE_P(
    Masks, AutoresizingTable,
    ::testing::Values(ResizeCase{0, CGRectMake(10, 20, 100, 44), CGRectMake(10, 20, 100, 44)},
                      // 2: the width takes the whole change.
                      ResizeCase{2, CGRectMake(0, 0, 100, 44), CGRectMake(0, 0, 260, 44)},
                      // 5: both margins, 10 and 210, share 160 as 1:21.
                      ResizeCase{5, CGRectMake(10, 20, 100, 44),
                                 CGRectMake(10 + 160.0 * 10 / 220, 20, 100, 44)},
                      // 5 with equal margins keeps the child centered.
                      ResizeCase{5, CGRectMake(110, 20, 100, 44), CGRectMake(190, 20, 100, 44)},
                      // 7: left 15, width 290, right 15.
                      ResizeCase{7, CGRectMake(15, 41, 290, 38),
                                 CGRectMake(15 + 160.0 * 15 / 320, 41, 290 + 160.0 * 290 / 320, 38)},
                      // 10: width and top margin.
                      ResizeCase{10, CGRectMake(10, 100, 300, 200), CGRectMake(10, 260, 460, 200)},
                      // 15: all four horizontal and the top margin; the height stays.
                      ResizeCase{15, CGRectMake(10, 10, 140, 20),
                                 CGRectMake(10 + 160.0 * 10 / 320, 170, 140 + 160.0 * 140 / 320, 20)},
                      // Flexible parts that are all zero share equally.
                      ResizeCase{5, CGRectMake(0, 0, 320, 44), CGRectMake(80, 0, 320, 44)}));

TEST(AutoresizingRule, ShrinkingUndoesGrowing) {
    const AxisFlexibility all{true, true, true};
    const AxisExtent grown = resizeAlongAxis({15, 290}, all, 320, 480);
    const AxisExtent back = resizeAlongAxis(grown, all, 480, 320);
    EXPECT_DOUBLE_EQ(back.origin, 15);
    EXPECT_DOUBLE_EQ(back.length, 290);
}

TEST(AutoresizingRule, GrandchildrenFollowTheirResizedParent) {
    // The container of an alert's accessory: 100 wide, stretched to 270.
    id container = makeView("UIView", CGRectMake(0, 0, 100, 44));
    id button = makeView("UIButton", CGRectMake(0, 0, 100, 44));
    msg(container, "setAutoresizingMask:", UIViewAutoresizingFlexibleWidth);
    msg(button, "setAutoresizingMask:", UIViewAutoresizingFlexibleWidth);
    msg(container, "addSubview:", button);
    id top = makeView("UIView", CGRectMake(0, 0, 100, 100));
    msg(top, "addSubview:", container);
    msg(top, "setFrame:", CGRectMake(0, 0, 270, 100));
    EXPECT_EQ(msg<CGRect>(button, "frame"), CGRectMake(0, 0, 270, 44));
    // With autoresizesSubviews off, the children stay.
    msg(top, "setAutoresizesSubviews:", false);
    msg(top, "setFrame:", CGRectMake(0, 0, 100, 100));
    EXPECT_EQ(msg<CGRect>(button, "frame"), CGRectMake(0, 0, 270, 44));
}

// A view that counts its layout passes and lays its one subview out over its bottom half.
struct HalfView : UIView {
    int passes = 0;
    void layoutSubviews() {
        ++passes;
        const CGRect b = bounds();
        if (!subviews().empty())
            msg(subviews().front(),
                "setFrame:", CGRectMake(0, b.size.height / 2, b.size.width, b.size.height / 2));
    }
};
const ClassDef<HalfView> kHalfView("TestHalfView", "UIView",
                                   {method("layoutSubviews", &HalfView::layoutSubviews)});

TEST(Layout, RunsOncePerMarkAndOnSizeChangesOnly) {
    auto v = cast<HalfView>(makeView("TestHalfView", CGRectMake(0, 0, 100, 100)));
    id sub = makeView("UIView", CGRectZero);
    msg(v, "addSubview:", sub);
    msg(v, "layoutIfNeeded");
    EXPECT_EQ(v->passes, 1);
    EXPECT_EQ(msg<CGRect>(sub, "frame"), CGRectMake(0, 50, 100, 50));
    msg(v, "layoutIfNeeded");
    EXPECT_EQ(v->passes, 1);
    msg(v, "setCenter:", CGPointMake(200, 200)); // a move is no size change
    msg(v, "layoutIfNeeded");
    EXPECT_EQ(v->passes, 1);
    msg(v, "setFrame:", CGRectMake(0, 0, 100, 300));
    EXPECT_TRUE(v->needsLayout());
    msg(v, "layoutIfNeeded");
    EXPECT_EQ(v->passes, 2);
    EXPECT_EQ(msg<CGRect>(sub, "frame"), CGRectMake(0, 150, 100, 150));
    msg(v, "setNeedsLayout");
    // Laying out an ancestor reaches the marked view.
    id parent = makeView("UIView", CGRectMake(0, 0, 10, 10));
    msg(parent, "addSubview:", v);
    msg(parent, "layoutIfNeeded");
    EXPECT_EQ(v->passes, 3);
}

TEST(ViewGeometry, FrameBoundsAndCenterAgree) {
    id v = makeView("UIView", CGRectMake(10, 20, 100, 40));
    EXPECT_EQ(msg<CGPoint>(v, "center"), CGPointMake(60, 40));
    EXPECT_EQ(msg<CGRect>(v, "bounds"), CGRectMake(0, 0, 100, 40));
    msg(v, "setCenter:", CGPointMake(0, 0));
    EXPECT_EQ(msg<CGRect>(v, "frame"), CGRectMake(-50, -20, 100, 40));
    msg(v, "setBounds:", CGRectMake(5, 5, 50, 20)); // the size changes about the center
    EXPECT_EQ(msg<CGRect>(v, "frame"), CGRectMake(-25, -10, 50, 20));
    // A view's layer has the view's frame, both ways.
    id layer = msg<id>(v, "layer");
    EXPECT_EQ(msg<CGRect>(layer, "frame"), CGRectMake(-25, -10, 50, 20));
    msg(layer, "setFrame:", CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(msg<CGRect>(v, "frame"), CGRectMake(1, 2, 3, 4));
    EXPECT_EQ(msg<id>(layer, "delegate"), v);
}

TEST(ViewHierarchy, SubviewsAreOrderedAndInterleaveWithSublayers) {
    id parent = makeView("UIView", CGRectMake(0, 0, 100, 100));
    id a = makeView("UIView", CGRectZero), b = makeView("UIView", CGRectZero),
       c = makeView("UIView", CGRectZero);
    msg(parent, "addSubview:", a);
    id separator = msg<id>(classObject(objc_getClass("CALayer")), "layer");
    msg(msg<id>(parent, "layer"), "addSublayer:", separator);
    msg(parent, "addSubview:", b);
    msg(parent, "insertSubview:atIndex:", c, NSInteger{0});
    EXPECT_EQ(msg<std::vector<id>>(parent, "subviews"), (std::vector<id>{c, a, b}));
    const auto layers = msg<std::vector<id>>(msg<id>(parent, "layer"), "sublayers");
    EXPECT_EQ(layers,
              (std::vector<id>{msg<id>(c, "layer"), msg<id>(a, "layer"), separator, msg<id>(b, "layer")}));
    // Re-adding moves a view to the top; adding to another parent moves it there.
    msg(parent, "addSubview:", c);
    EXPECT_EQ(msg<std::vector<id>>(parent, "subviews").back(), c);
    id other = makeView("UIView", CGRectZero);
    msg(other, "addSubview:", a);
    EXPECT_EQ(msg<std::vector<id>>(parent, "subviews"), (std::vector<id>{b, c}));
    EXPECT_EQ(msg<id>(a, "superview"), other);
    // A view cannot become its own ancestor's subview.
    msg(a, "addSubview:", other);
    EXPECT_EQ(msg<id>(other, "superview"), nullptr);
    msg(b, "removeFromSuperview");
    EXPECT_EQ(msg<std::vector<id>>(parent, "subviews"), std::vector<id>{c});
    EXPECT_EQ(msg<id>(b, "superview"), nullptr);
    EXPECT_EQ(msg<id>(msg<id>(b, "layer"), "superlayer"), nullptr);
}

TEST(ViewHierarchy, SubviewsLiveAsLongAsTheirParentAndNoLonger) {
    weak_id child;
    {
        id parent = makeView("UIView", CGRectZero);
        id c = makeView("UILabel", CGRectZero);
        child = c;
        msg(parent, "addSubview:", c);
        c.reset();
        EXPECT_FALSE(child.expired());
    }
    EXPECT_TRUE(child.expired());
}

TEST(ViewDrawing, SetNeedsDisplayIsCountedAndBackgroundReachesTheLayer) {
    auto v = cast<UIView>(makeView("UIView", CGRectMake(0, 0, 10, 10)));
    EXPECT_EQ(v->needsDisplayCount(), 0);
    msg(v, "setNeedsDisplay");
    msg(v, "setNeedsDisplay");
    EXPECT_EQ(v->needsDisplayCount(), 2);
    msg(v, "setBackgroundColor:", rgba(1, 0, 0, 0.5));
    EXPECT_EQ(msg<CGColor>(msg<id>(v, "layer"), "backgroundColor"), CGColorMake(1, 0, 0, 0.5));
    msg(v, "setBackgroundColor:", nullptr);
    EXPECT_EQ(msg<CGColor>(msg<id>(v, "layer"), "backgroundColor").a, 0);
    EXPECT_EQ(msg<id>(v, "backgroundColor"), nullptr);
}

TEST(ViewTags, ViewWithTagSearchesTheSubtree) {
    id root = makeView("UIView", CGRectZero);
    id mid = makeView("UIView", CGRectZero);
    id leaf = makeView("UIView", CGRectZero);
    msg(leaf, "setTag:", NSInteger{2627});
    msg(mid, "addSubview:", leaf);
    msg(root, "addSubview:", mid);
    EXPECT_EQ(msg<id>(root, "viewWithTag:", NSInteger{2627}), leaf);
    EXPECT_EQ(msg<id>(root, "viewWithTag:", NSInteger{3026}), nullptr);
}

} // namespace
