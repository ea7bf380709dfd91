// What a gradient holds: its stops in ascending order of location, and what drawing decides
// about it once rather than for every pixel.
#pragma once

#include "coregraphics/CGGradient.h"

#include <vector>

struct CGGradient {
    std::vector<CGFloat> locations; // ascending
    std::vector<CGColor> colors;
    // Every stop has the same alpha, at least 1, and every location is finite: every color
    // along the gradient is opaque.
    bool opaqueThroughout = false;
};
