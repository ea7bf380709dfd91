// The inner loops of painting: one layer color (or one color per pixel) composited onto a run
// of RGBA pixels (straight alpha, 8 bits a channel).
//
// Over an opaque pixel u a layer color c with alpha a gives c x a + u x (1 - a) per channel.
// That case is the hot one (every layer of a picker square lands on opaque pixels) and runs in
// 8.8 fixed point, eight channels at once: it is the correctly rounded result except when the
// exact value lies within 1/128 of a level of a rounding tie. Pixels that are not opaque take
// the general straight-alpha source-over in double precision.
#pragma once

#include "coregraphics/CGColor.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace cg {

// A layer color prepared for compositing.
struct SpanColor {
    CGColor color;      // clamped into [0, 1]
    uint8_t bytes[4];   // the color as stored when the layer is opaque
    uint16_t scaled[4]; // 65280 x c x a + 128 per channel (alpha: 65280 x a + 128)
    uint16_t keep;      // 65536 x (1 - a), at most 65535: the share of the pixel below
    bool opaque;        // a == 1: the pixel is replaced
    bool invisible;     // a == 0: the pixel is left alone
};

SpanColor prepareSpanColor(CGColor color);

// A fraction brought into [0, 1] (NaN counts as 0).
inline double unit(double v) {
    return v >= 0 ? (v <= 1 ? v : 1) : 0;
}
// Rounds a value known to lie in [0, 65535] to the nearest whole number (halves up).
inline uint32_t roundSmall(double v) {
    return uint32_t(v + 0.5);
}
// A fraction as one of the 256 levels of a channel.
inline uint8_t byteLevel(double fraction) {
    return uint8_t(roundSmall(unit(fraction) * 255));
}
// Every component brought into [0, 1].
inline CGColor clampedColor(CGColor c) {
    return {unit(c.r), unit(c.g), unit(c.b), unit(c.a)};
}
// The fixed-point form of a composite out = offset + factor x below (offset on the 0-255 scale,
// factor in [0, 1]): `scaled` and `keep` as in SpanColor.
inline uint16_t fixedScaled(double offset) {
    return uint16_t(roundSmall(256 * offset) + 128);
}
inline uint16_t fixedKeep(double factor) {
    return uint16_t(std::min<uint32_t>(65535, roundSmall(65536 * factor)));
}

// Copies n bytes of a row held in cache (memcpy's work): where the processor has AVX2 or
// AVX-512, 32 or 64 bytes a store at addresses that are multiples of that, so that no store
// straddles two cache lines.
void copyRow(uint8_t* target, const uint8_t* source, size_t n);
// Sets n pixels to one opaque color.
void fillSpan(uint8_t* pixels, size_t n, const uint8_t rgba[4]);
// Composites one color over n pixels.
void blendSpanUniform(uint8_t* pixels, size_t n, const SpanColor& color);

// Composites over n opaque pixels given in 8.8 fixed point (`fine`, four lanes a pixel, 256 x
// the 0-255 value) and stores the result in `target`: out = (below x keep / 65536 + scaled) / 256
// per channel, the form of SpanColor.
void mapFineSpan(uint8_t* target, const uint16_t* fine, size_t n, const uint16_t scaled[4], uint16_t keep);
// A fraction in [0, 1] in 8.8 fixed point on the 0-255 scale.
inline uint16_t fineLevel(double fraction) {
    return uint16_t(roundSmall(65280 * unit(fraction)));
}

// Per-pixel layer colors for a run, laid out for the composite loop (filled by the caller,
// one entry per pixel; `scaled` and `keep` hold four lanes per pixel).
struct SpanColors {
    const SpanColor* colors;
    const uint16_t* scaled; // 4 per pixel
    const uint16_t* keep;   // 4 per pixel (the same value in each lane)
};
// Stores pixel i's lanes of `color` into the arrays of a SpanColors.
void storeSpanLanes(uint16_t* scaled, uint16_t* keep, size_t i, const SpanColor& color);
// Composites colors.colors[i] over pixel i, for n pixels.
void blendSpanVarying(uint8_t* pixels, size_t n, const SpanColors& colors);

} // namespace cg
