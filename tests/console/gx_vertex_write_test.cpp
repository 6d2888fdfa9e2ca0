// The vertex writes of the common formats (XYZ and ST in F32, RGBA8), which skip the
// per-write format checks, against the checked writes: the same scene, edge values and
// malformed sequences included, drawn both ways to the same colours and depths.
#include "golden_image.h"
#include "gx/vertex.h"
#include "gx_test_support.h"

#include <console/gx.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr u32 kClearArgb = 0xFF102030;
constexpr u32 kQuads = 32;
constexpr u32 kAcross = 8;

// Offsets, depths and coordinates at the edges of what a write carries: signed zeros, the
// smallest numbers, values just off a half, large repeats.
constexpr f32 kOffsets[] = {0.0f, -0.0f, 1e-45f, 0.49999997f, 0.5f, 0.75f, -0.25f};
constexpr f32 kDepths[] = {-0.0f, 0.0f, -1e-45f, -0.25f, -0.5000001f, -0.999f};
constexpr f32 kCoordinates[] = {0.0f, -0.0f, 1e-45f, -1e-45f, 0.4375f, 3.75f, -2.5f, 0.99999994f};
constexpr u32 kColours[] = {0xFFFFFFFF, 0x80C04020, 0x00000000, 0x12345678, 0xF0E0A0FF};

template <typename T, size_t N>
T Pick(const T (&values)[N], u32 i) {
    return values[i % N];
}

// Quad i's corners, in the cell i of an 8-wide grid whose top-left is (left, top).
std::array<gxtest::Vertex, 4> QuadCorners(u32 i, f32 left, f32 top) {
    const f32 x0 = left + static_cast<f32>(i % kAcross * 20) + Pick(kOffsets, i);
    const f32 y0 = top + static_cast<f32>(i / kAcross * 20) + Pick(kOffsets, i + 3);
    const f32 x1 = x0 + 16.0f + Pick(kOffsets, i + 1);
    const f32 y1 = y0 + 16.0f + Pick(kOffsets, i + 5);
    const f32 z = Pick(kDepths, i);
    const f32 s0 = Pick(kCoordinates, i), t0 = Pick(kCoordinates, i + 2);
    const f32 s1 = s0 + 1.0f + Pick(kCoordinates, i + 4), t1 = t0 + Pick(kCoordinates, i + 5);
    const u32 rgba = Pick(kColours, i);
    return {{{x0, y0, z, rgba, s0, t0},
             {x1, y0, z, Pick(kColours, i + 1), s1, t0},
             {x1, y1, z, rgba, s1, t1},
             {x0, y1, z, Pick(kColours, i + 2), s0, t1}}};
}

void UseCommonFormats(GXVtxFmt format) {
    GXSetVtxAttrFmt(format, GX_VA_POS, GX_POS_XYZ, GX_F32, 0);
    GXSetVtxAttrFmt(format, GX_VA_CLR0, GX_CLR_RGBA, GX_RGBA8, 0);
    GXSetVtxAttrFmt(format, GX_VA_CLR1, GX_CLR_RGBA, GX_RGBA8, 0);
    GXSetVtxAttrFmt(format, GX_VA_TEX0, GX_TEX_ST, GX_F32, 0);
    GXSetVtxAttrFmt(format, GX_VA_TEX1, GX_TEX_ST, GX_F32, 0);
}

void WriteDirect(const gxtest::Vertex& v) {
    GXPosition3f32(v.x, v.y, v.z);
    GXColor1u32(v.rgba);
    GXTexCoord2f32(v.s, v.t);
}

// Every write direct, quads in one primitive.
void DrawDirectQuads() {
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_CLR0, GX_DIRECT);
    GXSetVtxDesc(GX_VA_TEX0, GX_DIRECT);
    GXBegin(GX_QUADS, GX_VTXFMT1, 4 * kQuads);
    for (u32 i = 0; i < kQuads; ++i) {
        for (const gxtest::Vertex& v : QuadCorners(i, 4.0f, 4.0f)) {
            WriteDirect(v);
        }
    }
    GXEnd();
}

// Indexed and direct writes mixed in one vertex, both colours, and the drawn coordinate
// taken from the second texture coordinate; quads as triangle pairs.
void DrawMixedTriangles() {
    std::vector<gxtest::Vertex> vertices;
    for (u32 i = 0; i < kQuads; ++i) {
        const auto corners = QuadCorners(i, 4.0f, 180.0f);
        vertices.insert(vertices.end(), corners.begin(), corners.end());
    }
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_POS, GX_INDEX16);
    GXSetVtxDesc(GX_VA_CLR0, GX_DIRECT);
    GXSetVtxDesc(GX_VA_CLR1, GX_DIRECT);
    GXSetVtxDesc(GX_VA_TEX0, GX_INDEX16);
    GXSetVtxDesc(GX_VA_TEX1, GX_INDEX16);
    GXSetArray(GX_VA_POS, &vertices[0].x, sizeof(gxtest::Vertex));
    GXSetArray(GX_VA_TEX0, &vertices[0].x, sizeof(gxtest::Vertex));
    GXSetArray(GX_VA_TEX1, &vertices[0].s, sizeof(gxtest::Vertex));
    GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX1, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
    constexpr u16 kFan[] = {0, 1, 2, 0, 2, 3};
    GXBegin(GX_TRIANGLES, GX_VTXFMT2, 6 * kQuads);
    for (u16 quad = 0; quad < kQuads; ++quad) {
        for (const u16 corner : kFan) {
            const u16 index = static_cast<u16>(4 * quad + corner);
            GXPosition1x16(index);
            GXColor1u32(vertices[index].rgba);
            GXColor1u32(~vertices[index].rgba);
            GXTexCoord1x16(index);
            GXTexCoord1x16(index);
        }
    }
    GXEnd();
    GXSetTexCoordGen2(GX_TEXCOORD0, GX_TG_MTX2x4, GX_TG_TEX0, GX_IDENTITY, GX_FALSE, GX_PTIDENTITY);
}

// Wrong use, each followed by a well-formed quad: a write out of order, writes outside a
// primitive, more vertices than announced, an index without an array, the wrong form.
void DrawMalformed() {
    const auto corners = QuadCorners(5, 4.0f, 360.0f);
    const auto drawQuad = [&corners](u16 announced) {
        GXBegin(GX_QUADS, GX_VTXFMT1, announced);
        for (const gxtest::Vertex& v : corners) {
            WriteDirect(v);
        }
    };
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_CLR0, GX_DIRECT);
    GXSetVtxDesc(GX_VA_TEX0, GX_DIRECT);
    drawQuad(8);
    GXColor1u32(0xFF0000FF);
    WriteDirect(corners[0]);
    GXEnd();
    WriteDirect(corners[1]);
    GXPosition1x16(0);
    GXTexCoord1x16(0);
    drawQuad(4);
    WriteDirect(corners[2]);
    GXEnd();
    drawQuad(4);
    GXPosition2f32(1.0f, 2.0f);
    GXEnd();
    GXSetVtxDesc(GX_VA_POS, GX_INDEX16);
    GXSetArray(GX_VA_POS, nullptr, 12);
    GXBegin(GX_QUADS, GX_VTXFMT1, 4);
    GXPosition1x16(0);
    GXColor1u32(0xFF0000FF);
    GXEnd();
    GXSetVtxDesc(GX_VA_POS, GX_DIRECT);
    drawQuad(4);
    GXEnd();
}

struct Frame {
    std::vector<u32> argb;
    std::vector<u32> depth;
};

Frame DrawScene(bool checkEveryWrite) {
    std::vector<u32> texels(64);
    for (u32 i = 0; i < 64; ++i) {
        texels[i] = (i % 3 == 0 ? 0x80000000 : 0xFF000000) | i * 0x030507;
    }
    const std::vector<u8> image = gxtest::TileRgba8(texels, 8, 8);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 8, 8, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);

    gxtest::Reset(kClearArgb);
    if (checkEveryWrite) {
        GXCheckEveryVertexWriteForTest();
    }
    gxtest::UseTexture(texture, GX_MODULATE);
    GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    GXSetZMode(GX_TRUE, GX_ALWAYS, GX_TRUE);
    UseCommonFormats(GX_VTXFMT1);
    UseCommonFormats(GX_VTXFMT2);
    DrawDirectQuads();
    DrawMixedTriangles();
    DrawMalformed();

    Frame frame{ReadFrameBuffer(0, 0, 640, 480).argb, {}};
    for (u32 y = 0; y < 480; ++y) {
        for (u32 x = 0; x < 640; ++x) {
            frame.depth.push_back(GXReadEFBDepthForTest(x, y));
        }
    }
    return frame;
}

u32 DrawnPixels(const Frame& frame, u32 top, u32 bottom) {
    const auto begin = frame.argb.begin() + top * 640, end = frame.argb.begin() + bottom * 640;
    return static_cast<u32>(std::count_if(begin, end, [](u32 argb) { return argb != kClearArgb; }));
}

TEST(GXVertexWriteTest, CommonFormatsDrawAsTheCheckedWritesDo) {
    const Frame checked = DrawScene(true);
    const Frame fast = DrawScene(false); // last, so that GXInit leaves the fast writes on
    EXPECT_EQ(fast.argb, checked.argb);
    EXPECT_EQ(fast.depth, checked.depth);
    // Each part draws: 32 quads of 16 x 16, and the malformed part's well-formed quads.
    EXPECT_GT(DrawnPixels(checked, 0, 176), 32u * 15 * 15);
    EXPECT_GT(DrawnPixels(checked, 176, 352), 32u * 15 * 15);
    EXPECT_GT(DrawnPixels(checked, 352, 480), 15u * 15);
}

} // namespace
