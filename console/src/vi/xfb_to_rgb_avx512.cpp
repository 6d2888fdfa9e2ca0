// VI's conversion with AVX-512 (byte and word instructions, byte permutes, multiply-adds
// into sums), built for it alone (see rgb_lanes.h).
#include "vi/rgb_lanes.h"

#if defined(__AVX512BW__) && defined(__AVX512VBMI__) && defined(__AVX512VNNI__)
#include <immintrin.h>

#include <array>

namespace {

// Byte permutes that lay out 32 pixels, each 128-bit lane's eight reds and eight greens in
// one register and its eight blues in another, as their 96 bytes: the first 64 (head),
// then the other 32 (tail, in its lower half). An index's bit 6 picks the blues.
struct RgbPermute {
    alignas(64) std::array<u8, 64> bytes;

    static constexpr RgbPermute Make(u32 first) {
        RgbPermute permute{};
        for (u32 at = 0; at < 64; ++at) {
            const u32 byte = (first + at) % 96;
            const u32 pixel = byte / 3;
            const u32 channel = byte % 3;
            const u32 inLane = 16 * (pixel / 8) + pixel % 8;
            permute.bytes[at] = static_cast<u8>(channel == 2 ? 64 + inLane : inLane + 8 * channel);
        }
        return permute;
    }

    __m512i Load() const { return _mm512_load_si512(&bytes); }
};

constexpr RgbPermute kHead = RgbPermute::Make(0);
constexpr RgbPermute kTail = RgbPermute::Make(64);
constexpr __mmask64 kTailBytes = 0xFFFFFFFF; // stored with a mask, the lower half alone

struct Avx512 {
    using Words = u32 __attribute__((vector_size(64)));

    static Words MultiplyAdd(Words a, Words b, Words plus) {
        return reinterpret_cast<Words>(_mm512_dpwssd_epi32(reinterpret_cast<__m512i>(plus),
                                                           reinterpret_cast<__m512i>(a),
                                                           reinterpret_cast<__m512i>(b)));
    }

    static Words UpperHalves(Words first, Words second) {
        return reinterpret_cast<Words>(_mm512_mask_blend_epi16(
            0xAAAAAAAA, reinterpret_cast<__m512i>(first >> 16), reinterpret_cast<__m512i>(second)));
    }

    // 32 pixels' 96 bytes from two permutes across the packed channels.
    static void Store(Words red, Words green, Words blue, u8* rgb) {
        const __m512i redGreen =
            _mm512_packus_epi16(reinterpret_cast<__m512i>(red), reinterpret_cast<__m512i>(green));
        const __m512i blues =
            _mm512_packus_epi16(reinterpret_cast<__m512i>(blue), reinterpret_cast<__m512i>(blue));
        _mm512_storeu_si512(rgb, _mm512_permutex2var_epi8(redGreen, kHead.Load(), blues));
        _mm512_mask_storeu_epi8(rgb + 64, kTailBytes,
                                _mm512_permutex2var_epi8(redGreen, kTail.Load(), blues));
    }
};

} // namespace

u32 VIConvertPairsAvx512(const u8* xfb, u32 pairs, u8* rgb) {
    return VIRgbLanes<Avx512>::ConvertPairs(xfb, pairs, rgb);
}
#endif
