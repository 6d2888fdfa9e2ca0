// RGBA8 tile rows decoded with AVX2's byte shuffle against the texel-by-texel decode,
// over every row of a tile, runs of one to three tiles and bytes covering 0 to 255.
#include "gx/rgba8_tiles.h"
#include "gx/runtime_simd.h"
#include "gx/texture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr s32 kTiles = 3;

TEST(GXRgba8Tiles, Avx2RowsMatchTheTexelDecode) {
    if (!GXHasAvx2()) {
        GTEST_SKIP() << "the processor has no AVX2";
    }
    std::vector<u8> image(kTiles * 64 + 1);
    for (u32 i = 0; i < image.size(); ++i) {
        image[i] = static_cast<u8>(i * 167 + 255);
    }
    GXTextureSampler sampler{};
    sampler.image = image.data();
    sampler.format = GX_TF_RGBA8;
    sampler.width = kTiles * 4;
    sampler.height = 4;
    sampler.tilesPerRow = kTiles;
    for (u32 row = 0; row < 4; ++row) {
        for (s32 first = 0; first < kTiles; ++first) {
            std::vector<u32> texels(4 * (kTiles - first) + 1, 0xDEADBEEF);
            GXDecodeRgba8TileRowAvx2(image.data() + first * 64, row, kTiles - first, texels.data());
            for (s32 x = 4 * first; x < 4 * kTiles; ++x) {
                EXPECT_EQ(texels[x - 4 * first],
                          gx_texture::Fetch<GX_TF_RGBA8>(sampler, x, static_cast<s32>(row)))
                    << "row " << row << " texel " << x;
            }
            EXPECT_EQ(texels.back(), 0xDEADBEEF) << "written past the run";
        }
    }
}

} // namespace
