// The 2-D batch: where quads land in clip space, and when the batch is drawn, counted
// through the draw calls it makes.
#include "render_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace Kelvo_lib;
using render_fixture::RenderTest;

namespace {

struct BatchVertex {
    float x, y, z;
    u32 colour;
    float u, v;
};

class DrawBatchTest : public RenderTest {
protected:
    void SetUp() override {
        RenderTest::SetUp();
        m_pageA = krTextureResourceWII::CreateTexture(8, 8, 1, K_IMAGE_BGRA_8888);
        m_pageB = krTextureResourceWII::CreateTexture(8, 8, 1, K_IMAGE_BGRA_8888);
        m_draws = kRender::GetDrawCallCount();
    }

    u32 Draws() const { return kRender::GetDrawCallCount() - m_draws; }

    // The vertices of the last draw.
    std::vector<BatchVertex> LastDrawn() const {
        const VertexStream& stream = kRender::GetRenderState().stream[0];
        std::vector<BatchVertex> vertices(stream.numVerts);
        std::memcpy(vertices.data(), stream.pData, vertices.size() * sizeof(BatchVertex));
        return vertices;
    }

    void Sprite(unsigned int flags, const RcPtr<krTextureResourceWII>& page) {
        krDrawHelp::DrawSubBitmap(flags, page, 0.1f, 0.1f, 0.2f, 0.1f, 0.1f, 0.2f, 0.2f, 0.2f, 0, 0,
                                  1, 0, 0, 1, 1, 1, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF);
    }

    RcPtr<krTextureResourceWII> m_pageA;
    RcPtr<krTextureResourceWII> m_pageB;
    u32 m_draws = 0;
};

struct Point {
    float x, y;
};

void ExpectCorners(const std::vector<BatchVertex>& vertices, const Point (&corners)[4]) {
    ASSERT_EQ(vertices.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(vertices[i].x, corners[i].x) << "corner " << i;
        EXPECT_FLOAT_EQ(vertices[i].y, corners[i].y) << "corner " << i;
        EXPECT_EQ(vertices[i].z, 0.0f);
    }
}

TEST_F(DrawBatchTest, RectangleInDisplayFractionsBecomesClipCornersWithRgbaColour) {
    krDrawHelp::DrawRect(KR_DRAW_FLUSH, 0.25f, 0.25f, 0.5f, 0.5f, 0xFF00FF00);
    EXPECT_EQ(Draws(), 1u);
    const std::vector<BatchVertex> vertices = LastDrawn();
    ExpectCorners(vertices, {{-0.5f, 0.5f}, {0.5f, 0.5f}, {-0.5f, -0.5f}, {0.5f, -0.5f}});
    for (const BatchVertex& vertex : vertices) {
        EXPECT_EQ(vertex.colour, 0x00FF00FFu);
    }
    EXPECT_EQ(vertices[3].u, 1.0f);
    EXPECT_EQ(vertices[3].v, 1.0f);
}

TEST_F(DrawBatchTest, CentredAndPixelRectanglesLandWhereTheFlagsSay) {
    krDrawHelp::DrawRect(KR_DRAW_CENTRED | KR_DRAW_FLUSH, 0.5f, 0.5f, 1.0f, 1.0f, 0xFFFFFFFF);
    ExpectCorners(LastDrawn(), {{-1, 1}, {1, 1}, {-1, -1}, {1, -1}});

    const float width = static_cast<float>(m_surface->GetDesc().xRes);
    const float height = static_cast<float>(m_surface->GetDesc().yRes);
    krDrawHelp::DrawRect(KR_DRAW_PIXELS | KR_DRAW_FLUSH, width / 2, height / 2, width / 2,
                         height / 2, 0xFFFFFFFF);
    SCOPED_TRACE("the lower right quarter");
    ExpectCorners(LastDrawn(), {{0, 0}, {1, 0}, {0, -1}, {1, -1}});
}

TEST_F(DrawBatchTest, FreeCornersKeepTheirOrderCoordinatesAndColours) {
    krDrawHelp::DrawSubBitmap(KR_DRAW_PIXELS | KR_DRAW_FLUSH, m_pageA, 0, 0,
                              static_cast<float>(m_surface->GetDesc().xRes), 0, 0, 0, 0, 0, 0.1f,
                              0.2f, 0.3f, 0.4f, 0.5f, 0.6f, 0.7f, 0.8f, 0x11223344, 0x55667788,
                              0x99AABBCC, 0xDDEEFF00);
    const std::vector<BatchVertex> vertices = LastDrawn();
    ASSERT_EQ(vertices.size(), 4u);
    EXPECT_FLOAT_EQ(vertices[1].x, 1.0f);
    EXPECT_EQ(vertices[2].u, 0.5f);
    EXPECT_EQ(vertices[2].v, 0.6f);
    EXPECT_EQ(vertices[0].colour, 0x22334411u);
    EXPECT_EQ(vertices[3].colour, 0xEEFF00DDu);
}

TEST_F(DrawBatchTest, ThousandthQuadDrawsTheBatchAndTheNextStartsANewOne) {
    for (int i = 0; i < 999; ++i) {
        Sprite(0, m_pageA);
    }
    EXPECT_EQ(Draws(), 0u);
    Sprite(0, m_pageA);
    EXPECT_EQ(Draws(), 1u);
    EXPECT_EQ(kRender::GetRenderState().stream[0].numVerts, 4000u);
    Sprite(0, m_pageA);
    EXPECT_EQ(Draws(), 1u);
    krDrawHelp::Flush();
    EXPECT_EQ(Draws(), 2u);
    EXPECT_EQ(kRender::GetRenderState().stream[0].numVerts, 4u);
}

TEST_F(DrawBatchTest, AlternatingPagesDrawsAtEveryChange) {
    for (int i = 0; i < 10; ++i) {
        Sprite(0, i % 2 == 0 ? m_pageA : m_pageB);
    }
    EXPECT_EQ(Draws(), 9u);
    krDrawHelp::Flush();
    EXPECT_EQ(Draws(), 10u);
    krDrawHelp::Flush();
    EXPECT_EQ(Draws(), 10u) << "an empty batch draws nothing";
}

struct KeyCase {
    const char* name;
    unsigned int flags;
    u32 drawsBefore; // draws made while adding the flagged quad after one plain quad
    u32 drawsAfter;  // draws once a plain quad follows and the batch is flushed
};

void PrintTo(const KeyCase& keyCase, std::ostream* out) {
    *out << keyCase.name;
}

class DrawBatchKeyTest : public DrawBatchTest, public testing::WithParamInterface<KeyCase> {};

// One plain quad, the flagged quad, one plain quad, all of the same page.
TEST_P(DrawBatchKeyTest, FlagsSplitOrFlushTheBatch) {
    const KeyCase& key = GetParam();
    Sprite(0, m_pageA);
    Sprite(key.flags, m_pageA);
    EXPECT_EQ(Draws(), key.drawsBefore);
    Sprite(0, m_pageA);
    krDrawHelp::Flush();
    EXPECT_EQ(Draws(), key.drawsAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, DrawBatchKeyTest,
    testing::Values(KeyCase{"SameKey", 0, 0, 1}, KeyCase{"FractionsFlagChangesNothing", 0x2, 0, 1},
                    KeyCase{"FlushAfter", KR_DRAW_FLUSH, 1, 2},
                    KeyCase{"PointSample", KR_DRAW_POINTSAMPLE, 1, 3},
                    KeyCase{"NoBlend", KR_DRAW_NOBLEND, 1, 3}, KeyCase{"Wrap", KR_DRAW_WRAP, 1, 3},
                    KeyCase{"Alone", KR_DRAW_ALONE, 2, 3},
                    KeyCase{"UnknownBitsIgnored", 0x8000'0000u, 0, 1}),
    [](const testing::TestParamInfo<KeyCase>& info) { return std::string(info.param.name); });

TEST_F(DrawBatchTest, EmptyRectangleIsDroppedWithoutFlushingAnotherPage) {
    Sprite(0, m_pageA);
    krDrawHelp::DrawRect(0, 0.5f, 0.5f, 0.0f, 0.3f, 0xFFFFFFFF);
    krDrawHelp::DrawRect(KR_DRAW_ALONE, 0.5f, 0.5f, 0.3f, 0.0f, 0xFFFFFFFF);
    EXPECT_EQ(Draws(), 0u);
    krDrawHelp::Flush();
    EXPECT_EQ(Draws(), 1u);
    EXPECT_EQ(kRender::GetRenderState().stream[0].numVerts, 4u);
}

TEST_F(DrawBatchTest, FlushLeavesStageZeroEmptyAndReleasesThePage) {
    Sprite(0, m_pageA);
    EXPECT_EQ(m_pageA->m_refCount, 2u);
    krDrawHelp::Flush();
    EXPECT_EQ(m_pageA->m_refCount, 1u);
    EXPECT_EQ(kRender::GetRenderState().textureRef[0].Get(), nullptr);
    EXPECT_EQ(kRender::GetShader(), kRender::GetDefaultShader());
}

TEST_F(DrawBatchTest, PageIsLoadedAgainAtTheNextBatchAndRebuiltWhenDirty) {
    Sprite(KR_DRAW_FLUSH, m_pageA);
    void* tiles = m_pageA->texdata;
    ASSERT_TRUE(m_pageA->validObj);
    m_pageA->Dirty();
    Sprite(KR_DRAW_FLUSH, m_pageA);
    EXPECT_FALSE(m_pageA->dirty);
    EXPECT_EQ(m_pageA->texdata, tiles);
}

} // namespace
