#include "preferences/PSCellTypes.h"

#include <array>

namespace {
// Indexed by the cell type's value.
constexpr std::array<const char*, 15> kNames = {
    "PSGroupCell",     "PSLinkCell",   "PSLinkListCell",       "PSListItemCell", "PSTitleValueCell",
    "PSSliderCell",    "PSSwitchCell", "PSStaticTextCell",     "PSEditTextCell", "PSSegmentCell",
    "PSGiantIconCell", "PSGiantCell",  "PSSecureEditTextCell", "PSButtonCell",   "PSEditTextViewCell",
};
} // namespace

NSInteger PSCellTypeFromString(const std::string& name) {
    for (size_t i = 0; i < kNames.size(); ++i) {
        if (name == kNames[i])
            return NSInteger(i);
    }
    return -1;
}

std::string PSCellTypeName(NSInteger type) {
    if (type < 0 || type >= NSInteger(kNames.size()))
        return {};
    return kNames[size_t(type)];
}
