// Geometry through GX: primitive types and their coverage, culling, clipping at the
// screen edges and the near plane, the two projection forms and the viewport, vertex
// formats, malformed input, and the drawn picture through the display copy.
#include "golden_image.h"
#include "gx/raster.h"
#include "gx/transform.h"
#include "gx_test_support.h"

#include <console/gx.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace {

using gxtest::ArgbAt;
using gxtest::Draw;
using gxtest::DrawRect;

constexpr u32 kRed = 0xFF0000FF;
constexpr u32 kGreen = 0x00FF00FF;
constexpr u32 kBlue = 0x0000FFFF;
using gxtest::kWhite;

u32 CountPixels(u32 left, u32 top, u32 width, u32 height, u32 argb) {
    u32 count = 0;
    for (u32 y = top; y < top + height; ++y) {
        for (u32 x = left; x < left + width; ++x) {
            count += ArgbAt(x, y) == argb ? 1 : 0;
        }
    }
    return count;
}

TEST(GXGeometryTest, QuadsDrawWhatTheirTwoTrianglesDraw) {
    // A quad, and a triangle list's pair a, b, c and a, c, d, may be drawn as one polygon;
    // either must give the pixels those two triangles give drawn one by one: sprites at
    // whole and fractional places, turned, flipped over, twisted into a bow tie, flat, and
    // past the screen's edge, textured and shaded.
    std::vector<u32> texels(64);
    for (u32 i = 0; i < texels.size(); ++i) {
        texels[i] = (i * 0x2F6B1D53u) | 0x40000000u * (i % 4);
    }
    const std::vector<u8> image = gxtest::TileRgba8(texels, 8, 8);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 8, 8, GX_TF_RGBA8, GX_CLAMP, GX_CLAMP, GX_FALSE);
    using Quad = std::array<gxtest::Vertex, 4>;
    const auto sprite = [](f32 left, f32 top, f32 size, u32 rgba) {
        return Quad{{{left, top, 0, rgba, 0, 0},
                     {left + size, top, 0, rgba, 1, 0},
                     {left + size, top + size, 0, rgba, 1, 1},
                     {left, top + size, 0, rgba, 0, 1}}};
    };
    const Quad quads[] = {
        sprite(2, 2, 8, kWhite),
        sprite(12.25f, 3.5f, 8, 0xFF8040C0),
        sprite(24, 2, 13.7f, kWhite),
        {{{40, 2, 0, kWhite, 0, 0},
          {52, 6, 0, kWhite, 1, 0},
          {48, 18, 0, kWhite, 1, 1},
          {36, 14, 0, kWhite, 0, 1}}}, // turned
        {{{2, 30, 0, kRed, 0, 0},
          {2, 42, 0, kGreen, 0, 1},
          {14, 42, 0, kBlue, 1, 1},
          {14, 30, 0, kWhite, 1, 0}}}, // flipped
        {{{20, 30, 0, kWhite, 0, 0},
          {32, 42, 0, kWhite, 1, 1},
          {32, 30, 0, kWhite, 1, 0},
          {20, 42, 0, kWhite, 0, 1}}}, // bow tie
        {{{36, 30, 0, kWhite, 0, 0},
          {50, 30, 0, kWhite, 1, 0},
          {50, 30, 0, kWhite, 1, 1},
          {36, 30, 0, kWhite, 0, 1}}}, // flat
        sprite(-5, 46, 12, kWhite),    // clipped
        {{{20, 46, 0, kRed, 0, 0},
          {34, 46, 0, kGreen, 1, 0},
          {34, 60, 0, kBlue, 1, 1},
          {20, 60, 0, kWhite, 0, 1}}}, // shaded
    };
    for (const GXCullMode cull : {GX_CULL_NONE, GX_CULL_BACK, GX_CULL_FRONT}) {
        for (const GXBlendMode blend : {GX_BM_NONE, GX_BM_BLEND}) {
            const auto draw = [&](GXPrimitive primitive) {
                gxtest::Reset(0xFF336699);
                gxtest::UseTexture(texture, GX_MODULATE);
                GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
                GXSetCullMode(cull);
                GXSetBlendMode(blend, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
                for (const Quad& q : quads) {
                    if (primitive == GX_QUADS) {
                        Draw(GX_QUADS, {q[0], q[1], q[2], q[3]});
                    } else if (primitive == GX_TRIANGLES) {
                        Draw(GX_TRIANGLES, {q[0], q[1], q[2], q[0], q[2], q[3]});
                    } else { // one triangle at a time
                        Draw(GX_TRIANGLES, {q[0], q[1], q[2]});
                        Draw(GX_TRIANGLES, {q[0], q[2], q[3]});
                    }
                }
                return ReadFrameBuffer(0, 0, 64, 64);
            };
            const auto triangles = draw(GX_TRIANGLEFAN).argb;
            EXPECT_EQ(draw(GX_QUADS).argb, triangles) << "cull " << cull << " blend " << blend;
            EXPECT_EQ(draw(GX_TRIANGLES).argb, triangles) << "cull " << cull << " blend " << blend;
        }
    }
    // A sprite drawn as one polygon takes one span a line, as a quad or as a list's pair
    // (followed by a lone triangle, drawn at the list's end).
    gxtest::Reset();
    gxtest::UseTexture(texture, GX_REPLACE);
    GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
    const Quad q = sprite(4, 4, 16, kWhite);
    u64 before = GXSpriteSpanCountForTest();
    Draw(GX_QUADS, {q[0], q[1], q[2], q[3]});
    EXPECT_EQ(GXSpriteSpanCountForTest() - before, 16u);
    const Quad lower = sprite(4, 24, 16, kWhite);
    before = GXSpriteSpanCountForTest();
    Draw(GX_TRIANGLES, {q[0], q[1], q[2], q[0], q[2], q[3], lower[0], lower[1], lower[2]});
    EXPECT_EQ(GXSpriteSpanCountForTest() - before, 32u);
}

TEST(GXGeometryTest, CornersSnapToTheNearestSubpixelHalvesAwayFromZero) {
    // Halves of a subpixel on both sides of zero, then every few thousand coordinates
    // out to twice the guard band.
    for (s32 halves = -41; halves <= 41; ++halves) {
        const f32 coordinate = static_cast<f32>(halves) / 32.0f;
        EXPECT_EQ(GXSnapToSubpixel(coordinate), std::llround(coordinate * 16.0f)) << coordinate;
    }
    for (const u32 sign : {0u, 0x80000000u}) {
        for (u32 bits = 0; bits <= std::bit_cast<u32>(16384.0f); bits += 3001) {
            const f32 coordinate = std::bit_cast<f32>(bits | sign);
            ASSERT_EQ(GXSnapToSubpixel(coordinate), std::llround(coordinate * 16.0f)) << coordinate;
        }
    }
}

// The bits of a clip coordinate, any NaN as one (which NaN comes out of a sum depends
// on the order the compiler gives its operands; a NaN vertex is never drawn).
u32 ClipBitsOf(f32 value) {
    return std::isnan(value) ? 0x7FC00000u : std::bit_cast<u32>(value);
}

// Clip x, y, z of a position through the matrix and the orthographic projection
// scaling by 2 and moving by -0 (which keeps a zero's sign), summed term by term as the
// general transform sums them.
std::array<u32, 3> ClipBits(const f32 (&m)[3][4], const f32 (&p)[3]) {
    std::array<u32, 3> bits{};
    for (u32 row = 0; row < 3; ++row) {
        const f32 eye = m[row][0] * p[0] + m[row][1] * p[1] + m[row][2] * p[2] + m[row][3];
        bits[row] = ClipBitsOf(2.0f * eye + -0.0f);
    }
    return bits;
}

TEST(GXGeometryTest, TheIdentityMatrixTransformsAsTheFullSum) {
    // Through the identity (taken without its multiplications) and through other
    // matrices, loaded into the current slot between vertices and into another one:
    // signed zeros, the smallest numbers, infinities, NaN and ordinary positions.
    constexpr f32 kInfinity = std::numeric_limits<f32>::infinity();
    const f32 values[] = {
        0.0f,      -0.0f, 1e-45f,    -1e-45f,    3.5f,
        -1234.25f, 1e30f, kInfinity, -kInfinity, std::numeric_limits<f32>::quiet_NaN()};
    constexpr f32 kIdentity[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    constexpr f32 kNegativeZeros[3][4] = {{1, -0.0f, 0, 0}, {0, 1, 0, -0.0f}, {0, 0, 1, 0}};
    constexpr f32 kMoved[3][4] = {{1, 0, 0, 5}, {0, 1, 0, -3}, {0, 0, 1, 0}};
    const f32 projection[4][4] = {
        {2, 0, 0, -0.0f}, {0, 2, 0, -0.0f}, {0, 0, 2, -0.0f}, {0, 0, 0, 1}};
    gxtest::Reset();
    GXSetProjection(projection, GX_ORTHOGRAPHIC);
    GXSetCurrentMtx(GX_PNMTX0);
    for (const auto* matrix : {&kIdentity, &kNegativeZeros, &kIdentity, &kMoved, &kIdentity}) {
        GXLoadPosMtxImm(*matrix, GX_PNMTX0);
        GXLoadPosMtxImm(kMoved, GX_PNMTX1);
        for (const f32 x : values) {
            for (const f32 y : values) {
                GXVertexInput vertex{};
                vertex.position[0] = x;
                vertex.position[1] = y;
                vertex.position[2] = values[(std::bit_cast<u32>(x) + 3) % std::size(values)];
                GXClipVertex out;
                GXTransformVertex(vertex, out);
                const std::array<u32, 3> got = {ClipBitsOf(out.clip[0]), ClipBitsOf(out.clip[1]),
                                                ClipBitsOf(out.clip[2])};
                ASSERT_EQ(got, ClipBits(*matrix, vertex.position))
                    << x << ", " << y << ", " << vertex.position[2];
            }
        }
    }
}

TEST(GXGeometryTest, EveryPrimitiveTypeDrawsItsShape) {
    gxtest::Reset();
    Draw(GX_TRIANGLES, {{2, 2, 0, kRed, 0, 0}, {30, 2, 0, kGreen, 0, 0}, {2, 30, 0, kBlue, 0, 0}});
    Draw(GX_QUADS, {{34, 2, 0, kRed, 0, 0},
                    {62, 6, 0, kGreen, 0, 0},
                    {58, 30, 0, kBlue, 0, 0},
                    {38, 26, 0, kWhite, 0, 0}});
    Draw(GX_TRIANGLESTRIP, {{66, 2, 0, kRed, 0, 0},
                            {66, 30, 0, kGreen, 0, 0},
                            {78, 2, 0, kBlue, 0, 0},
                            {78, 30, 0, kWhite, 0, 0},
                            {94, 16, 0, kRed, 0, 0}});
    Draw(GX_TRIANGLEFAN, {{112, 16, 0, kWhite, 0, 0},
                          {112, 2, 0, kRed, 0, 0},
                          {126, 16, 0, kGreen, 0, 0},
                          {112, 30, 0, kBlue, 0, 0},
                          {98, 16, 0, kRed, 0, 0}});
    Draw(GX_LINES, {{2, 34, 0, kRed, 0, 0},
                    {60, 40, 0, kGreen, 0, 0},
                    {4, 62, 0, kBlue, 0, 0},
                    {14, 36, 0, kWhite, 0, 0}});
    Draw(GX_LINESTRIP, {{66, 60, 0, kRed, 0, 0},
                        {80, 36, 0, kGreen, 0, 0},
                        {100, 60, 0, kBlue, 0, 0},
                        {126, 40, 0, kWhite, 0, 0}});
    EXPECT_TRUE(MatchesGolden(ReadFrameBuffer(0, 0, 128, 64), "primitives"));
}

TEST(GXGeometryTest, SharedEdgesAreDrawnExactlyOnce) {
    // Adding one level per draw shows any pixel drawn twice or left out.
    const u32 kOne = 0x010101FF;
    struct Case {
        const char* what;
        void (*draw)();
    };
    const Case cases[] = {
        {"strip",
         [] {
             Draw(GX_TRIANGLESTRIP, {{10.3f, 10.7f, 0, kOne, 0, 0},
                                     {10.3f, 50.2f, 0, kOne, 0, 0},
                                     {27.6f, 10.7f, 0, kOne, 0, 0},
                                     {31.1f, 50.2f, 0, kOne, 0, 0},
                                     {50.5f, 10.7f, 0, kOne, 0, 0},
                                     {50.5f, 50.2f, 0, kOne, 0, 0}});
         }},
        {"fan",
         [] {
             Draw(GX_TRIANGLEFAN, {{30.25f, 30.5f, 0, kOne, 0, 0},
                                   {10.3f, 10.7f, 0, kOne, 0, 0},
                                   {50.5f, 10.7f, 0, kOne, 0, 0},
                                   {50.5f, 50.2f, 0, kOne, 0, 0},
                                   {10.3f, 50.2f, 0, kOne, 0, 0},
                                   {10.3f, 10.7f, 0, kOne, 0, 0}});
         }},
        {"quads",
         [] {
             for (f32 y = 10.7f; y < 50; y += 9.875f) {
                 for (f32 x = 10.3f; x < 50; x += 10.05f) {
                     DrawRect(x, y, std::fmin(x + 10.05f, 50.5f), std::fmin(y + 9.875f, 50.2f),
                              kOne);
                 }
             }
         }},
    };
    for (const Case& c : cases) {
        gxtest::Reset(0xFF000000);
        GXSetBlendMode(GX_BM_BLEND, GX_BL_ONE, GX_BL_ONE, GX_LO_CLEAR);
        GXSetZMode(GX_FALSE, GX_ALWAYS, GX_FALSE);
        c.draw();
        // Pixel centres x + 0.5 in [10.3, 50.5) and y + 0.5 in [10.7, 50.2): columns
        // 10 to 49, rows 11 to 49.
        for (u32 y = 0; y < 60; ++y) {
            for (u32 x = 0; x < 60; ++x) {
                const bool inside = x >= 10 && x <= 49 && y >= 11 && y <= 49;
                ASSERT_EQ(ArgbAt(x, y), inside ? 0xFF010101u : 0xFF000000u)
                    << c.what << " at " << x << ", " << y;
            }
        }
    }
}

TEST(GXGeometryTest, CullingRemovesFacesByTheirWinding) {
    struct Case {
        GXCullMode mode;
        bool clockwiseDrawn, anticlockwiseDrawn;
    };
    const Case cases[] = {{GX_CULL_NONE, true, true},
                          {GX_CULL_BACK, true, false},
                          {GX_CULL_FRONT, false, true},
                          {GX_CULL_ALL, false, false}};
    for (const Case& c : cases) {
        gxtest::Reset();
        GXSetCullMode(c.mode);
        // Clockwise on the screen (y runs down), then anticlockwise.
        Draw(GX_TRIANGLES, {{0, 0, 0, kRed, 0, 0}, {8, 0, 0, kRed, 0, 0}, {0, 8, 0, kRed, 0, 0}});
        Draw(GX_TRIANGLES,
             {{10, 0, 0, kRed, 0, 0}, {10, 8, 0, kRed, 0, 0}, {18, 0, 0, kRed, 0, 0}});
        EXPECT_EQ(ArgbAt(1, 1) == 0xFFFF0000u, c.clockwiseDrawn) << c.mode;
        EXPECT_EQ(ArgbAt(11, 1) == 0xFFFF0000u, c.anticlockwiseDrawn) << c.mode;
        Draw(GX_LINES, {{0, 20.5f, 0, kRed, 0, 0}, {8, 20.5f, 0, kRed, 0, 0}});
        EXPECT_EQ(ArgbAt(4, 20), 0xFFFF0000u) << "lines are never culled";
    }
}

TEST(GXGeometryTest, PrimitivesAreClippedAtAllFourScreenEdges) {
    gxtest::Reset();
    // Red grows from 0 at x = -1000 to 255 at x = 1640; green likewise down the screen.
    Draw(GX_QUADS, {{-1000, -1000, 0, 0x000000FF, 0, 0},
                    {1640, -1000, 0, 0xFF0000FF, 0, 0},
                    {1640, 1528, 0, 0xFFFF00FF, 0, 0},
                    {-1000, 1528, 0, 0x00FF00FF, 0, 0}});
    for (const u32 x : {0u, 319u, 639u}) {
        for (const u32 y : {0u, 263u, 527u}) {
            const u32 red = static_cast<u32>(std::lround(255.0 * (x + 0.5 + 1000) / 2640));
            const u32 green = static_cast<u32>(std::lround(255.0 * (y + 0.5 + 1000) / 2528));
            const u32 actual = ArgbAt(x, y);
            EXPECT_NEAR(static_cast<int>((actual >> 16) & 0xFF), static_cast<int>(red), 1) << x;
            EXPECT_NEAR(static_cast<int>((actual >> 8) & 0xFF), static_cast<int>(green), 1) << y;
        }
    }
    // A triangle over every edge of a small scissor window.
    gxtest::Reset();
    GXSetScissor(100, 100, 40, 30);
    Draw(GX_TRIANGLES,
         {{80, 60, 0, kRed, 0, 0}, {220, 115, 0, kGreen, 0, 0}, {85, 200, 0, kBlue, 0, 0}});
    for (u32 y = 96; y < 134; ++y) {
        for (u32 x = 96; x < 144; ++x) {
            const bool inside = x >= 100 && x < 140 && y >= 100 && y < 130;
            ASSERT_EQ(ArgbAt(x, y) != 0xFF000000u, inside) << x << ", " << y;
        }
    }
    EXPECT_TRUE(MatchesGolden(ReadFrameBuffer(96, 96, 48, 38), "clip_scissor_edges"));
}

TEST(GXGeometryTest, TheNearPlaneCutsWhatLiesInFrontOfIt) {
    gxtest::Reset();
    gxtest::UsePerspective(90.0f, 640.0f / 480.0f, 1.0f, 100.0f);
    // A floor one unit below the eye, from behind the eye to far away.
    Draw(GX_QUADS, {{-4, -1, 2, kRed, 0, 0},
                    {4, -1, 2, kGreen, 0, 0},
                    {4, -1, -50, kBlue, 0, 0},
                    {-4, -1, -50, kWhite, 0, 0}});
    // At the near plane (z = -1) the floor is at y = -1 / 1: the bottom of the screen;
    // nothing nearer is drawn, so the rows below the centre fill down to that edge and
    // no mirrored copy of the part behind the eye appears above the horizon.
    EXPECT_NE(ArgbAt(320, 470), 0xFF000000u) << "the floor reaches the near plane's edge";
    EXPECT_EQ(ArgbAt(320, 200), 0xFF000000u) << "nothing above the horizon";
    const TestImage floor = ReadFrameBuffer(0, 0, 640, 480);
    TestImage small{80, 60, {}};
    for (u32 y = 0; y < 60; ++y) {
        for (u32 x = 0; x < 80; ++x) {
            small.argb.push_back(floor.At(x * 8 + 4, y * 8 + 4));
        }
    }
    EXPECT_TRUE(MatchesGolden(small, "clip_near_plane"));

    // A triangle wholly in front of the near plane draws nothing; its depth is untouched.
    gxtest::ClearFrameBuffer(0xFF000000);
    Draw(GX_TRIANGLES,
         {{-1, -1, -0.5f, kRed, 0, 0}, {1, -1, -0.5f, kRed, 0, 0}, {0, 1, -0.5f, kRed, 0, 0}});
    EXPECT_EQ(CountPixels(0, 0, 640, 480, 0xFF000000), 640u * 480);
}

TEST(GXGeometryTest, PerspectiveDepthRunsFromNearToFar) {
    gxtest::Reset();
    gxtest::UsePerspective(90.0f, 1.0f, 1.0f, 3.0f);
    GXSetZMode(GX_TRUE, GX_ALWAYS, GX_TRUE);
    for (const f32 z : {-1.0f, -1.5f, -3.0f}) {
        DrawRect(-z, -z, z, z, kRed, z); // a square covering the view at that distance
        // depth = far (1 - near / z) / (far - near), in 24 bits
        const f64 expected = 16777215.0 * 3.0 * (1.0 + 1.0 / z) / 2.0;
        EXPECT_NEAR(GXReadEFBDepthForTest(320, 240), expected, 2.0) << z;
    }
}

// The render layer's 2-D path: the projection is the transpose of its screen matrix
// with m[2][3] negated, positions in clip coordinates, vertices from indexed arrays.
void DrawIndexedBatch(const gxtest::Vertex* vertices, const u16* indices, u16 count) {
    const f32 projection[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, -1, -1}, {0, 0, 0, -1}};
    GXSetProjection(projection, GX_ORTHOGRAPHIC);
    const f32 identity[3][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    GXLoadPosMtxImm(identity, GX_PNMTX0);
    GXSetZMode(GX_FALSE, GX_LEQUAL, GX_FALSE);
    GXSetBlendMode(GX_BM_BLEND, GX_BL_SRCALPHA, GX_BL_INVSRCALPHA, GX_LO_NOOP);
    gxtest::DrawIndexed(vertices, indices, count);
}

TEST(GXGeometryTest, OrthographicTwoDimensionalDrawsAreNotMirrored) {
    gxtest::Reset();
    GXSetViewport(0, 0, 640, 480, 0, 1);
    // Quads in the order the batch writes them: corners (x0, y0), (x1, y0), (x0, y1),
    // (x1, y1), drawn as triangles (0, 1, 3) and (0, 3, 2).
    auto quad = [](f32 x0, f32 y0, f32 x1, f32 y1, u32 rgba, gxtest::Vertex* out) {
        out[0] = {x0, y0, 0, rgba, 0, 0};
        out[1] = {x1, y0, 0, rgba, 1, 0};
        out[2] = {x0, y1, 0, rgba, 0, 1};
        out[3] = {x1, y1, 0, rgba, 1, 1};
    };
    gxtest::Vertex vertices[12];
    quad(-1.0f, 1.0f, -0.5f, 0.5f, kRed, &vertices[0]);      // top left
    quad(0.5f, 1.0f, 1.0f, 0.75f, kGreen, &vertices[4]);     // top right, shorter
    quad(-1.0f, -0.75f, -0.75f, -1.0f, kBlue, &vertices[8]); // bottom left, smaller
    u16 indices[18];
    for (u16 q = 0; q < 3; ++q) {
        const u16 corner[] = {0, 1, 3, 0, 3, 2};
        for (u16 i = 0; i < 6; ++i) {
            indices[6 * q + i] = static_cast<u16>(4 * q + corner[i]);
        }
    }
    GXSetCullMode(GX_CULL_NONE);
    DrawIndexedBatch(vertices, indices, 18);
    EXPECT_EQ(ArgbAt(10, 10), 0xFFFF0000u);
    EXPECT_EQ(ArgbAt(159, 119), 0xFFFF0000u);
    EXPECT_EQ(ArgbAt(160, 120), 0xFF000000u);
    EXPECT_EQ(ArgbAt(630, 10), 0xFF00FF00u);
    EXPECT_EQ(ArgbAt(630, 60), 0xFF000000u);
    EXPECT_EQ(ArgbAt(10, 470), 0xFF0000FFu);
    EXPECT_EQ(ArgbAt(630, 470), 0xFF000000u);
    EXPECT_EQ(GXReadEFBDepthForTest(10, 10), 0xFFFFFFu) << "depth writes off";
    const TestImage screen = ReadFrameBuffer(0, 0, 640, 480);
    TestImage small{80, 60, {}};
    for (u32 y = 0; y < 60; ++y) {
        for (u32 x = 0; x < 80; ++x) {
            small.argb.push_back(screen.At(x * 8 + 4, y * 8 + 4));
        }
    }
    EXPECT_TRUE(MatchesGolden(small, "ortho_2d"));
}

TEST(GXGeometryTest, IndexedAndDirectVertexFormatsDrawTheSame) {
    std::vector<u32> texels(64);
    for (u32 i = 0; i < 64; ++i) {
        texels[i] = 0xFF000000 | i * 0x030507;
    }
    const std::vector<u8> image = gxtest::TileRgba8(texels, 8, 8);
    GXTexObj texture;
    GXInitTexObj(&texture, image.data(), 8, 8, GX_TF_RGBA8, GX_REPEAT, GX_REPEAT, GX_FALSE);

    gxtest::Reset();
    gxtest::UseTexture(texture, GX_MODULATE);
    Draw(GX_QUADS, {{4, 4, 0, 0xFF00FFFF, 0, 0},
                    {36, 4, 0, 0xFF00FFFF, 2, 0},
                    {36, 20, 0, 0xFF00FFFF, 2, 1},
                    {4, 20, 0, 0xFF00FFFF, 0, 1}});
    const TestImage direct = ReadFrameBuffer(0, 0, 40, 24);

    // Positions as S16 with 2 fraction bits, XY only; colours RGB565; texture
    // coordinates U16 with 8 fraction bits; all from arrays.
    const s16 positions[] = {16, 16, 144, 16, 144, 80, 16, 80};
    const u16 colours[] = {0xF81F};
    const u16 coordinates[] = {0, 0, 512, 0, 512, 256, 0, 256};
    const u16 zero = 0;
    gxtest::Reset();
    gxtest::UseTexture(texture, GX_MODULATE);
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_POS, GX_INDEX16);
    GXSetVtxDesc(GX_VA_CLR0, GX_INDEX16);
    GXSetVtxDesc(GX_VA_TEX0, GX_INDEX16);
    GXSetVtxAttrFmt(GX_VTXFMT3, GX_VA_POS, GX_POS_XY, GX_S16, 2);
    GXSetVtxAttrFmt(GX_VTXFMT3, GX_VA_CLR0, GX_CLR_RGB, GX_RGB565, 0);
    GXSetVtxAttrFmt(GX_VTXFMT3, GX_VA_TEX0, GX_TEX_ST, GX_U16, 8);
    GXSetArray(GX_VA_POS, positions, 4);
    GXSetArray(GX_VA_CLR0, colours, 2);
    GXSetArray(GX_VA_TEX0, coordinates, 4);
    GXBegin(GX_QUADS, GX_VTXFMT3, 4);
    for (u16 i = 0; i < 4; ++i) {
        GXPosition1x16(i);
        GXColor1x16(zero);
        GXTexCoord1x16(i);
    }
    GXEnd();
    EXPECT_EQ(ReadFrameBuffer(0, 0, 40, 24).argb, direct.argb) << "indexed";

    // The same with direct S16 positions and U16 coordinates.
    gxtest::Reset();
    gxtest::UseTexture(texture, GX_MODULATE);
    GXClearVtxDesc();
    GXSetVtxDesc(GX_VA_POS, GX_DIRECT);
    GXSetVtxDesc(GX_VA_CLR0, GX_DIRECT);
    GXSetVtxDesc(GX_VA_TEX0, GX_DIRECT);
    GXSetVtxAttrFmt(GX_VTXFMT1, GX_VA_POS, GX_POS_XYZ, GX_S16, 2);
    GXSetVtxAttrFmt(GX_VTXFMT1, GX_VA_CLR0, GX_CLR_RGBA, GX_RGBA8, 0);
    GXSetVtxAttrFmt(GX_VTXFMT1, GX_VA_TEX0, GX_TEX_ST, GX_U16, 8);
    GXBegin(GX_QUADS, GX_VTXFMT1, 4);
    for (u16 i = 0; i < 4; ++i) {
        GXPosition3s16(positions[2 * i], positions[2 * i + 1], 0);
        GXColor1u32(0xFF00FFFF);
        GXTexCoord2u16(coordinates[2 * i], coordinates[2 * i + 1]);
    }
    GXEnd();
    EXPECT_EQ(ReadFrameBuffer(0, 0, 40, 24).argb, direct.argb) << "direct";
}

TEST(GXGeometryTest, MalformedVerticesAreReportedAndDrawNothing) {
    const f32 nan = std::numeric_limits<f32>::quiet_NaN();
    const f32 inf = std::numeric_limits<f32>::infinity();
    struct Case {
        const char* what;
        void (*draw)();
    };
    const Case cases[] = {
        {"writes outside GXBegin", [] { GXPosition3f32(1, 2, 3); }},
        {"colour before position",
         [] {
             GXBegin(GX_TRIANGLES, GX_VTXFMT0, 3);
             GXColor1u32(kRed);
             GXPosition3f32(0, 0, 0);
             GXTexCoord2f32(0, 0);
             GXEnd();
         }},
        {"the wrong format",
         [] {
             GXBegin(GX_TRIANGLES, GX_VTXFMT0, 3);
             for (int i = 0; i < 3; ++i) {
                 GXPosition2f32(static_cast<f32>(i * 20), static_cast<f32>(i % 2 * 20));
                 GXColor1u32(kRed);
                 GXTexCoord2f32(0, 0);
             }
             GXEnd();
         }},
        {"an index for a direct attribute",
         [] {
             GXBegin(GX_TRIANGLES, GX_VTXFMT0, 3);
             GXPosition1x16(0);
             GXEnd();
         }},
        {"fewer vertices than announced",
         [] {
             GXBegin(GX_TRIANGLES, GX_VTXFMT0, 6);
             GXPosition3f32(0, 0, 0);
             GXColor1u32(kRed);
             GXTexCoord2f32(0, 0);
             GXPosition3f32(20, 0, 0);
             GXEnd();
         }},
        {"an unknown primitive",
         [] {
             GXBegin(static_cast<GXPrimitive>(0x42), GX_VTXFMT0, 3);
             for (int i = 0; i < 3; ++i) {
                 GXPosition3f32(static_cast<f32>(i * 20), static_cast<f32>(i % 2 * 20), 0);
                 GXColor1u32(kRed);
                 GXTexCoord2f32(0, 0);
             }
             GXEnd();
         }},
        {"an unknown vertex format",
         [] {
             GXBegin(GX_TRIANGLES, static_cast<GXVtxFmt>(12), 3);
             GXPosition3f32(0, 0, 0);
             GXEnd();
         }},
        {"no position",
         [] {
             GXSetVtxDesc(GX_VA_POS, GX_NONE);
             GXBegin(GX_TRIANGLES, GX_VTXFMT0, 3);
             GXColor1u32(kRed);
             GXEnd();
         }},
        {"an index without an array",
         [] {
             GXSetVtxDesc(GX_VA_POS, GX_INDEX16);
             GXSetArray(GX_VA_POS, nullptr, 12);
             GXBegin(GX_TRIANGLES, GX_VTXFMT0, 3);
             for (u16 i = 0; i < 3; ++i) {
                 GXPosition1x16(i);
                 GXColor1u32(kRed);
                 GXTexCoord2f32(0, 0);
             }
             GXEnd();
         }},
    };
    for (const Case& c : cases) {
        gxtest::Reset();
        GXClearVtxDesc();
        GXSetVtxDesc(GX_VA_POS, GX_DIRECT);
        GXSetVtxDesc(GX_VA_CLR0, GX_DIRECT);
        GXSetVtxDesc(GX_VA_TEX0, GX_DIRECT);
        c.draw();
        EXPECT_EQ(CountPixels(0, 0, 64, 64, 0xFF000000), 64u * 64) << c.what;
        // The next well-formed primitive draws normally.
        DrawRect(0, 0, 4, 4, kRed);
        EXPECT_EQ(ArgbAt(1, 1), 0xFFFF0000u) << "after " << c.what;
    }
    gxtest::Reset();
    for (const f32 bad : {nan, inf, -inf, 1e30f}) {
        Draw(GX_TRIANGLES,
             {{0, 0, 0, kRed, 0, 0}, {bad, 10, 0, kRed, 0, 0}, {0, 40, bad, kRed, 0, 0}});
        Draw(GX_LINES, {{0, 0, 0, kRed, 0, 0}, {bad, bad, bad, kRed, 0, 0}});
    }
    EXPECT_LE(CountPixels(0, 0, 640, 528, 0xFFFF0000), 640u * 528) << "no crash, nothing outside";
}

TEST(GXGeometryTest, TheDisplayCopyShowsTheDrawnScene) {
    // A scene of flat areas with edges on even columns, where 4:2:2 chroma is exact.
    gxtest::Reset(0xFF204060);
    DrawRect(40, 40, 200, 160, 0xC03020FF);
    DrawRect(100, 80, 400, 300, 0x20A0F0FF, -0.5f);
    Draw(GX_TRIANGLES, {{300, 20, 0, 0xFFFF00FF, 0, 0},
                        {600, 200, 0, 0xFFFF00FF, 0, 0},
                        {300, 400, 0, 0xFFFF00FF, 0, 0}});
    const TestImage drawn = ReadFrameBuffer(0, 0, 640, 448);

    GXRenderModeObj mode{};
    GXAdjustForOverscan(&GXNtsc480IntDf, &mode, 0, 16);
    const u32 lines = GXSetDispCopyYScale(GXGetYScaleFactor(mode.efbHeight, mode.xfbHeight));
    GXSetDispCopyDst(mode.fbWidth, static_cast<u16>(lines));
    GXSetDispCopySrc(0, 0, mode.fbWidth, mode.efbHeight);
    std::vector<u8> xfb(mode.fbWidth * 2u * lines);
    GXCopyDisp(xfb.data(), GX_TRUE);
    VIInit();
    VIConfigure(&mode);
    VISetNextFrameBuffer(xfb.data());
    VISetBlack(FALSE);
    VIFlush();
    VIWaitForRetrace();
    const VIFrameSize size = VIGetShownFrameSize();
    ASSERT_EQ(size.width, 640u);
    ASSERT_EQ(size.height, 448u);
    std::vector<u8> rgb(size.width * size.height * 3);
    ASSERT_TRUE(VIConvertShownFrameToRGB(rgb.data(), size.width * 3, rgb.size()));

    // The screenshot as a PNG file, read back.
    TestImage shot{size.width, size.height, {}};
    for (u32 i = 0; i < size.width * size.height; ++i) {
        shot.argb.push_back(0xFF000000 | rgb[3 * i] << 16 | rgb[3 * i + 1] << 8 | rgb[3 * i + 2]);
    }
    const std::string path = testing::TempDir() + "gx_display_copy_screenshot.png";
    ASSERT_TRUE(WritePng(path, shot));
    TestImage read;
    ASSERT_TRUE(ReadPng(path, read));
    std::remove(path.c_str());
    ASSERT_EQ(read.argb.size(), drawn.argb.size());
    int worst = 0;
    for (size_t i = 0; i < read.argb.size(); ++i) {
        for (u32 shift = 0; shift < 24; shift += 8) {
            const int a = static_cast<int>((read.argb[i] >> shift) & 0xFF);
            const int b = static_cast<int>((drawn.argb[i] >> shift) & 0xFF);
            const bool diagonalEdge = i % 640 >= 296; // the triangle's slanted edges
            if (!diagonalEdge) {
                worst = std::max(worst, std::abs(a - b));
            }
        }
    }
    EXPECT_LE(worst, 3);
    EXPECT_EQ(ArgbAt(50, 50), 0xFF000000u) << "the copy cleared the frame buffer";
}

} // namespace
