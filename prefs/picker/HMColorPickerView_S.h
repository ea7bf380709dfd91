// The picker layout S: hue and brightness in the square, saturation on the bar.
#pragma once

#include "picker/HMColorPickerView.h"

struct HMColorPickerView_S : HMColorPickerView {
    HMColorPickerView_S();
};
