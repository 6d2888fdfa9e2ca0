// Primitive tables. sphereVertList is a unit sphere of K_SPHERE_VERT_COUNT vertices in rings:
// the top pole, ten rings of ten from the top down, the bottom pole. Each vertex's normal is
// its position, its colour white, u its longitude / 360 degrees and v its angle from the top
// / 180 degrees (rings 0.1 apart). Filled by the unit's static initialiser and only read
// afterwards, so any thread may read it; nothing of the game draws it.
#pragma once

#include <kelvo/render/krvertexdesc.h>

namespace Kelvo_lib {

// The vertex of the primitive tables: krVertexStruct's layout, drawn with its description.
using krVertexPrimDraw = krVertex;

constexpr int K_SPHERE_RINGS = 10;
constexpr int K_SPHERE_SEGMENTS = 10;
constexpr int K_SPHERE_VERT_COUNT = K_SPHERE_RINGS * K_SPHERE_SEGMENTS + 2;

extern krVertexPrimDraw sphereVertList[K_SPHERE_VERT_COUNT];

} // namespace Kelvo_lib
