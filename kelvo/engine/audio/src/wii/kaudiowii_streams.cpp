// Stream channels: a 16-bit PCM stream on a left and a right voice looping over two ring
// buffers, refilled by halves on the main thread as the callback flags them, and the
// buffers kept until the callback has released every voice that read them. Once the voices
// play, the ring is written only under the interrupt lock: the callback silences each half
// the voices leave, and a refill decodes outside the lock and writes under it, so a refill
// late past the wrap (the main thread stalled) leaves silence to be heard, never the music
// heard before.
#include "kaudiowii_voices.h"

#include <kelvo/audio/kaxvoice.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include <console/mix.h>

#include "../common/ksoundfile.h"

#include <cstring>

namespace Kelvo_lib::kAudioWII_Private {

namespace {

constexpr unsigned int kMinStreamBufferBytes = 8192;
constexpr unsigned int kScratchBytes = 16384;

u32 Joined(u16 high, u16 low) {
    return (static_cast<u32>(high) << 16) | low;
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
    channel.m_playingHalf = 0;
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

// Both buffers' bytes from `offset` on to the silence byte.
void Silence(Channel& c, unsigned int offset, unsigned int length) {
    std::memset(c.m_leftBuffer + offset, c.m_silenceByte, length);
    std::memset(c.m_rightBuffer + offset, c.m_silenceByte, length);
}

void FlushBuffers(Channel& c, unsigned int offset, unsigned int length) {
    DCFlushRange(c.m_leftBuffer + offset, length);
    DCFlushRange(c.m_rightBuffer + offset, length);
}

// Fills up to length bytes of each buffer from `offset` on with the stream's frames; returns
// the bytes filled, fewer when the stream had no more. A read that ends inside a frame is
// completed by the next one. Frames are decoded outside the interrupt lock and written under
// it, as the voices may be playing the half after a stall.
unsigned int ReadFrames(Channel& c, unsigned int offset, unsigned int length) {
    kSoundStream& stream = *c.m_stream;
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
        {
            InterruptsDisabled lock;
            SplitFrames(scratch, whole, channels, c.m_leftBuffer + offset + 2 * done,
                        c.m_rightBuffer + offset + 2 * done);
        }
        done += whole;
        kept = available - whole * frameBytes;
        std::memmove(scratch, scratch + whole * frameBytes, kept);
    }
    return done * 2;
}

void PrimeStream(Channel& channel, bool prebuffer) {
    if (prebuffer) {
        FillStream(&channel, 0, true);
        return;
    }
    Silence(channel, 0, channel.m_streamBufferSize);
    FlushBuffers(channel, 0, channel.m_streamBufferSize);
}

// The half the left voice has just left holds music already heard: silenced at once, so
// that should its refill come late the voices play silence there, not that music again.
// Every byte of it was fetched: the voices fetch each sample once, in order.
void SilenceHalfLeft(Channel& c, u32 pos) {
    const int playing = pos < c.m_half_ptr ? 0 : 1;
    if (playing == c.m_playingHalf) {
        return;
    }
    const unsigned int half = c.m_streamBufferSize / 2;
    Silence(c, c.m_playingHalf * half, half);
    FlushBuffers(c, c.m_playingHalf * half, half);
    c.m_playingHalf = playing;
}

} // namespace

// Main thread, interrupts enabled: the voices play the other half meanwhile, or (after a
// stall) this one, which the callback silenced.
void FillStream(Channel* c, int halfBufferIndex, bool bFillBoth) {
    kAssertMsg(!bFillBoth || halfBufferIndex == 0,
               "!bFillBoth || ( bFillBoth && halfBufferIndex == 0 )");
    kAssertMsg(halfBufferIndex == 0 || halfBufferIndex == 1,
               "halfBufferIndex == 0 || halfBufferIndex == 1");
    const unsigned int half = c->m_streamBufferSize / 2;
    const unsigned int length = bFillBoth ? c->m_streamBufferSize : half;
    const unsigned int offset = static_cast<unsigned int>(halfBufferIndex) * half;
    if (c->m_stream != nullptr && c->m_stream->IsEOF()) {
        c->m_bFillSilence = true;
    }
    unsigned int filled = 0;
    if (c->m_stream != nullptr && !c->m_bFillSilence) {
        filled = ReadFrames(*c, offset, length);
    }
    InterruptsDisabled lock;
    Silence(*c, offset + filled, length - filled);
    FlushBuffers(*c, offset, length);
}

// Silences the half the left voice of a stream has just left and, when `mayFlag`, flags
// it for a refill, when its play position crossed the middle or wrapped; true when it
// flagged one. A crossing seen while a refill is pending is flagged by a later callback.
bool TrackStream(const VoiceInfo& slot, bool mayFlag) {
    Channel& c = *static_cast<Channel*>(slot.voice->userContext);
    if (!c.m_bStream || c.m_axVoiceL != &slot) {
        return false;
    }
    const AXPBADDR& addr = slot.voice->pb.addr;
    const u32 pos = Joined(addr.currentAddressHi, addr.currentAddressLo) * 2;
    SilenceHalfLeft(c, pos);
    if (!mayFlag) {
        return false;
    }
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

// Refills the halves the callback flagged; channels whose stream ended or whose voices
// are gone leave the list.
void WIIDevice::ServeStreams() {
    for (s32 i = 0; i < g_streamChannels.Size();) {
        Channel& channel = *g_streamChannels(i);
        bool voiced = false;
        int half = -1;
        {
            InterruptsDisabled lock;
            voiced = channel.HasVoice();
            half = channel.m_bufferToBeFilled;
        }
        if (!channel.m_bStream || !voiced) {
            channel.RetireStream();
            g_streamChannels.Remove(i);
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
    m_retired.Push(RetiredBuffers{left, right, g_callbackRuns});
}

// Buffers retired before the last callback ran are read by no voice any more: that
// callback released every voice whose stop was requested when they were retired.
void WIIDevice::FreeRetiredBuffers(bool all) {
    unsigned int runs = 0;
    {
        InterruptsDisabled lock;
        runs = g_callbackRuns;
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
    g_streamChannels.AddUniqueElement(channel);
    InterruptsDisabled lock;
    channel->m_freq = channel->m_sampleFreq = stream->Frequency();
    channel->UpdateVolumePan();
    AXSetVoiceSrcRatio(channel->m_axVoiceL->voice, RatioOf(channel->m_freq));
    AXSetVoiceSrcRatio(channel->m_axVoiceR->voice, RatioOf(channel->m_freq));
    StartVoices(*channel, flag);
    return Started(*channel);
}

} // namespace Kelvo_lib::kAudioWII_Private
