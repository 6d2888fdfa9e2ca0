// Graphics processor: render modes, the embedded frame buffer's copy and pixel
// state, and the copy to an external frame buffer. Main thread only.
#pragma once

#include <console/types.h>
#include <console/vi.h>

using GXBool = u8;
constexpr GXBool GX_TRUE = 1;
constexpr GXBool GX_FALSE = 0;
constexpr GXBool GX_ENABLE = 1;
constexpr GXBool GX_DISABLE = 0;

struct GXColor {
    u8 r, g, b, a;
};

struct GXRenderModeObj {
    VITVMode viTVmode;
    u16 fbWidth;
    u16 efbHeight;
    u16 xfbHeight;
    u16 viXOrigin;
    u16 viYOrigin;
    u16 viWidth;
    u16 viHeight;
    VIXFBMode xFBmode;
    u8 field_rendering;
    u8 aa;
    u8 sample_pattern[12][2];
    u8 vfilter[7];
};

extern GXRenderModeObj GXNtsc480IntDf;
extern GXRenderModeObj GXPal528IntDf;

enum GXPixelFmt : u32 {
    GX_PF_RGB8_Z24 = 0,
    GX_PF_RGBA6_Z24 = 1,
    GX_PF_RGB565_Z16 = 2,
};

enum GXZFmt16 : u32 {
    GX_ZC_LINEAR = 0,
};

enum GXCompare : u32 {
    GX_NEVER = 0,
    GX_LESS = 1,
    GX_EQUAL = 2,
    GX_LEQUAL = 3,
    GX_GREATER = 4,
    GX_NEQUAL = 5,
    GX_GEQUAL = 6,
    GX_ALWAYS = 7,
};

enum GXGamma : u32 {
    GX_GM_1_0 = 0,
    GX_GM_1_7 = 1,
    GX_GM_2_2 = 2,
};

struct GXFifoObj {
    void* base;
    u32 size;
};

GXFifoObj* GXInit(void* base, u32 size);
GXFifoObj* GXGetCPUFifo();
void* GXGetFifoBase(const GXFifoObj* fifo);
u32 GXGetFifoSize(const GXFifoObj* fifo);
void GXAbortFrame();
void GXDrawDone();

void GXAdjustForOverscan(const GXRenderModeObj* in, GXRenderModeObj* out, u16 horizontal,
                         u16 vertical);

void GXSetViewport(f32 left, f32 top, f32 width, f32 height, f32 nearZ, f32 farZ);
void GXSetViewportJitter(f32 left, f32 top, f32 width, f32 height, f32 nearZ, f32 farZ, u32 field);
void GXSetScissor(u32 left, u32 top, u32 width, u32 height);

f32 GXGetYScaleFactor(u16 efbHeight, u16 xfbHeight);
// Returns the number of external frame buffer lines a copy of the source produces.
u32 GXSetDispCopyYScale(f32 scale);
// A rectangle that leaves the 640 x 528 embedded frame buffer is reported and clipped.
void GXSetDispCopySrc(u16 left, u16 top, u16 width, u16 height);
void GXSetDispCopyDst(u16 width, u16 height);
void GXSetCopyFilter(GXBool antiAlias, const u8 samplePattern[12][2], GXBool verticalFilter,
                     const u8 filter[7]);
void GXSetDispCopyGamma(GXGamma gamma);
void GXSetPixelFmt(GXPixelFmt pixelFormat, GXZFmt16 depthFormat);
void GXSetCopyClear(GXColor clearColor, u32 clearZ);
// Converts the copy source of the embedded frame buffer into the external frame buffer
// at destination (YUV 4:2:2, rows of dstWidth * 2 bytes, at most dstHeight of them,
// scaled to the lines GXSetDispCopyYScale returned), then clears the source rectangle
// to the copy clear colour and depth when asked.
void GXCopyDisp(void* destination, GXBool clear);

void GXSetZMode(GXBool compareEnable, GXCompare function, GXBool updateEnable);
void GXSetColorUpdate(GXBool updateEnable);
void GXInvalidateVtxCache();
void GXInvalidateTexAll();

// State the engine set, for tests.
struct GXViewportState {
    f32 left, top, width, height, nearZ, farZ;
};
struct GXCopyState {
    u16 srcLeft, srcTop, srcWidth, srcHeight;
    u16 dstWidth, dstHeight;
    u32 yScale; // 8.8 fixed-point inverse scale, as the copy hardware takes it
    GXPixelFmt pixelFormat;
    GXColor clearColor;
    u32 clearZ;
};
const GXViewportState& GXGetViewportState();
const GXCopyState& GXGetCopyState();

// The embedded frame buffer (640 x 528), read and written directly by tests: colour as
// 0xAARRGGBB as the pixel format stores it, depth in the low 24 bits. Reads outside
// the buffer give 0; writes outside it are dropped.
u32 GXReadEFBColorForTest(u32 x, u32 y);
u32 GXReadEFBDepthForTest(u32 x, u32 y);
void GXPokeEFBColorForTest(u32 x, u32 y, GXColor color);
void GXPokeEFBDepthForTest(u32 x, u32 y, u32 depth);
