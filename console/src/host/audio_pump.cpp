// Sound without a device: the blocks due by the clock, played at each retrace. Headless
// the clock is the virtual one; in a window without a sound device it is real time since
// the first retrace, so that --audio-out still captures the sound.
#include <console/ai.h>
#include <console/host.h>
#include <console/os.h>

#include "host/audio_host.h"

namespace {

s64 s_blocksPlayed = 0;
bool s_bStarted = false;
OSTime s_start = 0;

s64 ClockTicks() {
    if (HostUsesVirtualClock()) {
        return HostVirtualClock();
    }
    if (!s_bStarted) {
        s_bStarted = true;
        s_start = OSGetTime();
    }
    return OSGetTime() - s_start;
}

// Blocks a second: AI_SAMPLE_RATE / AI_FRAME_SAMPLES = 1000 / 3.
s64 BlocksDueAt(s64 ticks) {
    return ticks * AI_SAMPLE_RATE / (static_cast<s64>(OS_TIMER_CLOCK) * AI_FRAME_SAMPLES);
}

} // namespace

void HostAudioPumpForClock() {
    if (HostAudioDeviceOpen()) {
        return;
    }
    const s64 due = BlocksDueAt(ClockTicks());
    for (; s_blocksPlayed < due; ++s_blocksPlayed) {
        s16 block[AI_FRAME_SAMPLES * 2];
        AIPlayFrames(block, AI_FRAME_SAMPLES);
        HostAudioCapture(block, AI_FRAME_SAMPLES);
    }
}
