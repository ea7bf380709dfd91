#include "uikit/UISlider.h"

#include "Painter.h"
#include "uikit/SliderTrack.h"
#include "uikit/UIKitConstants.h"

#include <algorithm>

namespace {
constexpr CGColor kFilledTrack{0, 122.0 / 255, 1, 1};
constexpr CGColor kEmptyTrack{0.72, 0.72, 0.72, 1};
constexpr CGColor kThumb{1, 1, 1, 1};
constexpr CGColor kThumbEdge{0, 0, 0, 0.2};
} // namespace

void UISlider::setValue(float value) {
    value_ = clampSliderValue(value, minimum_, maximum_);
    msg(this, "setNeedsDisplay");
}

void UISlider::setValueAnimated(float value, bool) {
    msg(this, "setValue:", value);
}

void UISlider::setMinimumValue(float minimum) {
    minimum_ = minimum;
    if (maximum_ < minimum_)
        maximum_ = minimum_;
    value_ = clampSliderValue(value_, minimum_, maximum_);
    msg(this, "setNeedsDisplay");
}

void UISlider::setMaximumValue(float maximum) {
    maximum_ = maximum;
    if (minimum_ > maximum_)
        minimum_ = maximum_;
    value_ = clampSliderValue(value_, minimum_, maximum_);
    msg(this, "setNeedsDisplay");
}

CGSize UISlider::sizeThatFits(CGSize size) {
    return {size.width, kSliderThumbDiameter + 3};
}

void UISlider::followTouch(const id& touch) {
    const CGPoint p = msg<CGPoint>(touch, "locationInView:", self());
    const float before = value_;
    msg(this, "setValue:", sliderValueAt(p.x, minimum_, maximum_, bounds().size.width));
    if (continuous_ && value_ != before)
        sendActionsForControlEvents(UIControlEventValueChanged);
}

bool UISlider::beginTrackingWithTouchWithEvent(id touch, id) {
    valueAtTouchDown_ = value_;
    followTouch(touch);
    return true;
}

bool UISlider::continueTrackingWithTouchWithEvent(id touch, id) {
    followTouch(touch);
    return true;
}

void UISlider::endTrackingWithTouchWithEvent(id touch, id) {
    followTouch(touch);
    if (!continuous_ && value_ != valueAtTouchDown_)
        sendActionsForControlEvents(UIControlEventValueChanged);
}

void UISlider::paintContent(Painter& painter) {
    const CGRect b = bounds();
    const double width = b.size.width;
    const double midY = b.origin.y + b.size.height / 2;
    const double thumbX = b.origin.x + sliderThumbCenter(value_, minimum_, maximum_, width);
    const double half = kSliderThumbDiameter / 2;
    const double trackStart = b.origin.x + std::min(half, width / 2);
    const double trackEnd = b.origin.x + width - std::min(half, width / 2);
    const double trackTop = midY - kSliderTrackHeight / 2;
    painter.fillRoundedRect(CGRectMake(trackStart, trackTop, thumbX - trackStart, kSliderTrackHeight), 1,
                            kFilledTrack);
    painter.fillRoundedRect(CGRectMake(thumbX, trackTop, trackEnd - thumbX, kSliderTrackHeight), 1,
                            kEmptyTrack);
    const CGRect thumb = CGRectMake(thumbX - half, midY - half, kSliderThumbDiameter, kSliderThumbDiameter);
    painter.fillEllipse(CGRectInset(thumb, -0.5, -0.5), kThumbEdge);
    painter.fillEllipse(thumb, kThumb);
}

namespace {
const ClassDef<UISlider> kUISlider(
    "UISlider", "UIControl",
    {
        method("value", &UISlider::value),
        method("setValue:", &UISlider::setValue),
        method("setValue:animated:", &UISlider::setValueAnimated),
        method("minimumValue", &UISlider::minimumValue),
        method("setMinimumValue:", &UISlider::setMinimumValue),
        method("maximumValue", &UISlider::maximumValue),
        method("setMaximumValue:", &UISlider::setMaximumValue),
        method("isContinuous", &UISlider::isContinuous),
        method("setContinuous:", &UISlider::setContinuous),
        method("sizeThatFits:", &UISlider::sizeThatFits),
        method("beginTrackingWithTouch:withEvent:", &UISlider::beginTrackingWithTouchWithEvent),
        method("continueTrackingWithTouch:withEvent:", &UISlider::continueTrackingWithTouchWithEvent),
        method("endTrackingWithTouch:withEvent:", &UISlider::endTrackingWithTouchWithEvent),
    });
} // namespace
