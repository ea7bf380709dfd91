// What must be redrawn. A layer (or the view it backs) that changes how it looks marks the area
// it covers, before and after the change, as UIKit does for a frame, visibility or content
// change: its own box with its shadow and border, and its sublayers unless it clips them. The
// marks gather on the top of its tree, a window or an alert shown over one, in that root's
// superview space (screen points), until the renderer takes them. A tree that is not under a
// window or an alert keeps no marks: adding it to one marks all it covers.
//
// Several renderers may draw the same root (a screen's own picture and the display that shows
// its window among others): each reads through a reader of its own and takes every mark once,
// whatever the others took. One reader is always there, for UIDirtyTake without a reader.
#pragma once

#include "coregraphics/CGGeometry.h"

#include <cstddef>
#include <vector>

struct CALayer;
struct UIView;

// The whole drawing of the layer's tree, as it is now.
void UIDirtyMarkLayerTree(CALayer& layer);
// A rectangle in the layer's own (bounds) coordinates.
void UIDirtyMarkLayerRect(CALayer& layer, CGRect rect);
// The area the layer's tree draws into, in its superlayer's coordinates (CGRectNull when it draws
// nothing): what a mark covers.
CGRect UIDirtyLayerTreeExtent(const CALayer& layer);
// Takes the marks gathered on a root view (and clears them): a few rectangles in the root's
// superview space, overlapping ones merged.
std::vector<CGRect> UIDirtyTake(const UIView& root);

// A reader of the marks: it sees the marks made while it exists, until it takes them.
class UIDirtyReader {
  public:
    UIDirtyReader();
    ~UIDirtyReader();
    UIDirtyReader(const UIDirtyReader&) = delete;
    UIDirtyReader& operator=(const UIDirtyReader&) = delete;
    size_t slot() const { return slot_; }

  private:
    size_t slot_;
};
std::vector<CGRect> UIDirtyTake(const UIView& root, const UIDirtyReader& reader);
