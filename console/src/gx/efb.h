// The embedded frame buffer: 640 x 528 colour words (0xAARRGGBB) and depth words
// (24 bits), one static instance owned by GX. Writes keep only what the selected
// pixel format holds; writes outside the buffer are dropped and reads outside it
// give 0. A rasteriser draws through WriteColour/WriteDepth. Main thread only.
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
            m_depth[y * kWidth + x] = StoredDepth(depth);
        }
    }
    u32 ReadColour(u32 x, u32 y) const { return Contains(x, y) ? m_colour[y * kWidth + x] : 0; }
    u32 ReadDepth(u32 x, u32 y) const { return Contains(x, y) ? m_depth[y * kWidth + x] : 0; }

    // kWidth colour words of line y (y < kHeight).
    const u32* ColourRow(u32 y) const { return &m_colour[y * kWidth]; }

    // Sets colour and depth over a rectangle that lies inside the buffer.
    void Fill(u32 left, u32 top, u32 width, u32 height, u32 argb, u32 depth);

private:
    struct FormatMasks {
        u32 colourKeep; // bits of 0xAARRGGBB the format stores
        u32 colourSet;  // bits that read as one (the alpha of formats without alpha)
        u32 depthKeep;
    };
    // Indexed by GXPixelFmt.
    static constexpr FormatMasks kFormatMasks[] = {
        {0x00FFFFFF, 0xFF000000, 0x00FFFFFF}, // RGB8, Z24
        {0xFCFCFCFC, 0x00000000, 0x00FFFFFF}, // RGBA6, Z24
        {0x00F8FCF8, 0xFF000000, 0x00FFFF00}, // RGB565, Z16
    };

    u32 StoredColour(u32 argb) const {
        const FormatMasks& masks = kFormatMasks[m_format];
        return (argb & masks.colourKeep) | masks.colourSet;
    }
    u32 StoredDepth(u32 depth) const { return depth & kFormatMasks[m_format].depthKeep; }

    // All zero at start (RGB8/Z24, black, depth 0), so the buffer lives in zeroed storage.
    GXPixelFmt m_format = GX_PF_RGB8_Z24;
    u32 m_colour[kWidth * kHeight]{};
    u32 m_depth[kWidth * kHeight]{};
};

EmbeddedFrameBuffer& GXEmbeddedFrameBuffer();
