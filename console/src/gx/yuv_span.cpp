// The YUV span loop and the set-up it recognises.
#include "gx/yuv_span.h"

#include "gx/efb.h"
#include "gx/runtime_simd.h"

#include <algorithm>

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

// Where stage inputs a, b and c come from on one channel: texel value x weight +
// constant, the weight 1 for a texel input and 0 for a fixed one, so that one
// branchless loop serves whatever the fixed inputs are.
struct StageInputs {
    s32 weight[3];
    s32 constant[3];
};

// The set-up's fixed values: each textured stage's inputs per channel (red, green, blue,
// alpha), stage 0's d (a register), stage 3's konst colour and its alpha.
struct YuvProgram {
    StageInputs inputs[kTexturedStages][4];
    s32 firstD[4];
    s32 konst[3];
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

void BuildProgram(const GXPixelPipeline& p, YuvProgram& program) {
    for (u32 i = 0; i < kTexturedStages; ++i) {
        const GXPipelineStage& stage = p.stages[i];
        for (u32 channel = 0; channel < 4; ++channel) {
            const u8* slots = channel < 3 ? stage.colourSlots[channel] : stage.alphaSlots;
            StageInputs& inputs = program.inputs[i][channel];
            for (u32 k = 0; k < 3; ++k) {
                const bool texel = slots[k] >= kGXSlotTexel && slots[k] < kGXSlotTexel + 4;
                inputs.weight[k] = texel ? 1 : 0;
                inputs.constant[k] = texel ? 0 : FixedValue(p, stage, slots[k]);
            }
            if (i == 0) {
                program.firstD[channel] = FixedValue(p, stage, slots[3]);
            }
        }
    }
    const GXPipelineStage& last = p.stages[3];
    for (u32 channel = 0; channel < 3; ++channel) {
        program.konst[channel] = last.konst[channel];
    }
    const GXTevStage& tev = last.tev;
    program.alpha = static_cast<u32>(
        GXTevCombine(0, 0, 0, 0, tev.alphaOp, tev.alphaBias, tev.alphaScale, tev.alphaClamp));
}

// One textured stage's texel row along the span: nearest texels of row `row`, column
// stepped per pixel.
struct TexelRow {
    const GXTextureSampler* sampler;
    const u8* tiles; // the row's first tile
    GXCoordinateStep s;

    // The texels of pixels first to first + count - 1 of the span.
    void Read(u32 first, u32 count, u8* texels) const {
        using namespace gx_texture;
        const GXTextureSampler& t = *sampler;
        s64 at = s.at + s.step * first;
        for (u32 i = 0; i < count; ++i, at += s.step) {
            const s32 x = Wrap(GXStepTexel(at) >> 8, t.width, t.maskS, t.wrapS);
            texels[i] = tiles[static_cast<u32>(x >> 3) * 32 + static_cast<u32>(x & 7)];
        }
    }
};

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
        rows[i] = {&sampler, sampler.image + tileRow * 32 + static_cast<u32>(y & 3) * 8, s};
    }
    return true;
}

// A textured stage on one channel, its operation, scale and clamp as the set-up has them.
template <u32 kStage, bool kAlpha>
[[gnu::always_inline]] inline s32 Stage(const StageInputs& in, s32 texel, s32 d) {
    constexpr StageShape kShape = kShapes[kStage];
    const auto input = [&](u32 k) { return in.weight[k] * texel + in.constant[k]; };
    return GXTevCombine(input(0), input(1), input(2), d, kAlpha ? kShape.alphaOp : GX_TEV_ADD,
                        GX_TB_ZERO, kAlpha ? GX_CS_SCALE_1 : kShape.colourScale, kShape.clamp);
}

template <bool kAlpha>
[[gnu::always_inline]] inline s32 Channel(const YuvProgram& g, u32 channel, s32 u, s32 v, s32 y) {
    const s32 first = Stage<0, kAlpha>(g.inputs[0][channel], u, g.firstD[channel]);
    const s32 second = Stage<1, kAlpha>(g.inputs[1][channel], v, first);
    return Stage<2, kAlpha>(g.inputs[2][channel], y, second);
}

// The four stages over a run of pixels' chroma and luma texels, as 0xAARRGGBB; one
// loop the compiler turns into vector code.
GX_RUNTIME_SIMD void ConvertRun(const YuvProgram& g, const u8* u, const u8* v, const u8* y,
                                u32 count, u32* colours) {
    for (u32 i = 0; i < count; ++i) {
        const s32 alpha = Channel<true>(g, 3, u[i], v[i], y[i]);
        u32 colour = g.alpha << 24;
        for (u32 channel = 0; channel < 3; ++channel) {
            const s32 previous = Channel<false>(g, channel, u[i], v[i], y[i]);
            const s32 value = GXTevCombine(alpha, previous, g.konst[channel], 0, GX_TEV_ADD,
                                           GX_TB_ZERO, GX_CS_SCALE_1, true);
            colour |= static_cast<u32>(value) << (16 - 8 * channel);
        }
        colours[i] = colour;
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
    u8 texels[kTexturedStages][kGXRunPixels];
    u32 shaded[kGXRunPixels];
    for (u32 runStart = xBegin; runStart < xEnd; runStart += kGXRunPixels) {
        const u32 run = std::min(kGXRunPixels, xEnd - runStart);
        for (u32 stage = 0; stage < kTexturedStages; ++stage) {
            rows[stage].Read(runStart - xBegin, run, texels[stage]);
        }
        ConvertRun(s_program, texels[0], texels[1], texels[2], run, shaded);
        u32* const out = colours + runStart;
        for (u32 i = 0; i < run; ++i) { // an opaque buffer stores every colour as it is
            out[i] = opaque ? shaded[i] | 0xFF000000
                            : efb.StoredColour((shaded[i] & mask) | (out[i] & ~mask));
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
