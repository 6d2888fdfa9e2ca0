// AX's shared state: the voices, the DSP's working state of each, the two output blocks
// and the callbacks. Every access holds the interrupt lock.
#pragma once

#include <console/ai.h>
#include <console/ax.h>

#include "os/physical.h"

// Gains are Q15: AX_GAIN_UNITY plays a sample at its own level.
constexpr u32 AX_GAIN_UNITY = 0x8000;

// What the DSP keeps for a voice beside its parameter block.
struct AXVoiceDsp {
    u32 acquireOrder;   // smaller: acquired earlier
    u16 gain[2];        // left and right, reached at the end of the last frame
    u16 targetGain[2];  // reached at the end of the next frame
    bool primed;        // lastSamples[2] and [3] hold the two samples interpolated
    bool dataEnded;     // the end was fetched, without loop
    bool nextPastEnd;   // lastSamples[3] lies beyond the end: stop on reaching it
    bool finished;      // stopped at its end or on a fault until a new address
    bool faultReported; // a bad fetch or format was reported
};

struct AXState {
    bool initialised;
    u32 voiceCount;
    AXVPB* voices;
    AXVoiceDsp* dsp;
    u8* output[2]; // DMA blocks, AI_FRAME_BYTES each
    u32 outputPhysical[2];
    u32 nextOutput; // the block the next frame is mixed into
    u32 acquireCounter;
    AXUserCallback userCallback;
    AXExceedCallback exceedCallback;
    AIDCallback displacedDmaCallback;
    const OSPhysicalRegion* regions;
};

extern AXState g_ax;

// The DMA callback AX installs: mixes a frame, gives it to AI, runs the frame callback.
void AXDmaCallback();

// The DSP part of a voice.
AXVoiceDsp& AXDspOf(const AXVPB& voice);
// Forgets the converter's and the fetcher's progress: the voice starts again from its
// current address.
void AXRestartFetch(AXVoiceDsp& dsp);

// Levels MIX sets (Q15 left and right); with ramp, reached over the next frame, else (and
// for a voice that has not played since its address was set) at once.
void AXSetVoiceGains(AXVPB* voice, u16 left, u16 right, bool ramp);
