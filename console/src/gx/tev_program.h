// The texture environment compiled for runs of pixels: at GXBegin each stage gets
// combine loops specialised for its operation, scale and clamp; per span the
// pipeline then samples, gathers and combines a whole run of pixels stage by stage,
// each step one tight loop, instead of interpreting every stage at every pixel. It
// computes exactly what GXTevCombine computes pixel by pixel. Main thread only.
#pragma once

#include "gx/vertex_types.h"

#include <console/gx.h>

constexpr u32 kGXRunPixels = 32;

struct GXPixelPipeline;
struct GXPipelineStage;
struct GXTrianglePlanes;

// One channel's combine over a run: out[i] = GXTevCombine(a[i], b[i], c[i], d[i], ...).
using GXCombineRun = void (*)(const s32* a, const s32* b, const s32* c, const s32* d,
                              GXTevBias bias, s32* out, u32 count);

// The run's inputs: each sampling stage's texel coordinates (1/256 texels) and the
// interpolated values the stages read their rasterised colours from.
struct GXTevRunInputs {
    s32 u[GX_MAX_TEVSTAGE][kGXRunPixels];
    s32 v[GX_MAX_TEVSTAGE][kGXRunPixels];
    f32 values[kGXAttributeSlots][kGXRunPixels];
};

// Picks the stage's colour and alpha combine loops.
void GXCompileTevStage(GXPipelineStage& stage);

// Runs every stage over `count` (at most kGXRunPixels) pixels; colours get what the
// last stage wrote, saturated, as 0xAARRGGBB.
void GXRunTevProgram(const GXPixelPipeline& pipeline, const GXTrianglePlanes& planes,
                     const GXTevRunInputs& inputs, u32 count, u32* colours);
