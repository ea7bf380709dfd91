// A font: the label font (Nimbus Sans, of Helvetica's metrics) at a point size. Every text draws
// in that one family; a size scales its widths and its line height in proportion, as the
// unhinted metrics of one outline do. Labels take a font (`setFont:`); 17 points unless set.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"

// The size of a label's text when no font is set (+[UIFont labelFontSize]).
inline constexpr CGFloat kLabelFontSize = 17;

struct UIFont : NSObject {
    CGFloat pointSize() const { return pointSize_; }

    // C++ side: the font of a size (a size of zero or less, or one that is not finite, is 17).
    static Ref<UIFont> ofSize(CGFloat pointSize);
    // The point size of any object that is a UIFont, else 17 (as a nil font draws the default).
    static CGFloat pointSizeOf(const id& font);

    CGFloat pointSize_ = kLabelFontSize;
};
