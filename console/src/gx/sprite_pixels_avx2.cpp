// The sprite loop's pixels eight at a time with AVX2, built for AVX2 alone. Arithmetic as
// the two-pixel loop's, in sixteen 16-bit lanes: four pixels, blue, green, red, alpha.
#include "gx/sprite_pixels.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace {

// Eight texels as two halves of four pixels' lanes.
struct Eight {
    __m256i low, high;
};

Eight Widen(__m256i texels) {
    return {_mm256_cvtepu8_epi16(_mm256_castsi256_si128(texels)),
            _mm256_cvtepu8_epi16(_mm256_extracti128_si256(texels, 1))};
}

// Lanes holding 0 to 255 back to eight pixels; the pack works in 128-bit halves and the
// permute puts its quarters back in order.
__m256i Pack(Eight lanes) {
    return _mm256_permute4x64_epi64(_mm256_packus_epi16(lanes.low, lanes.high),
                                    _MM_SHUFFLE(3, 1, 2, 0));
}

// a to b by weight / 256, rounded, per lane, as the two-pixel loop's Lerp.
__m256i Lerp(__m256i a, __m256i b, __m256i weight) {
    const __m256i scaled = _mm256_add_epi16(_mm256_slli_epi16(a, 8),
                                            _mm256_mullo_epi16(_mm256_sub_epi16(b, a), weight));
    return _mm256_srli_epi16(_mm256_add_epi16(scaled, _mm256_set1_epi16(128)), 8);
}

Eight Lerp(Eight a, Eight b, Eight weight) {
    return {Lerp(a.low, b.low, weight.low), Lerp(a.high, b.high, weight.high)};
}

__m256i Load(const void* from) {
    return _mm256_loadu_si256(static_cast<const __m256i*>(from));
}

// The colours of columns x to x + 7: their texels, or each with its right-hand neighbour
// filtered across.
template <bool kLinear>
Eight Sample(const GXSpritePixels& p, u32 x) {
    const u32* first = p.row + static_cast<s32>(x) + p.offset;
    const Eight left = Widen(Load(first));
    if constexpr (!kLinear) {
        return left;
    } else {
        return Lerp(left, Widen(Load(first + 1)),
                    Eight{Load(p.weight + x), Load(p.weight + x + 4)});
    }
}

Eight Modulate(Eight colour, __m256i modulation) {
    const auto times = [&](__m256i lanes) {
        return _mm256_srli_epi16(
            _mm256_add_epi16(_mm256_mullo_epi16(lanes, modulation), _mm256_set1_epi16(128)), 8);
    };
    return {times(colour.low), times(colour.high)};
}

// Source over the destination by the source's alpha.
__m256i Blend(Eight colour, __m256i destination) {
    const auto over = [](__m256i source, __m256i under) {
        const __m256i alpha = _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(source, 0xFF), 0xFF);
        return Lerp(under, source, _mm256_add_epi16(alpha, _mm256_srli_epi16(alpha, 7)));
    };
    const Eight under = Widen(destination);
    return Pack({over(colour.low, under.low), over(colour.high, under.high)});
}

// Eight pixels written over `pixels`; blended, opaque ones replace and transparent ones
// keep what is there, exactly as blending them gives, so eight that are each one or the
// other cost no arithmetic.
template <bool kBlend>
void Write(Eight colour, u32* pixels) {
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    __m256i source = Pack(colour);
    if constexpr (kBlend) {
        const __m256i destination = Load(pixels);
        const __m256i alphas = _mm256_and_si256(source, opaque);
        const __m256i replaced = _mm256_cmpeq_epi32(alphas, opaque);
        const __m256i kept = _mm256_cmpeq_epi32(alphas, _mm256_setzero_si256());
        if (_mm256_movemask_epi8(_mm256_or_si256(replaced, kept)) == -1) {
            source = _mm256_blendv_epi8(destination, source, replaced);
        } else {
            source = Blend(colour, destination);
        }
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), _mm256_or_si256(source, opaque));
}

template <bool kLinear, bool kModulate, bool kBlend>
u32 DrawPixels(const GXSpritePixels& p, u32* line, u32 xBegin, u32 xEnd) {
    const __m256i modulation = _mm256_set1_epi64x(static_cast<long long>(p.modulation));
    u32 x = xBegin;
    for (; x + 8 <= xEnd; x += 8) {
        Eight colour = Sample<kLinear>(p, x);
        if constexpr (kModulate) {
            colour = Modulate(colour, modulation);
        }
        Write<kBlend>(colour, line + x);
    }
    return x;
}

// [linear][modulate][blend]
constexpr GXSpritePixelLoop kLoops[2][2][2] = {
    {{DrawPixels<false, false, false>, DrawPixels<false, false, true>},
     {DrawPixels<false, true, false>, DrawPixels<false, true, true>}},
    {{DrawPixels<true, false, false>, DrawPixels<true, false, true>},
     {DrawPixels<true, true, false>, DrawPixels<true, true, true>}}};

} // namespace

GXSpritePixelLoop GXSpritePixelLoopAvx2(bool linear, bool modulate, bool blend) {
    return kLoops[linear][modulate][blend];
}
#endif
