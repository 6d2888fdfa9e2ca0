// Vertex transform: the position matrices and the current one, the projection in the
// console's six-number perspective and orthographic forms, and the viewport that maps
// clip space to frame buffer pixels and 24-bit depth. Main thread only.
#pragma once

#include "gx/vertex_types.h"

void GXResetTransformState();

// Fixes the viewport for the primitive GXBegin opens, and chooses its vertex routine:
// the common 2-D state (colour channel 0 alone and from the vertex, at most texture
// coordinate 0 passed through) takes one pass that computes what the general routine
// does; any other state takes the general routine.
void GXPrepareTransform();

// Object space to clip space, with the vertex's rasterised colours and texture
// coordinates.
void GXTransformVertex(const GXVertexInput& vertex, GXClipVertex& out);
// The general routine alone, to compare the 2-D one with.
void GXTransformVertexInGeneralForTest(const GXVertexInput& vertex, GXClipVertex& out);

// Clip space to the frame buffer: x = xOrigin + xScale * x / w, y likewise (yScale is
// negative: y runs down), depth = depthFar + depthRange * z / w.
struct GXViewportMapping {
    f32 xOrigin, xScale;
    f32 yOrigin, yScale;
    f64 depthFar, depthRange;
};
const GXViewportMapping& GXCurrentViewportMapping();
