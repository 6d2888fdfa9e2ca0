// The start of each main-loop frame: the screenshots due, the end of the run on a close
// request or at --frames, the count, and the input script's lines for the new frame.
#include <console/host.h>
#include <console/host_input.h>

#include "host/frame_clock.h"
#include "host/screenshot.h"

bool HostBeginFrame() {
    HostTakeDueScreenshots(HostFrameCount());
    HostCheckStopSignal();
    if (HostCloseRequested()) {
        return false;
    }
    const s32 limit = HostGetOptions().frameLimit;
    if (limit >= 0 && HostFrameCount() >= static_cast<u32>(limit)) {
        return false;
    }
    HostInputBeginFrame(HostCountFrame());
    return true;
}
