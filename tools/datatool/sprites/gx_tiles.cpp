// GX RGBA8 tiling.
#include "gx_tiles.h"

namespace datatool {

std::vector<unsigned char> TileRGBA8(const ArgbImage& image) {
    std::vector<unsigned char> tiles(static_cast<std::size_t>(image.width) * image.height * 4);
    std::size_t tile = 0;
    for (unsigned int tileY = 0; tileY < image.height; tileY += kRGBA8TileSize) {
        for (unsigned int tileX = 0; tileX < image.width; tileX += kRGBA8TileSize) {
            unsigned char* out = &tiles[tile++ * kRGBA8TileBytes];
            for (unsigned int i = 0; i < kRGBA8TileSize * kRGBA8TileSize; ++i) {
                const std::uint32_t argb =
                    image.At(tileX + i % kRGBA8TileSize, tileY + i / kRGBA8TileSize);
                out[2 * i] = static_cast<unsigned char>(argb >> 24);
                out[2 * i + 1] = static_cast<unsigned char>(argb >> 16);
                out[32 + 2 * i] = static_cast<unsigned char>(argb >> 8);
                out[33 + 2 * i] = static_cast<unsigned char>(argb);
            }
        }
    }
    return tiles;
}

} // namespace datatool
