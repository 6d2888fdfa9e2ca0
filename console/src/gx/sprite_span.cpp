// The sprite span loop.
#include "gx/sprite_span.h"

#include "gx/efb.h"
#include "gx/texture_rows.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

namespace {

static_assert(std::endian::native == std::endian::little,
              "pixels are read as bytes: blue, green, red, alpha");

// Two pixels as eight 16-bit lanes: blue, green, red, alpha, then the second pixel.
using Lanes = u16 __attribute__((vector_size(16)));
using Bytes = u8 __attribute__((vector_size(16)));
using Halves = u64 __attribute__((vector_size(16)));
using Words = u32 __attribute__((vector_size(16)));

constexpr u64 kOpaque = 0xFF000000FF000000ull;
constexpr u64 kEveryLane = 0x0001000100010001ull;
constexpr u32 kColumns = EmbeddedFrameBuffer::kWidth + 2; // room for a pair's second pixel

// The triangle being drawn, as GXPrepareSpriteTriangle found it.
struct SpriteTriangle {
    bool drawable;    // its spans are the sprite loop's
    bool steadyRows;  // every line reads the same columns (s does not change down)
    bool modulate;    // the rasterised colour is not white
    Lanes modulation; // its weights, 256 meaning one
    s32 first, last;  // the texels (-1 to width) its columns read
    bool inOrder;     // and they read them left to right
    bool unweighted;  // every column's bilinear weight is 0: it reads its texel alone
    bool oneToOne;    // and each column reads the texel after its left neighbour's
};

// Per column: the element of a texel row (texel + 1) that the pixel reads first (its
// right-hand neighbour follows), and its bilinear weight in four lanes.
struct Columns {
    u32 element[kColumns];
    u64 weight[kColumns];
};

constinit SpriteTriangle s_triangle{};
constinit Columns s_columns{};
// The bilinear filter's rows for the span being drawn; element i + 1 is texel i.
constinit u32 s_filtered[kGXMaxTextureSize + 6]{};
constinit u64 s_spansDrawn = 0;

using TrianglePreparation = void (*)(const GXPixelPipeline&, const GXTrianglePlanes&, u32, u32);
constinit TrianglePreparation s_prepareTriangle = nullptr; // for the pipeline's shading

u64 Load(const u32* pixels) {
    u64 pair;
    std::memcpy(&pair, pixels, sizeof pair);
    return pair;
}

void Store(u32* pixels, u64 pair) {
    std::memcpy(pixels, &pair, sizeof pair);
}

Lanes Widen(u64 pair) {
    const Bytes bytes = reinterpret_cast<Bytes>(Halves{pair, 0});
    return reinterpret_cast<Lanes>(__builtin_shufflevector(bytes, Bytes{}, 0, 16, 1, 17, 2, 18, 3,
                                                           19, 4, 20, 5, 21, 6, 22, 7, 23));
}

// Lanes holding 0 to 255 back to four pixels, `low`'s first.
Halves Pack(Lanes low, Lanes high) {
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

u64 Narrow(Lanes lanes) {
    return Pack(lanes, Lanes{})[0];
}

// a to b by weight / 256, rounded, per lane: gx_texture::Lerp two pixels at a time.
// a * (256 - weight) + b * weight is at most 65280, so computing it as a * 256 plus
// (b - a) * weight, which may wrap on the way, gives it exactly.
Lanes Lerp(Lanes a, Lanes b, Lanes weight) {
    return ((a << 8) + (b - a) * weight + 128) >> 8;
}

// The two pixels of columns x and x + 1.
template <bool kLinear>
Lanes Sample(const u32* texels, u32 x) {
    const u32* element = s_columns.element;
    if constexpr (!kLinear) {
        return Widen(u64{texels[element[x]]} | u64{texels[element[x + 1]]} << 32);
    } else {
        // Each pixel's texel and its right-hand neighbour; then the two left texels and
        // the two right ones.
        const Words pairs = reinterpret_cast<Words>(
            Halves{Load(texels + element[x]), Load(texels + element[x + 1])});
        const Bytes sides =
            reinterpret_cast<Bytes>(__builtin_shufflevector(pairs, pairs, 0, 2, 1, 3));
        const Lanes left = reinterpret_cast<Lanes>(__builtin_shufflevector(
            sides, Bytes{}, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23));
        const Lanes right = reinterpret_cast<Lanes>(__builtin_shufflevector(
            sides, Bytes{}, 8, 24, 9, 25, 10, 26, 11, 27, 12, 28, 13, 29, 14, 30, 15, 31));
        Lanes weight;
        std::memcpy(&weight, &s_columns.weight[x], sizeof weight);
        return Lerp(left, right, weight);
    }
}

// Opaque pixels replace, transparent ones keep what is there: exactly what blending
// them gives.
template <bool kBlend>
void Write(Lanes colour, u32* pixels) {
    const u64 source = Narrow(colour);
    if constexpr (kBlend) {
        const u64 alphas = source & kOpaque;
        if (alphas == 0) {
            Store(pixels, Load(pixels) | kOpaque);
            return;
        }
        if (alphas != kOpaque) {
            const Lanes alpha = __builtin_shufflevector(colour, colour, 3, 3, 3, 3, 7, 7, 7, 7);
            const Lanes blended = Lerp(Widen(Load(pixels)), colour, alpha + (alpha >> 7));
            Store(pixels, Narrow(blended) | kOpaque);
            return;
        }
    }
    Store(pixels, source | kOpaque);
}

// Columns [xBegin, xEnd) of line `pixels` from the texel row `texels`.
template <bool kLinear, bool kModulate, bool kBlend>
void DrawPixels(const u32* texels, u32* pixels, u32 xBegin, u32 xEnd) {
    const Lanes modulation = s_triangle.modulation;
    const auto drawPair = [&](u32 x, u32* at) {
        Lanes colour = Sample<kLinear>(texels, x);
        if constexpr (kModulate) {
            colour = (colour * modulation + 128) >> 8;
        }
        Write<kBlend>(colour, at);
    };
    u32 x = xBegin;
    for (; x + 4 <= xEnd; x += 4) {
        drawPair(x, pixels + x);
        drawPair(x + 2, pixels + x + 2);
    }
    for (; x + 2 <= xEnd; x += 2) {
        drawPair(x, pixels + x);
    }
    if (x < xEnd) {
        u32 last[2] = {pixels[x], pixels[x]};
        drawPair(x, last);
        pixels[x] = last[0];
    }
}

using PixelLoop = void (*)(const u32*, u32*, u32, u32);

template <bool kBlend>
constexpr PixelLoop kPixelLoops[2][2] = { // [linear][modulate]
    {DrawPixels<false, false, kBlend>, DrawPixels<false, true, kBlend>},
    {DrawPixels<true, false, kBlend>, DrawPixels<true, true, kBlend>}};

// Texel index x wrapped (or clamped) as the texture's s wraps, one to the left allowed
// when bilinear: its neighbour is then the row's element after it.
struct Wrapping {
    s32 lowest, highest, mask;

    s32 Reduce(s32 x) const { return std::min(std::max(x, lowest), highest) & mask; }
};

Wrapping WrappingOf(const GXTextureSampler& sampler, bool linear) {
    if (sampler.wrapS == GX_CLAMP) {
        return {linear ? -1 : 0, sampler.width - 1, -1};
    }
    return {INT_MIN, INT_MAX, sampler.maskS};
}

// Fills columns [from, to) for the line whose s at pixel 0 is `atPixelZero`; notes
// whether all their weights are 0 (texel centres on pixel centres, as a sprite drawn
// 1:1), when filtering across reads each column's texel alone, just as nearest does.
void StepColumns(const GXPixelPipeline& p, const GXTrianglePlanes& t, f32 atPixelZero, u32 from,
                 u32 to) {
    const GXTextureSampler& sampler = p.samplers[0];
    const u32 s = static_cast<u32>(p.stages[0].coordAt);
    const bool linear = t.linear[0];
    const s32 centre = linear ? 128 : 0; // bilinear weighs the texels around the point
    const Wrapping wrapping = WrappingOf(sampler, linear);
    GXCoordinateStep u = GXStepCoordinate(atPixelZero, t.dx[s], sampler.width, from);
    s32 weights = 0;
    bool oneToOne = true;
    for (u32 x = from; x < to; ++x, u.at += u.step) {
        const s32 texel = GXStepTexel(u.at) - centre;
        s_columns.element[x] = static_cast<u32>(wrapping.Reduce(texel >> 8) + 1);
        s_columns.weight[x] = static_cast<u64>(texel & 0xFF) * kEveryLane;
        weights |= texel & 0xFF;
        // The last column only completes a pair; no span draws it.
        oneToOne = oneToOne && (x == from || x + 1 == to ||
                                s_columns.element[x] == s_columns.element[x - 1] + 1);
    }
    s_triangle.unweighted = weights == 0;
    s_triangle.oneToOne = oneToOne;
}

// The texels columns [from, to) read: -1 to width, and whether in order.
void TexelsRead(const GXTextureSampler& sampler, bool linear, u32 from, u32 to) {
    s32 first = INT_MAX;
    s32 last = INT_MIN;
    bool inOrder = true;
    for (u32 x = from; x < to; ++x) {
        const s32 texel = static_cast<s32>(s_columns.element[x]) - 1;
        inOrder = inOrder && texel >= last;
        first = std::min(first, texel);
        last = std::max(last, texel);
    }
    s_triangle.first = first;
    s_triangle.last = std::min(last + (linear ? 1 : 0), static_cast<s32>(sampler.width));
    s_triangle.inOrder = inOrder;
}

// The rasterised colour's weights when it is the same all over the triangle.
template <GXShading kShading>
bool Modulation(const GXTrianglePlanes& t, Lanes& out, bool& modulate) {
    modulate = false;
    if constexpr (kShading == GXShading::Replace) {
        return true;
    } else {
        u16 weights[4];
        for (u32 channel = 0; channel < 4; ++channel) {
            if (t.dx[channel] != 0.0f || t.dy[channel] != 0.0f) {
                return false;
            }
            const s32 byte = GXColourByte(t.base[channel]);
            weights[channel] = static_cast<u16>(byte + (byte >> 7));
        }
        if (kShading == GXShading::ModulateTextureAlpha) {
            weights[3] = 256;
        }
        // Lanes run blue, green, red, alpha.
        out = Lanes{weights[2], weights[1], weights[0], weights[3],
                    weights[2], weights[1], weights[0], weights[3]};
        modulate = weights[0] != 256 || weights[1] != 256 || weights[2] != 256 || weights[3] != 256;
        return true;
    }
}

// Texels first to last of the rows above and below, filtered down by weight / 256.
const u32* FilterDown(const u32* top, const u32* bottom, u32 weight, s32 first, s32 last) {
    const Lanes weights = reinterpret_cast<Lanes>(Halves{weight * kEveryLane, weight * kEveryLane});
    const auto filter = [&](s32 i) {
        return Lerp(Widen(Load(top + i)), Widen(Load(bottom + i)), weights);
    };
    for (s32 i = first + 1; i <= last + 1; i += 4) {
        const Halves filtered = Pack(filter(i), filter(i + 2));
        std::memcpy(s_filtered + i, &filtered, sizeof filtered);
    }
    return s_filtered;
}

template <GXShading kShading>
void PrepareTriangle(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 left, u32 right) {
    const u32 s = static_cast<u32>(p.stages[0].coordAt);
    s_triangle.drawable =
        t.dx[s + 1] == 0.0f && Modulation<kShading>(t, s_triangle.modulation, s_triangle.modulate);
    if (!s_triangle.drawable) {
        return;
    }
    s_triangle.steadyRows = t.dy[s] == 0.0f;
    if (s_triangle.steadyRows) {
        StepColumns(p, t, t.base[s] + t.dx[s] * 0.5f, left, right + 1);
        TexelsRead(p.samplers[0], t.linear[0], left, right);
    }
}

template <GXShading kShading, bool kBlend>
void DrawSpriteSpan(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 y, u32 xBegin,
                    u32 xEnd) {
    if (!s_triangle.drawable) {
        p.perPixelSpan(p, t, y, xBegin, xEnd);
        return;
    }
    const GXTextureSampler& sampler = p.samplers[0];
    const u32 s = static_cast<u32>(p.stages[0].coordAt);
    const bool linear = t.linear[0];
    const f32 py = static_cast<f32>(y) + 0.5f;
    if (!s_triangle.steadyRows) {
        StepColumns(p, t, t.base[s] + t.dy[s] * py + t.dx[s] * 0.5f, xBegin, xEnd + 1);
        TexelsRead(sampler, linear, xBegin, xEnd);
    }
    // The texels this span reads: its ends' when in order, else the triangle's.
    s32 first = s_triangle.first;
    s32 last = s_triangle.last;
    if (s_triangle.inOrder) {
        first = static_cast<s32>(s_columns.element[xBegin]) - 1;
        last = std::min(static_cast<s32>(s_columns.element[xEnd - 1]) - (linear ? 0 : 1),
                        static_cast<s32>(sampler.width));
    }
    const GXCoordinateStep down = GXStepCoordinate(
        t.base[s + 1] + t.dy[s + 1] * py + t.dx[s + 1] * 0.5f, t.dx[s + 1], sampler.height, xBegin);
    const s32 v = GXStepTexel(down.at) - (linear ? 128 : 0);
    const auto rowAt = [&](s32 line) {
        return GXTextureRow(gx_texture::Wrap(line, sampler.height, sampler.maskT, sampler.wrapT),
                            first, last);
    };
    const u32* texels = rowAt(v >> 8);
    const u32 fraction = static_cast<u32>(v & 0xFF);
    if (linear && fraction != 0) {
        texels = FilterDown(texels, rowAt((v >> 8) + 1), fraction, first, last);
    }
    ++s_spansDrawn;
    u32* const pixels = GXEmbeddedFrameBuffer().ColourRow(y);
    if (!kBlend && !s_triangle.modulate && (!linear || s_triangle.unweighted) &&
        s_triangle.oneToOne) {
        // Texels straight onto the line, as the pixel loop would put them.
        const u32* const from = texels + s_columns.element[xBegin];
        for (u32 x = xBegin; x < xEnd; ++x) {
            pixels[x] = from[x - xBegin] | 0xFF000000u;
        }
        return;
    }
    kPixelLoops<kBlend>[linear && !s_triangle.unweighted][s_triangle.modulate](texels, pixels,
                                                                               xBegin, xEnd);
}

template <GXShading kShading>
GXSpanFunction Prepared(bool blend) {
    s_prepareTriangle = PrepareTriangle<kShading>;
    return blend ? DrawSpriteSpan<kShading, true> : DrawSpriteSpan<kShading, false>;
}

} // namespace

GXSpanFunction GXPrepareSpriteSpan(const GXPixelPipeline& p, GXShading shading) {
    const GXTextureSampler& sampler = p.samplers[0];
    const bool textured = shading == GXShading::Replace || shading == GXShading::Modulate ||
                          shading == GXShading::ModulateTextureAlpha;
    const bool wraps =
        sampler.wrapS == GX_CLAMP || (sampler.wrapS == GX_REPEAT && sampler.maskS >= 0);
    const GXPixelOps& ops = p.ops;
    const bool blend = ops.blendMode != GX_BM_NONE;
    const bool plain = !ops.zCompare && p.alphaAlways && ops.colourUpdate &&
                       (!blend || p.sourceAlphaBlend) &&
                       GXEmbeddedFrameBuffer().PixelFormat() == GX_PF_RGB8_Z24;
    if (!textured || sampler.image == nullptr || !wraps || !plain) {
        return nullptr;
    }
    GXStartTextureRows(sampler);
    switch (shading) {
    case GXShading::Replace:
        return Prepared<GXShading::Replace>(blend);
    case GXShading::Modulate:
        return Prepared<GXShading::Modulate>(blend);
    default:
        return Prepared<GXShading::ModulateTextureAlpha>(blend);
    }
}

void GXPrepareSpriteTriangle(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 left,
                             u32 right) {
    s_prepareTriangle(p, t, left, right);
}

u64 GXSpriteSpanCountForTest() {
    return s_spansDrawn;
}
