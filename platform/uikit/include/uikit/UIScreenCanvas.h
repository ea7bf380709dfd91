// A screen's picture kept between draws and redrawn only where something changed: the marks
// gathered on the window and on the alerts over it (UIDirtyRegion.h) are redrawn, clipped, over
// the picture drawn last, drawing only the views that reach them. A new window, size or scale,
// or another set of alerts redraws all of it; then only the parts whose pixels differ count as
// changed. Either way the picture equals a full snapshot of the screen (UISnapshotRenderScreen).
#pragma once

#include "objc/runtime.h"
#include "uikit/UIDirtyRegion.h"
#include "uikit/UISnapshot.h"

#include <cstddef>
#include <memory>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

// A rectangle of pixels.
struct PixelRect {
    size_t x = 0, y = 0, width = 0, height = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

class UIScreenCanvas {
  public:
    UIScreenCanvas() = default;
    ~UIScreenCanvas();
    UIScreenCanvas(const UIScreenCanvas&) = delete;
    UIScreenCanvas& operator=(const UIScreenCanvas&) = delete;

    struct Changes {
        bool whole = false;           // a new picture: all of it is new (first draw, new size)
        std::vector<PixelRect> rects; // the parts whose pixels differ from the last picture
        size_t redrawnPixels = 0;     // the pixels drawn again to find them
    };
    // Draws what changed in the window (laid out first) since the last draw.
    Changes draw(const id& window, double scale);

    size_t width() const;
    size_t height() const;
    // Straight RGBA of a part of the picture, or of all of it.
    SnapshotImage pixels(PixelRect rect) const;
    SnapshotImage picture() const;

  private:
    cairo_surface_t* surface_ = nullptr;
    std::weak_ptr<Object> window_;
    std::vector<std::weak_ptr<Object>> alerts_;
    double scale_ = 0;
    UIDirtyReader reader_; // the marks this picture has not drawn yet
};
