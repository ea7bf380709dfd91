#include "picker/HMColorPickerView_S.h"

HMColorPickerView_S::HMColorPickerView_S() : HMColorPickerView(hm::kPickerLayoutS) {}

namespace {
const ClassDef<HMColorPickerView_S> kHMColorPickerView_S(hm::kPickerLayoutS.className, "UIView",
                                                         hm::colorPickerEntries(hm::kPickerLayoutS));
} // namespace
