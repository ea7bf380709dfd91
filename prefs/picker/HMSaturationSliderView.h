// The bar of HMColorPickerView_S: saturation from 1 at the left (the pure stored hue at the stored
// brightness) to 0 at the right (the gray of that brightness).
#pragma once

#include "picker/HMGradientView.h"

struct HMSaturationSliderView : HMGradientView {
    void drawRect(CGRect rect);
};
