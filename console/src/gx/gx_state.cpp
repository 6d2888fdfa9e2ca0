// Graphics processor set-up: the command FIFO, viewport and scissor, the copy and
// pixel state, and the copy of the embedded frame buffer to an external one.
#include <console/gx.h>
#include <console/os.h>

#include "gx/display_copy.h"
#include "gx/efb.h"

#include <algorithm>

namespace {

struct GraphicsState {
    GXFifoObj fifo{};
    GXViewportState viewport{};
    u32 scissor[4]{};
    GXCopyState copy{};
    GXBool zCompare = GX_TRUE;
    GXCompare zFunction = GX_LEQUAL;
    GXBool zUpdate = GX_TRUE;
    GXBool colorUpdate = GX_TRUE;
    u16 scaledEfbHeight = 0; // source height named by the last GXGetYScaleFactor
};

constinit GraphicsState s_gx;

constexpr u32 kYScaleOne = 256;

u32 ToArgb(GXColor color) {
    return static_cast<u32>(color.a) << 24 | static_cast<u32>(color.r) << 16 |
           static_cast<u32>(color.g) << 8 | color.b;
}

} // namespace

GXFifoObj* GXInit(void* base, u32 size) {
    s_gx = GraphicsState{};
    s_gx.fifo = {base, size};
    s_gx.copy.yScale = kYScaleOne;
    s_gx.copy.clearZ = 0xFFFFFF;
    GXEmbeddedFrameBuffer().SetPixelFormat(GX_PF_RGB8_Z24);
    return &s_gx.fifo;
}

GXFifoObj* GXGetCPUFifo() {
    return &s_gx.fifo;
}
void* GXGetFifoBase(const GXFifoObj* fifo) {
    return fifo->base;
}
u32 GXGetFifoSize(const GXFifoObj* fifo) {
    return fifo->size;
}
void GXAbortFrame() {}
void GXDrawDone() {}

void GXSetViewport(f32 left, f32 top, f32 width, f32 height, f32 nearZ, f32 farZ) {
    s_gx.viewport = {left, top, width, height, nearZ, farZ};
}

void GXSetViewportJitter(f32 left, f32 top, f32 width, f32 height, f32 nearZ, f32 farZ, u32 field) {
    // The lower field samples half a line further down.
    const f32 jitter = field == VI_FIELD_BELOW ? 0.5f : 0.0f;
    GXSetViewport(left, top - jitter, width, height, nearZ, farZ);
}

void GXSetScissor(u32 left, u32 top, u32 width, u32 height) {
    s_gx.scissor[0] = left;
    s_gx.scissor[1] = top;
    s_gx.scissor[2] = width;
    s_gx.scissor[3] = height;
}

f32 GXGetYScaleFactor(u16 efbHeight, u16 xfbHeight) {
    s_gx.scaledEfbHeight = efbHeight;
    return static_cast<f32>(xfbHeight) / static_cast<f32>(efbHeight);
}

u32 GXSetDispCopyYScale(f32 scale) {
    if (!(scale >= 1.0f)) {
        OSReport("GXSetDispCopyYScale: scale %f below 1 is not supported\n", scale);
        scale = 1.0f;
    }
    s_gx.copy.yScale = static_cast<u32>(static_cast<f32>(kYScaleOne) / scale) & 0x1FF;
    if (s_gx.copy.yScale == 0) {
        OSReport("GXSetDispCopyYScale: scale %f is too large, using 256\n", scale);
        s_gx.copy.yScale = 1;
    }
    // Until a copy source is set, the scale applies to the height it was computed for.
    const u32 sourceHeight = s_gx.copy.srcHeight != 0 ? s_gx.copy.srcHeight : s_gx.scaledEfbHeight;
    return GXDisplayCopyLines(sourceHeight != 0 ? sourceHeight : 1, s_gx.copy.yScale);
}

void GXSetDispCopySrc(u16 left, u16 top, u16 width, u16 height) {
    constexpr u32 kWidth = EmbeddedFrameBuffer::kWidth;
    constexpr u32 kHeight = EmbeddedFrameBuffer::kHeight;
    if (left >= kWidth || top >= kHeight || width > kWidth - left || height > kHeight - top) {
        OSReport("GXSetDispCopySrc: %u x %u at %u, %u leaves the %u x %u frame buffer; clipped\n",
                 width, height, left, top, kWidth, kHeight);
        left = static_cast<u16>(std::min<u32>(left, kWidth));
        top = static_cast<u16>(std::min<u32>(top, kHeight));
        width = static_cast<u16>(std::min<u32>(width, kWidth - left));
        height = static_cast<u16>(std::min<u32>(height, kHeight - top));
    }
    s_gx.copy.srcLeft = left;
    s_gx.copy.srcTop = top;
    s_gx.copy.srcWidth = width;
    s_gx.copy.srcHeight = height;
}

void GXSetDispCopyDst(u16 width, u16 height) {
    s_gx.copy.dstWidth = width;
    s_gx.copy.dstHeight = height;
}

void GXSetCopyFilter(GXBool, const u8[12][2], GXBool, const u8[7]) {}
void GXSetDispCopyGamma(GXGamma) {}

void GXSetPixelFmt(GXPixelFmt pixelFormat, GXZFmt16) {
    EmbeddedFrameBuffer& efb = GXEmbeddedFrameBuffer();
    efb.SetPixelFormat(pixelFormat);
    s_gx.copy.pixelFormat = efb.PixelFormat();
}

void GXSetCopyClear(GXColor clearColor, u32 clearZ) {
    s_gx.copy.clearColor = clearColor;
    s_gx.copy.clearZ = clearZ & 0xFFFFFF;
}

void GXCopyDisp(void* destination, GXBool clear) {
    EmbeddedFrameBuffer& efb = GXEmbeddedFrameBuffer();
    const GXCopyState& copy = s_gx.copy;
    if (destination != nullptr) {
        GXCopyToExternalFrameBuffer(efb, copy, static_cast<u8*>(destination));
    } else {
        OSReport("GXCopyDisp: no destination; nothing copied\n");
    }
    if (clear) {
        efb.Fill(copy.srcLeft, copy.srcTop, copy.srcWidth, copy.srcHeight, ToArgb(copy.clearColor),
                 copy.clearZ);
    }
}

void GXSetZMode(GXBool compareEnable, GXCompare function, GXBool updateEnable) {
    s_gx.zCompare = compareEnable;
    s_gx.zFunction = function;
    s_gx.zUpdate = updateEnable;
}

void GXSetColorUpdate(GXBool updateEnable) {
    s_gx.colorUpdate = updateEnable;
}
void GXInvalidateVtxCache() {}
void GXInvalidateTexAll() {}

const GXViewportState& GXGetViewportState() {
    return s_gx.viewport;
}
const GXCopyState& GXGetCopyState() {
    return s_gx.copy;
}

u32 GXReadEFBColorForTest(u32 x, u32 y) {
    return GXEmbeddedFrameBuffer().ReadColour(x, y);
}

u32 GXReadEFBDepthForTest(u32 x, u32 y) {
    return GXEmbeddedFrameBuffer().ReadDepth(x, y);
}

void GXPokeEFBColorForTest(u32 x, u32 y, GXColor color) {
    GXEmbeddedFrameBuffer().WriteColour(x, y, ToArgb(color));
}

void GXPokeEFBDepthForTest(u32 x, u32 y, u32 depth) {
    GXEmbeddedFrameBuffer().WriteDepth(x, y, depth);
}
