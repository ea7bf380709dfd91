// Linear gradients have a fast path for a layer that varies across and is opaque throughout;
// the plain path, which takes every pixel's color from the gradient one at a time, is the
// reference the fast path must equal byte for byte.
#pragma once

#include "coregraphics/CGContext.h"

namespace cg {

// CGContextDrawLinearGradient without the fast path.
void drawLinearGradientPlain(CGContextRef context, CGGradientRef gradient, CGPoint start, CGPoint end,
                             uint32_t options);

} // namespace cg
