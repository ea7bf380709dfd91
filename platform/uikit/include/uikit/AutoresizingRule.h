// How a view follows its parent's size change along one axis, by UIKit's rule: the change is
// shared among the flexible parts (leading margin, size, trailing margin) in proportion to
// their lengths before the change; when those lengths add up to nothing, in equal shares.
// Parts that are not flexible keep their length. Pure arithmetic, no views.
#pragma once

struct AxisExtent {
    double origin = 0; // the view's leading edge in the parent
    double length = 0; // the view's width or height
};

struct AxisFlexibility {
    bool leadingMargin = false;
    bool size = false;
    bool trailingMargin = false;
};

AxisExtent resizeAlongAxis(AxisExtent view, AxisFlexibility flexible, double oldParentLength,
                           double newParentLength);
