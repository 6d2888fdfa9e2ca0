// A stand-in for the game's entry point that plays the scripted sound sequence of
// sound_sequence.h through the game's sound table, with the disc's own sounds, ticking the
// sounds and updating the audio device once a frame before the game acts, as the main loop
// does.
#include "sound_sequence.h"

#include <services/mnsound.h>

#include <kelvo/audio/kaudio.h>
#include <kelvo/platform/kplatform.h>

namespace {

using Kelvo_lib::MNSound;
using namespace sound_sequence;

void PlayScript(int frame) {
    for (int level = 0; level < kEffectLevels; ++level) {
        if (frame == EffectFrame(level)) {
            MNSound::SetSoundEffectVolume(level);
            MNSound::PlaySoundEffect(Kelvo_lib::SFX_PRESS);
        }
    }
    if (frame == kTitleFrame) {
        MNSound::PlayMusic(Kelvo_lib::MUSIC_TITLE);
    }
    if (frame == kChangeFrame) {
        MNSound::PlayMusic(Kelvo_lib::MUSIC_INGAME2);
    }
}

} // namespace

int GameMain() {
    kPlatform_Init();
    Kelvo_lib::kAudio::Init();
    Kelvo_lib::kAudio::DeviceCreate(0, 0, nullptr);
    MNSound::Init(kEffectVolume, kMusicVolume);
    float last = kPlatform_GetSeconds();
    MyDemoBeforeRender();
    for (int frame = 0; kPlatform_Process() != 0; ++frame) {
        const float now = kPlatform_GetSeconds();
        MNSound::Tick(now - last);
        Kelvo_lib::kAudio::Update();
        last = now;
        PlayScript(frame);
        MyDemoDoneRender();
        MyDemoBeforeRender();
    }
    MNSound::Deinit();
    Kelvo_lib::kAudio::Deinit();
    return 0;
}
