// A color as a value: red, green, blue and alpha as fractions in the device RGB space, not
// premultiplied. It travels through messages as CGColorRef does on the device.
#pragma once

#include "coregraphics/CGGeometry.h"

#include <array>

struct CGColor {
    CGFloat r = 0, g = 0, b = 0, a = 0;
    friend constexpr bool operator==(const CGColor&, const CGColor&) = default;
};
using CGColorRef = CGColor;

namespace objc {
template <> struct TypeEncoding<CGColor> { static constexpr const char* value = "{CGColor=dddd}"; };
} // namespace objc

constexpr CGColor CGColorMake(CGFloat r, CGFloat g, CGFloat b, CGFloat a) {
    return {r, g, b, a};
}
// Red, green, blue, alpha.
inline std::array<CGFloat, 4> CGColorGetComponents(CGColor c) {
    return {c.r, c.g, c.b, c.a};
}
inline CGFloat CGColorGetAlpha(CGColor c) {
    return c.a;
}
inline bool CGColorEqualToColor(CGColor a, CGColor b) {
    return a == b;
}

// The device RGB color space. There is only one; the handle exists so that code reads as it
// does on the device (create, use, release).
using CGColorSpaceRef = struct CGColorSpace*;
CGColorSpaceRef CGColorSpaceCreateDeviceRGB();
void CGColorSpaceRelease(CGColorSpaceRef space);
