// SeededRandom: the puzzle generators' one source of randomness. A 32-bit Mersenne
// Twister (the standard's exactly defined mt19937) with its own bounded draws, so a
// seed gives the same puzzles with any standard library. One owner, no lock.
#pragma once

#include <cstdint>
#include <random>
#include <utility>
#include <vector>

namespace datatool {

class SeededRandom {
public:
    explicit SeededRandom(std::uint32_t seed) : m_engine(seed) {}

    // 0 to n - 1, without modulo bias; 0 for n <= 1.
    int Below(int n) {
        if (n <= 1) {
            return 0;
        }
        const std::uint32_t bound = static_cast<std::uint32_t>(n);
        const std::uint32_t limit = UINT32_MAX - UINT32_MAX % bound;
        std::uint32_t value = 0;
        do {
            value = static_cast<std::uint32_t>(m_engine());
        } while (value >= limit);
        return static_cast<int>(value % bound);
    }

    // min to max inclusive.
    int Between(int min, int max) { return min + Below(max - min + 1); }

    template <class T>
    void Shuffle(std::vector<T>& items) {
        for (int i = static_cast<int>(items.size()) - 1; i > 0; --i) {
            std::swap(items[static_cast<std::size_t>(i)],
                      items[static_cast<std::size_t>(Below(i + 1))]);
        }
    }

private:
    std::mt19937 m_engine;
};

// A seed for one puzzle, mixed from the bank's seed and the puzzle's place in it, so
// that each puzzle can be made again on its own.
inline std::uint32_t MixSeed(std::uint32_t seed, std::uint32_t a, std::uint32_t b) {
    std::uint64_t x =
        (static_cast<std::uint64_t>(seed) << 32) ^ (static_cast<std::uint64_t>(a) << 16) ^ b;
    x ^= x >> 33;
    x *= 0xFF51AFD7ED558CCDull;
    x ^= x >> 33;
    x *= 0xC4CEB9FE1A85EC53ull;
    x ^= x >> 33;
    return static_cast<std::uint32_t>(x);
}

} // namespace datatool
