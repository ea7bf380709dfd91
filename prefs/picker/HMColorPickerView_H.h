// The picker layout H: saturation and brightness in the square, hue on the bar.
#pragma once

#include "picker/HMColorPickerView.h"

struct HMColorPickerView_H : HMColorPickerView {
    HMColorPickerView_H();
};
