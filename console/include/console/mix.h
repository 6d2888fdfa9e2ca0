// Mixer: each voice's level on the two outputs from an input and a fader in 0.1 dB (at or
// below MIX_VOLUME_SILENT silent, at most +6.0 dB together), a constant-power pan (0 left,
// 64 centre, 127 right), mute and the sound mode (mono: every voice centred). Changes apply
// together at MIXUpdateSettings, once per frame; AX ramps to them over the next frame. MIX
// owns its memory until MIXQuit. Any thread; each call takes the interrupt lock.
#pragma once

#include <console/ax.h>
#include <console/types.h>

// Bytes MIXInitSpecifyMem needs.
constexpr u32 MIX_MEMORY_SIZE = 17312;

constexpr int MIX_VOLUME_SILENT = -904;
constexpr int MIX_VOLUME_MAX = 60;
constexpr int MIX_PAN_LEFT = 0;
constexpr int MIX_PAN_CENTRE = 64;
constexpr int MIX_PAN_RIGHT = 127;

enum : u32 {
    MIX_SOUND_MODE_MONO = 0,
    MIX_SOUND_MODE_STEREO = 1,
};

// Channel modes of MIXInitChannel.
enum : u32 {
    MIX_MODE_MUTE = 1u << 0,
};

// The mode is stereo after set-up. Refused, reported, when already set up or the memory
// is null.
void MIXInitSpecifyMem(void* memory);
void MIXQuit();
void MIXSetSoundMode(u32 mode);

// Gives an acquired voice its levels at once (no ramp). The aux sends and the surround
// span are kept but not mixed: there are no effect buses.
void MIXInitChannel(AXVPB* voice, u32 mode, int input, int auxA, int auxB, int auxC, int pan,
                    int span, int fader);
// The voice is silent until initialised again.
void MIXReleaseChannel(AXVPB* voice);
void MIXSetInput(AXVPB* voice, int input);
void MIXSetFader(AXVPB* voice, int fader);
void MIXSetPan(AXVPB* voice, int pan);
void MIXMute(AXVPB* voice);
void MIXUnMute(AXVPB* voice);
// Applies every setting changed since the last call; the voice's frame callback calls it.
void MIXUpdateSettings();
