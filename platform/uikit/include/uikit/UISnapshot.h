// Pictures of views: any view tree drawn as the screen would show it (layer backgrounds with
// alpha, rounded corners and borders, clipping, shadows, text, images, controls, and views that
// draw themselves in `drawRect:` through a bitmap context), at a scale of pixels per point.
// The tree is laid out first. `...Screen` draws a window and, over it, a dimming veil and the
// window's alerts (UIWindow::alerts). Writing answers false when the PNG cannot be written.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"

#include <cstdint>
#include <string>
#include <vector>

struct SnapshotImage {
    size_t width = 0;
    size_t height = 0;
    std::vector<uint8_t> rgba; // straight RGBA, rows top to bottom

    // The pixel at (x, y), components 0 to 255; transparent black outside the image.
    struct Pixel {
        int r = 0, g = 0, b = 0, a = 0;
    };
    Pixel at(size_t x, size_t y) const;
};

SnapshotImage UISnapshotRenderView(id view, double scale);
SnapshotImage UISnapshotRenderScreen(id window, double scale);
bool UISnapshotWriteView(id view, std::string hostPngPath, double scale);
bool UISnapshotWriteScreen(id window, std::string hostPngPath, double scale);

// A display of several windows: each drawn at its frame, bottom to top, then, when alerts are
// shown, a dimming veil over all and the alerts at their frames. `size` is the display's, in points.
struct UIAlertView;
SnapshotImage UISnapshotRenderWindows(const std::vector<id>& bottomToTop,
                                      const std::vector<Ref<UIAlertView>>& alerts, CGSize size, double scale);
bool UISnapshotWriteWindows(const std::vector<id>& bottomToTop, const std::vector<Ref<UIAlertView>>& alerts,
                            CGSize size, std::string hostPngPath, double scale);

// The area a view's tree draws into, in the view's own coordinates (laid out first): its bounds
// united with every shown subview's frame, except below a view whose layer masks to its bounds.
// A snapshot shows the bounds only; a caller that wants all of a page sizes the page to this.
CGRect UISnapshotDrawnRect(id view);
