// What the kept pictures (a screen's, a display's) share: points as pixels, rectangles of pixels
// merged, a whole new picture set against the last one band by band, and a part of a picture
// drawn again over itself, answering what really changed.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "uikit/UIAlertView.h"
#include "uikit/UIScreenCanvas.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

// Pixels across a length in points (what a surface of that many points holds).
int canvasPixelsAcross(double points, double scale);

// A rectangle of points as the pixels it touches, within a picture of `width` x `height`.
PixelRect canvasPointsToPixels(CGRect r, double scale, size_t width, size_t height);

// Overlapping rectangles become one, so no pixel is drawn or sent twice.
std::vector<PixelRect> canvasDisjointRects(std::vector<PixelRect> rects);

// The parts of `next` that differ from `last` (pictures of one size), found band by band; bands
// changed one after the other make one rectangle.
std::vector<PixelRect> canvasChangedBands(cairo_surface_t* last, cairo_surface_t* next);

// Clears the areas of the surface and draws them again with `paint` (user space scaled to
// points, clipped to the areas), answering the parts whose pixels now differ and adding the
// pixels drawn to `redrawn`.
std::vector<PixelRect> canvasRedraw(cairo_surface_t* surface, const std::vector<PixelRect>& areas,
                                    double scale, const std::function<void(cairo_t*)>& paint,
                                    size_t& redrawn);

// Whether `alerts` are the alerts `kept` held, in the same order (a new set redraws the picture
// whole: the dimming veil under them covers it all).
bool canvasSameAlerts(const std::vector<std::weak_ptr<Object>>& kept,
                      const std::vector<Ref<UIAlertView>>& alerts);

// Draws a whole new picture of `width` x `height` pixels with `paint` (user space scaled to
// points) in place of `surface` (none at first), and answers in `changes` what differs from the
// last picture: the bands that changed, or the whole picture when there was none of that size.
void canvasRepaintWhole(cairo_surface_t*& surface, int width, int height, double scale,
                        const std::function<void(cairo_t*)>& paint, UIScreenCanvas::Changes& changes);

// Marks (rectangles of points, the picture's origin at `origin`) as the disjoint pixel areas they
// touch within a picture of `width` x `height`.
std::vector<PixelRect> canvasMarkedAreas(const std::vector<CGRect>& marks, CGPoint origin, double scale,
                                         size_t width, size_t height);
