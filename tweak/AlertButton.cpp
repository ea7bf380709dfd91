#include "AlertButton.h"

#include "Outside.h"
#include "core/Highlight.h"
#include "coregraphics/CoreGraphics.h"
#include "uikit/UIKitConstants.h"

namespace {

constexpr CGRect kButtonFrame{{0, 0}, {100, 44}};
constexpr CGRect kSeparatorFrame{{0, 0}, {1920, 1}}; // along the top edge, wider than any alert
constexpr CGFloat kSeparatorAlpha = 0.25;

id colorOf(const RgbaColor& c) {
    return msg<id>(classNamed("UIColor"), "colorWithRed:green:blue:alpha:", CGFloat{c.red}, CGFloat{c.green},
                   CGFloat{c.blue}, CGFloat{c.alpha});
}

id buttonColor(const TweakState& state) {
    const ButtonColors& colors = state.settings.buttonColors;
    return colors.buttonIsClear ? msg<id>(classNamed("UIColor"), "clearColor") : colorOf(colors.buttonColor);
}

id buttonTitleColor(const TweakState& state) {
    return msg<id>(classNamed("UIColor"),
                   state.settings.buttonColors.titleIsBlack ? "blackColor" : "whiteColor");
}

} // namespace

void addButtonContainer(const TweakState& state, const id& alert, const id& target) {
    id container = msg<id>(msg<id>(classNamed("UIView"), "alloc"), "initWithFrame:", kButtonFrame);
    msg(container, "setAutoresizingMask:", UIViewAutoresizingFlexibleWidth);

    id button = msg<id>(classNamed("UIButton"), "buttonWithType:", UIButtonTypeCustom);
    msg(button, "setFrame:", kButtonFrame);
    msg(button, "setAutoresizingMask:", UIViewAutoresizingFlexibleWidth);
    msg(button, "setBackgroundColor:", buttonColor(state));
    msg(button, "setTitle:forState:", state.settings.buttonText, UIControlStateNormal);

    msg(button, "addTarget:action:forControlEvents:", target, sel_registerName("hushmarkButtonHighlight:"),
        UIControlEventTouchDown);
    msg(button, "addTarget:action:forControlEvents:", target, sel_registerName("hushmarkButtonClicked:"),
        UIControlEventTouchUpInside);
    msg(button, "addTarget:action:forControlEvents:", target, sel_registerName("hushmarkButtonNormal:"),
        UIControlEventTouchUpOutside);

    id titleColor = buttonTitleColor(state);
    for (NSUInteger controlState : {UIControlStateNormal, UIControlStateHighlighted, UIControlStateSelected})
        msg(button, "setTitleColor:forState:", titleColor, controlState);

    id separator = msg<id>(classNamed("CALayer"), "layer");
    id lightGray = msg<id>(msg<id>(classNamed("UIColor"), "lightGrayColor"),
                           "colorWithAlphaComponent:", kSeparatorAlpha);
    msg(separator, "setBackgroundColor:", msg<CGColor>(lightGray, "CGColor"));
    msg(separator, "setFrame:", kSeparatorFrame);
    msg(msg<id>(button, "layer"), "addSublayer:", separator);

    msg(container, "addSubview:", button);
    msg(alert, "setValue:forKey:", container, std::string("accessoryView"));
}

void hushmarkButtonNormal(const TweakState& state, const id& button) {
    msg(button, "setBackgroundColor:", buttonColor(state));
}

void hushmarkButtonHighlight(const id& button) {
    id background = msg<id>(button, "backgroundColor");
    bool clear = msg<bool>(background, "isEqual:", msg<id>(classNamed("UIColor"), "clearColor"));
    std::optional<RgbaColor> rgb;
    CGFloat r = 0, g = 0, b = 0, a = 0;
    if (msg<bool>(background, "getRed:green:blue:alpha:", &r, &g, &b, &a))
        rgb = RgbaColor{r, g, b, a};
    if (std::optional<RgbaColor> next = highlightColor(clear, rgb))
        msg(button, "setBackgroundColor:", colorOf(*next));
}
