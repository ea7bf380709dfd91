// An on/off switch: a control 51 by 31 points whatever frame it is given (its origin is kept),
// drawn as a rounded track (green when on, white with a gray edge when off) and a white knob at
// the end of its state. A finger lifted inside flips it and sends value changed; `setOn:` from
// code sends nothing.
#pragma once

#include "uikit/UIControl.h"

inline constexpr CGSize kSwitchSize{51, 31};

struct UISwitch : UIControl {
    id initWithFrame(CGRect frame);
    void setFrame(CGRect frame);
    bool isOn() const { return on_; }
    void setOn(bool on);
    void setOnAnimated(bool on, bool animated);
    CGSize sizeThatFits(CGSize) { return kSwitchSize; }

    void endTrackingWithTouchWithEvent(id touch, id event);
    void paintContent(Painter& painter) override;

  private:
    bool on_ = false;
};
