// The two clocks: seconds since the first reading, and the console's millisecond tick.
#include <kelvo/platform/kplatform.h>

#include <console/os.h>

namespace {

OSTime s_firstSample = 0;
// Kept apart from the sample itself: a clock that starts at 0 is a valid first sample.
bool s_bFirstSampleTaken = false;

u64 TimerClock() {
    return OSGetBusClock() / 4;
}

} // namespace

float kPlatform_GetSeconds() {
    const OSTime now = OSGetTime();
    if (!s_bFirstSampleTaken) {
        s_firstSample = now;
        s_bFirstSampleTaken = true;
    }
    const u64 elapsed = static_cast<u64>(now - s_firstSample);
    return static_cast<float>(static_cast<double>(elapsed) / static_cast<double>(TimerClock()));
}

u32 kPlatform_TickCount() {
    return static_cast<u32>(static_cast<u64>(OSGetTime()) / (TimerClock() / 1000));
}
