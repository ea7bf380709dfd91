#include "uikit/UIAlertView.h"
#include "uikit/UIDisplayCanvas.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UIWindowStack.h"
#include "uikit/UIWindow.h"
#include "uikit_test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>

namespace {

// Three windows of one display: a full-screen one, a bar over its top, and a panel; each has a
// control filling it that records its events.
struct Display {
    UIWindowStack stack{CGSize{320, 480}};
    id screen = makeView("UIWindow", CGRectMake(0, 0, 320, 480));
    id bar = makeView("UIWindow", CGRectMake(0, 0, 320, 20));
    id panel = makeView("UIWindow", CGRectMake(0, 100, 320, 100));
    std::map<std::string, Ref<Recorder>> recorders;
    id alert;
    Display() {
        const std::pair<const char*, id> windows[] = {{"screen", screen}, {"bar", bar}, {"panel", panel}};
        for (const auto& [name, window] : windows) {
            const CGRect b = msg<CGRect>(window, "bounds");
            id control = makeView("UIControl", b);
            recorders[name] = makeRecorder();
            msg(control, "addTarget:action:forControlEvents:", recorders[name], sel_registerName("action0"),
                UIControlEventTouchUpInside);
            msg(window, "addSubview:", control);
        }
    }
    // Which window's control a tap at a point reached, "" for none.
    std::string tapped(CGPoint p) {
        for (auto& [name, r] : recorders)
            r->calls.clear();
        stack.tap(p);
        std::string out;
        for (auto& [name, r] : recorders)
            if (!r->calls.empty())
                out += name;
        return out;
    }
};

struct LevelCase {
    const char* name;
    CGFloat screenLevel, barLevel, panelLevel;
    std::vector<const char*> order; // windows listed to the stack, in this order
    const char* atBar;              // who a tap at (10, 10) reaches
    const char* atPanel;            // at (10, 150)
};
class WindowLevels : public ::testing::TestWithParam<LevelCase> {};

TEST_P(WindowLevels, TheTopmostWindowThatTakesTheTouchGetsIt) {
    const LevelCase& c = GetParam();
    Display d;
    msg(d.screen, "setWindowLevel:", c.screenLevel);
    msg(d.bar, "setWindowLevel:", c.barLevel);
    msg(d.panel, "setWindowLevel:", c.panelLevel);
    std::vector<id> listed;
    for (const char* name : c.order)
        listed.push_back(std::string(name) == "screen" ? d.screen
                         : std::string(name) == "bar"  ? d.bar
                                                       : d.panel);
    d.stack.setWindows(listed);
    EXPECT_EQ(d.tapped({10, 10}), c.atBar);
    EXPECT_EQ(d.tapped({10, 150}), c.atPanel);
    EXPECT_EQ(d.tapped({10, 300}), "screen");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WindowLevels,
    ::testing::Values(
        LevelCase{"ByLevel", 0, 1000, 1, {"bar", "panel", "screen"}, "bar", "panel"},
        LevelCase{"ScreenOverAll", 2000, 1000, 1, {"bar", "panel", "screen"}, "screen", "screen"},
        LevelCase{"EqualLevelsLaterOnTop", 0, 0, 0, {"bar", "panel", "screen"}, "screen", "screen"},
        LevelCase{"EqualLevelsInOrder", 0, 0, 0, {"screen", "bar", "panel"}, "bar", "panel"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowStack, HiddenOrUntouchableWindowsLetTheTouchThrough) {
    Display d;
    msg(d.bar, "setWindowLevel:", CGFloat{1000});
    msg(d.panel, "setWindowLevel:", CGFloat{1});
    d.stack.setWindows({d.screen, d.bar, d.panel});
    msg(d.bar, "setUserInteractionEnabled:", false);
    msg(d.panel, "setHidden:", true);
    EXPECT_EQ(d.tapped({10, 10}), "screen");
    EXPECT_EQ(d.tapped({10, 150}), "screen");
    EXPECT_EQ(d.stack.orderedWindows(), (std::vector<id>{d.screen, d.bar}));
}

TEST(WindowStack, ATouchStaysWithItsWindowAndPicturesStackByLevel) {
    Display d;
    msg(d.screen, "setBackgroundColor:", rgba(1, 0, 0));
    msg(d.panel, "setBackgroundColor:", rgba(0, 0, 1));
    msg(d.panel, "setWindowLevel:", CGFloat{1});
    d.stack.setWindows({d.panel, d.screen});
    ASSERT_TRUE(d.stack.touchDown({10, 150}));
    EXPECT_EQ(d.stack.touchedWindow(), d.panel);
    d.stack.touchMove({10, 160});
    EXPECT_TRUE(d.stack.touchUp({10, 160}));
    EXPECT_EQ(d.recorders["panel"]->calls.size(), 1u);
    EXPECT_EQ(d.stack.touchedWindow(), nullptr);
    const SnapshotImage img = d.stack.render(1);
    ASSERT_EQ(img.width, 320u);
    EXPECT_EQ(img.at(5, 150).b, 255); // the panel over the screen
    EXPECT_EQ(img.at(5, 50).r, 255);
}

TEST(WindowStack, AlertsComeOverEveryWindowAndTakeTheTouch) {
    Display d;
    d.stack.setWindows({d.screen, d.panel});
    msg(d.screen, "setBackgroundColor:", rgba(1, 1, 1));
    EXPECT_EQ(d.stack.render(1).at(5, 300).r, 255);
    auto delegate = makeRecorder();
    id alert = msg<id>(msg<id>(classObject(objc_getClass("UIAlertView")), "alloc"),
                       "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:", "Title",
                       "Message", id(delegate), "OK", std::vector<std::string>{});
    d.stack.setAlertSource([&] { return UIAlertView::shownAlerts(); });
    msg(alert, "show");
    EXPECT_EQ(d.tapped({10, 150}), ""); // outside the alert: nothing
    EXPECT_EQ(d.tapped({10, 10}), "");
    const SnapshotImage dimmed = d.stack.render(1);
    EXPECT_LT(dimmed.at(5, 300).r, 200); // white under the veil
    msg(alert, "dismissWithClickedButtonIndex:animated:", NSInteger{0}, false);
    EXPECT_EQ(d.tapped({10, 150}), "panel");
}

// The display's kept picture, step after step, against a full rendering of the windows as they
// are now: the same bytes, and only a part drawn again where a step changes only a part.
struct CanvasStep {
    const char* name;
    std::function<void(Display&, std::vector<id>& shown)> act;
    bool part; // only a part of the display is drawn again
};

const std::vector<CanvasStep>& canvasSteps() {
    static const std::vector<CanvasStep> steps = {
        {"a view in the panel changes color",
         [](Display& d, std::vector<id>&) {
             msg(cast<UIView>(d.panel)->subviews().at(0), "setBackgroundColor:", rgba(0, 1, 0));
         },
         true},
        {"the panel moves down",
         [](Display& d, std::vector<id>&) { msg(d.panel, "setFrame:", CGRectMake(0, 260, 320, 100)); }, true},
        {"the panel hides", [](Display& d, std::vector<id>&) { msg(d.panel, "setHidden:", true); }, true},
        {"the panel shows again", [](Display& d, std::vector<id>&) { msg(d.panel, "setHidden:", false); },
         true},
        {"the bar leaves the display",
         [](Display& d, std::vector<id>& shown) {
             shown = {d.screen, d.panel};
         },
         true},
        {"a new bar comes",
         [](Display& d, std::vector<id>& shown) {
             id bar = makeView("UIWindow", CGRectMake(0, 0, 320, 20));
             msg(bar, "setBackgroundColor:", rgba(1, 1, 0));
             msg(bar, "setWindowLevel:", CGFloat{1000});
             shown = {d.screen, d.panel, bar};
         },
         true},
        {"the screen goes over the panel",
         [](Display& d, std::vector<id>&) { msg(d.screen, "setWindowLevel:", CGFloat{2}); }, false},
        {"the panel goes back over it",
         [](Display& d, std::vector<id>&) { msg(d.screen, "setWindowLevel:", CGFloat{0}); }, false},
        {"an alert shows",
         [](Display& d, std::vector<id>&) {
             d.alert = msg<id>(msg<id>(classObject(objc_getClass("UIAlertView")), "alloc"),
                               "initWithTitle:message:delegate:cancelButtonTitle:otherButtonTitles:", "Title",
                               "Message", id(), "OK", std::vector<std::string>{});
             msg(d.alert, "show");
         },
         false},
        {"a view under the veil changes",
         [](Display& d, std::vector<id>&) {
             msg(cast<UIView>(d.panel)->subviews().at(0), "setBackgroundColor:", rgba(0, 0, 1));
         },
         true},
        {"the alert goes",
         [](Display& d, std::vector<id>&) {
             msg(d.alert, "dismissWithClickedButtonIndex:animated:", NSInteger{0}, false);
         },
         false},
        {"nothing", [](Display&, std::vector<id>&) {}, true},
    };
    return steps;
}

TEST(DisplayCanvas, EachStepKeepsThePictureAFullRenderingGives) {
    for (const double scale : {1.0, 2.0}) {
        Display d;
        msg(d.screen, "setBackgroundColor:", rgba(1, 1, 1));
        msg(d.bar, "setBackgroundColor:", rgba(0.2, 0.2, 0.2));
        msg(d.bar, "setWindowLevel:", CGFloat{1000});
        msg(d.panel, "setWindowLevel:", CGFloat{1});
        msg(cast<UIView>(d.panel)->subviews().at(0), "setBackgroundColor:", rgba(1, 0, 0, 0.5));
        d.stack.setAlertSource([] { return UIAlertView::shownAlerts(); });
        std::vector<id> shown{d.screen, d.bar, d.panel};
        UIDisplayCanvas canvas;
        const auto look = [&](const std::string& step, bool part) {
            d.stack.setWindows(shown);
            const UIScreenCanvas::Changes c =
                canvas.draw(d.stack.orderedWindows(), d.stack.alerts(), d.stack.size(), scale);
            const SnapshotImage full = d.stack.render(scale);
            const SnapshotImage kept = canvas.picture();
            ASSERT_EQ(kept.width, full.width) << step;
            ASSERT_EQ(kept.height, full.height) << step;
            EXPECT_TRUE(kept.rgba == full.rgba) << step << " at scale " << scale;
            if (part) {
                EXPECT_LT(c.redrawnPixels, full.width * full.height / 2) << step << " at scale " << scale;
            }
        };
        look("first", false);
        for (const CanvasStep& step : canvasSteps())
            step.act(d, shown), look(step.name, step.part);
    }
}

} // namespace
