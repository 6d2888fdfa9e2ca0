// Primitive assembly: GXBegin opens a primitive, each finished vertex is transformed
// and grouped into triangles (lists, quads, strips, fans) or lines (lists, strips),
// which go to clipping and rasterising at once; a list's two triangles that make up a
// quad's fan go as that quad (drawing the same pixels). Vertex counts that do not match
// GXBegin's are reported; incomplete primitives are not drawn. Main thread only.
#pragma once

void GXResetPrimitiveState();
