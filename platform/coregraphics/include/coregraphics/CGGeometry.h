// Points, sizes and rectangles in points, y downward (a view's origin is its top-left corner).
// A rectangle with a negative width or height is standardized by the functions that measure it,
// as on the device; CGRectNull (infinite origin) is the empty result of an intersection.
#pragma once

#include "objc/runtime.h"

#include <algorithm>
#include <cmath>
#include <limits>

using CGFloat = double;

struct CGPoint {
    CGFloat x = 0, y = 0;
    friend constexpr bool operator==(const CGPoint&, const CGPoint&) = default;
};
struct CGSize {
    CGFloat width = 0, height = 0;
    friend constexpr bool operator==(const CGSize&, const CGSize&) = default;
};
struct CGRect {
    CGPoint origin;
    CGSize size;
    friend constexpr bool operator==(const CGRect&, const CGRect&) = default;
};

namespace objc {
template <> struct TypeEncoding<CGPoint> { static constexpr const char* value = "{CGPoint=dd}"; };
template <> struct TypeEncoding<CGSize> { static constexpr const char* value = "{CGSize=dd}"; };
template <> struct TypeEncoding<CGRect> {
    static constexpr const char* value = "{CGRect={CGPoint=dd}{CGSize=dd}}";
};
} // namespace objc

inline constexpr CGPoint CGPointZero{0, 0};
inline constexpr CGSize CGSizeZero{0, 0};
inline constexpr CGRect CGRectZero{{0, 0}, {0, 0}};
inline constexpr CGRect CGRectNull{
    {std::numeric_limits<CGFloat>::infinity(), std::numeric_limits<CGFloat>::infinity()}, {0, 0}};

constexpr CGPoint CGPointMake(CGFloat x, CGFloat y) {
    return {x, y};
}
constexpr CGSize CGSizeMake(CGFloat width, CGFloat height) {
    return {width, height};
}
constexpr CGRect CGRectMake(CGFloat x, CGFloat y, CGFloat width, CGFloat height) {
    return {{x, y}, {width, height}};
}

constexpr bool CGPointEqualToPoint(CGPoint a, CGPoint b) {
    return a == b;
}
constexpr bool CGSizeEqualToSize(CGSize a, CGSize b) {
    return a == b;
}
constexpr bool CGRectEqualToRect(CGRect a, CGRect b) {
    return a == b;
}

inline bool CGRectIsNull(CGRect r) {
    return std::isinf(r.origin.x) || std::isinf(r.origin.y);
}

// The same rectangle with a non-negative width and height.
inline CGRect CGRectStandardize(CGRect r) {
    if (CGRectIsNull(r))
        return r;
    if (r.size.width < 0) {
        r.origin.x += r.size.width;
        r.size.width = -r.size.width;
    }
    if (r.size.height < 0) {
        r.origin.y += r.size.height;
        r.size.height = -r.size.height;
    }
    return r;
}

inline CGFloat CGRectGetMinX(CGRect r) {
    return CGRectStandardize(r).origin.x;
}
inline CGFloat CGRectGetMinY(CGRect r) {
    return CGRectStandardize(r).origin.y;
}
inline CGFloat CGRectGetWidth(CGRect r) {
    return std::fabs(r.size.width);
}
inline CGFloat CGRectGetHeight(CGRect r) {
    return std::fabs(r.size.height);
}
inline CGFloat CGRectGetMaxX(CGRect r) {
    return CGRectGetMinX(r) + CGRectGetWidth(r);
}
inline CGFloat CGRectGetMaxY(CGRect r) {
    return CGRectGetMinY(r) + CGRectGetHeight(r);
}
inline CGFloat CGRectGetMidX(CGRect r) {
    return CGRectGetMinX(r) + CGRectGetWidth(r) / 2;
}
inline CGFloat CGRectGetMidY(CGRect r) {
    return CGRectGetMinY(r) + CGRectGetHeight(r) / 2;
}

inline bool CGRectIsEmpty(CGRect r) {
    return CGRectIsNull(r) || r.size.width == 0 || r.size.height == 0;
}

// Half-open: the left and top edges belong to the rectangle, the right and bottom do not.
inline bool CGRectContainsPoint(CGRect r, CGPoint p) {
    if (CGRectIsNull(r))
        return false;
    return p.x >= CGRectGetMinX(r) && p.x < CGRectGetMaxX(r) && p.y >= CGRectGetMinY(r) &&
           p.y < CGRectGetMaxY(r);
}

// The common part of two rectangles, or CGRectNull when they do not overlap.
CGRect CGRectIntersection(CGRect a, CGRect b);
// The smallest rectangle holding both (a null rectangle is ignored).
CGRect CGRectUnion(CGRect a, CGRect b);
bool CGRectIntersectsRect(CGRect a, CGRect b);
bool CGRectContainsRect(CGRect outer, CGRect inner);
// Shrinks by dx on the left and right and dy on the top and bottom (grows when negative);
// CGRectNull when that leaves a negative size.
CGRect CGRectInset(CGRect r, CGFloat dx, CGFloat dy);
CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy);
