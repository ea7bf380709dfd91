// What a change marks to be redrawn, on a window holding a view at (10, 10, 20, 20): the area
// the view covered before and covers after, nothing for a change to the same value, nothing
// for a tree off screen, and a rectangle asked for alone when that is all that changed.
#include "uikit/CALayer.h"
#include "uikit/UIDirtyRegion.h"
#include "uikit/UIView.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct MarkCase {
    const char* name;
    std::function<void(const id& window, const id& view)> change;
    std::vector<CGPoint> covered;   // points (screen) the marks must cover
    std::vector<CGPoint> uncovered; // points they must not
};
void PrintTo(const MarkCase& c, std::ostream* os) {
    *os << c.name;
}

bool covers(const std::vector<CGRect>& marks, CGPoint p) {
    for (const CGRect& r : marks)
        if (CGRectContainsPoint(r, p))
            return true;
    return false;
}

class DirtyMarks : public ::testing::TestWithParam<MarkCase> {};

TEST_P(DirtyMarks, CoverWhatChanged) {
    const MarkCase& c = GetParam();
    id window = makeView("UIWindow", CGRectMake(0, 0, 100, 100));
    id view = makeView("UIView", CGRectMake(10, 10, 20, 20));
    msg(view, "setBackgroundColor:", rgba(1, 0, 0));
    msg(window, "addSubview:", view);
    auto* root = static_cast<UIView*>(window.get());
    UIDirtyTake(*root); // what building it marked
    c.change(window, view);
    const std::vector<CGRect> marks = UIDirtyTake(*root);
    for (CGPoint p : c.covered)
        EXPECT_TRUE(covers(marks, p)) << p.x << ", " << p.y;
    for (CGPoint p : c.uncovered)
        EXPECT_FALSE(covers(marks, p)) << p.x << ", " << p.y;
    EXPECT_TRUE(UIDirtyTake(*root).empty()) << "taking clears them";
}

const CGPoint kOld{20, 20}, kNew{60, 60}, kFar{90, 5};

INSTANTIATE_TEST_SUITE_P(
    Changes, DirtyMarks,
    ::testing::Values(
        MarkCase{"Moved",
                 [](const id&, const id& v) { msg(v, "setFrame:", CGRectMake(50, 50, 20, 20)); },
                 {kOld, kNew},
                 {kFar}},
        MarkCase{"MovedByCenter",
                 [](const id&, const id& v) { msg(v, "setCenter:", CGPointMake(60, 60)); },
                 {kOld, kNew},
                 {kFar}},
        MarkCase{"SameFrame",
                 [](const id&, const id& v) { msg(v, "setFrame:", CGRectMake(10, 10, 20, 20)); },
                 {},
                 {kOld}},
        MarkCase{"Hidden", [](const id&, const id& v) { msg(v, "setHidden:", true); }, {kOld}, {kFar, kNew}},
        MarkCase{"HiddenTwice",
                 [](const id& w, const id& v) {
                     msg(v, "setHidden:", true);
                     UIDirtyTake(*static_cast<UIView*>(w.get()));
                     msg(v, "setHidden:", true);
                 },
                 {},
                 {kOld}},
        MarkCase{"Transparent", [](const id&, const id& v) { msg(v, "setAlpha:", 0.0); }, {kOld}, {kFar}},
        MarkCase{"Recolored",
                 [](const id&, const id& v) { msg(v, "setBackgroundColor:", rgba(0, 0, 1)); },
                 {kOld},
                 {kFar}},
        MarkCase{"Removed", [](const id&, const id& v) { msg(v, "removeFromSuperview"); }, {kOld}, {kFar}},
        MarkCase{"PartRedrawn",
                 [](const id&, const id& v) { msg(v, "setNeedsDisplayInRect:", CGRectMake(0, 0, 4, 4)); },
                 {{11, 11}},
                 {{25, 25}, kFar}},
        MarkCase{
            "Redrawn", [](const id&, const id& v) { msg(v, "setNeedsDisplay"); }, {kOld, {29, 29}}, {kFar}},
        // A shadow reaches past the box: its offset area is covered.
        MarkCase{"Shadowed",
                 [](const id&, const id& v) {
                     id layer = msg<id>(v, "layer");
                     msg(layer, "setShadowOffset:", CGSizeMake(30, 30));
                     msg(layer, "setShadowOpacity:", 1.0f);
                 },
                 {kOld, {55, 55}},
                 {kFar}},
        // A subview moves with its parent's bounds (scrolling): both places are covered.
        MarkCase{"Scrolled",
                 [](const id& w, const id&) {
                     id inner = makeView("UIView", CGRectMake(0, 40, 10, 10));
                     msg(w, "addSubview:", inner);
                     UIDirtyTake(*static_cast<UIView*>(w.get()));
                     msg(w, "setBounds:", CGRectMake(0, 30, 100, 100));
                 },
                 {{5, 45}, {5, 15}},
                 {}},
        // A tree not under a window keeps no marks; added to one, all of it is covered.
        MarkCase{"BuiltOffScreen",
                 [](const id& w, const id&) {
                     id box = makeView("UIView", CGRectMake(50, 50, 30, 30));
                     id inner = makeView("UIView", CGRectMake(5, 5, 10, 10));
                     msg(box, "addSubview:", inner);
                     msg(inner, "setBackgroundColor:", rgba(0, 1, 0));
                     EXPECT_TRUE(UIDirtyTake(*static_cast<UIView*>(box.get())).empty());
                     msg(w, "addSubview:", box);
                 },
                 {{56, 56}, {79, 79}},
                 {kOld, kFar}}),
    [](const auto& info) { return std::string(info.param.name); });

// Each reader takes every mark made while it exists, once, whatever the others took: a screen's
// picture and a display showing the same window both redraw a change.
TEST(DirtyReaders, EachTakesEveryMarkOnce) {
    id window = makeView("UIWindow", CGRectMake(0, 0, 100, 100));
    id view = makeView("UIView", CGRectMake(10, 10, 20, 20));
    msg(window, "addSubview:", view);
    auto* root = static_cast<UIView*>(window.get());
    auto first = std::make_unique<UIDirtyReader>();
    UIDirtyReader second;
    msg(view, "setBackgroundColor:", rgba(1, 0, 0));
    UIDirtyReader late; // came after the change
    EXPECT_TRUE(covers(UIDirtyTake(*root, *first), {20, 20}));
    EXPECT_TRUE(UIDirtyTake(*root, *first).empty()) << "taken once";
    EXPECT_TRUE(covers(UIDirtyTake(*root, second), {20, 20})) << "the first took them for itself only";
    EXPECT_TRUE(covers(UIDirtyTake(*root), {20, 20})) << "nor the readers for the default one";
    EXPECT_TRUE(UIDirtyTake(*root, late).empty());
    // A reader gone leaves its slot clean for the next one.
    msg(view, "setBackgroundColor:", rgba(0, 1, 0));
    first.reset();
    UIDirtyReader next;
    EXPECT_TRUE(UIDirtyTake(*root, next).empty());
    EXPECT_TRUE(covers(UIDirtyTake(*root, second), {20, 20}));
}

} // namespace
