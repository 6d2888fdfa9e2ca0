// VI's YUV 4:2:2 to RGB8 conversion, shared by the scalar code and the vector code that
// each instruction set's own translation unit builds (hence internal linkage: no unit may
// pick up another's build of an inline function).
#pragma once

#include "gx/luma_chroma.h"

#include <console/types.h>

// BT.601 studio-range inverse coefficients, scaled by 2^16.
constexpr s32 kVILuma = 76309;
constexpr s32 kVIRedFromCr = 104597;
constexpr s32 kVIGreenFromCb = 25675;
constexpr s32 kVIGreenFromCr = 53279;
constexpr s32 kVIBlueFromCb = 132201;

#if defined(__x86_64__)
// Converts whole groups of pairs with AVX2, which the caller has checked the processor
// has; returns how many pairs it converted.
u32 VIConvertPairsAvx2(const u8* xfb, u32 pairs, u8* rgb);
// The same with AVX-512 (byte and word instructions, byte permutes, multiply-adds into
// sums).
u32 VIConvertPairsAvx512(const u8* xfb, u32 pairs, u8* rgb);
#endif

namespace {

// The instruction set's parts: Words, a vector of unsigned 32-bit lanes, one pixel pair
// each; MultiplyAdd(a, b, plus), each word plus's word and the products of a's and b's
// two signed 16-bit lanes; UpperHalves(first, second), each word's upper 16 bits (a
// sum >> 16), the first's in the word's lower lane and the second's in its upper, so that
// a pair's two pixels are in order; Store(red, green, blue, to), each the pixels' signed
// 16-bit channel, stored as red, green, blue bytes, saturated to 0 to 255.
template <typename Set>
struct VIRgbLanes {
    using Words = typename Set::Words;
    static constexpr u32 kPairs = sizeof(Words) / 4;

    // A multiply-add weighs by signed 16-bit values: each coefficient beyond them is a
    // multiple of 2^16, added as a shift, plus a remainder that fits, weighed.
    static constexpr s32 kLumaLow = kVILuma - 0x10000;
    static constexpr s32 kRedLow = kVIRedFromCr - 0x20000;
    static constexpr s32 kGreenFromCrLow = 0x10000 - kVIGreenFromCr;
    static constexpr s32 kBlueLow = kVIBlueFromCb - 0x20000;

    // The terms that do not depend on the pixel: the luma and chroma offsets (16, 128)
    // and the rounding.
    static constexpr s32 kRounding = 0x8000 - 16 * kVILuma;
    static constexpr s32 kRedBias = kRounding - 128 * kVIRedFromCr;
    static constexpr s32 kGreenBias = kRounding + 128 * (kVIGreenFromCb + kVIGreenFromCr);
    static constexpr s32 kBlueBias = kRounding - 128 * kVIBlueFromCb;

    static Words Splat(s32 value) { return Words{} + static_cast<u32>(value); }

    // Pairs (Y0, Cb, Y1, Cr from the lowest byte up) as their pixels. The chroma terms
    // are a pair's, the luma terms a pixel's; every sum fits 32 bits, signed.
    [[gnu::always_inline]] static void Convert(Words pairs, u8* rgb) {
        const Words luma = pairs & 0x00FF00FF;
        const Words chroma = (pairs >> 8) & 0x00FF00FF;
        const Words crHigh = chroma & 0x00FF0000;
        const Words red =
            Set::MultiplyAdd(chroma, Splat(GXLanePair(0, kRedLow)), (crHigh << 1) + kRedBias);
        const Words green = Set::MultiplyAdd(
            chroma, Splat(GXLanePair(-kVIGreenFromCb, kGreenFromCrLow)), kGreenBias - crHigh);
        const Words blue =
            Set::MultiplyAdd(chroma, Splat(GXLanePair(kBlueLow, 0)), (chroma << 17) + kBlueBias);
        const Words left = Set::MultiplyAdd(luma, Splat(GXLanePair(kLumaLow, 0)), luma << 16);
        const Words right =
            Set::MultiplyAdd(luma, Splat(GXLanePair(0, kLumaLow)), luma & 0x00FF0000);
        Set::Store(Set::UpperHalves(left + red, right + red),
                   Set::UpperHalves(left + green, right + green),
                   Set::UpperHalves(left + blue, right + blue), rgb);
    }

    // Whole groups of pairs; returns how many pairs it converted.
    static u32 ConvertPairs(const u8* xfb, u32 pairs, u8* rgb) {
        u32 pair = 0;
        for (; pair + kPairs <= pairs; pair += kPairs) {
            Words words;
            __builtin_memcpy(&words, xfb + 4 * pair, sizeof words);
            Convert(words, rgb + 6 * pair);
        }
        return pair;
    }
};

} // namespace
