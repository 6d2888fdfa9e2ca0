// Texture coordinate generation: how many coordinates there are and which vertex
// texture coordinate each one passes through. Only pass-through with the identity
// matrices is modelled; any other generation is reported once and passes its source
// coordinate through. Main thread only.
#pragma once

#include "gx/vertex_types.h"

// GXInit's state: one coordinate; coordinate n passes through vertex coordinate n.
void GXResetTexGens();

// Writes the generated coordinates into their attribute slots; coordinates beyond the
// count, and those whose source the vertex lacks, are (0, 0).
void GXGenerateTexCoords(const GXVertexInput& vertex, f32* attributes);

// How many coordinates are generated, and the vertex coordinate that coordinate n passes.
u32 GXTexGenCount();
u32 GXTexGenSource(u32 coordinate);
