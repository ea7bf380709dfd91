// The disarm button as the tweak builds it on an alert, and its touch feedback.
#include "AlertButton.h"
#include "core/TweakSettings.h"
#include "coregraphics/CoreGraphics.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Stands in for the alert's owner: records which of the button's actions reached it.
struct ButtonOwner : NSObject {
    std::vector<std::string> heard;
    void highlight(id) { heard.push_back("highlight"); }
    void clicked(id) { heard.push_back("clicked"); }
    void normal(id) { heard.push_back("normal"); }
};
const ClassDef<ButtonOwner> kButtonOwner("HMTestButtonOwner", "NSObject",
                                         {method("hushmarkButtonHighlight:", &ButtonOwner::highlight),
                                          method("hushmarkButtonClicked:", &ButtonOwner::clicked),
                                          method("hushmarkButtonNormal:", &ButtonOwner::normal)});

id newObject(const char* className) {
    return msg<id>(classObject(objc_getClass(className)), "new");
}

TweakState stateWithColor(const char* color, const char* text = "Hushmark") {
    TweakState state;
    readTweakSettings(state.settings, PlistDict{{"buttonColor", color}, {"buttonText", text}});
    return state;
}

struct Rgba {
    CGFloat r = -1, g = -1, b = -1, a = -1;
};
Rgba rgbaOf(const id& color) {
    Rgba c;
    EXPECT_TRUE(msg<bool>(color, "getRed:green:blue:alpha:", &c.r, &c.g, &c.b, &c.a));
    return c;
}
void expectColor(const id& color, Rgba want) {
    Rgba got = rgbaOf(color);
    EXPECT_NEAR(got.r, want.r, 1e-9);
    EXPECT_NEAR(got.g, want.g, 1e-9);
    EXPECT_NEAR(got.b, want.b, 1e-9);
    EXPECT_NEAR(got.a, want.a, 1e-9);
}

id buttonOf(const id& alert) {
    id container = msg<id>(alert, "valueForKey:", std::string("accessoryView"));
    std::vector<id> subviews = msg<std::vector<id>>(container, "subviews");
    return subviews.size() == 1 ? subviews[0] : nullptr;
}

TEST(AlertButton, ContainerButtonAndSeparatorAsBuilt) {
    TweakState state = stateWithColor("#00FF00", "Quiet");
    id alert = newObject("UIAlertView");
    id owner = newObject("HMTestButtonOwner");
    addButtonContainer(state, alert, owner);

    id container = msg<id>(alert, "valueForKey:", std::string("accessoryView"));
    ASSERT_TRUE(container);
    EXPECT_EQ(msg<CGRect>(container, "frame"), (CGRect{{0, 0}, {100, 44}}));
    EXPECT_EQ(msg<NSUInteger>(container, "autoresizingMask"), 2u);

    id button = buttonOf(alert);
    ASSERT_TRUE(button);
    EXPECT_TRUE(isKindOfClass(button, objc_getClass("UIButton")));
    EXPECT_EQ(msg<NSInteger>(button, "buttonType"), 0);
    EXPECT_EQ(msg<CGRect>(button, "frame"), (CGRect{{0, 0}, {100, 44}}));
    EXPECT_EQ(msg<NSUInteger>(button, "autoresizingMask"), 2u);
    expectColor(msg<id>(button, "backgroundColor"), {0, 1, 0, 1});
    EXPECT_EQ(msg<std::string>(button, "titleForState:", NSUInteger{0}), "Quiet");
    for (NSUInteger controlState : {0ul, 1ul, 4ul})
        expectColor(msg<id>(button, "titleColorForState:", controlState), {0, 0, 0, 1}); // green is light

    std::vector<id> sublayers = msg<std::vector<id>>(msg<id>(button, "layer"), "sublayers");
    ASSERT_EQ(sublayers.size(), 1u);
    EXPECT_EQ(msg<CGRect>(sublayers[0], "frame"), (CGRect{{0, 0}, {1920, 1}}));
    EXPECT_EQ(msg<CGColor>(sublayers[0], "backgroundColor"), (CGColor{2.0 / 3, 2.0 / 3, 2.0 / 3, 0.25}));

    // Touch down, up inside and up outside reach the owner's three methods.
    for (NSUInteger event : {1ul, 64ul, 128ul, 4ul})
        msg(button, "sendActionsForControlEvents:", event);
    EXPECT_EQ(cast<ButtonOwner>(owner)->heard, (std::vector<std::string>{"highlight", "clicked", "normal"}));
}

TEST(AlertButton, AClearButtonHasABlackTitleAndADarkTitleOnWhite) {
    TweakState state = stateWithColor("FFFFFF");
    id alert = newObject("UIAlertView");
    addButtonContainer(state, alert, newObject("HMTestButtonOwner"));
    id button = buttonOf(alert);
    EXPECT_TRUE(msg<bool>(msg<id>(button, "backgroundColor"),
                          "isEqual:", msg<id>(classObject(objc_getClass("UIColor")), "clearColor")));
    expectColor(msg<id>(button, "titleColorForState:", NSUInteger{0}), {0, 0, 0, 1});

    TweakState red = stateWithColor("FF0000");
    addButtonContainer(red, alert, newObject("HMTestButtonOwner"));
    expectColor(msg<id>(buttonOf(alert), "titleColorForState:", NSUInteger{4}), {1, 1, 1, 1});
}

struct FeedbackCase {
    const char* color;
    Rgba down;
};
void PrintTo(const FeedbackCase& c, std::ostream* os) {
    *os << c.color;
}

class TouchFeedback : public testing::TestWithParam<FeedbackCase> {};

TEST_P(TouchFeedback, TouchDownChangesTheBackgroundAndUpOutsideRestoresIt) {
    TweakState state = stateWithColor(GetParam().color);
    id button = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", NSInteger{0});
    hushmarkButtonNormal(state, button);
    id configured = msg<id>(button, "backgroundColor");
    hushmarkButtonHighlight(button);
    expectColor(msg<id>(button, "backgroundColor"), GetParam().down);
    hushmarkButtonNormal(state, button);
    EXPECT_TRUE(msg<bool>(msg<id>(button, "backgroundColor"), "isEqual:", configured));
}

INSTANTIATE_TEST_SUITE_P(
    Colors, TouchFeedback,
    testing::Values(FeedbackCase{"FFFFFF", {0, 0, 0, 0.075}}, FeedbackCase{"FF0000", {0.8, 0, 0, 1}},
                    FeedbackCase{"1A1A1A", {0x1A / 255.0 + 0.2, 0x1A / 255.0 + 0.2, 0x1A / 255.0 + 0.2, 1}},
                    FeedbackCase{"4D804D", {0x4D / 255.0 - 0.2, 0x80 / 255.0 - 0.2, 0x4D / 255.0 - 0.2, 1}}));

TEST(TouchFeedback, AButtonWithoutABackgroundStaysAsItIs) {
    id button = msg<id>(classObject(objc_getClass("UIButton")), "buttonWithType:", NSInteger{0});
    msg(button, "setBackgroundColor:", id{});
    hushmarkButtonHighlight(button);
    EXPECT_FALSE(msg<id>(button, "backgroundColor"));
}

} // namespace
