#include "uikit/ControlTouchTracking.h"
#include "uikit/UIButton.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIWindow.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

namespace {

using Calls = std::vector<std::string>;

// A window with one button at (10, 10, 100, 44) whose every event is recorded.
struct ButtonOnWindow {
    Ref<UIWindow> window = cast<UIWindow>(makeView("UIWindow", CGRectMake(0, 0, 320, 480)));
    id button = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", NSInteger{0});
    Ref<Recorder> recorder = makeRecorder();
    ButtonOnWindow() {
        msg(button, "setFrame:", CGRectMake(10, 10, 100, 44));
        msg(window, "addSubview:", button);
        recordAllControlEvents(button, recorder);
    }
};

struct Path {
    const char* name;
    std::vector<CGPoint> moves; // after touching down at (50, 30)
    bool cancel;
    CGPoint lift;
    Calls expected;
};

class ControlEventSequences : public ::testing::TestWithParam<Path> {};

TEST_P(ControlEventSequences, FollowTheFinger) {
    const Path& p = GetParam();
    ButtonOnWindow s;
    ASSERT_TRUE(s.window->touchDown({50, 30}));
    for (CGPoint m : p.moves)
        s.window->touchMove(m);
    if (p.cancel)
        s.window->touchCancel();
    else
        s.window->touchUp(p.lift);
    EXPECT_EQ(s.recorder->calls, p.expected);
    EXPECT_FALSE(msg<bool>(s.button, "isHighlighted"));
    EXPECT_FALSE(msg<bool>(s.button, "isTracking"));
}

// The button spans x 10..110 and y 10..54; inside counts up to 70 points beyond that.
INSTANTIATE_TEST_SUITE_P(
    Paths, ControlEventSequences,
    ::testing::Values(
        Path{"Tap", {}, false, {50, 30}, {"down", "upInside"}},
        Path{"DragWithin",
             {{60, 30}, {170, 30}},
             false,
             {170, 30},
             {"down", "dragInside", "dragInside", "upInside"}},
        Path{"DragOutAndBack",
             {{250, 30}, {60, 30}},
             false,
             {60, 30},
             {"down", "exit", "dragOutside", "enter", "dragInside", "upInside"}},
        Path{"ReleaseOutside", {{60, 200}}, false, {60, 200}, {"down", "exit", "dragOutside", "upOutside"}},
        Path{"LiftOutsideWithoutMoving", {}, false, {300, 400}, {"down", "upOutside"}},
        Path{"Cancel", {{60, 35}}, true, {}, {"down", "dragInside", "cancel"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ControlTracking, PureStepsIgnoreATouchThatNeverBegan) {
    ControlTouchTracking t;
    EXPECT_TRUE(t.moved(true).empty());
    EXPECT_TRUE(t.ended(true).empty());
    EXPECT_TRUE(t.cancelled().empty());
    EXPECT_TRUE(touchCountsAsInside(-70, 114, 100, 44));
    EXPECT_FALSE(touchCountsAsInside(-70.5, 0, 100, 44));
}

TEST(ControlTracking, HighlightedWhileTheFingerIsInside) {
    ButtonOnWindow s;
    s.window->touchDown({50, 30});
    EXPECT_TRUE(msg<bool>(s.button, "isHighlighted"));
    EXPECT_EQ(msg<NSUInteger>(s.button, "state"), UIControlStateHighlighted);
    s.window->touchMove({50, 300});
    EXPECT_FALSE(msg<bool>(s.button, "isHighlighted"));
    s.window->touchMove({50, 40});
    EXPECT_TRUE(msg<bool>(s.button, "isHighlighted"));
    s.window->touchUp({50, 40});
    EXPECT_EQ(msg<NSUInteger>(s.button, "state"), UIControlStateNormal);
}

TEST(ControlTracking, ADisabledControlTakesTheTouchButSendsNothing) {
    ButtonOnWindow s;
    msg(s.button, "setEnabled:", false);
    EXPECT_TRUE(s.window->tap({50, 30}));
    EXPECT_TRUE(s.recorder->calls.empty());
}

TEST(TargetAction, ActionsTakeNothingTheSenderOrTheSenderAndTheEvent) {
    ButtonOnWindow s;
    auto r = makeRecorder();
    msg(s.button, "addTarget:action:forControlEvents:", r, sel_registerName("action0"),
        UIControlEventTouchUpInside);
    msg(s.button, "addTarget:action:forControlEvents:", r, sel_registerName("action1:"),
        UIControlEventTouchUpInside);
    msg(s.button, "addTarget:action:forControlEvents:", r, sel_registerName("action2:event:"),
        UIControlEventTouchUpInside);
    s.window->tap({50, 30});
    EXPECT_EQ(r->calls, (Calls{"action0", "action1", "action2"}));
    EXPECT_EQ(r->lastSender, s.button);
    ASSERT_TRUE(r->lastEvent);
    // The event carries the touch, located in the button's coordinates.
    const auto touches = msg<std::vector<id>>(r->lastEvent, "touchesForView:", s.button);
    ASSERT_EQ(touches.size(), 1u);
    EXPECT_EQ(msg<CGPoint>(touches[0], "locationInView:", s.button), CGPointMake(40, 20));

    // From code there is no event.
    r->calls.clear();
    msg(s.button, "sendActionsForControlEvents:", UIControlEventTouchUpInside);
    EXPECT_EQ(r->calls, (Calls{"action0", "action1", "action2"}));
    EXPECT_EQ(r->lastEvent, nullptr);
}

TEST(TargetAction, TargetsAreHeldWeaklyAndAGoneTargetIsSkipped) {
    ButtonOnWindow s;
    weak_id gone;
    {
        auto temporary = makeRecorder();
        gone = temporary;
        msg(s.button, "addTarget:action:forControlEvents:", temporary, sel_registerName("action0"),
            UIControlEventTouchUpInside);
    }
    EXPECT_TRUE(gone.expired());
    s.window->tap({50, 30});
    EXPECT_EQ(s.recorder->calls, (Calls{"down", "upInside"}));
}

TEST(TargetAction, AddingTheSamePairTwiceSendsOnceAndRemovingStopsIt) {
    ButtonOnWindow s;
    auto r = makeRecorder();
    msg(s.button, "addTarget:action:forControlEvents:", r, sel_registerName("action0"),
        UIControlEventTouchUpInside);
    msg(s.button, "addTarget:action:forControlEvents:", r, sel_registerName("action0"),
        UIControlEventTouchUpInside);
    s.window->tap({50, 30});
    EXPECT_EQ(r->calls, Calls{"action0"});
    msg(s.button, "removeTarget:action:forControlEvents:", r, sel_registerName("action0"),
        UIControlEventAllEvents);
    s.window->tap({50, 30});
    EXPECT_EQ(r->calls, Calls{"action0"});
}

TEST(TargetAction, NoTargetMeansTheFirstResponderUpTheChainThatAnswers) {
    auto window = cast<UIWindow>(makeView("UIWindow", CGRectMake(0, 0, 320, 480)));
    id holder = makeView("TestActionView", CGRectMake(0, 0, 200, 200));
    id button = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", NSInteger{1});
    msg(button, "setFrame:", CGRectMake(0, 0, 50, 50));
    msg(holder, "addSubview:", button);
    msg(window, "addSubview:", holder);
    msg(button, "addTarget:action:forControlEvents:", nullptr, sel_registerName("bubbled:"),
        UIControlEventTouchUpInside);
    window->tap({10, 10});
    EXPECT_EQ(msg<NSInteger>(holder, "tag"), 1);
}

struct ActionView : UIView {
    void bubbled(id) { setTag(tag() + 1); }
};
const ClassDef<ActionView> kActionView("TestActionView", "UIView",
                                       {method("bubbled:", &ActionView::bubbled)});

TEST(TargetActionDeathTest, AnActionOfAnotherSignatureStopsTheProgram) {
    ButtonOnWindow s;
    msg(s.button, "addTarget:action:forControlEvents:", s.recorder,
        sel_registerName("alertView:clickedButtonAtIndex:"), UIControlEventTouchUpInside);
    EXPECT_DEATH(s.window->tap({50, 30}), "alertView:clickedButtonAtIndex:");
}

struct TitleCase {
    NSInteger type;
    NSUInteger state;
    std::string title;    // after setting "Normal" for state 0 and "Lit" for state 1
    CGColor defaultColor; // before any title color is set
};

class ButtonTitles : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ButtonTitles, FallBackToTheNormalState) {
    const TitleCase& c = GetParam();
    id b = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", c.type);
    EXPECT_EQ(msg<NSInteger>(b, "buttonType"), c.type);
    EXPECT_EQ(msg<CGColor>(msg<id>(b, "titleColorForState:", c.state), "CGColor"), c.defaultColor);
    msg(b, "setTitle:forState:", "Normal", UIControlStateNormal);
    msg(b, "setTitle:forState:", "Lit", UIControlStateHighlighted);
    EXPECT_EQ(msg<std::string>(b, "titleForState:", c.state), c.title);
    id red = rgba(1, 0, 0);
    msg(b, "setTitleColor:forState:", red, UIControlStateNormal);
    EXPECT_EQ(msg<id>(b, "titleColorForState:", c.state), red);
}

INSTANTIATE_TEST_SUITE_P(States, ButtonTitles,
                         ::testing::Values(TitleCase{0, 0, "Normal", {1, 1, 1, 1}},
                                           TitleCase{0, 1, "Lit", {1, 1, 1, 1}},
                                           TitleCase{0, 4, "Normal", {1, 1, 1, 1}},
                                           TitleCase{1, 4, "Normal", {0, 122.0 / 255, 1, 1}}));

} // namespace
