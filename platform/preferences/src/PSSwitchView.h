// The on/off control of a switch row: a rounded track (green when on) and a round knob.
#pragma once

#include "uikit/UIView.h"

struct PSSwitchView : UIView {
    bool on_ = false;
    bool enabled_ = true;
    id knob_;

    id initWithFrame(CGRect frame);
    bool isOn() const { return on_; }
    void setOn(bool on);
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    void layoutSubviews();
};
