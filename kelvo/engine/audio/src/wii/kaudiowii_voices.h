// What the voice device's source files share: its constants, the interrupt lock, the voice
// slots the audio frame callback steps (shared with it under the interrupt lock), the stream
// channels Update serves (main thread), and the helpers each part uses of the others. Voice
// slots and the callback are in kaudiowii_voices.cpp, sample channels in
// kaudiowii_samples.cpp, stream channels in kaudiowii_streams.cpp, the device in
// kaudiowii-ax.cpp.
#pragma once

#include "kaudiowii-ax.h"

#include <console/ai.h>
#include <console/os.h>

namespace Kelvo_lib::kAudioWII_Private {

using Channel = WIIDevice::Channel;

inline constexpr const char* kSystem = "WII";
inline constexpr u32 kVoicePriority = AX_PRIORITY_HIGHEST;
inline constexpr double kOutputRate = AI_SAMPLE_RATE;
inline constexpr int kSpan = 127;

class InterruptsDisabled {
public:
    InterruptsDisabled() : m_level(OSDisableInterrupts()) {}
    ~InterruptsDisabled() { OSRestoreInterrupts(m_level); }
    InterruptsDisabled(const InterruptsDisabled&) = delete;
    InterruptsDisabled& operator=(const InterruptsDisabled&) = delete;

private:
    BOOL m_level;
};

// Shared with the callback, under the interrupt lock.
extern VoiceInfo g_voices[AX_MAX_VOICES];
extern bool g_bExceed;
extern unsigned int g_exceedCycles;
extern unsigned int g_callbackRuns;
// Main thread only: the stream channels Update still serves.
extern kArray<Channel*> g_streamChannels;

// Levels and rates.
f32 RatioOf(unsigned int rate);
float Limited(float value, float low, float high);
int PanOf(float position);
int InputOf(float volume);
void SetLevels(VoiceInfo* slot, int input, int pan);

// The slots of the channel's current voices: a stream's two, or the sample's one.
template <typename Action>
void ForEachLinkedSlot(const Channel& channel, Action action) {
    VoiceInfo* const slots[] = {channel.m_bStream ? channel.m_axVoiceL : channel.m_axVoice,
                                channel.m_bStream ? channel.m_axVoiceR : nullptr};
    for (VoiceInfo* slot : slots) {
        if (slot != nullptr) {
            action(*slot);
        }
    }
}

// Voice slots.
void StartVoices(Channel& channel, unsigned int flag);
VoiceInfo* Occupy(AXVPB* voice);
void Release(VoiceInfo& slot);
AXVPB* AcquireVoice(Channel* channel);
void AudioFrameCallback();
void AudioExceedCallback(unsigned long cycles);
void SetSoundMode();

// Streams.
void FillStream(Channel* c, int halfBufferIndex, bool bFillBoth);
bool TrackStream(const VoiceInfo& slot, bool mayFlag);

} // namespace Kelvo_lib::kAudioWII_Private
