// A gradient: colors at locations in [0, 1] along a line. Without explicit locations the n
// colors sit evenly at 0, 1/(n-1), ..., 1. Colors are interpolated component by component
// (red, green, blue and alpha, none premultiplied).
#pragma once

#include "coregraphics/CGColor.h"

#include <cstdint>
#include <vector>

using CGGradientRef = struct CGGradient*;

// `locations`, when given, holds one ascending location per color. At least one color;
// an empty list gives none.
CGGradientRef CGGradientCreateWithColors(CGColorSpaceRef space, const std::vector<CGColor>& colors,
                                         const CGFloat* locations);
void CGGradientRelease(CGGradientRef gradient);

// The gradient's color at location s (clamped into [0, 1]).
CGColor CGGradientColorAt(CGGradientRef gradient, CGFloat s);

// Drawing options: extend the first color before the start point, the last beyond the end.
enum : uint32_t {
    kCGGradientDrawsBeforeStartLocation = 1,
    kCGGradientDrawsAfterEndLocation = 2,
};
