// The display copy's conversion with AVX2, built for it alone (see luma_chroma.h).
#include "gx/luma_chroma.h"

#if defined(__AVX2__)
#include <immintrin.h>

namespace {

struct Avx2 {
    using Words = s32 __attribute__((vector_size(32)));
    using Halves = u64 __attribute__((vector_size(32)));

    static Words MultiplyAdd(Words a, Words b) {
        return reinterpret_cast<Words>(
            _mm256_madd_epi16(reinterpret_cast<__m256i>(a), reinterpret_cast<__m256i>(b)));
    }

    // The pack works in 128-bit halves; the permute puts its quarters back in order.
    static void Store(Words first, Words second, u8* destination) {
        const __m256i packed = _mm256_packus_epi16(reinterpret_cast<__m256i>(first),
                                                   reinterpret_cast<__m256i>(second));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination),
                            _mm256_permute4x64_epi64(packed, _MM_SHUFFLE(3, 1, 2, 0)));
    }
};

} // namespace

u32 GXConvertPairsAvx2(const u32* source, u32 pairs, u8* destination) {
    return GXLumaChroma<Avx2>::ConvertPairs(source, pairs, destination);
}
#endif
