// Sample channels: a mono DSP ADPCM sound on one voice, and the fade of every playing one.
#include "kaudiowii_voices.h"

#include <kelvo/audio/kaxvoice.h>
#include <kelvo/audio/kdspadpcm.h>
#include <kelvo/platform/klog.h>

#include <console/mix.h>

namespace Kelvo_lib::kAudioWII_Private {

namespace {

constexpr int kSampleAuxLevel = -960;
constexpr int kFadeDownLevel = -550;

// A voice set up to play the DSP file (header, then ADPCM frames); null, logged, when
// no voice is free.
AXVPB* AcquireVoiceADPCM(void* pDSPADPCMData, Channel* channel, bool bLoop) {
    AXVPB* voice = AcquireVoice(channel);
    if (voice == nullptr) {
        kLogFmt("WARNING! Voice Acquisition failed!\n");
        return nullptr;
    }
    kAX_SetUpDSPVoice(voice, static_cast<const unsigned char*>(pDSPADPCMData), bLoop);
    return voice;
}

bool IsPlayableSample(const kSound& sound) {
    const bool playable = sound.NumChannels() == 1 && sound.DataType() == K_SAMPLE_DATA_DSP_ADPCM &&
                          sound.DataSize() >= K_DSP_HEADER_SIZE && sound.GetData() != nullptr &&
                          OSCachedToPhysical(sound.GetData()) != OS_PHYSICAL_INVALID;
    if (!playable) {
        kLogSys(kSystem, "Play: Only mono DSP ADPCM samples in console memory can be played\n");
    }
    return playable;
}

} // namespace

bool Channel::Play(kSound* sound, unsigned int flag) {
    m_freq = m_sampleFreq = sound->Frequency();
    RetireStream();
    InterruptsDisabled lock;
    AXVPB* voice = AcquireVoiceADPCM(sound->GetData(), this, (flag & K_AUDIO_PLAY_LOOP) != 0);
    if (voice == nullptr) {
        return false;
    }
    MIXInitChannel(voice, 0, 0, kSampleAuxLevel, kSampleAuxLevel, kSampleAuxLevel, MIX_PAN_CENTRE,
                   kSpan, 0);
    m_axVoice = Occupy(voice);
    m_sndChannel = static_cast<int>(voice->index);
    UpdateVolumePan();
    AXSetVoiceSrcRatio(voice, RatioOf(m_freq));
    StartVoices(*this, flag);
    return true;
}

kAudioChannel WIIDevice::Play(kSound* buffer, kAudioChannel channel, unsigned int flag) {
    if (buffer == nullptr) {
        kLogSys(kSystem, "Play: Invalid sound buffer\n");
        return kAudioChannel();
    }
    if (!IsPlayableSample(*buffer)) {
        return kAudioChannel();
    }
    InterruptsDisabled lock;
    Channel* claimed = ClaimChannel(channel, flag);
    if (claimed == nullptr) {
        return kAudioChannel();
    }
    if (!claimed->Play(buffer, flag)) {
        kLogSys(kSystem, "Play: Error playing!\n");
        return kAudioChannel();
    }
    return Started(*claimed);
}

void WIIDevice::FadeDownSamples() {
    InterruptsDisabled lock;
    for (int i = 0; i < m_channelList.Size(); ++i) {
        const Channel& channel = m_channelList(i);
        if (channel.m_bPlaying && channel.m_axVoice != nullptr) {
            MIXSetFader(channel.m_axVoice->voice, kFadeDownLevel);
        }
    }
}

} // namespace Kelvo_lib::kAudioWII_Private
