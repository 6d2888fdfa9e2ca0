// Vertex description, attribute formats and arrays, and the write calls that deliver a
// primitive's vertices between GXBegin and GXEnd; each finished vertex goes to the sink
// that opened the stream. A description or write that does not fit is reported, and the
// rest of that primitive's vertices are dropped. Main thread only.
#pragma once

#include "gx/vertex_types.h"

#include <console/gx.h>

// The state GXInit sets: position direct, every format XYZ/RGBA8/ST in F32, no arrays.
void GXResetVertexState();

// Takes each complete vertex of the open stream, as the writes finish it.
using GXVertexSink = void (*)(const GXVertexInput& vertex);

// Starts reading a primitive's vertices in the given format, each finished one handed to
// the sink; false, after a report, when the format or description cannot deliver them
// (the writes are then dropped).
bool GXOpenVertexStream(GXVtxFmt format, GXVertexSink sink);
// Ends the primitive's vertices; false when the last vertex was left unfinished.
bool GXCloseVertexStream();

// From the next GXBegin until GXInit, every write takes the checked path that the common
// formats otherwise skip, for tests that compare the two.
void GXCheckEveryVertexWriteForTest();
