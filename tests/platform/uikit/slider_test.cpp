#include "uikit/SliderTrack.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIWindow.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

namespace {

struct ClampCase {
    float minimum, maximum, given, kept;
};

class SliderClamping : public ::testing::TestWithParam<ClampCase> {};

TEST_P(SliderClamping, KeepsEveryValueInItsRange) {
    const ClampCase& c = GetParam();
    id slider = makeView("UISlider", CGRectMake(0, 0, 290, 40));
    msg(slider, "setMinimumValue:", c.minimum);
    msg(slider, "setMaximumValue:", c.maximum);
    msg(slider, "setValue:", c.given);
    EXPECT_FLOAT_EQ(msg<float>(slider, "value"), c.kept);
}

INSTANTIATE_TEST_SUITE_P(Values, SliderClamping,
                         ::testing::Values(ClampCase{0, 255, 128, 128}, ClampCase{0, 255, 300, 255},
                                           ClampCase{0, 255, -4, 0}, ClampCase{0, 0, 255, 0},
                                           ClampCase{10, 20, 0, 10}, ClampCase{-1, 1, 0.25f, 0.25f}));

TEST(SliderClamping, NarrowingTheRangeClampsTheCurrentValue) {
    id slider = makeView("UISlider", CGRectMake(0, 0, 290, 40));
    msg(slider, "setMaximumValue:", 255.0f);
    msg(slider, "setValue:", 200.0f);
    msg(slider, "setMaximumValue:", 100.0f);
    EXPECT_FLOAT_EQ(msg<float>(slider, "value"), 100);
    msg(slider, "setMinimumValue:", 150.0f); // above the maximum: the range becomes one point
    EXPECT_FLOAT_EQ(msg<float>(slider, "value"), 150);
    EXPECT_FLOAT_EQ(msg<float>(slider, "maximumValue"), 150);
}

TEST(SliderTrack, ThumbPositionAndTouchedValueAreInverse) {
    for (float v : {0.0f, 64.0f, 128.0f, 255.0f}) {
        const double x = sliderThumbCenter(v, 0, 255, 290);
        EXPECT_NEAR(sliderValueAt(x, 0, 255, 290), v, 1e-3);
    }
    EXPECT_EQ(sliderThumbCenter(0, 0, 255, 290), kSliderThumbDiameter / 2);
    EXPECT_EQ(sliderThumbCenter(255, 0, 255, 290), 290 - kSliderThumbDiameter / 2);
    EXPECT_EQ(sliderValueAt(-50, 0, 255, 290), 0);
    EXPECT_EQ(sliderValueAt(500, 0, 255, 290), 255);
    EXPECT_EQ(sliderValueAt(100, 5, 5, 290), 5); // an empty range
    EXPECT_EQ(sliderValueAt(5, 0, 1, 10), 0);    // no room to travel
}

struct SliderOnWindow {
    Ref<UIWindow> window = cast<UIWindow>(makeView("UIWindow", CGRectMake(0, 0, 320, 480)));
    id slider = makeView("UISlider", CGRectMake(15, 100, 290, 40));
    Ref<Recorder> recorder = makeRecorder();
    SliderOnWindow() {
        msg(slider, "setMaximumValue:", 255.0f);
        msg(window, "addSubview:", slider);
        recordAllControlEvents(slider, recorder);
    }
    // The window point over the thumb's place for a value.
    CGPoint over(float value) const { return {15 + sliderThumbCenter(value, 0, 255, 290), 120}; }
};

TEST(SliderTouch, ATouchMovesTheValueAndEachChangeIsSent) {
    SliderOnWindow s;
    s.window->touchDown(s.over(100));
    EXPECT_NEAR(msg<float>(s.slider, "value"), 100, 1e-3);
    s.window->touchMove(s.over(200));
    EXPECT_NEAR(msg<float>(s.slider, "value"), 200, 1e-3);
    s.window->touchMove({400, 120}); // past the end, level with the bar
    EXPECT_FLOAT_EQ(msg<float>(s.slider, "value"), 255);
    s.window->touchUp({400, 120});
    EXPECT_EQ(s.recorder->calls, (std::vector<std::string>{"changed", "down", "changed", "dragInside",
                                                           "changed", "exit", "dragOutside", "upOutside"}));
}

TEST(SliderTouch, ANonContinuousSliderSendsOneChangeWhenTheFingerLifts) {
    SliderOnWindow s;
    msg(s.slider, "setContinuous:", false);
    s.window->touchDown(s.over(10));
    s.window->touchMove(s.over(20));
    s.window->touchUp(s.over(30));
    EXPECT_EQ(s.recorder->calls, (std::vector<std::string>{"down", "dragInside", "changed", "upInside"}));
    EXPECT_NEAR(msg<float>(s.slider, "value"), 30, 1e-3);
    // Back to where it started: no change to report.
    s.recorder->calls.clear();
    s.window->touchDown(s.over(50));
    s.window->touchUp(s.over(30));
    EXPECT_EQ(s.recorder->calls, (std::vector<std::string>{"down", "upInside"}));
}

} // namespace
