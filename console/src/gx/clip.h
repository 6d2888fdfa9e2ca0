// Clipping of triangles and lines in clip space against the near and far planes and a
// guard band well outside the frame buffer (what lies between the band and the buffer
// is cut by the scissor), then the viewport mapping and on to the rasteriser.
// Non-finite positions drop the primitive. Main thread only.
#pragma once

#include "gx/vertex_types.h"

void GXDrawTriangle(const GXClipVertex& a, const GXClipVertex& b, const GXClipVertex& c);
void GXDrawLine(const GXClipVertex& a, const GXClipVertex& b);
// A quad as the triangles a, b, c and a, c, d; one polygon when no corner needs clipping
// and the rasteriser can draw it so.
void GXDrawQuad(const GXClipVertex& a, const GXClipVertex& b, const GXClipVertex& c,
                const GXClipVertex& d);
