#include "CanvasPixels.h"

#include "coregraphics/FloatToInteger.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Rows compared together when a whole new picture is set against the last one.
constexpr size_t kBand = 32;

uint32_t* pixelRow(cairo_surface_t* s, size_t y) {
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) +
                                       long(y) * cairo_image_surface_get_stride(s));
}

bool pixelRectsOverlap(const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

PixelRect pixelRectUnion(const PixelRect& a, const PixelRect& b) {
    const size_t x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    return {x, y, std::max(a.x + a.width, b.x + b.width) - x, std::max(a.y + a.height, b.y + b.height) - y};
}

// The rows of a picture from `area`'s left edge: a surface's, or a copy of the area alone.
using RowsFrom = std::function<const uint32_t*(size_t y)>;
RowsFrom surfaceRows(cairo_surface_t* s, size_t x) {
    return [s, x](size_t y) { return pixelRow(s, y) + x; };
}

// The smallest rectangle within `area` whose pixels differ between two pictures of it.
PixelRect changedPixelsWithin(const RowsFrom& before, const RowsFrom& after, const PixelRect& area) {
    size_t x0 = area.x + area.width, x1 = area.x, y0 = area.y + area.height, y1 = area.y;
    for (size_t y = area.y; y < area.y + area.height; ++y) {
        const uint32_t* a = before(y);
        const uint32_t* b = after(y);
        if (std::memcmp(a, b, area.width * 4) == 0)
            continue;
        size_t first = 0, last = area.width - 1;
        while (a[first] == b[first])
            ++first;
        while (a[last] == b[last])
            --last;
        x0 = std::min(x0, area.x + first);
        x1 = std::max(x1, area.x + last + 1);
        y0 = std::min(y0, y);
        y1 = y + 1;
    }
    if (x1 <= x0)
        return {};
    return {x0, y0, x1 - x0, y1 - y0};
}

// A copy of an area's pixels, row after row.
std::vector<uint32_t> copyPixelRect(cairo_surface_t* from, const PixelRect& r) {
    std::vector<uint32_t> copy(r.width * r.height);
    for (size_t y = 0; y < r.height; ++y)
        std::memcpy(&copy[y * r.width], pixelRow(from, r.y + y) + r.x, r.width * 4);
    return copy;
}

} // namespace

int canvasPixelsAcross(double points, double scale) {
    return points > 0 ? clampToInteger<int>(std::ceil(points * scale - 1e-9)) : 0;
}

PixelRect canvasPointsToPixels(CGRect r, double scale, size_t width, size_t height) {
    const double x0 = std::max(0.0, std::floor(r.origin.x * scale));
    const double y0 = std::max(0.0, std::floor(r.origin.y * scale));
    const double x1 = std::min(double(width), std::ceil(CGRectGetMaxX(r) * scale));
    const double y1 = std::min(double(height), std::ceil(CGRectGetMaxY(r) * scale));
    if (!(x1 > x0 && y1 > y0))
        return {};
    return {size_t(x0), size_t(y0), size_t(x1 - x0), size_t(y1 - y0)};
}

std::vector<PixelRect> canvasDisjointRects(std::vector<PixelRect> rects) {
    for (bool merged = true; merged;) {
        merged = false;
        for (size_t i = 0; i < rects.size() && !merged; ++i)
            for (size_t j = i + 1; j < rects.size() && !merged; ++j)
                if (pixelRectsOverlap(rects[i], rects[j])) {
                    rects[i] = pixelRectUnion(rects[i], rects[j]);
                    rects.erase(rects.begin() + long(j));
                    merged = true;
                }
    }
    return rects;
}

std::vector<PixelRect> canvasChangedBands(cairo_surface_t* last, cairo_surface_t* next) {
    std::vector<PixelRect> rects;
    const auto w = size_t(cairo_image_surface_get_width(next));
    const auto h = size_t(cairo_image_surface_get_height(next));
    cairo_surface_flush(last);
    cairo_surface_flush(next);
    for (size_t y = 0; y < h; y += kBand) {
        const PixelRect band{0, y, w, std::min(kBand, h - y)};
        const PixelRect r = changedPixelsWithin(surfaceRows(last, 0), surfaceRows(next, 0), band);
        if (r.width == 0)
            continue;
        if (!rects.empty() && rects.back().y + rects.back().height == band.y)
            rects.back() = pixelRectUnion(rects.back(), r);
        else
            rects.push_back(r);
    }
    return rects;
}

std::vector<PixelRect> canvasRedraw(cairo_surface_t* surface, const std::vector<PixelRect>& areas,
                                    double scale, const std::function<void(cairo_t*)>& paint,
                                    size_t& redrawn) {
    std::vector<PixelRect> changed;
    if (areas.empty())
        return changed;
    // The old pixels of the areas, to tell what really changed.
    cairo_surface_flush(surface);
    std::vector<std::vector<uint32_t>> before;
    for (const PixelRect& a : areas)
        before.push_back(copyPixelRect(surface, a));

    cairo_t* cr = cairo_create(surface);
    for (const PixelRect& a : areas) {
        cairo_rectangle(cr, double(a.x), double(a.y), double(a.width), double(a.height));
        redrawn += a.width * a.height;
    }
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_scale(cr, scale, scale);
    paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);

    for (size_t i = 0; i < areas.size(); ++i) {
        const PixelRect& a = areas[i];
        const uint32_t* saved = before[i].data();
        const RowsFrom old = [saved, a](size_t y) { return saved + (y - a.y) * a.width; };
        const PixelRect r = changedPixelsWithin(old, surfaceRows(surface, a.x), a);
        if (r.width > 0)
            changed.push_back(r);
    }
    return changed;
}

bool canvasSameAlerts(const std::vector<std::weak_ptr<Object>>& kept,
                      const std::vector<Ref<UIAlertView>>& alerts) {
    if (kept.size() != alerts.size())
        return false;
    for (size_t i = 0; i < alerts.size(); ++i)
        if (kept[i].lock() != alerts[i])
            return false;
    return true;
}

void canvasRepaintWhole(cairo_surface_t*& surface, int width, int height, double scale,
                        const std::function<void(cairo_t*)>& paint, UIScreenCanvas::Changes& changes) {
    cairo_surface_t* next = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    if (cairo_surface_status(next) == CAIRO_STATUS_SUCCESS && width > 0 && height > 0) {
        cairo_t* cr = cairo_create(next);
        cairo_scale(cr, scale, scale);
        paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(next);
    }
    changes.redrawnPixels = size_t(width) * size_t(height);
    const bool comparable = surface && cairo_image_surface_get_width(surface) == width &&
                            cairo_image_surface_get_height(surface) == height;
    if (comparable) {
        changes.rects = canvasChangedBands(surface, next);
    } else {
        changes.whole = true;
        changes.rects.push_back(PixelRect{0, 0, size_t(width), size_t(height)});
    }
    if (surface)
        cairo_surface_destroy(surface);
    surface = next;
}

std::vector<PixelRect> canvasMarkedAreas(const std::vector<CGRect>& marks, CGPoint origin, double scale,
                                         size_t width, size_t height) {
    std::vector<PixelRect> areas;
    for (const CGRect& r : marks) {
        const PixelRect p = canvasPointsToPixels(CGRectOffset(r, -origin.x, -origin.y), scale, width, height);
        if (p.width > 0)
            areas.push_back(p);
    }
    return canvasDisjointRects(std::move(areas));
}
