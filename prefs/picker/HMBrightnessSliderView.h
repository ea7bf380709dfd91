// The bar of HMColorPickerView_B: brightness from 1 at the left (the stored hue and saturation) to
// 0 at the right (black).
#pragma once

#include "picker/HMGradientView.h"

struct HMBrightnessSliderView : HMGradientView {
    void drawRect(CGRect rect);
};
