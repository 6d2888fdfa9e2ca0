// The pixel pipeline's compilation and its per-pixel span loops.
#include "gx/span.h"

#include "gx/efb.h"
#include "gx/runtime_simd.h"
#include "gx/sprite_span.h"
#include "gx/tev_program.h"
#include "gx/yuv_span.h"

#include <algorithm>

namespace {

constinit GXPixelPipeline s_pipeline{};

// Footprints up to this many texels a pixel (squared, with room for rounding) are
// drawn as magnified.
constexpr f32 kMagnifiedLimit = 1.0001f;

u32 Pack(s32 r, s32 g, s32 b, s32 a) {
    return static_cast<u32>(a) << 24 | static_cast<u32>(r) << 16 | static_cast<u32>(g) << 8 |
           static_cast<u32>(b);
}

// The texture environment's product of two 8-bit values (see GXTevCombine).
s32 Modulate(u32 texel, s32 rasterised) {
    return static_cast<s32>((texel * static_cast<u32>(rasterised + (rasterised >> 7)) + 128) >> 8);
}

// The texture coordinates of the stages that sample, in 1/256 texels, pixel by pixel:
// stepped along the span when affine, from the interpolated values when perspective.
struct SpanCoordinates {
    GXCoordinateStep s[GX_MAX_TEVSTAGE], t[GX_MAX_TEVSTAGE];
    s32 uv[GX_MAX_TEVSTAGE][2];
};

void StartCoordinates(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 stageCount,
                      const f32* row, u32 x, SpanCoordinates& c) {
    for (u32 i = 0; i < stageCount; ++i) {
        GXStartStageCoordinates(p, t, i, row, x, c.s[i], c.t[i]);
    }
}

[[gnu::always_inline]] inline void StepCoordinates(u32 stageCount, SpanCoordinates& c) {
    for (u32 i = 0; i < stageCount; ++i) {
        c.uv[i][0] = GXStepTexel(c.s[i].at);
        c.uv[i][1] = GXStepTexel(c.t[i].at);
        c.s[i].at += c.s[i].step;
        c.t[i].at += c.t[i].step;
    }
}

// StepCoordinates over a run of pixels, into the run's inputs, for the stages that
// sample (the others' coordinates are never read).
GX_RUNTIME_SIMD void StepRun(const GXPixelPipeline& p, u32 run, SpanCoordinates& c,
                             GXTevRunInputs& inputs) {
    for (u32 i = 0; i < p.stageCount; ++i) {
        if (p.stages[i].samplerAt < 0) {
            continue;
        }
        for (u32 k = 0; k < run; ++k) {
            inputs.u[i][k] = GXStepTexel(c.s[i].at + c.s[i].step * k);
            inputs.v[i][k] = GXStepTexel(c.t[i].at + c.t[i].step * k);
        }
        c.s[i].at += c.s[i].step * run;
        c.t[i].at += c.t[i].step * run;
    }
}

[[gnu::always_inline]] inline void InterpolatedCoordinates(const GXPixelPipeline& p, u32 stageCount,
                                                           const f32* values, SpanCoordinates& c) {
    for (u32 i = 0; i < stageCount; ++i) {
        const GXPipelineStage& stage = p.stages[i];
        c.uv[i][0] = c.uv[i][1] = 0;
        if (stage.samplerAt >= 0 && stage.coordAt >= 0) {
            const GXTextureSampler& sampler = p.samplers[stage.samplerAt];
            c.uv[i][0] = GXTexelCoordinate(values[stage.coordAt], sampler.width);
            c.uv[i][1] = GXTexelCoordinate(values[stage.coordAt + 1], sampler.height);
        }
    }
}

// The textured shadings' interpolants: the coordinate, and the colour that modulates.
template <GXShading kShading>
constexpr u32 kInterpolants = kShading == GXShading::Replace ? 2 : 6;

template <GXShading kShading>
[[gnu::always_inline]] inline u32 Shade(const GXPixelPipeline& p, const GXTrianglePlanes& t,
                                        const f32* v, const SpanCoordinates& c) {
    if constexpr (kShading == GXShading::Replace) {
        return GXSampleTexel(p.samplers[0], c.uv[0][0], c.uv[0][1], t.linear[0]);
    } else {
        const u32 texel = GXSampleTexel(p.samplers[0], c.uv[0][0], c.uv[0][1], t.linear[0]);
        const s32 alpha = kShading == GXShading::Modulate
                              ? Modulate(texel >> 24, GXColourByte(v[3]))
                              : static_cast<s32>(texel >> 24);
        return Pack(Modulate((texel >> 16) & 0xFF, GXColourByte(v[0])),
                    Modulate((texel >> 8) & 0xFF, GXColourByte(v[1])),
                    Modulate(texel & 0xFF, GXColourByte(v[2])), alpha);
    }
}

u32 ToDepth(f64 depth) {
    if (!(depth > 0.0)) {
        return 0;
    }
    return depth >= 16777215.0 ? 0xFFFFFF : static_cast<u32>(depth + 0.5);
}

[[gnu::always_inline]] inline u32 Output(const GXPixelPipeline& p, const EmbeddedFrameBuffer& efb,
                                         u32 source, u32 destination) {
    u32 result = source;
    if (p.ops.blendMode != GX_BM_NONE) {
        result = p.sourceAlphaBlend ? GXBlendSourceAlpha(source, destination)
                                    : GXBlendPixel(p.ops, source, destination);
    }
    return efb.StoredColour((result & p.writeMask) | (destination & ~p.writeMask));
}

// Whether the triangle's colour (interpolants 0 to 3 when it passes the colour on) is
// the same at every pixel.
bool HasConstantColour(const GXTrianglePlanes& t) {
    for (u32 i = 0; i < 4; ++i) {
        if (t.dx[i] != 0.0f || t.dy[i] != 0.0f) {
            return false;
        }
    }
    return true;
}

// Source over every pixel of the row by its alpha, as GXBlendSourceAlpha, with the
// source's share worked out once.
template <typename Store>
[[gnu::always_inline]] inline void BlendConstantOverRow(u32 source, u32* row, u32 count,
                                                        Store store) {
    const u32 alpha = source >> 24;
    const u32 destinationWeight = GXBlendWeight(255 - alpha);
    const u32 redBlue = (source & 0x00FF00FF) * GXBlendWeight(alpha) + 0x00800080;
    const u32 alphaGreen = ((source >> 8) & 0x00FF00FF) * GXBlendWeight(alpha) + 0x00800080;
    for (u32 i = 0; i < count; ++i) {
        const u32 destination = row[i];
        const u32 blended =
            (((redBlue + (destination & 0x00FF00FF) * destinationWeight) >> 8) & 0x00FF00FF) |
            ((alphaGreen + ((destination >> 8) & 0x00FF00FF) * destinationWeight) & 0xFF00FF00);
        row[i] = store(blended, destination);
    }
}

// The common case, a frame buffer without alpha updated whole, in vector code.
GX_RUNTIME_SIMD void BlendConstantOverOpaqueRow(u32 source, u32* row, u32 count) {
    BlendConstantOverRow(source, row, count, [](u32 result, u32) { return result | 0xFF000000u; });
}

// A span of one colour with no depth test: shaded and alpha-tested once, then filled
// or blended along the row. Draws what the per-pixel loop draws.
void DrawConstantColourSpan(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 y, u32 xBegin,
                            u32 xEnd) {
    EmbeddedFrameBuffer& efb = GXEmbeddedFrameBuffer();
    const f32 py = static_cast<f32>(y) + 0.5f;
    const f32 px = static_cast<f32>(xBegin) + 0.5f;
    f32 values[4];
    for (u32 i = 0; i < 4; ++i) {
        values[i] = (t.base[i] + t.dy[i] * py) + t.dx[i] * px;
    }
    const u32 colour = Pack(GXColourByte(values[0]), GXColourByte(values[1]),
                            GXColourByte(values[2]), GXColourByte(values[3]));
    if (!p.alphaAlways && !GXAlphaPasses(p.ops, colour >> 24)) {
        return;
    }
    u32* const row = efb.ColourRow(y) + xBegin;
    const u32 count = xEnd - xBegin;
    const u32 mask = p.writeMask;
    if (p.ops.blendMode == GX_BM_NONE && mask == 0xFFFFFFFF) {
        std::fill_n(row, count, efb.StoredColour(colour));
    } else if (p.ops.blendMode == GX_BM_NONE || p.sourceAlphaBlend) {
        const auto store = [&efb, mask](u32 result, u32 destination) {
            return efb.StoredColour((result & mask) | (destination & ~mask));
        };
        if (p.ops.blendMode == GX_BM_NONE) {
            for (u32 i = 0; i < count; ++i) {
                row[i] = store(colour, row[i]);
            }
        } else if (mask == 0xFFFFFFFF && efb.PixelFormat() == GX_PF_RGB8_Z24) {
            BlendConstantOverOpaqueRow(colour, row, count);
        } else {
            BlendConstantOverRow(colour, row, count, store);
        }
    } else {
        for (u32 i = 0; i < count; ++i) {
            row[i] = Output(p, efb, colour, row[i]);
        }
    }
}

// The rasterised colour of pixels x to x + count - 1 of a line, perspective-divided or
// not, with the per-pixel loop's very arithmetic, in one loop the compiler vectorises.
template <bool kPerspective>
[[gnu::always_inline]] inline void ColourRun(const GXTrianglePlanes& t, const f32* row,
                                             f32 rowInverseW, u32 x, u32 count, u32* colours) {
    for (u32 i = 0; i < count; ++i) {
        const f32 px = static_cast<f32>(x + i) + 0.5f;
        s32 channels[4];
        for (u32 c = 0; c < 4; ++c) {
            const f32 value = row[c] + t.dx[c] * px;
            channels[c] = GXColourByte(
                kPerspective ? value * (1.0f / (rowInverseW + t.inverseWDx * px)) : value);
        }
        colours[i] = Pack(channels[0], channels[1], channels[2], channels[3]);
    }
}

GX_RUNTIME_SIMD void AffineColourRun(const GXTrianglePlanes& t, const f32* row, f32 rowInverseW,
                                     u32 x, u32 count, u32* colours) {
    ColourRun<false>(t, row, rowInverseW, x, count, colours);
}

GX_RUNTIME_SIMD void PerspectiveColourRun(const GXTrianglePlanes& t, const f32* row,
                                          f32 rowInverseW, u32 x, u32 count, u32* colours) {
    ColourRun<true>(t, row, rowInverseW, x, count, colours);
}

// The depth of pixels x to x + count - 1 of a line, as the frame buffer stores it.
GX_RUNTIME_SIMD void DepthRun(const EmbeddedFrameBuffer& efb, const GXTrianglePlanes& t,
                              f64 rowDepth, u32 x, u32 count, u32* depths) {
    for (u32 i = 0; i < count; ++i) {
        const f32 px = static_cast<f32>(x + i) + 0.5f;
        depths[i] = efb.StoredDepth(ToDepth(rowDepth + t.depthDx * px));
    }
}

// The rasterised colour passed on: a run of pixels shaded and its depth found at a time,
// then each pixel tested and written. Draws what the per-pixel loop draws.
template <bool kPerspective>
void DrawColourSpan(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 y, u32 xBegin,
                    u32 xEnd) {
    const GXPixelOps& ops = p.ops;
    if (!kPerspective && !ops.zCompare && HasConstantColour(t)) {
        DrawConstantColourSpan(p, t, y, xBegin, xEnd);
        return;
    }
    EmbeddedFrameBuffer& efb = GXEmbeddedFrameBuffer();
    u32* colours = efb.ColourRow(y);
    u32* depths = ops.zCompare ? efb.DepthRow(y) : nullptr;
    const f32 py = static_cast<f32>(y) + 0.5f;
    f32 row[4];
    for (u32 i = 0; i < 4; ++i) {
        row[i] = t.base[i] + t.dy[i] * py;
    }
    const f32 rowInverseW = t.inverseWBase + t.inverseWDy * py;
    const f64 rowDepth = t.depthBase + t.depthDy * py;
    u32 shaded[kGXRunPixels];
    u32 depth[kGXRunPixels];
    for (u32 runStart = xBegin; runStart < xEnd; runStart += kGXRunPixels) {
        const u32 run = std::min(kGXRunPixels, xEnd - runStart);
        (kPerspective ? PerspectiveColourRun : AffineColourRun)(t, row, rowInverseW, runStart, run,
                                                                shaded);
        if (ops.zCompare) {
            DepthRun(efb, t, rowDepth, runStart, run, depth);
        }
        for (u32 i = 0; i < run; ++i) {
            const u32 x = runStart + i;
            if (ops.zCompare && !GXCompareValues(ops.zFunction, depth[i], depths[x])) {
                continue;
            }
            if (!p.alphaAlways && !GXAlphaPasses(ops, shaded[i] >> 24)) {
                continue;
            }
            if (ops.zCompare && ops.zUpdate) {
                depths[x] = depth[i];
            }
            colours[x] = Output(p, efb, shaded[i], colours[x]);
        }
    }
}

template <GXShading kShading, bool kPerspective>
void DrawSpan(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 y, u32 xBegin, u32 xEnd) {
    EmbeddedFrameBuffer& efb = GXEmbeddedFrameBuffer();
    u32* colours = efb.ColourRow(y);
    u32* depths = p.ops.zCompare ? efb.DepthRow(y) : nullptr;
    const u32 count = kInterpolants<kShading>;
    const u32 texturing = 1; // stage 0 samples
    const f32 py = static_cast<f32>(y) + 0.5f;
    f32 row[kGXMaxInterpolants];
    for (u32 i = 0; i < count; ++i) {
        row[i] = t.base[i] + t.dy[i] * py;
    }
    SpanCoordinates coordinates;
    if constexpr (!kPerspective) {
        StartCoordinates(p, t, texturing, row, xBegin, coordinates);
    }
    const f32 rowInverseW = t.inverseWBase + t.inverseWDy * py;
    const f64 rowDepth = t.depthBase + t.depthDy * py;
    const GXPixelOps& ops = p.ops;
    for (u32 x = xBegin; x < xEnd; ++x) {
        const f32 px = static_cast<f32>(x) + 0.5f;
        if constexpr (!kPerspective) {
            StepCoordinates(texturing, coordinates); // every pixel steps, drawn or not
        }
        u32 depth = 0;
        if (ops.zCompare) {
            depth = efb.StoredDepth(ToDepth(rowDepth + t.depthDx * px));
            if (!GXCompareValues(ops.zFunction, depth, depths[x])) {
                continue;
            }
        }
        f32 values[kGXMaxInterpolants];
        if constexpr (kPerspective) {
            const f32 w = 1.0f / (rowInverseW + t.inverseWDx * px);
            for (u32 i = 0; i < count; ++i) {
                values[i] = (row[i] + t.dx[i] * px) * w;
            }
            InterpolatedCoordinates(p, texturing, values, coordinates);
        } else {
            for (u32 i = 0; i < count; ++i) {
                values[i] = row[i] + t.dx[i] * px;
            }
        }
        const u32 colour = Shade<kShading>(p, t, values, coordinates);
        if (!p.alphaAlways && !GXAlphaPasses(ops, colour >> 24)) {
            continue;
        }
        if (ops.zCompare && ops.zUpdate) {
            depths[x] = depth;
        }
        colours[x] = Output(p, efb, colour, colours[x]);
    }
}

// Any texture environment: the pixels' inputs are gathered a run at a time, the
// compiled stages run over the whole run, then each pixel is tested and written.
template <bool kPerspective>
void DrawGeneralSpan(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 y, u32 xBegin,
                     u32 xEnd) {
    EmbeddedFrameBuffer& efb = GXEmbeddedFrameBuffer();
    u32* colours = efb.ColourRow(y);
    u32* depths = p.ops.zCompare ? efb.DepthRow(y) : nullptr;
    const u32 count = p.interpolantCount;
    const f32 py = static_cast<f32>(y) + 0.5f;
    f32 row[kGXMaxInterpolants];
    for (u32 i = 0; i < count; ++i) {
        row[i] = t.base[i] + t.dy[i] * py;
    }
    SpanCoordinates coordinates;
    if constexpr (!kPerspective) {
        StartCoordinates(p, t, p.stageCount, row, xBegin, coordinates);
    }
    const f32 rowInverseW = t.inverseWBase + t.inverseWDy * py;
    const f64 rowDepth = t.depthBase + t.depthDy * py;
    const GXPixelOps& ops = p.ops;
    // Affine values are gathered only for the colours some stage reads; coordinates
    // come stepped.
    u32 rasterisedCount = 0;
    for (u32 i = 0; i < p.stageCount; ++i) {
        if (p.stages[i].colourAt >= 0) {
            rasterisedCount = count;
        }
    }
    GXTevRunInputs inputs;
    u32 depth[kGXRunPixels];
    bool depthPasses[kGXRunPixels];
    u32 shaded[kGXRunPixels];
    for (u32 runStart = xBegin; runStart < xEnd; runStart += kGXRunPixels) {
        const u32 run = std::min(kGXRunPixels, xEnd - runStart);
        for (u32 i = 0; i < run; ++i) {
            const f32 px = static_cast<f32>(runStart + i) + 0.5f;
            depthPasses[i] = true;
            if (ops.zCompare) {
                depth[i] = efb.StoredDepth(ToDepth(rowDepth + t.depthDx * px));
                depthPasses[i] = GXCompareValues(ops.zFunction, depth[i], depths[runStart + i]);
            }
        }
        if constexpr (kPerspective) {
            for (u32 i = 0; i < run; ++i) {
                const f32 px = static_cast<f32>(runStart + i) + 0.5f;
                const f32 w = 1.0f / (rowInverseW + t.inverseWDx * px);
                f32 values[kGXMaxInterpolants];
                for (u32 k = 0; k < count; ++k) {
                    values[k] = (row[k] + t.dx[k] * px) * w;
                    inputs.values[k][i] = values[k];
                }
                InterpolatedCoordinates(p, p.stageCount, values, coordinates);
                for (u32 stage = 0; stage < p.stageCount; ++stage) {
                    inputs.u[stage][i] = coordinates.uv[stage][0];
                    inputs.v[stage][i] = coordinates.uv[stage][1];
                }
            }
        } else {
            StepRun(p, run, coordinates, inputs);
            for (u32 k = 0; k < rasterisedCount; ++k) {
                for (u32 i = 0; i < run; ++i) {
                    inputs.values[k][i] =
                        row[k] + t.dx[k] * (static_cast<f32>(runStart + i) + 0.5f);
                }
            }
        }
        GXRunTevProgram(p, t, inputs, run, shaded);
        for (u32 i = 0; i < run; ++i) {
            const u32 x = runStart + i;
            if (!depthPasses[i] || (!p.alphaAlways && !GXAlphaPasses(ops, shaded[i] >> 24))) {
                continue;
            }
            if (ops.zCompare && ops.zUpdate) {
                depths[x] = depth[i];
            }
            colours[x] = Output(p, efb, shaded[i], colours[x]);
        }
    }
}

template <GXShading kShading>
constexpr GXSpanFunction kSpanPair[2] = {DrawSpan<kShading, false>, DrawSpan<kShading, true>};
constexpr GXSpanFunction kGeneralSpanPair[2] = {DrawGeneralSpan<false>, DrawGeneralSpan<true>};
constexpr GXSpanFunction kColourSpanPair[2] = {DrawColourSpan<false>, DrawColourSpan<true>};

bool ReadsRasterised(const GXTevStage& stage) {
    for (u32 i = 0; i < 4; ++i) {
        if (stage.colourIn[i] == GX_CC_RASC || stage.colourIn[i] == GX_CC_RASA ||
            stage.alphaIn[i] == GX_CA_RASA) {
            return true;
        }
    }
    return false;
}

s32 ChannelIndex(GXChannelID channel) {
    switch (channel) {
    case GX_COLOR0:
    case GX_ALPHA0:
    case GX_COLOR0A0:
        return 0;
    case GX_COLOR1:
    case GX_ALPHA1:
    case GX_COLOR1A1:
        return 1;
    default:
        return -1;
    }
}

// The interpolants that carry `width` values from attribute slot `slot` on, added
// when first asked for.
s32 Allocate(GXPixelPipeline& p, s32& at, u32 slot, u32 width) {
    if (at < 0) {
        at = static_cast<s32>(p.interpolantCount);
        for (u32 k = 0; k < width; ++k) {
            p.gather[p.interpolantCount++] = slot + k;
        }
    }
    return at;
}

u8 ColourSlot(GXTevColorArg arg, u32 channel) {
    if (arg < GX_CC_TEXC) { // registers: colour, then alpha, of previous, 0, 1, 2
        return static_cast<u8>(kGXSlotRegisters + (arg / 2) * 4 + (arg % 2 != 0 ? 3 : channel));
    }
    switch (arg) {
    case GX_CC_TEXC:
        return static_cast<u8>(kGXSlotTexel + channel);
    case GX_CC_TEXA:
        return kGXSlotTexel + 3;
    case GX_CC_RASC:
        return static_cast<u8>(kGXSlotRasterised + channel);
    case GX_CC_RASA:
        return kGXSlotRasterised + 3;
    case GX_CC_ONE:
        return kGXSlotOne;
    case GX_CC_HALF:
        return kGXSlotHalf;
    case GX_CC_KONST:
        return static_cast<u8>(kGXSlotKonst + channel);
    default:
        return kGXSlotZero;
    }
}

u8 AlphaSlot(GXTevAlphaArg arg) {
    switch (arg) {
    case GX_CA_TEXA:
        return kGXSlotTexel + 3;
    case GX_CA_RASA:
        return kGXSlotRasterised + 3;
    case GX_CA_KONST:
        return kGXSlotKonst + 3;
    case GX_CA_ZERO:
        return kGXSlotZero;
    default: // previous, 0, 1, 2
        return static_cast<u8>(kGXSlotRegisters + arg * 4 + 3);
    }
}

void CompileInputs(const GXTevState& tev, GXPipelineStage& stage) {
    const GXTevStage& source = stage.tev;
    for (u32 k = 0; k < 4; ++k) {
        for (u32 channel = 0; channel < 3; ++channel) {
            stage.colourSlots[channel][k] = ColourSlot(source.colourIn[k], channel);
        }
        stage.alphaSlots[k] = AlphaSlot(source.alphaIn[k]);
        stage.textureSwap[k] = tev.swapTables[source.textureSwap][k];
        stage.rasterisedSwap[k] = tev.swapTables[source.rasterisedSwap][k];
    }
    GXTevKonst(tev, source, stage.konst);
}

void CompileStages(GXPixelPipeline& p) {
    const GXTevState& tev = GXCurrentTev();
    s32 colourAt[kGXColourCount] = {-1, -1};
    s32 coordAt[kGXTexCoordCount] = {-1, -1, -1, -1, -1, -1, -1, -1};
    p.interpolantCount = 0;
    p.stageCount = tev.stageCount;
    for (u32 i = 0; i < 16; ++i) {
        p.registers[i] = tev.registers[i / 4][i % 4];
    }
    for (u32 i = 0; i < tev.stageCount; ++i) {
        const GXTevStage& source = tev.stages[i];
        GXPipelineStage& stage = p.stages[i];
        stage = {};
        stage.tev = source;
        stage.colourAt = stage.coordAt = stage.samplerAt = -1;
        CompileInputs(tev, stage);
        GXCompileTevStage(stage);
        const s32 channel = ChannelIndex(source.channel);
        if (ReadsRasterised(source) && channel >= 0) {
            stage.colourAt =
                Allocate(p, colourAt[channel], kGXColourSlot + 4 * static_cast<u32>(channel), 4);
        }
        if (GXTevReadsTexture(source)) {
            p.samplers[i] = GXResolveSampler(source.map);
            stage.samplerAt = static_cast<s32>(i);
            if (source.coordinate < GX_MAX_TEXCOORD) {
                stage.coordAt = Allocate(p, coordAt[source.coordinate],
                                         kGXTexCoordSlot + 2 * source.coordinate, 2);
            }
        }
    }
}

bool StandardOps(const GXTevStage& s) {
    return s.colourOp == GX_TEV_ADD && s.colourBias == GX_TB_ZERO &&
           s.colourScale == GX_CS_SCALE_1 && s.colourClamp && s.alphaOp == GX_TEV_ADD &&
           s.alphaBias == GX_TB_ZERO && s.alphaScale == GX_CS_SCALE_1 && s.alphaClamp;
}

bool UnswappedChannels(const GXPipelineStage& stage) {
    for (u8 channel = 0; channel < 4; ++channel) {
        if (stage.textureSwap[channel] != channel || stage.rasterisedSwap[channel] != channel) {
            return false;
        }
    }
    return true;
}

bool Inputs(const GXTevStage& s, GXTevColorArg a, GXTevColorArg b, GXTevColorArg c,
            GXTevColorArg d) {
    return s.colourIn[0] == a && s.colourIn[1] == b && s.colourIn[2] == c && s.colourIn[3] == d;
}

bool Inputs(const GXTevStage& s, GXTevAlphaArg a, GXTevAlphaArg b, GXTevAlphaArg c,
            GXTevAlphaArg d) {
    return s.alphaIn[0] == a && s.alphaIn[1] == b && s.alphaIn[2] == c && s.alphaIn[3] == d;
}

// A single-stage environment that one of the dedicated span loops draws.
GXShading Classify(const GXPixelPipeline& p) {
    const GXPipelineStage& stage = p.stages[0];
    const GXTevStage& s = stage.tev;
    if (p.stageCount != 1 || !StandardOps(s) || !UnswappedChannels(stage)) {
        return GXShading::General;
    }
    const bool colourFirst = stage.colourAt == 0;
    const bool passColour = Inputs(s, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_RASC) &&
                            Inputs(s, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_RASA);
    if (passColour && colourFirst) {
        return GXShading::PassColour;
    }
    const bool replace = Inputs(s, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_TEXC) &&
                         Inputs(s, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA);
    if (replace && stage.coordAt == 0) {
        return GXShading::Replace;
    }
    const bool modulateColour = Inputs(s, GX_CC_ZERO, GX_CC_TEXC, GX_CC_RASC, GX_CC_ZERO);
    if (!modulateColour || !colourFirst || stage.coordAt != 4) {
        return GXShading::General;
    }
    if (Inputs(s, GX_CA_ZERO, GX_CA_TEXA, GX_CA_RASA, GX_CA_ZERO)) {
        return GXShading::Modulate;
    }
    if (Inputs(s, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA)) {
        return GXShading::ModulateTextureAlpha;
    }
    return GXShading::General;
}

const GXSpanFunction* SpansFor(GXShading shading) {
    switch (shading) {
    case GXShading::PassColour:
        return kColourSpanPair;
    case GXShading::Replace:
        return kSpanPair<GXShading::Replace>;
    case GXShading::Modulate:
        return kSpanPair<GXShading::Modulate>;
    case GXShading::ModulateTextureAlpha:
        return kSpanPair<GXShading::ModulateTextureAlpha>;
    default:
        return kGeneralSpanPair;
    }
}

// Nearest or bilinear for each texturing stage from the texel footprint at pixel
// (x, y): magnified (at most one texel a pixel) or minified.
void ChooseFilters(const GXPixelPipeline& p, GXTrianglePlanes& t, f32 x, f32 y, bool perspective) {
    for (u32 i = 0; i < p.stageCount; ++i) {
        const GXPipelineStage& stage = p.stages[i];
        if (stage.samplerAt < 0) {
            continue;
        }
        const GXTextureSampler& sampler = p.samplers[stage.samplerAt];
        // Without coordinates, or with one filter either way, the footprint decides nothing.
        if (stage.coordAt < 0 || sampler.linearMagnify == sampler.linearMinify) {
            t.linear[i] = sampler.linearMagnify;
            continue;
        }
        const u32 k = static_cast<u32>(stage.coordAt);
        f32 ds[2] = {t.dx[k], t.dy[k]};         // d(s)/dx, d(s)/dy
        f32 dt[2] = {t.dx[k + 1], t.dy[k + 1]}; // d(t)/dx, d(t)/dy
        if (perspective) {
            // d(u / q) = (du q - u dq) / q^2 with u the interpolated s / w and q = 1 / w.
            const f32 q = t.inverseWBase + t.inverseWDx * x + t.inverseWDy * y;
            const f32 s = t.base[k] + t.dx[k] * x + t.dy[k] * y;
            const f32 tc = t.base[k + 1] + t.dx[k + 1] * x + t.dy[k + 1] * y;
            const f32 dq[2] = {t.inverseWDx, t.inverseWDy};
            for (u32 axis = 0; axis < 2; ++axis) {
                ds[axis] = (ds[axis] * q - s * dq[axis]) / (q * q);
                dt[axis] = (dt[axis] * q - tc * dq[axis]) / (q * q);
            }
        }
        const f32 w = static_cast<f32>(sampler.width);
        const f32 h = static_cast<f32>(sampler.height);
        f32 footprint = 0.0f;
        for (u32 axis = 0; axis < 2; ++axis) {
            const f32 along = ds[axis] * w * ds[axis] * w + dt[axis] * h * dt[axis] * h;
            footprint = along > footprint ? along : footprint;
        }
        t.linear[i] = footprint > kMagnifiedLimit ? sampler.linearMinify : sampler.linearMagnify;
    }
}

} // namespace

void GXPreparePixelPipeline() {
    GXPixelPipeline& p = s_pipeline;
    CompileStages(p);
    p.ops = GXCurrentPixelOps();
    p.alphaAlways = GXAlphaCompareAlwaysPasses(p.ops);
    p.sourceAlphaBlend = p.ops.blendMode == GX_BM_BLEND && p.ops.sourceFactor == GX_BL_SRCALPHA &&
                         p.ops.destinationFactor == GX_BL_INVSRCALPHA;
    p.writeMask = (p.ops.colourUpdate ? 0x00FFFFFFu : 0u) | (p.ops.alphaUpdate ? 0xFF000000u : 0u);
    const GXShading shading = Classify(p);
    const GXSpanFunction* spans = SpansFor(shading);
    p.perPixelSpan = spans[0];
    const GXSpanFunction sprite = GXPrepareSpriteSpan(p, shading);
    p.spriteLoop = sprite != nullptr;
    const GXSpanFunction yuv = shading == GXShading::General ? GXPrepareYuvSpan(p) : nullptr;
    p.span[0] = p.spriteLoop ? sprite : (yuv != nullptr ? yuv : spans[0]);
    p.span[1] = spans[1];
    p.rectangle = p.spriteLoop ? GXDrawSpriteRectangle : GXDrawRectangleBySpans;
}

const GXPixelPipeline& GXActivePixelPipeline() {
    return s_pipeline;
}

void GXPrepareTriangle(const GXPixelPipeline& p, GXTrianglePlanes& t, f32 x, f32 y,
                       bool perspective, u32 left, u32 right) {
    ChooseFilters(p, t, x, y, perspective);
    if (p.spriteLoop && !perspective) {
        GXPrepareSpriteTriangle(p, t, left, right);
    }
}