#include "PixelSpans.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define HM_HAVE_AVX2_PATH 1
#endif

namespace cg {
namespace {

uint8_t level(double fraction) {
    return byteLevel(fraction);
}

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
        for (int ch = 0; ch < 4; ++ch)
            px[ch] = blendChannel(px[ch], scaled[ch], keep);
    } else {
        blendGeneral(px, c.color);
    }
}

#if defined(__SSE2__)
// The fixed-point composite of four opaque pixels.
inline __m128i mapFour(__m128i v, __m128i scaledLo, __m128i scaledHi, __m128i keepLo, __m128i keepHi) {
    const __m128i zero = _mm_setzero_si128();
    __m128i lo = _mm_unpacklo_epi8(zero, v); // each channel << 8
    __m128i hi = _mm_unpackhi_epi8(zero, v);
    lo = _mm_srli_epi16(_mm_add_epi16(_mm_mulhi_epu16(lo, keepLo), scaledLo), 8);
    hi = _mm_srli_epi16(_mm_add_epi16(_mm_mulhi_epu16(hi, keepHi), scaledHi), 8);
    return _mm_packus_epi16(lo, hi);
}

// Four pixels at once when all four are opaque; false (nothing written) otherwise.
inline bool blendFourOpaque(uint8_t* px, __m128i scaledLo, __m128i scaledHi, __m128i keepLo, __m128i keepHi) {
    const __m128i colorBytes = _mm_set1_epi32(0x00FFFFFF);
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(px));
    __m128i alphaFull = _mm_cmpeq_epi8(_mm_or_si128(v, colorBytes), _mm_set1_epi32(-1));
    if (_mm_movemask_epi8(alphaFull) != 0xFFFF)
        return false;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(px), mapFour(v, scaledLo, scaledHi, keepLo, keepHi));
    return true;
}

inline __m128i laneSet(const uint16_t s[4]) {
    return _mm_setr_epi16(short(s[0]), short(s[1]), short(s[2]), short(s[3]), short(s[0]), short(s[1]),
                          short(s[2]), short(s[3]));
}
#endif

#if HM_HAVE_AVX2_PATH
// Eight pixels a step where the processor has AVX2 (chosen once, at the first call).
__attribute__((target("avx2"))) size_t mapFineSpanAvx2(uint8_t* target, const uint16_t* fine, size_t n,
                                                       const uint16_t scaled[4], uint16_t keep) {
    const __m256i s =
        _mm256_setr_epi16(short(scaled[0]), short(scaled[1]), short(scaled[2]), short(scaled[3]),
                          short(scaled[0]), short(scaled[1]), short(scaled[2]), short(scaled[3]),
                          short(scaled[0]), short(scaled[1]), short(scaled[2]), short(scaled[3]),
                          short(scaled[0]), short(scaled[1]), short(scaled[2]), short(scaled[3]));
    const __m256i k = _mm256_set1_epi16(short(keep));
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(fine + 4 * i));
        __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(fine + 4 * i + 16));
        lo = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mulhi_epu16(lo, k), s), 8);
        hi = _mm256_srli_epi16(_mm256_add_epi16(_mm256_mulhi_epu16(hi, k), s), 8);
        // Packing works within each 128-bit half; the permutation puts the pixels back in order.
        __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(lo, hi), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(target + 4 * i), packed);
    }
    return i;
}

// The row copy where the processor has AVX2 (32-byte steps) or AVX-512 (64-byte steps, a whole
// cache line a store): the first step unaligned, then on from the next aligned address, four
// steps a turn, and the last step unaligned (rewriting a few bytes at both ends).
#define HM_COPY_ROW(NAME, TARGET, VEC, LOADU, STOREU, STORE)                                                 \
    __attribute__((target(TARGET))) void NAME(uint8_t* target, const uint8_t* source, size_t n) {            \
        constexpr size_t kStep = sizeof(VEC);                                                                \
        STOREU(reinterpret_cast<VEC*>(target), LOADU(reinterpret_cast<const VEC*>(source)));                 \
        size_t i = kStep - (reinterpret_cast<uintptr_t>(target) & (kStep - 1));                              \
        for (; i + 4 * kStep <= n; i += 4 * kStep) {                                                         \
            const VEC a = LOADU(reinterpret_cast<const VEC*>(source + i));                                   \
            const VEC b = LOADU(reinterpret_cast<const VEC*>(source + i + kStep));                           \
            const VEC c = LOADU(reinterpret_cast<const VEC*>(source + i + 2 * kStep));                       \
            const VEC d = LOADU(reinterpret_cast<const VEC*>(source + i + 3 * kStep));                       \
            STORE(reinterpret_cast<VEC*>(target + i), a);                                                    \
            STORE(reinterpret_cast<VEC*>(target + i + kStep), b);                                            \
            STORE(reinterpret_cast<VEC*>(target + i + 2 * kStep), c);                                        \
            STORE(reinterpret_cast<VEC*>(target + i + 3 * kStep), d);                                        \
        }                                                                                                    \
        for (; i + kStep <= n; i += kStep)                                                                   \
            STORE(reinterpret_cast<VEC*>(target + i), LOADU(reinterpret_cast<const VEC*>(source + i)));      \
        STOREU(reinterpret_cast<VEC*>(target + n - kStep),                                                   \
               LOADU(reinterpret_cast<const VEC*>(source + n - kStep)));                                     \
    }
HM_COPY_ROW(copyRowAvx2, "avx2", __m256i, _mm256_loadu_si256, _mm256_storeu_si256, _mm256_store_si256)
HM_COPY_ROW(copyRowAvx512, "avx512f", __m512i, _mm512_loadu_si512, _mm512_storeu_si512, _mm512_store_si512)
#undef HM_COPY_ROW

bool haveAvx512() {
    static const bool have = __builtin_cpu_supports("avx512f");
    return have;
}

bool haveAvx2() {
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#endif

} // namespace

SpanColor prepareSpanColor(CGColor color) {
    SpanColor s{};
    s.color = clampedColor(color);
    const double a = s.color.a;
    const double rgb[3] = {s.color.r, s.color.g, s.color.b};
    s.opaque = a >= 1;
    s.invisible = a <= 0;
    for (int ch = 0; ch < 3; ++ch)
        s.bytes[ch] = level(rgb[ch]);
    s.bytes[3] = level(a);
    if (s.opaque) {
        s.keep = 0;
        for (int ch = 0; ch < 4; ++ch)
            s.scaled[ch] = uint16_t(s.bytes[ch] * 256 + 128);
    } else {
        s.keep = fixedKeep(1 - a);
        for (int ch = 0; ch < 3; ++ch)
            s.scaled[ch] = fixedScaled(255 * rgb[ch] * a);
        s.scaled[3] = fixedScaled(255 * a);
    }
    return s;
}

void copyRow(uint8_t* target, const uint8_t* source, size_t n) {
#if HM_HAVE_AVX2_PATH
    if (n >= 128 && haveAvx512())
        return copyRowAvx512(target, source, n);
    if (n >= 64 && haveAvx2())
        return copyRowAvx2(target, source, n);
#endif
    std::memcpy(target, source, n);
}

void fillSpan(uint8_t* pixels, size_t n, const uint8_t rgba[4]) {
    if (n == 0)
        return;
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
    if (color.invisible)
        return;
    if (color.opaque) {
        fillSpan(pixels, n, color.bytes);
        return;
    }
    size_t i = 0;
#if defined(__SSE2__)
    const __m128i scaled = laneSet(color.scaled);
    const __m128i keep = _mm_set1_epi16(short(color.keep));
    for (; i + 4 <= n; i += 4) {
        uint8_t* px = pixels + 4 * i;
        if (blendFourOpaque(px, scaled, scaled, keep, keep))
            continue;
        for (int k = 0; k < 4; ++k)
            blendPixel(px + 4 * k, color, color.scaled, color.keep);
    }
#endif
    for (; i < n; ++i)
        blendPixel(pixels + 4 * i, color, color.scaled, color.keep);
}

void mapFineSpan(uint8_t* target, const uint16_t* fine, size_t n, const uint16_t scaled[4], uint16_t keep) {
    size_t i = 0;
#if HM_HAVE_AVX2_PATH
    if (haveAvx2())
        i = mapFineSpanAvx2(target, fine, n, scaled, keep);
#endif
#if defined(__SSE2__)
    const __m128i s = laneSet(scaled);
    const __m128i k = _mm_set1_epi16(short(keep));
    for (; i + 4 <= n; i += 4) {
        __m128i lo = _mm_loadu_si128(reinterpret_cast<const __m128i*>(fine + 4 * i));
        __m128i hi = _mm_loadu_si128(reinterpret_cast<const __m128i*>(fine + 4 * i + 8));
        lo = _mm_srli_epi16(_mm_add_epi16(_mm_mulhi_epu16(lo, k), s), 8);
        hi = _mm_srli_epi16(_mm_add_epi16(_mm_mulhi_epu16(hi, k), s), 8);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 4 * i), _mm_packus_epi16(lo, hi));
    }
#endif
    for (; i < n; ++i)
        for (int ch = 0; ch < 4; ++ch)
            target[4 * i + ch] = uint8_t(((uint32_t(fine[4 * i + ch]) * keep >> 16) + scaled[ch]) >> 8);
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
    for (; i < n; ++i)
        blendPixel(pixels + 4 * i, colors.colors[i], colors.scaled + 4 * i, colors.keep[4 * i]);
}

} // namespace cg
