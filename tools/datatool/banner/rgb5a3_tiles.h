// The graphics processor's RGB5A3 texture layout, in which the save banner and its icons
// are stored: 16-bit big-endian pixels, an opaque one as 1 RRRRR GGGGG BBBBB, any other as
// 0 AAA RRRR GGGG BBBB, in tiles of 4 x 4 pixels (rows within a tile, tiles left to right
// then top to bottom). Pure functions; header-only so that the tests build them too.
#pragma once

#include "sprites/argb_image.h"

#include <cstdint>
#include <vector>

namespace datatool {

constexpr unsigned int kRgb5a3TileSize = 4;

// Alpha that rounds to the top of the 3-bit scale is stored as opaque, with 5-bit colour.
inline std::uint16_t PackRgb5a3(std::uint32_t argb) {
    const std::uint32_t a = argb >> 24;
    const std::uint32_t r = (argb >> 16) & 0xFF;
    const std::uint32_t g = (argb >> 8) & 0xFF;
    const std::uint32_t b = argb & 0xFF;
    if ((a >> 5) == 7) {
        return static_cast<std::uint16_t>(0x8000 | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3));
    }
    return static_cast<std::uint16_t>((a >> 5) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4));
}

// The image's width and height must be multiples of the tile size.
inline std::vector<unsigned char> TileRgb5a3(const ArgbImage& image) {
    std::vector<unsigned char> bytes;
    bytes.reserve(static_cast<std::size_t>(image.width) * image.height * 2);
    for (unsigned int tileY = 0; tileY < image.height; tileY += kRgb5a3TileSize) {
        for (unsigned int tileX = 0; tileX < image.width; tileX += kRgb5a3TileSize) {
            for (unsigned int y = tileY; y < tileY + kRgb5a3TileSize; ++y) {
                for (unsigned int x = tileX; x < tileX + kRgb5a3TileSize; ++x) {
                    const std::uint16_t pixel = PackRgb5a3(image.At(x, y));
                    bytes.push_back(static_cast<unsigned char>(pixel >> 8));
                    bytes.push_back(static_cast<unsigned char>(pixel));
                }
            }
        }
    }
    return bytes;
}

} // namespace datatool
