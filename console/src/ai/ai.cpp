// The audio DMA: the registers set by AIInitDMA, the block being played, and the
// callback run at the start of each block.
#include <console/ai.h>
#include <console/os.h>

#include "host/audio_host.h"
#include "os/physical.h"

namespace {

struct Block {
    u32 start = 0;
    u32 length = 0; // 0: a block of silence
};

struct AudioInterface {
    bool initialised = false;
    bool started = false;
    AIDCallback callback = nullptr;
    Block next;
    Block playing;
    u32 playedBytes = 0;
    bool playingReported = false;
};

constinit AudioInterface s_ai;

// Latches the next block and runs the callback, which sets up the one after it.
void StartNextBlock() {
    s_ai.playing = s_ai.next;
    s_ai.playedBytes = 0;
    s_ai.playingReported = false;
    if (s_ai.callback != nullptr) {
        s_ai.callback();
    }
}

u32 PlayingLength() {
    return s_ai.playing.length != 0 ? s_ai.playing.length : AI_FRAME_BYTES;
}

void WriteSilence(s16* out, u32 frameCount) {
    for (u32 i = 0; i < frameCount * 2; ++i) {
        out[i] = 0;
    }
}

// Copies frames of the playing block; silence for a silent block or one that left the
// arenas (reported once per block).
void CopyFromPlayingBlock(s16* out, u32 frameCount) {
    const u8* bytes = nullptr;
    if (s_ai.playing.length != 0) {
        bytes = OSPhysicalSpan(s_ai.playing.start + s_ai.playedBytes, frameCount * 4);
        if (bytes == nullptr && !s_ai.playingReported) {
            OSReport("AI: DMA block 0x%08x is outside the arenas\n", s_ai.playing.start);
            s_ai.playingReported = true;
        }
    }
    if (bytes == nullptr) {
        WriteSilence(out, frameCount);
        return;
    }
    for (u32 i = 0; i < frameCount * 2; ++i) {
        out[i] = static_cast<s16>((bytes[2 * i] << 8) | bytes[2 * i + 1]);
    }
}

// Plays up to the end of the playing block, starting the next block first when the
// playing one is used up; returns the frames written.
u32 PlayWithinBlock(s16* out, u32 frameCount) {
    const BOOL level = OSDisableInterrupts();
    if (!s_ai.started) {
        OSRestoreInterrupts(level);
        WriteSilence(out, frameCount);
        return frameCount;
    }
    if (s_ai.playedBytes >= PlayingLength()) {
        StartNextBlock();
    }
    const u32 leftInBlock = (PlayingLength() - s_ai.playedBytes) / 4;
    const u32 count = frameCount < leftInBlock ? frameCount : leftInBlock;
    CopyFromPlayingBlock(out, count);
    s_ai.playedBytes += count * 4;
    OSRestoreInterrupts(level);
    return count;
}

} // namespace

void AIInit(u8*) {
    const BOOL level = OSDisableInterrupts();
    const bool first = !s_ai.initialised;
    if (first) {
        s_ai = AudioInterface{};
        s_ai.initialised = true;
    }
    OSRestoreInterrupts(level);
    if (first) {
        HostAudioStart();
    }
}

AIDCallback AIRegisterDMACallback(AIDCallback callback) {
    const BOOL level = OSDisableInterrupts();
    const AIDCallback previous = s_ai.callback;
    s_ai.callback = callback;
    OSRestoreInterrupts(level);
    return previous;
}

void AIInitDMA(u32 start, u32 length) {
    const bool aligned = start % 32 == 0 && length % 32 == 0;
    if (!aligned || (length != 0 && OSPhysicalSpan(start, length) == nullptr)) {
        OSReport("AIInitDMA: block 0x%08x of %u bytes is not an aligned block of an arena\n", start,
                 length);
        return;
    }
    const BOOL level = OSDisableInterrupts();
    s_ai.next = {start, length};
    OSRestoreInterrupts(level);
}

void AIStartDMA() {
    const BOOL level = OSDisableInterrupts();
    if (!s_ai.started) {
        s_ai.started = true;
        s_ai.playing = {};
        s_ai.playedBytes = AI_FRAME_BYTES; // the first frame played latches the first block
    }
    OSRestoreInterrupts(level);
}

u32 AIGetDMAStartAddr() {
    const BOOL level = OSDisableInterrupts();
    const u32 start = s_ai.next.start;
    OSRestoreInterrupts(level);
    return start;
}

void AIPlayFrames(s16* out, u32 frameCount) {
    while (frameCount > 0) {
        const u32 written = PlayWithinBlock(out, frameCount);
        out += written * 2;
        frameCount -= written;
    }
}
