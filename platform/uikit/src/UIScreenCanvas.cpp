#include "uikit/UIScreenCanvas.h"

#include "LayerRenderer.h"
#include "coregraphics/FloatToInteger.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIDirtyRegion.h"
#include "uikit/UIWindow.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>

namespace {

// Rows compared together when a whole new picture is set against the last one.
constexpr size_t kBand = 32;

int pixelsAcross(double points, double scale) {
    return points > 0 ? clampToInteger<int>(std::ceil(points * scale - 1e-9)) : 0;
}

uint32_t* pixelRow(cairo_surface_t* s, size_t y) {
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(s) +
                                       long(y) * cairo_image_surface_get_stride(s));
}

// A rectangle of points (window coordinates) as the pixels it touches, within the picture.
PixelRect pointsToPixels(CGRect r, double scale, size_t width, size_t height) {
    const double x0 = std::max(0.0, std::floor(r.origin.x * scale));
    const double y0 = std::max(0.0, std::floor(r.origin.y * scale));
    const double x1 = std::min(double(width), std::ceil(CGRectGetMaxX(r) * scale));
    const double y1 = std::min(double(height), std::ceil(CGRectGetMaxY(r) * scale));
    if (!(x1 > x0 && y1 > y0))
        return {};
    return {size_t(x0), size_t(y0), size_t(x1 - x0), size_t(y1 - y0)};
}

bool pixelRectsOverlap(const PixelRect& a, const PixelRect& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

PixelRect pixelRectUnion(const PixelRect& a, const PixelRect& b) {
    const size_t x = std::min(a.x, b.x), y = std::min(a.y, b.y);
    return {x, y, std::max(a.x + a.width, b.x + b.width) - x, std::max(a.y + a.height, b.y + b.height) - y};
}

// Overlapping rectangles become one, so no pixel is drawn or sent twice.
std::vector<PixelRect> disjointPixelRects(std::vector<PixelRect> rects) {
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

UIScreenCanvas::~UIScreenCanvas() {
    if (surface_)
        cairo_surface_destroy(surface_);
}

size_t UIScreenCanvas::width() const {
    return surface_ ? size_t(cairo_image_surface_get_width(surface_)) : 0;
}
size_t UIScreenCanvas::height() const {
    return surface_ ? size_t(cairo_image_surface_get_height(surface_)) : 0;
}

SnapshotImage UIScreenCanvas::pixels(PixelRect rect) const {
    if (!surface_)
        return {};
    return imageFromSurface(surface_, rect.x, rect.y, rect.width, rect.height);
}

SnapshotImage UIScreenCanvas::picture() const {
    return pixels({0, 0, width(), height()});
}

UIScreenCanvas::Changes UIScreenCanvas::draw(const id& window, double scale) {
    Changes changes;
    if (!window)
        return changes;
    msg(window, "layoutIfNeeded");
    auto* asWindow = dynamic_cast<UIWindow*>(window.get());
    const std::vector<Ref<UIAlertView>> alerts =
        asWindow ? asWindow->alerts() : std::vector<Ref<UIAlertView>>{};
    for (const auto& alert : alerts)
        msg(alert, "layoutIfNeeded");

    // The marks, in screen points; taken every time, so none is left for a later draw.
    std::vector<CGRect> marks = UIDirtyTake(*static_cast<UIView*>(window.get()));
    for (const auto& alert : alerts)
        for (const CGRect& r : UIDirtyTake(*alert))
            marks.push_back(r);

    const CGRect bounds = msg<CGRect>(window, "bounds");
    const CGRect frame = msg<CGRect>(window, "frame");
    const int w = pixelsAcross(bounds.size.width, scale), h = pixelsAcross(bounds.size.height, scale);
    bool sameAlerts = alerts.size() == alerts_.size();
    for (size_t i = 0; sameAlerts && i < alerts.size(); ++i)
        sameAlerts = alerts_[i].lock() == alerts[i];
    const bool fresh = !surface_ || window_.lock() != window || scale != scale_ || !sameAlerts ||
                       cairo_image_surface_get_width(surface_) != w ||
                       cairo_image_surface_get_height(surface_) != h;
    window_ = window;
    scale_ = scale;
    alerts_.assign(alerts.begin(), alerts.end());

    if (fresh) {
        cairo_surface_t* next = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        if (cairo_surface_status(next) == CAIRO_STATUS_SUCCESS && w > 0 && h > 0) {
            cairo_t* cr = cairo_create(next);
            cairo_scale(cr, scale, scale);
            paintScreen(cr, window, scale, alerts);
            cairo_destroy(cr);
            cairo_surface_flush(next);
        }
        changes.redrawnPixels = size_t(w) * size_t(h);
        const bool comparable = surface_ && cairo_image_surface_get_width(surface_) == w &&
                                cairo_image_surface_get_height(surface_) == h;
        if (comparable) {
            // Band by band, what differs from the last picture.
            for (size_t y = 0; y < size_t(h); y += kBand) {
                const PixelRect band{0, y, size_t(w), std::min(kBand, size_t(h) - y)};
                const PixelRect r = changedPixelsWithin(surfaceRows(surface_, 0), surfaceRows(next, 0), band);
                if (r.width == 0)
                    continue;
                if (!changes.rects.empty() && changes.rects.back().y + changes.rects.back().height == band.y)
                    changes.rects.back() = pixelRectUnion(changes.rects.back(), r);
                else
                    changes.rects.push_back(r);
            }
        } else {
            changes.whole = true;
            changes.rects.push_back(PixelRect{0, 0, size_t(w), size_t(h)});
        }
        if (surface_)
            cairo_surface_destroy(surface_);
        surface_ = next;
        return changes;
    }

    std::vector<PixelRect> areas;
    for (const CGRect& r : marks) {
        // Marks are in screen points; the picture starts at the window's origin.
        const PixelRect p =
            pointsToPixels(CGRectOffset(r, -frame.origin.x, -frame.origin.y), scale, size_t(w), size_t(h));
        if (p.width > 0)
            areas.push_back(p);
    }
    areas = disjointPixelRects(std::move(areas));
    if (areas.empty())
        return changes;

    // The old pixels of the areas, to tell what really changed.
    cairo_surface_flush(surface_);
    std::vector<std::vector<uint32_t>> before;
    for (const PixelRect& a : areas)
        before.push_back(copyPixelRect(surface_, a));

    cairo_t* cr = cairo_create(surface_);
    for (const PixelRect& a : areas) {
        cairo_rectangle(cr, double(a.x), double(a.y), double(a.width), double(a.height));
        changes.redrawnPixels += a.width * a.height;
    }
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_scale(cr, scale, scale);
    paintScreen(cr, window, scale, alerts);
    cairo_destroy(cr);
    cairo_surface_flush(surface_);

    for (size_t i = 0; i < areas.size(); ++i) {
        const PixelRect& a = areas[i];
        const uint32_t* saved = before[i].data();
        const RowsFrom old = [saved, a](size_t y) { return saved + (y - a.y) * a.width; };
        const PixelRect r = changedPixelsWithin(old, surfaceRows(surface_, a.x), a);
        if (r.width > 0)
            changes.rects.push_back(r);
    }
    return changes;
}
