// The sprite loop's pixels sixteen at a time with AVX-512BW or eight at a time with AVX2,
// for the lines of screen-aligned rectangles whose columns read one texel after another
// (text, sprites drawn 1:1). Each loop is built for its instruction set alone;
// GXWideSpritePixelLoop picks the widest the processor runs, and the caller draws what
// the loop leaves of the line itself.
#pragma once

#include <console/types.h>

// What the pixels of a rectangle's lines read: each line's texels, each column's weight
// (the same on every line), and the colour they are multiplied by.
struct GXSpritePixels {
    const u32* const* rows; // per line, its texel row; element i + 1 is texel i
    const u64* weight;      // per column, its bilinear weight in four 16-bit lanes
    s32 offset;             // column x reads element x + offset (bilinear: and the next)
    u64 modulation;         // blue, green, red, alpha weights in 16-bit lanes, 256 meaning one
};

// The lines a loop draws: `count` of them from `first` on, `stride` pixels apart.
struct GXSpriteLines {
    u32* first;
    u32 count;
    u32 stride;
};

// A loop drawing columns from xBegin on before xEnd of every line, line i from
// pixels.rows[i], returning the first column it left (the same on every line): the AVX2
// one draws groups of eight, the AVX-512 one every column.
using GXSpritePixelLoop = u32 (*)(const GXSpritePixels& pixels, const GXSpriteLines& lines,
                                  u32 xBegin, u32 xEnd);

// The widest loop the processor runs that filters across or not, modulates or not and
// blends by source alpha or not; null when it runs none.
GXSpritePixelLoop GXWideSpritePixelLoop(bool linear, bool modulate, bool blend);

// Limits the loops GXWideSpritePixelLoop picks to those of at most `pixels` a step (16, 8,
// or 0 for none), so that tests reach each of them.
void GXLimitSpritePixelStepForTest(u32 pixels);

#if defined(__x86_64__)
GXSpritePixelLoop GXSpritePixelLoopAvx2(bool linear, bool modulate, bool blend);
GXSpritePixelLoop GXSpritePixelLoopAvx512(bool linear, bool modulate, bool blend);
#endif
