// Drawing helpers for the graphics tests.
#include "gx_test_support.h"

#include <cmath>

namespace gxtest {

namespace {

constexpr u32 kWidth = 640;
constexpr u32 kHeight = 528;

// Writes one tiled image: tiles of tileWidth x 4 texels, bytesPerTexel each, placed
// by `put` at the texel's index within its tile.
template <typename Put>
std::vector<u8> Tile(u32 width, u32 height, u32 tileWidth, u32 tileBytes, Put put) {
    const u32 tilesPerRow = (width + tileWidth - 1) / tileWidth;
    const u32 tileRows = (height + 3) / 4;
    std::vector<u8> out(tilesPerRow * tileRows * tileBytes, 0xCD);
    for (u32 y = 0; y < height; ++y) {
        for (u32 x = 0; x < width; ++x) {
            u8* tile = &out[((y / 4) * tilesPerRow + x / tileWidth) * tileBytes];
            put(tile, (y % 4) * tileWidth + x % tileWidth, y * width + x);
        }
    }
    return out;
}

} // namespace

void Reset(u32 clearArgb) {
    GXInit(nullptr, 0);
    GXSetViewport(0.0f, 0.0f, 640.0f, 480.0f, 0.0f, 1.0f);
    GXSetScissor(0, 0, kWidth, kHeight);
    UsePixelProjection();
    GXSetNumChans(1);
    GXSetCullMode(GX_CULL_NONE);
    UseVertexColour();
    ClearFrameBuffer(clearArgb);
}

void ClearFrameBuffer(u32 argb, u32 depth) {
    const GXColor colour{static_cast<u8>(argb >> 16), static_cast<u8>(argb >> 8),
                         static_cast<u8>(argb), static_cast<u8>(argb >> 24)};
    for (u32 y = 0; y < kHeight; ++y) {
        for (u32 x = 0; x < kWidth; ++x) {
            GXPokeEFBColorForTest(x, y, colour);
            GXPokeEFBDepthForTest(x, y, depth);
        }
    }
}

void UsePixelProjection() {
    // The console's orthographic matrix for top 0, bottom 480, left 0, right 640,
    // near 0, far 1.
    const f32 projection[4][4] = {{2.0f / 640.0f, 0.0f, 0.0f, -1.0f},
                                  {0.0f, -2.0f / 480.0f, 0.0f, 1.0f},
                                  {0.0f, 0.0f, -1.0f, -1.0f},
                                  {0.0f, 0.0f, 0.0f, 1.0f}};
    GXSetProjection(projection, GX_ORTHOGRAPHIC);
    const f32 identity[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    GXLoadPosMtxImm(identity, GX_PNMTX0);
    GXSetCurrentMtx(GX_PNMTX0);
}

void UsePerspective(f32 fovY, f32 aspect, f32 nearZ, f32 farZ) {
    const f32 cot = 1.0f / std::tan(fovY * 3.14159265f / 360.0f);
    const f32 projection[4][4] = {
        {cot / aspect, 0.0f, 0.0f, 0.0f},
        {0.0f, cot, 0.0f, 0.0f},
        {0.0f, 0.0f, -nearZ / (farZ - nearZ), -(farZ * nearZ) / (farZ - nearZ)},
        {0.0f, 0.0f, -1.0f, 0.0f}};
    GXSetProjection(projection, GX_PERSPECTIVE);
}

void UseVertexColour() {
    GXSetNumTexGens(0);
    GXSetNumTevStages(1);
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD_NULL, GX_TEXMAP_NULL, GX_COLOR0A0);
    GXSetTevOp(GX_TEVSTAGE0, GX_PASSCLR);
}

void UseTexture(const GXTexObj& texture, GXTevMode mode) {
    GXLoadTexObj(&texture, GX_TEXMAP0);
    GXSetNumTexGens(1);
    GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    GXSetNumTevStages(1);
    GXSetTevOrder(GX_TEVSTAGE0, GX_TEXCOORD0, GX_TEXMAP0, GX_COLOR0A0);
    GXSetTevOp(GX_TEVSTAGE0, mode);
}

void Draw(GXPrimitive primitive, std::initializer_list<Vertex> vertices) {
    Draw(primitive, vertices.begin(), static_cast<u16>(vertices.size()));
}

void Draw(GXPrimitive primitive, const Vertex* vertices, u16 count) {
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_POS, GX_DIRECT);
    GXSetVtxDesc(GX_VA_CLR0, GX_DIRECT);
    GXSetVtxDesc(GX_VA_TEX0, GX_DIRECT);
    GXSetVtxAttrFmt(GX_VTXFMT0, GX_VA_POS, GX_POS_XYZ, GX_F32, 0);
    GXSetVtxAttrFmt(GX_VTXFMT0, GX_VA_CLR0, GX_CLR_RGBA, GX_RGBA8, 0);
    GXSetVtxAttrFmt(GX_VTXFMT0, GX_VA_TEX0, GX_TEX_ST, GX_F32, 0);
    GXBegin(primitive, GX_VTXFMT0, count);
    for (u16 i = 0; i < count; ++i) {
        const Vertex& v = vertices[i];
        GXPosition3f32(v.x, v.y, v.z);
        GXColor1u32(v.rgba);
        GXTexCoord2f32(v.s, v.t);
    }
    GXEnd();
}

void DrawIndexed(const Vertex* vertices, const u16* indices, u16 count) {
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_POS, GX_INDEX16);
    GXSetVtxDesc(GX_VA_CLR0, GX_INDEX16);
    GXSetVtxDesc(GX_VA_TEX0, GX_INDEX16);
    GXSetVtxAttrFmt(GX_VTXFMT0, GX_VA_POS, GX_POS_XYZ, GX_F32, 0);
    GXSetVtxAttrFmt(GX_VTXFMT0, GX_VA_CLR0, GX_CLR_RGBA, GX_RGBA8, 0);
    GXSetVtxAttrFmt(GX_VTXFMT0, GX_VA_TEX0, GX_TEX_ST, GX_F32, 0);
    GXSetArray(GX_VA_POS, &vertices[0].x, sizeof(Vertex));
    GXSetArray(GX_VA_CLR0, &vertices[0].rgba, sizeof(Vertex));
    GXSetArray(GX_VA_TEX0, &vertices[0].s, sizeof(Vertex));
    GXBegin(GX_TRIANGLES, GX_VTXFMT0, count);
    for (u16 i = 0; i < count; ++i) {
        GXPosition1x16(indices[i]);
        GXColor1x16(indices[i]);
        GXTexCoord1x16(indices[i]);
    }
    GXEnd();
}

void DrawRect(f32 left, f32 top, f32 right, f32 bottom, u32 rgba, f32 z, f32 s0, f32 t0, f32 s1,
              f32 t1) {
    Draw(GX_QUADS, {{left, top, z, rgba, s0, t0},
                    {right, top, z, rgba, s1, t0},
                    {right, bottom, z, rgba, s1, t1},
                    {left, bottom, z, rgba, s0, t1}});
}

std::vector<u8> TileRgba8(const std::vector<u32>& argb, u32 width, u32 height) {
    return Tile(width, height, 4, 64, [&](u8* tile, u32 i, u32 at) {
        tile[2 * i] = static_cast<u8>(argb[at] >> 24);
        tile[2 * i + 1] = static_cast<u8>(argb[at] >> 16);
        tile[32 + 2 * i] = static_cast<u8>(argb[at] >> 8);
        tile[33 + 2 * i] = static_cast<u8>(argb[at]);
    });
}

std::vector<u8> TileRgb565(const std::vector<u16>& values, u32 width, u32 height) {
    return Tile(width, height, 4, 32, [&](u8* tile, u32 i, u32 at) {
        tile[2 * i] = static_cast<u8>(values[at] >> 8);
        tile[2 * i + 1] = static_cast<u8>(values[at]);
    });
}

std::vector<u8> TileBytes(const std::vector<u8>& values, u32 width, u32 height) {
    return Tile(width, height, 8, 32, [&](u8* tile, u32 i, u32 at) { tile[i] = values[at]; });
}

u32 ArgbAt(u32 x, u32 y) {
    return GXReadEFBColorForTest(x, y);
}

} // namespace gxtest
