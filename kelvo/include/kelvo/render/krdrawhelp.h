// krDrawHelp: batched 2-D drawing. Quads are queued into one static batch of up to
// 1,000 quads that share a key (texture, point sampling, blending, wrap) and drawn in
// one call when the key changes, a flag asks, the batch is full, or kRender swaps or
// selects a surface. Positions are display fractions (0 to 1, y down) or, with
// KR_DRAW_PIXELS, pixels of the current surface. Main thread only; nothing fails.
#pragma once

#include <kelvo/containers/kresource.h>
#include <kelvo/render/krtextureresourcewii.h>

namespace Kelvo_lib {

// Flags of a draw call; other bits are ignored.
enum : unsigned int {
    KR_DRAW_FLUSH = 0x1,       // flush right after this quad
    KR_DRAW_FRACTIONS = 0x2,   // accepted; positions are fractions unless KR_DRAW_PIXELS
    KR_DRAW_POINTSAMPLE = 0x4, // part of the batch key
    KR_DRAW_PIXELS = 0x8,
    KR_DRAW_CENTRED = 0x20,  // DrawRect: the rectangle is centred on (x, y)
    KR_DRAW_ALONE = 0x100,   // flushed before and after, in a draw of its own
    KR_DRAW_NOBLEND = 0x200, // part of the batch key
    KR_DRAW_WRAP = 0x400,    // part of the batch key
};

class krDrawHelp {
public:
    static constexpr int kMaxQuads = 1000;

    // A quad of four free corners: corner i at (xi, yi) with (ui, vi) and colour i
    // (0xAARRGGBB); corners 0, 1, 3 and 0, 3, 2 form its triangles.
    static void DrawSubBitmap(unsigned int flags, RcPtr<krTextureResourceWII> texture, float x0,
                              float y0, float x1, float y1, float x2, float y2, float x3, float y3,
                              float u0, float v0, float u1, float v1, float u2, float v2, float u3,
                              float v3, unsigned int colour0, unsigned int colour1,
                              unsigned int colour2, unsigned int colour3);
    // An untextured rectangle of one colour from (x, y) to (x + w, y + h); a rectangle
    // of zero width or height is dropped.
    static void DrawRect(unsigned int flags, float x, float y, float w, float h,
                         unsigned int colour);
    // Draws and empties the batch.
    static void Flush();
};

} // namespace Kelvo_lib
