// A slider: a float value kept within [minimumValue, maximumValue] whatever it is given
// (changing a bound clamps the value too), shown as a track and a round thumb.
//
// A touch anywhere on the slider moves the thumb to the finger, and so does every drag; a
// continuous slider (the default) sends value changed at each change, one that is not sends it
// once when the finger lifts, if the value changed.
#pragma once

#include "uikit/UIControl.h"

struct UISlider : UIControl {
    float value() const { return value_; }
    void setValue(float value);
    void setValueAnimated(float value, bool animated);
    float minimumValue() const { return minimum_; }
    void setMinimumValue(float minimum);
    float maximumValue() const { return maximum_; }
    void setMaximumValue(float maximum);
    bool isContinuous() const { return continuous_; }
    void setContinuous(bool continuous) { continuous_ = continuous; }
    CGSize sizeThatFits(CGSize size);

    bool beginTrackingWithTouchWithEvent(id touch, id event);
    bool continueTrackingWithTouchWithEvent(id touch, id event);
    void endTrackingWithTouchWithEvent(id touch, id event);

    void paintContent(Painter& painter) override;

  private:
    void followTouch(const id& touch);

    float value_ = 0;
    float minimum_ = 0;
    float maximum_ = 1;
    bool continuous_ = true;
    float valueAtTouchDown_ = 0;
};
