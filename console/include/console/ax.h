// Voices: the DSP's sample players. Each 3 ms audio frame every running voice fetches its
// samples through physical addresses (DSP ADPCM by nibble, big-endian PCM16 by sample;
// memory outside the arenas stops the voice, reported), converts them to 32 kHz and is
// mixed at its MIX levels into the block AI plays next; then the frame callback runs. AX
// owns its memory until AXQuit, callers their voices until AXFreeVoice or a drop. Any
// thread: each call takes the interrupt lock; callbacks run with it held.
#pragma once

#include <console/types.h>

constexpr u32 AX_MAX_VOICES = 96;
// Bytes AXInitSpecifyMem needs, 32-byte aligned, inside an arena.
constexpr u32 AX_MEMORY_SIZE = 71456;

// Priorities: a voice may take the place of one with a lower priority.
constexpr u32 AX_PRIORITY_LOWEST = 1;
constexpr u32 AX_PRIORITY_HIGHEST = 31;

enum : u16 {
    AX_PB_STATE_STOP = 0,
    AX_PB_STATE_RUN = 1,
};

// Normal voices reload their history at a loop; stream voices play on from it.
enum : u16 {
    AX_PB_TYPE_NORMAL = 0,
    AX_PB_TYPE_STREAM = 1,
};

enum : u16 {
    AX_PB_FORMAT_ADPCM = 0,  // addresses in nibbles, 8-byte frames of 14 samples
    AX_PB_FORMAT_PCM16 = 10, // addresses in 16-bit samples, big-endian
};

enum : u16 {
    AX_SRC_TYPE_NONE = 0, // one sample in per sample out
    AX_SRC_TYPE_LINEAR = 1,
};

// Addresses are split into 16-bit halves; end is the last sample played (inclusive).
struct AXPBADDR {
    u16 loopFlag; // 1: continue at the loop address after the end
    u16 format;
    u16 loopAddressHi;
    u16 loopAddressLo;
    u16 endAddressHi;
    u16 endAddressLo;
    u16 currentAddressHi; // the next sample the voice fetches
    u16 currentAddressLo;
};

// DSP ADPCM decoder state. A predictor/scale byte holds the coefficient pair in bits 4-6
// and the scale shift in bits 0-3; the history is the last two decoded samples.
struct AXPBADPCM {
    u16 coefficients[16]; // eight signed pairs
    u16 gain;             // kept, not applied
    u16 predScale;
    u16 history1;
    u16 history2;
};

// What a normal ADPCM voice takes up at the loop address.
struct AXPBADPCMLOOP {
    u16 predScale;
    u16 history1;
    u16 history2;
};

// Sample-rate converter: input samples per output sample as 16.16 fixed point, the
// fraction carried from frame to frame, and the last input samples read, newest last.
struct AXPBSRC {
    u16 ratioHi;
    u16 ratioLo;
    u16 fraction;
    u16 lastSamples[4];
};

// The voice's parameter block: written by the AXSetVoice calls, updated by the DSP at the
// end of each frame (state, current address, decoder history, converter).
struct AXPB {
    u16 state; // AX_PB_STATE_STOP once a voice without loop has played its end
    u16 type;
    u16 srcType;
    AXPBADDR addr;
    AXPBADPCM adpcm;
    AXPBADPCMLOOP adpcmLoop;
    AXPBSRC src;
};

struct AXVPB;
using AXVoiceCallback = void (*)(void* voice); // the dropped AXVPB
using AXUserCallback = void (*)();
using AXExceedCallback = void (*)(unsigned long cycles);

struct AXVPB {
    u32 index;    // 0 .. AXGetMaxVoices() - 1, fixed for the voice
    u32 priority; // 0 while free
    AXVoiceCallback callback;
    void* userContext;
    AXPB pb;
};

// Sets AX up for `voiceCount` voices (at most AX_MAX_VOICES) in `memory` (AX_MEMORY_SIZE
// bytes), installs its DMA callback with AI and starts the DMA. Refused, reported, when
// already set up or the memory is not an aligned arena block.
void AXInitSpecifyMem(u32 voiceCount, void* memory);
// Frees every voice without drop callbacks, gives AI its previous DMA callback back and
// a silent block to play.
void AXQuit();
u32 AXGetMaxVoices();

// A free voice, else the voice of the lowest priority below `priority` (the earliest
// acquired among equals) after its drop callback has run; null when there is none.
// The voice comes stopped with a cleared parameter block.
AXVPB* AXAcquireVoice(u32 priority, AXVoiceCallback dropCallback, void* userContext);
void AXFreeVoice(AXVPB* voice);

void AXSetVoiceType(AXVPB* voice, u16 type);
// Sets where to play; the converter starts again from the current address.
void AXSetVoiceAddr(AXVPB* voice, const AXPBADDR* addr);
void AXSetVoiceAdpcm(AXVPB* voice, const AXPBADPCM* adpcm);
void AXSetVoiceAdpcmLoop(AXVPB* voice, const AXPBADPCMLOOP* loop);
void AXSetVoiceSrcType(AXVPB* voice, u16 type);
void AXSetVoiceSrc(AXVPB* voice, const AXPBSRC* src);
// Ratios are limited to 0 .. 4.0.
void AXSetVoiceSrcRatio(AXVPB* voice, f32 ratio);
void AXSetVoiceState(AXVPB* voice, u16 state);

// The frame callback runs after each frame has been mixed; returns the one it replaces.
AXUserCallback AXRegisterCallback(AXUserCallback callback);
// Called when mixing a frame took longer than the frame lasts (a window only: headless
// time is virtual), with the excess in DSP cycles.
AXExceedCallback AXRegisterExceedCallback(AXExceedCallback callback);
