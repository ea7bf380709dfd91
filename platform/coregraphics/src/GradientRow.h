// The row of an opaque gradient across, worked out several columns at a time. Every column takes
// the same arithmetic, in the same order, as the one-column-at-a-time code (CGGradientColorAt,
// then byteLevel and fineLevel), and no multiply is fused with an add, so the bytes are the same
// whichever width of vector the processor offers.
#pragma once

#include "coregraphics/CGColor.h"

#include <cstddef>
#include <cstdint>

namespace cg {

// How many columns a step: one (the plain loop), two (SSE2, every x86-64 processor), four (AVX2)
// or eight (AVX-512), where the processor has them.
enum class RowVectors { One, Two, Four, Eight };

// The widest the processor runs (checked once).
RowVectors widestRowVectors();

// The line of a gradient across, as a function of the pixel column: its position at column c is
// ((((c + 0.5) - tx) / sx - startX) * dx + rest) / length2, where rest is the vertical term
// ((start.y - start.y) x dy).
struct RowLine {
    CGFloat tx, sx, startX, dx, rest, length2;
    bool before, after; // painted before the start, after the end
    // Whether a position is painted.
    bool paints(CGFloat s) const;
};

// Positions of columns [x0, x0 + n) into s.
void rowPositions(const RowLine& line, int64_t x0, size_t n, CGFloat* s, RowVectors vectors);

// A gradient's stops: count locations in ascending order with their colors, all opaque.
struct RowStops {
    const CGFloat* at;
    const CGColor* colors;
    size_t count;
};

// The colors at positions s[0..n), as stored (4 bytes a column: red, green, blue, and 255 where
// painted, else all 0) and, when fine is not null, in 8.8 fixed point (4 lanes a column).
void opaqueRow(const RowLine& line, const RowStops& stops, const CGFloat* s, size_t n, uint8_t* pattern,
               uint16_t* fine, RowVectors vectors);

} // namespace cg
