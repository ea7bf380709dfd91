// The on/off switch: its fixed size, its state and a person's tap flipping it.
#include "uikit/UISwitch.h"

#include "Painter.h"
#include "uikit/UIKitConstants.h"

namespace {
constexpr CGColor kOnTrack{0.298, 0.851, 0.392, 1};
constexpr CGColor kOffEdge{0.9, 0.9, 0.9, 1};
constexpr CGColor kKnob{1, 1, 1, 1};
constexpr CGColor kKnobShade{0, 0, 0, 0.12};
constexpr CGFloat kEdgeWidth = 1.5;
constexpr CGFloat kKnobInset = 2;
} // namespace

id UISwitch::initWithFrame(CGRect frame) {
    msgSuper<id>(this, classOf<UISwitch>(), "initWithFrame:", CGRect{frame.origin, kSwitchSize});
    return self();
}

void UISwitch::setFrame(CGRect frame) {
    msgSuper(this, classOf<UISwitch>(), "setFrame:", CGRect{frame.origin, kSwitchSize});
}

void UISwitch::setOn(bool on) {
    on_ = on;
    msg(this, "setNeedsDisplay");
}

void UISwitch::setOnAnimated(bool on, bool) {
    msg(this, "setOn:", on);
}

void UISwitch::endTrackingWithTouchWithEvent(id touch, id) {
    const CGPoint p = msg<CGPoint>(touch, "locationInView:", self());
    if (!touchCountsAsInside(p.x, p.y, frame().size.width, frame().size.height))
        return;
    msg(this, "setOn:", !on_);
    sendActionsForControlEvents(UIControlEventValueChanged);
}

void UISwitch::paintContent(Painter& painter) {
    const CGRect track{{0, 0}, kSwitchSize};
    const CGFloat radius = kSwitchSize.height / 2;
    const CGFloat alpha = isEnabled() ? 1 : 0.5;
    auto faded = [alpha](CGColor c) { return CGColor{c.r, c.g, c.b, c.a * alpha}; };
    if (on_) {
        painter.fillRoundedRect(track, radius, faded(kOnTrack));
    } else {
        painter.fillRoundedRect(track, radius, faded(kKnob));
        painter.strokeRoundedRect(track, radius, kEdgeWidth, faded(kOffEdge));
    }
    const CGFloat d = kSwitchSize.height - 2 * kKnobInset;
    const CGFloat x = on_ ? kSwitchSize.width - kKnobInset - d : kKnobInset;
    // A soft edge below the knob, then the knob.
    painter.fillEllipse({{x - 0.5, kKnobInset + 0.5}, {d + 1, d + 1}}, faded(kKnobShade));
    painter.fillEllipse({{x, kKnobInset}, {d, d}}, faded(kKnob));
}

namespace {
const ClassDef<UISwitch>
    kUISwitch("UISwitch", "UIControl",
              {
                  method("initWithFrame:", &UISwitch::initWithFrame),
                  method("setFrame:", &UISwitch::setFrame),
                  method("isOn", &UISwitch::isOn),
                  method("setOn:", &UISwitch::setOn),
                  method("setOn:animated:", &UISwitch::setOnAnimated),
                  method("sizeThatFits:", &UISwitch::sizeThatFits),
                  method("endTrackingWithTouch:withEvent:", &UISwitch::endTrackingWithTouchWithEvent),
              });
} // namespace
