// The frame counter that ends a run after --frames or when the window closes, and the
// headless virtual clock.
#include <console/host.h>
#include <console/host_input.h>

#include "host/screenshot.h"

#include <atomic>

namespace {

std::atomic<s64> s_virtualClock{0};
u32 s_frameCount = 0;

} // namespace

bool HostUsesVirtualClock() {
    return HostGetOptions().kind == HostKind::Headless;
}

s64 HostVirtualClock() {
    return s_virtualClock.load(std::memory_order_relaxed);
}

void HostAdvanceClock(s64 ticks) {
    s_virtualClock.fetch_add(ticks, std::memory_order_relaxed);
}

bool HostBeginFrame() {
    HostTakeDueScreenshots(s_frameCount);
    if (HostWindowCloseRequested()) {
        return false;
    }
    const s32 limit = HostGetOptions().frameLimit;
    if (limit >= 0 && s_frameCount >= static_cast<u32>(limit)) {
        return false;
    }
    ++s_frameCount;
    HostInputBeginFrame(s_frameCount);
    return true;
}

u32 HostFrameCount() {
    return s_frameCount;
}
