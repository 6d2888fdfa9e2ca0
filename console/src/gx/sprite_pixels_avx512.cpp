// The sprite loop's pixels sixteen at a time with AVX-512BW, built for it alone. A line's
// last columns are drawn through a mask, so the loop draws every column (masked-off
// columns are neither read nor written).
#include "gx/sprite_pixel_lanes.h"

#if defined(__AVX512BW__)
#include <immintrin.h>

namespace {

struct Avx512 {
    using Vector = __m512i;
    static Vector UnpackLow(Vector a, Vector b) { return _mm512_unpacklo_epi8(a, b); }
    static Vector UnpackHigh(Vector a, Vector b) { return _mm512_unpackhi_epi8(a, b); }
    static Vector Pack(Vector low, Vector high) { return _mm512_packus_epi16(low, high); }
    static Vector ShuffleBytes(Vector v, Vector order) { return _mm512_shuffle_epi8(v, order); }
    static Vector MultiplyRounded(Vector a, Vector b) { return _mm512_mulhrs_epi16(a, b); }
};

using Sixteen = SpritePixelLanes<Avx512>;

// The texels and bilinear weights of the columns of sixteen that `columns` selects, the
// weights in the order of the lanes.
struct MaskedColumns {
    __mmask16 columns;

    __m512i Texels(const u32* first) const { return _mm512_maskz_loadu_epi32(columns, first); }

    Sixteen::Pixels Weights(const u64* weight) const {
        const __m512i first = _mm512_maskz_loadu_epi64(static_cast<__mmask8>(columns), weight);
        const __m512i second =
            _mm512_maskz_loadu_epi64(static_cast<__mmask8>(columns >> 8), weight + 8);
        const auto pick = [&](__m512i order) {
            return reinterpret_cast<Sixteen::Lanes>(
                _mm512_permutex2var_epi64(first, order, second));
        };
        return {pick(_mm512_setr_epi64(0, 1, 4, 5, 8, 9, 12, 13)),
                pick(_mm512_setr_epi64(2, 3, 6, 7, 10, 11, 14, 15))};
    }
};

// The pixels `columns` selects written over `pixels`; blended, opaque ones replace and
// transparent ones keep what is there, exactly as blending them gives, so sixteen that
// are each one or the other cost no arithmetic.
template <bool kBlend>
[[gnu::always_inline]] inline void Write(__m512i source, u32* pixels, __mmask16 columns) {
    const __m512i opaque = _mm512_set1_epi32(static_cast<int>(0xFF000000u));
    if constexpr (kBlend) {
        const __m512i destination = _mm512_maskz_loadu_epi32(columns, pixels);
        const __mmask16 replaced =
            _mm512_mask_cmpeq_epi32_mask(columns, _mm512_and_si512(source, opaque), opaque);
        const __mmask16 kept = _mm512_mask_testn_epi32_mask(columns, source, opaque);
        if ((replaced | kept) == columns) {
            source = _mm512_mask_blend_epi32(replaced, destination, source);
        } else {
            source = Sixteen::Blend(source, destination);
        }
    }
    _mm512_mask_storeu_epi32(pixels, columns, _mm512_or_si512(source, opaque));
}

// On every line, whole steps of sixteen, then the columns left through a mask.
template <bool kLinear, bool kModulate, bool kBlend>
struct Steps {
    static u32 Draw(const GXSpritePixels& p, const GXSpriteLines& lines, u32 xBegin, u32 xEnd) {
        const Sixteen::Lanes modulation = Sixteen::Modulation(p);
        const u32 xLeft = xBegin + (xEnd - xBegin) / 16 * 16;
        const __mmask16 last = _cvtu32_mask16((1u << (xEnd - xLeft)) - 1);
        u32* line = lines.first;
        for (u32 i = 0; i < lines.count; ++i, line += lines.stride) {
            const u32* row = p.rows[i];
            const auto draw = [&](u32 x, __mmask16 columns) {
                Write<kBlend>(Sixteen::Colour<kLinear, kModulate>(p, row, x, modulation,
                                                                  MaskedColumns{columns}),
                              line + x, columns);
            };
            for (u32 x = xBegin; x < xLeft; x += 16) {
                draw(x, _cvtu32_mask16(0xFFFF));
            }
            if (xLeft < xEnd) {
                draw(xLeft, last);
            }
        }
        return xEnd;
    }
};

} // namespace

GXSpritePixelLoop GXSpritePixelLoopAvx512(bool linear, bool modulate, bool blend) {
    return Sixteen::Loop<Steps>(linear, modulate, blend);
}
#endif
