// The cell types of a settings row, by their integer values. A resource list names them
// ("PSSwitchCell"); code passes the integer.
#pragma once

#include "objc/runtime.h"

#include <string>

inline constexpr NSInteger PSGroupCell = 0;
inline constexpr NSInteger PSLinkCell = 1;
inline constexpr NSInteger PSLinkListCell = 2;
inline constexpr NSInteger PSListItemCell = 3;
inline constexpr NSInteger PSTitleValueCell = 4;
inline constexpr NSInteger PSSliderCell = 5;
inline constexpr NSInteger PSSwitchCell = 6;
inline constexpr NSInteger PSStaticTextCell = 7;
inline constexpr NSInteger PSEditTextCell = 8;
inline constexpr NSInteger PSSegmentCell = 9;
inline constexpr NSInteger PSGiantIconCell = 10;
inline constexpr NSInteger PSGiantCell = 11;
inline constexpr NSInteger PSSecureEditTextCell = 12;
inline constexpr NSInteger PSButtonCell = 13;
inline constexpr NSInteger PSEditTextViewCell = 14;

// The cell type a resource list names ("PSSwitchCell" is 6); -1 for an unknown name.
NSInteger PSCellTypeFromString(const std::string& name);
// The name of a cell type ("PSSwitchCell" for 6); empty for an unknown value.
std::string PSCellTypeName(NSInteger type);
