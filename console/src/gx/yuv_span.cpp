// The YUV span loop and the set-up it recognises.
#include "gx/yuv_span.h"

#include "gx/efb.h"
#include "gx/runtime_simd.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr u32 kTexturedStages = 3; // chroma 1, chroma 2, luma; the fourth samples nothing

// What each of the four stages must be: inputs, operations, scales and clamps; bias is
// always zero and results always go to the previous register.
struct StageShape {
    GXTevColorArg colourIn[4];
    GXTevAlphaArg alphaIn[4];
    GXTevOp alphaOp;
    GXTevScale colourScale;
    bool clamp;
};

constexpr StageShape kShapes[4] = {
    {{GX_CC_ZERO, GX_CC_TEXC, GX_CC_KONST, GX_CC_C0},
     {GX_CA_ZERO, GX_CA_TEXA, GX_CA_KONST, GX_CA_A0},
     GX_TEV_SUB,
     GX_CS_SCALE_1,
     false},
    {{GX_CC_ZERO, GX_CC_TEXC, GX_CC_KONST, GX_CC_CPREV},
     {GX_CA_ZERO, GX_CA_TEXA, GX_CA_KONST, GX_CA_APREV},
     GX_TEV_SUB,
     GX_CS_SCALE_2,
     false},
    {{GX_CC_ZERO, GX_CC_TEXC, GX_CC_ONE, GX_CC_CPREV},
     {GX_CA_TEXA, GX_CA_ZERO, GX_CA_ZERO, GX_CA_APREV},
     GX_TEV_ADD,
     GX_CS_SCALE_1,
     true},
    {{GX_CC_APREV, GX_CC_CPREV, GX_CC_KONST, GX_CC_ZERO},
     {GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO},
     GX_TEV_ADD,
     GX_CS_SCALE_1,
     true},
};

// Runs of pixels are converted sixteen at a time, in 16-bit lanes. Helpers take and
// give values through references, so that no call passes a vector wider than the
// baseline's registers.
constexpr u32 kLanes = 16;
constexpr u32 kRunPixels = 128;
using Bytes = u8 __attribute__((vector_size(kLanes)));
using Lanes = s16 __attribute__((vector_size(2 * kLanes)));
using Unsigned = u16 __attribute__((vector_size(2 * kLanes)));

constexpr u32 kAlpha = 3; // the channels: red, green, blue, alpha

// In the shape, a chroma stage's lerp goes from zero to the texel by its konst weight
// and the luma stage's is the texel itself; operations, scales and clamps are the
// shape's. So a channel needs only its two chroma weights and stage 0's d (a register).
// Stage 3 needs a konst weight per colour channel; with weights of 0 or 256 only, each
// colour channel copies one channel (its own or alpha). Stage 3's alpha is fixed.
struct YuvProgram {
    s16 chromaWeight[4][2];
    s16 firstD[4];
    s16 konstWeight[3];
    bool copies;
    u32 source[3];
    u32 alpha;
};

constinit YuvProgram s_program{};

bool HasShape(const GXTevStage& s, const StageShape& shape) {
    return std::equal(s.colourIn, s.colourIn + 4, shape.colourIn) &&
           std::equal(s.alphaIn, s.alphaIn + 4, shape.alphaIn) && s.colourOp == GX_TEV_ADD &&
           s.alphaOp == shape.alphaOp && s.colourBias == GX_TB_ZERO && s.alphaBias == GX_TB_ZERO &&
           s.colourScale == shape.colourScale && s.alphaScale == GX_CS_SCALE_1 &&
           s.colourClamp == shape.clamp && s.alphaClamp == shape.clamp &&
           s.colourOut == GX_TEVPREV && s.alphaOut == GX_TEVPREV;
}

bool DrawsPixelsPlainly(const GXPixelPipeline& p) {
    const GXPixelOps& ops = p.ops;
    const bool depthIgnored = !ops.zCompare || (ops.zFunction == GX_ALWAYS && !ops.zUpdate);
    return ops.blendMode == GX_BM_NONE && p.alphaAlways && depthIgnored;
}

bool IsYuvSetUp(const GXPixelPipeline& p) {
    if (p.stageCount != 4 || !DrawsPixelsPlainly(p)) {
        return false;
    }
    for (u32 i = 0; i < 4; ++i) {
        const GXPipelineStage& stage = p.stages[i];
        if (!HasShape(stage.tev, kShapes[i])) {
            return false;
        }
        if (i < kTexturedStages) {
            if (stage.samplerAt < 0 || stage.coordAt < 0) {
                return false;
            }
            const GXTextureSampler& sampler = p.samplers[stage.samplerAt];
            if (sampler.image == nullptr || sampler.format != GX_TF_I8) {
                return false;
            }
        }
    }
    return true;
}

// An input's fixed value (registers, konst, zero, one, half).
s32 FixedValue(const GXPixelPipeline& p, const GXPipelineStage& stage, u8 slot) {
    if (slot >= kGXSlotKonst && slot < kGXSlotKonst + 4) {
        return stage.konst[slot - kGXSlotKonst];
    }
    if (slot < kGXSlotTexel) {
        return p.registers[slot];
    }
    return slot == kGXSlotOne ? 255 : (slot == kGXSlotHalf ? 128 : 0);
}

// GXTevCombine's lerp weight of an input c.
s16 Weight(s32 c) {
    c &= 0xFF;
    return static_cast<s16>(c + (c >> 7));
}

void BuildProgram(const GXPixelPipeline& p, YuvProgram& program) {
    for (u32 channel = 0; channel < 4; ++channel) {
        for (u32 i = 0; i < 2; ++i) {
            const GXPipelineStage& stage = p.stages[i];
            const u8* slots = channel < kAlpha ? stage.colourSlots[channel] : stage.alphaSlots;
            program.chromaWeight[channel][i] = Weight(FixedValue(p, stage, slots[2]));
            if (i == 0) {
                program.firstD[channel] = static_cast<s16>(FixedValue(p, stage, slots[3]));
            }
        }
    }
    const GXPipelineStage& last = p.stages[3];
    program.copies = true;
    for (u32 channel = 0; channel < 3; ++channel) {
        const s16 weight = Weight(FixedValue(p, last, last.colourSlots[channel][2]));
        program.konstWeight[channel] = weight;
        program.source[channel] = weight == 256 ? channel : kAlpha;
        program.copies = program.copies && (weight == 0 || weight == 256);
    }
    const GXTevStage& tev = last.tev;
    program.alpha = static_cast<u32>(
        GXTevCombine(0, 0, 0, 0, tev.alphaOp, tev.alphaBias, tev.alphaScale, tev.alphaClamp));
}

// A textured stage's texel row along the span: nearest texels of row `row`, column
// stepped per pixel.
class TexelRow {
public:
    TexelRow() = default;
    TexelRow(const GXTextureSampler& sampler, const u8* tiles, GXCoordinateStep s)
        : m_sampler(&sampler), m_tiles(tiles), m_s(s) {}

    // Where a run reads its texels: copies of the row's tiles, and the texels of each
    // pixel when they are not the tiles' own; readable to a whole step of lanes beyond.
    struct Scratch {
        u8 tiles[kRunPixels + 8 + kLanes];
        u8 texels[2 * (kRunPixels / 2 + 16) + kLanes];
    };

    // The texels of pixels first to first + count - 1 (at most kRunPixels) of the span.
    const u8* Read(u32 first, u32 count, Scratch& scratch) const {
        const s32 from = Column(first);
        const s32 to = Column(first + count - 1);
        if (std::min(from, to) < 0 || std::max(from, to) >= m_sampler->width) {
            ReadWrapped(first, count, scratch.texels);
        } else if (Steps(first, count, from, 2)) {
            return CopyTiles(from, count, scratch.tiles);
        } else if (Steps(first, count, from, 1)) {
            return ReadDoubled(from, Column(first + 1) - from, count, scratch);
        } else {
            ReadInside(first, count, scratch.texels);
        }
        return scratch.texels;
    }

private:
    s32 Column(u32 pixel) const { return GXStepTexel(m_s.at + m_s.step * pixel) >> 8; }

    // Whether pixel i of the run reads column from + (phase + i x perTwo) / 2, phase 0
    // or 1. It does at every pixel if it does at the two first and the two last: the
    // columns stray from that line steadily within each parity of i.
    bool Steps(u32 first, u32 count, s32 from, s32 perTwo) const {
        const s32 phase = count > 1 ? Column(first + 1) - from - perTwo / 2 : 0;
        if (phase < 0 || phase > 2 - perTwo) {
            return false;
        }
        for (const u32 i : {1u, count - 2, count - 1}) {
            if (i < count &&
                Column(first + i) != from + (phase + static_cast<s32>(i) * perTwo) / 2) {
                return false;
            }
        }
        return true;
    }

    // Columns from, from + 1, ... inside the texture, copied by whole tile rows of
    // eight; where column `from` landed.
    const u8* CopyTiles(s32 from, u32 count, u8* tiles) const {
        const u32 firstTile = static_cast<u32>(from) >> 3;
        const u32 lastTile = (static_cast<u32>(from) + count - 1) >> 3;
        for (u32 tile = firstTile; tile <= lastTile; ++tile) {
            std::memcpy(tiles + (tile - firstTile) * 8, m_tiles + tile * 32, 8);
        }
        return tiles + (from & 7);
    }

    // Each column twice, the first once when phase is 1: tile rows of eight doubled.
    const u8* ReadDoubled(s32 from, s32 phase, u32 count, Scratch& scratch) const {
        using Pair = u64 __attribute__((vector_size(16)));
        const u32 firstTile = static_cast<u32>(from) >> 3;
        const u32 lastTile =
            (static_cast<u32>(from) + (count - 1 + static_cast<u32>(phase)) / 2) >> 3;
        for (u32 tile = firstTile; tile <= lastTile; ++tile) {
            u64 row;
            std::memcpy(&row, m_tiles + tile * 32, sizeof row);
            const Bytes eight = std::bit_cast<Bytes>(Pair{row, 0});
            const Bytes doubled = __builtin_shufflevector(eight, eight, 0, 0, 1, 1, 2, 2, 3, 3, 4,
                                                          4, 5, 5, 6, 6, 7, 7);
            std::memcpy(scratch.texels + (tile - firstTile) * 16, &doubled, sizeof doubled);
        }
        return scratch.texels + 2 * (from & 7) + phase;
    }

    const u8* At(s32 column) const {
        return m_tiles + static_cast<u32>(column >> 3) * 32 + static_cast<u32>(column & 7);
    }

    void ReadInside(u32 first, u32 count, u8* texels) const {
        s64 at = m_s.at + m_s.step * first;
        for (u32 i = 0; i < count; ++i, at += m_s.step) {
            texels[i] = *At(GXStepTexel(at) >> 8);
        }
    }

    void ReadWrapped(u32 first, u32 count, u8* texels) const {
        const GXTextureSampler& t = *m_sampler;
        s64 at = m_s.at + m_s.step * first;
        for (u32 i = 0; i < count; ++i, at += m_s.step) {
            texels[i] = *At(gx_texture::Wrap(GXStepTexel(at) >> 8, t.width, t.maskS, t.wrapS));
        }
    }

    const GXTextureSampler* m_sampler = nullptr;
    const u8* m_tiles = nullptr; // the row's first tile
    GXCoordinateStep m_s{};
};

// Zeroed once, so that lanes beyond a run read defined values.
constinit TexelRow::Scratch s_scratch[kTexturedStages]{};

// Whether every textured stage reads one texel row along the line, nearest; then
// readies the rows.
bool StartRows(const GXPixelPipeline& p, const GXTrianglePlanes& t, const f32* row, u32 x,
               TexelRow (&rows)[kTexturedStages]) {
    for (u32 i = 0; i < kTexturedStages; ++i) {
        GXCoordinateStep s;
        GXCoordinateStep down;
        GXStartStageCoordinates(p, t, i, row, x, s, down);
        if (t.linear[i] || down.step != 0) {
            return false;
        }
        const GXTextureSampler& sampler = p.samplers[p.stages[i].samplerAt];
        const s32 y = gx_texture::Wrap(GXStepTexel(down.at) >> 8, sampler.height, sampler.maskT,
                                       sampler.wrapT);
        const u32 tileRow = static_cast<u32>(y >> 2) * sampler.tilesPerRow;
        rows[i] = {sampler, sampler.image + tileRow * 32 + static_cast<u32>(y & 3) * 8, s};
    }
    return true;
}

[[gnu::always_inline]] inline void Clamp(Lanes& value, s16 low, s16 high) {
    const Lanes lowest = Lanes{} + low;
    const Lanes highest = Lanes{} + high;
    value = value > lowest ? value : lowest;
    value = value < highest ? value : highest;
}

// A channel through the three textured stages: d plus or minus each chroma lerp (its
// scale doubling the second stage's colour), unclamped but to eleven bits; then the luma
// added, clamped to 0 to 255.
template <bool kAlpha>
[[gnu::always_inline]] inline void Channel(const s16 (&weight)[2], s16 firstD,
                                           const Unsigned (&texels)[kTexturedStages],
                                           Lanes& value) {
    constexpr s16 kSign = kAlpha ? -1 : 1;
    constexpr u16 kSecondShift = kAlpha ? 0 : 1;
    constexpr u16 kSecondRounding = 128 >> kSecondShift;
    constexpr u16 kSecondDown = 8 - kSecondShift;
    constexpr s16 kSecondScale = 1 << kSecondShift;
    const Unsigned first = (texels[0] * static_cast<u16>(weight[0]) + 128) >> 8;
    value = (Lanes{} + firstD) + __builtin_convertvector(first, Lanes) * kSign;
    Clamp(value, kGXTevMin, kGXTevMax);
    const Unsigned second =
        (texels[1] * static_cast<u16>(weight[1]) + kSecondRounding) >> kSecondDown;
    value = value * kSecondScale + __builtin_convertvector(second, Lanes) * kSign;
    Clamp(value, kGXTevMin, kGXTevMax);
    value += __builtin_convertvector(texels[2], Lanes);
    Clamp(value, 0, 255);
}

[[gnu::always_inline]] inline void ChannelOf(const YuvProgram& g, u32 channel,
                                             const Unsigned (&texels)[kTexturedStages],
                                             Lanes& value) {
    if (channel == kAlpha) {
        Channel<true>(g.chromaWeight[channel], g.firstD[channel], texels, value);
    } else {
        Channel<false>(g.chromaWeight[channel], g.firstD[channel], texels, value);
    }
}

// Stage 3 over sixteen pixels' texels: red, green and blue.
[[gnu::always_inline]] inline void ConvertLanes(const YuvProgram& g, const u8* const (&texels)[3],
                                                u32 at, Unsigned (&colour)[3]) {
    Unsigned values[kTexturedStages];
    for (u32 i = 0; i < kTexturedStages; ++i) {
        Bytes bytes;
        std::memcpy(&bytes, texels[i] + at, sizeof bytes);
        values[i] = __builtin_convertvector(bytes, Unsigned);
    }
    if (g.copies) {
        for (u32 channel = 0; channel < 3; ++channel) {
            Lanes value;
            ChannelOf(g, g.source[channel], values, value);
            colour[channel] = __builtin_convertvector(value, Unsigned);
        }
        return;
    }
    Lanes alphaValue;
    ChannelOf(g, kAlpha, values, alphaValue);
    for (u32 channel = 0; channel < 3; ++channel) {
        Lanes value;
        ChannelOf(g, channel, values, value);
        const u16 weight = static_cast<u16>(g.konstWeight[channel]);
        colour[channel] =
            (__builtin_convertvector(alphaValue, Unsigned) * static_cast<u16>(256 - weight) +
             __builtin_convertvector(value, Unsigned) * weight + 128) >>
            8;
    }
}

// Sixteen pixels through the four stages into `colours` as 0xAARRGGBB with alpha
// `alpha`: each word's low half green and blue, its high half alpha and red.
[[gnu::always_inline]] inline void ConvertStep(const YuvProgram& g, const u8* const (&texels)[3],
                                               u32 at, u8 alpha, u32* colours) {
    using Half = u16 __attribute__((vector_size(kLanes)));
    Unsigned colour[3];
    ConvertLanes(g, texels, at, colour);
    const Unsigned low = colour[1] << 8 | colour[2];
    const Unsigned high = colour[0] | static_cast<u16>(alpha << 8);
    const Half halves[2][2] = {{__builtin_shufflevector(low, low, 0, 1, 2, 3, 4, 5, 6, 7),
                                __builtin_shufflevector(high, high, 0, 1, 2, 3, 4, 5, 6, 7)},
                               {__builtin_shufflevector(low, low, 8, 9, 10, 11, 12, 13, 14, 15),
                                __builtin_shufflevector(high, high, 8, 9, 10, 11, 12, 13, 14, 15)}};
    for (u32 part = 0; part < 2; ++part) {
        const Half& l = halves[part][0];
        const Half& h = halves[part][1];
        const Half first = __builtin_shufflevector(l, h, 0, 8, 1, 9, 2, 10, 3, 11);
        const Half second = __builtin_shufflevector(l, h, 4, 12, 5, 13, 6, 14, 7, 15);
        std::memcpy(colours + 8 * part, &first, sizeof first);
        std::memcpy(colours + 8 * part + 4, &second, sizeof second);
    }
}

// The four stages over `count` pixels' texels (readable to whole steps of sixteen).
GX_RUNTIME_SIMD void ConvertRun(const YuvProgram& g, const u8* const (&texels)[3], u32 count,
                                u8 alpha, u32* colours) {
    u32 i = 0;
    for (; i + kLanes <= count; i += kLanes) {
        ConvertStep(g, texels, i, alpha, colours + i);
    }
    if (i < count) {
        u32 last[kLanes];
        ConvertStep(g, texels, i, alpha, last);
        std::memcpy(colours + i, last, (count - i) * sizeof(u32));
    }
}

void DrawYuvSpan(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 y, u32 xBegin, u32 xEnd) {
    const f32 py = static_cast<f32>(y) + 0.5f;
    f32 row[kGXMaxInterpolants];
    for (u32 i = 0; i < p.interpolantCount; ++i) {
        row[i] = t.base[i] + t.dy[i] * py;
    }
    TexelRow rows[kTexturedStages];
    if (!StartRows(p, t, row, xBegin, rows)) {
        p.perPixelSpan(p, t, y, xBegin, xEnd);
        return;
    }
    EmbeddedFrameBuffer& efb = GXEmbeddedFrameBuffer();
    u32* const colours = efb.ColourRow(y);
    const u32 mask = p.writeMask;
    const bool opaque = efb.PixelFormat() == GX_PF_RGB8_Z24 && (mask & 0x00FFFFFF) == 0x00FFFFFF;
    u32 shaded[kRunPixels];
    for (u32 runStart = xBegin; runStart < xEnd; runStart += kRunPixels) {
        const u32 run = std::min(kRunPixels, xEnd - runStart);
        const u8* read[kTexturedStages];
        for (u32 stage = 0; stage < kTexturedStages; ++stage) {
            read[stage] = rows[stage].Read(runStart - xBegin, run, s_scratch[stage]);
        }
        u32* const out = colours + runStart;
        if (opaque) { // an opaque buffer stores every colour as it is
            ConvertRun(s_program, read, run, 0xFF, out);
            continue;
        }
        ConvertRun(s_program, read, run, static_cast<u8>(s_program.alpha), shaded);
        for (u32 i = 0; i < run; ++i) {
            out[i] = efb.StoredColour((shaded[i] & mask) | (out[i] & ~mask));
        }
    }
}

} // namespace

GXSpanFunction GXPrepareYuvSpan(const GXPixelPipeline& pipeline) {
    if (!IsYuvSetUp(pipeline)) {
        return nullptr;
    }
    BuildProgram(pipeline, s_program);
    return DrawYuvSpan;
}
