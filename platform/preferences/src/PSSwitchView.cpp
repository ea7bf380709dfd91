#include "PSSwitchView.h"

#include "ViewKit.h"

namespace {
constexpr CGFloat kKnobInset = 2.0;
}

id PSSwitchView::initWithFrame(CGRect frame) {
    msgSuper<id>(this, classOf<PSSwitchView>(), "initWithFrame:", frame);
    id layer = msg<id>(self(), "layer");
    msg(layer, "setCornerRadius:", frame.size.height / 2);
    msg(layer, "setBorderWidth:", CGFloat{1.5});
    knob_ = PSMakeView("UIView", PSRect(0, 0, 0, 0));
    msg(knob_, "setBackgroundColor:", PSColor(1, 1, 1));
    id knobLayer = msg<id>(knob_, "layer");
    msg(knobLayer, "setShadowColor:", msg<CGColor>(PSColor(0, 0, 0), "CGColor"));
    msg(knobLayer, "setShadowOpacity:", 0.3f);
    msg(knobLayer, "setShadowOffset:", CGSize{0, 2});
    msg(knobLayer, "setShadowRadius:", CGFloat{2});
    msg(self(), "addSubview:", knob_);
    setOn(false);
    return self();
}

void PSSwitchView::setOn(bool on) {
    on_ = on;
    id layer = msg<id>(self(), "layer");
    id track = on ? PSColor(0.298, 0.851, 0.392) : PSColor(1, 1, 1);
    msg(self(), "setBackgroundColor:", track);
    msg(layer, "setBorderColor:", msg<CGColor>(on ? track : PSColor(0.9, 0.9, 0.9), "CGColor"));
    layoutSubviews();
}

void PSSwitchView::setEnabled(bool enabled) {
    enabled_ = enabled;
    msg(self(), "setAlpha:", enabled ? CGFloat{1.0} : CGFloat{0.5});
    msg(self(), "setUserInteractionEnabled:", enabled);
}

void PSSwitchView::layoutSubviews() {
    const CGRect bounds = msg<CGRect>(self(), "bounds");
    const CGFloat d = bounds.size.height - 2 * kKnobInset;
    const CGFloat x = on_ ? bounds.size.width - kKnobInset - d : kKnobInset;
    msg(knob_, "setFrame:", PSRect(x, kKnobInset, d, d));
    msg(msg<id>(knob_, "layer"), "setCornerRadius:", d / 2);
}

namespace {
const ClassDef<PSSwitchView> kPSSwitchView("PSSwitchView", "UIView",
                                           {
                                               method("initWithFrame:", &PSSwitchView::initWithFrame),
                                               method("isOn", &PSSwitchView::isOn),
                                               method("setOn:", &PSSwitchView::setOn),
                                               method("isEnabled", &PSSwitchView::isEnabled),
                                               method("setEnabled:", &PSSwitchView::setEnabled),
                                               method("layoutSubviews", &PSSwitchView::layoutSubviews),
                                           });
} // namespace
