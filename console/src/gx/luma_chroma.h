// The display copy's BT.601 studio-range conversion, shared by the scalar code and the
// vector code that each instruction set's own translation unit builds (hence internal
// linkage: no unit may pick up another's build of an inline function). Main thread only.
#pragma once

#include <console/types.h>

// Coefficients scaled by 2^16: luma, then blue and red difference, from red, green, blue.
constexpr s32 kGXLumaR = 16829;
constexpr s32 kGXLumaG = 33039;
constexpr s32 kGXLumaB = 6416;
constexpr s32 kGXBlueR = -9714;
constexpr s32 kGXBlueG = -19070;
constexpr s32 kGXBlueB = 28784;
constexpr s32 kGXRedR = 28784;
constexpr s32 kGXRedG = -24103;
constexpr s32 kGXRedB = -4681;

#if defined(__x86_64__)
// Converts whole groups of pairs with AVX2, which the caller has checked the processor
// has; returns how many pairs it converted.
u32 GXConvertPairsAvx2(const u32* source, u32 pairs, u8* destination);
#endif

namespace {

// A word of two 16-bit lanes, `low` in the lower.
constexpr s32 GXLanePair(s32 low, s32 high) {
    return static_cast<s32>((static_cast<u32>(high) << 16) | (static_cast<u32>(low) & 0xFFFF));
}

// The instruction set's parts: Words, a vector of 32-bit lanes, and Halves, of 64-bit
// lanes, the same size; MultiplyAdd(a, b), each
// word the sum of the products of its two signed 16-bit lanes; Store(first, second, to),
// the 16-bit lanes of both, in order, as bytes.
template <typename Set>
struct GXLumaChroma {
    using Words = typename Set::Words;
    static constexpr u32 kPixels = sizeof(Words) / 4;

    static Words Splat(s32 value) { return Words{} + value; }

    // value at even lanes, odd at odd ones.
    static Words Alternate(s32 even, s32 odd) {
        Words words{};
        for (u32 i = 0; i < kPixels; ++i) {
            words[i] = i % 2 == 0 ? even : odd;
        }
        return words;
    }

    // Each pixel's word with its pair's other pixel's.
    static Words Partner(Words words) {
        using Halves = typename Set::Halves;
        const Halves halves = reinterpret_cast<Halves>(words);
        return reinterpret_cast<Words>(halves << 32 | halves >> 32);
    }

    // Pixels as words, each a pixel's luma in its low 16 bits and, above, its pair's blue
    // difference (first pixel) or red difference (second). Each multiply-add weighs two
    // 16-bit channels at once: blue and red, then green beside a zero; the chroma reads the
    // pair's channel sums, which fit 16 bits, so one 32-bit add makes both.
    [[gnu::always_inline]] static Words Convert(Words pixels) {
        const Words blueRed = pixels & 0x00FF00FF;
        const Words green = (pixels >> 8) & 0xFF;
        // Green's weight is over 16 bits: it is weighed less 2^16, then green << 16 added.
        const Words lumaSum = Set::MultiplyAdd(blueRed, Splat(GXLanePair(kGXLumaB, kGXLumaR))) +
                              Set::MultiplyAdd(green, Splat(kGXLumaG - 0x10000)) + (green << 16);
        const Words luma = ((lumaSum + 0x8000) >> 16) + 16;
        const Words chromaSum =
            Set::MultiplyAdd(blueRed + Partner(blueRed), Alternate(GXLanePair(kGXBlueB, kGXBlueR),
                                                                   GXLanePair(kGXRedB, kGXRedR))) +
            Set::MultiplyAdd(green + Partner(green),
                             Alternate(GXLanePair(kGXBlueG, 0), GXLanePair(kGXRedG, 0)));
        const Words chroma = ((chromaSum + 0x10000) >> 17) + 128;
        return luma | chroma << 16;
    }

    // Whole groups of pairs, two vectors of pixels at a time; every value is 0 to 255, so
    // saturating packs keep it. Returns how many pairs it converted.
    static u32 ConvertPairs(const u32* source, u32 pairs, u8* destination) {
        constexpr u32 kGroup = kPixels; // pairs in two vectors
        u32 pair = 0;
        for (; pair + kGroup <= pairs; pair += kGroup) {
            Words first, second;
            __builtin_memcpy(&first, source + 2 * pair, sizeof first);
            __builtin_memcpy(&second, source + 2 * pair + kPixels, sizeof second);
            Set::Store(Convert(first), Convert(second), destination + 4 * pair);
        }
        return pair;
    }
};

} // namespace
