// The music controller: one loaded kOGGStream on the music channel, whether it is paused,
// and its volume.
#include <kelvo/audio/kaudio.h>
#include <kelvo/audio/kaudiostream.h>
#include <kelvo/audio/koggstream.h>
#include <kelvo/platform/klog.h>

bool g_preBufferOGG = false;

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "STREAM";

bool s_bInit = false;
bool s_bPlaying = false; // a stream is loaded
bool s_bPaused = false;
float s_volume = 1.0f;
kAudioChannel s_streamChannel;

bool Initialised(const char* operation) {
    if (!s_bInit) {
        kLogSys(kSystem, "%s: Stream system not initialised\n", operation);
    }
    return s_bInit;
}

bool Loaded(const char* operation, const char* missing) {
    if (!Initialised(operation)) {
        return false;
    }
    if (!s_bPlaying) {
        kLogSys(kSystem, "%s: %s\n", operation, missing);
    }
    return s_bPlaying;
}

unsigned int LoadFlags() {
    unsigned int flags = K_AUDIO_PLAY_PAUSED | K_AUDIO_PLAY_NEVER_STEAL;
    if (g_preBufferOGG) {
        g_preBufferOGG = false;
        kLogFmt(" Prebuffering\n");
        flags |= K_AUDIO_PLAY_PREBUFFER;
    }
    kLogSys(kSystem, "Load: Playing without stealing\n");
    return flags;
}

// The music channel by its current handle: never an any-channel request, which would land
// on the first free channel, one of the sound manager's.
kAudioChannel StartOnMusicChannel(kOGGStream* stream, unsigned int flags) {
    const kAudioChannel music = kAudio::GetChannel(kAudioStream::K_MUSIC_CHANNEL);
    if (music.IsAny()) {
        kLogSys(kSystem, "Load: No channel %d for music\n", kAudioStream::K_MUSIC_CHANNEL);
        return music;
    }
    return kAudio::PlayStream(stream, music, flags);
}

} // namespace

bool kAudioStream::Init() {
    if (s_bInit) {
        kLogSys(kSystem, "Init: Stream already initialised\n");
        return true;
    }
    s_bPlaying = s_bPaused = false;
    s_volume = 1.0f;
    kLogSys(kSystem, "Initialised\n");
    s_bInit = true;
    return true;
}

bool kAudioStream::Deinit() {
    if (!s_bInit) {
        kLogSys(kSystem, "Deinit: Stream not initialised\n");
        return true;
    }
    if (s_bPlaying) {
        Reset();
    }
    s_bPlaying = s_bPaused = false;
    kLogSys(kSystem, "Deinitialised\n");
    s_bInit = false;
    return true;
}

bool kAudioStream::LoadStream(kOGGStream* stream, bool bLoop) {
    if (!s_bInit) {
        kLogSys(kSystem, "Load: Stream system not initialised\n");
        return false;
    }
    if (s_bPlaying) {
        Reset();
    }
    if (stream == nullptr) {
        kLogSys(kSystem, "Load: Error creating kOGGStream\n");
        return false;
    }
    if (stream->IsEOF()) {
        kLogSys(kSystem, "Load: Error with kOGGStream\n");
        return false;
    }
    stream->SetLoop(bLoop);
    s_streamChannel = StartOnMusicChannel(stream, LoadFlags());
    if (s_streamChannel.IsAny()) {
        return true;
    }
    kLogSys(kSystem, "Load: Loaded on chan %d (%d)\n", static_cast<int>(s_streamChannel.Index()),
            static_cast<int>(s_streamChannel.ReuseCount()));
    kAudio::ChannelSetVolume(s_streamChannel, s_volume);
    s_bPlaying = s_bPaused = true;
    return true;
}

bool kAudioStream::Play() {
    if (!Loaded("Play", "No stream loaded")) {
        return false;
    }
    if (s_bPaused) {
        s_bPaused = false;
        kLogSys(kSystem, "Play: Resuming\n");
        kAudio::ChannelResume(s_streamChannel);
    }
    return true;
}

bool kAudioStream::Stop() {
    if (!Loaded("Stop", "No stream loaded")) {
        return false;
    }
    kAudio::ChannelStop(s_streamChannel);
    return true;
}

bool kAudioStream::Reset() {
    if (!Loaded("Reset", "Stream system not playing")) {
        return false;
    }
    kAudio::ChannelStop(s_streamChannel);
    s_bPlaying = s_bPaused = false;
    return true;
}

bool kAudioStream::SetVolume(float volume) {
    if (!Initialised("SetVolume")) {
        return false;
    }
    s_volume = volume;
    if (!s_streamChannel.IsAny()) {
        kAudio::ChannelSetVolume(s_streamChannel, volume);
    }
    return true;
}

bool kAudioStream::Tick() {
    return Initialised("Tick") && s_bPlaying && !s_bPaused;
}

} // namespace Kelvo_lib
