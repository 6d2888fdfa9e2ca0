#include <services/mnsound.h>
#include <services/mnvolume.h>

#include <framework/ksoundmanager.h>

#include <kelvo/audio/kaudio.h>
#include <kelvo/audio/kaudiostream.h>
#include <kelvo/audio/koggstream.h>
#include <kelvo/io/kfileiostream.h>
#include <kelvo/math/kmrandom.h>
#include <kelvo/platform/kfile.h>
#include <kelvo/platform/klog.h>

#include <cstdio>

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "MNSound";
constexpr float kHomeMenuFadeSeconds = 0.25f;
// A queued cue starts once its delay is within this of zero, so that frame times that add
// up to the delay in floats start it on that frame.
constexpr float kStartTolerance = 1.0e-4f;

// File names by eSoundEffect, under "wii/audio/"; null for an id without a sound.
constexpr const char* kEffectNames[SFX_COUNT] = {
    "back",           "highlight",   "press",         "confirm",     "erase",       "highlight_off",
    "list_up",        "spinner",     "volume",        "radio_off",   "radio_on",    nullptr,
    nullptr,          nullptr,       "down_list",     "across_list", "right",       "wrong",
    "tile_remove",    nullptr,       nullptr,         "answer_open", nullptr,       "sweep_tick",
    "end_of_list",    "cell_select", "tile_place",    nullptr,       nullptr,       nullptr,
    nullptr,          nullptr,       nullptr,         "turn_over",   "time_up",     "last_seconds",
    "target_expired", "tick",        "tock",          nullptr,       "result_best", "result_good",
    "result_fair",    "result_poor", "key_backspace", "key_letter",
};

// File names by eMusicCue, under "wii/audio/".
constexpr const char* kMusicNames[MUSIC_COUNT] = {
    "cues/title",
    "cues/ingame1",
    "cues/ingame2",
    "cues/ingame3",
};

bool s_bInitialised = false;
int s_effectIds[SFX_COUNT]; // sound manager ids, -1 for an effect that plays silence
kOGGStream* s_music[MUSIC_COUNT];
int s_playingCue = -1;
int s_queuedCue = -1;
float s_queueDelay = 0.0f;
int s_musicLevel = 0;
float s_musicScale = 1.0f; // a screen's fade over the music level, in whole levels
int s_effectLevel = MN_MAX_VOLUME;
int s_lastEffect = -1;
// The effects started since the last Tick, a bit each: an effect asked for again within a
// frame (several screens reacting to one event) is heard once, as copies started together
// would add up to a clipping mix.
u64 s_startedThisFrame = 0;
static_assert(SFX_COUNT <= 64, "one bit for each effect");
float s_musicFade = 1.0f; // 0.0 to 1.0 over the music level
float s_fadeStep = 0.0f;  // per second; negative while fading down
bool s_bForceChange = false;
// Seeded again by Init, so that every start plays the cues in the same order.
constexpr u32 kMusicSeed = 5489u;
kmRandomMersenneTwister s_random(kMusicSeed);

bool IsEffect(int id) {
    return id >= 0 && id < SFX_COUNT;
}

bool IsCue(int cue) {
    return cue >= 0 && cue < MUSIC_COUNT;
}

bool IsInGameCue(int cue) {
    return cue >= MUSIC_INGAME1 && cue <= MUSIC_INGAME3;
}

// "wii/audio/" + name + extension.
void AudioPath(char* path, int size, const char* name, const char* extension) {
    std::snprintf(path, static_cast<size_t>(size), "wii/audio/%s.%s", name, extension);
}

// The sound manager id of the effect file, or -1 (logged) when it is missing or unreadable.
int LoadEffect(const char* name) {
    char path[128];
    AudioPath(path, sizeof(path), name, "dsp");
    SysFileHandle* handle = kPlatform_FileOpen(path, K_IO_ACCESS_READ, K_IO_OPEN_EXISTING);
    if (handle == nullptr) {
        kLogSys(kSystem, "Sound effect %s is missing; it plays silence\n", path);
        return -1;
    }
    kFileIOStream stream(handle);
    const int id = kSoundManager::Load(&stream, path);
    stream.Close();
    if (id < 0) {
        kLogSys(kSystem, "Sound effect %s is unreadable; it plays silence\n", path);
    }
    return id;
}

// The cue's stream, or null (logged) when its file is missing or not Ogg Vorbis.
kOGGStream* LoadMusic(const char* name) {
    char path[128];
    AudioPath(path, sizeof(path), name, "ogg");
    kOGGStream* stream = new kOGGStream(path, false);
    if (stream->IsEOF()) {
        kLogSys(kSystem, "Music %s is missing or unreadable; it plays silence\n", path);
        delete stream;
        return nullptr;
    }
    return stream;
}

int PlayedMusicLevel() {
    return static_cast<int>(s_musicScale * static_cast<float>(s_musicLevel));
}

void ApplyMusicVolume() {
    kAudioStream::SetVolume(static_cast<float>(PlayedMusicLevel()) / MN_MAX_VOLUME * s_musicFade);
}

void StartCue(int cue) {
    s_queuedCue = -1;
    s_playingCue = cue;
    kOGGStream* stream = s_music[cue];
    if (stream == nullptr) {
        return;
    }
    stream->Rewind(false);
    g_preBufferOGG = true;
    if (kAudioStream::LoadStream(stream, true)) {
        ApplyMusicVolume();
        kAudioStream::Play();
    }
}

void MoveFade(float delta) {
    if (s_fadeStep == 0.0f) {
        return;
    }
    s_musicFade += s_fadeStep * delta;
    if (s_musicFade <= 0.0f || s_musicFade >= 1.0f) {
        s_musicFade = s_musicFade <= 0.0f ? 0.0f : 1.0f;
        s_fadeStep = 0.0f;
    }
    ApplyMusicVolume();
}

} // namespace

void MNSound::Init(int effectVolume, int musicVolume) {
    if (s_bInitialised) {
        kLogSys(kSystem, "Init: already initialised\n");
        return;
    }
    s_bInitialised = true;
    kSoundManager::Init();
    kAudioStream::Init();
    s_playingCue = -1;
    s_queuedCue = -1;
    s_musicFade = 1.0f;
    s_fadeStep = 0.0f;
    s_musicScale = 1.0f;
    s_bForceChange = false;
    s_startedThisFrame = 0;
    s_random.seed(kMusicSeed);
    SetSoundEffectVolume(effectVolume);
    SetMusicVolume(musicVolume);
    for (int id = 0; id < SFX_COUNT; ++id) {
        s_effectIds[id] = kEffectNames[id] != nullptr ? LoadEffect(kEffectNames[id]) : -1;
    }
    for (int cue = 0; cue < MUSIC_COUNT; ++cue) {
        s_music[cue] = LoadMusic(kMusicNames[cue]);
    }
}

void MNSound::Deinit() {
    if (!s_bInitialised) {
        return;
    }
    s_bInitialised = false;
    StopMusic();
    kAudioStream::Deinit();
    for (int& id : s_effectIds) {
        if (id >= 0) {
            kSoundManager::Free(id);
        }
    }
    kSoundManager::DeInit();
    for (kOGGStream*& stream : s_music) {
        delete stream;
        stream = nullptr;
    }
}

void MNSound::Tick(float delta) {
    s_startedThisFrame = 0;
    MoveFade(delta);
    if (s_queuedCue < 0) {
        return;
    }
    s_queueDelay -= delta;
    if (s_queueDelay <= kStartTolerance) {
        StartCue(s_queuedCue);
    }
}

void MNSound::PlaySoundEffect(int id) {
    if (!IsEffect(id)) {
        kLogSys(kSystem, "PlaySoundEffect: no sound effect %d\n", id);
        return;
    }
    s_lastEffect = id;
    if (kEffectNames[id] == nullptr) {
        kLogSys(kSystem, "PlaySoundEffect: effect %d has no sound\n", id);
        return;
    }
    const u64 bit = u64{1} << id;
    if (s_bInitialised && s_effectIds[id] >= 0 && (s_startedThisFrame & bit) == 0) {
        s_startedThisFrame |= bit;
        kSoundManager::Play(s_effectIds[id], true);
    }
}

int MNSound::GetMusicPlayingIdx() {
    return s_queuedCue >= 0 ? s_queuedCue : s_playingCue;
}

void MNSound::StopMusic() {
    s_queuedCue = -1;
    if (s_playingCue >= 0 && s_music[s_playingCue] != nullptr) {
        kAudioStream::Reset();
    }
    s_playingCue = -1;
}

void MNSound::PlayMusic(int cue) {
    if (!IsCue(cue)) {
        kLogSys(kSystem, "PlayMusic: no music cue %d\n", cue);
        return;
    }
    StopMusic();
    s_queuedCue = cue;
    s_queueDelay = K_MUSIC_START_DELAY;
}

void MNSound::SetSoundEffectVolume(int level) {
    s_effectLevel = ClampVolume(level, "Effect");
    kSoundManager::SetMasterVolume(static_cast<float>(s_effectLevel) / MN_MAX_VOLUME);
}

int MNSound::GetSoundEffectVolume() {
    return s_effectLevel;
}

int MNSound::GetMusicVolume() {
    return PlayedMusicLevel();
}

int MNSound::GetLastSoundEffect() {
    return s_lastEffect;
}

void MNSound::SetMusicVolume(int level) {
    s_musicLevel = ClampVolume(level, "Music");
    ApplyMusicVolume();
}

void MNSound::ScaleMusic(float fraction) {
    s_musicScale = fraction < 0.0f ? 0.0f : (fraction > 1.0f ? 1.0f : fraction);
    ApplyMusicVolume();
}

void MNSound::ForceRandomMusicChange() {
    s_bForceChange = true;
}

void MNSound::PlayRandomInGameMusic() {
    const int current = GetMusicPlayingIdx();
    if (IsInGameCue(current) && !s_bForceChange) {
        return;
    }
    s_bForceChange = false;
    const int inGameCues = MUSIC_INGAME3 - MUSIC_INGAME1 + 1;
    if (!IsInGameCue(current)) {
        PlayMusic(MUSIC_INGAME1 + s_random.randInt(inGameCues));
        return;
    }
    // One of the other in-game cues: a step of 1 or 2 around the three.
    const int step = 1 + s_random.randInt(inGameCues - 1);
    PlayMusic(MUSIC_INGAME1 + (current - MUSIC_INGAME1 + step) % inGameCues);
}

void MNSound::FadeDownForHomeMenu() {
    WiiFadeDown();
    s_fadeStep = -1.0f / kHomeMenuFadeSeconds;
}

void MNSound::RestartAfterHomeMenu() {
    s_musicFade = 1.0f;
    s_fadeStep = 0.0f;
    ApplyMusicVolume();
    const int cue = GetMusicPlayingIdx();
    if (cue >= 0) {
        PlayMusic(cue);
    }
}

const char* MNSound::GetSoundEffectName(int id) {
    return IsEffect(id) ? kEffectNames[id] : nullptr;
}

const char* MNSound::GetMusicName(int cue) {
    return IsCue(cue) ? kMusicNames[cue] : nullptr;
}

} // namespace Kelvo_lib
