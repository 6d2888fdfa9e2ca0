// Geometry input: vertex descriptions, streams, and textures bound to stages with their
// conversion into GX tiles.
#include "log_capture.h"
#include "render_fixture.h"

#include <kelvo/platform/kplatform.h>

#include <console/mem.h>

#include <gtest/gtest.h>

#include <vector>

using namespace Kelvo_lib;
using render_fixture::RenderTest;
using test_support::LogCapture;

namespace {

using VertexStreamTest = RenderTest;

TEST_F(VertexStreamTest, DescriptionFillsOffsetsAndSlotsOfItsAttributes) {
    kRender::SetVertexDesc(krVertexStruct::GetDesc());
    const krRenderState& rs = kRender::GetRenderState();
    EXPECT_EQ(rs.curVertexDesc, krVertexStruct::GetDesc());
    EXPECT_EQ(rs.posOffset, 0);
    EXPECT_EQ(rs.nrmOffset, 12);
    EXPECT_EQ(rs.colOffset[0], 24);
    EXPECT_EQ(rs.colOffset[1], -1);
    EXPECT_EQ(rs.texOffset[0], 28);
    EXPECT_EQ(rs.texOffset[1], -1);

    krVertexDesc twoStreams;
    twoStreams.Reg(1, 8, KR_TYPE_FLOAT3, KR_USAGE_POSITION2D, 0);
    twoStreams.Reg(2, 4, KR_TYPE_COLOUR565, KR_USAGE_COLOUR, 1);
    twoStreams.Reg(2, 0, KR_TYPE_FLOAT2, KR_USAGE_TEXCOORD, 7);
    twoStreams.Reg(3, 16, KR_TYPE_FLOAT2, KR_USAGE_TEXCOORD, 7); // the later entry wins
    kRender::SetVertexDesc(&twoStreams);
    EXPECT_EQ(rs.posOffset, 8);
    EXPECT_EQ(rs.posStream, 1);
    EXPECT_EQ(rs.nrmOffset, -1);
    EXPECT_EQ(rs.colOffset[0], -1);
    EXPECT_EQ(rs.colOffset[1], 4);
    EXPECT_EQ(rs.colStream[1], 2);
    EXPECT_EQ(rs.texOffset[0], -1);
    EXPECT_EQ(rs.texOffset[7], 16);
    EXPECT_EQ(rs.texStream[7], 3);
}

// A description already current is not programmed again (an entry added since has no
// effect) until code that drew past the render layer sets g_resetWiiVertexDesc.
TEST_F(VertexStreamTest, SameDescriptionIsProgrammedAgainOnlyAfterAReset) {
    krVertexDesc desc;
    desc.Reg(0, 0, KR_TYPE_FLOAT3, KR_USAGE_POSITION, 0);
    kRender::SetVertexDesc(&desc);
    desc.Reg(0, 12, KR_TYPE_FLOAT2, KR_USAGE_TEXCOORD, 1);
    kRender::SetVertexDesc(&desc);
    EXPECT_EQ(kRender::GetRenderState().texOffset[1], -1);
    g_resetWiiVertexDesc = true;
    kRender::SetVertexDesc(&desc);
    EXPECT_EQ(kRender::GetRenderState().texOffset[1], 12);
    EXPECT_FALSE(g_resetWiiVertexDesc);
}

struct BadDescCase {
    const char* name;
    unsigned int type, usage, usageIndex;
    const char* message;
};

class VertexDescDeathTest : public testing::TestWithParam<BadDescCase> {};

TEST_P(VertexDescDeathTest, InvalidDescriptionStopsWithItsMessage) {
    const BadDescCase& bad = GetParam();
    krVertexDesc desc;
    desc.Reg(0, 0, KR_TYPE_FLOAT3, KR_USAGE_POSITION, 0);
    desc.Reg(0, 12, bad.type, bad.usage, bad.usageIndex);
    EXPECT_DEATH(kRender::SetVertexDesc(&desc), bad.message);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, VertexDescDeathTest,
    testing::Values(BadDescCase{"ColourIndexTwo", KR_TYPE_COLOUR, KR_USAGE_COLOUR, 2,
                                "Invalid usage index for colour \\(0 or 1 valid\\)"},
                    BadDescCase{"ColourOfFloats", KR_TYPE_FLOAT3, KR_USAGE_COLOUR, 0,
                                "Invalid type specified for colour \\(should be TYPE_COLOUR\\)"},
                    BadDescCase{"TexCoordIndexEight", KR_TYPE_FLOAT2, KR_USAGE_TEXCOORD, 8,
                                "Invalid usage index for texture \\(0-7 valid\\)"},
                    BadDescCase{"TexCoordOfColour", KR_TYPE_COLOUR, KR_USAGE_TEXCOORD, 0,
                                "Invalid type specified for tex coord"},
                    BadDescCase{"NormalOfTwoFloats", KR_TYPE_FLOAT2, KR_USAGE_NORMAL, 0,
                                "Invalid type specified for normal"},
                    BadDescCase{"UnsupportedUsage", KR_TYPE_FLOAT3, 4, 0,
                                "VertexDesc item type not supported"}),
    [](const testing::TestParamInfo<BadDescCase>& info) { return std::string(info.param.name); });

TEST(VertexDescDeathTest, DescriptionWithoutPositionStops) {
    krVertexDesc desc;
    desc.Reg(0, 0, KR_TYPE_FLOAT3, KR_USAGE_NORMAL, 0);
    EXPECT_DEATH(kRender::SetVertexDesc(&desc), "bGotPosition");
}

TEST_F(VertexStreamTest, StreamsCountWholeVerticesAndIgnoreEmptyOrInvalidOnes) {
    const std::vector<u8> data(252);
    kRender::SetVertexStream(1, data.data(), 36, 252, nullptr);
    const VertexStream& slot = kRender::GetRenderState().stream[1];
    EXPECT_EQ(slot.pData, data.data());
    EXPECT_EQ(slot.stride, 36u);
    EXPECT_EQ(slot.numVerts, 7u);

    const std::vector<u8> other(100);
    LogCapture log;
    kRender::SetVertexStream(1, other.data(), 36, 0, nullptr);
    kRender::SetVertexStream(1, other.data(), 0, 100, nullptr);
    kRender::SetVertexStream(8, other.data(), 36, 100, nullptr);
    EXPECT_EQ(slot.pData, data.data());
    EXPECT_EQ(slot.numVerts, 7u);
    EXPECT_EQ(log.lines.size(), 2u) << "a zero stride and stream 8 are reported";

    const u16 indices[3] = {0, 1, 2};
    kRender::SetIndexStream(indices, 2, sizeof(indices), nullptr);
    EXPECT_EQ(kRender::GetRenderState().pIndex, indices);
    EXPECT_EQ(kRender::GetRenderState().indexStride, 2u);
    kRender::SetIndexStream(data.data(), 2, 0, nullptr);
    EXPECT_EQ(kRender::GetRenderState().pIndex, indices);
}

TEST(VertexStreamDeathTest, IndicesAreSixteenBits) {
    const u32 indices[2] = {0, 1};
    EXPECT_DEATH(kRender::SetIndexStream(indices, 4, sizeof(indices), nullptr), "stride == 2");
}

// A draw whose indices name vertices past a stream is refused, not read out of bounds.
TEST_F(VertexStreamTest, DrawRefusesIndicesBeyondItsStreams) {
    const krVertexStruct vertices[3] = {{0, 0, 5, 0, 0, 1, 0xFFFFFFFF, 0, 0},
                                        {1, 0, 5, 0, 0, 1, 0xFFFFFFFF, 1, 0},
                                        {0, 1, 5, 0, 0, 1, 0xFFFFFFFF, 0, 1}};
    const u16 indices[6] = {0, 1, 2, 0, 2, 3};
    kRender::SetVertexDesc(krVertexStruct::GetDesc());
    kRender::SetVertexStream(0, vertices, sizeof(krVertexStruct), sizeof(vertices), nullptr);
    kRender::SetIndexStream(indices, 2, sizeof(indices), nullptr);
    const u32 draws = kRender::GetDrawCallCount();
    LogCapture log;
    kRender::PostGeometryAdv(KR_PRIM_TRILIST, 0, 6, nullptr, nullptr, 0);
    EXPECT_EQ(kRender::GetDrawCallCount(), draws);
    EXPECT_TRUE(log.Contains("index 5 names vertex 3 of 3"));
    kRender::PostGeometryAdv(KR_PRIM_TRILIST, 0, 9, nullptr, nullptr, 0);
    EXPECT_EQ(kRender::GetDrawCallCount(), draws) << "more indices than the stream holds";
    kRender::PostGeometryAdv(KR_PRIM_TRILIST, 0, 3, nullptr, nullptr, 0);
    EXPECT_EQ(kRender::GetDrawCallCount(), draws + 1);
}

RcPtr<krTextureResourceWII> MakeTexture(u32 width, u32 height, kIMAGE_TYPE type,
                                        const std::vector<u8>& level0) {
    RcPtr<krTextureResourceWII> texture(
        krTextureResourceWII::CreateTexture(width, height, 1, type));
    krTextureResourceLevel level{};
    texture->GetMipMapLevel(0, level);
    std::copy(level0.begin(), level0.end(), static_cast<u8*>(level.data));
    texture->Dirty();
    return texture;
}

// The tiled copy is the caller-visible texdata; a copy the test provides is filled in
// place, which shows the bytes the conversion leaves alone.
std::vector<u8> Tiles(RcPtr<krTextureResourceWII>& texture, u32 size, int stage = 0) {
    texture->texdata = MEMAllocFromAllocator(&MyDemoAllocator2, size);
    std::fill_n(static_cast<u8*>(texture->texdata), size, 0xEE);
    kRender::SetTextureResource(stage, texture);
    const u8* tiles = static_cast<const u8*>(texture->texdata);
    return {tiles, tiles + size};
}

TEST_F(VertexStreamTest, TwoByTwoRgbaWritesOnlyItsFourPixelsOfTheTile) {
    const std::vector<u8> argb = {0xA0, 0xA1, 0xA2, 0xA3, 0xB0, 0xB1, 0xB2, 0xB3,
                                  0xC0, 0xC1, 0xC2, 0xC3, 0xD0, 0xD1, 0xD2, 0xD3};
    RcPtr<krTextureResourceWII> texture = MakeTexture(2, 2, K_IMAGE_BGRA_8888, argb);
    std::vector<u8> expected(64, 0xEE);
    const int tileIndex[4] = {0, 1, 4, 5}; // (0,0), (0,1), (1,0), (1,1) in a 4 x 4 tile
    for (int p = 0; p < 4; ++p) {
        const int i = tileIndex[p];
        expected[2 * i] = argb[4 * p];
        expected[2 * i + 1] = argb[4 * p + 1];
        expected[32 + 2 * i] = argb[4 * p + 2];
        expected[33 + 2 * i] = argb[4 * p + 3];
    }
    EXPECT_EQ(Tiles(texture, 64), expected);
    EXPECT_TRUE(texture->validObj);
    EXPECT_EQ(texture->texObj.image, texture->texdata);
    EXPECT_EQ(texture->texObj.format, static_cast<u32>(GX_TF_RGBA8));
    EXPECT_EQ(kRender::GetRenderState().textureRef[0].Get(), texture.Get());
}

TEST_F(VertexStreamTest, Rgb565ExchangesRedAndBlueUnlessInverted) {
    RcPtr<krTextureResourceWII> texture = MakeTexture(1, 1, K_IMAGE_BGR_565, {0xF8, 0x00});
    std::vector<u8> tiles = Tiles(texture, 32);
    EXPECT_EQ(tiles[0], 0x00);
    EXPECT_EQ(tiles[1], 0x1F);
    EXPECT_EQ(tiles[2], 0xEE);

    RcPtr<krTextureResourceWII> inverted = MakeTexture(1, 1, K_IMAGE_BGR_565, {0xF8, 0x00});
    inverted->format |= WIITextureFormat::kInvert;
    LogCapture log;
    tiles = Tiles(inverted, 32, 1);
    EXPECT_EQ(tiles[0], 0xF8);
    EXPECT_EQ(tiles[1], 0x00);
    EXPECT_TRUE(log.Contains("  Converting invert"));
}

TEST_F(VertexStreamTest, PaletteTexturesTileByEightByFourAndLoadTheirPalette) {
    std::vector<u8> indices(16 * 4);
    for (size_t i = 0; i < indices.size(); ++i) {
        indices[i] = static_cast<u8>(i);
    }
    RcPtr<krTextureResourceWII> texture = MakeTexture(16, 4, K_IMAGE_PAL_8, indices);
    const std::vector<u8> tiles = Tiles(texture, 64);
    EXPECT_EQ(tiles[0], 0);
    EXPECT_EQ(tiles[7], 7);
    EXPECT_EQ(tiles[8], 16) << "second row of the first tile";
    EXPECT_EQ(tiles[32], 8) << "the second tile starts at column 8";
    EXPECT_EQ(tiles[63], 63);
    EXPECT_EQ(texture->texObj.format, static_cast<u32>(GX_TF_C8));
    EXPECT_EQ(texture->texObj.tlut, static_cast<u32>(GX_TLUT0));
    EXPECT_EQ(texture->tlutObj.table, texture->GetTableData());
    EXPECT_EQ(texture->tlutObj.format, GX_TL_RGB5A3);
    EXPECT_EQ(texture->tlutObj.entryCount, 256);
}

TEST_F(VertexStreamTest, PreswizzledLevelIsBoundInPlace) {
    RcPtr<krTextureResourceWII> texture(
        krTextureResourceWII::CreateTexture(8, 8, 1, K_IMAGE_BGRA_8888));
    texture->preswizzled = true;
    kRender::SetTextureResource(0, texture);
    EXPECT_EQ(texture->texdata, texture->GetMipMapData(0));
    EXPECT_TRUE(texture->validObj);
}

// Rebinding the texture a stage holds costs nothing, even when it was marked dirty;
// after the stage let go, the next bind rebuilds.
TEST_F(VertexStreamTest, DirtyTextureIsRebuiltAtItsNextBindOnly) {
    RcPtr<krTextureResourceWII> texture = MakeTexture(1, 1, K_IMAGE_BGR_565, {0xF8, 0x00});
    kRender::SetTextureResource(2, texture);
    u8* tiles = static_cast<u8*>(texture->texdata);
    ASSERT_EQ(tiles[1], 0x1F);
    static_cast<u8*>(texture->GetMipMapData(0))[0] = 0x00;
    static_cast<u8*>(texture->GetMipMapData(0))[1] = 0x1F;
    texture->Dirty();
    kRender::SetTextureResource(2, texture);
    EXPECT_EQ(tiles[1], 0x1F) << "the stage already held it";
    EXPECT_TRUE(texture->dirty);

    kRender::SetTextureResource(2, RcPtr<krTextureResourceWII>());
    kRender::SetTextureResource(2, texture);
    EXPECT_FALSE(texture->dirty);
    EXPECT_EQ(texture->texdata, tiles) << "the copy is reused";
    EXPECT_EQ(tiles[0], 0xF8);
    EXPECT_EQ(tiles[1], 0x00);
}

TEST_F(VertexStreamTest, StagesOutsideTheEightAreIgnoredAndNullDropsTheReference) {
    RcPtr<krTextureResourceWII> texture(
        krTextureResourceWII::CreateTexture(4, 4, 1, K_IMAGE_PAL_8));
    kRender::SetTextureResource(-1, texture);
    kRender::SetTextureResource(8, texture);
    EXPECT_EQ(texture->m_refCount, 1u);
    EXPECT_FALSE(texture->validObj);
    kRender::SetTextureResource(0, texture);
    EXPECT_EQ(texture->m_refCount, 2u);
    kRender::SetTextureResource(0, RcPtr<krTextureResourceWII>());
    EXPECT_EQ(texture->m_refCount, 1u);
    EXPECT_EQ(kRender::GetRenderState().textureRef[0].Get(), nullptr);
}

TEST_F(VertexStreamTest, TextureWithoutLevelsIsReportedAndStillHeld) {
    RcPtr<krTextureResourceWII> texture(
        krTextureResourceWII::CreateTexture(4, 4, 0, K_IMAGE_BGRA_8888));
    LogCapture log;
    kRender::SetTextureResource(0, texture);
    EXPECT_TRUE(log.Contains("Error couldn't load texture object!"));
    EXPECT_FALSE(texture->validObj);
    EXPECT_EQ(kRender::GetRenderState().textureRef[0].Get(), texture.Get());
}

} // namespace
