// VI's conversion with AVX2, built for it alone (see rgb_lanes.h).
#include "vi/rgb_lanes.h"

#if defined(__AVX2__)
#include <immintrin.h>

#include <array>

namespace {

// Byte shuffles that lay out a 128-bit lane's eight pixels, red and green in one
// register (eight reds, eight greens) and blue in another (eight blues), as their 24
// bytes: the first 16 (head), then the other 8 (tail). Indices of -1 give zero.
struct RgbShuffle {
    alignas(32) std::array<s8, 32> bytes;

    // Output bytes from `first` on, the red and green part or the blue part.
    static constexpr RgbShuffle Make(u32 first, bool blue) {
        RgbShuffle shuffle{};
        for (u32 at = 0; at < 32; ++at) {
            const u32 byte = first + at % 16;
            const u32 pixel = byte / 3;
            const u32 channel = byte % 3;
            const bool inLane = byte < 24;
            const bool isBlue = channel == 2;
            shuffle.bytes[at] =
                static_cast<s8>(!inLane || isBlue != blue ? -1 : pixel + (channel == 1 ? 8 : 0));
        }
        return shuffle;
    }

    __m256i Load() const { return _mm256_load_si256(reinterpret_cast<const __m256i*>(&bytes)); }
};

constexpr RgbShuffle kHeadRedGreen = RgbShuffle::Make(0, false);
constexpr RgbShuffle kHeadBlue = RgbShuffle::Make(0, true);
constexpr RgbShuffle kTailRedGreen = RgbShuffle::Make(16, false);
constexpr RgbShuffle kTailBlue = RgbShuffle::Make(16, true);

struct Avx2 {
    using Words = u32 __attribute__((vector_size(32)));

    static Words MultiplyAdd(Words a, Words b, Words plus) {
        return plus + reinterpret_cast<Words>(_mm256_madd_epi16(reinterpret_cast<__m256i>(a),
                                                                reinterpret_cast<__m256i>(b)));
    }

    static Words UpperHalves(Words first, Words second) {
        return reinterpret_cast<Words>(_mm256_blend_epi16(reinterpret_cast<__m256i>(first >> 16),
                                                          reinterpret_cast<__m256i>(second), 0xAA));
    }

    // Each 128-bit lane holds eight pixels: their 24 bytes go out lane by lane.
    static void Store(Words red, Words green, Words blue, u8* rgb) {
        const __m256i redGreen =
            _mm256_packus_epi16(reinterpret_cast<__m256i>(red), reinterpret_cast<__m256i>(green));
        const __m256i blues =
            _mm256_packus_epi16(reinterpret_cast<__m256i>(blue), reinterpret_cast<__m256i>(blue));
        const __m256i head = _mm256_or_si256(_mm256_shuffle_epi8(redGreen, kHeadRedGreen.Load()),
                                             _mm256_shuffle_epi8(blues, kHeadBlue.Load()));
        const __m256i tail = _mm256_or_si256(_mm256_shuffle_epi8(redGreen, kTailRedGreen.Load()),
                                             _mm256_shuffle_epi8(blues, kTailBlue.Load()));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb), _mm256_castsi256_si128(head));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(rgb + 16), _mm256_castsi256_si128(tail));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(rgb + 24), _mm256_extracti128_si256(head, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(rgb + 40), _mm256_extracti128_si256(tail, 1));
    }
};

} // namespace

u32 VIConvertPairsAvx2(const u8* xfb, u32 pairs, u8* rgb) {
    return VIRgbLanes<Avx2>::ConvertPairs(xfb, pairs, rgb);
}
#endif
