// kmRandomMersenneTwister: the MT19937 generator, output for output the reference
// generator's sequence for the same seed, with 15-bit, bounded-integer and unit-float
// draws. No lock: one owner draws from it (on the main thread). It cannot be copied,
// because pNext points into its own state. randInt of n <= 0 gives 0.
#pragma once

#include <console/types.h>

namespace Kelvo_lib {

class kmRandomMersenneTwister {
public:
    static constexpr u32 kStateWords = 624;

    explicit kmRandomMersenneTwister(u32 s = 5489u) { seed(s); }
    kmRandomMersenneTwister(const kmRandomMersenneTwister&) = delete;
    kmRandomMersenneTwister& operator=(const kmRandomMersenneTwister&) = delete;

    void seed(u32 s) {
        origseed = s;
        state[0] = s;
        for (u32 i = 1; i < kStateWords; ++i) {
            state[i] = 1812433253u * (state[i - 1] ^ (state[i - 1] >> 30)) + i;
        }
        reload();
    }

    // The next tempered 32-bit output.
    u32 draw() {
        if (left == 0) {
            reload();
        }
        --left;
        u32 y = *pNext++;
        y ^= y >> 11;
        y ^= (y << 7) & 0x9D2C5680u;
        y ^= (y << 15) & 0xEFC60000u;
        y ^= y >> 18;
        return y;
    }

    // 0 to 32767: the low 15 bits of the next output.
    unsigned int rand() { return draw() & 0x7FFFu; }

    // 0 to n - 1. An output within 128 of 2^32 rounds to 2^32 as a float and would give
    // n; it gives n - 1 instead.
    int randInt(int n) {
        const float scale = static_cast<float>(n) / 4294967296.0f;
        const float scaled = scale * static_cast<float>(draw());
        if (n <= 0) {
            return 0;
        }
        if (scaled >= 2147483648.0f) {
            return n - 1;
        }
        const int result = static_cast<int>(scaled);
        return result < n ? result : n - 1;
    }

    // 0.0 to 1.0 (1.0 when the output rounds up to 2^32 as a float).
    float randFloat() { return static_cast<float>(draw()) * 2.3283064e-10f; }

private:
    static u32 Twist(u32 word, u32 next, u32 far) {
        const u32 y = (word & 0x80000000u) | (next & 0x7FFFFFFFu);
        return far ^ (y >> 1) ^ ((y & 1u) != 0 ? 0x9908B0DFu : 0u);
    }

    void reload() {
        constexpr u32 kShift = 397;
        for (u32 k = 0; k < kStateWords - 1; ++k) {
            state[k] = Twist(state[k], state[k + 1], state[(k + kShift) % kStateWords]);
        }
        state[kStateWords - 1] = Twist(state[kStateWords - 1], state[0], state[kShift - 1]);
        left = kStateWords;
        pNext = state;
    }

    u32 origseed;
    u32 state[kStateWords];
    u32* pNext;
    u32 left;
};

} // namespace Kelvo_lib
