// The sprite loop's pixels eight at a time with AVX2, for the lines of screen-aligned
// rectangles whose columns read one texel after another (text, sprites drawn 1:1). Built
// for AVX2 alone: the caller checks that the processor has it (GXHasAvx2) and draws what
// is left of the line itself.
#pragma once

#include <console/types.h>

// What the pixels of one line read: texels, each column's weight, and the colour they are
// multiplied by.
struct GXSpritePixels {
    const u32* row;    // the texel row; element i + 1 is texel i
    const u64* weight; // per column, its bilinear weight in four 16-bit lanes
    s32 offset;        // column x reads element x + offset (bilinear: and the next)
    u64 modulation;    // blue, green, red, alpha weights in 16-bit lanes, 256 meaning one
};

// A loop drawing columns from xBegin on of `line` in groups of eight before xEnd,
// returning the first column it left.
using GXSpritePixelLoop = u32 (*)(const GXSpritePixels& pixels, u32* line, u32 xBegin, u32 xEnd);

#if defined(__x86_64__)
// The loop that filters across or not, modulates or not and blends by source alpha or not.
GXSpritePixelLoop GXSpritePixelLoopAvx2(bool linear, bool modulate, bool blend);
#endif
