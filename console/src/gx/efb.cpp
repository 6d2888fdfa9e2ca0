// The embedded frame buffer's storage and its pixel format.
#include "gx/efb.h"

#include <console/os.h>

#include <algorithm>

namespace {

// Constant-initialised, so it exists before any static initialiser runs.
EmbeddedFrameBuffer s_efb;

} // namespace

void EmbeddedFrameBuffer::SetPixelFormat(GXPixelFmt format) {
    if (format > GX_PF_RGB565_Z16) {
        OSReport("GXSetPixelFmt: unknown pixel format %u, using RGB8/Z24\n", format);
        format = GX_PF_RGB8_Z24;
    }
    m_format = format;
}

void EmbeddedFrameBuffer::Fill(u32 left, u32 top, u32 width, u32 height, u32 argb, u32 depth) {
    const u32 colour = StoredColour(argb);
    const u32 storedDepth = StoredDepth(depth);
    const bool wholeLines = left == 0 && width == kWidth;
    for (u32 y = top; y < top + height; ++y) {
        std::fill_n(&m_colour[y * kWidth + left], width, colour);
        if (wholeLines) {
            m_depthFilled[y] = true;
            m_depthFill[y] = storedDepth;
        } else {
            std::fill_n(DepthRow(y) + left, width, storedDepth);
        }
    }
}

void EmbeddedFrameBuffer::WriteDepthFill(u32 y) {
    std::fill_n(&m_depth[y * kWidth], kWidth, m_depthFill[y]);
    m_depthFilled[y] = false;
}

EmbeddedFrameBuffer& GXEmbeddedFrameBuffer() {
    return s_efb;
}
