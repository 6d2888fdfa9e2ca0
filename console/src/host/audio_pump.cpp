// Headless sound: the blocks due by the virtual clock, played at each retrace.
#include <console/ai.h>
#include <console/host.h>
#include <console/os.h>

#include "host/audio_host.h"

namespace {

s64 s_blocksPlayed = 0;

// Blocks a second: AI_SAMPLE_RATE / AI_FRAME_SAMPLES = 1000 / 3.
s64 BlocksDueAt(s64 ticks) {
    return ticks * AI_SAMPLE_RATE / (static_cast<s64>(OS_TIMER_CLOCK) * AI_FRAME_SAMPLES);
}

} // namespace

void HostAudioPumpForClock() {
    if (!HostUsesVirtualClock()) {
        return;
    }
    const s64 due = BlocksDueAt(HostVirtualClock());
    for (; s_blocksPlayed < due; ++s_blocksPlayed) {
        s16 block[AI_FRAME_SAMPLES * 2];
        AIPlayFrames(block, AI_FRAME_SAMPLES);
        HostAudioCapture(block, AI_FRAME_SAMPLES);
    }
}
