// Marks a function whose loops the compiler vectorises to be built twice on x86-64:
// once for AVX2 and once for the baseline instruction set, the loader picking the one
// the processor runs. Other architectures build it once, for their own vector units.
#pragma once

#if defined(__x86_64__) && defined(__ELF__)
#define GX_RUNTIME_SIMD __attribute__((target_clones("avx2", "default")))
#else
#define GX_RUNTIME_SIMD
#endif

// Whether the processor runs AVX2 code, for the units built for it alone.
inline bool GXHasAvx2() {
#if defined(__x86_64__)
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

// Whether the processor runs AVX-512 byte and word instructions.
inline bool GXHasAvx512Bw() {
#if defined(__x86_64__)
    static const bool has = __builtin_cpu_supports("avx512bw");
    return has;
#else
    return false;
#endif
}

// Whether the processor runs the AVX-512 code: byte and word instructions, byte permutes,
// multiply-adds into sums.
inline bool GXHasAvx512Subsets() {
#if defined(__x86_64__)
    static const bool has = __builtin_cpu_supports("avx512bw") &&
                            __builtin_cpu_supports("avx512vbmi") &&
                            __builtin_cpu_supports("avx512vnni");
    return has;
#else
    return false;
#endif
}
