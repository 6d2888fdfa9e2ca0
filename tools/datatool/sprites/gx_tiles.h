// The graphics processor's tiled texture layout, in which sprite bank pages are stored
// so that they decode straight into a texture. Pure functions.
#pragma once

#include "argb_image.h"

#include <vector>

namespace datatool {

constexpr unsigned int kRGBA8TileSize = 4; // 4 x 4 pixels in 64 bytes
constexpr unsigned int kRGBA8TileBytes = 64;

// GX RGBA8 tiles, left to right then top to bottom: in each, the alpha-red pairs of its
// 16 pixels row by row, then their green-blue pairs. The image's width and height must
// be multiples of the tile size.
std::vector<unsigned char> TileRGBA8(const ArgbImage& image);

} // namespace datatool
