// The three picker layouts in a window, driven by touches and typed entries as a user would,
// with recording callbacks.
#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIWindow.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// What a test expects of one layout, written out by hand.
struct LayoutCase {
    const char* className;
    const char* square;     // property of the square
    const char* bar;        // property of the slider bar
    const char* topLeft;    // property of the top-left value label
    const char* topRight;   // property of the top-right value label
    const char* slider;     // property of the slider value label
    const char* marker;     // property of the slider marker
    const char* across;     // component the square spans left to right (0 to 1)
    const char* down;       // component the square spans bottom to top (0 to 1)
    const char* barCarries; // component of the bar
    bool barFalls;          // the bar's component is 1 at the left end
    long topLeftTag, topRightTag, sliderTag;
};

const LayoutCase kB{"HMColorPickerView_B",
                    "hueSaturationView",
                    "brightnessGradientView",
                    "currentSaturationLabel",
                    "currentHueLabel",
                    "currentBrightnessLabel",
                    "brightnessSelector",
                    "currentHue",
                    "currentSaturation",
                    "currentBrightness",
                    true,
                    3028,
                    3026,
                    3027};
const LayoutCase kH{"HMColorPickerView_H",
                    "brightnessSaturationView",
                    "hueGradientView",
                    "currentBrightnessLabel",
                    "currentSaturationLabel",
                    "currentHueLabel",
                    "hueSelector",
                    "currentSaturation",
                    "currentBrightness",
                    "currentHue",
                    false,
                    3027,
                    3028,
                    3026};
const LayoutCase kS{"HMColorPickerView_S",
                    "hueBrightnessView",
                    "saturationGradientView",
                    "currentBrightnessLabel",
                    "currentHueLabel",
                    "currentSaturationLabel",
                    "saturationSelector",
                    "currentHue",
                    "currentBrightness",
                    "currentSaturation",
                    true,
                    3027,
                    3026,
                    3028};

id colorHsb(double h, double s, double b) {
    return msg<id>(classObject(objc_getClass("UIColor")), "colorWithHue:saturation:brightness:alpha:", h, s,
                   b, 1.0);
}

// A picker at (0, 50) in a 320 x 568 window, reporting into two lists.
class PickerTest : public ::testing::TestWithParam<LayoutCase> {
  protected:
    void SetUp() override { build(colorHsb(0.5, 0.5, 0.5)); }

    void build(id start) {
        window = std::static_pointer_cast<UIWindow>(
            msg<id>(msg<id>(classObject(objc_getClass("UIWindow")), "alloc"),
                    "initWithFrame:", CGRectMake(0, 0, 320, 568)));
        window->makeKeyAndVisible();
        picker = msg<id>(msg<id>(classObject(objc_getClass(GetParam().className)), "alloc"),
                         "initWithFrame:color:colorsHaveChangedBlock:saveChangesBlock:",
                         CGRectMake(0, 50, 320, 400), start, std::function<void(id)>([this](id c) {
                             changes.push_back(c);
                             colorDuringChange.push_back(msg<id>(picker, "color"));
                         }),
                         std::function<void(id)>([this](id c) { saves.push_back(c); }));
        msg(window, "addSubview:", picker);
        msg(window, "layoutIfNeeded");
    }

    id part(const char* property) const { return msg<id>(picker, property); }
    // A part's frame in window coordinates.
    CGRect inWindow(const char* property) const {
        CGRect f = msg<CGRect>(part(property), "frame");
        f.origin.y += 50;
        return f;
    }
    double component(const char* name) const {
        return object_getIvar<double>(picker.get(),
                                      class_getInstanceVariable(objc_getClass(GetParam().className), name));
    }
    std::string text(const char* label) const { return msg<std::string>(part(label), "text"); }
    CGPoint center(const char* property) const { return msg<CGPoint>(part(property), "center"); }

    void drag(std::vector<CGPoint> points) {
        ASSERT_TRUE(window->touchDown(points.front()));
        for (size_t i = 1; i + 1 < points.size(); ++i)
            window->touchMove(points[i]);
        window->touchUp(points.back());
    }
    void tap(CGPoint p) { drag({p, p}); }

    Ref<UIAlertView> lastAlert() const {
        auto shown = UIAlertView::shownAlerts();
        return shown.empty() ? nullptr : shown.back();
    }
    // Opens the prompt under a label's entry button, types, and presses a button.
    void enter(const char* label, const std::string& typed, long button = 1) {
        const CGRect f = inWindow(label);
        ASSERT_TRUE(window->tap(CGPointMake(f.origin.x + 5, f.origin.y + f.size.height / 2)));
        Ref<UIAlertView> alert = lastAlert();
        ASSERT_TRUE(alert);
        msg(msg<id>(alert, "textFieldAtIndex:", NSInteger{0}), "setText:", typed);
        ASSERT_TRUE(alert->tapButtonAtIndex(button));
    }

    Ref<UIWindow> window;
    id picker;
    std::vector<id> changes, colorDuringChange, saves;
};

// --- Touch mapping ------------------------------------------------------------------------------

TEST_P(PickerTest, SquareEdgesAndClampsOutsideIt) {
    const LayoutCase& L = GetParam();
    const CGRect s = inWindow(L.square);
    // Left edge, top edge: across 0, down 1.
    tap(CGPointMake(s.origin.x, s.origin.y));
    EXPECT_DOUBLE_EQ(component(L.across), 0);
    EXPECT_DOUBLE_EQ(component(L.down), 1);
    // A finger put down in the square and lifted right of it, level with it: the right edge.
    drag({CGPointMake(s.origin.x + 50, s.origin.y + 30), CGPointMake(CGRectGetMaxX(s) + 4, s.origin.y + 30)});
    EXPECT_DOUBLE_EQ(component(L.across), 1);
    EXPECT_DOUBLE_EQ(center("crossHairs").x, CGRectGetMaxX(s)) << "the crosshair sits on the right border";
    if (std::string(L.across) == "currentHue") {
        EXPECT_EQ(text(L.topRight), "360° : Hue");
    }
    // Lifted between the square and the slider labels: the bottom edge.
    drag({CGPointMake(s.origin.x + 50, s.origin.y + 30), CGPointMake(s.origin.x + 70, CGRectGetMaxY(s) + 6)});
    EXPECT_DOUBLE_EQ(component(L.down), 0);
    EXPECT_NEAR(component(L.across), 70.0 / s.size.width, 1e-12);
    EXPECT_EQ(saves.size(), 3u);
}

TEST_P(PickerTest, TouchesOnTheLabelRowsChangeNothingButStillSave) {
    const LayoutCase& L = GetParam();
    const CGRect s = inWindow(L.square);
    const CGRect sliderLabel = inWindow(L.slider);
    const double before[] = {component("currentHue"), component("currentSaturation"),
                             component("currentBrightness")};
    // Start in the square, lift on the slider label row; then lift above the top labels' bottom.
    drag({CGPointMake(s.origin.x + 10, s.origin.y + 10), CGPointMake(100, sliderLabel.origin.y + 2)});
    drag({CGPointMake(s.origin.x + 10, s.origin.y + 10), CGPointMake(100, 50 + 5)});
    // The taps in the square itself (at touch-down) did nothing: only lifting and dragging count.
    EXPECT_EQ(component("currentHue"), before[0]);
    EXPECT_EQ(component("currentSaturation"), before[1]);
    EXPECT_EQ(component("currentBrightness"), before[2]);
    EXPECT_TRUE(changes.empty());
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_TRUE(msg<bool>(saves[0], "isEqual:", colorHsb(0.5, 0.5, 0.5))) << "the starting color is saved";
}

TEST_P(PickerTest, BarEndsAndDragsPastThem) {
    const LayoutCase& L = GetParam();
    const CGRect b = inWindow(L.bar);
    const double midY = b.origin.y + b.size.height / 2;
    const double leftValue = L.barFalls ? 1 : 0;
    tap(CGPointMake(b.origin.x, midY));
    EXPECT_DOUBLE_EQ(component(L.barCarries), leftValue);
    // A drag that runs past the right end, level with the bar, holds the marker there.
    drag({CGPointMake(b.origin.x + 20, midY), CGPointMake(CGRectGetMaxX(b) - 5, midY),
          CGPointMake(CGRectGetMaxX(b) + 40, midY + 3), CGPointMake(CGRectGetMaxX(b) + 60, midY)});
    EXPECT_DOUBLE_EQ(component(L.barCarries), 1 - leftValue);
    EXPECT_DOUBLE_EQ(center(L.marker).x, CGRectGetMaxX(b));
    EXPECT_DOUBLE_EQ(center(L.marker).y, midY - 50);
    // And past the left end.
    drag({CGPointMake(b.origin.x + 20, midY), CGPointMake(b.origin.x - 30, midY)});
    EXPECT_DOUBLE_EQ(component(L.barCarries), leftValue);
    EXPECT_DOUBLE_EQ(center(L.marker).x, b.origin.x);
}

// --- The callback contract ------------------------------------------------------------------------

TEST_P(PickerTest, OneGestureReportsEachNewColorOnceAndSavesOnce) {
    const LayoutCase& L = GetParam();
    const CGRect s = inWindow(L.square);
    const CGPoint a{s.origin.x + 40, s.origin.y + 40}, b{s.origin.x + 80, s.origin.y + 60};
    // Down, move to a, move to a again (same color: no report), move to b, lift at b (same).
    drag({a, a, a, b, b});
    ASSERT_EQ(changes.size(), 2u);
    ASSERT_EQ(saves.size(), 1u);
    EXPECT_EQ(saves[0], changes.back()) << "save passes the last reported color";
    EXPECT_EQ(msg<id>(picker, "color"), changes.back());
    // During each change call the picker still answered the previous color.
    EXPECT_TRUE(msg<bool>(colorDuringChange[0], "isEqual:", colorHsb(0.5, 0.5, 0.5)));
    EXPECT_EQ(colorDuringChange[1], changes[0]);
}

TEST_P(PickerTest, SetColorNeverCallsBackAndDoesNotCountAsReported) {
    const id start = colorHsb(0.5, 0.5, 0.5);
    msg(picker, "setColor:", colorHsb(0.25, 0.75, 0.75));
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(saves.empty());
    EXPECT_TRUE(msg<bool>(msg<id>(picker, "color"), "isEqual:", start))
        << "color keeps the last reported one";
    // A tap on the crosshair yields the color given to setColor: (up to rounding) and still
    // reports it: it differs from the last reported color.
    const CGPoint at = center("crossHairs");
    tap(CGPointMake(at.x, at.y + 50));
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_NEAR(component("currentHue"), 0.25, 1e-9);
    EXPECT_NEAR(component("currentSaturation"), 0.75, 1e-9);
    EXPECT_NEAR(component("currentBrightness"), 0.75, 1e-9);
    EXPECT_EQ(saves.size(), 1u);
}

TEST_P(PickerTest, ACancelledTouchSavesNothing) {
    const CGRect s = inWindow(GetParam().square);
    ASSERT_TRUE(window->touchDown(CGPointMake(s.origin.x + 40, s.origin.y + 40)));
    window->touchMove(CGPointMake(s.origin.x + 90, s.origin.y + 40));
    window->touchCancel();
    EXPECT_EQ(changes.size(), 1u) << "the drag was applied";
    EXPECT_TRUE(saves.empty());
}

// --- Typed entry ----------------------------------------------------------------------------------

TEST_P(PickerTest, EntryButtonsOpenTheirPrompts) {
    const LayoutCase& L = GetParam();
    const struct {
        const char* label;
        long tag;
    } buttons[] = {{L.topLeft, L.topLeftTag}, {L.topRight, L.topRightTag}, {L.slider, L.sliderTag}};
    for (const auto& b : buttons) {
        const CGRect f = inWindow(b.label);
        const CGPoint on = CGPointMake(f.origin.x + 5, f.origin.y + f.size.height / 2);
        // Pressed, then dragged well away and released there: no prompt.
        ASSERT_TRUE(window->touchDown(on));
        window->touchMove(CGPointMake(on.x, on.y + 200));
        window->touchUp(CGPointMake(on.x, on.y + 200));
        EXPECT_TRUE(UIAlertView::shownAlerts().empty()) << b.label;
        ASSERT_TRUE(window->tap(on));
        Ref<UIAlertView> alert = lastAlert();
        ASSERT_TRUE(alert) << b.label;
        EXPECT_EQ(msg<NSInteger>(alert, "tag"), b.tag) << b.label;
        EXPECT_EQ(alert->title(), "");
        EXPECT_EQ(alert->delegate(), picker);
        EXPECT_EQ(alert->alertViewStyle(), 2);
        EXPECT_EQ(msg<NSInteger>(alert, "cancelButtonIndex"), 0);
        EXPECT_EQ(alert->buttonTitleAtIndex(0), "Cancel");
        EXPECT_EQ(alert->buttonTitleAtIndex(1), "OK");
        id field = msg<id>(alert, "textFieldAtIndex:", NSInteger{0});
        EXPECT_EQ(msg<NSInteger>(field, "keyboardType"), 4);
        EXPECT_EQ(msg<std::string>(field, "text"), "");
        alert->tapButtonAtIndex(0); // Cancel: nothing happens
    }
    EXPECT_TRUE(changes.empty());
    EXPECT_TRUE(saves.empty());
    EXPECT_TRUE(UIAlertView::shownAlerts().empty());
}

TEST_P(PickerTest, TypedValuesBecomeColorsThatReadBackInRange) {
    const LayoutCase& L = GetParam();
    const char* hueLabel = std::string(L.topRight) == "currentHueLabel" ? L.topRight : L.slider;
    const char* saturationLabel = std::string(L.topLeft) == "currentSaturationLabel"    ? L.topLeft
                                  : std::string(L.topRight) == "currentSaturationLabel" ? L.topRight
                                                                                        : L.slider;
    const char* brightnessLabel = std::string(L.topLeft) == "currentBrightnessLabel" ? L.topLeft : L.slider;
    const struct {
        const char* what;
        const char* label;
        const char* typed;
        double h, s, b; // the components after OK
    } steps[] = {
        {"360 degrees is hue 0", hueLabel, "360", 0, 0.5, 0.5},
        {"hue wraps by whole turns", hueLabel, "450", 0.25, 0.5, 0.5},
        {"saturation clamps above 100", saturationLabel, "150", 0.25, 1, 0.5},
        {"brightness clamps below 0 and black resets hue and saturation", brightnessLabel, "-20", 0, 0, 0},
        {"a hue typed on black reads back 0", hueLabel, "90", 0, 0, 0},
        {"brightness from text with trailing junk", brightnessLabel, " 50abc", 0, 0, 0.5},
        {"a hue typed at saturation 0 reads back 0", hueLabel, "120", 0, 0, 0.5},
        {"saturation typed", saturationLabel, "100", 0, 1, 0.5},
        {"hue typed", hueLabel, "120", 1.0 / 3, 1, 0.5},
        {"empty text is 0, and saturation 0 resets the hue", saturationLabel, "", 0, 0, 0.5},
    };
    for (const auto& step : steps) {
        enter(step.label, step.typed);
        EXPECT_NEAR(component("currentHue"), step.h, 1e-6) << step.what;
        EXPECT_NEAR(component("currentSaturation"), step.s, 1e-6) << step.what;
        EXPECT_NEAR(component("currentBrightness"), step.b, 1e-6) << step.what;
    }
    EXPECT_EQ(saves.size(), std::size(steps));
}

TEST_P(PickerTest, OkWithTheSameColorOnlySaves) {
    const LayoutCase& L = GetParam();
    const char* brightnessLabel = std::string(L.topLeft) == "currentBrightnessLabel" ? L.topLeft : L.slider;
    enter(brightnessLabel, "50"); // 0.5 already
    EXPECT_TRUE(changes.empty());
    ASSERT_EQ(saves.size(), 1u);
    enter(brightnessLabel, "25");
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(saves.back(), changes.back());
    enter(brightnessLabel, "75", 0); // Cancel
    EXPECT_EQ(changes.size(), 1u);
    EXPECT_EQ(saves.size(), 2u);
    EXPECT_NEAR(component("currentBrightness"), 0.25, 1e-9);
}

// --- Labels, markers and layout -------------------------------------------------------------------

TEST_P(PickerTest, LabelsShowTheColorRoundedHalvesAwayFromZero) {
    const LayoutCase& L = GetParam();
    msg(picker, "setColor:", colorHsb(0.5, 0.5, 0.125));
    const std::string want[3][3] = {
        {"Saturation: 50%", "180° : Hue", "13%"},
        {"Brightness: 13%", "50% :Saturation", "180°"},
        {"Brightness: 13%", "180° : Hue", "50%"},
    };
    const int row = L.className == kB.className ? 0 : L.className == kH.className ? 1 : 2;
    EXPECT_EQ(text(L.topLeft), want[row][0]);
    EXPECT_EQ(text(L.topRight), want[row][1]);
    EXPECT_EQ(text(L.slider), want[row][2]);
}

// The value labels after a tap on the square's left-top corner, after typing 360 for the hue,
// and after typing 0 or nothing for the brightness, each from hue, saturation and brightness 0.5.
TEST_P(PickerTest, LabelsAfterALeftEdgeTapAHueOf360AndABrightnessOfZeroOrNothing) {
    const LayoutCase& L = GetParam();
    const char* hueLabel = std::string(L.topRight) == "currentHueLabel" ? L.topRight : L.slider;
    const char* brightnessLabel = std::string(L.topLeft) == "currentBrightnessLabel" ? L.topLeft : L.slider;
    const int row = L.className == kB.className ? 0 : L.className == kH.className ? 1 : 2;
    // Per layout (B, H, S): top-left, top-right and slider label texts.
    const std::string leftEdge[3][3] = {{"Saturation: 100%", "0° : Hue", "50%"},
                                        {"Brightness: 100%", "0% :Saturation", "180°"},
                                        {"Brightness: 100%", "0° : Hue", "50%"}};
    const std::string hue360[3][3] = {{"Saturation: 50%", "0° : Hue", "50%"},
                                      {"Brightness: 50%", "50% :Saturation", "0°"},
                                      {"Brightness: 50%", "0° : Hue", "50%"}};
    const std::string black[3][3] = {{"Saturation: 0%", "0° : Hue", "0%"},
                                     {"Brightness: 0%", "0% :Saturation", "0°"},
                                     {"Brightness: 0%", "0° : Hue", "0%"}};
    auto expectLabels = [&](const std::string(&want)[3][3], const char* what) {
        EXPECT_EQ(text(L.topLeft), want[row][0]) << what;
        EXPECT_EQ(text(L.topRight), want[row][1]) << what;
        EXPECT_EQ(text(L.slider), want[row][2]) << what;
    };
    const CGRect s = inWindow(L.square);
    tap(CGPointMake(s.origin.x, s.origin.y));
    expectLabels(leftEdge, "left-top tap");
    msg(picker, "setColor:", colorHsb(0.5, 0.5, 0.5));
    enter(hueLabel, "360");
    expectLabels(hue360, "hue 360");
    for (const char* typed : {"0", ""}) {
        msg(picker, "setColor:", colorHsb(0.5, 0.5, 0.5));
        enter(brightnessLabel, typed);
        expectLabels(black, typed[0] ? "brightness 0" : "brightness left empty");
    }
}

TEST_P(PickerTest, MarkersFollowTheColorAndTheFrame) {
    const LayoutCase& L = GetParam();
    msg(picker, "setColor:", colorHsb(0.25, 0.75, 0.5));
    auto expectMarkers = [&] {
        const CGRect s = msg<CGRect>(part(L.square), "frame");
        const CGRect b = msg<CGRect>(part(L.bar), "frame");
        const CGPoint c = center("crossHairs");
        EXPECT_NEAR(c.x, s.origin.x + component(L.across) * s.size.width, 1e-9);
        EXPECT_NEAR(c.y, s.origin.y + (1 - component(L.down)) * s.size.height, 1e-9);
        const double v = component(L.barCarries);
        EXPECT_NEAR(center(L.marker).x, b.origin.x + (L.barFalls ? 1 - v : v) * b.size.width, 1e-4);
        EXPECT_DOUBLE_EQ(center(L.marker).y, b.origin.y + 20);
    };
    expectMarkers();
    // A new frame lays the square and the bar out again, and the markers with them.
    msg(picker, "setFrame:", CGRectMake(0, 50, 300, 460));
    msg(window, "layoutIfNeeded");
    const CGRect s = msg<CGRect>(part(L.square), "frame");
    EXPECT_EQ(s.size.width, 280);
    EXPECT_EQ(s.size.height, 460 - 100 - msg<CGRect>(part(L.topLeft), "frame").size.height);
    EXPECT_EQ(msg<CGRect>(part(L.bar), "frame").size.width, 280);
    expectMarkers();
}

TEST_P(PickerTest, PartsAreOfTheirClassesAndInTheirOrder) {
    const LayoutCase& L = GetParam();
    auto kindOf = [&](const char* property, const char* cls) {
        EXPECT_TRUE(isKindOfClass(part(property), objc_getClass(cls))) << property << " is not a " << cls;
    };
    kindOf(L.topLeft, "UILabel");
    kindOf(L.topRight, "UILabel");
    kindOf(L.slider, "UILabel");
    kindOf(L.marker, "UIImageView");
    kindOf("crossHairs", "UIView");
    const std::vector<id> subviews = msg<std::vector<id>>(picker, "subviews");
    ASSERT_EQ(subviews.size(), 13u);
    EXPECT_EQ(subviews[0], part(L.topLeft));
    EXPECT_EQ(subviews[1], part(L.topRight));
    EXPECT_EQ(subviews[2], part(L.square));
    EXPECT_EQ(subviews[3], part("crossHairs"));
    EXPECT_EQ(subviews[5], part(L.slider));
    EXPECT_EQ(subviews[6], part(L.bar));
    EXPECT_EQ(subviews[7], part(L.marker));
    EXPECT_EQ(msg<CGRect>(part(L.marker), "frame").size, CGSizeMake(16, 48));
}

void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.className;
}

INSTANTIATE_TEST_SUITE_P(Layouts, PickerTest, ::testing::Values(kB, kH, kS),
                         [](const auto& info) { return std::string(info.param.className).substr(18); });

} // namespace
