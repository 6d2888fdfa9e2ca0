// kAudio: the engine's one entry point to sound output. It owns at most one audio device
// (the voice device, created by DeviceCreate, deleted by Deinit) and forwards every play
// request and channel operation to it. Callers hold kAudioChannel handles: a channel index
// with the reuse count it had when handed out, so a handle kept after its channel went to
// another request is refused (logged, no effect). Without a device every call does nothing
// and answers -1 or false. Main thread only.
#pragma once

namespace Kelvo_lib {

class kSound;
class kSoundStream;

namespace kAudioWII_Private {
class WIIDevice;
} // namespace kAudioWII_Private

// Play flags of Play and PlayStream; other bits are accepted and mean nothing.
enum : unsigned int {
    K_AUDIO_PLAY_LOOP = 1,         // Play: the sample loops
    K_AUDIO_PLAY_PREBUFFER = 4,    // PlayStream: fill both stream halves at once, else silence
    K_AUDIO_PLAY_PAUSED = 8,       // start paused, until ChannelResume
    K_AUDIO_PLAY_NEVER_STEAL = 16, // any-channel requests fail rather than take a busy one
};

// (reuse count << 12) + channel index; K_AUDIO_ANY_CHANNEL asks for any channel.
struct kAudioChannel {
    static constexpr unsigned int K_AUDIO_ANY_CHANNEL = 0xFFFFFFFFu;
    static constexpr unsigned int K_INDEX_BITS = 12;
    static constexpr unsigned int K_INDEX_MASK = (1u << K_INDEX_BITS) - 1;
    // Reuse counts are kept to the bits a handle holds.
    static constexpr unsigned int K_REUSE_MASK = 0xFFFFFFFFu >> K_INDEX_BITS;

    constexpr kAudioChannel(unsigned int id = K_AUDIO_ANY_CHANNEL) : m_id(id) {}
    static constexpr kAudioChannel Of(unsigned int index, unsigned int reuseCount) {
        return kAudioChannel(((reuseCount & K_REUSE_MASK) << K_INDEX_BITS) +
                             (index & K_INDEX_MASK));
    }

    constexpr bool IsAny() const { return m_id == K_AUDIO_ANY_CHANNEL; }
    constexpr unsigned int Index() const { return m_id & K_INDEX_MASK; }
    constexpr unsigned int ReuseCount() const { return m_id >> K_INDEX_BITS; }
    friend constexpr bool operator==(kAudioChannel, kAudioChannel) = default;

    // kAudio's channel operations on a copy of this handle.
    void Stop() const;
    void Resume() const;
    void SetVolume(float volume) const;

    unsigned int m_id;
};

class kAudio {
public:
    static void Init();
    // Stops and deletes the device; only after Init.
    static void Deinit();
    // Device id 0 or -1; null for another id or when a device exists already.
    static kAudioWII_Private::WIIDevice* DeviceCreate(int deviceId, int, void*);
    // Once per frame: refills stream halves, reports DSP overruns, frees retired buffers.
    static void Update();

    static kAudioChannel GetChannel(int index);
    // The handle actually used, or -1.
    static kAudioChannel Play(kSound* buffer, kAudioChannel channel, unsigned int flags);
    static kAudioChannel PlayStream(kSoundStream* stream, kAudioChannel channel,
                                    unsigned int flags);

    static void ChannelStop(kAudioChannel channel);
    static void ChannelResume(kAudioChannel channel);
    static bool ChannelIsPlaying(kAudioChannel channel);
    // 0.0 silent to 1.0 full.
    static void ChannelSetVolume(kAudioChannel channel, float volume);
    // -1.0 left, 0.0 centre, 1.0 right; a stream keeps its left and right apart.
    static void ChannelSetPan(kAudioChannel channel, float pan);
    static void ChannelSetFrequency(kAudioChannel channel, unsigned int hz);
};

class kAudioWII {
public:
    // Stops every busy channel, before a system menu or dialog takes over the console.
    static void Terminate();
};

// Pulls every playing sample channel down to -55.0 dB before the home-button menu opens;
// streams keep their level.
void WiiFadeDown();

namespace kAudioWII_Private {

// Logs "func: text" under "AUDIO", the text cut to 1,023 characters; null logs nothing.
void LogDebug(const char* func, const char* format, ...) __attribute__((format(printf, 2, 3)));

} // namespace kAudioWII_Private

} // namespace Kelvo_lib
