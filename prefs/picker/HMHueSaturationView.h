// The square of HMColorPickerView_B: hue across (red at both ends), saturation falling from 1 at
// the top to 0 at the bottom (white), the whole darkened uniformly by 1 - brightness.
#pragma once

#include "picker/HMGradientView.h"

struct HMHueSaturationView : HMGradientView {
    void drawRect(CGRect rect);
};
