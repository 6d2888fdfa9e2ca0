// Video interface state: the configured mode, the frame buffer and black state
// latched by VIFlush and shown from the next retrace, and the retrace clock.
#include <console/gx.h>
#include <console/host.h>
#include <console/os.h>
#include <console/vi.h>

#include "host/audio_host.h"
#include "host/retrace.h"
#include "os/interrupt_lock.h"
#include "vi/xfb_to_rgb.h"

#include <cstring>

namespace {

struct Latch {
    void* frameBuffer = nullptr;
    bool black = true;
};

struct VideoInterface {
    GXRenderModeObj mode{};
    bool configured = false;
    Latch pending;
    Latch flushed;
    Latch shown;
    u32 retraceCount = 0;
    VIRetraceCallback postRetrace = nullptr;
};

constinit VideoInterface s_vi;

// Fields per second of a TV mode: 50 for PAL, 59.94 for the others.
s64 TicksPerField(VITVMode mode) {
    const u32 format = static_cast<u32>(mode) >> 2;
    if (format == VI_PAL) {
        return OS_TIMER_CLOCK / 50;
    }
    return static_cast<s64>(OS_TIMER_CLOCK) * 1001 / 60000;
}

} // namespace

void VIInit() {
    s_vi = VideoInterface{};
}

u32 VIGetTvFormat() {
    return HostGetOptions().tvFormat;
}

void VIConfigure(const GXRenderModeObj* mode) {
    if (mode == nullptr) {
        OSReport("VIConfigure: no mode\n");
        return;
    }
    s_vi.mode = *mode;
    s_vi.configured = true;
}

void VISetNextFrameBuffer(void* frameBuffer) {
    s_vi.pending.frameBuffer = frameBuffer;
}

void VISetBlack(BOOL black) {
    s_vi.pending.black = black != FALSE;
}

void VIFlush() {
    s_vi.flushed = s_vi.pending;
}

void VIWaitForRetrace() {
    OSRunThreadsUntilIdle(); // the main thread sleeps until the retrace: the others run
    const VITVMode mode = s_vi.configured ? s_vi.mode.viTVmode : VI_TVMODE_PAL_INT;
    HostWaitForField(TicksPerField(mode));
    HostAudioPumpForClock();
    s_vi.shown = s_vi.flushed;
    ++s_vi.retraceCount;
    HostShowRetrace();
    HostDeliverButtonPresses();
    if (s_vi.postRetrace != nullptr) {
        OSInterruptLock interruptContext; // as on the console, where interrupts are masked
        s_vi.postRetrace(s_vi.retraceCount);
    }
}

u32 VIGetRetraceCount() {
    return s_vi.retraceCount;
}

u32 VIGetNextField() {
    return (s_vi.retraceCount + 1) % 2 == 0 ? VI_FIELD_ABOVE : VI_FIELD_BELOW;
}

VIRetraceCallback VISetPostRetraceCallback(VIRetraceCallback callback) {
    const VIRetraceCallback previous = s_vi.postRetrace;
    s_vi.postRetrace = callback;
    return previous;
}

const void* VIGetShownFrameBuffer() {
    return s_vi.shown.black ? nullptr : s_vi.shown.frameBuffer;
}

const GXRenderModeObj* VIGetConfiguredMode() {
    return s_vi.configured ? &s_vi.mode : nullptr;
}

VIFrameSize VIGetShownFrameSize() {
    if (!s_vi.configured) {
        return {0, 0};
    }
    return {s_vi.mode.fbWidth & ~1u, s_vi.mode.xfbHeight};
}

bool VIConvertShownFrameToRGB(u8* rgb, u32 pitch, u32 size) {
    const VIFrameSize shown = VIGetShownFrameSize();
    if (pitch < shown.width * 3 || static_cast<u64>(pitch) * shown.height > size) {
        OSReport("VIConvertShownFrameToRGB: %u bytes in rows of %u hold no %u x %u picture\n", size,
                 pitch, shown.width, shown.height);
        return false;
    }
    const void* frameBuffer = VIGetShownFrameBuffer();
    if (shown.height == 0) {
        return true;
    }
    if (frameBuffer == nullptr) {
        std::memset(rgb, 0, static_cast<size_t>(pitch) * shown.height);
        return true;
    }
    VIConvertXfbToRgb(static_cast<const u8*>(frameBuffer), s_vi.mode.fbWidth * 2u, shown.width,
                      shown.height, rgb, pitch);
    return true;
}
