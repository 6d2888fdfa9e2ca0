// Textures: texture objects over the caller's tiled image memory, the eight texture
// maps, the sixteen palette slots, and sampling. Images are read in place, in the
// console's tile order and byte order (RGBA8, RGB565, C8, I8), by every primitive that
// samples them, so nothing can go stale; palettes are copied (decoded) into their slot
// when loaded, as the hardware copies them into texture memory. A map without a usable
// texture samples as transparent black. Main thread only.
#pragma once

#include <console/gx.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <optional>

constexpr u32 kGXPaletteEntries = 256;
constexpr s32 kGXMaxTextureSize = 1024;

// A loaded map, ready to sample. image is null when there is nothing to sample.
struct GXTextureSampler {
    const u8* image;
    u32 format;
    s32 width, height;
    s32 maskS, maskT; // size - 1 for a power-of-two repeat, else -1
    u32 tilesPerRow;
    GXTexWrapMode wrapS, wrapT;
    bool linearMagnify, linearMinify;
    const u32* palette; // kGXPaletteEntries colours 0xAARRGGBB for C8
};

void GXResetTextures();

GXTextureSampler GXResolveSampler(u32 map);

namespace gx_texture {

inline s32 Wrap(s32 i, s32 size, s32 mask, GXTexWrapMode mode) {
    if (mode == GX_CLAMP) {
        return i < 0 ? 0 : (i >= size ? size - 1 : i);
    }
    if (mask >= 0 && mode == GX_REPEAT) {
        return i & mask;
    }
    const s32 period = mode == GX_MIRROR ? 2 * size : size;
    s32 at = i % period;
    at = at < 0 ? at + period : at;
    return at < size ? at : period - 1 - at;
}

inline u32 Expand565(u32 value) {
    const u32 r = (value >> 11) & 0x1F;
    const u32 g = (value >> 5) & 0x3F;
    const u32 b = value & 0x1F;
    return 0xFF000000 | (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
}

// Texel (x, y), both inside the texture, as 0xAARRGGBB.
template <u32 kFormat>
inline u32 Fetch(const GXTextureSampler& t, s32 x, s32 y) {
    const u32 tileRow = static_cast<u32>(y >> 2) * t.tilesPerRow;
    const u32 inRow = static_cast<u32>(y & 3);
    if constexpr (kFormat == GX_TF_RGBA8) {
        // 4 x 4 tiles of 64 bytes: alpha-red pairs, then green-blue pairs.
        const u8* tile = t.image + (tileRow + static_cast<u32>(x >> 2)) * 64;
        const u32 at = (inRow * 4 + static_cast<u32>(x & 3)) * 2;
        return static_cast<u32>(tile[at]) << 24 | static_cast<u32>(tile[at + 1]) << 16 |
               static_cast<u32>(tile[32 + at]) << 8 | tile[33 + at];
    } else if constexpr (kFormat == GX_TF_RGB565) {
        // 4 x 4 tiles of 32 bytes, big-endian words.
        const u8* tile = t.image + (tileRow + static_cast<u32>(x >> 2)) * 32;
        const u32 at = (inRow * 4 + static_cast<u32>(x & 3)) * 2;
        return Expand565(static_cast<u32>(tile[at]) << 8 | tile[at + 1]);
    } else { // I8 and C8: 8 x 4 tiles of 32 bytes
        const u8 value = t.image[(tileRow + static_cast<u32>(x >> 3)) * 32 + inRow * 8 +
                                 static_cast<u32>(x & 7)];
        return kFormat == GX_TF_C8 ? t.palette[value] : value * 0x01010101u;
    }
}

// A texture coordinate scaled to 1/256 texels, floored, kept within range.
inline s32 Fixed(f32 coordinate, s32 size) {
    f32 scaled = coordinate * static_cast<f32>(size * 256);
    constexpr f32 kLimit = 1073741824.0f;         // 2^30
    scaled = scaled > -kLimit ? scaled : -kLimit; // also catches NaN
    scaled = scaled < kLimit ? scaled : kLimit;
    // Shifted positive, truncation floors; without a branch.
    const s64 shifted = static_cast<s64>(static_cast<f64>(scaled) + 2147483648.0);
    return static_cast<s32>(shifted - 2147483648LL);
}

// a to b by weight / 256, all four channels at once (two to a 32-bit lane pair).
inline u32 Lerp(u32 a, u32 b, u32 weight) {
    const u32 keep = 256 - weight;
    const u32 redBlue =
        (((a & 0x00FF00FF) * keep + (b & 0x00FF00FF) * weight + 0x00800080) >> 8) & 0x00FF00FF;
    const u32 alphaGreen =
        (((a >> 8) & 0x00FF00FF) * keep + ((b >> 8) & 0x00FF00FF) * weight + 0x00800080) &
        0xFF00FF00;
    return redBlue | alphaGreen;
}

// Coordinates u, v in 1/256 texels.
template <u32 kFormat>
[[gnu::always_inline]] inline u32 Sample(const GXTextureSampler& t, s32 u, s32 v, bool linear) {
    if (!linear) {
        return Fetch<kFormat>(t, Wrap(u >> 8, t.width, t.maskS, t.wrapS),
                              Wrap(v >> 8, t.height, t.maskT, t.wrapT));
    }
    u -= 128;
    v -= 128;
    const u32 fu = static_cast<u32>(u & 0xFF);
    const u32 fv = static_cast<u32>(v & 0xFF);
    const s32 x0 = Wrap(u >> 8, t.width, t.maskS, t.wrapS);
    const s32 y0 = Wrap(v >> 8, t.height, t.maskT, t.wrapT);
    const u32 c00 = Fetch<kFormat>(t, x0, y0);
    if (fu == 0 && fv == 0) {
        return c00;
    }
    const s32 x1 = Wrap((u >> 8) + 1, t.width, t.maskS, t.wrapS);
    const s32 y1 = Wrap((v >> 8) + 1, t.height, t.maskT, t.wrapT);
    const u32 left = Lerp(c00, Fetch<kFormat>(t, x0, y1), fv);
    const u32 right = Lerp(Fetch<kFormat>(t, x1, y0), Fetch<kFormat>(t, x1, y1), fv);
    return Lerp(left, right, fu);
}

} // namespace gx_texture

// A coordinate (0 to 1 across the texture) in 1/256 texels, floored, kept within range.
inline s32 GXTexelCoordinate(f32 coordinate, s32 size) {
    return gx_texture::Fixed(coordinate, size);
}

// A coordinate stepped along a line of pixels, in 2^-32 texels: its value at pixel x
// and its change from one pixel to the next, given its value at the centre of the
// line's pixel 0 and its change per pixel. Every affine loop steps from pixel 0, so
// all give a pixel the same coordinate. GXStepTexel gives 1/256 texels, floored.
struct GXCoordinateStep {
    s64 at, step;
};
inline GXCoordinateStep GXStepCoordinate(f32 atPixelZero, f32 perPixel, s32 size, u32 x) {
    // Within 2^22 texels and 2^12 texels a pixel, a line of the frame buffer's width
    // stays well inside 64 bits.
    constexpr f64 kUnit = 4294967296.0; // 2^32
    const auto limited = [](f64 value, f64 limit) {
        value = value > -limit ? value : -limit; // also catches NaN
        return value < limit ? value : limit;
    };
    const auto floored = [](f64 value) {
        const s64 truncated = static_cast<s64>(value);
        return static_cast<f64>(truncated) > value ? truncated - 1 : truncated;
    };
    const f64 at = limited(static_cast<f64>(atPixelZero) * size, 4194304.0) * kUnit;
    const s64 step = floored(limited(static_cast<f64>(perPixel) * size, 4096.0) * kUnit + 0.5);
    return {floored(at) + static_cast<s64>(x) * step, step};
}

inline s32 GXStepTexel(s64 at) {
    return static_cast<s32>(at >> 24);
}

// GXStepTexel of a coordinate that does not change along the line (GXStepCoordinate with
// no change per pixel), without the stepping: the limited value times 256 is exact in
// double, and floored at once it is what the 2^-32 steps floor to.
inline s32 GXSteadyTexel(f32 atPixelZero, s32 size) {
    f64 value = static_cast<f64>(atPixelZero) * size;
    value = value > -4194304.0 ? value : -4194304.0; // also catches NaN
    value = (value < 4194304.0 ? value : 4194304.0) * 256.0;
    const s32 truncated = static_cast<s32>(value); // within 2^30
    return static_cast<f64>(truncated) > value ? truncated - 1 : truncated;
}

// GXSteadyTexel of four coordinates at once: for a size that is a power of two in single
// precision, where the coordinate times the size and 256 is exact (and 2^30 is), else two
// to a 128-bit vector of doubles.
using GXFourCoordinates = f32 __attribute__((vector_size(16)));
using GXFourTexels = s32 __attribute__((vector_size(16)));
inline GXFourTexels GXSteadyTexels(GXFourCoordinates atPixelZero, s32 size) {
    if ((size & (size - 1)) == 0) {
        const GXFourCoordinates lowest = GXFourCoordinates{} - 1073741824.0f;
        const GXFourCoordinates highest = GXFourCoordinates{} + 1073741824.0f;
        GXFourCoordinates value = atPixelZero * static_cast<f32>(size * 256);
        value = value > lowest ? value : lowest; // also catches NaN
        value = value < highest ? value : highest;
        // Whole from 2^23 up, so the truncation is exact back in single precision.
        const GXFourTexels truncated = __builtin_convertvector(value, GXFourTexels);
        return truncated + (__builtin_convertvector(truncated, GXFourCoordinates) > value);
    }
    using Two = f32 __attribute__((vector_size(8)));
    using Doubles = f64 __attribute__((vector_size(16)));
    using Texels = s32 __attribute__((vector_size(8)));
    const auto steady = [size](Two coordinates) {
        const Doubles lowest = Doubles{} - 4194304.0;
        const Doubles highest = Doubles{} + 4194304.0;
        Doubles value = __builtin_convertvector(coordinates, Doubles) * static_cast<f64>(size);
        value = value > lowest ? value : lowest; // also catches NaN
        value = (value < highest ? value : highest) * 256.0;
        const Texels truncated = __builtin_convertvector(value, Texels);        // within 2^30
        const auto above = __builtin_convertvector(truncated, Doubles) > value; // -1 where so
        return truncated + __builtin_convertvector(above, Texels);
    };
    return __builtin_shufflevector(steady(__builtin_shufflevector(atPixelZero, atPixelZero, 0, 1)),
                                   steady(__builtin_shufflevector(atPixelZero, atPixelZero, 2, 3)),
                                   0, 1, 2, 3);
}

// GXSteadyTexels of a coordinate at the centre of pixel 0 of lines yFirst to yLast,
// base + dy * (y + 0.5f) + dx * 0.5f evaluated in single precision, in closed form where
// that is provably exact: the texel of line yFirst and the change from one line to the
// next, or nothing (the lines then take GXSteadyTexels one by one).
//
// Let 2^-k be the lowest set bit among base, dy / 2 and dx / 2; every value below is then a
// whole multiple of 2^-k. No intermediate on any line (dy * (y + 0.5), its sum with base,
// dx * 0.5, the sum of the two) exceeds m = |base| + |dy| * (yLast + 1) + |dx| in magnitude.
// Where m < 2^(24 - k), with k at most 149 (no multiple of a smaller unit is a single) and
// at least -100 (no overflow), each intermediate is a multiple of 2^-k of fewer than 24
// bits: a single, which the rounded operation (fused or not) gives exactly. The coordinate
// is then exactly c(y) = base + dy * (y + 0.5) + dx / 2, and its product with size * 256 is
// exact both in single precision (for a power-of-two size) and in double. Where m * size *
// 256 < 2^30, no line is limited, so line y's texel is floor(c(y) * size * 256); when
// dy * size * 256 is whole, that is line yFirst's texel plus that many per line. In double,
// m is rounded to no less than 2^(24 - k) when it is not less, and c(yFirst) is exact.
struct GXLineTexels {
    s32 first, step;
};
inline std::optional<GXLineTexels> GXExactLineTexels(f32 base, f32 dy, f32 dx, s32 size, u32 yFirst,
                                                     u32 yLast) {
    // The exponent of a finite value's lowest set bit (large for zero).
    const auto lowestBit = [](f32 value) {
        const u32 bits = std::bit_cast<u32>(value) & 0x7FFFFFFFu;
        const s32 exponent = static_cast<s32>(bits >> 23);
        const u32 mantissa = bits & 0x7FFFFFu;
        if (bits == 0) {
            return 1000;
        }
        return exponent == 0 ? std::countr_zero(mantissa) - 149
                             : std::countr_zero(mantissa | 0x800000u) + exponent - 150;
    };
    if (!std::isfinite(base) || !std::isfinite(dy) || !std::isfinite(dx) || size <= 0 ||
        yLast >= (1u << 22)) {
        return std::nullopt;
    }
    const s32 k = -std::min({lowestBit(base), lowestBit(dy) - 1, lowestBit(dx) - 1, 100});
    const f64 scale = static_cast<f64>(size) * 256.0;
    const f64 largest = std::abs(static_cast<f64>(base)) +
                        std::abs(static_cast<f64>(dy)) * (static_cast<f64>(yLast) + 1.0) +
                        std::abs(static_cast<f64>(dx));
    if (k > 149 || !(largest < std::bit_cast<f64>(static_cast<u64>(1023 + 24 - k) << 52)) ||
        !(largest * scale < 1073741824.0)) {
        return std::nullopt;
    }
    const f64 first =
        (static_cast<f64>(base) + static_cast<f64>(dy) * (static_cast<f64>(yFirst) + 0.5) +
         static_cast<f64>(dx) * 0.5) *
        scale;
    const f64 step = static_cast<f64>(dy) * scale; // below 2^30, as |dy| <= m
    const s32 wholeStep = static_cast<s32>(step);
    const s32 truncated = static_cast<s32>(first);
    if (static_cast<f64>(wholeStep) != step) {
        return std::nullopt;
    }
    return GXLineTexels{truncated - (static_cast<f64>(truncated) > first), wholeStep};
}

// Samples at (u, v) in 1/256 texels: nearest takes the texel that holds the point;
// bilinear weighs the four texels whose centres surround it, in 1/256 steps, down the
// two columns and then across.
[[gnu::always_inline]] inline u32 GXSampleTexel(const GXTextureSampler& t, s32 u, s32 v,
                                                bool linear) {
    using namespace gx_texture;
    if (t.image == nullptr) {
        return 0;
    }
    switch (t.format) {
    case GX_TF_RGBA8:
        return Sample<GX_TF_RGBA8>(t, u, v, linear);
    case GX_TF_RGB565:
        return Sample<GX_TF_RGB565>(t, u, v, linear);
    case GX_TF_C8:
        return Sample<GX_TF_C8>(t, u, v, linear);
    default:
        return Sample<GX_TF_I8>(t, u, v, linear);
    }
}
