// What a bitmap context holds: its pixels, its graphics state and its saved states, and scratch
// rows reused by every draw so that painting allocates nothing once a context has drawn.
#pragma once

#include "PendingPicture.h"
#include "PixelSpans.h"
#include "coregraphics/CGContext.h"

#include <cstdint>
#include <vector>

namespace cg {

// Pixels [x0, x1) x [y0, y1).
struct PixelRect {
    int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    bool empty() const { return x1 <= x0 || y1 <= y0; }
};

struct GState {
    // device = user x scale + translation
    CGFloat sx = 1, sy = 1, tx = 0, ty = 0;
    PixelRect clip;
    CGColor fill{0, 0, 0, 1};
};

// Pixel columns (or rows) whose centers lie in [lo, hi) in device space.
void centeredRange(CGFloat lo, CGFloat hi, int64_t limit, int64_t& first, int64_t& end);
// The pixels whose centers lie in the rectangle (user space), within the clip.
PixelRect coveredPixels(const GState& state, CGRect rect);

} // namespace cg

struct CGContext {
    size_t width = 0, height = 0;
    std::vector<uint8_t> pixels;
    cg::GState state;
    std::vector<cg::GState> saved;
    cg::PendingPicture pending; // drawing held back until the pixels are needed

    // Scratch for one row of per-pixel layer colors.
    std::vector<cg::SpanColor> rowColors;
    std::vector<uint16_t> rowScaled, rowKeep;

    uint8_t* row(int64_t y) { return pixels.data() + size_t(y) * width * 4; }
    void reserveRow() {
        if (rowColors.size() >= width)
            return;
        rowColors.resize(width);
        rowScaled.resize(width * 4);
        rowKeep.resize(width * 4);
    }
};
