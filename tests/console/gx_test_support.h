// Drawing helpers for the graphics tests: a fresh GX whose projection maps pixels 1:1
// (x right, y down, z from 0 near to -1 far), quads and triangles of direct vertices,
// and texture images laid out in the console's tiles by the tests' own tiler.
#pragma once

#include <console/gx.h>

#include <initializer_list>
#include <vector>

namespace gxtest {

// Opaque white, as RGBA and as ARGB alike.
constexpr u32 kWhite = 0xFFFFFFFF;

struct Vertex {
    f32 x, y, z;
    u32 rgba; // 0xRRGGBBAA
    f32 s, t;
};

// GXInit, a 640 x 480 pixel viewport and projection, one colour channel, no culling,
// the vertex colour passed through, and the frame buffer cleared.
void Reset(u32 clearArgb = 0xFF000000);
void ClearFrameBuffer(u32 argb, u32 depth = 0xFFFFFF);

// The 2-D projection in pixels, or the console's perspective (fovY in degrees).
void UsePixelProjection();
void UsePerspective(f32 fovY, f32 aspect, f32 nearZ, f32 farZ);

void UseVertexColour();
// Texture map 0 through coordinate 0 into stage 0 in the given mode.
void UseTexture(const GXTexObj& texture, GXTevMode mode);

// Direct positions (XYZ F32), colour 0 (RGBA8) and coordinate 0 (ST F32).
void Draw(GXPrimitive primitive, std::initializer_list<Vertex> vertices);
void Draw(GXPrimitive primitive, const Vertex* vertices, u16 count);
// Triangles from 16-bit indices into arrays of vertices, as the render layer's 2-D batch
// draws them.
void DrawIndexed(const Vertex* vertices, const u16* indices, u16 count);
void DrawRect(f32 left, f32 top, f32 right, f32 bottom, u32 rgba, f32 z = 0.0f, f32 s0 = 0.0f,
              f32 t0 = 0.0f, f32 s1 = 1.0f, f32 t1 = 1.0f);

// Row-major images to tiled texture memory.
std::vector<u8> TileRgba8(const std::vector<u32>& argb, u32 width, u32 height);
std::vector<u8> TileRgb565(const std::vector<u16>& values, u32 width, u32 height);
std::vector<u8> TileBytes(const std::vector<u8>& values, u32 width, u32 height); // I8, C8

u32 ArgbAt(u32 x, u32 y);

} // namespace gxtest
