// A display's picture (its windows composited, the alerts over them: UISnapshotRenderWindows)
// kept between draws and redrawn only where something changed: the marks gathered on each
// window and on each alert (UIDirtyRegion.h), and the area of a window that came, went or
// moved (what its tree covered and what it covers now). Those areas are drawn again, clipped, with
// every window that reaches them, over the picture drawn last. A new size or scale, another set
// of alerts (the veil dims all), or windows whose order changed redraw all of it; then only the
// parts whose pixels differ count as changed. Either way the picture equals a full rendering of
// the display.
#pragma once

#include "objc/runtime.h"
#include "uikit/UIDirtyRegion.h"
#include "uikit/UIScreenCanvas.h"

#include <memory>
#include <vector>

struct UIAlertView;

class UIDisplayCanvas {
  public:
    UIDisplayCanvas() = default;
    ~UIDisplayCanvas();
    UIDisplayCanvas(const UIDisplayCanvas&) = delete;
    UIDisplayCanvas& operator=(const UIDisplayCanvas&) = delete;

    // Draws what changed on the display since the last draw: the shown windows bottom to top
    // (each laid out first), the alerts over them, `size` in points.
    UIScreenCanvas::Changes draw(const std::vector<id>& bottomToTop,
                                 const std::vector<Ref<UIAlertView>>& alerts, CGSize size, double scale);

    size_t width() const;
    size_t height() const;
    // Straight RGBA of a part of the picture, or of all of it.
    SnapshotImage pixels(PixelRect rect) const;
    SnapshotImage picture() const;

  private:
    struct Shown {
        std::weak_ptr<Object> window;
        CGRect frame;
        CGRect covered; // what its tree draws into (its frame, and what reaches past it)
    };
    // The areas of windows that came, went or moved, in points; false when their order changed.
    bool windowChanges(const std::vector<id>& bottomToTop, std::vector<CGRect>& areas) const;

    cairo_surface_t* surface_ = nullptr;
    std::vector<Shown> windows_;
    std::vector<std::weak_ptr<Object>> alerts_;
    double scale_ = 0;
    UIDirtyReader reader_; // the marks this picture has not drawn yet
};
