// The square of HMColorPickerView_H: saturation across (white at the left, the pure stored hue at
// the right), brightness falling from 1 at the top to 0 at the bottom (black). Its one property,
// hue, has a setter that redraws and a plain getter.
#pragma once

#include "picker/HMGradientView.h"

struct HMBrightnessSaturationView : HMGradientView {
    void drawRect(CGRect rect);
};
