// kAudioStream: the music controller. It keeps one kOGGStream playing on the device channel
// set aside for music (K_MUSIC_CHANNEL, above every channel the sound manager uses, and
// asked for by handle, so effects and music never take each other's channel): load (starts
// paused), play, stop, reset, volume. The caller owns the streams and keeps a loaded one
// alive until Reset, the next LoadStream or Deinit. Static service, main thread only; calls
// before Init, or that need a loaded stream when there is none, log under "STREAM" and
// answer false.
#pragma once

#include <console/ax.h>

// Set by the game's sound layer before a load that must start with both buffer halves full;
// that load clears it.
extern bool g_preBufferOGG;

namespace Kelvo_lib {

class kOGGStream;

class kAudioStream {
public:
    // The last device channel: any-channel requests reach it last.
    static constexpr int K_MUSIC_CHANNEL = AX_MAX_VOICES - 1;

    static bool Init();
    // Resets a loaded stream; true.
    static bool Deinit();
    // Resets the loaded stream, then starts this one paused on the music channel, looping
    // when asked. False for a null stream or one at its end (its file did not load); true
    // otherwise, also when the device refused it (nothing plays then).
    static bool LoadStream(kOGGStream* stream, bool bLoop);
    // Resumes a paused stream.
    static bool Play();
    // Stops the channel; the stream stays loaded.
    static bool Stop();
    // Stops the channel and forgets the stream.
    static bool Reset();
    static bool SetVolume(float volume);
    // True while a stream is loaded and not paused.
    static bool Tick();
};

} // namespace Kelvo_lib
