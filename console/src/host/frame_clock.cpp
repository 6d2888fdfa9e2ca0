// The frame counter that ends a run after --frames, when the window closes or on SIGINT
// or SIGTERM.
#include <console/host.h>
#include <console/host_input.h>
#include <console/os.h>

#include "host/retrace.h"
#include "host/screenshot.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

// Carries the frame count across a restart's exec.
constexpr const char* kResumedFrameVariable = "CONSOLE_RESTART_FRAME";

// An unreadable value starts at 0, as a first start does.
u32 ReadResumedFrame() {
    const char* value = std::getenv(kResumedFrameVariable);
    if (value == nullptr) {
        return 0;
    }
    char* end = nullptr;
    const unsigned long frame = std::strtoul(value, &end, 10);
    return end != value && *end == '\0' && frame <= 0xFFFFFFFFul ? static_cast<u32>(frame) : 0;
}

const u32 s_resumedFrame = ReadResumedFrame();
u32 s_frameCount = s_resumedFrame;
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

u32 HostResumedFrame() {
    return s_resumedFrame;
}

void HostHandOverFrameCount() {
    char value[16];
    std::snprintf(value, sizeof(value), "%u", s_frameCount);
    setenv(kResumedFrameVariable, value, 1);
}
