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
    const bool sameAlerts = canvasSameAlerts(alerts_, alerts);
    const bool fresh = !surface_ || window_.lock() != window || scale != scale_ || !sameAlerts ||
                       cairo_image_surface_get_width(surface_) != w ||
                       cairo_image_surface_get_height(surface_) != h;
    window_ = window;
    scale_ = scale;
    alerts_.assign(alerts.begin(), alerts.end());

    const auto paint = [&](cairo_t* cr) { paintScreen(cr, window, scale, alerts); };
    if (fresh) {
        canvasRepaintWhole(surface_, w, h, scale, paint, changes);
        return changes;
    }

    changes.rects =
        canvasRedraw(surface_, canvasMarkedAreas(marks, frame.origin, scale, size_t(w), size_t(h)), scale,
                     paint, changes.redrawnPixels);
    return changes;
}
