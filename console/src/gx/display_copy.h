// The display copy: converts a rectangle of the embedded frame buffer into a 16-bit
// YUV 4:2:2 external frame buffer (BT.601 studio range; each pixel pair is the four
// bytes Y0, Cb, Y1, Cr), scaled vertically to the copy's line count by taking the
// nearest source line. Writes at most dstWidth x min(lines, dstHeight) pixels, rows of
// dstWidth * 2 bytes. Main thread only.
#pragma once

#include <console/gx.h>

class EmbeddedFrameBuffer;

// External frame buffer lines that a copy of sourceHeight lines at the 8.8 inverse
// scale yScale (1 to 256) produces.
u32 GXDisplayCopyLines(u32 sourceHeight, u32 yScale);

// The copy state's source rectangle must lie inside the embedded frame buffer. With
// clear, the whole rectangle is then filled with the clear colour and depth, each line as
// soon as the copy has read it for the last time, while it is still in the cache.
void GXCopyToExternalFrameBuffer(EmbeddedFrameBuffer& efb, const GXCopyState& copy, u8* destination,
                                 bool clear);
