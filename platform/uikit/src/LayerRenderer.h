// Draws a layer tree (a view's layer with its sublayers and subviews) with Cairo, in the
// current user space of the context: the root at its own origin, everything else at its frame.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"

#include <array>
#include <cstdint>
#include <vector>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
struct CALayer;
struct UIAlertView;
struct SnapshotImage;

// `scale` is the pixels per point of the target, so drawRect: bitmaps and shadows match it.
void renderLayerTree(cairo_t* cr, const id& layer, double scale, bool placeAtFrame);

// The area a layer tree draws into, in the root's own (bounds) coordinates: the root's bounds
// united with the frames of every shown sublayer and subview, except below a layer that masks
// to its bounds.
CGRect layerTreeDrawnRect(const id& layer);

// What a shown layer tree covers, in its parent's coordinates (CGRectNull when it is not shown):
// each shown layer's frame, or with `withOwnMargins` what it draws of its own around the frame
// (layerOwnExtent), with its sublayers unless it masks to its bounds.
CGRect layerTreeExtentInParent(const CALayer& layer, bool withOwnMargins);

// What a layer draws of its own around `frame` (in its parent's coordinates): its box with the
// antialiased edge, its border and its shadow (defined beside the dirty marks, which cover it).
CGRect layerOwnExtent(const CALayer& layer, CGRect frame);

// A window (or any root view) as the screen shows it, laid out already: its tree and, when
// alerts are given, the dimming veil and the alerts over it.
void paintScreen(cairo_t* cr, const id& view, double scale, const std::vector<Ref<UIAlertView>>& alerts);

// A display of windows (laid out already), each at its frame, bottom to top, then, when alerts
// are shown, the dimming veil over all and the alerts at their frames.
void paintDisplay(cairo_t* cr, const std::vector<id>& bottomToTop,
                  const std::vector<Ref<UIAlertView>>& alerts, double scale);

// The straight value of each premultiplied channel value, by alpha: [a][c] is round(c * 255 / a)
// (in 8 bits), 0 where a is 0. Made once, on first use.
using UnpremultiplyTable = std::array<std::array<uint8_t, 256>, 256>;
const UnpremultiplyTable& unpremultiplyTable();

// Straight RGBA of a part of an ARGB32 surface (premultiplied), in pixels.
SnapshotImage imageFromSurface(cairo_surface_t* surface, size_t x, size_t y, size_t width, size_t height);
