// The sprite loop's pixels eight at a time with AVX2, built for AVX2 alone.
#include "gx/sprite_pixel_lanes.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace {

struct Avx2 {
    using Vector = __m256i;
    static Vector UnpackLow(Vector a, Vector b) { return _mm256_unpacklo_epi8(a, b); }
    static Vector UnpackHigh(Vector a, Vector b) { return _mm256_unpackhi_epi8(a, b); }
    static Vector Pack(Vector low, Vector high) { return _mm256_packus_epi16(low, high); }
    static Vector ShuffleBytes(Vector v, Vector order) { return _mm256_shuffle_epi8(v, order); }
    static Vector MultiplyRounded(Vector a, Vector b) { return _mm256_mulhrs_epi16(a, b); }
};

using Eight = SpritePixelLanes<Avx2>;

__m256i Load(const void* from) {
    return _mm256_loadu_si256(static_cast<const __m256i*>(from));
}

// Eight columns' texels and bilinear weights, the weights in the order of the lanes.
struct EightColumns {
    static __m256i Texels(const u32* first) { return Load(first); }

    static Eight::Pixels Weights(const u64* weight) {
        const __m256i first = Load(weight);
        const __m256i second = Load(weight + 4);
        return {reinterpret_cast<Eight::Lanes>(_mm256_permute2x128_si256(first, second, 0x20)),
                reinterpret_cast<Eight::Lanes>(_mm256_permute2x128_si256(first, second, 0x31))};
    }
};

// Eight pixels written over `pixels`; blended, opaque ones replace and transparent ones
// keep what is there, exactly as blending them gives, so eight that are each one or the
// other cost no arithmetic.
template <bool kBlend>
[[gnu::always_inline]] inline void Write(__m256i source, u32* pixels) {
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    if constexpr (kBlend) {
        const __m256i destination = Load(pixels);
        const __m256i alphas = _mm256_and_si256(source, opaque);
        const __m256i replaced = _mm256_cmpeq_epi32(alphas, opaque);
        const __m256i kept = _mm256_cmpeq_epi32(alphas, _mm256_setzero_si256());
        if (_mm256_movemask_epi8(_mm256_or_si256(replaced, kept)) == -1) {
            source = _mm256_blendv_epi8(destination, source, replaced);
        } else {
            source = Eight::Blend(source, destination);
        }
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), _mm256_or_si256(source, opaque));
}

// Whole steps of eight on every line, leaving the columns after the last step.
template <bool kLinear, bool kModulate, bool kBlend>
struct Steps {
    static u32 Draw(const GXSpritePixels& p, const GXSpriteLines& lines, u32 xBegin, u32 xEnd) {
        const Eight::Lanes modulation = Eight::Modulation(p);
        const u32 xLeft = xBegin + (xEnd - xBegin) / 8 * 8;
        u32* line = lines.first;
        for (u32 i = 0; i < lines.count; ++i, line += lines.stride) {
            const u32* row = p.rows[i];
            for (u32 x = xBegin; x < xLeft; x += 8) {
                Write<kBlend>(
                    Eight::Colour<kLinear, kModulate>(p, row, x, modulation, EightColumns{}),
                    line + x);
            }
        }
        return xLeft;
    }
};

} // namespace

GXSpritePixelLoop GXSpritePixelLoopAvx2(bool linear, bool modulate, bool blend) {
    return Eight::Loop<Steps>(linear, modulate, blend);
}
#endif
