// The bar of HMColorPickerView_H: hue from 0 at the left to 1 at the right. It keeps nothing.
#pragma once

#include "picker/HMGradientView.h"

struct HMHueSliderView : HMGradientView {
    void drawRect(CGRect rect);
};
