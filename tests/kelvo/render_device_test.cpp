// The render device: the primary surface and its two black frames, selecting surfaces,
// the clear colour, and the draw call with its transforms and shaders.
#include "log_capture.h"
#include "render_fixture.h"

#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krcamera.h>

#include <console/gx.h>
#include <console/vi.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>

using namespace Kelvo_lib;
using render_fixture::RenderTest;
using test_support::LogCapture;

namespace {

struct FormatCase {
    GXBool antiAliased;
    u32 colourBits, alphaBits, depthBits;
};

class PrimarySurfaceTest : public testing::TestWithParam<FormatCase> {
protected:
    void TearDown() override {
        kRender::SurfaceDestroy(kRender::SurfaceGetCurrent());
        kRender::Deinit();
        MyDemoSetRenderMode(nullptr);
    }
};

TEST_P(PrimarySurfaceTest, TakesSizeAndDepthsFromTheVideoModeAndShowsTwoBlackFrames) {
    const FormatCase& expected = GetParam();
    GXRenderModeObj mode = *s_curMode;
    mode.aa = expected.antiAliased;
    MyDemoSetRenderMode(&mode);
    kRender::Init();
    for (u32 y = 0; y < 8; ++y) {
        GXPokeEFBColorForTest(3, y, GXColor{255, 255, 255, 255});
    }
    kRender::BufferClear(0xFFFFFFFF);
    const u32 retraces = VIGetRetraceCount();
    LogCapture log;

    krSurface* surface = kRender::SurfaceCreate(krSurfaceDesc());

    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(kRender::SurfaceGetCurrent(), surface);
    const krSurfaceDesc& desc = surface->GetDesc();
    EXPECT_EQ(desc.xRes, MyDemoGetWidth());
    EXPECT_EQ(desc.yRes, MyDemoGetHeight());
    EXPECT_EQ(desc.colourBits, expected.colourBits);
    EXPECT_EQ(desc.alphaBits, expected.alphaBits);
    EXPECT_EQ(desc.depthBits, expected.depthBits);
    EXPECT_EQ(desc.stencilBits, 0u);
    const std::string line = "PrimarySurface: " + std::to_string(MyDemoGetWidth()) + " x " +
                             std::to_string(MyDemoGetHeight()) + " - " +
                             std::to_string(expected.colourBits) + " bpp - " +
                             std::to_string(expected.depthBits) + " depth";
    EXPECT_TRUE(log.Contains(line)) << line;
    EXPECT_EQ(VIGetRetraceCount(), retraces + 2) << "two frames were shown";
    const GXColor clear = GXGetCopyState().clearColor;
    EXPECT_EQ((std::array{clear.r, clear.g, clear.b, clear.a}), (std::array<u8, 4>{0, 0, 0, 0}));
    EXPECT_EQ(GXReadEFBColorForTest(3, 0) & 0xFFFFFF, 0u) << "the copies cleared to black";

    EXPECT_EQ(kRender::SurfaceCreate(krSurfaceDesc()), nullptr);
    EXPECT_TRUE(log.Contains("SurfaceCreate: Primary surface already created"));
}

INSTANTIATE_TEST_SUITE_P(PixelFormats, PrimarySurfaceTest,
                         testing::Values(FormatCase{GX_FALSE, 24, 8, 24},
                                         FormatCase{GX_TRUE, 16, 0, 16}));

using RenderDeviceTest = RenderTest;

TEST_F(RenderDeviceTest, BufferClearDropsTheAlphaByte) {
    kRender::BufferClear(0x40FF8020);
    const GXCopyState& copy = GXGetCopyState();
    EXPECT_EQ(copy.clearColor.r, 0xFF);
    EXPECT_EQ(copy.clearColor.g, 0x80);
    EXPECT_EQ(copy.clearColor.b, 0x20);
    EXPECT_EQ(copy.clearColor.a, 0x00);
    EXPECT_EQ(copy.clearZ, 0xFFFFFFu);
}

TEST_F(RenderDeviceTest, SelectingTheCurrentSurfaceChangesNothingButStillFlushesTheBatch) {
    GXSetViewport(1, 2, 3, 4, 0, 1);
    kRender::TransformSet(KR_TRANSFORM_WORLD, krMatrixIdentity());
    kRender::PostGeometryAdv(KR_PRIM_POINTLIST, 0, 0, nullptr, nullptr, 0);
    ASSERT_FALSE(kRender::GetRenderState().dirtyVPMatrix);
    krDrawHelp::DrawRect(0, 0.1f, 0.1f, 0.2f, 0.2f, 0xFFFFFFFF);
    const u32 draws = kRender::GetDrawCallCount();

    EXPECT_TRUE(kRender::SurfaceSelect(m_surface));

    EXPECT_EQ(kRender::GetDrawCallCount(), draws + 1);
    EXPECT_EQ(GXGetViewportState().left, 1.0f);
    EXPECT_EQ(GXGetViewportState().height, 4.0f);
    EXPECT_FALSE(kRender::GetRenderState().dirtyVPMatrix) << "the screen matrix was kept";

    krDrawHelp::DrawRect(0, 0.1f, 0.1f, 0.2f, 0.2f, 0xFFFFFFFF);
    EXPECT_FALSE(kRender::SurfaceSelect(nullptr));
    EXPECT_EQ(kRender::GetDrawCallCount(), draws + 2);
    EXPECT_EQ(kRender::SurfaceGetCurrent(), m_surface);
}

TEST_F(RenderDeviceTest, SwapFlushesTheBatchAndShowsOneFrame) {
    krDrawHelp::DrawRect(0, 0.1f, 0.1f, 0.2f, 0.2f, 0xFFFFFFFF);
    const u32 draws = kRender::GetDrawCallCount();
    const u32 retraces = VIGetRetraceCount();
    kRender::BufferSwap();
    EXPECT_EQ(kRender::GetDrawCallCount(), draws + 1);
    EXPECT_EQ(VIGetRetraceCount(), retraces + 1);
}

krMatrix Translation(float x, float y, float z) {
    krMatrix m = krMatrixIdentity();
    krElement(m, 3, 0) = x;
    krElement(m, 3, 1) = y;
    krElement(m, 3, 2) = z;
    return m;
}

// A draw rebuilds the products a changed transform touches: the world changes only
// world x view and the full product; the view changes projection x screen as well.
TEST_F(RenderDeviceTest, DrawRebuildsOnlyTheProductsAChangedTransformTouches) {
    const krRenderState& rs = kRender::GetRenderState();
    kRender::PostGeometryAdv(KR_PRIM_POINTLIST, 0, 0, nullptr, nullptr, 0);
    krMatrix projection = krMatrixIdentity();
    krElement(projection, 0, 0) = 2.0f;
    kRender::TransformSet(KR_TRANSFORM_PROJECTION, projection);
    kRender::PostGeometryAdv(KR_PRIM_POINTLIST, 0, 0, nullptr, nullptr, 0);
    EXPECT_EQ(krElement(rs.ps, 0, 0), 2.0f);

    kRender::TransformSet(KR_TRANSFORM_WORLD, Translation(1, 2, 3));
    const krMatrix psBefore = rs.ps;
    kRender::PostGeometryAdv(KR_PRIM_POINTLIST, 0, 0, nullptr, nullptr, 0);
    EXPECT_EQ(krElement(rs.wv, 3, 1), 2.0f);
    EXPECT_EQ(krElement(rs.WVPMatrix, 3, 0), 2.0f) << "world x view x projection";
    EXPECT_EQ(std::memcmp(&rs.ps, &psBefore, sizeof(krMatrix)), 0);

    kRender::TransformSet(KR_TRANSFORM_VIEW, Translation(10, 0, 0));
    kRender::PostGeometryAdv(KR_PRIM_POINTLIST, 0, 0, nullptr, nullptr, 0);
    EXPECT_EQ(krElement(rs.wv, 3, 0), 11.0f);
    EXPECT_EQ(krElement(rs.WVPMatrix, 3, 0), 22.0f);
    EXPECT_FALSE(rs.dirtyMatrix || rs.dirtyVPMatrix);
    kRender::TransformSet(static_cast<krTransformType>(3), Translation(5, 5, 5));
    EXPECT_FALSE(rs.dirtyMatrix) << "an unknown transform is ignored";
}

TEST_F(RenderDeviceTest, CameraLooksDownZWithNearPlaneOneAndFarPlane3000) {
    krCamera camera;
    u32 bits = 0;
    std::memcpy(&bits, &krElement(camera.projectionMatrix, 2, 2), sizeof(bits));
    EXPECT_EQ(bits, 0x3F800AEDu);
    EXPECT_EQ(krElement(camera.projectionMatrix, 0, 0), 1.0f);
    EXPECT_EQ(krElement(camera.projectionMatrix, 1, 1), 1.3f);
    EXPECT_EQ(krElement(camera.projectionMatrix, 2, 3), 1.0f);
    EXPECT_EQ(krElement(camera.projectionMatrix, 3, 2), -krElement(camera.projectionMatrix, 2, 2));

    // Placed at (1, 2, 3) turned a quarter about y: the view undoes both.
    krMatrix& place = camera.localToWorld;
    place = Translation(1, 2, 3);
    krElement(place, 0, 0) = 0;
    krElement(place, 0, 2) = -1;
    krElement(place, 2, 0) = 1;
    krElement(place, 2, 2) = 0;
    camera.Select();
    const krMatrix product = krMatrixMultiply(place, kRender::GetRenderState().viewMatrix);
    for (unsigned int r = 0; r < 4; ++r) {
        for (unsigned int c = 0; c < 4; ++c) {
            EXPECT_NEAR(krElement(product, r, c), r == c ? 1.0f : 0.0f, 1e-6f) << r << c;
        }
    }
    EXPECT_TRUE(kRender::GetRenderState().dirtyVPMatrix);
}

class CountingShader : public krShaderFF {
public:
    bool Select(const krRenderState&) override {
        ++selected;
        return true;
    }
    int selected = 0;
};

TEST_F(RenderDeviceTest, ALocalShaderHandsBackToTheDefaultWhenDestroyed) {
    {
        CountingShader local;
        kRender::SetShader(&local);
        EXPECT_EQ(local.selected, 1);
        EXPECT_EQ(kRender::GetShader(), &local);
    }
    EXPECT_EQ(kRender::GetShader(), kRender::GetDefaultShader());
    { CountingShader notCurrent; }
    EXPECT_EQ(kRender::GetShader(), kRender::GetDefaultShader());
}

TEST_F(RenderDeviceTest, PointsAndUserPrimitivesAreNotDrawn) {
    const u32 draws = kRender::GetDrawCallCount();
    krShaderFF shader;
    krShader2D flat;
    for (krShader* s : {static_cast<krShader*>(&shader), static_cast<krShader*>(&flat)}) {
        EXPECT_FALSE(s->ProcessGeometry(kRender::GetRenderState(), KR_PRIM_POINTLIST, 0, 3));
        EXPECT_FALSE(s->ProcessGeometry(kRender::GetRenderState(), KR_PRIM_USER, 0, 3));
    }
    kRender::PostGeometryAdv(KR_PRIM_POINTLIST, 0, 3, nullptr, nullptr, 0);
    EXPECT_EQ(kRender::GetDrawCallCount(), draws);
}

} // namespace
