// The Clock app's colors and the views its pages are made of.
#include "ClockViews.h"

#include "uikit/UIColor.h"
#include "uikit/UIFont.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UILabel.h"

#include <algorithm>

namespace clockapp {

namespace {
constexpr CGFloat kBarButtonMargin = 10;
}

id tintColor() {
    return UIColor::rgba(0.0, 0.478, 1.0, 1);
}
id destructiveColor() {
    return UIColor::rgba(1.0, 0.231, 0.188, 1);
}
id separatorColor() {
    return UIColor::rgba(0.78, 0.78, 0.8, 1);
}
id groupedBackgroundColor() {
    return UIColor::rgba(0.937, 0.937, 0.957, 1);
}
id secondaryTextColor() {
    return UIColor::rgba(0.56, 0.56, 0.58, 1);
}
id barColor() {
    return UIColor::rgba(0.97, 0.97, 0.97, 1);
}

id makeView(CGRect frame, id backgroundColor) {
    id view = msg<id>(msg<id>(classObject(objc_getClass("UIView")), "alloc"), "initWithFrame:", frame);
    if (backgroundColor)
        msg(view, "setBackgroundColor:", backgroundColor);
    return view;
}

id makeLabel(CGRect frame, const std::string& text, id color, CGFloat fontSize, NSInteger alignment) {
    id label = msg<id>(msg<id>(classObject(objc_getClass("UILabel")), "alloc"), "initWithFrame:", frame);
    msg(label, "setText:", text);
    msg(label, "setTextColor:", color);
    msg(label, "setTextAlignment:", alignment);
    if (fontSize != kLabelFontSize)
        msg(label, "setFont:", id(UIFont::ofSize(fontSize)));
    return label;
}

id makeTappable(CGRect frame, id target, const char* action, NSInteger tag) {
    id control = msg<id>(msg<id>(classObject(objc_getClass("UIControl")), "alloc"), "initWithFrame:", frame);
    msg(control, "setTag:", tag);
    msg(control, "addTarget:action:forControlEvents:", target, sel_registerName(action),
        UIControlEventTouchUpInside);
    return control;
}

CGFloat textWidth(const std::string& text, CGFloat fontSize) {
    return labelTextSize(text, 0, 1, fontSize).width;
}

id makeBarButton(const std::string& title, CGFloat fontSize, bool leading, CGFloat screenWidth, id target,
                 const char* action, NSInteger tag) {
    const CGFloat width = std::max<CGFloat>(textWidth(title, fontSize), 30);
    const CGFloat x = leading ? kBarButtonMargin : screenWidth - kBarButtonMargin - width;
    id button = makeTappable({{x, kStatusBarHeight}, {width, 44}}, target, action, tag);
    msg(button, "addSubview:",
        makeLabel({{0, 0}, {width, 44}}, title, tintColor(), fontSize,
                  leading ? NSTextAlignmentLeft : NSTextAlignmentRight));
    return button;
}

id makeSeparator(CGFloat x, CGFloat y, CGFloat width) {
    return makeView({{x, y - 0.5}, {width, 0.5}}, separatorColor());
}

id makeNavigationBar(const std::string& title, CGFloat screenWidth) {
    id bar = makeView({{0, 0}, {screenWidth, kNavigationBarHeight}}, barColor());
    msg(bar, "addSubview:",
        makeLabel({{80, kStatusBarHeight}, {screenWidth - 160, 44}}, title, id(UIColor::white(0, 1)), 17,
                  NSTextAlignmentCenter));
    msg(bar, "addSubview:", makeSeparator(0, kNavigationBarHeight, screenWidth));
    return bar;
}

} // namespace clockapp
