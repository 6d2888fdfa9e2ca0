// The pixel pipeline's compilation and its span loops.
#include "gx/span.h"

#include "gx/efb.h"

namespace {

enum class Shading { PassColour, Replace, Modulate, ModulateTextureAlpha, General };

constinit GXPixelPipeline s_pipeline{};

// Footprints up to this many texels a pixel (squared, with room for rounding) are
// drawn as magnified.
constexpr f32 kMagnifiedLimit = 1.0001f;

struct Rgba {
    s32 c[4]; // red, green, blue, alpha
};

s32 ToByte(f32 value) {
    value = value > 0.0f ? value : 0.0f; // also catches NaN
    value = value < 255.0f ? value : 255.0f;
    return static_cast<s32>(value + 0.5f);
}

s32 Saturate(s32 value) {
    return value < 0 ? 0 : (value > 255 ? 255 : value);
}

u32 Pack(s32 r, s32 g, s32 b, s32 a) {
    return static_cast<u32>(a) << 24 | static_cast<u32>(r) << 16 | static_cast<u32>(g) << 8 |
           static_cast<u32>(b);
}

Rgba Unpack(u32 argb) {
    return {{static_cast<s32>((argb >> 16) & 0xFF), static_cast<s32>((argb >> 8) & 0xFF),
             static_cast<s32>(argb & 0xFF), static_cast<s32>(argb >> 24)}};
}

// The texture environment's product of two 8-bit values (see GXTevCombine).
s32 Modulate(u32 texel, s32 rasterised) {
    return static_cast<s32>((texel * static_cast<u32>(rasterised + (rasterised >> 7)) + 128) >> 8);
}

s32 ColourInput(GXTevColorArg arg, u32 channel, const Rgba* registers, const Rgba& texel,
                const Rgba& rasterised) {
    switch (arg) {
    case GX_CC_CPREV:
    case GX_CC_C0:
    case GX_CC_C1:
    case GX_CC_C2:
        return registers[arg / 2].c[channel];
    case GX_CC_APREV:
    case GX_CC_A0:
    case GX_CC_A1:
    case GX_CC_A2:
        return registers[arg / 2].c[3];
    case GX_CC_TEXC:
        return texel.c[channel];
    case GX_CC_TEXA:
        return texel.c[3];
    case GX_CC_RASC:
        return rasterised.c[channel];
    case GX_CC_RASA:
        return rasterised.c[3];
    case GX_CC_HALF:
        return 128;
    case GX_CC_ZERO:
        return 0;
    default: // GX_CC_ONE, GX_CC_KONST
        return 255;
    }
}

s32 AlphaInput(GXTevAlphaArg arg, const Rgba* registers, const Rgba& texel,
               const Rgba& rasterised) {
    switch (arg) {
    case GX_CA_APREV:
    case GX_CA_A0:
    case GX_CA_A1:
    case GX_CA_A2:
        return registers[arg].c[3];
    case GX_CA_TEXA:
        return texel.c[3];
    case GX_CA_RASA:
        return rasterised.c[3];
    case GX_CA_KONST:
        return 255;
    default:
        return 0;
    }
}

Rgba RasterisedColour(const GXPipelineStage& stage, const f32* values) {
    if (stage.colourAt < 0) {
        return {};
    }
    const f32* colour = values + stage.colourAt;
    return {{ToByte(colour[0]), ToByte(colour[1]), ToByte(colour[2]), ToByte(colour[3])}};
}

Rgba Texel(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 stageIndex, const f32* values) {
    const GXPipelineStage& stage = p.stages[stageIndex];
    if (stage.samplerAt < 0) {
        return {};
    }
    const f32 s = stage.coordAt >= 0 ? values[stage.coordAt] : 0.0f;
    const f32 tc = stage.coordAt >= 0 ? values[stage.coordAt + 1] : 0.0f;
    return Unpack(GXSampleTexture(p.samplers[stage.samplerAt], s, tc, t.linear[stageIndex]));
}

// Every stage in order; the result is what the last stage wrote.
u32 RunTev(const GXPixelPipeline& p, const GXTrianglePlanes& t, const f32* values) {
    Rgba registers[4] = {}; // previous, 0, 1, 2
    Rgba last{};
    for (u32 i = 0; i < p.stageCount; ++i) {
        const GXPipelineStage& stage = p.stages[i];
        const GXTevStage& tev = stage.tev;
        const Rgba texel = Texel(p, t, i, values);
        const Rgba rasterised = RasterisedColour(stage, values);
        for (u32 channel = 0; channel < 3; ++channel) {
            s32 in[4];
            for (u32 k = 0; k < 4; ++k) {
                in[k] = ColourInput(tev.colourIn[k], channel, registers, texel, rasterised);
            }
            last.c[channel] = GXTevCombine(in[0], in[1], in[2], in[3], tev.colourOp, tev.colourBias,
                                           tev.colourScale, tev.colourClamp);
        }
        s32 in[4];
        for (u32 k = 0; k < 4; ++k) {
            in[k] = AlphaInput(tev.alphaIn[k], registers, texel, rasterised);
        }
        last.c[3] = GXTevCombine(in[0], in[1], in[2], in[3], tev.alphaOp, tev.alphaBias,
                                 tev.alphaScale, tev.alphaClamp);
        for (u32 channel = 0; channel < 3; ++channel) {
            registers[tev.colourOut].c[channel] = last.c[channel];
        }
        registers[tev.alphaOut].c[3] = last.c[3];
    }
    return Pack(Saturate(last.c[0]), Saturate(last.c[1]), Saturate(last.c[2]), Saturate(last.c[3]));
}

template <Shading kShading>
constexpr u32 kInterpolants = kShading == Shading::PassColour ? 4
                              : kShading == Shading::Replace  ? 2
                                                              : 6;

template <Shading kShading>
[[gnu::always_inline]] inline u32 Shade(const GXPixelPipeline& p, const GXTrianglePlanes& t,
                                        const f32* v) {
    if constexpr (kShading == Shading::PassColour) {
        return Pack(ToByte(v[0]), ToByte(v[1]), ToByte(v[2]), ToByte(v[3]));
    } else if constexpr (kShading == Shading::Replace) {
        return GXSampleTexture(p.samplers[0], v[0], v[1], t.linear[0]);
    } else if constexpr (kShading == Shading::General) {
        return RunTev(p, t, v);
    } else {
        const u32 texel = GXSampleTexture(p.samplers[0], v[4], v[5], t.linear[0]);
        const s32 alpha = kShading == Shading::Modulate ? Modulate(texel >> 24, ToByte(v[3]))
                                                        : static_cast<s32>(texel >> 24);
        return Pack(Modulate((texel >> 16) & 0xFF, ToByte(v[0])),
                    Modulate((texel >> 8) & 0xFF, ToByte(v[1])),
                    Modulate(texel & 0xFF, ToByte(v[2])), alpha);
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

template <Shading kShading, bool kPerspective>
void DrawSpan(const GXPixelPipeline& p, const GXTrianglePlanes& t, u32 y, u32 xBegin, u32 xEnd) {
    EmbeddedFrameBuffer& efb = GXEmbeddedFrameBuffer();
    u32* colours = efb.ColourRow(y);
    u32* depths = efb.DepthRow(y);
    const u32 count = kShading == Shading::General ? p.interpolantCount : kInterpolants<kShading>;
    const f32 py = static_cast<f32>(y) + 0.5f;
    f32 row[kGXMaxInterpolants];
    for (u32 i = 0; i < count; ++i) {
        row[i] = t.base[i] + t.dy[i] * py;
    }
    const f32 rowInverseW = t.inverseWBase + t.inverseWDy * py;
    const f64 rowDepth = t.depthBase + t.depthDy * py;
    const GXPixelOps& ops = p.ops;
    for (u32 x = xBegin; x < xEnd; ++x) {
        const f32 px = static_cast<f32>(x) + 0.5f;
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
        } else {
            for (u32 i = 0; i < count; ++i) {
                values[i] = row[i] + t.dx[i] * px;
            }
        }
        const u32 colour = Shade<kShading>(p, t, values);
        if (!p.alphaAlways && !GXAlphaPasses(ops, colour >> 24)) {
            continue;
        }
        if (ops.zCompare && ops.zUpdate) {
            depths[x] = depth;
        }
        colours[x] = Output(p, efb, colour, colours[x]);
    }
}

template <Shading kShading>
constexpr GXSpanFunction kSpanPair[2] = {DrawSpan<kShading, false>, DrawSpan<kShading, true>};

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

void CompileStages(GXPixelPipeline& p) {
    const GXTevState& tev = GXCurrentTev();
    s32 colourAt[kGXColourCount] = {-1, -1};
    s32 coordAt[kGXTexCoordCount] = {-1, -1, -1, -1, -1, -1, -1, -1};
    p.interpolantCount = 0;
    p.stageCount = tev.stageCount;
    for (u32 i = 0; i < tev.stageCount; ++i) {
        const GXTevStage& source = tev.stages[i];
        GXPipelineStage& stage = p.stages[i];
        stage = {source, -1, -1, -1};
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

bool Inputs(const GXTevStage& s, GXTevColorArg a, GXTevColorArg b, GXTevColorArg c,
            GXTevColorArg d) {
    return s.colourIn[0] == a && s.colourIn[1] == b && s.colourIn[2] == c && s.colourIn[3] == d;
}

bool Inputs(const GXTevStage& s, GXTevAlphaArg a, GXTevAlphaArg b, GXTevAlphaArg c,
            GXTevAlphaArg d) {
    return s.alphaIn[0] == a && s.alphaIn[1] == b && s.alphaIn[2] == c && s.alphaIn[3] == d;
}

// A single-stage environment that one of the dedicated span loops draws.
Shading Classify(const GXPixelPipeline& p) {
    const GXPipelineStage& stage = p.stages[0];
    const GXTevStage& s = stage.tev;
    if (p.stageCount != 1 || !StandardOps(s)) {
        return Shading::General;
    }
    const bool colourFirst = stage.colourAt == 0;
    const bool passColour = Inputs(s, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_RASC) &&
                            Inputs(s, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_RASA);
    if (passColour && colourFirst) {
        return Shading::PassColour;
    }
    const bool replace = Inputs(s, GX_CC_ZERO, GX_CC_ZERO, GX_CC_ZERO, GX_CC_TEXC) &&
                         Inputs(s, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA);
    if (replace && stage.coordAt == 0) {
        return Shading::Replace;
    }
    const bool modulateColour = Inputs(s, GX_CC_ZERO, GX_CC_TEXC, GX_CC_RASC, GX_CC_ZERO);
    if (!modulateColour || !colourFirst || stage.coordAt != 4) {
        return Shading::General;
    }
    if (Inputs(s, GX_CA_ZERO, GX_CA_TEXA, GX_CA_RASA, GX_CA_ZERO)) {
        return Shading::Modulate;
    }
    if (Inputs(s, GX_CA_ZERO, GX_CA_ZERO, GX_CA_ZERO, GX_CA_TEXA)) {
        return Shading::ModulateTextureAlpha;
    }
    return Shading::General;
}

const GXSpanFunction* SpansFor(Shading shading) {
    switch (shading) {
    case Shading::PassColour:
        return kSpanPair<Shading::PassColour>;
    case Shading::Replace:
        return kSpanPair<Shading::Replace>;
    case Shading::Modulate:
        return kSpanPair<Shading::Modulate>;
    case Shading::ModulateTextureAlpha:
        return kSpanPair<Shading::ModulateTextureAlpha>;
    default:
        return kSpanPair<Shading::General>;
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
    const GXSpanFunction* spans = SpansFor(Classify(p));
    p.span[0] = spans[0];
    p.span[1] = spans[1];
}

const GXPixelPipeline& GXActivePixelPipeline() {
    return s_pipeline;
}

void GXChooseFilters(const GXPixelPipeline& p, GXTrianglePlanes& t, f32 x, f32 y,
                     bool perspective) {
    for (u32 i = 0; i < p.stageCount; ++i) {
        const GXPipelineStage& stage = p.stages[i];
        if (stage.samplerAt < 0) {
            continue;
        }
        const GXTextureSampler& sampler = p.samplers[stage.samplerAt];
        if (stage.coordAt < 0) {
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
