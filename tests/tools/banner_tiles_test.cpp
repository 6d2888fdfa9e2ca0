// The save banner's RGB5A3 tiles: pixel packing at the opaque / translucent boundary and
// the order of tiles and of pixels inside them.
#include "banner/rgb5a3_tiles.h"

#include <console/nand.h>

#include <gtest/gtest.h>

namespace {

using datatool::ArgbImage;
using datatool::PackRgb5a3;
using datatool::TileRgb5a3;

TEST(BannerTilesTest, PacksOpaqueAndTranslucentPixels) {
    const std::pair<std::uint32_t, std::uint16_t> cases[] = {
        {0xFFFFFFFF, 0xFFFF}, // opaque: 1 and 5-bit channels
        {0xFFFF0000, 0xFC00}, {0xFF0008F8, 0x803F},
        {0xE0000000, 0x8000}, // alpha at the top of the 3-bit scale counts as opaque
        {0xDFFFFFFF, 0x6FFF}, // just below: 3-bit alpha 6, 4-bit channels
        {0x80FF0000, 0x4F00}, {0x1F123456, 0x0135},
        {0x00000000, 0x0000},
    };
    for (const auto& [argb, packed] : cases) {
        EXPECT_EQ(PackRgb5a3(argb), packed) << std::hex << argb;
    }
}

TEST(BannerTilesTest, WritesTilesOfFourByFourLeftToRightThenDown) {
    ArgbImage image(8, 8);
    for (unsigned int y = 0; y < 8; ++y) {
        for (unsigned int x = 0; x < 8; ++x) {
            image.Set(x, y, 0xFF000000u | (x << 3) << 16 | (y << 3) << 8); // red x, green y
        }
    }
    const std::vector<unsigned char> bytes = TileRgb5a3(image);
    ASSERT_EQ(bytes.size(), 8u * 8u * 2u);
    const auto pixelAt = [&](size_t index) { return bytes[2 * index] << 8 | bytes[2 * index + 1]; };
    const auto expected = [](unsigned int x, unsigned int y) { return 0x8000 | x << 10 | y << 5; };
    EXPECT_EQ(pixelAt(0), expected(0, 0));
    EXPECT_EQ(pixelAt(1), expected(1, 0));
    EXPECT_EQ(pixelAt(4), expected(0, 1)) << "rows within a tile";
    EXPECT_EQ(pixelAt(16), expected(4, 0)) << "the next tile to the right";
    EXPECT_EQ(pixelAt(32), expected(0, 4)) << "then the next row of tiles";
    EXPECT_EQ(pixelAt(63), expected(7, 7));
}

TEST(BannerTilesTest, BannerAndIconsHaveTheSizesTheGameReads) {
    EXPECT_EQ(TileRgb5a3(ArgbImage(NAND_BANNER_TEXTURE_WIDTH, NAND_BANNER_TEXTURE_HEIGHT)).size(),
              24576u);
    EXPECT_EQ(TileRgb5a3(ArgbImage(NAND_BANNER_ICON_WIDTH, NAND_BANNER_ICON_HEIGHT)).size(), 4608u);
}

} // namespace
