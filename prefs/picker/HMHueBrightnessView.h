// The square of HMColorPickerView_S: hue across, brightness falling from 1 at the top to 0 at the
// bottom, with a white-to-black ramp laid over it at alpha 1 - saturation.
#pragma once

#include "picker/HMGradientView.h"

struct HMHueBrightnessView : HMGradientView {
    void drawRect(CGRect rect);
};
