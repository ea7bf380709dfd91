#include "ContextState.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace cg {

void centeredRange(CGFloat lo, CGFloat hi, int64_t limit, int64_t& first, int64_t& end) {
    if (lo > hi)
        std::swap(lo, hi);
    // Pixel i is covered when lo <= i + 0.5 < hi. Bounds are clamped before conversion so that
    // huge or infinite rectangles stay defined; NaN covers nothing.
    if (!(lo <= hi)) {
        first = end = 0;
        return;
    }
    auto bound = [limit](CGFloat v) {
        CGFloat c = std::ceil(v - 0.5);
        return int64_t(std::clamp(c, CGFloat(0), CGFloat(limit)));
    };
    first = bound(lo);
    end = bound(hi);
}

PixelRect coveredPixels(const GState& state, CGRect rect) {
    if (CGRectIsNull(rect))
        return {};
    rect = CGRectStandardize(rect);
    PixelRect r;
    const PixelRect& clip = state.clip;
    centeredRange(rect.origin.x * state.sx + state.tx, CGRectGetMaxX(rect) * state.sx + state.tx, clip.x1,
                  r.x0, r.x1);
    centeredRange(rect.origin.y * state.sy + state.ty, CGRectGetMaxY(rect) * state.sy + state.ty, clip.y1,
                  r.y0, r.y1);
    r.x0 = std::max(r.x0, clip.x0);
    r.y0 = std::max(r.y0, clip.y0);
    return r;
}

} // namespace cg

using namespace cg;

CGContextRef CGBitmapContextCreate(size_t width, size_t height) {
    auto* context = new CGContext;
    context->width = width;
    context->height = height;
    context->pixels.assign(width * height * 4, 0);
    context->state.clip = {0, 0, int64_t(width), int64_t(height)};
    return context;
}

void CGContextRelease(CGContextRef context) {
    delete context;
}

uint8_t* CGBitmapContextGetData(CGContextRef context) {
    if (!context)
        return nullptr;
    settle(*context);
    return context->pixels.data();
}
size_t CGBitmapContextGetWidth(CGContextRef context) {
    return context ? context->width : 0;
}
size_t CGBitmapContextGetHeight(CGContextRef context) {
    return context ? context->height : 0;
}
size_t CGBitmapContextGetBytesPerRow(CGContextRef context) {
    return context ? context->width * 4 : 0;
}

void CGContextSaveGState(CGContextRef context) {
    if (context)
        context->saved.push_back(context->state);
}

void CGContextRestoreGState(CGContextRef context) {
    if (!context)
        return;
    settle(*context); // a drawing sequence ends here: its pixels become current
    if (context->saved.empty())
        return;
    context->state = context->saved.back();
    context->saved.pop_back();
}

void CGContextClipToRect(CGContextRef context, CGRect rect) {
    if (!context)
        return;
    PixelRect covered = coveredPixels(context->state, rect);
    PixelRect& clip = context->state.clip;
    clip.x0 = covered.x0;
    clip.y0 = covered.y0;
    clip.x1 = std::max(covered.x0, covered.x1);
    clip.y1 = std::max(covered.y0, covered.y1);
}

CGRect CGContextGetClipBoundingBox(CGContextRef context) {
    if (!context)
        return CGRectZero;
    const GState& s = context->state;
    if (s.clip.empty() || s.sx == 0 || s.sy == 0)
        return CGRectNull;
    CGFloat x0 = (CGFloat(s.clip.x0) - s.tx) / s.sx, x1 = (CGFloat(s.clip.x1) - s.tx) / s.sx;
    CGFloat y0 = (CGFloat(s.clip.y0) - s.ty) / s.sy, y1 = (CGFloat(s.clip.y1) - s.ty) / s.sy;
    return CGRectStandardize(CGRectMake(x0, y0, x1 - x0, y1 - y0));
}

void CGContextTranslateCTM(CGContextRef context, CGFloat tx, CGFloat ty) {
    if (!context)
        return;
    context->state.tx += tx * context->state.sx;
    context->state.ty += ty * context->state.sy;
}

void CGContextScaleCTM(CGContextRef context, CGFloat sx, CGFloat sy) {
    if (!context)
        return;
    context->state.sx *= sx;
    context->state.sy *= sy;
}

void CGContextSetRGBFillColor(CGContextRef context, CGFloat red, CGFloat green, CGFloat blue, CGFloat alpha) {
    if (context)
        context->state.fill = {red, green, blue, alpha};
}

void CGContextSetFillColorWithColor(CGContextRef context, CGColor color) {
    if (context)
        context->state.fill = color;
}

void CGContextFillRect(CGContextRef context, CGRect rect) {
    if (!context)
        return;
    settle(*context);
    PixelRect r = coveredPixels(context->state, rect);
    if (r.empty())
        return;
    SpanColor color = prepareSpanColor(context->state.fill);
    for (int64_t y = r.y0; y < r.y1; ++y)
        blendSpanUniform(context->row(y) + 4 * r.x0, size_t(r.x1 - r.x0), color);
}

void CGContextClearRect(CGContextRef context, CGRect rect) {
    if (!context)
        return;
    settle(*context);
    PixelRect r = coveredPixels(context->state, rect);
    if (r.empty())
        return;
    for (int64_t y = r.y0; y < r.y1; ++y)
        std::memset(context->row(y) + 4 * r.x0, 0, size_t(r.x1 - r.x0) * 4);
}
