// Converts a 16-bit YUV 4:2:2 external frame buffer (BT.601 studio range, pixel pairs
// stored as Y0, Cb, Y1, Cr) to RGB8 for the host's window and screenshots.
#pragma once

#include <console/types.h>

// width is even; the frame buffer has rows of xfbStride bytes (at least width * 2);
// rgb gets rows of rgbPitch bytes (at least width * 3).
void VIConvertXfbToRgb(const u8* xfb, u32 xfbStride, u32 width, u32 height, u8* rgb, u32 rgbPitch);
