// The frame counter that ends a run after --frames, when the window closes or on SIGINT
// or SIGTERM, and the headless virtual clock.
#include <console/host.h>
#include <console/host_input.h>
#include <console/os.h>

#include "host/retrace.h"
#include "host/screenshot.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<s64> s_virtualClock{0};
u32 s_frameCount = 0;
bool s_bCloseRequested = false;
volatile std::sig_atomic_t s_stopSignal = 0;

// A second signal ends the program at once, should the first not get through.
void OnStopSignal(int) {
    s_stopSignal = 1;
}

void TakeStopSignal() {
    if (s_stopSignal != 0) {
        s_stopSignal = 0;
        OSReport("host: stopping\n");
        HostRequestClose();
    }
}

} // namespace

void HostCatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void HostRequestClose() {
    if (OSHasPowerCallback()) {
        HostRaisePower();
    } else {
        HostRequestEnd();
    }
}

void HostRequestEnd() {
    s_bCloseRequested = true;
}

void HostCheckStopSignal() {
    TakeStopSignal();
}

bool HostCloseRequested() {
    return s_bCloseRequested;
}

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
    TakeStopSignal();
    if (s_bCloseRequested) {
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
