// Small helpers for building the table's views through messages, so every view part goes
// through the same selectors a subclass or a replacement may answer.
#pragma once

#include "coregraphics/CGGeometry.h"
#include "objc/runtime.h"

#include <string>

CGRect PSRect(CGFloat x, CGFloat y, CGFloat width, CGFloat height);
id PSMakeView(const char* className, CGRect frame);
id PSColor(CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha = 1.0);
id PSMakeLabel(CGRect frame, const std::string& text, id textColor, NSInteger alignment = 0);
// The width a label needs for its text on one line, in the label font.
CGFloat PSTextWidth(const std::string& text);

// The colors of the grouped table.
namespace ps {
id tintColor();          // buttons, selected segments, the switch's border
id disabledTextColor();  // text of a disabled row
id secondaryTextColor(); // detail texts, headers and footers
id tableBackgroundColor();
id separatorColor();
} // namespace ps
