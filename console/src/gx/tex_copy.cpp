// The texture copy: a rectangle of the embedded frame buffer into caller memory as a
// tiled RGBA8 texture (4 x 4 tiles of 64 bytes: alpha-red pairs, then green-blue
// pairs), optionally clearing the rectangle afterwards.
#include "gx/efb.h"

#include <console/gx.h>
#include <console/os.h>

#include <algorithm>

namespace {

struct TexCopyState {
    u32 left, top, width, height;
    u32 destinationWidth, destinationHeight;
    bool copyable; // the destination format and size are ones the copy draws
};

constinit TexCopyState s_texCopy{};

void CopyRgba8(const EmbeddedFrameBuffer& efb, u8* destination) {
    const u32 width = std::min(s_texCopy.width, s_texCopy.destinationWidth);
    const u32 height = std::min(s_texCopy.height, s_texCopy.destinationHeight);
    const u32 tilesPerRow = (s_texCopy.destinationWidth + 3) / 4;
    for (u32 y = 0; y < height; ++y) {
        const u32* row = efb.ColourRow(s_texCopy.top + y) + s_texCopy.left;
        for (u32 x = 0; x < width; ++x) {
            u8* tile = destination + ((y / 4) * tilesPerRow + x / 4) * 64;
            const u32 at = ((y % 4) * 4 + x % 4) * 2;
            const u32 argb = row[x];
            tile[at] = static_cast<u8>(argb >> 24);
            tile[at + 1] = static_cast<u8>(argb >> 16);
            tile[32 + at] = static_cast<u8>(argb >> 8);
            tile[33 + at] = static_cast<u8>(argb);
        }
    }
}

} // namespace

void GXSetTexCopySrc(u16 left, u16 top, u16 width, u16 height) {
    constexpr u32 kWidth = EmbeddedFrameBuffer::kWidth;
    constexpr u32 kHeight = EmbeddedFrameBuffer::kHeight;
    if (left >= kWidth || top >= kHeight || width > kWidth - left || height > kHeight - top) {
        OSReport("GXSetTexCopySrc: %u x %u at %u, %u leaves the %u x %u frame buffer; clipped\n",
                 width, height, left, top, kWidth, kHeight);
    }
    s_texCopy.left = std::min<u32>(left, kWidth);
    s_texCopy.top = std::min<u32>(top, kHeight);
    s_texCopy.width = std::min<u32>(width, kWidth - s_texCopy.left);
    s_texCopy.height = std::min<u32>(height, kHeight - s_texCopy.top);
}

void GXSetTexCopyDst(u16 width, u16 height, GXTexFmt format, GXBool mipmap) {
    s_texCopy.destinationWidth = width;
    s_texCopy.destinationHeight = height;
    s_texCopy.copyable = format == GX_TF_RGBA8 && !mipmap;
    if (!s_texCopy.copyable) {
        OSReport("GXSetTexCopyDst: only RGBA8 copies without mipmap are drawn (format %u, "
                 "mipmap %u)\n",
                 format, mipmap);
    }
}

void GXCopyTex(void* destination, GXBool clear) {
    EmbeddedFrameBuffer& efb = GXEmbeddedFrameBuffer();
    if (destination == nullptr) {
        OSReport("GXCopyTex: no destination; nothing copied\n");
    } else if (s_texCopy.copyable) {
        CopyRgba8(efb, static_cast<u8*>(destination));
    }
    if (clear) {
        const GXCopyState& copy = GXGetCopyState();
        efb.Fill(s_texCopy.left, s_texCopy.top, s_texCopy.width, s_texCopy.height,
                 GXColorToArgb(copy.clearColor), copy.clearZ);
    }
}

void GXPixModeSync() {}
