// YUV 4:2:2 to RGB8, line by line.
#include "vi/xfb_to_rgb.h"

#include "gx/runtime_simd.h"
#include "vi/rgb_lanes.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

static_assert(std::endian::native == std::endian::little, "pairs are read as words");

// (scaled + 0x8000) >> 16 held to 0 to 255, without branches.
template <typename T>
[[gnu::always_inline]] inline void Clamp(T& scaled) {
    scaled = (scaled + 0x8000) >> 16;
    scaled &= ~(scaled >> 31);
    scaled = (scaled | ((255 - scaled) >> 31)) & 0xFF;
}

// A pixel's red, green and blue from the lowest byte up.
template <typename T>
[[gnu::always_inline]] inline void Pixel(const T& luma, const T& redOffset, const T& greenOffset,
                                         const T& blueOffset, T& pixel) {
    const T y = kVILuma * (luma - 16);
    T red = y + redOffset;
    T green = y + greenOffset;
    T blue = y + blueOffset;
    Clamp(red);
    Clamp(green);
    Clamp(blue);
    pixel = red | green << 8 | blue << 16;
}

// A pair (Y0, Cb, Y1, Cr from the lowest byte up) as its two pixels.
template <typename T>
[[gnu::always_inline]] inline void PairPixels(const T& word, T& left, T& right) {
    const T cb = ((word >> 8) & 0xFF) - 128;
    const T cr = ((word >> 24) & 0xFF) - 128;
    const T redOffset = kVIRedFromCr * cr;
    const T greenOffset = -kVIGreenFromCb * cb - kVIGreenFromCr * cr;
    const T blueOffset = kVIBlueFromCb * cb;
    Pixel<T>(word & 0xFF, redOffset, greenOffset, blueOffset, left);
    Pixel<T>((word >> 16) & 0xFF, redOffset, greenOffset, blueOffset, right);
}

#if defined(__SSE2__)
struct Sse2 {
    using Words = u32 __attribute__((vector_size(16)));

    static Words MultiplyAdd(Words a, Words b, Words plus) {
        return plus + reinterpret_cast<Words>(_mm_madd_epi16(reinterpret_cast<__m128i>(a),
                                                             reinterpret_cast<__m128i>(b)));
    }

    static Words UpperHalves(Words first, Words second) {
        return first >> 16 | (second & 0xFFFF0000);
    }

    // Four pixels' words (red, green, blue, zero from the lowest byte up) as their 12
    // bytes, at the bottom: each half's pixels close up to six bytes, then the halves.
    static __m128i CloseUp(__m128i pixels) {
        const __m128i firstWords = _mm_set_epi32(0, -1, 0, -1);
        const __m128i sixes = _mm_or_si128(_mm_and_si128(pixels, firstWords),
                                           _mm_srli_epi64(_mm_andnot_si128(firstWords, pixels), 8));
        const __m128i firstHalf = _mm_set_epi32(0, 0, -1, -1);
        return _mm_or_si128(_mm_and_si128(sixes, firstHalf),
                            _mm_srli_si128(_mm_andnot_si128(firstHalf, sixes), 2));
    }

    // Eight pixels as their 24 bytes.
    static void Store(Words red, Words green, Words blue, u8* rgb) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i redGreen =
            _mm_packus_epi16(reinterpret_cast<__m128i>(red), reinterpret_cast<__m128i>(green));
        const __m128i redsAndGreens = _mm_unpacklo_epi8(redGreen, _mm_srli_si128(redGreen, 8));
        const __m128i blues =
            _mm_unpacklo_epi8(_mm_packus_epi16(reinterpret_cast<__m128i>(blue), zero), zero);
        const __m128i first = CloseUp(_mm_unpacklo_epi16(redsAndGreens, blues));
        const __m128i second = CloseUp(_mm_unpackhi_epi16(redsAndGreens, blues));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb),
                         _mm_or_si128(first, _mm_slli_si128(second, 12)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(rgb + 16), _mm_srli_si128(second, 4));
    }
};

// The widest vectors the processor has, then each narrower set for what is left.
u32 ConvertPairsInVectors(const u8* xfb, u32 pairs, u8* rgb) {
    u32 pair = 0;
    const auto convertRest = [&](auto convertPairs) {
        pair += convertPairs(xfb + 4 * pair, pairs - pair, rgb + 6 * pair);
    };
#if defined(__x86_64__)
    if (GXHasAvx512Subsets()) {
        convertRest(VIConvertPairsAvx512);
    }
    if (GXHasAvx2()) {
        convertRest(VIConvertPairsAvx2);
    }
#endif
    convertRest(VIRgbLanes<Sse2>::ConvertPairs);
    return pair;
}
#else
// Without SSE2, eight pairs at a time in these lanes, with the scalar arithmetic. Helpers
// take and give values through references, so that no call passes a vector wider than the
// baseline's registers.
using Lanes = s32 __attribute__((vector_size(32)));

// Eight pixels' words (red, green, blue from the lowest byte up) as their 24 bytes.
[[gnu::always_inline]] inline void StoreEightPixels(const Lanes& pixels, u8* rgb) {
    using Bytes = u8 __attribute__((vector_size(32)));
    const Bytes bytes = reinterpret_cast<Bytes>(pixels);
    const Bytes packed =
        __builtin_shufflevector(bytes, bytes, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17, 18,
                                20, 21, 22, 24, 25, 26, 28, 29, 30, 0, 0, 0, 0, 0, 0, 0, 0);
    std::memcpy(rgb, &packed, 24);
}

GX_RUNTIME_SIMD u32 ConvertPairsInVectors(const u8* xfb, u32 pairs, u8* rgb) {
    u32 pair = 0;
    for (; pair + 8 <= pairs; pair += 8) {
        Lanes words, left, right;
        std::memcpy(&words, xfb + 4 * pair, sizeof words);
        PairPixels(words, left, right);
        const Lanes first = __builtin_shufflevector(left, right, 0, 8, 1, 9, 2, 10, 3, 11);
        const Lanes second = __builtin_shufflevector(left, right, 4, 12, 5, 13, 6, 14, 7, 15);
        StoreEightPixels(first, rgb + 6 * pair);
        StoreEightPixels(second, rgb + 6 * pair + 24);
    }
    return pair;
}
#endif

// The vectors, then the pairs left one by one, with the same arithmetic.
void ConvertLine(const u8* xfb, u32 pairs, u8* rgb) {
    for (u32 pair = ConvertPairsInVectors(xfb, pairs, rgb); pair < pairs; ++pair) {
        s32 word, left, right;
        std::memcpy(&word, xfb + 4 * pair, sizeof word);
        PairPixels(word, left, right);
        const u8 bytes[6] = {static_cast<u8>(left),       static_cast<u8>(left >> 8),
                             static_cast<u8>(left >> 16), static_cast<u8>(right),
                             static_cast<u8>(right >> 8), static_cast<u8>(right >> 16)};
        std::memcpy(rgb + 6 * pair, bytes, sizeof bytes);
    }
}

} // namespace

void VIConvertXfbToRgb(const u8* xfb, u32 xfbStride, u32 width, u32 height, u8* rgb, u32 rgbPitch) {
    for (u32 line = 0; line < height; ++line) {
        ConvertLine(xfb + line * xfbStride, width / 2, rgb + line * rgbPitch);
    }
}
