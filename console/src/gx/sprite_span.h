// The sprite span loop: textured 2-D drawing (the replace and modulate shadings, an
// affine texture coordinate that changes only across the span, a rasterised colour
// constant along it) with no depth test and no alpha test, drawn into an RGB8 frame
// buffer with or without source-alpha blending. Per triangle it steps the texture
// coordinate across the columns once, in fixed point; per span it filters the texel
// rows down once, then across per pixel, and blends in integers two pixels at a time.
// It draws exactly what the per-pixel loops draw and hands them what it does not
// cover. Main thread only.
#pragma once

#include "gx/pixel_pipeline.h"

// The sprite loop for the pipeline (readying its texture rows), or null when its state
// is one the loop does not draw.
GXSpanFunction GXPrepareSpriteSpan(const GXPixelPipeline& pipeline, GXShading shading);

// Before the sprite loop draws a triangle's spans: whether it can, and the texel and
// filter weight of each pixel column from left to right (exclusive).
void GXPrepareSpriteTriangle(const GXPixelPipeline& pipeline, const GXTrianglePlanes& planes,
                             u32 left, u32 right);

// The sprite loop's rectangles: when the triangle's lines all read the same columns,
// what they share is found once and each line's texel rows once; else line by line.
void GXDrawSpriteRectangle(const GXPixelPipeline& pipeline, const GXTrianglePlanes& planes,
                           u32 yBegin, u32 yEnd, u32 xBegin, u32 xEnd);
