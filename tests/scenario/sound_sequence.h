// The scripted sound sequence that sound_sequence_game plays and wav_sound_check finds in
// the captured WAV: the "press" effect at each volume level, then the title music asked for
// and, later, a change to the second in-game cue. Frames are PAL fields (50 a second) from
// the first frame of the run.
#pragma once

namespace sound_sequence {

constexpr int kFramesPerSecond = 50;
constexpr int kSamplesPerFrame = 32000 / kFramesPerSecond;
constexpr int kEffectVolume = 5; // before the first level below is set
constexpr int kMusicVolume = 5;
constexpr int kEffectLevels = 6; // levels 0 to 5
constexpr int kFirstEffectFrame = 10;
constexpr int kEffectSpacing = 20;
constexpr int kTitleFrame = 140;
constexpr int kChangeFrame = 240;
constexpr int kLastFrame = 320;
// 0.15 s at 50 frames a second: the eighth tick after the request is the first past it.
constexpr int kMusicDelayFrames = 8;

constexpr int EffectFrame(int level) {
    return kFirstEffectFrame + level * kEffectSpacing;
}

} // namespace sound_sequence
