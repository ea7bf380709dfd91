// The picker layout B: hue and saturation in the square, brightness on the bar.
#pragma once

#include "picker/HMColorPickerView.h"

struct HMColorPickerView_B : HMColorPickerView {
    HMColorPickerView_B();
};
