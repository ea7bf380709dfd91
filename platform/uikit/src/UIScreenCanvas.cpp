#include "uikit/UIScreenCanvas.h"

#include "CanvasPixels.h"
#include "LayerRenderer.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIDirtyRegion.h"
#include "uikit/UIWindow.h"

#include <cairo.h>

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
    std::vector<CGRect> marks = UIDirtyTake(*static_cast<UIView*>(window.get()), reader_);
    for (const auto& alert : alerts)
        for (const CGRect& r : UIDirtyTake(*alert, reader_))
            marks.push_back(r);

    const CGRect bounds = msg<CGRect>(window, "bounds");
    const CGRect frame = msg<CGRect>(window, "frame");
    const int w = canvasPixelsAcross(bounds.size.width, scale),
              h = canvasPixelsAcross(bounds.size.height, scale);
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
            changes.rects = canvasChangedBands(surface_, next);
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
        const PixelRect p = canvasPointsToPixels(CGRectOffset(r, -frame.origin.x, -frame.origin.y), scale,
                                                 size_t(w), size_t(h));
        if (p.width > 0)
            areas.push_back(p);
    }
    changes.rects = canvasRedraw(
        surface_, canvasDisjointRects(std::move(areas)), scale,
        [&](cairo_t* cr) { paintScreen(cr, window, scale, alerts); }, changes.redrawnPixels);
    return changes;
}
