#include "coregraphics/CGGeometry.h"

namespace {
// The rectangle from the edges of two standardized rectangles: `near` picks the left and top
// edges, `far` the right and bottom ones (max and min give the common part, min and max the hull).
template <class Near, class Far> CGRect span(CGRect a, CGRect b, Near near, Far far, bool& crossed) {
    a = CGRectStandardize(a);
    b = CGRectStandardize(b);
    CGFloat x0 = near(a.origin.x, b.origin.x);
    CGFloat y0 = near(a.origin.y, b.origin.y);
    CGFloat x1 = far(CGRectGetMaxX(a), CGRectGetMaxX(b));
    CGFloat y1 = far(CGRectGetMaxY(a), CGRectGetMaxY(b));
    crossed = x1 < x0 || y1 < y0;
    return CGRectMake(x0, y0, x1 - x0, y1 - y0);
}
CGFloat larger(CGFloat a, CGFloat b) {
    return std::max(a, b);
}
CGFloat smaller(CGFloat a, CGFloat b) {
    return std::min(a, b);
}
} // namespace

CGRect CGRectIntersection(CGRect a, CGRect b) {
    if (CGRectIsNull(a) || CGRectIsNull(b))
        return CGRectNull;
    bool apart = false;
    CGRect common = span(a, b, larger, smaller, apart);
    // Rectangles that only touch share an empty edge, as on the device.
    return apart ? CGRectNull : common;
}

CGRect CGRectUnion(CGRect a, CGRect b) {
    if (CGRectIsNull(a))
        return CGRectStandardize(b);
    if (CGRectIsNull(b))
        return CGRectStandardize(a);
    bool unused = false;
    return span(a, b, smaller, larger, unused);
}

bool CGRectIntersectsRect(CGRect a, CGRect b) {
    CGRect common = CGRectIntersection(a, b);
    return !CGRectIsNull(common) && !CGRectIsEmpty(common);
}

bool CGRectContainsRect(CGRect outer, CGRect inner) {
    if (CGRectIsNull(outer) || CGRectIsNull(inner))
        return false;
    return CGRectUnion(outer, inner) == CGRectStandardize(outer);
}

CGRect CGRectInset(CGRect r, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(r))
        return r;
    r = CGRectStandardize(r);
    r.origin.x += dx;
    r.origin.y += dy;
    r.size.width -= 2 * dx;
    r.size.height -= 2 * dy;
    if (r.size.width < 0 || r.size.height < 0)
        return CGRectNull;
    return r;
}

CGRect CGRectOffset(CGRect r, CGFloat dx, CGFloat dy) {
    if (CGRectIsNull(r))
        return r;
    r.origin.x += dx;
    r.origin.y += dy;
    return r;
}
