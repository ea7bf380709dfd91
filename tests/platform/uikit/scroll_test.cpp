#include "uikit/ScrollPan.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIScrollView.h"
#include "uikit/UISnapshot.h"
#include "uikit/UIWindow.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// ---------------------------------------------------------------------------------------------
// The pan's decision

struct PanCase {
    const char* name;
    CGPoint translation;
    bool canX, canY;
    ScrollPan::State want;
};

class PanDecision : public ::testing::TestWithParam<PanCase> {};

TEST_P(PanDecision, FollowsTheSlopAndTheAxisMovedAlong) {
    const PanCase& c = GetParam();
    ScrollPan pan;
    EXPECT_EQ(pan.moved(c.translation, c.canX, c.canY), c.want);
    // Decided once: moving back within the slop changes nothing.
    EXPECT_EQ(pan.moved({0, 0}, c.canX, c.canY), c.want);
}

using S = ScrollPan::State;
INSTANTIATE_TEST_SUITE_P(
    Cases, PanDecision,
    ::testing::Values(PanCase{"WithinTheSlop", {0, 10}, false, true, S::Possible},
                      PanCase{"DiagonalWithinTheSlop", {7, 7}, false, true, S::Possible},
                      PanCase{"UpPastTheSlop", {0, -11}, false, true, S::Began},
                      PanCase{"DownPastTheSlop", {2, 11}, false, true, S::Began},
                      PanCase{"SidewaysOnAVerticalScroll", {11, 3}, false, true, S::Failed},
                      PanCase{"SidewaysOnAHorizontalScroll", {-11, 3}, true, false, S::Began},
                      PanCase{"UpOnAHorizontalScroll", {0, 20}, true, false, S::Failed},
                      PanCase{"NothingToScroll", {0, 30}, false, false, S::Failed}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------------------------
// Drags and taps through a window

// A window with a table 400 high over 1000 points of rows: a control 50 high every 50 points,
// each recording its events.
struct Table {
    Ref<UIWindow> window = cast<UIWindow>(makeView("UIWindow", CGRectMake(0, 0, 320, 480)));
    Ref<UIScrollView> table = cast<UIScrollView>(makeView("UITableView", CGRectMake(0, 40, 320, 400)));
    std::vector<id> rows;
    std::vector<Ref<Recorder>> recorders;
    explicit Table(const char* scrollClass = "UITableView") {
        table = cast<UIScrollView>(makeView(scrollClass, CGRectMake(0, 40, 320, 400)));
        msg(window, "addSubview:", table);
        msg(table, "setContentSize:", CGSize{320, 1000});
        for (int i = 0; i < 20; ++i) {
            rows.push_back(makeView("UIControl", CGRectMake(0, 50.0 * i, 320, 50)));
            recorders.push_back(makeRecorder());
            recordAllControlEvents(rows.back(), recorders.back());
            msg(table, "addSubview:", rows.back());
        }
    }
    CGFloat offset() { return msg<CGPoint>(table, "contentOffset").y; }
    // A drag in steps of at most 5 points; answers what touchUp answered.
    bool drag(CGPoint from, CGPoint to) {
        window->touchDown(from);
        const int steps =
            std::max(1, int(std::ceil(std::max(std::fabs(to.x - from.x), std::fabs(to.y - from.y)) / 5)));
        for (int i = 1; i <= steps; ++i)
            window->touchMove({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        return window->touchUp(to);
    }
};

using Calls = std::vector<std::string>;

TEST(Scrolling, ATapOnARowTapsIt) {
    Table t;
    EXPECT_TRUE(t.window->tap({100, 40 + 75}));
    EXPECT_EQ(t.recorders[1]->calls, (Calls{"down", "upInside"}));
    EXPECT_EQ(t.offset(), 0);
}

TEST(Scrolling, AMoveWithinTheSlopStillTaps) {
    Table t;
    EXPECT_TRUE(t.drag({100, 115}, {104, 107}));
    EXPECT_EQ(t.recorders[1]->calls.back(), "upInside");
    EXPECT_EQ(t.offset(), 0);
    EXPECT_EQ(t.window->scrolling(), nullptr);
}

TEST(Scrolling, ADragPastTheSlopCancelsTheRowAndScrolls) {
    Table t;
    t.window->touchDown({100, 300});
    id row = t.rows[5]; // content 260
    EXPECT_TRUE(msg<bool>(row, "isHighlighted"));
    for (CGFloat y = 295; y >= 200; y -= 5)
        t.window->touchMove({100, y});
    EXPECT_EQ(t.window->scrolling(), id(t.table));
    EXPECT_TRUE(msg<bool>(t.table, "isDragging"));
    EXPECT_FALSE(msg<bool>(row, "isHighlighted"));
    EXPECT_FALSE(t.window->touchUp({100, 200}));
    // The content follows the finger from where the scroll began (11 points from the start).
    EXPECT_EQ(t.offset(), 100 - 15);
    EXPECT_EQ(t.recorders[5]->calls, (Calls{"down", "dragInside", "dragInside", "cancel"}));
    EXPECT_FALSE(msg<bool>(t.table, "isDragging"));
    EXPECT_EQ(t.window->scrolling(), nullptr);
    // The scrolled table is hit where it now shows: content 85 + 75 is row 3.
    EXPECT_TRUE(t.window->tap({100, 40 + 75}));
    EXPECT_EQ(t.recorders[3]->calls, (Calls{"down", "upInside"}));
}

struct ClampCase {
    const char* name;
    CGFloat startOffset;
    CGFloat fingerFrom, fingerTo;
    CGFloat want;
};
class ScrollClamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ScrollClamp, TheOffsetStaysWithinTheContent) {
    const ClampCase& c = GetParam();
    Table t;
    msg(t.table, "setContentOffset:", CGPoint{0, c.startOffset});
    t.drag({100, c.fingerFrom}, {100, c.fingerTo});
    EXPECT_EQ(t.offset(), c.want);
}

INSTANTIATE_TEST_SUITE_P(Cases, ScrollClamp,
                         ::testing::Values(ClampCase{"DownAtTheTop", 0, 100, 400, 0},
                                           ClampCase{"FarUpStopsAtTheEnd", 0, 430, -2000, 600},
                                           ClampCase{"UpAtTheEnd", 600, 400, 100, 600},
                                           ClampCase{"BackFromTheMiddle", 300, 100, 200, 300 - 85}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Scrolling, ASidewaysDragStaysWithTheRow) {
    Table t;
    EXPECT_TRUE(t.drag({100, 115}, {300, 118}));
    EXPECT_EQ(t.offset(), 0);
    EXPECT_EQ(t.recorders[1]->calls.back(), "upInside");
}

TEST(Scrolling, APlainScrollViewLeavesAControlItsTouchButScrollsFromElsewhere) {
    Table t("UIScrollView");
    t.drag({100, 300}, {100, 250});
    EXPECT_EQ(t.offset(), 0);
    EXPECT_EQ(t.recorders[5]->calls.back(), "upInside");
    msg(t.rows[5], "removeFromSuperview"); // now the finger lands on the scroll view itself
    t.drag({100, 300}, {100, 200});
    EXPECT_EQ(t.offset(), 85);
}

TEST(Scrolling, NoScrollWhenTheViewMayNotCancelOrIsDisabledOrTooSmall) {
    for (int variant = 0; variant < 3; ++variant) {
        Table t;
        if (variant == 0)
            msg(t.table, "setCanCancelContentTouches:", false);
        if (variant == 1)
            msg(t.table, "setScrollEnabled:", false);
        if (variant == 2)
            msg(t.table, "setContentSize:", CGSize{320, 400});
        EXPECT_TRUE(t.drag({100, 300}, {100, 250})) << variant;
        EXPECT_EQ(t.offset(), 0) << variant;
        EXPECT_EQ(t.recorders[5]->calls.back(), "upInside") << variant;
    }
}

TEST(Scrolling, TheInnermostScrollViewAlongTheDragTakesIt) {
    Table t;
    // A strip scrolling sideways in the table, over row 1.
    auto strip = cast<UIScrollView>(makeView("UITableView", CGRectMake(0, 50, 320, 50)));
    msg(strip, "setContentSize:", CGSize{1000, 50});
    msg(t.table, "addSubview:", strip);
    t.drag({200, 115}, {100, 115});
    EXPECT_EQ(msg<CGPoint>(strip, "contentOffset").x, 85);
    EXPECT_EQ(t.offset(), 0);
    t.drag({200, 115}, {200, 15});
    EXPECT_EQ(msg<CGPoint>(strip, "contentOffset").x, 85);
    EXPECT_EQ(t.offset(), 85);
}

TEST(Scrolling, TheWheelScrollsTheViewUnderThePointWithinItsContent) {
    Table t;
    EXPECT_TRUE(t.window->scrollWheel({100, 100}, {0, 120}));
    EXPECT_EQ(t.offset(), 120);
    EXPECT_TRUE(t.window->scrollWheel({100, 100}, {0, 5000}));
    EXPECT_EQ(t.offset(), 600);
    EXPECT_FALSE(t.window->scrollWheel({100, 100}, {0, 10}));  // at the end
    EXPECT_FALSE(t.window->scrollWheel({100, 460}, {0, -10})); // below the table
    EXPECT_FALSE(t.window->scrollWheel({100, 100}, {30, 0}));  // nothing scrolls sideways
    EXPECT_TRUE(t.window->scrollWheel({100, 100}, {0, -700}));
    EXPECT_EQ(t.offset(), 0);
}

TEST(Scrolling, AWindowShowsTheVisiblePartOnly) {
    Table t;
    msg(t.window, "setBackgroundColor:", rgba(1, 1, 1));
    // Row 4 (content 200 to 250) red, the others clear.
    msg(t.rows[4], "setBackgroundColor:", rgba(1, 0, 0));
    msg(t.table, "setContentOffset:", CGPoint{0, 190});
    const SnapshotImage img = UISnapshotRenderView(t.window, 1);
    ASSERT_EQ(img.height, 480u);
    EXPECT_EQ(img.at(10, 40 + 5).r, 255); // content 195: row 3, clear over white
    EXPECT_EQ(img.at(10, 40 + 5).g, 255);
    EXPECT_EQ(img.at(10, 40 + 15).g, 0); // content 205: row 4
    EXPECT_EQ(img.at(10, 40 + 15).r, 255);
    // Rows scrolled above the table are clipped: the window's top shows its own background.
    msg(t.table, "setContentOffset:", CGPoint{0, 220});
    const SnapshotImage clipped = UISnapshotRenderView(t.window, 1);
    EXPECT_EQ(clipped.at(10, 20).g, 255);
    EXPECT_EQ(clipped.at(10, 40 + 15).g, 0);
}

} // namespace
