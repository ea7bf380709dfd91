#include "picker/HMColorPickerView_B.h"

HMColorPickerView_B::HMColorPickerView_B() : HMColorPickerView(hm::kPickerLayoutB) {}

namespace {
const ClassDef<HMColorPickerView_B> kHMColorPickerView_B(hm::kPickerLayoutB.className, "UIView",
                                                         hm::colorPickerEntries(hm::kPickerLayoutB));
} // namespace
