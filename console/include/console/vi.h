// Video interface: the TV format, the frame buffer shown at each retrace, the
// black screen and the retrace wait. Headless, a retrace advances the virtual
// clock by one field of the TV mode; in a window it waits for the field's time.
// Main thread only; the post-retrace callback runs in interrupt context (see
// VISetPostRetraceCallback).
#pragma once

#include <console/types.h>

enum : u32 {
    VI_NTSC = 0,
    VI_PAL = 1,
    VI_MPAL = 2,
    VI_DEBUG = 3,
    VI_DEBUG_PAL = 4,
    VI_EURGB60 = 5,
};

// TV mode = format * 4 + scan; bit 0 set means a non-interlaced (double-strike) mode.
enum VITVMode : u32 {
    VI_TVMODE_NTSC_INT = 0,
    VI_TVMODE_NTSC_DS = 1,
    VI_TVMODE_PAL_INT = 4,
    VI_TVMODE_PAL_DS = 5,
    VI_TVMODE_MPAL_INT = 8,
    VI_TVMODE_EURGB60_INT = 20,
};

enum VIXFBMode : u32 {
    VI_XFBMODE_SF = 0,
    VI_XFBMODE_DF = 1,
};

enum : u32 {
    VI_FIELD_ABOVE = 0,
    VI_FIELD_BELOW = 1,
};

struct GXRenderModeObj;
using VIRetraceCallback = void (*)(u32 retraceCount);

void VIInit();
u32 VIGetTvFormat();
void VIConfigure(const GXRenderModeObj* mode);
void VISetNextFrameBuffer(void* frameBuffer);
void VISetBlack(BOOL black);
// Latches the frame buffer and black state set since the last flush for the next retrace.
void VIFlush();
void VIWaitForRetrace();
u32 VIGetRetraceCount();
u32 VIGetNextField();
// The callback runs at the end of each retrace wait in interrupt context: on the main
// thread, under the interrupt lock (OSDisableInterrupts) that the audio DMA callback holds.
// Returns the callback it replaces.
VIRetraceCallback VISetPostRetraceCallback(VIRetraceCallback callback);

// What VI shows now: the latched frame buffer (null while black) and the mode it was
// configured with. For the host and for tests.
const void* VIGetShownFrameBuffer();
const GXRenderModeObj* VIGetConfiguredMode();

// Size of the shown picture: the configured mode's fbWidth (rounded down to even) x
// xfbHeight; 0 x 0 before VIConfigure.
struct VIFrameSize {
    u32 width;
    u32 height;
};
VIFrameSize VIGetShownFrameSize();
// Writes the shown picture into rgb as RGB8 rows of pitch bytes: the latched frame
// buffer (YUV 4:2:2, rows of fbWidth * 2 bytes) converted, or black while blanked.
// Returns false, after reporting, when pitch or size is too small for the shown size.
bool VIConvertShownFrameToRGB(u8* rgb, u32 pitch, u32 size);
