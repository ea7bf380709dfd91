#include "GradientRow.h"

#include "PixelSpans.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define HM_ROW_AVX2 1
#endif

namespace cg {

bool RowLine::paints(CGFloat s) const {
    return !std::isnan(s) && (s >= 0 || before) && (s <= 1 || after);
}

RowVectors widestRowVectors() {
#if HM_ROW_AVX2
    static const RowVectors widest = __builtin_cpu_supports("avx512f") ? RowVectors::Eight
                                     : __builtin_cpu_supports("avx2")  ? RowVectors::Four
                                                                       : RowVectors::Two;
    return widest;
#elif defined(__SSE2__)
    return RowVectors::Two;
#else
    return RowVectors::One;
#endif
}

namespace {

inline CGFloat position(const RowLine& l, CGFloat column) {
    return ((((column + 0.5) - l.tx) / l.sx - l.startX) * l.dx + l.rest) / l.length2;
}

constexpr uint16_t kFineOpaque = 65280; // fineLevel(1)

// A divisor that is a power of two (well inside the range): its reciprocal is exact, so x / d and
// x x (1 / d) round the same exact quotient and give the same bits; the multiply is the faster.
struct Divisor {
    CGFloat value, reciprocal;
    bool exact;
    explicit Divisor(CGFloat d) : value(d), reciprocal(1 / d) {
        int exponent = 0;
        exact = std::isfinite(d) && std::fabs(std::frexp(d, &exponent)) == 0.5 && exponent > -1000 &&
                exponent < 1000;
    }
};

// One column, the plain way. `hi` is the stop after the column's position, carried from column
// to column: the position is monotonic along the row, so the stops are walked, not searched.
inline void oneColumn(const RowLine& line, const RowStops& stops, CGFloat s, size_t& hi, uint8_t* px,
                      uint16_t* fine) {
    const CGFloat* at = stops.at;
    const CGColor* colors = stops.colors;
    const size_t last = stops.count - 1;
    const bool paints = line.paints(s);
    CGColor c{0, 0, 0, 0};
    const CGFloat p = paints ? std::clamp(s, CGFloat(0), CGFloat(1)) : 0;
    if (!paints) {
    } else if (p <= at[0]) {
        c = colors[0];
    } else if (p >= at[last]) {
        c = colors[last];
    } else {
        while (hi > 1 && at[hi - 1] > p)
            --hi;
        while (at[hi] <= p)
            ++hi; // now at[hi - 1] <= p < at[hi]
        const CGFloat span = at[hi] - at[hi - 1];
        const CGFloat t = span > 0 ? (p - at[hi - 1]) / span : 0;
        const CGColor& a = colors[hi - 1];
        const CGColor& b = colors[hi];
        c = {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, 1};
    }
    px[0] = byteLevel(c.r);
    px[1] = byteLevel(c.g);
    px[2] = byteLevel(c.b);
    px[3] = paints ? 255 : 0;
    if (!fine)
        return;
    fine[0] = fineLevel(c.r);
    fine[1] = fineLevel(c.g);
    fine[2] = fineLevel(c.b);
    fine[3] = kFineOpaque;
}

void rowPositionsPlain(const RowLine& line, int64_t x0, size_t n, CGFloat* s) {
    for (size_t i = 0; i < n; ++i)
        s[i] = position(line, CGFloat(x0 + int64_t(i)));
}

void opaqueRowPlain(const RowLine& line, const RowStops& stops, const CGFloat* s, size_t n, uint8_t* pattern,
                    uint16_t* fine) {
    size_t hi = 1;
    for (size_t i = 0; i < n; ++i)
        oneColumn(line, stops, s[i], hi, pattern + 4 * i, fine ? fine + 4 * i : nullptr);
}

// The vector loops below take a run of columns at once when every one of them is painted and
// lies strictly inside the segment between stops hi - 1 and hi (and after the first stop): then
// each column's color is the segment's interpolation, with the segment's values broadcast. Any
// other run (the ends of the row, a stop inside the run) goes column by column, which also
// moves `hi` on to the next segment.

#if defined(__SSE2__)
struct Segment2 {
    __m128d lo, hi, first, span, r, g, b, dr, dg, db;
    Segment2(const RowStops& stops, size_t k) {
        const CGColor& a = stops.colors[k - 1];
        const CGColor& z = stops.colors[k];
        lo = _mm_set1_pd(stops.at[k - 1]);
        hi = _mm_set1_pd(stops.at[k]);
        first = _mm_set1_pd(stops.at[0]);
        span = _mm_set1_pd(stops.at[k] - stops.at[k - 1]);
        r = _mm_set1_pd(a.r);
        g = _mm_set1_pd(a.g);
        b = _mm_set1_pd(a.b);
        dr = _mm_set1_pd(z.r - a.r);
        dg = _mm_set1_pd(z.g - a.g);
        db = _mm_set1_pd(z.b - a.b);
    }
};

// unit(v) for the level conversions: v > 0 ? min(v, 1) : 0 (NaN gives 0; -0 and +0 give the
// same level).
inline __m128d unit2(__m128d v) {
    return _mm_min_pd(_mm_max_pd(v, _mm_setzero_pd()), _mm_set1_pd(1));
}
// roundSmall(u x scale) as 32-bit integers in the low two lanes.
inline __m128i level2(__m128d u, __m128d scale) {
    return _mm_cvttpd_epi32(_mm_add_pd(_mm_mul_pd(u, scale), _mm_set1_pd(0.5)));
}

void rowPositions2(const RowLine& l, int64_t x0, size_t n, CGFloat* s) {
    const __m128d half = _mm_set1_pd(0.5), tx = _mm_set1_pd(l.tx), sx = _mm_set1_pd(l.sx);
    const __m128d startX = _mm_set1_pd(l.startX), dx = _mm_set1_pd(l.dx), rest = _mm_set1_pd(l.rest);
    const __m128d length2 = _mm_set1_pd(l.length2), step = _mm_set1_pd(2);
    __m128d column = _mm_setr_pd(CGFloat(x0), CGFloat(x0 + 1));
    size_t i = 0;
    for (; i + 2 <= n; i += 2, column = _mm_add_pd(column, step)) {
        const __m128d ux = _mm_div_pd(_mm_sub_pd(_mm_add_pd(column, half), tx), sx);
        _mm_storeu_pd(s + i, _mm_div_pd(_mm_add_pd(_mm_mul_pd(_mm_sub_pd(ux, startX), dx), rest), length2));
    }
    for (; i < n; ++i)
        s[i] = position(l, CGFloat(x0 + int64_t(i)));
}

void opaqueRow2(const RowLine& line, const RowStops& stops, const CGFloat* s, size_t n, uint8_t* pattern,
                uint16_t* fine) {
    const __m128d zero = _mm_setzero_pd(), one = _mm_set1_pd(1);
    const __m128d bytes = _mm_set1_pd(255), fines = _mm_set1_pd(kFineOpaque);
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u)),
                  fineAlpha = _mm_set1_epi32(int(kFineOpaque) << 16);
    if (stops.count < 2)
        return opaqueRowPlain(line, stops, s, n, pattern, fine);
    size_t hi = 1;
    size_t segmentOf = 1; // the hi that `segment` was made for
    Segment2 segment(stops, 1);
    size_t i = 0;
    for (; i + 2 <= n; i += 2) {
        if (segmentOf != hi) {
            segment = Segment2(stops, hi);
            segmentOf = hi;
        }
        const __m128d v = _mm_loadu_pd(s + i);
        __m128d ok = _mm_cmpord_pd(v, v);
        if (!line.before)
            ok = _mm_and_pd(ok, _mm_cmpge_pd(v, zero));
        if (!line.after)
            ok = _mm_and_pd(ok, _mm_cmple_pd(v, one));
        // std::clamp(v, 0, 1): below 0 gives 0, above 1 gives 1, else v itself.
        const __m128d p = _mm_min_pd(_mm_max_pd(zero, v), one);
        ok = _mm_and_pd(ok, _mm_and_pd(_mm_cmpge_pd(p, segment.lo), _mm_cmplt_pd(p, segment.hi)));
        ok = _mm_and_pd(ok, _mm_cmpgt_pd(p, segment.first));
        if (_mm_movemask_pd(ok) != 3) {
            for (size_t j = i; j < i + 2; ++j)
                oneColumn(line, stops, s[j], hi, pattern + 4 * j, fine ? fine + 4 * j : nullptr);
            continue;
        }
        const __m128d t = _mm_div_pd(_mm_sub_pd(p, segment.lo), segment.span);
        const __m128d r = unit2(_mm_add_pd(segment.r, _mm_mul_pd(segment.dr, t)));
        const __m128d g = unit2(_mm_add_pd(segment.g, _mm_mul_pd(segment.dg, t)));
        const __m128d b = unit2(_mm_add_pd(segment.b, _mm_mul_pd(segment.db, t)));
        __m128i px = _mm_or_si128(level2(r, bytes), _mm_slli_epi32(level2(g, bytes), 8));
        px = _mm_or_si128(_mm_or_si128(px, _mm_slli_epi32(level2(b, bytes), 16)), alpha);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(pattern + 4 * i), px);
        if (!fine)
            continue;
        const __m128i rg = _mm_or_si128(level2(r, fines), _mm_slli_epi32(level2(g, fines), 16));
        const __m128i ba = _mm_or_si128(level2(b, fines), fineAlpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(fine + 4 * i), _mm_unpacklo_epi32(rg, ba));
    }
    for (; i < n; ++i)
        oneColumn(line, stops, s[i], hi, pattern + 4 * i, fine ? fine + 4 * i : nullptr);
}
#endif

#if HM_ROW_AVX2
struct Segment4 {
    __m256d lo, hi, first, span, r, g, b, dr, dg, db;
    __attribute__((target("avx2"))) Segment4(const RowStops& stops, size_t k) {
        const CGColor& a = stops.colors[k - 1];
        const CGColor& z = stops.colors[k];
        lo = _mm256_set1_pd(stops.at[k - 1]);
        hi = _mm256_set1_pd(stops.at[k]);
        first = _mm256_set1_pd(stops.at[0]);
        span = _mm256_set1_pd(stops.at[k] - stops.at[k - 1]);
        r = _mm256_set1_pd(a.r);
        g = _mm256_set1_pd(a.g);
        b = _mm256_set1_pd(a.b);
        dr = _mm256_set1_pd(z.r - a.r);
        dg = _mm256_set1_pd(z.g - a.g);
        db = _mm256_set1_pd(z.b - a.b);
    }
};

__attribute__((target("avx2"))) inline __m256d unit4(__m256d v) {
    return _mm256_min_pd(_mm256_max_pd(v, _mm256_setzero_pd()), _mm256_set1_pd(1));
}
__attribute__((target("avx2"))) inline __m128i level4(__m256d u, __m256d scale) {
    return _mm256_cvttpd_epi32(_mm256_add_pd(_mm256_mul_pd(u, scale), _mm256_set1_pd(0.5)));
}

__attribute__((target("avx2"))) void rowPositions4(const RowLine& l, int64_t x0, size_t n, CGFloat* s) {
    const __m256d half = _mm256_set1_pd(0.5), tx = _mm256_set1_pd(l.tx), sx = _mm256_set1_pd(l.sx);
    const __m256d startX = _mm256_set1_pd(l.startX), dx = _mm256_set1_pd(l.dx), rest = _mm256_set1_pd(l.rest);
    const __m256d length2 = _mm256_set1_pd(l.length2), step = _mm256_set1_pd(4);
    __m256d column = _mm256_setr_pd(CGFloat(x0), CGFloat(x0 + 1), CGFloat(x0 + 2), CGFloat(x0 + 3));
    size_t i = 0;
    for (; i + 4 <= n; i += 4, column = _mm256_add_pd(column, step)) {
        const __m256d ux = _mm256_div_pd(_mm256_sub_pd(_mm256_add_pd(column, half), tx), sx);
        _mm256_storeu_pd(
            s + i, _mm256_div_pd(_mm256_add_pd(_mm256_mul_pd(_mm256_sub_pd(ux, startX), dx), rest), length2));
    }
    for (; i < n; ++i)
        s[i] = position(l, CGFloat(x0 + int64_t(i)));
}

__attribute__((target("avx2"))) void opaqueRow4(const RowLine& line, const RowStops& stops, const CGFloat* s,
                                                size_t n, uint8_t* pattern, uint16_t* fine) {
    const __m256d zero = _mm256_setzero_pd(), one = _mm256_set1_pd(1);
    const __m256d bytes = _mm256_set1_pd(255), fines = _mm256_set1_pd(kFineOpaque);
    const __m128i alpha = _mm_set1_epi32(int(0xFF000000u)),
                  fineAlpha = _mm_set1_epi32(int(kFineOpaque) << 16);
    if (stops.count < 2)
        return opaqueRowPlain(line, stops, s, n, pattern, fine);
    size_t hi = 1;
    size_t segmentOf = 1;
    Segment4 segment(stops, 1);
    size_t i = 0;
    for (; i + 4 <= n; i += 4) {
        if (segmentOf != hi) {
            segment = Segment4(stops, hi);
            segmentOf = hi;
        }
        const __m256d v = _mm256_loadu_pd(s + i);
        __m256d ok = _mm256_cmp_pd(v, v, _CMP_ORD_Q);
        if (!line.before)
            ok = _mm256_and_pd(ok, _mm256_cmp_pd(v, zero, _CMP_GE_OQ));
        if (!line.after)
            ok = _mm256_and_pd(ok, _mm256_cmp_pd(v, one, _CMP_LE_OQ));
        const __m256d p = _mm256_min_pd(_mm256_max_pd(zero, v), one);
        ok = _mm256_and_pd(ok, _mm256_and_pd(_mm256_cmp_pd(p, segment.lo, _CMP_GE_OQ),
                                             _mm256_cmp_pd(p, segment.hi, _CMP_LT_OQ)));
        ok = _mm256_and_pd(ok, _mm256_cmp_pd(p, segment.first, _CMP_GT_OQ));
        if (_mm256_movemask_pd(ok) != 15) {
            for (size_t j = i; j < i + 4; ++j)
                oneColumn(line, stops, s[j], hi, pattern + 4 * j, fine ? fine + 4 * j : nullptr);
            continue;
        }
        const __m256d t = _mm256_div_pd(_mm256_sub_pd(p, segment.lo), segment.span);
        const __m256d r = unit4(_mm256_add_pd(segment.r, _mm256_mul_pd(segment.dr, t)));
        const __m256d g = unit4(_mm256_add_pd(segment.g, _mm256_mul_pd(segment.dg, t)));
        const __m256d b = unit4(_mm256_add_pd(segment.b, _mm256_mul_pd(segment.db, t)));
        __m128i px = _mm_or_si128(level4(r, bytes), _mm_slli_epi32(level4(g, bytes), 8));
        px = _mm_or_si128(_mm_or_si128(px, _mm_slli_epi32(level4(b, bytes), 16)), alpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pattern + 4 * i), px);
        if (!fine)
            continue;
        const __m128i rg = _mm_or_si128(level4(r, fines), _mm_slli_epi32(level4(g, fines), 16));
        const __m128i ba = _mm_or_si128(level4(b, fines), fineAlpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(fine + 4 * i), _mm_unpacklo_epi32(rg, ba));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(fine + 4 * i + 8), _mm_unpackhi_epi32(rg, ba));
    }
    for (; i < n; ++i)
        oneColumn(line, stops, s[i], hi, pattern + 4 * i, fine ? fine + 4 * i : nullptr);
}
#endif

#if HM_ROW_AVX2
#define HM_AVX512 __attribute__((target("avx512f")))
struct Segment8 {
    __m512d lo, hi, first, span, inverse, r, g, b, dr, dg, db;
    bool exact;
    HM_AVX512 Segment8(const RowStops& stops, size_t k) {
        const CGColor& a = stops.colors[k - 1];
        const CGColor& z = stops.colors[k];
        const Divisor d(stops.at[k] - stops.at[k - 1]);
        lo = _mm512_set1_pd(stops.at[k - 1]);
        hi = _mm512_set1_pd(stops.at[k]);
        first = _mm512_set1_pd(stops.at[0]);
        span = _mm512_set1_pd(d.value);
        inverse = _mm512_set1_pd(d.reciprocal);
        exact = d.exact;
        r = _mm512_set1_pd(a.r);
        g = _mm512_set1_pd(a.g);
        b = _mm512_set1_pd(a.b);
        dr = _mm512_set1_pd(z.r - a.r);
        dg = _mm512_set1_pd(z.g - a.g);
        db = _mm512_set1_pd(z.b - a.b);
    }
};

// Minimum and maximum as in SSE (min(a, b) = a < b ? a : b; max(a, b) = a > b ? a : b). The
// all-lanes masked forms: the plain ones start from an undefined vector, which gcc 12 warns of.
HM_AVX512 inline __m512d min8(__m512d a, __m512d b) {
    return _mm512_mask_min_pd(b, 0xFF, a, b);
}
HM_AVX512 inline __m512d max8(__m512d a, __m512d b) {
    return _mm512_mask_max_pd(b, 0xFF, a, b);
}
HM_AVX512 inline __m512d unit8(__m512d v) {
    return min8(max8(v, _mm512_setzero_pd()), _mm512_set1_pd(1));
}
HM_AVX512 inline __m256i level8(__m512d u, __m512d scale) {
    return _mm512_mask_cvttpd_epi32(_mm256_setzero_si256(), 0xFF,
                                    _mm512_add_pd(_mm512_mul_pd(u, scale), _mm512_set1_pd(0.5)));
}
HM_AVX512 inline __m512d divide8(__m512d x, __m512d d, __m512d inverse, bool exact) {
    return exact ? _mm512_mul_pd(x, inverse) : _mm512_div_pd(x, d);
}

HM_AVX512 void rowPositions8(const RowLine& l, int64_t x0, size_t n, CGFloat* s) {
    const Divisor sxd(l.sx), lengthd(l.length2);
    const __m512d half = _mm512_set1_pd(0.5), tx = _mm512_set1_pd(l.tx), sx = _mm512_set1_pd(l.sx);
    const __m512d sxInverse = _mm512_set1_pd(sxd.reciprocal),
                  lengthInverse = _mm512_set1_pd(lengthd.reciprocal);
    const __m512d startX = _mm512_set1_pd(l.startX), dx = _mm512_set1_pd(l.dx), rest = _mm512_set1_pd(l.rest);
    const __m512d length2 = _mm512_set1_pd(l.length2), step = _mm512_set1_pd(8);
    __m512d column = _mm512_add_pd(_mm512_set1_pd(CGFloat(x0)), _mm512_setr_pd(0, 1, 2, 3, 4, 5, 6, 7));
    size_t i = 0;
    for (; i + 8 <= n; i += 8, column = _mm512_add_pd(column, step)) {
        const __m512d ux = divide8(_mm512_sub_pd(_mm512_add_pd(column, half), tx), sx, sxInverse, sxd.exact);
        const __m512d along = _mm512_add_pd(_mm512_mul_pd(_mm512_sub_pd(ux, startX), dx), rest);
        _mm512_storeu_pd(s + i, divide8(along, length2, lengthInverse, lengthd.exact));
    }
    for (; i < n; ++i)
        s[i] = position(l, CGFloat(x0 + int64_t(i)));
}

HM_AVX512 void opaqueRow8(const RowLine& line, const RowStops& stops, const CGFloat* s, size_t n,
                          uint8_t* pattern, uint16_t* fine) {
    if (stops.count < 2)
        return opaqueRowPlain(line, stops, s, n, pattern, fine);
    const __m512d zero = _mm512_setzero_pd(), one = _mm512_set1_pd(1);
    const __m512d bytes = _mm512_set1_pd(255), fines = _mm512_set1_pd(kFineOpaque);
    const __m256i alpha = _mm256_set1_epi32(int(0xFF000000u)),
                  fineAlpha = _mm256_set1_epi32(int(kFineOpaque) << 16);
    size_t hi = 1;
    size_t segmentOf = 1;
    Segment8 segment(stops, 1);
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        if (segmentOf != hi) {
            segment = Segment8(stops, hi);
            segmentOf = hi;
        }
        const __m512d v = _mm512_loadu_pd(s + i);
        __mmask8 ok = _mm512_cmp_pd_mask(v, v, _CMP_ORD_Q);
        if (!line.before)
            ok &= _mm512_cmp_pd_mask(v, zero, _CMP_GE_OQ);
        if (!line.after)
            ok &= _mm512_cmp_pd_mask(v, one, _CMP_LE_OQ);
        const __m512d p = min8(max8(zero, v), one);
        ok &= _mm512_cmp_pd_mask(p, segment.lo, _CMP_GE_OQ) & _mm512_cmp_pd_mask(p, segment.hi, _CMP_LT_OQ) &
              _mm512_cmp_pd_mask(p, segment.first, _CMP_GT_OQ);
        if (ok != 0xFF) {
            for (size_t j = i; j < i + 8; ++j)
                oneColumn(line, stops, s[j], hi, pattern + 4 * j, fine ? fine + 4 * j : nullptr);
            continue;
        }
        const __m512d t = divide8(_mm512_sub_pd(p, segment.lo), segment.span, segment.inverse, segment.exact);
        const __m512d r = unit8(_mm512_add_pd(segment.r, _mm512_mul_pd(segment.dr, t)));
        const __m512d g = unit8(_mm512_add_pd(segment.g, _mm512_mul_pd(segment.dg, t)));
        const __m512d b = unit8(_mm512_add_pd(segment.b, _mm512_mul_pd(segment.db, t)));
        __m256i px = _mm256_or_si256(level8(r, bytes), _mm256_slli_epi32(level8(g, bytes), 8));
        px = _mm256_or_si256(_mm256_or_si256(px, _mm256_slli_epi32(level8(b, bytes), 16)), alpha);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(pattern + 4 * i), px);
        if (!fine)
            continue;
        const __m256i rg = _mm256_or_si256(level8(r, fines), _mm256_slli_epi32(level8(g, fines), 16));
        const __m256i ba = _mm256_or_si256(level8(b, fines), fineAlpha);
        // Interleaving works within each 128-bit half: columns 0, 1, 4, 5 and 2, 3, 6, 7.
        const __m256i low = _mm256_unpacklo_epi32(rg, ba), high = _mm256_unpackhi_epi32(rg, ba);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(fine + 4 * i),
                            _mm256_permute2x128_si256(low, high, 0x20));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(fine + 4 * i + 16),
                            _mm256_permute2x128_si256(low, high, 0x31));
    }
    for (; i < n; ++i)
        oneColumn(line, stops, s[i], hi, pattern + 4 * i, fine ? fine + 4 * i : nullptr);
}
#endif

} // namespace

void rowPositions(const RowLine& line, int64_t x0, size_t n, CGFloat* s, RowVectors vectors) {
#if HM_ROW_AVX2
    if (vectors == RowVectors::Eight)
        return rowPositions8(line, x0, n, s);
    if (vectors == RowVectors::Four)
        return rowPositions4(line, x0, n, s);
#endif
#if defined(__SSE2__)
    if (vectors != RowVectors::One)
        return rowPositions2(line, x0, n, s);
#endif
    rowPositionsPlain(line, x0, n, s);
}

void opaqueRow(const RowLine& line, const RowStops& stops, const CGFloat* s, size_t n, uint8_t* pattern,
               uint16_t* fine, RowVectors vectors) {
#if HM_ROW_AVX2
    if (vectors == RowVectors::Eight)
        return opaqueRow8(line, stops, s, n, pattern, fine);
    if (vectors == RowVectors::Four)
        return opaqueRow4(line, stops, s, n, pattern, fine);
#endif
#if defined(__SSE2__)
    if (vectors != RowVectors::One)
        return opaqueRow2(line, stops, s, n, pattern, fine);
#endif
    opaqueRowPlain(line, stops, s, n, pattern, fine);
}

} // namespace cg
