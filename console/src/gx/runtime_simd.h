// Marks a function whose loops the compiler vectorises to be built twice on x86-64:
// once for AVX2 and once for the baseline instruction set, the loader picking the one
// the processor runs. Other architectures build it once, for their own vector units.
#pragma once

#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define GX_THREAD_SANITIZER
#endif
#endif

// The thread sanitizer's build has one version: the loader runs the clones' resolvers
// before the sanitizer's runtime has started, which ends the program before main.
#if defined(__x86_64__) && defined(__ELF__) && !defined(GX_THREAD_SANITIZER)
#define GX_RUNTIME_SIMD __attribute__((target_clones("avx2", "default")))
#else
#define GX_RUNTIME_SIMD
#endif

// What the processor runs of the units built for one instruction set alone, found once.
struct GXSimdSupport {
    bool avx2;
    bool avx512Bw;      // AVX-512 byte and word instructions
    bool avx512Subsets; // and byte permutes, multiply-adds into sums
};

inline const GXSimdSupport& GXProcessorSimd() {
#if defined(__x86_64__)
    static const GXSimdSupport support = [] {
        const bool bw = __builtin_cpu_supports("avx512bw");
        return GXSimdSupport{__builtin_cpu_supports("avx2") != 0, bw,
                             bw && __builtin_cpu_supports("avx512vbmi") &&
                                 __builtin_cpu_supports("avx512vnni")};
    }();
#else
    static constexpr GXSimdSupport support{};
#endif
    return support;
}

inline bool GXHasAvx2() {
    return GXProcessorSimd().avx2;
}

inline bool GXHasAvx512Bw() {
    return GXProcessorSimd().avx512Bw;
}

inline bool GXHasAvx512Subsets() {
    return GXProcessorSimd().avx512Subsets;
}
