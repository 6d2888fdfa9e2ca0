// The pixel pipeline: compiled at GXBegin from the texture environment, the loaded
// textures and the pixel operations, it draws the spans the rasteriser finds. The
// common shadings (pass colour, replace, modulate) get span loops of their own, and
// 2-D sprites (axis-aligned, affine, textured, no depth test) a faster one still;
// everything else runs the general texture environment. All give the same pixels.
// Main thread only.
#pragma once

#include "gx/pixel_pipeline.h"

void GXPreparePixelPipeline();
const GXPixelPipeline& GXActivePixelPipeline();

// Readies a triangle's spans: picks nearest or bilinear for each texturing stage from
// the texel footprint at pixel (x, y), magnified (at most one texel a pixel) or
// minified, and sets up the sprite loop for columns left to right (exclusive).
void GXPrepareTriangle(const GXPixelPipeline& pipeline, GXTrianglePlanes& planes, f32 x, f32 y,
                       bool perspective, u32 left, u32 right);
