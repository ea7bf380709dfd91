#include "picker/HMColorPickerView_B.h"

HMColorPickerView_B::HMColorPickerView_B() : HMColorPickerView(kPickerLayoutB) {}

namespace {
const ClassDef<HMColorPickerView_B> kHMColorPickerView_B(kPickerLayoutB.className, "UIView",
                                                         colorPickerEntries(kPickerLayoutB));
} // namespace
