#include "uikit/UIDisplayCanvas.h"

#include "CanvasPixels.h"
#include "LayerRenderer.h"
#include "uikit/CALayer.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIView.h"

#include <cairo.h>

#include <algorithm>

UIDisplayCanvas::~UIDisplayCanvas() {
    if (surface_)
        cairo_surface_destroy(surface_);
}

size_t UIDisplayCanvas::width() const {
    return surface_ ? size_t(cairo_image_surface_get_width(surface_)) : 0;
}
size_t UIDisplayCanvas::height() const {
    return surface_ ? size_t(cairo_image_surface_get_height(surface_)) : 0;
}

SnapshotImage UIDisplayCanvas::pixels(PixelRect rect) const {
    if (!surface_)
        return {};
    return imageFromSurface(surface_, rect.x, rect.y, rect.width, rect.height);
}

SnapshotImage UIDisplayCanvas::picture() const {
    return pixels({0, 0, width(), height()});
}

namespace {

CGRect coveredBy(const id& window) {
    return UIDirtyLayerTreeExtent(*cast<CALayer>(msg<id>(window, "layer")));
}

} // namespace

bool UIDisplayCanvas::windowChanges(const std::vector<id>& bottomToTop, std::vector<CGRect>& areas) const {
    // The windows shown both times, in the order of each: the same when nothing was restacked.
    std::vector<const Object*> keptBefore, keptNow;
    auto shownBefore = [&](const id& w) {
        return std::any_of(windows_.begin(), windows_.end(),
                           [&](const Shown& s) { return s.window.lock() == w; });
    };
    for (const Shown& s : windows_) {
        const std::shared_ptr<Object> w = s.window.lock();
        const bool still = w && std::any_of(bottomToTop.begin(), bottomToTop.end(),
                                            [&](const id& now) { return now.get() == w.get(); });
        if (still)
            keptBefore.push_back(w.get());
        else
            areas.push_back(s.covered); // gone (or freed): what it covered shows what is under it
    }
    for (const id& w : bottomToTop) {
        const CGRect frame = msg<CGRect>(w, "frame");
        if (!shownBefore(w)) {
            areas.push_back(coveredBy(w));
            continue;
        }
        keptNow.push_back(w.get());
        for (const Shown& s : windows_)
            if (s.window.lock() == w && !CGRectEqualToRect(s.frame, frame)) {
                areas.push_back(s.covered);
                areas.push_back(coveredBy(w));
            }
    }
    return keptBefore == keptNow;
}

UIScreenCanvas::Changes UIDisplayCanvas::draw(const std::vector<id>& bottomToTop,
                                              const std::vector<Ref<UIAlertView>>& alerts, CGSize size,
                                              double scale) {
    UIScreenCanvas::Changes changes;
    for (const id& w : bottomToTop)
        msg(w, "layoutIfNeeded");
    for (const auto& alert : alerts)
        msg(alert, "layoutIfNeeded");

    // The marks, in display points; taken every time, so none is left for a later draw.
    std::vector<CGRect> marks;
    for (const id& w : bottomToTop)
        for (const CGRect& r : UIDirtyTake(*static_cast<UIView*>(w.get()), reader_))
            marks.push_back(r);
    for (const auto& alert : alerts)
        for (const CGRect& r : UIDirtyTake(*alert, reader_))
            marks.push_back(r);

    const int w = canvasPixelsAcross(size.width, scale), h = canvasPixelsAcross(size.height, scale);
    bool sameAlerts = alerts.size() == alerts_.size();
    for (size_t i = 0; sameAlerts && i < alerts.size(); ++i)
        sameAlerts = alerts_[i].lock() == alerts[i];
    const bool sameOrder = windowChanges(bottomToTop, marks);
    const bool fresh = !surface_ || scale != scale_ || !sameAlerts || !sameOrder ||
                       cairo_image_surface_get_width(surface_) != w ||
                       cairo_image_surface_get_height(surface_) != h;
    scale_ = scale;
    alerts_.assign(alerts.begin(), alerts.end());
    windows_.clear();
    for (const id& window : bottomToTop)
        windows_.push_back({window, msg<CGRect>(window, "frame"), coveredBy(window)});

    if (fresh) {
        cairo_surface_t* next = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
        if (cairo_surface_status(next) == CAIRO_STATUS_SUCCESS && w > 0 && h > 0) {
            cairo_t* cr = cairo_create(next);
            cairo_scale(cr, scale, scale);
            paintDisplay(cr, bottomToTop, alerts, scale);
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
        const PixelRect p = canvasPointsToPixels(r, scale, size_t(w), size_t(h));
        if (p.width > 0)
            areas.push_back(p);
    }
    changes.rects = canvasRedraw(
        surface_, canvasDisjointRects(std::move(areas)), scale,
        [&](cairo_t* cr) { paintDisplay(cr, bottomToTop, alerts, scale); }, changes.redrawnPixels);
    return changes;
}
