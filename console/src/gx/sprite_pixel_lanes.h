// The sprite loop's pixel arithmetic at one vector width, shared by its AVX2 and AVX-512BW
// loops, which include it built for their instruction set. Arithmetic as the two-pixel
// loop's, in 16-bit lanes (blue, green, red, alpha) as the byte unpacks leave them: each
// 128-bit quarter keeps its own four pixels, `low` holding its first two and `high` its
// last two, so that the pack puts them back in order.
#pragma once

#include "gx/sprite_pixels.h"

#include <cstring>

// `Isa` gives the width's vector and the instructions the compiler's vector operators do
// not: the byte unpacks, the unsigned pack, the byte shuffle and the rounding high multiply.
template <typename Isa>
struct SpritePixelLanes {
    using Vector = typename Isa::Vector;
    typedef u8 Bytes __attribute__((vector_size(sizeof(Vector))));
    typedef u16 Lanes __attribute__((vector_size(sizeof(Vector))));
    typedef u32 Words __attribute__((vector_size(sizeof(Vector))));

    struct Pixels {
        Lanes low, high;
    };

    static Pixels Widen(Vector texels) {
        return {Unpack<false>(texels, Vector{}), Unpack<true>(texels, Vector{})};
    }

    static Vector Pack(Pixels lanes) {
        return Isa::Pack(reinterpret_cast<Vector>(lanes.low), reinterpret_cast<Vector>(lanes.high));
    }

    // a to b by weight / 256, rounded, per lane, as the two-pixel loop's Lerp.
    static Lanes Lerp(Lanes a, Lanes b, Lanes weight) {
        return ((a << 8) + (b - a) * weight + 128) >> 8;
    }

    // (colour * modulation + 128) / 256 per lane, as (colour * 128 * modulation + 2^14) /
    // 2^15, which the rounding high multiply gives in one step (colour * 128 fits a signed
    // lane).
    static Lanes Modulate(Lanes colour, Lanes modulation) {
        return reinterpret_cast<Lanes>(Isa::MultiplyRounded(reinterpret_cast<Vector>(colour << 7),
                                                            reinterpret_cast<Vector>(modulation)));
    }

    // The modulation's four lanes repeated for every pixel.
    static Lanes Modulation(const GXSpritePixels& p) {
        typedef u64 Pixel __attribute__((vector_size(sizeof(Vector))));
        return reinterpret_cast<Lanes>(Pixel{} + p.modulation);
    }

    // The colours of the columns from x on, read from texel row `row`: their texels, each with
    // its right-hand neighbour filtered across or not, modulated (by `modulation`, as Modulation
    // gives it) or not. Texels neither filtered nor modulated are taken as they are. `columns`
    // loads texels and weights for the columns drawn.
    template <bool kLinear, bool kModulate, typename Columns>
    static Vector Colour(const GXSpritePixels& p, const u32* row, u32 x, Lanes modulation,
                         const Columns& columns) {
        const u32* first = row + static_cast<s32>(x) + p.offset;
        const Vector texels = columns.Texels(first);
        if constexpr (!kLinear && !kModulate) {
            return texels;
        } else {
            Pixels colour = Widen(texels);
            if constexpr (kLinear) {
                const Pixels right = Widen(columns.Texels(first + 1));
                const Pixels weight = columns.Weights(p.weight + x);
                colour = {Lerp(colour.low, right.low, weight.low),
                          Lerp(colour.high, right.high, weight.high)};
            }
            if constexpr (kModulate) {
                colour = {Modulate(colour.low, modulation), Modulate(colour.high, modulation)};
            }
            return Pack(colour);
        }
    }

    // Source over the destination by the source's alpha: per lane
    // (d * 256 + 128 + (s - d) * weight) / 256, the destination's lanes with 128 below them
    // unpacked straight from its bytes.
    [[gnu::always_inline]] static Vector Blend(Vector source, Vector destination) {
        // Each pixel's weight, alpha + alpha / 128, in the low 16 bits of its 32; then
        // spread over the pixel's four lanes by one byte shuffle per half.
        const Words alpha = reinterpret_cast<Words>(source) >> 24;
        const Vector weight = reinterpret_cast<Vector>(alpha + (alpha >> 7));
        return Pack(
            {Over<false>(source, destination, weight), Over<true>(source, destination, weight)});
    }

    // The loop `Step<linear, modulate, blend>::Draw` for the state asked for.
    template <template <bool, bool, bool> typename Step>
    static GXSpritePixelLoop Loop(bool linear, bool modulate, bool blend) {
        constexpr GXSpritePixelLoop kLoops[2][2][2] = {
            {{Step<false, false, false>::Draw, Step<false, false, true>::Draw},
             {Step<false, true, false>::Draw, Step<false, true, true>::Draw}},
            {{Step<true, false, false>::Draw, Step<true, false, true>::Draw},
             {Step<true, true, false>::Draw, Step<true, true, true>::Draw}}};
        return kLoops[linear][modulate][blend];
    }

private:
    // The bytes of a and b interleaved, from the first or the second half of each quarter.
    template <bool kHighHalf>
    static Lanes Unpack(Vector a, Vector b) {
        return reinterpret_cast<Lanes>(kHighHalf ? Isa::UnpackHigh(a, b) : Isa::UnpackLow(a, b));
    }

    // The blend of the low or high lanes, `weight` holding each pixel's in its low 16 bits.
    template <bool kHighHalf>
    static Lanes Over(Vector source, Vector destination, Vector weight) {
        // The byte shuffle spreading the weights of the half's pixels over their lanes.
        constexpr u8 kFirst = kHighHalf ? 8 : 0;
        u8 spread[sizeof(Vector)];
        for (u32 i = 0; i < sizeof(Vector); ++i) {
            spread[i] = static_cast<u8>(kFirst + (i & 8) / 2 + (i & 1));
        }
        Vector order;
        std::memcpy(&order, spread, sizeof order);
        const Lanes w = reinterpret_cast<Lanes>(Isa::ShuffleBytes(weight, order));
        const Vector rounding = reinterpret_cast<Vector>(Bytes{} + 128);
        const Lanes s = Unpack<kHighHalf>(source, Vector{});
        const Lanes d = Unpack<kHighHalf>(destination, Vector{});
        return (Unpack<kHighHalf>(rounding, destination) + (s - d) * w) >> 8;
    }
};
