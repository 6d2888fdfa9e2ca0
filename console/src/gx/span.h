// The pixel pipeline: compiled at GXBegin from the texture environment, the loaded
// textures and the pixel operations, it draws the spans the rasteriser finds. The
// common shadings (pass colour, replace, modulate) get span loops of their own;
// everything else runs the general texture environment. Main thread only.
#pragma once

#include "gx/pixel_ops.h"
#include "gx/tev.h"
#include "gx/texture.h"
#include "gx/vertex_types.h"

constexpr u32 kGXMaxInterpolants = kGXAttributeSlots;

// A triangle's values over the screen: value (times 1/w when perspective) at pixel
// centre (px, py) is base + dx * px + dy * py; depth in 24-bit units likewise.
struct GXTrianglePlanes {
    f32 base[kGXMaxInterpolants];
    f32 dx[kGXMaxInterpolants];
    f32 dy[kGXMaxInterpolants];
    f32 inverseWBase, inverseWDx, inverseWDy;
    f64 depthBase, depthDx, depthDy;
    bool linear[GX_MAX_TEVSTAGE]; // per texturing stage: bilinear, else nearest
};

struct GXPixelPipeline;
// Draws pixels [xBegin, xEnd) of line y, all inside the scissor.
using GXSpanFunction = void (*)(const GXPixelPipeline& pipeline, const GXTrianglePlanes& planes,
                                u32 y, u32 xBegin, u32 xEnd);

struct GXPipelineStage {
    GXTevStage tev;
    s32 colourAt;  // first of the four interpolants of its rasterised colour; -1: black
    s32 coordAt;   // first of the two interpolants of its texture coordinate; -1: (0, 0)
    s32 samplerAt; // its texture's sampler; -1 when it reads no texture
};

struct GXPixelPipeline {
    u32 gather[kGXMaxInterpolants]; // the attribute slot behind each interpolant
    u32 interpolantCount;
    u32 stageCount;
    GXPipelineStage stages[GX_MAX_TEVSTAGE];
    GXTextureSampler samplers[GX_MAX_TEVSTAGE];
    GXPixelOps ops;
    bool alphaAlways;
    bool sourceAlphaBlend;  // blending is the usual source-alpha one
    u32 writeMask;          // bits of 0xAARRGGBB the update masks let through
    GXSpanFunction span[2]; // [perspective]
};

void GXPreparePixelPipeline();
const GXPixelPipeline& GXActivePixelPipeline();

// Picks nearest or bilinear for each texturing stage from the texel footprint at
// pixel (x, y): magnified (at most one texel a pixel) or minified.
void GXChooseFilters(const GXPixelPipeline& pipeline, GXTrianglePlanes& planes, f32 x, f32 y,
                     bool perspective);
