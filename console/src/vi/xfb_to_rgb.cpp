// YUV 4:2:2 to RGB8, line by line.
#include "vi/xfb_to_rgb.h"

#include "gx/runtime_simd.h"

#include <bit>
#include <cstring>

namespace {

static_assert(std::endian::native == std::endian::little, "pairs are read as words");

// BT.601 studio-range inverse coefficients, scaled by 2^16.
constexpr s32 kLuma = 76309;
constexpr s32 kRedFromCr = 104597;
constexpr s32 kGreenFromCb = 25675;
constexpr s32 kGreenFromCr = 53279;
constexpr s32 kBlueFromCb = 132201;

// Eight pairs at a time; the scalar type s32 serves for the rest of a line, with the
// same arithmetic. Helpers take and give values through references, so that no call
// passes a vector wider than the baseline's registers.
using Lanes = s32 __attribute__((vector_size(32)));

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
    const T y = kLuma * (luma - 16);
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
    const T redOffset = kRedFromCr * cr;
    const T greenOffset = -kGreenFromCb * cb - kGreenFromCr * cr;
    const T blueOffset = kBlueFromCb * cb;
    Pixel<T>(word & 0xFF, redOffset, greenOffset, blueOffset, left);
    Pixel<T>((word >> 16) & 0xFF, redOffset, greenOffset, blueOffset, right);
}

// Eight pixels' words (red, green, blue from the lowest byte up) as their 24 bytes.
[[gnu::always_inline]] inline void StoreEightPixels(const Lanes& pixels, u8* rgb) {
    using Bytes = u8 __attribute__((vector_size(32)));
    const Bytes bytes = reinterpret_cast<Bytes>(pixels);
    const Bytes packed =
        __builtin_shufflevector(bytes, bytes, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, 16, 17, 18,
                                20, 21, 22, 24, 25, 26, 28, 29, 30, 0, 0, 0, 0, 0, 0, 0, 0);
    std::memcpy(rgb, &packed, 24);
}

GX_RUNTIME_SIMD void ConvertLine(const u8* xfb, u32 pairs, u8* rgb) {
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
    for (; pair < pairs; ++pair) {
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
