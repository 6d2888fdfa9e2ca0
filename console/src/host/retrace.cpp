// Retrace pacing: fields follow each other at the TV mode's rate on the time base; a
// wait that comes more than a field late starts the schedule again rather than
// rushing to catch up.
#include "host/retrace.h"

#include <console/host.h>
#include <console/os.h>

#include "host/frame_clock.h"

#include <time.h>

namespace {

constexpr s64 kNanosecondsPerSecond = 1000000000;

bool s_fieldSeen = false;
OSTime s_lastField = 0;
HostRetraceView s_view = nullptr;

void SleepFor(OSTime ticks) {
    const s64 nanoseconds = ticks * kNanosecondsPerSecond / OS_TIMER_CLOCK;
    const timespec duration{static_cast<time_t>(nanoseconds / kNanosecondsPerSecond),
                            static_cast<long>(nanoseconds % kNanosecondsPerSecond)};
    nanosleep(&duration, nullptr);
}

} // namespace

void HostWaitForField(s64 ticksPerField) {
    if (HostUsesVirtualClock()) {
        HostAdvanceClock(ticksPerField);
        return;
    }
    const OSTime due = s_lastField + ticksPerField;
    OSTime now = OSGetTime();
    if (!s_fieldSeen || now > due + ticksPerField) {
        s_fieldSeen = true;
        s_lastField = now;
        return;
    }
    for (; now < due; now = OSGetTime()) {
        SleepFor(due - now);
    }
    s_lastField = due;
}

void HostShowRetrace() {
    HostCheckStopSignal();
    if (s_view != nullptr) {
        s_view();
    }
}

void HostSetRetraceView(HostRetraceView view) {
    s_view = view;
}
