// The voice device: channels over AX voices, their set-up and release, channel choice
// and stealing, and the calls kAudio makes of every channel.
#include "kaudiowii_voices.h"

#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include <console/mix.h>

namespace Kelvo_lib::kAudioWII_Private {

bool Channel::HasVoice() const {
    return m_bStream ? (m_axVoiceL != nullptr || m_axVoiceR != nullptr) : m_axVoice != nullptr;
}

bool Channel::IsBusy() const {
    const VoiceInfo* link = m_bStream ? m_axVoiceL : m_axVoice;
    return link != nullptr && link->state != K_VOICE_IDLE && link->state != K_VOICE_STOP;
}

bool Channel::Pause(bool pause) {
    InterruptsDisabled lock;
    if (!HasVoice()) {
        return false;
    }
    if (pause == m_bPaused) {
        return true;
    }
    m_bPaused = pause;
    m_bPlaying = !pause;
    ForEachLinkedSlot(*this, [pause](VoiceInfo& slot) {
        if (pause) {
            MIXMute(slot.voice);
            slot.state = K_VOICE_PAUSE;
        } else {
            MIXUnMute(slot.voice);
            slot.state = K_VOICE_RESUME;
        }
    });
    return true;
}

// The voices are released here rather than by the next callback: the mixer reads a voice's
// data until its release, and the caller may delete the sample as soon as Stop returns.
bool Channel::Stop() {
    InterruptsDisabled lock;
    const bool hadVoice = HasVoice();
    ForEachLinkedSlot(*this, Release);
    RetireStream();
    return hadVoice;
}

// A stream's two voices keep their sides: the pan moves both, the left voice from hard
// left to the centre as the pan goes right, the right voice likewise to the left.
bool Channel::UpdateVolumePan() {
    InterruptsDisabled lock;
    if (!HasVoice()) {
        return false;
    }
    const int input = InputOf(m_volume);
    if (m_bStream) {
        SetLevels(m_axVoiceL, input, PanOf(Limited(2.0f * m_pan - 1.0f, -1.0f, 1.0f)));
        SetLevels(m_axVoiceR, input, PanOf(Limited(2.0f * m_pan + 1.0f, -1.0f, 1.0f)));
    } else {
        SetLevels(m_axVoice, input, PanOf(m_pan));
    }
    return true;
}

// Links to an older voice were dropped when the channel was given a new sound, so the
// old voice's release leaves the new one alone.
void Channel::ForgetVoice(const VoiceInfo* slot) {
    if (slot != m_axVoice && slot != m_axVoiceL && slot != m_axVoiceR) {
        return;
    }
    for (VoiceInfo* partner : {m_axVoiceL, m_axVoiceR}) {
        if (partner != nullptr && partner != slot) {
            partner->state = K_VOICE_STOP;
        }
    }
    m_axVoice = m_axVoiceL = m_axVoiceR = nullptr;
    m_bStopped = true;
    m_bPlaying = false;
}

bool WIIDevice::Init() {
    m_age = 0;
    kLogSys(kSystem, "Device Init\n");
    m_axBuffer = kPlatform_ReleaseAlloc(K_MEM_TAG_SOUND, AX_MEMORY_SIZE);
    m_mixBuffer = kPlatform_ReleaseAlloc(K_MEM_TAG_SOUND, MIX_MEMORY_SIZE);
    {
        InterruptsDisabled lock;
        for (VoiceInfo& slot : g_voices) {
            slot = VoiceInfo{};
        }
        g_bExceed = false;
    }
    AIInit(nullptr);
    AXInitSpecifyMem(AX_MAX_VOICES, m_axBuffer);
    MIXInitSpecifyMem(m_mixBuffer);
    SetSoundMode();
    const int voices = static_cast<int>(AXGetMaxVoices());
    kLogSys(kSystem, "%d voices available\n", voices);
    m_channelList.Add(voices);
    for (int i = 0; i < voices; ++i) {
        Channel& channel = m_channelList(i);
        channel = Channel{};
        channel.device = this;
        channel.m_sndChannel = i;
    }
    AXRegisterCallback(AudioFrameCallback);
    AXRegisterExceedCallback(AudioExceedCallback);
    kLogSys(kSystem, "%d channels\n", m_channelList.Size());
    return true;
}

void WIIDevice::Deinit() {
    {
        InterruptsDisabled lock;
        AXRegisterCallback(nullptr);
        AXRegisterExceedCallback(nullptr);
    }
    for (int i = 0; i < m_channelList.Size(); ++i) {
        m_channelList(i).Stop();
    }
    MIXQuit();
    AXQuit(); // frees every voice: nothing reads the buffers from here on
    {
        InterruptsDisabled lock;
        for (VoiceInfo& slot : g_voices) {
            slot = VoiceInfo{};
        }
    }
    g_streamChannels.Empty();
    FreeRetiredBuffers(true);
    m_channelList.Empty();
    kPlatform_ReleaseFree(m_axBuffer);
    kPlatform_ReleaseFree(m_mixBuffer);
    m_axBuffer = m_mixBuffer = nullptr;
}

void WIIDevice::Update() {
    bool exceeded = false;
    unsigned int cycles = 0;
    {
        InterruptsDisabled lock;
        exceeded = g_bExceed;
        cycles = g_exceedCycles;
        g_bExceed = false;
    }
    if (exceeded) {
        kLogFmt("Audio DSP processing exceeded time limit by %d DSP cycles. Possible distortion\n",
                static_cast<int>(cycles));
    }
    ServeStreams();
    FreeRetiredBuffers(false);
}

kAudioChannel WIIDevice::GetChannel(int index) {
    if (index < 0 || index >= m_channelList.Size()) {
        kLogSys(kSystem, "GetChannel: Internal channel index error\n");
        return kAudioChannel();
    }
    return kAudioChannel::Of(static_cast<unsigned int>(index),
                             static_cast<unsigned int>(m_channelList(index).ref));
}

Channel* WIIDevice::Resolve(kAudioChannel handle, const char* operation) {
    if (handle.IsAny()) {
        kLogSys(kSystem, "%s: Invalid channel specified\n", operation);
        return nullptr;
    }
    if (handle.Index() >= static_cast<unsigned int>(m_channelList.Size())) {
        kLogSys(kSystem, "%s: Internal channel index error\n", operation);
        return nullptr;
    }
    Channel& channel = m_channelList(static_cast<s32>(handle.Index()));
    if (static_cast<unsigned int>(channel.ref) != handle.ReuseCount()) {
        kLogSys(kSystem, "%s: Channel has been reused\n", operation);
        return nullptr;
    }
    return &channel;
}

// The first channel that is not busy, else the oldest busy one unless stealing is
// refused; -1 for none.
int WIIDevice::FindChannelFor(unsigned int flag) {
    int oldest = -1;
    for (int i = 0; i < m_channelList.Size(); ++i) {
        const Channel& channel = m_channelList(i);
        if (!channel.IsBusy()) {
            return i;
        }
        if (oldest < 0 || channel.age < m_channelList(oldest).age) {
            oldest = i;
        }
    }
    return (flag & K_AUDIO_PLAY_NEVER_STEAL) != 0 ? -1 : oldest;
}

// With interrupts disabled: the channel the request names, or one chosen for any-channel
// requests (its reuse count moves on and its settings are reset), with its current
// sound stopped and its links cleared for the new one; null, logged, when refused.
Channel* WIIDevice::ClaimChannel(kAudioChannel handle, unsigned int flag) {
    Channel* channel = nullptr;
    if (handle.IsAny()) {
        const int index = FindChannelFor(flag);
        if (index < 0) {
            return nullptr;
        }
        channel = &m_channelList(index);
        channel->Stop();
        channel->ref = static_cast<int>((static_cast<unsigned int>(channel->ref) + 1) &
                                        kAudioChannel::K_REUSE_MASK);
        channel->m_volume = 1.0f;
        channel->m_pan = 0.0f;
        channel->m_freq = channel->m_sampleFreq = 44000;
    } else {
        if (handle.Index() >= static_cast<unsigned int>(m_channelList.Size())) {
            kLogSys(kSystem, "Play: Invalid channel specified\n");
            return nullptr;
        }
        channel = &m_channelList(static_cast<s32>(handle.Index()));
        if (static_cast<unsigned int>(channel->ref) != handle.ReuseCount()) {
            kLogSys(kSystem, "Play: Channel has been reused\n");
            return nullptr;
        }
        channel->Stop();
    }
    channel->m_axVoice = channel->m_axVoiceL = channel->m_axVoiceR = nullptr;
    channel->m_bPaused = false;
    channel->m_bPlaying = false;
    channel->m_bStopped = true;
    return channel;
}

kAudioChannel WIIDevice::Started(Channel& channel) {
    channel.age = m_age++;
    const unsigned int index = static_cast<unsigned int>(&channel - m_channelList.Data());
    return kAudioChannel::Of(index, static_cast<unsigned int>(channel.ref));
}

void WIIDevice::ChannelStop(kAudioChannel channel) {
    if (Channel* resolved = Resolve(channel, "ChannelStop")) {
        resolved->Stop();
    }
}

void WIIDevice::ChannelResume(kAudioChannel channel) {
    if (Channel* resolved = Resolve(channel, "ChannelResume")) {
        resolved->Pause(false);
    }
}

bool WIIDevice::ChannelIsPlaying(kAudioChannel channel) {
    Channel* resolved = Resolve(channel, "ChannelIsPlaying");
    InterruptsDisabled lock;
    return resolved != nullptr && resolved->IsBusy();
}

void WIIDevice::ChannelSetVolume(kAudioChannel channel, float volume) {
    Channel* resolved = Resolve(channel, "ChannelSetVolume");
    const float limited = Limited(volume, 0.0f, 1.0f);
    if (resolved != nullptr && limited != resolved->m_volume) {
        resolved->m_volume = limited;
        resolved->UpdateVolumePan();
    }
}

void WIIDevice::ChannelSetPan(kAudioChannel channel, float pan) {
    Channel* resolved = Resolve(channel, "ChannelSetPan");
    if (resolved != nullptr && pan != resolved->m_pan) {
        resolved->m_pan = Limited(pan, -1.0f, 1.0f);
        resolved->UpdateVolumePan();
    }
}

void WIIDevice::ChannelSetFrequency(kAudioChannel channel, unsigned int hz) {
    Channel* resolved = Resolve(channel, "ChannelSetFrequency");
    if (resolved == nullptr || hz == resolved->m_freq) {
        return;
    }
    resolved->m_freq = hz;
    InterruptsDisabled lock;
    ForEachLinkedSlot(*resolved,
                      [hz](VoiceInfo& slot) { AXSetVoiceSrcRatio(slot.voice, RatioOf(hz)); });
}

void WIIDevice::Terminate() {
    InterruptsDisabled lock;
    for (int i = 0; i < m_channelList.Size(); ++i) {
        Channel& channel = m_channelList(i);
        if (channel.IsBusy()) {
            channel.Stop();
        }
    }
}

} // namespace Kelvo_lib::kAudioWII_Private
