// RGB to YUV 4:2:2 conversion of the display copy, line by line.
#include "gx/display_copy.h"

#include "gx/efb.h"
#include "gx/runtime_simd.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

static_assert(std::endian::native == std::endian::little, "pairs are stored as words");

// BT.601 studio-range coefficients, scaled by 2^16.
constexpr s32 kLumaR = 16829;
constexpr s32 kLumaG = 33039;
constexpr s32 kLumaB = 6416;
constexpr s32 kBlueR = -9714;
constexpr s32 kBlueG = -19070;
constexpr s32 kBlueB = 28784;
constexpr s32 kRedR = 28784;
constexpr s32 kRedG = -24103;
constexpr s32 kRedB = -4681;

constexpr u32 kYScaleOne = 256;

template <typename T>
[[gnu::always_inline]] inline void Luma(const T& r, const T& g, const T& b, T& luma) {
    luma = 16 + ((kLumaR * r + kLumaG * g + kLumaB * b + 0x8000) >> 16);
}

// Chroma of a pixel pair from the sums of its two pixels' channels.
template <typename T>
[[gnu::always_inline]] inline void Chroma(s32 kr, s32 kg, s32 kb, const T& rSum, const T& gSum,
                                          const T& bSum, T& chroma) {
    chroma = 128 + ((kr * rSum + kg * gSum + kb * bSum + 0x10000) >> 17);
}

// A pair's four bytes, Y0, Cb, Y1, Cr from the lowest up, as one word.
template <typename T>
[[gnu::always_inline]] inline void PairWord(const T& left, const T& right, T& word) {
    const T leftR = (left >> 16) & 0xFF;
    const T leftG = (left >> 8) & 0xFF;
    const T leftB = left & 0xFF;
    const T rightR = (right >> 16) & 0xFF;
    const T rightG = (right >> 8) & 0xFF;
    const T rightB = right & 0xFF;
    const T rSum = leftR + rightR;
    const T gSum = leftG + rightG;
    const T bSum = leftB + rightB;
    T leftLuma, blue, rightLuma, red;
    Luma(leftR, leftG, leftB, leftLuma);
    Chroma(kBlueR, kBlueG, kBlueB, rSum, gSum, bSum, blue);
    Luma(rightR, rightG, rightB, rightLuma);
    Chroma(kRedR, kRedG, kRedB, rSum, gSum, bSum, red);
    word = (leftLuma & 0xFF) | (blue & 0xFF) << 8 | (rightLuma & 0xFF) << 16 | (red & 0xFF) << 24;
}

#if defined(__SSE2__)
// A word of two 16-bit lanes, `low` in the lower.
constexpr s32 LanePair(s32 low, s32 high) {
    return static_cast<s32>((static_cast<u32>(high) << 16) | (static_cast<u32>(low) & 0xFFFF));
}

// Four pixels as four words, each a pixel's luma in its low 16 bits and, above, its pair's
// blue difference (first pixel) or red difference (second). Each multiply-add weighs two
// 16-bit channels at once: blue and red, then green beside a zero; the chroma reads the
// pair's channel sums, which fit 16 bits.
[[gnu::always_inline]] inline __m128i LumaChromaWords(__m128i pixels) {
    const __m128i blueRed = _mm_and_si128(pixels, _mm_set1_epi32(0x00FF00FF));
    const __m128i green = _mm_and_si128(_mm_srli_epi32(pixels, 8), _mm_set1_epi32(0xFF));
    // Green's weight is over 16 bits: it is weighed less 2^16, then green << 16 is added.
    const __m128i lumaSum = _mm_add_epi32(
        _mm_add_epi32(_mm_madd_epi16(blueRed, _mm_set1_epi32(LanePair(kLumaB, kLumaR))),
                      _mm_madd_epi16(green, _mm_set1_epi32(LanePair(kLumaG - 0x10000, 0)))),
        _mm_slli_epi32(green, 16));
    const __m128i luma = _mm_add_epi32(
        _mm_srai_epi32(_mm_add_epi32(lumaSum, _mm_set1_epi32(0x8000)), 16), _mm_set1_epi32(16));
    constexpr s32 kPartner = _MM_SHUFFLE(2, 3, 0, 1);
    const __m128i blueRedSums = _mm_add_epi16(blueRed, _mm_shuffle_epi32(blueRed, kPartner));
    const __m128i greenSums = _mm_add_epi16(green, _mm_shuffle_epi32(green, kPartner));
    const __m128i blueRedWeights = _mm_setr_epi32(LanePair(kBlueB, kBlueR), LanePair(kRedB, kRedR),
                                                  LanePair(kBlueB, kBlueR), LanePair(kRedB, kRedR));
    const __m128i greenWeights = _mm_setr_epi32(LanePair(kBlueG, 0), LanePair(kRedG, 0),
                                                LanePair(kBlueG, 0), LanePair(kRedG, 0));
    const __m128i chromaSum = _mm_add_epi32(_mm_madd_epi16(blueRedSums, blueRedWeights),
                                            _mm_madd_epi16(greenSums, greenWeights));
    const __m128i chroma = _mm_add_epi32(
        _mm_srai_epi32(_mm_add_epi32(chromaSum, _mm_set1_epi32(0x10000)), 17), _mm_set1_epi32(128));
    return _mm_or_si128(luma, _mm_slli_epi32(chroma, 16));
}

// Eight pixels at a time; every value is 0 to 255, so saturating packs keep it.
GX_RUNTIME_SIMD u32 ConvertPairsInVectors(const u32* source, u32 pairs, u8* destination) {
    u32 pair = 0;
    for (; pair + 4 <= pairs; pair += 4) {
        const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 2 * pair));
        const __m128i second =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 2 * pair + 4));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + 4 * pair),
                         _mm_packus_epi16(LumaChromaWords(first), LumaChromaWords(second)));
    }
    return pair;
}
#else
// Without SSE2, eight pairs at a time in these lanes; the scalar type s32 serves
// for the rest of a line, with the same arithmetic. Helpers take and give values through
// references, so that no call passes a vector wider than the baseline's registers.
using Lanes = s32 __attribute__((vector_size(32)));

GX_RUNTIME_SIMD u32 ConvertPairsInVectors(const u32* source, u32 pairs, u8* destination) {
    u32 pair = 0;
    for (; pair + 8 <= pairs; pair += 8) {
        Lanes low, high, words;
        std::memcpy(&low, source + 2 * pair, sizeof low);
        std::memcpy(&high, source + 2 * pair + 8, sizeof high);
        const Lanes left = __builtin_shufflevector(low, high, 0, 2, 4, 6, 8, 10, 12, 14);
        const Lanes right = __builtin_shufflevector(low, high, 1, 3, 5, 7, 9, 11, 13, 15);
        PairWord(left, right, words);
        std::memcpy(destination + 4 * pair, &words, sizeof words);
    }
    return pair;
}
#endif

void ConvertLine(const u32* source, u32 pairs, u8* destination) {
    for (u32 pair = ConvertPairsInVectors(source, pairs, destination); pair < pairs; ++pair) {
        s32 word;
        PairWord(static_cast<s32>(source[2 * pair]), static_cast<s32>(source[2 * pair + 1]), word);
        std::memcpy(destination + 4 * pair, &word, sizeof word);
    }
}

// Source line for output line `line` of `lines`: the source line under the output
// line's centre. Every output line then shows the source row that a point on it maps
// back to, and the first and last lines still come from the first and last rows.
u32 NearestSourceLine(u32 line, u32 lines, u32 sourceHeight) {
    if (lines == 0) {
        return 0;
    }
    return static_cast<u32>((2ull * line + 1) * sourceHeight / (2ull * lines));
}

} // namespace

u32 GXDisplayCopyLines(u32 sourceHeight, u32 yScale) {
    if (sourceHeight == 0) {
        return 0;
    }
    return (sourceHeight - 1) * kYScaleOne / yScale + 1;
}

void GXCopyToExternalFrameBuffer(const EmbeddedFrameBuffer& efb, const GXCopyState& copy,
                                 u8* destination) {
    const u32 lines = GXDisplayCopyLines(copy.srcHeight, copy.yScale);
    const u32 linesWritten = std::min<u32>(lines, copy.dstHeight);
    const u32 pairs = std::min<u32>(copy.srcWidth, copy.dstWidth) / 2;
    const u32 stride = copy.dstWidth * 2u;
    u32 previousSource = ~0u;
    for (u32 line = 0; line < linesWritten; ++line) {
        const u32 source = NearestSourceLine(line, lines, copy.srcHeight);
        u8* row = destination + line * stride;
        if (source == previousSource) {
            std::memcpy(row, row - stride, pairs * 4u);
        } else {
            ConvertLine(efb.ColourRow(copy.srcTop + source) + copy.srcLeft, pairs, row);
        }
        previousSource = source;
    }
}
