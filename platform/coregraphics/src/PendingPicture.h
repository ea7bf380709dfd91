// Drawing held back: an opaque layer that varies across (one row of colors, the same in every
// row) with layers that are one color a row laid over it. Over an opaque pixel each such layer
// is an affine map of every channel, so the whole stack of a row composes into one map, and
// the rows are written once, from the one row of colors, when the picture is needed. Nothing is
// read back from the pixels and nothing is rounded between the layers. A row that no layer
// joined is a copy of the stored row, so the unrounded row is worked out only once a layer joins.
#pragma once

#include "GradientRow.h"
#include "PixelSpans.h"

#include <cstdint>
#include <vector>

struct CGContext;

namespace cg {

// out = offset + factor x below, per channel on the 0-255 scale, for an opaque pixel below.
struct RowMap {
    double offset[4] = {0, 0, 0, 0};
    double factor = 1;
    bool identity() const { return factor == 1 && !offset[0] && !offset[1] && !offset[2] && !offset[3]; }
    // This map followed by a layer of the given (clamped) color.
    void then(const CGColor& layer) {
        const double keep = 1 - layer.a;
        offset[0] = 255 * layer.r * layer.a + keep * offset[0];
        offset[1] = 255 * layer.g * layer.a + keep * offset[1];
        offset[2] = 255 * layer.b * layer.a + keep * offset[2];
        offset[3] = 255 * layer.a + keep * offset[3];
        factor *= keep;
    }
};

struct PendingPicture {
    bool active = false;
    int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0; // the pixels it covers
    std::vector<uint8_t> pattern;           // one opaque row for columns [x0, x1), as stored
    std::vector<uint16_t> fine;             // the same row unrounded (8.8 fixed point)
    std::vector<RowMap> rows;               // one per row [y0, y1)
    // Whether `fine` holds the row; when it does not, the gradient it is worked out from: its
    // line, its stops and its positions at columns [x0, x1) (from positions[first]).
    bool fineReady = false;
    RowLine line{};
    size_t first = 0;
    std::vector<CGFloat> positions, at;
    std::vector<CGColor> colors;
};

// Starts a held-back picture: `colors` (count opaque colors) for columns [x, x + count) in
// every row of [y0, y1). Whatever was held back before is written first.
void holdPattern(CGContext& ctx, const SpanColor* colors, int64_t x, size_t count, int64_t y0, int64_t y1);
// Room for the positions of a gradient across, one per column of the context, once whatever was
// held back before is written.
CGFloat* gradientPositions(CGContext& ctx);
// Starts a held-back picture of an opaque gradient across (see GradientRow.h) over columns
// [x, x + count), all painted, in every row of [y0, y1); their positions are in
// gradientPositions(ctx), from index `first` on.
void holdGradient(CGContext& ctx, const RowLine& line, const RowStops& stops, size_t first, int64_t x,
                  size_t count, int64_t y0, int64_t y1);
// Whether a layer over columns [x0, x1) and rows [y0, y1) can join the held-back picture.
bool canJoin(const CGContext& ctx, int64_t x0, int64_t x1, int64_t y0, int64_t y1);
// Writes the held-back picture into the pixels (nothing when there is none).
void settle(CGContext& ctx);

} // namespace cg
