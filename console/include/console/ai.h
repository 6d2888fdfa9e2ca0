// Audio interface: the DMA that plays the 32 kHz stereo output in blocks of interleaved
// big-endian 16-bit samples (left first) at physical addresses. As a block starts, the DMA
// latches the block last given to AIInitDMA and calls the DMA callback, which gives the
// next. The callback runs in interrupt context (the audio thread in a window, the retrace's
// pump headless) with interrupts disabled. Before AIStartDMA: silence, no callback.
#pragma once

#include <console/types.h>

constexpr u32 AI_SAMPLE_RATE = 32000;
// One audio frame: 3 ms, 96 stereo samples, 384 bytes.
constexpr u32 AI_FRAME_SAMPLES = 96;
constexpr u32 AI_FRAME_BYTES = AI_FRAME_SAMPLES * 4;

using AIDCallback = void (*)();

// The first call sets the interface up and starts the host's audio output; later calls
// do nothing. The stack is not used.
void AIInit(u8* stack);
// Installs the DMA callback (null for none); returns the one it replaces, so that a
// caller can chain to it.
AIDCallback AIRegisterDMACallback(AIDCallback callback);
// The next block: a 32-byte aligned physical address and a length in bytes, a multiple of
// 32 inside one arena; a length of 0 plays a block of silence. A bad block is reported and
// the registers keep their previous values.
void AIInitDMA(u32 start, u32 length);
void AIStartDMA();
// The physical start address of the block last given to AIInitDMA.
u32 AIGetDMAStartAddr();

// For the host and tests: plays `frameCount` stereo frames of the output into `out`
// (interleaved left, right, in host byte order), latching blocks and running the DMA
// callback as the blocks start. Any thread; it disables interrupts around each block.
void AIPlayFrames(s16* out, u32 frameCount);
