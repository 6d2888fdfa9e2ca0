// The texture environment's compiled combine loops and their runs over pixels.
#include "gx/tev_program.h"

#include "gx/pixel_pipeline.h"
#include "gx/runtime_simd.h"

#include <algorithm>
#include <cstring>

namespace {

// One channel's combine over a run: out[i] = GXTevCombine(a[i], b[i], c[i], d[i], ...),
// in loops specialised for each operation, scale and clamp, so that they vectorise.
struct CombineRun {
    const s32 *a, *b, *c, *d;
    s32* out;
    u32 count;
};

template <GXTevOp kOp, GXTevScale kScale, bool kClamp>
[[gnu::always_inline]] inline void Combine(const CombineRun& run, GXTevBias bias) {
    for (u32 i = 0; i < run.count; ++i) {
        run.out[i] =
            GXTevCombine(run.a[i], run.b[i], run.c[i], run.d[i], kOp, bias, kScale, kClamp);
    }
}

template <GXTevOp kOp, GXTevScale kScale>
[[gnu::always_inline]] inline void Combine(const CombineRun& run, GXTevBias bias, bool clamp) {
    clamp ? Combine<kOp, kScale, true>(run, bias) : Combine<kOp, kScale, false>(run, bias);
}

template <GXTevOp kOp>
[[gnu::always_inline]] inline void Combine(const CombineRun& run, GXTevBias bias, GXTevScale scale,
                                           bool clamp) {
    switch (scale) {
    case GX_CS_SCALE_2:
        return Combine<kOp, GX_CS_SCALE_2>(run, bias, clamp);
    case GX_CS_SCALE_4:
        return Combine<kOp, GX_CS_SCALE_4>(run, bias, clamp);
    case GX_CS_DIVIDE_2:
        return Combine<kOp, GX_CS_DIVIDE_2>(run, bias, clamp);
    default:
        return Combine<kOp, GX_CS_SCALE_1>(run, bias, clamp);
    }
}

[[gnu::always_inline]] inline void Combine(const CombineRun& run, GXTevOp op, GXTevBias bias,
                                           GXTevScale scale, bool clamp) {
    op == GX_TEV_SUB ? Combine<GX_TEV_SUB>(run, bias, scale, clamp)
                     : Combine<GX_TEV_ADD>(run, bias, scale, clamp);
}

// Every slot the stages read, one value per pixel of the run.
struct SlotPlanes {
    s32 at[kGXSlotCount][kGXRunPixels];

    void Fill(u32 slot, s32 value, u32 count) { std::fill_n(at[slot], count, value); }
};

// Nearest texels along one texel row (the run's v all the same, as on any line of an
// axis-aligned quad) find the row once.
template <u32 kFormat>
[[gnu::always_inline]] inline void SampleRun(const GXTextureSampler& sampler, const s32* u,
                                             const s32* v, bool linear, u32 count, u32* texels) {
    using namespace gx_texture;
    if (!linear && std::all_of(v, v + count, [&](s32 at) { return at == v[0]; })) {
        const s32 row = Wrap(v[0] >> 8, sampler.height, sampler.maskT, sampler.wrapT);
        for (u32 i = 0; i < count; ++i) {
            texels[i] = Fetch<kFormat>(
                sampler, Wrap(u[i] >> 8, sampler.width, sampler.maskS, sampler.wrapS), row);
        }
        return;
    }
    for (u32 i = 0; i < count; ++i) {
        texels[i] = Sample<kFormat>(sampler, u[i], v[i], linear);
    }
}

// GXSampleTexel over a run, the format chosen once.
[[gnu::always_inline]] inline void SampleRun(const GXTextureSampler& sampler, const s32* u,
                                             const s32* v, bool linear, u32 count, u32* texels) {
    if (sampler.image == nullptr) {
        std::fill_n(texels, count, 0u);
        return;
    }
    switch (sampler.format) {
    case GX_TF_RGBA8:
        return SampleRun<GX_TF_RGBA8>(sampler, u, v, linear, count, texels);
    case GX_TF_RGB565:
        return SampleRun<GX_TF_RGB565>(sampler, u, v, linear, count, texels);
    case GX_TF_C8:
        return SampleRun<GX_TF_C8>(sampler, u, v, linear, count, texels);
    default:
        return SampleRun<GX_TF_I8>(sampler, u, v, linear, count, texels);
    }
}

[[gnu::always_inline]] inline void GatherTexels(const GXPixelPipeline& p, const GXTrianglePlanes& t,
                                                const GXTevRunInputs& in, u32 stageIndex, u32 count,
                                                SlotPlanes& planes) {
    const GXPipelineStage& stage = p.stages[stageIndex];
    if (stage.samplerAt < 0) {
        for (u32 channel = 0; channel < 4; ++channel) {
            planes.Fill(kGXSlotTexel + channel, 0, count);
        }
        return;
    }
    u32 texels[kGXRunPixels];
    SampleRun(p.samplers[stage.samplerAt], in.u[stageIndex], in.v[stageIndex], t.linear[stageIndex],
              count, texels);
    // Red, green, blue, alpha sit at bits 16, 8, 0, 24.
    static constexpr u32 kShift[4] = {16, 8, 0, 24};
    for (u32 channel = 0; channel < 4; ++channel) {
        const u32 shift = kShift[stage.textureSwap[channel]];
        s32* const out = planes.at[kGXSlotTexel + channel];
        for (u32 i = 0; i < count; ++i) {
            out[i] = static_cast<s32>((texels[i] >> shift) & 0xFF);
        }
    }
}

[[gnu::always_inline]] inline void GatherRasterised(const GXPipelineStage& stage,
                                                    const GXTevRunInputs& in, u32 count,
                                                    SlotPlanes& planes) {
    for (u32 channel = 0; channel < 4; ++channel) {
        s32* const out = planes.at[kGXSlotRasterised + channel];
        if (stage.colourAt < 0) {
            std::fill_n(out, count, 0);
            continue;
        }
        const f32* const values = in.values[stage.colourAt + stage.rasterisedSwap[channel]];
        for (u32 i = 0; i < count; ++i) {
            out[i] = GXColourByte(values[i]);
        }
    }
}

} // namespace

void GXCompileTevStage(GXPipelineStage& stage) {
    stage.slotsRead = 0;
    for (u32 k = 0; k < 4; ++k) {
        for (u32 channel = 0; channel < 3; ++channel) {
            stage.slotsRead |= 1u << stage.colourSlots[channel][k];
        }
        stage.slotsRead |= 1u << stage.alphaSlots[k];
    }
}

namespace {

// Only the slots some stage reads are filled and gathered. Each stage writes its
// results straight into its output registers: a colour channel's inputs never read
// another colour channel, and the alpha, which colour inputs may read, comes last.
GX_RUNTIME_SIMD void RunTevProgram(const GXPixelPipeline& p, const GXTrianglePlanes& t,
                                   const GXTevRunInputs& in, u32 count, u32* colours) {
    if (p.stageCount == 0) {
        std::fill_n(colours, count, 0u);
        return;
    }
    u32 slotsRead = 0;
    for (u32 i = 0; i < p.stageCount; ++i) {
        slotsRead |= p.stages[i].slotsRead;
    }
    const auto reads = [](u32 slots, u32 first, u32 count) {
        return (slots >> first & ((1u << count) - 1)) != 0;
    };
    SlotPlanes planes;
    for (u32 slot = 0; slot < 16; ++slot) {
        if (reads(slotsRead, kGXSlotRegisters + slot, 1)) {
            planes.Fill(kGXSlotRegisters + slot, p.registers[slot], count);
        }
    }
    planes.Fill(kGXSlotZero, 0, count);
    planes.Fill(kGXSlotOne, 255, count);
    planes.Fill(kGXSlotHalf, 128, count);
    for (u32 i = 0; i < p.stageCount; ++i) {
        const GXPipelineStage& stage = p.stages[i];
        const GXTevStage& tev = stage.tev;
        if (reads(stage.slotsRead, kGXSlotTexel, 4)) {
            GatherTexels(p, t, in, i, count, planes);
        }
        if (reads(stage.slotsRead, kGXSlotRasterised, 4)) {
            GatherRasterised(stage, in, count, planes);
        }
        if (reads(stage.slotsRead, kGXSlotKonst, 4)) {
            for (u32 channel = 0; channel < 4; ++channel) {
                planes.Fill(kGXSlotKonst + channel, stage.konst[channel], count);
            }
        }
        const auto inputs = [&](const u8* slots, u32 out) {
            return CombineRun{planes.at[slots[0]],
                              planes.at[slots[1]],
                              planes.at[slots[2]],
                              planes.at[slots[3]],
                              planes.at[kGXSlotRegisters + out],
                              count};
        };
        for (u32 channel = 0; channel < 3; ++channel) {
            Combine(inputs(stage.colourSlots[channel], tev.colourOut * 4 + channel), tev.colourOp,
                    tev.colourBias, tev.colourScale, tev.colourClamp);
        }
        Combine(inputs(stage.alphaSlots, tev.alphaOut * 4 + 3), tev.alphaOp, tev.alphaBias,
                tev.alphaScale, tev.alphaClamp);
    }
    const GXTevStage& last = p.stages[p.stageCount - 1].tev;
    const s32* const red = planes.at[kGXSlotRegisters + last.colourOut * 4];
    const s32* const green = red + kGXRunPixels;
    const s32* const blue = green + kGXRunPixels;
    const s32* const alpha = planes.at[kGXSlotRegisters + last.alphaOut * 4 + 3];
    const auto saturate = [](s32 value) { return static_cast<u32>(std::clamp(value, 0, 255)); };
    for (u32 i = 0; i < count; ++i) {
        colours[i] = saturate(alpha[i]) << 24 | saturate(red[i]) << 16 | saturate(green[i]) << 8 |
                     saturate(blue[i]);
    }
}

} // namespace

void GXRunTevProgram(const GXPixelPipeline& p, const GXTrianglePlanes& t, const GXTevRunInputs& in,
                     u32 count, u32* colours) {
    RunTevProgram(p, t, in, count, colours);
}
