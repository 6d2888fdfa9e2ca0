// The frame count, handed to a restarted program through its environment, and the close
// request with the stop signals that raise it.
#include "host/frame_clock.h"

#include <console/host.h>
#include <console/os.h>

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

u32 HostCountFrame() {
    return ++s_frameCount;
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
