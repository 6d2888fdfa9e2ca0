// The voice device: channels over AX voices, channel choice and stealing, the slot state
// machine of the audio frame callback, stream channels refilled by halves, and stream
// buffers kept until the callback has released every voice that read them.
#include "kaudiowii-ax.h"
#include <kelvo/audio/kaxvoice.h>
#include <kelvo/audio/kdspadpcm.h>
#include <kelvo/platform/kdebug.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include <console/ai.h>
#include <console/mix.h>
#include <console/os.h>
#include <console/sc.h>

#include "../common/ksoundfile.h"

#include <cmath>
#include <cstring>

namespace Kelvo_lib::kAudioWII_Private {

namespace {

using Channel = WIIDevice::Channel;

constexpr const char* kSystem = "WII";
constexpr u32 kVoicePriority = AX_PRIORITY_HIGHEST;
constexpr double kOutputRate = AI_SAMPLE_RATE;
constexpr unsigned int kMinStreamBufferBytes = 8192;
constexpr unsigned int kScratchBytes = 16384;
constexpr int kSampleAuxLevel = -960;
constexpr int kSpan = 127;
constexpr int kFadeDownLevel = -550;

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
VoiceInfo s_voices[AX_MAX_VOICES];
bool s_bExceed = false;
unsigned int s_exceedCycles = 0;
unsigned int s_callbackRuns = 0;
// Main thread only: the stream channels Update still serves.
kArray<Channel*> s_streamChannels;

u32 Joined(u16 high, u16 low) {
    return (static_cast<u32>(high) << 16) | low;
}

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
    VoiceInfo& slot = s_voices[voice->index];
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

// Slots left stopping (the partner of a stream voice that ended or was dropped) are
// released by the next callback anyway; when AX has no voice left, releasing them at once
// frees theirs.
bool ReleaseStoppingVoices() {
    bool released = false;
    for (VoiceInfo& slot : s_voices) {
        if (slot.voice != nullptr && slot.state == K_VOICE_STOP) {
            Release(slot);
            released = true;
        }
    }
    return released;
}

void voiceDropCallback(void* dropped) {
    AXVPB* voice = static_cast<AXVPB*>(dropped);
    VoiceInfo& slot = s_voices[voice->index];
    MIXReleaseChannel(voice);
    static_cast<Channel*>(voice->userContext)->ForgetVoice(&slot);
    slot = VoiceInfo{};
}

// With interrupts disabled.
AXVPB* AcquireVoice(Channel* channel) {
    AXVPB* voice = AXAcquireVoice(kVoicePriority, voiceDropCallback, channel);
    if (voice == nullptr && ReleaseStoppingVoices()) {
        voice = AXAcquireVoice(kVoicePriority, voiceDropCallback, channel);
    }
    return voice;
}

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

bool IsPlayableStream(kSoundStream& stream) {
    const kSAMPLE_FORMAT format = stream.Format();
    if (kSound::BitsPerSample(format) != 16) {
        kLogSys(kSystem, "Only accept 16bit stream\n");
        return false;
    }
    const unsigned int channels = kSound::NumChannels(format);
    if (channels != 1 && channels != 2) {
        kLogSys(kSystem,
                "PlayStream: Only mono and stereo streams can be played, not %u channels\n",
                channels);
        return false;
    }
    const unsigned int rate = stream.Frequency();
    if (rate == 0 || rate > K_AX_MAX_RATE) {
        kLogSys(kSystem, "PlayStream: Unsupported stream rate %u Hz\n", rate);
        return false;
    }
    return true;
}

// One second of one channel, at least 8,192 bytes, in whole sample pairs so that each
// half holds whole samples.
unsigned int StreamBufferSize(kSoundStream& stream) {
    const unsigned int second = kSound::BitsPerSample(stream.Format()) / 8 * stream.Frequency();
    const unsigned int size = second < kMinStreamBufferBytes ? kMinStreamBufferBytes : second;
    return (size + 3u) & ~3u;
}

// With interrupts disabled: both voices, or none.
bool AcquireStreamVoices(Channel& channel) {
    AXVPB* left = AcquireVoice(&channel);
    if (left == nullptr) {
        return false;
    }
    channel.m_axVoiceL = Occupy(left);
    AXVPB* right = AcquireVoice(&channel);
    if (right == nullptr) {
        AXFreeVoice(left);
        *channel.m_axVoiceL = VoiceInfo{};
        channel.m_axVoiceL = nullptr;
        return false;
    }
    channel.m_axVoiceR = Occupy(right);
    return true;
}

// Loops over the whole buffer, 16-bit PCM, placed hard to one side until the channel's
// levels are applied.
void SetUpStreamVoice(AXVPB* voice, unsigned char* buffer, unsigned int size, unsigned int rate,
                      int pan) {
    MIXInitChannel(voice, 0, 0, MIX_VOLUME_SILENT, MIX_VOLUME_SILENT, MIX_VOLUME_SILENT, pan, kSpan,
                   0);
    const u32 first = OSCachedToPhysical(buffer) / 2;
    AXPBADDR addr{};
    addr.loopFlag = 1;
    addr.format = AX_PB_FORMAT_PCM16;
    kAX_SplitAddress(first, &addr.loopAddressHi, &addr.loopAddressLo);
    kAX_SplitAddress(first + size / 2 - 1, &addr.endAddressHi, &addr.endAddressLo);
    kAX_SplitAddress(first, &addr.currentAddressHi, &addr.currentAddressLo);
    const AXPBSRC src = kAX_SourceFor(rate);
    AXSetVoiceAddr(voice, &addr);
    AXSetVoiceSrcType(voice, AX_SRC_TYPE_LINEAR);
    AXSetVoiceType(voice, AX_PB_TYPE_NORMAL);
    AXSetVoiceSrc(voice, &src);
}

unsigned char* AllocateStreamBuffer(unsigned int size) {
    // Tracked blocks are 32-byte aligned, as the DSP needs.
    return static_cast<unsigned char*>(kPlatform_ReleaseAlloc(K_MEM_TAG_SOUND, size));
}

// With interrupts disabled, after both voices were acquired.
void SetUpStream(Channel& channel, kSoundStream& stream) {
    const unsigned int size = StreamBufferSize(stream);
    const unsigned int rate = stream.Frequency();
    channel.m_streamBufferSize = size;
    channel.m_bStream = true;
    channel.m_leftBuffer = AllocateStreamBuffer(size);
    channel.m_rightBuffer = AllocateStreamBuffer(size);
    const u32 leftPhysical = OSCachedToPhysical(channel.m_leftBuffer);
    channel.m_half_ptr = leftPhysical + size / 2;
    channel.m_prev_ptr = leftPhysical;
    SetUpStreamVoice(channel.m_axVoiceL->voice, channel.m_leftBuffer, size, rate, MIX_PAN_LEFT);
    SetUpStreamVoice(channel.m_axVoiceR->voice, channel.m_rightBuffer, size, rate, MIX_PAN_RIGHT);
    channel.m_silenceByte = 0; // 16-bit silence
    channel.m_stream = &stream;
    channel.m_bFillSilence = false;
    channel.m_bufferToBeFilled = -1;
    channel.m_sndChannel = static_cast<int>(channel.m_axVoiceL->voice->index);
}

// Little-endian frames into the two big-endian voice buffers; mono goes to both.
void SplitFrames(const unsigned char* frames, unsigned int count, unsigned int channels,
                 unsigned char* left, unsigned char* right) {
    const unsigned int frameBytes = 2 * channels;
    for (unsigned int i = 0; i < count; ++i) {
        const unsigned char* frame = frames + i * frameBytes;
        kSoundFile::PutBig16(left + 2 * i, kSoundFile::Little16(frame));
        kSoundFile::PutBig16(right + 2 * i, kSoundFile::Little16(frame + frameBytes - 2));
    }
}

// Fills up to length bytes of each buffer from the stream; returns the bytes filled,
// fewer when the stream had no more. A read that ends inside a frame is completed by
// the next one.
unsigned int ReadFrames(kSoundStream& stream, unsigned char* left, unsigned char* right,
                        unsigned int length) {
    const unsigned int channels = kSound::NumChannels(stream.Format());
    const unsigned int frameBytes = 2 * channels;
    const unsigned int frames = length / 2;
    unsigned char scratch[kScratchBytes];
    unsigned int kept = 0; // bytes of an incomplete frame at the scratch's start
    unsigned int done = 0;
    while (done < frames) {
        const unsigned int remaining = (frames - done) * frameBytes;
        const unsigned int wanted = (remaining < kScratchBytes ? remaining : kScratchBytes) - kept;
        const unsigned int read = stream.Read(scratch + kept, wanted);
        if (read == 0) {
            break;
        }
        const unsigned int available = kept + (read < wanted ? read : wanted);
        const unsigned int whole = available / frameBytes;
        SplitFrames(scratch, whole, channels, left + 2 * done, right + 2 * done);
        done += whole;
        kept = available - whole * frameBytes;
        std::memmove(scratch, scratch + whole * frameBytes, kept);
    }
    return done * 2;
}

// Main thread, interrupts enabled: the voices play the other half meanwhile.
void FillStream(Channel* c, int halfBufferIndex, bool bFillBoth) {
    kAssertMsg(!bFillBoth || halfBufferIndex == 0,
               "!bFillBoth || ( bFillBoth && halfBufferIndex == 0 )");
    kAssertMsg(halfBufferIndex == 0 || halfBufferIndex == 1,
               "halfBufferIndex == 0 || halfBufferIndex == 1");
    const unsigned int half = c->m_streamBufferSize / 2;
    const unsigned int length = bFillBoth ? c->m_streamBufferSize : half;
    unsigned char* left = c->m_leftBuffer + halfBufferIndex * half;
    unsigned char* right = c->m_rightBuffer + halfBufferIndex * half;
    if (c->m_stream != nullptr && c->m_stream->IsEOF()) {
        c->m_bFillSilence = true;
    }
    unsigned int filled = 0;
    if (c->m_stream != nullptr && !c->m_bFillSilence) {
        filled = ReadFrames(*c->m_stream, left, right, length);
    }
    std::memset(left + filled, c->m_silenceByte, length - filled);
    std::memset(right + filled, c->m_silenceByte, length - filled);
    DCFlushRange(left, length);
    DCFlushRange(right, length);
}

void PrimeStream(Channel& channel, bool prebuffer) {
    if (prebuffer) {
        FillStream(&channel, 0, true);
        return;
    }
    for (unsigned char* buffer : {channel.m_leftBuffer, channel.m_rightBuffer}) {
        std::memset(buffer, channel.m_silenceByte, channel.m_streamBufferSize);
        DCFlushRange(buffer, channel.m_streamBufferSize);
    }
}

// Flags the half the left voice of a stream has just played, when its play position
// crossed the middle or wrapped; true when it flagged one. A crossing seen while a refill
// is pending is left for a later callback.
bool TrackStream(const VoiceInfo& slot) {
    Channel& c = *static_cast<Channel*>(slot.voice->userContext);
    if (!c.m_bStream || c.m_axVoiceL != &slot) {
        return false;
    }
    const AXPBADDR& addr = slot.voice->pb.addr;
    const u32 pos = Joined(addr.currentAddressHi, addr.currentAddressLo) * 2;
    const bool wrapped = pos < c.m_prev_ptr;
    const bool crossedMiddle = c.m_prev_ptr < c.m_half_ptr && c.m_half_ptr <= pos;
    if (wrapped || crossedMiddle) {
        if (c.m_bufferToBeFilled != -1) {
            return false;
        }
        c.m_bufferToBeFilled = wrapped ? 1 : 0;
        c.m_prev_ptr = pos;
        return true;
    }
    c.m_prev_ptr = pos;
    return false;
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

// Interrupt context, once per audio frame, after AX mixed the frame.
void audioFrameCallback() {
    MIXUpdateSettings();
    bool streamFlagged = false;
    for (VoiceInfo& slot : s_voices) {
        if (slot.voice == nullptr) {
            continue;
        }
        if (!streamFlagged && slot.state == K_VOICE_PLAYING) {
            streamFlagged = TrackStream(slot);
        }
        StepState(slot);
    }
    ++s_callbackRuns;
}

void audioExceedCallback(unsigned long cycles) {
    s_exceedCycles = static_cast<unsigned int>(cycles);
    s_bExceed = true;
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

} // namespace

bool Channel::HasVoice() const {
    return m_bStream ? (m_axVoiceL != nullptr || m_axVoiceR != nullptr) : m_axVoice != nullptr;
}

bool Channel::IsBusy() const {
    const VoiceInfo* link = m_bStream ? m_axVoiceL : m_axVoice;
    return link != nullptr && link->state != K_VOICE_IDLE && link->state != K_VOICE_STOP;
}

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

void Channel::RetireStream() {
    InterruptsDisabled lock;
    if (m_leftBuffer != nullptr) {
        device->Retire(m_leftBuffer, m_rightBuffer);
    }
    m_leftBuffer = m_rightBuffer = nullptr;
    m_bStream = false;
    m_stream = nullptr;
    m_bufferToBeFilled = -1;
}

bool WIIDevice::Init() {
    m_age = 0;
    kLogSys(kSystem, "Device Init\n");
    m_axBuffer = kPlatform_ReleaseAlloc(K_MEM_TAG_SOUND, AX_MEMORY_SIZE);
    m_mixBuffer = kPlatform_ReleaseAlloc(K_MEM_TAG_SOUND, MIX_MEMORY_SIZE);
    {
        InterruptsDisabled lock;
        for (VoiceInfo& slot : s_voices) {
            slot = VoiceInfo{};
        }
        s_bExceed = false;
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
    AXRegisterCallback(audioFrameCallback);
    AXRegisterExceedCallback(audioExceedCallback);
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
        for (VoiceInfo& slot : s_voices) {
            slot = VoiceInfo{};
        }
    }
    s_streamChannels.Empty();
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
        exceeded = s_bExceed;
        cycles = s_exceedCycles;
        s_bExceed = false;
    }
    if (exceeded) {
        kLogFmt("Audio DSP processing exceeded time limit by %d DSP cycles. Possible distortion\n",
                static_cast<int>(cycles));
    }
    ServeStreams();
    FreeRetiredBuffers(false);
}

// Refills the halves the callback flagged; channels whose stream ended or whose voices
// are gone leave the list.
void WIIDevice::ServeStreams() {
    for (s32 i = 0; i < s_streamChannels.Size();) {
        Channel& channel = *s_streamChannels(i);
        bool voiced = false;
        int half = -1;
        {
            InterruptsDisabled lock;
            voiced = channel.HasVoice();
            half = channel.m_bufferToBeFilled;
        }
        if (!channel.m_bStream || !voiced) {
            channel.RetireStream();
            s_streamChannels.Remove(i);
            continue;
        }
        if (half == 0 || half == 1) {
            FillStream(&channel, half, false);
            InterruptsDisabled lock;
            channel.m_bufferToBeFilled = -1;
        }
        ++i;
    }
}

// With interrupts disabled, so that no callback runs between the stop and the count.
void WIIDevice::Retire(unsigned char* left, unsigned char* right) {
    m_retired.Push(RetiredBuffers{left, right, s_callbackRuns});
}

// Buffers retired before the last callback ran are read by no voice any more: that
// callback released every voice whose stop was requested when they were retired.
void WIIDevice::FreeRetiredBuffers(bool all) {
    unsigned int runs = 0;
    {
        InterruptsDisabled lock;
        runs = s_callbackRuns;
    }
    for (s32 i = 0; i < m_retired.Size();) {
        const RetiredBuffers retired = m_retired(i);
        if (!all && retired.callbackRun == runs) {
            ++i;
            continue;
        }
        kPlatform_ReleaseFree(retired.left);
        kPlatform_ReleaseFree(retired.right);
        m_retired.Remove(i);
    }
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

kAudioChannel WIIDevice::PlayStream(kSoundStream* stream, kAudioChannel channelToReuse,
                                    unsigned int flag) {
    if (stream == nullptr) {
        kLogSys(kSystem, "PlayStream: Invalid sound stream\n");
        return kAudioChannel();
    }
    if (!IsPlayableStream(*stream)) {
        return kAudioChannel();
    }
    Channel* channel = nullptr;
    {
        InterruptsDisabled lock;
        channel = ClaimChannel(channelToReuse, flag);
        if (channel == nullptr) {
            return kAudioChannel();
        }
        if (!AcquireStreamVoices(*channel)) {
            kLogSys(kSystem, "PlayStream: No voices free\n");
            return kAudioChannel();
        }
        SetUpStream(*channel, *stream);
    }
    // The voices are not started yet: the buffers are filled without holding the callback.
    PrimeStream(*channel, (flag & K_AUDIO_PLAY_PREBUFFER) != 0);
    s_streamChannels.AddUniqueElement(channel);
    InterruptsDisabled lock;
    channel->m_freq = channel->m_sampleFreq = stream->Frequency();
    channel->UpdateVolumePan();
    AXSetVoiceSrcRatio(channel->m_axVoiceL->voice, RatioOf(channel->m_freq));
    AXSetVoiceSrcRatio(channel->m_axVoiceR->voice, RatioOf(channel->m_freq));
    StartVoices(*channel, flag);
    return Started(*channel);
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
