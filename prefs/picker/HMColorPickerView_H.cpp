#include "picker/HMColorPickerView_H.h"

HMColorPickerView_H::HMColorPickerView_H() : HMColorPickerView(kPickerLayoutH) {}

namespace {
const ClassDef<HMColorPickerView_H> kHMColorPickerView_H(kPickerLayoutH.className, "UIView",
                                                         colorPickerEntries(kPickerLayoutH));
} // namespace
