// Graphics processor set-up: the command FIFO, GXInit's reset of every drawing
// state, the copy and pixel format state, and the copy of the embedded frame buffer
// to an external one.
#include <console/gx.h>
#include <console/os.h>

#include "gx/colour_channel.h"
#include "gx/display_copy.h"
#include "gx/efb.h"
#include "gx/pixel_ops.h"
#include "gx/primitive.h"
#include "gx/raster.h"
#include "gx/tev.h"
#include "gx/tex_gen.h"
#include "gx/texture.h"
#include "gx/transform.h"
#include "gx/vertex.h"

#include <algorithm>

namespace {

struct GraphicsState {
    GXFifoObj fifo{};
    GXCopyState copy{};
    u16 scaledEfbHeight = 0; // source height named by the last GXGetYScaleFactor
};

constinit GraphicsState s_gx;

constexpr u32 kYScaleOne = 256;

} // namespace

GXFifoObj* GXInit(void* base, u32 size) {
    s_gx = GraphicsState{};
    s_gx.fifo = {base, size};
    s_gx.copy.yScale = kYScaleOne;
    s_gx.copy.clearZ = 0xFFFFFF;
    GXEmbeddedFrameBuffer().SetPixelFormat(GX_PF_RGB8_Z24);
    GXResetVertexState();
    GXResetPrimitiveState();
    GXResetTransformState();
    GXResetColourChannels();
    GXResetTexGens();
    GXResetTextures();
    GXResetTev();
    GXResetPixelOps();
    GXResetRasterState();
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
// Every primitive is drawn by GXEnd, so the drawing is always done.
void GXDrawDone() {}

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
        GXCopyToExternalFrameBuffer(efb, copy, static_cast<u8*>(destination), clear);
        return;
    }
    OSReport("GXCopyDisp: no destination; nothing copied\n");
    if (clear) {
        efb.Fill(copy.srcLeft, copy.srcTop, copy.srcWidth, copy.srcHeight,
                 GXColorToArgb(copy.clearColor), copy.clearZ);
    }
}

// Drawing happens at once and textures are read in place, so there is nothing to
// wait for and no cache to invalidate.
void GXInvalidateVtxCache() {}
void GXInvalidateTexAll() {}

void GXSetMisc(GXMiscToken token, u32 value) {
    if (token != GX_MT_XF_FLUSH && token != GX_MT_DL_SAVE_CONTEXT) {
        OSReport("GXSetMisc: unknown token %u (value %u); ignored\n", token, value);
    }
}
const GXCopyState& GXGetCopyState() {
    return s_gx.copy;
}

std::vector<u8> GXDrawingStateForTest() {
    std::vector<u8> bytes;
    const auto append = [&bytes](const auto& state) {
        const auto* first = reinterpret_cast<const u8*>(&state);
        bytes.insert(bytes.end(), first, first + sizeof state);
    };
    append(GXEmbeddedFrameBuffer().PixelFormat());
    append(GXCurrentPixelOps());
    append(GXCurrentTev());
    append(GXGetViewportState());
    return bytes;
}

u32 GXReadEFBColorForTest(u32 x, u32 y) {
    return GXEmbeddedFrameBuffer().ReadColour(x, y);
}

u32 GXReadEFBDepthForTest(u32 x, u32 y) {
    return GXEmbeddedFrameBuffer().ReadDepth(x, y);
}

void GXPokeEFBColorForTest(u32 x, u32 y, GXColor color) {
    GXEmbeddedFrameBuffer().WriteColour(x, y, GXColorToArgb(color));
}

void GXPokeEFBDepthForTest(u32 x, u32 y, u32 depth) {
    GXEmbeddedFrameBuffer().WriteDepth(x, y, depth);
}
