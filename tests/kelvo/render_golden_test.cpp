// Pictures drawn through the whole render layer into the embedded frame buffer and read
// back: 2-D quads at exact pixel positions, the three texture formats, the camera drawing a
// triangle list in depth order, and the sphere table drawn as a ball. Goldens:
// tests/kelvo/golden/ (png_golden.h).
#include "png_golden.h"
#include "render_fixture.h"

#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krcamera.h>
#include <kelvo/render/krprimdraw.h>

#include <console/gx.h>

#include <gtest/gtest.h>

#include <vector>

using namespace Kelvo_lib;
using png_golden::MatchesGolden;
using png_golden::ReadEmbeddedFrameBuffer;
using namespace render_fixture;

namespace {

constexpr u32 kYellow = 0xFFFF00;

using RenderGoldenTest = PictureTest;

// 8 x 8 textures of the four quadrants in each texture format, their level 0 untiled.
RcPtr<krTextureResourceWII> QuadrantTexture(kIMAGE_TYPE type) {
    constexpr u32 kSize = 8;
    RcPtr<krTextureResourceWII> texture(krTextureResourceWII::CreateTexture(kSize, kSize, 1, type));
    u8* level = static_cast<u8*>(texture->GetMipMapData(0));
    const u32 palette[4] = {kRed, kGreen, kBlue, kWhite};
    if (type == K_IMAGE_PAL_8) {
        u8* table = static_cast<u8*>(texture->GetTableData());
        for (u32 i = 0; i < 4; ++i) { // RGB5A3, opaque: 1rrrrrgggggbbbbb, big-endian
            const u32 c = palette[i];
            const u32 entry =
                0x8000 | ((c >> 19) & 0x1F) << 10 | ((c >> 11) & 0x1F) << 5 | ((c >> 3) & 0x1F);
            table[2 * i] = static_cast<u8>(entry >> 8);
            table[2 * i + 1] = static_cast<u8>(entry);
        }
    }
    for (u32 y = 0; y < kSize; ++y) {
        for (u32 x = 0; x < kSize; ++x) {
            const u32 c = QuadrantColour(x, y, kSize, kSize);
            const u32 i = y * kSize + x;
            if (type == K_IMAGE_PAL_8) {
                level[i] = static_cast<u8>((y >= kSize / 2) * 2 + (x >= kSize / 2));
            } else if (type == K_IMAGE_BGR_565) { // blue high, red low, big-endian
                const u32 word = ((c & 0xF8) << 8) | ((c >> 10) & 0x3F) << 5 | (c >> 19);
                level[2 * i] = static_cast<u8>(word >> 8);
                level[2 * i + 1] = static_cast<u8>(word);
            } else { // A, R, G, B
                level[4 * i] = 0xFF;
                level[4 * i + 1] = static_cast<u8>(c >> 16);
                level[4 * i + 2] = static_cast<u8>(c >> 8);
                level[4 * i + 3] = static_cast<u8>(c);
            }
        }
    }
    texture->Dirty();
    return texture;
}

// A sprite of 16 x 16 pixels with its top-left corner at (x, y).
void Sprite(const RcPtr<krTextureResourceWII>& texture, float x, float y) {
    krDrawHelp::DrawSubBitmap(KR_DRAW_PIXELS, texture, x, y, x + 16, y, x, y + 16, x + 16, y + 16,
                              0, 0, 1, 0, 0, 1, 1, 1, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF,
                              0xFFFFFFFF);
}

TEST_F(RenderGoldenTest, BatchQuadsLandOnExactPixelsTheRightWayUp) {
    krDrawHelp::DrawRect(KR_DRAW_PIXELS, 8, 4, 16, 8, 0xFF000000 | kYellow);
    Sprite(QuadrantTexture(K_IMAGE_ARGB_8888), 32, 4);
    krDrawHelp::Flush();

    EXPECT_EQ(Pixel(8, 4), kYellow);
    EXPECT_EQ(Pixel(23, 11), kYellow);
    EXPECT_EQ(Pixel(7, 4), kBackground);
    EXPECT_EQ(Pixel(24, 11), kBackground);
    EXPECT_EQ(Pixel(8, 3), kBackground);
    EXPECT_EQ(Pixel(8, 12), kBackground);
    // Texel centres of each quadrant, two pixels per texel.
    EXPECT_EQ(Pixel(35, 7), kRed);
    EXPECT_EQ(Pixel(44, 7), kGreen);
    EXPECT_EQ(Pixel(35, 16), kBlue);
    EXPECT_EQ(Pixel(44, 16), kWhite);
    EXPECT_TRUE(MatchesGolden("batch_quads", ReadEmbeddedFrameBuffer(0, 0, 64, 24)));
}

TEST_F(RenderGoldenTest, Rgb565AndPaletteTexturesDrawLikeTrueColour) {
    Sprite(QuadrantTexture(K_IMAGE_BGRA_8888), 4, 4);
    Sprite(QuadrantTexture(K_IMAGE_BGR_565), 24, 4);
    Sprite(QuadrantTexture(K_IMAGE_PAL_8), 44, 4);
    krDrawHelp::Flush();

    for (const u32 left : {4u, 24u, 44u}) {
        EXPECT_EQ(Pixel(left + 3, 7), kRed) << left;
        EXPECT_EQ(Pixel(left + 12, 7), kGreen) << left;
        EXPECT_EQ(Pixel(left + 3, 16), kBlue) << left;
        EXPECT_EQ(Pixel(left + 12, 16), kWhite) << left;
    }
    EXPECT_TRUE(MatchesGolden("texture_formats", ReadEmbeddedFrameBuffer(0, 0, 64, 24)));
}

// Half-transparent white over the background; the texture's alpha alone decides, the
// vertex colour only tints.
TEST_F(RenderGoldenTest, BlendingUsesTheTextureAlphaAndTintsByTheVertexColour) {
    krDrawHelp::DrawRect(KR_DRAW_PIXELS, 0, 0, 8, 8, 0x80FFFFFF);
    RcPtr<krTextureResourceWII> texture = QuadrantTexture(K_IMAGE_ARGB_8888);
    krDrawHelp::DrawSubBitmap(KR_DRAW_PIXELS, texture, 8, 0, 24, 0, 8, 16, 24, 16, 0, 0, 1, 0, 0, 1,
                              1, 1, 0x40FF0000, 0x40FF0000, 0x40FF0000, 0x40FF0000);
    krDrawHelp::Flush();
    const u32 half = Pixel(2, 2);
    EXPECT_NEAR(static_cast<int>(half >> 16), (0x20 + 0xFF) / 2, 2);
    EXPECT_NEAR(static_cast<int>(half & 0xFF), (0x40 + 0xFF) / 2, 2);
    EXPECT_EQ(Pixel(20, 12), kRed) << "white texel tinted red, drawn opaque";
    EXPECT_EQ(Pixel(20, 3), 0u) << "green texel times red is black";
}

krVertexStruct Vertex(float x, float y, float z, u32 rgba) {
    return {x, y, z, 0, 0, -1, rgba, 0, 0};
}

// A red triangle in front of a blue one drawn after it, seen by the default camera:
// the depth test keeps the nearer one in front.
TEST_F(RenderGoldenTest, CameraDrawsATriangleListInDepthOrder) {
    const krVertexStruct vertices[6] = {
        Vertex(-2, -1.5f, 10, 0xFF0000FF), Vertex(0, 2, 10, 0xFF0000FF),
        Vertex(2, -1.5f, 10, 0xFF0000FF),  Vertex(-3, -5, 20, 0x0000FFFF),
        Vertex(1, 4, 20, 0x0000FFFF),      Vertex(7, -4, 20, 0x0000FFFF)};
    const u16 indices[6] = {0, 1, 2, 3, 4, 5};
    krCamera camera;
    camera.Select();
    kRender::TransformSet(KR_TRANSFORM_WORLD, krMatrixIdentity());
    kRender::SetDefaultShader();
    kRender::SetVertexDesc(krVertexStruct::GetDesc());
    kRender::SetVertexStream(0, vertices, sizeof(krVertexStruct), sizeof(vertices), nullptr);
    kRender::SetIndexStream(indices, 2, sizeof(indices), nullptr);
    kRender::SetTextureResource(0, RcPtr<krTextureResourceWII>());
    kRender::PostGeometryAdv(KR_PRIM_TRILIST, 0, 6, __FILE__, __FUNCTION__, __LINE__);

    const u32 centreX = MyDemoGetWidth() / 2;
    const u32 centreY = MyDemoGetHeight() / 2;
    EXPECT_EQ(Pixel(centreX, centreY), kRed) << "the nearer triangle, drawn first";
    EXPECT_EQ(Pixel(centreX + 32, centreY + 62), kBlue) << "the farther one below it";
    EXPECT_LT(GXReadEFBDepthForTest(centreX, centreY),
              GXReadEFBDepthForTest(centreX + 32, centreY + 62));
    EXPECT_EQ(Pixel(centreX, centreY - 50), kRed) << "the red apex points up";
    EXPECT_EQ(Pixel(centreX, centreY + 50), kBlue);
    EXPECT_EQ(Pixel(centreX, centreY - 200), kBackground);
    EXPECT_TRUE(MatchesGolden("camera_triangles",
                              ReadEmbeddedFrameBuffer(centreX - 128, centreY - 96, 256, 192)));
}

// Depth runs from 0 at the near plane (distance 1) to the farthest value at 3000.
TEST_F(RenderGoldenTest, CameraDepthSpansNearToFarPlane) {
    krCamera camera;
    camera.Select();
    kRender::SetVertexDesc(krVertexStruct::GetDesc());
    kRender::SetTextureResource(0, RcPtr<krTextureResourceWII>());
    const u16 indices[3] = {0, 1, 2};
    kRender::SetIndexStream(indices, 2, sizeof(indices), nullptr);
    const u32 centreX = MyDemoGetWidth() / 2;
    const u32 centreY = MyDemoGetHeight() / 2;
    for (const float d : {1.0001f, 2.0f, 2999.0f}) {
        GXPokeEFBDepthForTest(centreX, centreY, 0xFFFFFF);
        const krVertexStruct triangle[3] = {Vertex(-d, -d, d, 0xFFFFFFFF),
                                            Vertex(0, d, d, 0xFFFFFFFF),
                                            Vertex(d, -d, d, 0xFFFFFFFF)};
        kRender::SetVertexStream(0, triangle, sizeof(krVertexStruct), sizeof(triangle), nullptr);
        kRender::PostGeometryAdv(KR_PRIM_TRILIST, 0, 3, nullptr, nullptr, 0);
        // The fraction of the farthest depth: (d - 1) / d x 3000 / 2999, so 0 at the near
        // plane, one half at distance 2 and all of it at the far plane.
        const double expected = (d - 1.0) / d * 3000.0 / 2999.0;
        EXPECT_NEAR(GXReadEFBDepthForTest(centreX, centreY) / 16777215.0, expected, 1e-3) << d;
    }
}

// The triangles that close the sphere table's rings and poles into a ball.
std::vector<u16> SphereIndices() {
    std::vector<u16> indices;
    const auto triangle = [&](int a, int b, int c) {
        indices.insert(indices.end(),
                       {static_cast<u16>(a), static_cast<u16>(b), static_cast<u16>(c)});
    };
    const auto at = [](int ring, int segment) {
        return 1 + ring * K_SPHERE_SEGMENTS + segment % K_SPHERE_SEGMENTS;
    };
    for (int segment = 0; segment < K_SPHERE_SEGMENTS; ++segment) {
        triangle(0, at(0, segment), at(0, segment + 1));
        for (int ring = 0; ring + 1 < K_SPHERE_RINGS; ++ring) {
            triangle(at(ring, segment), at(ring + 1, segment), at(ring + 1, segment + 1));
            triangle(at(ring, segment), at(ring + 1, segment + 1), at(ring, segment + 1));
        }
        triangle(K_SPHERE_VERT_COUNT - 1, at(K_SPHERE_RINGS - 1, segment + 1),
                 at(K_SPHERE_RINGS - 1, segment));
    }
    return indices;
}

// Drawn 5 units in front of the default camera with the 3-D vertex's description: a white
// ball, whole across its middle and as wide on the left as on the right.
TEST_F(RenderGoldenTest, SphereTableDrawsAClosedWhiteBall) {
    for (const krVertexPrimDraw& vertex : sphereVertList) {
        EXPECT_NEAR(vertex.p.Length(), 1.0f, 1e-5f);
        EXPECT_EQ(vertex.n.Distance(vertex.p), 0.0f);
        EXPECT_EQ(vertex.colour, 0xFFFFFFFFu);
    }
    EXPECT_EQ(sphereVertList[0].p(1), 1.0f);
    EXPECT_EQ(sphereVertList[K_SPHERE_VERT_COUNT - 1].p(1), -1.0f);
    const std::vector<u16> indices = SphereIndices();
    krCamera camera;
    camera.Select();
    krMatrix world = krMatrixIdentity();
    krElement(world, 3, 2) = 5.0f;
    kRender::TransformSet(KR_TRANSFORM_WORLD, world);
    kRender::SetDefaultShader();
    kRender::SetVertexDesc(krVertexStruct::GetDesc());
    kRender::SetVertexStream(0, sphereVertList, sizeof(krVertexPrimDraw), sizeof(sphereVertList),
                             nullptr);
    kRender::SetIndexStream(indices.data(), 2, static_cast<u32>(indices.size() * 2), nullptr);
    kRender::SetTextureResource(0, RcPtr<krTextureResourceWII>());
    kRender::PostGeometryAdv(KR_PRIM_TRILIST, 0, static_cast<u32>(indices.size()), nullptr, nullptr,
                             0);

    const int centreX = static_cast<int>(MyDemoGetWidth() / 2);
    const int centreY = static_cast<int>(MyDemoGetHeight() / 2);
    // The white run from the centre outwards in each direction.
    const auto reach = [&](int dx, int dy) {
        int steps = 0;
        while (Pixel(centreX + (steps + 1) * dx, centreY + (steps + 1) * dy) == kWhite) {
            ++steps;
        }
        return steps;
    };
    ASSERT_EQ(Pixel(centreX, centreY), kWhite);
    const int right = reach(1, 0);
    EXPECT_GT(right, 20);
    EXPECT_LT(right, centreX - 10) << "the ball stays inside the picture";
    EXPECT_NEAR(reach(-1, 0), right, 2);
    EXPECT_NEAR(reach(0, -1), reach(0, 1), 2);
    EXPECT_EQ(Pixel(centreX + right + 3, centreY), kBackground) << "nothing beyond its edge";
}

} // namespace
