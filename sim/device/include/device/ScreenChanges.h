// What changed on a screen since a front end last asked: the rectangles of pixels that differ
// from the picture it was given, each with its new pixels. Laid over the last picture in any
// order (they do not overlap), they make the screen's picture as `Device::render` draws it.
#pragma once

#include "uikit/UIScreenCanvas.h"
#include "uikit/UISnapshot.h"

#include <cstdint>
#include <vector>

namespace sim {

struct ScreenTile {
    PixelRect rect;      // where, in the screen's pixels
    SnapshotImage image; // its pixels, straight RGBA, rect.width x rect.height
};

struct ScreenChanges {
    uint64_t version = 0;          // grows with every change
    bool whole = false;            // a new picture (first, or a new size): one tile covers it
    size_t width = 0, height = 0;  // the picture's size in pixels
    std::vector<ScreenTile> tiles; // none when nothing changed
    size_t redrawnPixels = 0;      // the pixels drawn again to find them
};

} // namespace sim
