// Draws a layer tree (a view's layer with its sublayers and subviews) with Cairo, in the
// current user space of the context: the root at its own origin, everything else at its frame.
#pragma once

#include "coregraphics/CoreGraphics.h"
#include "objc/runtime.h"

typedef struct _cairo cairo_t;

// `scale` is the pixels per point of the target, so drawRect: bitmaps and shadows match it.
void renderLayerTree(cairo_t* cr, const id& layer, double scale, bool placeAtFrame);

// The area a layer tree draws into, in the root's own (bounds) coordinates: the root's bounds
// united with the frames of every shown sublayer and subview, except below a layer that masks
// to its bounds.
CGRect layerTreeDrawnRect(const id& layer);
