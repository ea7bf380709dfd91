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
    const bool sameAlerts = canvasSameAlerts(alerts_, alerts);
    const bool sameOrder = windowChanges(bottomToTop, marks);
    const bool fresh = !surface_ || scale != scale_ || !sameAlerts || !sameOrder ||
                       cairo_image_surface_get_width(surface_) != w ||
                       cairo_image_surface_get_height(surface_) != h;
    scale_ = scale;
    alerts_.assign(alerts.begin(), alerts.end());
    windows_.clear();
    for (const id& window : bottomToTop)
        windows_.push_back({window, msg<CGRect>(window, "frame"), coveredBy(window)});

    const auto paint = [&](cairo_t* cr) { paintDisplay(cr, bottomToTop, alerts, scale); };
    if (fresh) {
        canvasRepaintWhole(surface_, w, h, scale, paint, changes);
        return changes;
    }

    changes.rects = canvasRedraw(surface_, canvasMarkedAreas(marks, CGPointZero, scale, size_t(w), size_t(h)),
                                 scale, paint, changes.redrawnPixels);
    return changes;
}
