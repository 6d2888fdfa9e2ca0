// The rasteriser: culls, snaps corners to 1/16 pixel, and walks each triangle line by
// line over the scissor rectangle, finding each line's span from the edge functions
// (pixel centres, top-left rule) and handing it to the pixel pipeline; a screen-aligned
// rectangle, every line the same span, is handed over whole. Lines are drawn as
// one-pixel-wide quads. Main thread only.
#pragma once

#include "gx/vertex_types.h"

// GXInit's state: scissor 640 x 480 at the origin, back faces culled.
void GXResetRasterState();

// A convex polygon (a clipped triangle) in screen space, corners in order.
void GXRasterisePolygon(const GXScreenVertex* corners, u32 count);
void GXRasteriseLine(const GXScreenVertex& a, const GXScreenVertex& b);
// A quad (corners in order, all of one w) drawn as one polygon when that draws exactly
// what its two fan triangles would (the same winding, the very same planes); false,
// having drawn nothing, when it is not such a quad.
bool GXRasteriseQuad(const GXScreenVertex* corners);
// A screen coordinate in 1/16 pixels, halves rounded away from zero.
s64 GXSnapToSubpixel(f32 coordinate);
