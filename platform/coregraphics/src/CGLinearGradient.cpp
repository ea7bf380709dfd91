// Linear gradients. A layer whose line is horizontal depends on the column only: its colors are
// worked out once for one row; when they are all opaque that row becomes the pattern of a
// held-back picture (see PendingPicture.h). A layer whose line is vertical is one color a row,
// which joins a held-back picture below it or is composited at once. Other directions take one
// color a pixel. An opaque gradient across has a fast path (see LinearGradient.h).
#include "ContextState.h"
#include "GradientRow.h"
#include "GradientStops.h"
#include "LinearGradient.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace cg;

namespace {

struct GradientLine {
    CGPoint start;
    CGFloat dx, dy, length2;
    bool before, after;

    CGFloat position(CGFloat x, CGFloat y) const {
        return ((x - start.x) * dx + (y - start.y) * dy) / length2;
    }
    bool paints(CGFloat s) const { return !std::isnan(s) && (s >= 0 || before) && (s <= 1 || after); }
};

CGFloat userX(const GState& st, int64_t column) {
    return (CGFloat(column) + 0.5 - st.tx) / st.sx;
}
CGFloat userY(const GState& st, int64_t row) {
    return (CGFloat(row) + 0.5 - st.ty) / st.sy;
}

const SpanColor kNothing = prepareSpanColor({0, 0, 0, 0});

void drawAcross(CGContext& ctx, CGGradientRef gradient, const GradientLine& line) {
    const GState& st = ctx.state;
    const PixelRect& clip = st.clip;
    ctx.reserveRow();
    int64_t first = -1, last = -1;
    bool allOpaque = true;
    for (int64_t x = clip.x0; x < clip.x1; ++x) {
        const CGFloat s = line.position(userX(st, x), line.start.y);
        const bool paints = line.paints(s);
        const SpanColor& color = ctx.rowColors[size_t(x - clip.x0)] =
            paints ? prepareSpanColor(CGGradientColorAt(gradient, s)) : kNothing;
        if (paints) {
            if (first < 0)
                first = x;
            last = x;
            allOpaque = allOpaque && color.opaque;
        }
    }
    if (first < 0)
        return;
    // The painted columns are one run (the position is monotonic along the row).
    const size_t offset = size_t(first - clip.x0);
    const size_t count = size_t(last - first + 1);
    if (allOpaque) {
        holdPattern(ctx, &ctx.rowColors[offset], first, count, clip.y0, clip.y1);
        return;
    }
    settle(ctx);
    for (size_t i = offset; i < offset + count; ++i)
        storeSpanLanes(ctx.rowScaled.data(), ctx.rowKeep.data(), i, ctx.rowColors[i]);
    SpanColors colors{&ctx.rowColors[offset], &ctx.rowScaled[4 * offset], &ctx.rowKeep[4 * offset]};
    for (int64_t y = clip.y0; y < clip.y1; ++y)
        blendSpanVarying(ctx.row(y) + 4 * first, count, colors);
}

// A gradient opaque throughout, across: its row goes straight into a held-back picture, worked
// out several columns at a time (see GradientRow.h) with the arithmetic of CGGradientColorAt, so
// the bytes are those of drawAcross.
void drawAcrossOpaque(CGContext& ctx, const CGGradient& gradient, const GradientLine& line) {
    const GState& st = ctx.state;
    const PixelRect& clip = st.clip;
    const RowVectors vectors = widestRowVectors();
    const RowLine row{
        st.tx,        st.sx,       line.start.x, line.dx, (line.start.y - line.start.y) * line.dy,
        line.length2, line.before, line.after};
    CGFloat* s = gradientPositions(ctx);
    const size_t width = size_t(clip.x1 - clip.x0);
    rowPositions(row, clip.x0, width, s, vectors);
    size_t first = 0, end = width;
    while (first < width && !line.paints(s[first]))
        ++first;
    while (end > first && !line.paints(s[end - 1]))
        --end;
    const RowStops stops{gradient.locations.data(), gradient.colors.data(), gradient.locations.size()};
    holdGradient(ctx, row, stops, first, clip.x0 + int64_t(first), end - first, clip.y0, clip.y1);
}

void drawDown(CGContext& ctx, CGGradientRef gradient, const GradientLine& line) {
    const GState& st = ctx.state;
    const PixelRect& clip = st.clip;
    const size_t count = size_t(clip.x1 - clip.x0);
    if (canJoin(ctx, clip.x0, clip.x1, clip.y0, clip.y1)) {
        for (int64_t y = clip.y0; y < clip.y1; ++y) {
            CGFloat s = line.position(line.start.x, userY(st, y));
            if (line.paints(s))
                ctx.pending.rows[size_t(y - ctx.pending.y0)].then(
                    clampedColor(CGGradientColorAt(gradient, s)));
        }
        return;
    }
    settle(ctx);
    for (int64_t y = clip.y0; y < clip.y1; ++y) {
        CGFloat s = line.position(line.start.x, userY(st, y));
        if (!line.paints(s))
            continue;
        blendSpanUniform(ctx.row(y) + 4 * clip.x0, count, prepareSpanColor(CGGradientColorAt(gradient, s)));
    }
}

void drawSlanted(CGContext& ctx, CGGradientRef gradient, const GradientLine& line) {
    const GState& st = ctx.state;
    const PixelRect& clip = st.clip;
    settle(ctx);
    ctx.reserveRow();
    const size_t count = size_t(clip.x1 - clip.x0);
    SpanColors colors{ctx.rowColors.data(), ctx.rowScaled.data(), ctx.rowKeep.data()};
    for (int64_t y = clip.y0; y < clip.y1; ++y) {
        const CGFloat uy = userY(st, y);
        for (int64_t x = clip.x0; x < clip.x1; ++x) {
            size_t i = size_t(x - clip.x0);
            CGFloat s = line.position(userX(st, x), uy);
            ctx.rowColors[i] = line.paints(s) ? prepareSpanColor(CGGradientColorAt(gradient, s)) : kNothing;
            storeSpanLanes(ctx.rowScaled.data(), ctx.rowKeep.data(), i, ctx.rowColors[i]);
        }
        blendSpanVarying(ctx.row(y) + 4 * clip.x0, count, colors);
    }
}

void draw(CGContextRef context, CGGradientRef gradient, CGPoint start, CGPoint end, uint32_t options,
          bool fastPaths) {
    if (!context || !gradient)
        return;
    const GState& st = context->state;
    if (st.clip.empty() || st.sx == 0 || st.sy == 0)
        return;
    GradientLine line{start,
                      end.x - start.x,
                      end.y - start.y,
                      0,
                      (options & kCGGradientDrawsBeforeStartLocation) != 0,
                      (options & kCGGradientDrawsAfterEndLocation) != 0};
    line.length2 = line.dx * line.dx + line.dy * line.dy;
    // Coinciding end points give no direction: nothing is painted.
    if (!(line.length2 > 0) || !std::isfinite(line.length2))
        return;
    if (line.dy == 0 && fastPaths && gradient->opaqueThroughout) {
        drawAcrossOpaque(*context, *gradient, line);
    } else if (line.dy == 0) {
        drawAcross(*context, gradient, line);
    } else if (line.dx == 0) {
        drawDown(*context, gradient, line);
    } else {
        drawSlanted(*context, gradient, line);
    }
}

} // namespace

void CGContextDrawLinearGradient(CGContextRef context, CGGradientRef gradient, CGPoint start, CGPoint end,
                                 uint32_t options) {
    draw(context, gradient, start, end, options, true);
}

void cg::drawLinearGradientPlain(CGContextRef context, CGGradientRef gradient, CGPoint start, CGPoint end,
                                 uint32_t options) {
    draw(context, gradient, start, end, options, false);
}
