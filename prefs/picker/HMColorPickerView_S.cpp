#include "picker/HMColorPickerView_S.h"

HMColorPickerView_S::HMColorPickerView_S() : HMColorPickerView(kPickerLayoutS) {}

namespace {
const ClassDef<HMColorPickerView_S> kHMColorPickerView_S(kPickerLayoutS.className, "UIView",
                                                         colorPickerEntries(kPickerLayoutS));
} // namespace
