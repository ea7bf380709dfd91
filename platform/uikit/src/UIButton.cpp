#include "uikit/UIButton.h"

#include "Painter.h"
#include "uikit/UIKitConstants.h"
#include "uikit/UILabel.h"

#include <algorithm>

namespace {
constexpr CGColor kSystemTint{0, 122.0 / 255, 1, 1};
constexpr CGFloat kTitlePadding = 8; // on each side of a fitted title

id colorFrom(CGColor c) {
    return msg<id>(classObject(objc_getClass("UIColor")), "colorWithRed:green:blue:alpha:", c.r, c.g, c.b,
                   c.a);
}
} // namespace

void UIButton::setTitleForState(std::string title, NSUInteger state) {
    titles_[state] = std::move(title);
    msg(this, "setNeedsDisplay");
}

std::string UIButton::titleForState(NSUInteger state) const {
    if (auto it = titles_.find(state); it != titles_.end())
        return it->second;
    if (auto it = titles_.find(UIControlStateNormal); it != titles_.end())
        return it->second;
    return "";
}

void UIButton::setTitleColorForState(id color, NSUInteger state) {
    titleColors_[state] = std::move(color);
    msg(this, "setNeedsDisplay");
}

id UIButton::titleColorForState(NSUInteger state) const {
    if (auto it = titleColors_.find(state); it != titleColors_.end() && it->second)
        return it->second;
    if (auto it = titleColors_.find(UIControlStateNormal); it != titleColors_.end() && it->second)
        return it->second;
    return colorFrom(buttonType_ == UIButtonTypeSystem ? kSystemTint : CGColor{1, 1, 1, 1});
}

CGColor UIButton::titleCGColor(NSUInteger s) const {
    CGColor c = msg<CGColor>(titleColorForState(s), "CGColor");
    const bool ownHighlightColor = titleColors_.count(UIControlStateHighlighted) != 0;
    if (buttonType_ == UIButtonTypeSystem && (s & UIControlStateHighlighted) && !ownHighlightColor)
        c.a *= 0.2;
    if (s & UIControlStateDisabled)
        c.a *= 0.35;
    return c;
}

CGSize UIButton::sizeThatFits(CGSize) {
    const CGSize text = labelTextSize(currentTitle(), 0, 1);
    return {text.width + 2 * kTitlePadding, std::max<CGFloat>(text.height, 30)};
}

void UIButton::paintContent(Painter& painter) {
    painter.drawText(currentTitle(), bounds(), NSTextAlignmentCenter, 1, titleCGColor(state()));
}

bool UIButton::drawsStateChange(NSUInteger before) const {
    const std::string title = currentTitle();
    if (title != titleForState(before))
        return true;
    return !title.empty() && titleCGColor(before) != titleCGColor(state());
}

namespace {
const ClassDef<UIButton> kUIButton("UIButton", "UIControl",
                                   {
                                       classMethod("buttonWithType:",
                                                   [](Object* cls, NSInteger type) -> id {
                                                       auto button = cast<UIButton>(
                                                           msg<id>(msg<id>(cls, "alloc"),
                                                                   "initWithFrame:", CGRectZero));
                                                       if (button)
                                                           button->setButtonType(type);
                                                       return button;
                                                   }),
                                       method("buttonType", &UIButton::buttonType),
                                       method("setTitle:forState:", &UIButton::setTitleForState),
                                       method("titleForState:", &UIButton::titleForState),
                                       method("setTitleColor:forState:", &UIButton::setTitleColorForState),
                                       method("titleColorForState:", &UIButton::titleColorForState),
                                       method("currentTitle", &UIButton::currentTitle),
                                       method("currentTitleColor", &UIButton::currentTitleColor),
                                       method("sizeThatFits:", &UIButton::sizeThatFits),
                                   });
} // namespace
