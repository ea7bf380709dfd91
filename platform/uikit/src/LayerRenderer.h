// Draws a layer tree (a view's layer with its sublayers and subviews) with Cairo, in the
// current user space of the context: the root at its own origin, everything else at its frame.
#pragma once

#include "objc/runtime.h"

typedef struct _cairo cairo_t;

// `scale` is the pixels per point of the target, so drawRect: bitmaps and shadows match it.
void renderLayerTree(cairo_t* cr, const id& layer, double scale, bool placeAtFrame);
