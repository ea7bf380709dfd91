// What the kept pictures (a screen's, a display's) share: points as pixels, rectangles of pixels
// merged, a whole new picture set against the last one band by band, and a part of a picture
// drawn again over itself, answering what really changed.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "uikit/UIScreenCanvas.h"

#include <cstddef>
#include <functional>
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
