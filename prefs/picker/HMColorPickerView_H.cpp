#include "picker/HMColorPickerView_H.h"

HMColorPickerView_H::HMColorPickerView_H() : HMColorPickerView(hm::kPickerLayoutH) {}

namespace {
const ClassDef<HMColorPickerView_H> kHMColorPickerView_H(hm::kPickerLayoutH.className, "UIView",
                                                         hm::colorPickerEntries(hm::kPickerLayoutH));
} // namespace
