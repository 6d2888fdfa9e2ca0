// RGB to YUV 4:2:2 conversion of the display copy, line by line.
#include "gx/display_copy.h"

#include "gx/efb.h"
#include "gx/luma_chroma.h"
#include "gx/runtime_simd.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

static_assert(std::endian::native == std::endian::little, "pairs are stored as words");

constexpr u32 kYScaleOne = 256;

template <typename T>
[[gnu::always_inline]] inline void Luma(const T& r, const T& g, const T& b, T& luma) {
    luma = 16 + ((kGXLumaR * r + kGXLumaG * g + kGXLumaB * b + 0x8000) >> 16);
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
    Chroma(kGXBlueR, kGXBlueG, kGXBlueB, rSum, gSum, bSum, blue);
    Luma(rightR, rightG, rightB, rightLuma);
    Chroma(kGXRedR, kGXRedG, kGXRedB, rSum, gSum, bSum, red);
    word = (leftLuma & 0xFF) | (blue & 0xFF) << 8 | (rightLuma & 0xFF) << 16 | (red & 0xFF) << 24;
}

#if defined(__SSE2__)
struct Sse2 {
    using Words = s32 __attribute__((vector_size(16)));
    using Halves = u64 __attribute__((vector_size(16)));

    static Words MultiplyAdd(Words a, Words b) {
        return reinterpret_cast<Words>(
            _mm_madd_epi16(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(b)));
    }

    static void Store(Words first, Words second, u8* destination) {
        _mm_storeu_si128(
            reinterpret_cast<__m128i*>(destination),
            _mm_packus_epi16(reinterpret_cast<__m128i>(first), reinterpret_cast<__m128i>(second)));
    }
};

// The widest vectors the processor has, then SSE2 for what is left.
u32 ConvertPairsInVectors(const u32* source, u32 pairs, u8* destination) {
    u32 pair = 0;
#if defined(__x86_64__)
    if (GXHasAvx2()) {
        pair = GXConvertPairsAvx2(source, pairs, destination);
    }
#endif
    return pair + GXLumaChroma<Sse2>::ConvertPairs(source + 2 * pair, pairs - pair,
                                                   destination + 4 * pair);
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

// Whether all `count` words are `word`, checked a block at a time so that the compares
// vectorise and a line that differs early is left early.
bool AllWordsAre(const u32* words, u32 count, u32 word) {
    constexpr u32 kBlock = 32;
    u32 at = 0;
    for (; at + kBlock <= count; at += kBlock) {
        const u32* const block = words + at;
        u32 differences = 0;
        for (u32 i = 0; i < kBlock; ++i) {
            differences |= block[i] ^ word;
        }
        if (differences != 0) {
            return false;
        }
    }
    for (; at < count; ++at) {
        if (words[at] != word) {
            return false;
        }
    }
    return true;
}

// A line of one colour (a cleared one, as the frames before the first drawn one are)
// is its one pair's word repeated.
bool ConvertOneColourLine(const u32* source, u32 pairs, u8* destination) {
    if (pairs == 0 || !AllWordsAre(source, 2 * pairs, source[0])) {
        return false;
    }
    s32 word;
    PairWord(static_cast<s32>(source[0]), static_cast<s32>(source[0]), word);
    for (u32 pair = 0; pair < pairs; ++pair) {
        std::memcpy(destination + 4 * pair, &word, sizeof word);
    }
    return true;
}

void ConvertLine(const u32* source, u32 pairs, u8* destination) {
    if (ConvertOneColourLine(source, pairs, destination)) {
        return;
    }
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

void GXCopyToExternalFrameBuffer(EmbeddedFrameBuffer& efb, const GXCopyState& copy, u8* destination,
                                 bool clear) {
    const u32 lines = GXDisplayCopyLines(copy.srcHeight, copy.yScale);
    const u32 linesWritten = std::min<u32>(lines, copy.dstHeight);
    const u32 pairs = std::min<u32>(copy.srcWidth, copy.dstWidth) / 2;
    const u32 stride = copy.dstWidth * 2u;
    const u32 clearColour = GXColorToArgb(copy.clearColor);
    u32 cleared = 0; // source lines before it are filled
    const auto clearTo = [&](u32 end) {
        if (clear && end > cleared) {
            efb.Fill(copy.srcLeft, copy.srcTop + cleared, copy.srcWidth, end - cleared, clearColour,
                     copy.clearZ);
            cleared = end;
        }
    };
    u32 previousSource = ~0u;
    for (u32 line = 0; line < linesWritten; ++line) {
        const u32 source = NearestSourceLine(line, lines, copy.srcHeight);
        u8* row = destination + line * stride;
        if (source == previousSource) {
            std::memcpy(row, row - stride, pairs * 4u);
        } else {
            ConvertLine(efb.ColourRow(copy.srcTop + source) + copy.srcLeft, pairs, row);
            clearTo(source + 1); // later lines read only lines below it
        }
        previousSource = source;
    }
    clearTo(copy.srcHeight);
}
