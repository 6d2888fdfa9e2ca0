// The sprite loop's pixels eight at a time with AVX2, built for AVX2 alone. Arithmetic as
// the two-pixel loop's, in 16-bit lanes: blue, green, red, alpha per pixel.
#include "gx/sprite_pixels.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace {

// Eight pixels' lanes as the byte unpacks leave them, each 128-bit half keeping its own
// four pixels: `low` holds pixels 0, 1, 4, 5 and `high` 2, 3, 6, 7, so that the pack puts
// them back in order.
struct Eight {
    __m256i low, high;
};

Eight Widen(__m256i texels) {
    const __m256i zero = _mm256_setzero_si256();
    return {_mm256_unpacklo_epi8(texels, zero), _mm256_unpackhi_epi8(texels, zero)};
}

__m256i Pack(Eight lanes) {
    return _mm256_packus_epi16(lanes.low, lanes.high);
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

// Columns x to x + 7's bilinear weights in the order of Eight's lanes.
Eight Weights(const u64* weight) {
    const __m256i first = Load(weight);
    const __m256i second = Load(weight + 4);
    return {_mm256_permute2x128_si256(first, second, 0x20),
            _mm256_permute2x128_si256(first, second, 0x31)};
}

// (colour * modulation + 128) / 256 per lane, as (colour * 128 * modulation + 2^14) / 2^15,
// which the rounding high multiply gives in one step (colour * 128 fits a signed lane).
Eight Modulate(Eight colour, __m256i modulation) {
    return {_mm256_mulhrs_epi16(_mm256_slli_epi16(colour.low, 7), modulation),
            _mm256_mulhrs_epi16(_mm256_slli_epi16(colour.high, 7), modulation)};
}

// The colours of columns x to x + 7: their texels, each with its right-hand neighbour
// filtered across or not, modulated or not. Texels neither filtered nor modulated are
// taken as they are.
template <bool kLinear, bool kModulate>
__m256i Colour(const GXSpritePixels& p, u32 x, __m256i modulation) {
    const u32* first = p.row + static_cast<s32>(x) + p.offset;
    if constexpr (!kLinear && !kModulate) {
        return Load(first);
    } else {
        Eight colour = Widen(Load(first));
        if constexpr (kLinear) {
            colour = Lerp(colour, Widen(Load(first + 1)), Weights(p.weight + x));
        }
        if constexpr (kModulate) {
            colour = Modulate(colour, modulation);
        }
        return Pack(colour);
    }
}

// Source over the destination by the source's alpha: per lane
// (d * 256 + 128 + (s - d) * weight) / 256, the destination's lanes with 128 below them
// unpacked straight from its bytes.
__m256i Blend(__m256i source, __m256i destination) {
    // Each pixel's weight, alpha + alpha / 128, in the low 16 bits of its 32; then spread
    // over the pixel's four lanes by one byte shuffle per half.
    const __m256i alpha = _mm256_srli_epi32(source, 24);
    const __m256i weight = _mm256_add_epi32(alpha, _mm256_srli_epi32(alpha, 7));
    const __m256i lowWeights = _mm256_shuffle_epi8(
        weight,
        _mm256_broadcastsi128_si256(_mm_setr_epi8(0, 1, 0, 1, 0, 1, 0, 1, 4, 5, 4, 5, 4, 5, 4, 5)));
    const __m256i highWeights =
        _mm256_shuffle_epi8(weight, _mm256_broadcastsi128_si256(_mm_setr_epi8(
                                        8, 9, 8, 9, 8, 9, 8, 9, 12, 13, 12, 13, 12, 13, 12, 13)));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i half = _mm256_set1_epi8(static_cast<char>(128));
    const auto over = [](__m256i s, __m256i d, __m256i rounded, __m256i w) {
        return _mm256_srli_epi16(
            _mm256_add_epi16(rounded, _mm256_mullo_epi16(_mm256_sub_epi16(s, d), w)), 8);
    };
    return _mm256_packus_epi16(
        over(_mm256_unpacklo_epi8(source, zero), _mm256_unpacklo_epi8(destination, zero),
             _mm256_unpacklo_epi8(half, destination), lowWeights),
        over(_mm256_unpackhi_epi8(source, zero), _mm256_unpackhi_epi8(destination, zero),
             _mm256_unpackhi_epi8(half, destination), highWeights));
}

// Eight pixels written over `pixels`; blended, opaque ones replace and transparent ones
// keep what is there, exactly as blending them gives, so eight that are each one or the
// other cost no arithmetic.
template <bool kBlend>
void Write(__m256i source, u32* pixels) {
    const __m256i opaque = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    if constexpr (kBlend) {
        const __m256i destination = Load(pixels);
        const __m256i alphas = _mm256_and_si256(source, opaque);
        const __m256i replaced = _mm256_cmpeq_epi32(alphas, opaque);
        const __m256i kept = _mm256_cmpeq_epi32(alphas, _mm256_setzero_si256());
        if (_mm256_movemask_epi8(_mm256_or_si256(replaced, kept)) == -1) {
            source = _mm256_blendv_epi8(destination, source, replaced);
        } else {
            source = Blend(source, destination);
        }
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(pixels), _mm256_or_si256(source, opaque));
}

template <bool kLinear, bool kModulate, bool kBlend>
u32 DrawPixels(const GXSpritePixels& p, u32* line, u32 xBegin, u32 xEnd) {
    const __m256i modulation = _mm256_set1_epi64x(static_cast<long long>(p.modulation));
    u32 x = xBegin;
    for (; x + 8 <= xEnd; x += 8) {
        Write<kBlend>(Colour<kLinear, kModulate>(p, x, modulation), line + x);
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
