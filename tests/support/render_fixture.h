// A started render layer with its primary surface selected, for the render suites; and
// pictures read back from the embedded frame buffer over a known background.
#pragma once

#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <console/gx.h>

#include <gtest/gtest.h>

namespace render_fixture {

constexpr u32 kBackground = 0x203040;
constexpr u32 kRed = 0xFF0000;
constexpr u32 kGreen = 0x00FF00;
constexpr u32 kBlue = 0x0000FF;
constexpr u32 kWhite = 0xFFFFFF;

// The colour of a pixel of the embedded frame buffer, 0xRRGGBB.
inline u32 Pixel(u32 x, u32 y) {
    return GXReadEFBColorForTest(x, y) & 0xFFFFFF;
}

// The colour at (x, y) of a test picture of four quadrants: red top left, green top right,
// blue bottom left, white bottom right, so that a mirrored or turned picture shows.
inline u32 QuadrantColour(u32 x, u32 y, u32 width, u32 height) {
    const bool right = x >= width / 2;
    const bool bottom = y >= height / 2;
    return bottom ? (right ? kWhite : kBlue) : (right ? kGreen : kRed);
}

class RenderTest : public testing::Test {
protected:
    void SetUp() override {
        Kelvo_lib::kRender::Init();
        m_surface = Kelvo_lib::kRender::SurfaceCreate(Kelvo_lib::krSurfaceDesc());
        ASSERT_NE(m_surface, nullptr);
    }

    void TearDown() override {
        Kelvo_lib::krDrawHelp::Flush();
        Kelvo_lib::kRender::SurfaceDestroy(m_surface);
        Kelvo_lib::kRender::Deinit();
    }

    float DisplayWidth() const { return static_cast<float>(m_surface->GetDesc().xRes); }
    float DisplayHeight() const { return static_cast<float>(m_surface->GetDesc().yRes); }

    Kelvo_lib::krSurface* m_surface = nullptr;
};

// The render layer started on a frame cleared to kBackground.
class PictureTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        Kelvo_lib::kRender::BufferClear(0xFF000000 | kBackground);
        Kelvo_lib::kRender::BufferSwap(); // the copy clears the frame to the background
    }
};

} // namespace render_fixture
