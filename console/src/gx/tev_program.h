// The texture environment compiled for runs of pixels: at GXBegin each stage's inputs
// are resolved to slots and the slots it reads noted; per span the pipeline then
// samples, gathers and combines a whole run of pixels stage by stage, each step one
// tight loop specialised for the stage's operation, scale and clamp, instead of
// interpreting every stage at every pixel. It computes exactly what GXTevCombine
// computes pixel by pixel. Main thread only.
#pragma once

#include "gx/vertex_types.h"

#include <console/gx.h>

constexpr u32 kGXRunPixels = 32;

struct GXPixelPipeline;
struct GXPipelineStage;
struct GXTrianglePlanes;

// The run's inputs: each sampling stage's texel coordinates (1/256 texels) and the
// interpolated values the stages read their rasterised colours from.
struct GXTevRunInputs {
    s32 u[GX_MAX_TEVSTAGE][kGXRunPixels];
    s32 v[GX_MAX_TEVSTAGE][kGXRunPixels];
    f32 values[kGXAttributeSlots][kGXRunPixels];
};

// Notes the slots the stage reads.
void GXCompileTevStage(GXPipelineStage& stage);

// Runs every stage over `count` (at most kGXRunPixels) pixels; colours get what the
// last stage wrote, saturated, as 0xAARRGGBB.
void GXRunTevProgram(const GXPixelPipeline& pipeline, const GXTrianglePlanes& planes,
                     const GXTevRunInputs& inputs, u32 count, u32* colours);
