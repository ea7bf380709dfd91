#include "ContextState.h"
#include "PendingPicture.h"
#include "PixelSpans.h"

#include <algorithm>

#include <cmath>

using namespace cg;

void CGContextFillEllipseInRect(CGContextRef context, CGRect rect) {
    if (!context)
        return;
    settle(*context);
    const PixelRect box = coveredPixels(context->state, rect);
    if (box.empty())
        return;
    // The ellipse in device pixels.
    const GState& s = context->state;
    rect = CGRectStandardize(rect);
    const CGFloat cx = CGRectGetMidX(rect) * s.sx + s.tx, cy = CGRectGetMidY(rect) * s.sy + s.ty;
    const CGFloat rx = std::fabs(rect.size.width * s.sx) / 2, ry = std::fabs(rect.size.height * s.sy) / 2;
    if (!(rx > 0) || !(ry > 0))
        return;
    const SpanColor color = prepareSpanColor(s.fill);
    for (int64_t y = box.y0; y < box.y1; ++y) {
        const CGFloat dy = (CGFloat(y) + 0.5 - cy) / ry;
        if (dy * dy >= 1)
            continue;
        const CGFloat half = rx * std::sqrt(1 - dy * dy);
        int64_t x0 = 0, x1 = 0;
        centeredRange(cx - half, cx + half, s.clip.x1, x0, x1);
        x0 = std::max(x0, s.clip.x0);
        if (x1 > x0)
            blendSpanUniform(context->row(y) + 4 * x0, size_t(x1 - x0), color);
    }
}
