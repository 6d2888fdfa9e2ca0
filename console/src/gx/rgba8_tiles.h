// One row of texels across whole RGBA8 tiles (4 x 4 texels of 64 bytes: alpha-red
// pairs, then green-blue pairs) to 0xAARRGGBB, with AVX2's byte shuffle: built for AVX2
// alone, so the caller checks that the processor has it (GXHasAvx2).
#pragma once

#include <console/types.h>

// Row `row` (0 to 3) of `tiles` consecutive tiles from `tile` on, four texels a tile, to
// out[0] on.
void GXDecodeRgba8TileRowAvx2(const u8* tile, u32 row, u32 tiles, u32* out);
