// RGBA8 tile rows with AVX2's byte shuffle, built for AVX2 alone (see rgba8_tiles.h).
#include "gx/rgba8_tiles.h"

#if defined(__AVX2__)
#include <immintrin.h>

void GXDecodeRgba8TileRowAvx2(const u8* tile, u32 row, u32 tiles, u32* out) {
    // From four alpha-red pairs then four green-blue pairs to blue, green, red, alpha.
    const __m128i order = _mm_setr_epi8(9, 8, 1, 0, 11, 10, 3, 2, 13, 12, 5, 4, 15, 14, 7, 6);
    const u8* pairs = tile + row * 8;
    for (u32 i = 0; i < tiles; ++i, pairs += 64, out += 4) {
        const __m128i alphaRed = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pairs));
        const __m128i greenBlue = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(pairs + 32));
        const __m128i texels = _mm_shuffle_epi8(_mm_unpacklo_epi64(alphaRed, greenBlue), order);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), texels);
    }
}

#endif
