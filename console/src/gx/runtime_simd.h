// Marks a function whose loops the compiler vectorises to be built twice on x86-64:
// once for AVX2 and once for the baseline instruction set, the loader picking the one
// the processor runs. Other architectures build it once, for their own vector units.
#pragma once

// Helpers that take vector types wider than the baseline's registers are always
// inlined into such a function, so no call passes one and no calling convention is
// at stake.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wpsabi"
#endif

#if defined(__x86_64__) && defined(__ELF__)
#define GX_RUNTIME_SIMD __attribute__((target_clones("avx2", "default")))
#else
#define GX_RUNTIME_SIMD
#endif
