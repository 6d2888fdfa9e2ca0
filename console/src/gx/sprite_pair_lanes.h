// The sprite loop's pixel arithmetic two pixels at a time, in eight 16-bit lanes (blue,
// green, red, alpha, then the second pixel): widening texels, filtering, blending by
// source alpha and writing four pixels at once, each exactly as the per-pixel loops
// compute it. Shared by the loop's stepped and turned spans; plain values, no state.
#pragma once

#include "gx/efb.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace gx_sprite {

static_assert(std::endian::native == std::endian::little,
              "pixels are read as bytes: blue, green, red, alpha");

// Two pixels as eight 16-bit lanes: blue, green, red, alpha, then the second pixel.
using Lanes = u16 __attribute__((vector_size(16)));
using Bytes = u8 __attribute__((vector_size(16)));
using Halves = u64 __attribute__((vector_size(16)));
using Words = u32 __attribute__((vector_size(16)));

constexpr u64 kEveryLane = 0x0001000100010001ull;

inline u64 Load(const u32* pixels) {
    u64 pair;
    std::memcpy(&pair, pixels, sizeof pair);
    return pair;
}

inline Lanes Widen(u64 pair) {
    const Bytes bytes = reinterpret_cast<Bytes>(Halves{pair, 0});
    return reinterpret_cast<Lanes>(__builtin_shufflevector(bytes, Bytes{}, 0, 16, 1, 17, 2, 18, 3,
                                                           19, 4, 20, 5, 21, 6, 22, 7, 23));
}

// Lanes holding 0 to 255 back to four pixels, `low`'s first.
inline Halves Pack(Lanes low, Lanes high) {
#if defined(__SSE2__)
    using Signed = short __attribute__((vector_size(16)));
    return reinterpret_cast<Halves>(
        __builtin_ia32_packuswb128(reinterpret_cast<Signed>(low), reinterpret_cast<Signed>(high)));
#else
    using Eight = u8 __attribute__((vector_size(8)));
    const Eight halves[2] = {__builtin_convertvector(low, Eight),
                             __builtin_convertvector(high, Eight)};
    Halves packed;
    std::memcpy(&packed, halves, sizeof packed);
    return packed;
#endif
}

// a to b by weight / 256, rounded, per lane: gx_texture::Lerp two pixels at a time.
// a * (256 - weight) + b * weight is at most 65280, so computing it as a * 256 plus
// (b - a) * weight, which may wrap on the way, gives it exactly.
inline Lanes Lerp(Lanes a, Lanes b, Lanes weight) {
    return ((a << 8) + (b - a) * weight + 128) >> 8;
}

inline Words LoadFour(const u32* pixels) {
    Words four;
    std::memcpy(&four, pixels, sizeof four);
    return four;
}

inline void StoreFour(u32* pixels, Words four) {
    std::memcpy(pixels, &four, sizeof four);
}

// The lanes of pixels 0 and 1, or 2 and 3, of four.
template <u32 kHalf>
Lanes WidenHalf(Words four) {
    return Widen(reinterpret_cast<Halves>(four)[kHalf]);
}

// Whether every lane of a comparison's result is set.
inline bool EveryLane(Words comparison) {
#if defined(__SSE2__)
    using Chars = char __attribute__((vector_size(16)));
    return __builtin_ia32_pmovmskb128(reinterpret_cast<Chars>(comparison)) == 0xFFFF;
#else
    const Halves halves = reinterpret_cast<Halves>(comparison);
    return (halves[0] & halves[1]) == ~u64{0};
#endif
}

// Source over two pixels by its alpha.
inline Lanes Blend(Lanes colour, Lanes destination) {
    const Lanes alpha = __builtin_shufflevector(colour, colour, 3, 3, 3, 3, 7, 7, 7, 7);
    return Lerp(destination, colour, alpha + (alpha >> 7));
}

// Four pixels, `first`'s two then `second`'s, written over `pixels`, but for those whose
// lanes `keep` sets. Blended, opaque pixels replace and transparent ones keep what is
// there, exactly as blending them gives, so four that are each one or the other (as the
// texels of text are) cost no arithmetic.
template <bool kBlend>
[[gnu::always_inline]] inline void Write(Lanes first, Lanes second, u32* pixels,
                                         Words keep = Words{}) {
    const Words opaque = Words{} + 0xFF000000u;
    const Words destination = LoadFour(pixels);
    Words source = reinterpret_cast<Words>(Pack(first, second));
    if constexpr (kBlend) {
        const Words alphas = source & opaque;
        const Words replaced = reinterpret_cast<Words>(alphas == opaque);
        if (!EveryLane(replaced)) {
            const Words kept = reinterpret_cast<Words>(alphas == 0);
            source = EveryLane(replaced | kept)
                         ? (source & replaced) | (destination & kept)
                         : reinterpret_cast<Words>(Pack(Blend(first, WidenHalf<0>(destination)),
                                                        Blend(second, WidenHalf<1>(destination))));
        }
    }
    StoreFour(pixels, ((source | opaque) & ~keep) | (destination & keep));
}

// The one to three pixels of line `row` from column x on that end a span: the four from x
// with the others kept as they are, or, at the end of the line, through a copy of four.
template <bool kBlend>
[[gnu::always_inline]] inline void WriteLast(Lanes first, Lanes second, u32* row, u32 x,
                                             u32 count) {
    if (x + 4 <= EmbeddedFrameBuffer::kWidth) {
        const Words lanes = {0, 1, 2, 3};
        Write<kBlend>(first, second, row + x, reinterpret_cast<Words>(lanes >= count));
        return;
    }
    u32 last[4] = {row[x], row[x], row[x], row[x]};
    std::copy(row + x, row + x + count, last);
    Write<kBlend>(first, second, last);
    std::copy(last, last + count, row + x);
}

} // namespace gx_sprite
