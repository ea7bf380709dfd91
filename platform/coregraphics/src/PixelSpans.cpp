#include "PixelSpans.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace cg {
namespace {

double unit(double v) { return v >= 0 ? (v <= 1 ? v : 1) : 0; } // NaN gives 0
uint8_t level(double fraction) { return uint8_t(std::lround(unit(fraction) * 255)); }

// The fixed-point composite of one channel over an opaque pixel (see the header).
inline uint8_t blendChannel(uint8_t below, uint16_t scaled, uint16_t keep) {
    uint32_t kept = ((uint32_t(below) << 8) * keep) >> 16;
    return uint8_t((kept + scaled) >> 8);
}

// Source-over in straight alpha for a pixel that is not opaque.
void blendGeneral(uint8_t* px, const CGColor& c) {
    double below = px[3] / 255.0;
    double outAlpha = c.a + below * (1 - c.a);
    if (outAlpha <= 0) {
        std::memset(px, 0, 4);
        return;
    }
    const double layer[3] = {c.r, c.g, c.b};
    for (int ch = 0; ch < 3; ++ch) {
        double value = (layer[ch] * c.a + px[ch] / 255.0 * below * (1 - c.a)) / outAlpha;
        px[ch] = level(value);
    }
    px[3] = level(outAlpha);
}

inline void blendPixel(uint8_t* px, const SpanColor& c, const uint16_t* scaled, uint16_t keep) {
    if (px[3] == 255) {
        for (int ch = 0; ch < 4; ++ch) px[ch] = blendChannel(px[ch], scaled[ch], keep);
    } else {
        blendGeneral(px, c.color);
    }
}

#if defined(__SSE2__)
// Four pixels at once when all four are opaque; false (nothing written) otherwise.
inline bool blendFourOpaque(uint8_t* px, __m128i scaledLo, __m128i scaledHi, __m128i keepLo, __m128i keepHi) {
    const __m128i colorBytes = _mm_set1_epi32(0x00FFFFFF);
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px));
    __m128i alphaFull = _mm_cmpeq_epi8(_mm_or_si128(v, colorBytes), _mm_set1_epi32(-1));
    if (_mm_movemask_epi8(alphaFull) != 0xFFFF) return false;
    const __m128i zero = _mm_setzero_si128();
    __m128i lo = _mm_unpacklo_epi8(zero, v); // each channel << 8
    __m128i hi = _mm_unpackhi_epi8(zero, v);
    lo = _mm_srli_epi16(_mm_add_epi16(_mm_mulhi_epu16(lo, keepLo), scaledLo), 8);
    hi = _mm_srli_epi16(_mm_add_epi16(_mm_mulhi_epu16(hi, keepHi), scaledHi), 8);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(px), _mm_packus_epi16(lo, hi));
    return true;
}
#endif

} // namespace

SpanColor prepareSpanColor(CGColor color) {
    SpanColor s{};
    s.color = {unit(color.r), unit(color.g), unit(color.b), unit(color.a)};
    const double a = s.color.a;
    const double rgb[3] = {s.color.r, s.color.g, s.color.b};
    s.opaque = a >= 1;
    s.invisible = a <= 0;
    for (int ch = 0; ch < 3; ++ch) s.bytes[ch] = level(rgb[ch]);
    s.bytes[3] = level(a);
    if (s.opaque) {
        s.keep = 0;
        for (int ch = 0; ch < 4; ++ch) s.scaled[ch] = uint16_t(s.bytes[ch] * 256 + 128);
    } else {
        s.keep = uint16_t(std::min(65535L, std::lround(65536 * (1 - a))));
        for (int ch = 0; ch < 3; ++ch) s.scaled[ch] = uint16_t(std::lround(65280 * rgb[ch] * a) + 128);
        s.scaled[3] = uint16_t(std::lround(65280 * a) + 128);
    }
    return s;
}

void fillSpan(uint8_t* pixels, size_t n, const uint8_t rgba[4]) {
    if (n == 0) return;
    std::memcpy(pixels, rgba, 4);
    // Doubling copies: memcpy's wide stores do the work.
    size_t done = 1;
    while (done < n) {
        size_t count = std::min(done, n - done);
        std::memcpy(pixels + 4 * done, pixels, 4 * count);
        done += count;
    }
}

void blendSpanUniform(uint8_t* pixels, size_t n, const SpanColor& color) {
    if (color.invisible) return;
    if (color.opaque) {
        fillSpan(pixels, n, color.bytes);
        return;
    }
    size_t i = 0;
#if defined(__SSE2__)
    const uint16_t* s = color.scaled;
    const __m128i scaled = _mm_setr_epi16(short(s[0]), short(s[1]), short(s[2]), short(s[3]), short(s[0]),
                                          short(s[1]), short(s[2]), short(s[3]));
    const __m128i keep = _mm_set1_epi16(short(color.keep));
    for (; i + 4 <= n; i += 4) {
        uint8_t* px = pixels + 4 * i;
        if (blendFourOpaque(px, scaled, scaled, keep, keep)) continue;
        for (int k = 0; k < 4; ++k) blendPixel(px + 4 * k, color, color.scaled, color.keep);
    }
#endif
    for (; i < n; ++i) blendPixel(pixels + 4 * i, color, color.scaled, color.keep);
}

void storeSpanLanes(uint16_t* scaled, uint16_t* keep, size_t i, const SpanColor& color) {
    for (int ch = 0; ch < 4; ++ch) {
        scaled[4 * i + ch] = color.scaled[ch];
        keep[4 * i + ch] = color.keep;
    }
}

void blendSpanVarying(uint8_t* pixels, size_t n, const SpanColors& colors) {
    size_t i = 0;
#if defined(__SSE2__)
    for (; i + 4 <= n; i += 4) {
        uint8_t* px = pixels + 4 * i;
        const auto* s = reinterpret_cast<const __m128i*>(colors.scaled + 4 * i);
        const auto* k = reinterpret_cast<const __m128i*>(colors.keep + 4 * i);
        if (blendFourOpaque(px, _mm_loadu_si128(s), _mm_loadu_si128(s + 1), _mm_loadu_si128(k),
                            _mm_loadu_si128(k + 1)))
            continue;
        for (size_t j = i; j < i + 4; ++j)
            blendPixel(pixels + 4 * j, colors.colors[j], colors.scaled + 4 * j, colors.keep[4 * j]);
    }
#endif
    for (; i < n; ++i) blendPixel(pixels + 4 * i, colors.colors[i], colors.scaled + 4 * i, colors.keep[4 * i]);
}

} // namespace cg
