// Voice slots over AX voices: acquiring, occupying and releasing them, the state machine
// the audio frame callback steps each frame, levels and rates, and the sound mode.
#include "kaudiowii_voices.h"

#include <kelvo/platform/klog.h>

#include <console/mix.h>
#include <console/sc.h>

#include <cmath>

namespace Kelvo_lib::kAudioWII_Private {

VoiceInfo g_voices[AX_MAX_VOICES];
bool g_bExceed = false;
unsigned int g_exceedCycles = 0;
unsigned int g_callbackRuns = 0;
kArray<Channel*> g_streamChannels;

namespace {

void VoiceDropCallback(void* dropped) {
    AXVPB* voice = static_cast<AXVPB*>(dropped);
    VoiceInfo& slot = g_voices[voice->index];
    MIXReleaseChannel(voice);
    static_cast<Channel*>(voice->userContext)->ForgetVoice(&slot);
    slot = VoiceInfo{};
}

// Slots left stopping (the partner of a stream voice that ended or was dropped) are
// released by the next callback anyway; when AX has no voice left, releasing them at once
// frees theirs.
bool ReleaseStoppingVoices() {
    bool released = false;
    for (VoiceInfo& slot : g_voices) {
        if (slot.voice != nullptr && slot.state == K_VOICE_STOP) {
            Release(slot);
            released = true;
        }
    }
    return released;
}

void StepState(VoiceInfo& slot) {
    switch (slot.state) {
    case K_VOICE_START:
        AXSetVoiceState(slot.voice, AX_PB_STATE_RUN);
        slot.state = K_VOICE_STARTING;
        break;
    case K_VOICE_STARTING:
        slot.state = K_VOICE_PLAYING;
        break;
    case K_VOICE_PLAYING:
        if (slot.voice->pb.state == AX_PB_STATE_STOP) {
            Release(slot);
        }
        break;
    case K_VOICE_STOP:
        Release(slot);
        break;
    case K_VOICE_PAUSE:
        AXSetVoiceState(slot.voice, AX_PB_STATE_STOP);
        slot.state = K_VOICE_PAUSED;
        break;
    case K_VOICE_RESUME:
        AXSetVoiceState(slot.voice, AX_PB_STATE_RUN);
        slot.state = K_VOICE_PLAYING;
        break;
    default:
        break;
    }
}

} // namespace

f32 RatioOf(unsigned int rate) {
    return static_cast<f32>(rate / kOutputRate);
}

// NaN goes to the low end.
float Limited(float value, float low, float high) {
    return !(value > low) ? low : (value > high ? high : value);
}

// MIX pan of a position from -1.0 (left) to 1.0 (right).
int PanOf(float position) {
    const unsigned int pan = static_cast<unsigned int>(64.0f + 64.0f * position);
    return pan > MIX_PAN_RIGHT ? MIX_PAN_RIGHT : static_cast<int>(pan);
}

// MIX input in 0.1 dB for a volume: 32 steps, each its log2 share of full volume.
int InputOf(float volume) {
    const int step = static_cast<int>(32.0f * volume);
    const long level = step == 0 ? -10000 : std::lround(1000.0 * std::log2(step / 32.0));
    return static_cast<int>(level / 10);
}

void SetLevels(VoiceInfo* slot, int input, int pan) {
    if (slot != nullptr) {
        MIXSetInput(slot->voice, input);
        MIXSetPan(slot->voice, pan);
    }
}

void StartVoices(Channel& channel, unsigned int flag) {
    const bool paused = (flag & K_AUDIO_PLAY_PAUSED) != 0;
    ForEachLinkedSlot(channel, [paused](VoiceInfo& slot) {
        slot.state = paused ? K_VOICE_PAUSED : K_VOICE_START;
    });
    channel.m_bPaused = paused;
    channel.m_bPlaying = !paused;
    channel.m_bStopped = false;
}

VoiceInfo* Occupy(AXVPB* voice) {
    VoiceInfo& slot = g_voices[voice->index];
    slot = VoiceInfo{voice, K_VOICE_IDLE};
    return &slot;
}

// Interrupt context, or the main thread with interrupts disabled.
void Release(VoiceInfo& slot) {
    AXVPB* voice = slot.voice;
    AXSetVoiceState(voice, AX_PB_STATE_STOP);
    MIXReleaseChannel(voice);
    static_cast<Channel*>(voice->userContext)->ForgetVoice(&slot);
    AXFreeVoice(voice);
    slot = VoiceInfo{};
}

// With interrupts disabled.
AXVPB* AcquireVoice(Channel* channel) {
    AXVPB* voice = AXAcquireVoice(kVoicePriority, VoiceDropCallback, channel);
    if (voice == nullptr && ReleaseStoppingVoices()) {
        voice = AXAcquireVoice(kVoicePriority, VoiceDropCallback, channel);
    }
    return voice;
}

// Interrupt context, once per audio frame, after AX mixed the frame.
void AudioFrameCallback() {
    MIXUpdateSettings();
    bool streamFlagged = false;
    for (VoiceInfo& slot : g_voices) {
        if (slot.voice == nullptr) {
            continue;
        }
        if (slot.state == K_VOICE_PLAYING) {
            streamFlagged = TrackStream(slot, !streamFlagged) || streamFlagged;
        }
        StepState(slot);
    }
    ++g_callbackRuns;
}

void AudioExceedCallback(unsigned long cycles) {
    g_exceedCycles = static_cast<unsigned int>(cycles);
    g_bExceed = true;
}

void SetSoundMode() {
    switch (SCGetSoundMode()) {
    case SC_SOUND_MODE_MONO:
        MIXSetSoundMode(MIX_SOUND_MODE_MONO);
        break;
    case SC_SOUND_MODE_STEREO:
    case SC_SOUND_MODE_SURROUND:
        MIXSetSoundMode(MIX_SOUND_MODE_STEREO);
        break;
    default:
        break;
    }
}

} // namespace Kelvo_lib::kAudioWII_Private
