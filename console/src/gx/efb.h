// The embedded frame buffer: 640 x 528 colour words (0xAARRGGBB) and depth words
// (24 bits), one static instance owned by GX. Writes keep only what the selected
// pixel format holds; writes outside the buffer are dropped and reads outside it
// give 0. The rasteriser writes whole spans through the row accessors. A fill of whole
// lines leaves their depth to be written when something first uses it, as most frames
// draw without a depth test. Main thread only.
#pragma once

#include <console/gx.h>

class EmbeddedFrameBuffer {
public:
    static constexpr u32 kWidth = 640;
    static constexpr u32 kHeight = 528;

    // An unknown format is reported and RGB8/Z24 is used instead.
    void SetPixelFormat(GXPixelFmt format);
    GXPixelFmt PixelFormat() const { return m_format; }

    static bool Contains(u32 x, u32 y) { return x < kWidth && y < kHeight; }

    void WriteColour(u32 x, u32 y, u32 argb) {
        if (Contains(x, y)) {
            m_colour[y * kWidth + x] = StoredColour(argb);
        }
    }
    void WriteDepth(u32 x, u32 y, u32 depth) {
        if (Contains(x, y)) {
            DepthRow(y)[x] = StoredDepth(depth);
        }
    }
    u32 ReadColour(u32 x, u32 y) const { return Contains(x, y) ? m_colour[y * kWidth + x] : 0; }
    u32 ReadDepth(u32 x, u32 y) const {
        if (!Contains(x, y)) {
            return 0;
        }
        return m_depthFilled[y] ? m_depthFill[y] : m_depth[y * kWidth + x];
    }

    // kWidth colour or depth words of line y (y < kHeight), for span loops that keep
    // to the buffer and store values through StoredColour/StoredDepth.
    const u32* ColourRow(u32 y) const { return &m_colour[y * kWidth]; }
    u32* ColourRow(u32 y) { return &m_colour[y * kWidth]; }
    u32* DepthRow(u32 y) {
        if (m_depthFilled[y]) {
            WriteDepthFill(y);
        }
        return &m_depth[y * kWidth];
    }

    // Sets colour and depth over a rectangle that lies inside the buffer.
    void Fill(u32 left, u32 top, u32 width, u32 height, u32 argb, u32 depth);

    // A colour as the format stores it: channels cut to the format's bits and widened
    // back by repeating their top bits (so 0xFF stays 0xFF), alpha 0xFF without alpha.
    u32 StoredColour(u32 argb) const {
        switch (m_format) {
        case GX_PF_RGBA6_Z24: {
            const u32 kept = argb & 0xFCFCFCFC;
            return kept | ((kept >> 6) & 0x03030303);
        }
        case GX_PF_RGB565_Z16: {
            const u32 kept = argb & 0x00F8FCF8;
            return kept | ((kept >> 5) & 0x00070007) | ((kept >> 6) & 0x00000300) | 0xFF000000;
        }
        default:
            return argb | 0xFF000000;
        }
    }
    u32 StoredDepth(u32 depth) const {
        return depth & (m_format == GX_PF_RGB565_Z16 ? 0x00FFFF00 : 0x00FFFFFF);
    }

private:
    void WriteDepthFill(u32 y);

    // All zero at start (RGB8/Z24, black, depth 0), so the buffer lives in zeroed storage.
    // Every line starts on a cache line (kWidth words are a whole number of them), so that
    // the span loops' speed does not hang on where the linker happens to put the buffer.
    GXPixelFmt m_format = GX_PF_RGB8_Z24;
    alignas(64) u32 m_colour[kWidth * kHeight]{};
    u32 m_depth[kWidth * kHeight]{};
    bool m_depthFilled[kHeight]{}; // the line's depth is m_depthFill's, not yet written
    u32 m_depthFill[kHeight]{};
};

EmbeddedFrameBuffer& GXEmbeddedFrameBuffer();

inline u32 GXColorToArgb(GXColor color) {
    return static_cast<u32>(color.a) << 24 | static_cast<u32>(color.r) << 16 |
           static_cast<u32>(color.g) << 8 | color.b;
}
