// The THP player: the record, its control operations, the reader and decoder threads, the
// retrace pacing and the audio mixing. Every frame, read from the disc or walked in a movie
// held in memory, is checked against the read buffer and the movie's extent before a decoder
// looks inside it. The two callbacks run in interrupt context; the operations change what
// they read with interrupts disabled.
#include <kelvo/movie/thpplayer.h>

#include "thpdraw.h"

#include <kelvo/platform/kfile.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>

#include <console/ai.h>
#include <console/dvd.h>
#include <console/os.h>
#include <console/thp.h>
#include <console/vi.h>

#include <cstring>

namespace {

constexpr const char* kSystem = "THPPlayer";
constexpr u32 kReadBuffers = 10;
constexpr u32 kTextureSets = 3;
constexpr u32 kAudioBuffers = 6;
constexpr u32 kStackSize = 4096;
constexpr s32 kReadPriority = 8;
constexpr s32 kAudioPriority = 12;
constexpr s32 kVideoPriority = 20;
constexpr s32 kDiscPriority = 2;
constexpr u32 kMixFrames = AI_FRAME_SAMPLES;

struct THPReadBuffer {
    u8* ptr;
    s32 frameNumber;
    BOOL isValid;
    u32 size; // the frame's bytes at ptr
};

struct THPTextureSet {
    u8* ytexture;
    u8* utexture;
    u8* vtexture;
    s32 frameNumber;
};

struct THPAudioBuffer {
    s16* buffer;
    s16* curPtr;
    u32 validSample;
};

struct THPPlayer {
    DVDFileInfo fileInfo;
    THPHeader header;
    THPFrameCompInfo compInfo;
    THPVideoInfo videoInfo;
    THPAudioInfo audioInfo;
    u8* thpWork;
    BOOL open;
    u8 state;
    u8 internalState;
    u8 playFlag;
    u8 audioExist;
    s32 dvdError;
    s32 videoError;
    BOOL onMemory;
    u8* movieData;
    s32 initOffset;
    s32 initReadSize;
    s32 initReadFrame;
    s64 retraceCount;
    s32 prevCount;
    s32 curCount;
    s32 videoDecodeCount;
    f32 curVolume;
    f32 targetVolume;
    f32 deltaVolume;
    s32 rampCount;
    s32 curAudioTrack;
    s32 curVideoNumber;
    s32 curAudioNumber;
    THPTextureSet* dispTextureSet;
    THPAudioBuffer* playAudioBuffer;
    THPReadBuffer readBuffer[kReadBuffers];
    THPTextureSet textureSet[kTextureSets];
    THPAudioBuffer audioBuffer[kAudioBuffers];
};

THPPlayer ActivePlayer;
bool Initialized = false;
long AudioSystem = 0;
VIRetraceCallback OldVIPostCallback = nullptr;
AIDCallback OldAIDCallback = nullptr;
s16* SoundBuffer[2] = {nullptr, nullptr}; // 384-byte blocks in the second arena
u32 SoundBufferIndex = 0;
s16* LastAudioBuffer = nullptr;
s16* CurAudioBuffer = nullptr;
alignas(32) u8 WorkBuffer[64];
bool First = true;
bool RetraceInstalled = false;
u16 VolumeTable[128];

OSThread ReadThread{-1};
OSThread VideoDecodeThread{-1};
OSThread AudioDecodeThread{-1};
alignas(32) u8 ReadStack[kStackSize];
alignas(32) u8 VideoStack[kStackSize];
alignas(32) u8 AudioStack[kStackSize];

struct Queue {
    OSMessageQueue queue;
    OSMessage messages[kReadBuffers];

    void Init(s32 depth) { OSInitMessageQueue(&queue, messages, depth); }
    void Send(void* message) { OSSendMessage(&queue, message, OS_MESSAGE_BLOCK); }
    bool TrySend(void* message) { return OSSendMessage(&queue, message, OS_MESSAGE_NOBLOCK); }
    void* Receive() {
        OSMessage message = nullptr;
        OSReceiveMessage(&queue, &message, OS_MESSAGE_BLOCK);
        return message;
    }
    void* TryReceive() {
        OSMessage message = nullptr;
        return OSReceiveMessage(&queue, &message, OS_MESSAGE_NOBLOCK) ? message : nullptr;
    }
};

Queue FreeReadQueue, ReadedBufferQueue, ReadedBufferQueue2;
Queue FreeTextureSetQueue, DecodedTextureSetQueue, UsedTextureSetQueue;
Queue FreeAudioBufferQueue, DecodedAudioBufferQueue, PrepareReadyQueue;

u32 Align32(u32 value) {
    return (value + 31) & ~31u;
}

u32 Big32(const u8* at) {
    return static_cast<u32>(at[0]) << 24 | static_cast<u32>(at[1]) << 16 |
           static_cast<u32>(at[2]) << 8 | at[3];
}

bool IsLastFrame(s32 frame) {
    const THPPlayer& player = ActivePlayer;
    return (frame + player.initReadFrame) % static_cast<s32>(player.header.numFrames) ==
           static_cast<s32>(player.header.numFrames) - 1;
}

bool Looping() {
    return (ActivePlayer.playFlag & 1) != 0;
}

// ---- Disc reads ----

// A header read, polled until done as a disc file's is (kPlatformWii_WaitForRead): drive
// errors are logged and waited out. False when the drive refuses the read, it fails for good
// or it brings fewer bytes than asked for.
bool DoRead(DVDFileInfo* fileInfo, void* buffer, s32 length, s32 offset) {
    if (!DVDReadAsyncPrio(fileInfo, buffer, length, offset, nullptr, kDiscPriority)) {
        kLogFmt("THP: read of %d bytes at %d refused\n", length, offset);
        return false;
    }
    return kPlatformWii_WaitForRead(fileInfo) &&
           DVDGetTransferredSize(fileInfo) >= static_cast<u32>(length);
}

// A movie frame read by the reader thread: the first two polled, giving up on a drive
// error, the rest synchronous. The bytes read, or -1.
s32 ReadFrame(u8* buffer, s32 size, s32 offset, s32 frame) {
    DVDFileInfo* file = &ActivePlayer.fileInfo;
    const s32 length = static_cast<s32>(Align32(static_cast<u32>(size)));
    if (frame >= 2) {
        return DVDReadPrio(file, buffer, length, offset, kDiscPriority);
    }
    if (!DVDReadAsyncPrio(file, buffer, length, offset, nullptr, kDiscPriority)) {
        return -1;
    }
    for (;;) {
        const s32 status = DVDGetCommandBlockStatus(&file->cb);
        if (status == DVD_STATE_END) {
            return static_cast<s32>(DVDGetTransferredSize(file));
        }
        if (status == DVD_STATE_RETRY || status == DVD_STATE_NO_DISK ||
            status == DVD_STATE_WRONG_DISK || status == DVD_STATE_FATAL_ERROR ||
            status == DVD_STATE_CANCELED) {
            DVDCancel(&file->cb);
            return -1;
        }
        OSYieldThread();
    }
}

// ---- Threads ----

[[noreturn]] void SuspendForever(OSThread* thread) {
    for (;;) {
        OSSuspendThread(thread);
    }
}

// A frame the video decoder (the thread given) cannot show before the first one was ready
// fails the prepare.
void ReportFirstFrameFailed(const OSThread* thread) {
    if (thread == &VideoDecodeThread && First) {
        PrepareReadyQueue.Send(reinterpret_cast<void*>(0));
        First = false;
    }
}

// A frame that can be read: inside the read buffer and the movie's data.
bool FrameFits(s32 offset, s32 size) {
    const THPHeader& header = ActivePlayer.header;
    const u64 end = static_cast<u64>(header.movieDataOffsets) + header.movieDataSize;
    return size >= 8 && static_cast<u32>(size) <= header.bufSize && offset % 4 == 0 &&
           offset >= 0 && static_cast<u32>(offset) >= header.movieDataOffsets &&
           static_cast<u64>(offset) + static_cast<u32>(size) <= end;
}

void* Reader(void*) {
    THPPlayer& player = ActivePlayer;
    s32 offset = player.initOffset;
    s32 size = player.initReadSize;
    for (s32 frame = 0;; ++frame) {
        THPReadBuffer* buffer = static_cast<THPReadBuffer*>(FreeReadQueue.Receive());
        const bool fits = FrameFits(offset, size);
        if (!fits || ReadFrame(buffer->ptr, size, offset, frame) < size) {
            kLogSys(kSystem, "Frame %d (%d bytes at %d) cannot be read.\n", frame, size, offset);
            player.dvdError = -1;
            if (frame == 0) {
                PrepareReadyQueue.Send(reinterpret_cast<void*>(0));
            }
            SuspendForever(&ReadThread);
        }
        buffer->frameNumber = frame;
        buffer->isValid = TRUE;
        buffer->size = static_cast<u32>(size);
        ReadedBufferQueue.Send(buffer);
        offset += size;
        size = static_cast<s32>(Big32(buffer->ptr));
        if (IsLastFrame(frame)) {
            if (!Looping()) {
                SuspendForever(&ReadThread);
            }
            offset = static_cast<s32>(player.header.movieDataOffsets);
        }
    }
}

// The frames of a movie held in memory, walked as the reader thread walks them on the disc:
// from the first frame to play, each next frame's size read from the frame before, back to the
// movie's first frame after its last when looping. Each decode thread walks them itself. A
// frame outside the movie stops the movie (as a failed disc read does) and the thread; the
// thread suspends itself at the end of a movie that does not loop.
class MemoryFrames {
public:
    explicit MemoryFrames(OSThread* thread)
        : m_thread(thread), m_offset(ActivePlayer.initOffset), m_size(ActivePlayer.initReadSize) {}

    THPReadBuffer* Take() {
        THPPlayer& player = ActivePlayer;
        if (m_bEnded) {
            SuspendForever(m_thread);
        }
        if (!FrameFits(m_offset, m_size)) {
            kLogSys(kSystem, "Frame %d (%d bytes at %d) is not in the movie.\n", m_number, m_size,
                    m_offset);
            player.dvdError = -1;
            ReportFirstFrameFailed(m_thread);
            SuspendForever(m_thread);
        }
        m_frame = {player.movieData + (m_offset - player.header.movieDataOffsets), m_number, TRUE,
                   static_cast<u32>(m_size)};
        m_offset += m_size;
        m_size = static_cast<s32>(Big32(m_frame.ptr));
        if (IsLastFrame(m_number)) {
            m_bEnded = !Looping();
            m_offset = static_cast<s32>(player.header.movieDataOffsets);
        }
        ++m_number;
        return &m_frame;
    }

    // Nothing to hand back: the frame stays in the movie.
    static void Give(THPReadBuffer*) {}

private:
    OSThread* m_thread;
    s32 m_offset;
    s32 m_size;
    s32 m_number = 0;
    bool m_bEnded = false;
    THPReadBuffer m_frame{};
};

bool ViewFrame(const THPReadBuffer* buffer, THPFrameView* view) {
    const THPPlayer& player = ActivePlayer;
    const u32 tracks = player.audioExist ? player.audioInfo.sndNumTracks : 1;
    return THPReadFrame(buffer->ptr, buffer->size, player.compInfo, tracks, view);
}

// Decodes one frame's sound of the chosen track into a free audio buffer and passes it on.
void DecodeAudio(const THPReadBuffer* buffer) {
    THPPlayer& player = ActivePlayer;
    THPAudioBuffer* audio = static_cast<THPAudioBuffer*>(FreeAudioBufferQueue.Receive());
    THPFrameView view{};
    audio->validSample = 0;
    if (ViewFrame(buffer, &view)) {
        for (u32 i = 0; i < player.compInfo.numComponents; ++i) {
            if (player.compInfo.frameComp[i] == THP_AUDIO_COMP) {
                const u32 size = view.compSize[i];
                audio->validSample = THPAudioDecode(
                    audio->buffer, player.header.audioMaxSamples,
                    view.compData[i] + static_cast<u64>(size) * player.curAudioTrack, size, 0);
                break;
            }
        }
    }
    audio->curPtr = audio->buffer;
    DecodedAudioBufferQueue.Send(audio);
}

void* AudioDecoder(void*) {
    for (;;) {
        THPReadBuffer* buffer = static_cast<THPReadBuffer*>(ReadedBufferQueue.Receive());
        DecodeAudio(buffer);
        ReadedBufferQueue2.Send(buffer);
    }
}

void* AudioDecoderOnMemory(void*) {
    MemoryFrames frames(&AudioDecodeThread);
    for (;;) {
        DecodeAudio(frames.Take());
    }
}

// Decodes one frame's picture into a free texture set and passes it on; a bad picture ends
// the thread's work (the error field stops the movie).
void DecodeFrame(THPReadBuffer* buffer) {
    THPPlayer& player = ActivePlayer;
    THPTextureSet* set = static_cast<THPTextureSet*>(FreeTextureSetQueue.Receive());
    THPFrameView view{};
    s32 error = ViewFrame(buffer, &view) ? -1 : -2;
    for (u32 i = 0; error == -1 && i < player.compInfo.numComponents; ++i) {
        if (player.compInfo.frameComp[i] == THP_VIDEO_COMP) {
            error = THPVideoDecode(view.compData[i], view.compSize[i], player.videoInfo.xSize,
                                   player.videoInfo.ySize, set->ytexture, set->utexture,
                                   set->vtexture, player.thpWork);
        }
    }
    if (error != 0) {
        kLogSys(kSystem, "Frame %d has no picture to show.\n", buffer->frameNumber);
        player.videoError = error;
        ReportFirstFrameFailed(&VideoDecodeThread);
        SuspendForever(&VideoDecodeThread);
    }
    set->frameNumber = buffer->frameNumber;
    DecodedTextureSetQueue.Send(set);
    if (First) {
        PrepareReadyQueue.Send(reinterpret_cast<void*>(1));
        First = false;
    }
}

// The video decoder's work, wherever its frames come from: take() gives the next frame and
// give(frame) hands a finished one back.
template <class Take, class Give>
[[noreturn]] void DecodeVideo(Take take, Give give) {
    THPPlayer& player = ActivePlayer;
    for (;;) {
        THPReadBuffer* buffer = take();
        DecodeFrame(buffer);
        const s32 skip = player.curVideoNumber + 1 - player.videoDecodeCount;
        ++player.videoDecodeCount;
        give(buffer);
        // With sound, frames the picture has fallen behind on are dropped unseen.
        for (s32 i = 0; player.audioExist && i < skip; ++i) {
            buffer = take();
            if (IsLastFrame(buffer->frameNumber) && !Looping()) {
                DecodeFrame(buffer);
            }
            ++player.videoDecodeCount;
            give(buffer);
        }
    }
}

void* VideoDecoder(void*) {
    Queue& input = ActivePlayer.audioExist ? ReadedBufferQueue2 : ReadedBufferQueue;
    DecodeVideo([&input] { return static_cast<THPReadBuffer*>(input.Receive()); },
                [](THPReadBuffer* buffer) { FreeReadQueue.Send(buffer); });
}

void* VideoDecoderOnMemory(void*) {
    MemoryFrames frames(&VideoDecodeThread);
    DecodeVideo([&frames] { return frames.Take(); }, MemoryFrames::Give);
}

// ---- Pacing and mixing (callbacks) ----

bool ProperTimingForGettingNextFrame() {
    THPPlayer& player = ActivePlayer;
    const u32 field = player.videoInfo.videoType & 3;
    if (field == 1 || field == 2) {
        return VIGetNextField() == (field == 1 ? VI_FIELD_ABOVE : VI_FIELD_BELOW);
    }
    const s64 rate = static_cast<s64>(100.0f * player.header.frameRate);
    const s64 fields = VIGetTvFormat() == VI_PAL ? 5000 : 5994;
    player.curCount = static_cast<s32>(player.retraceCount * rate / fields);
    if (player.curCount != player.prevCount) {
        player.prevCount = player.curCount;
        return true;
    }
    return false;
}

// Shows the next decoded picture when one waits; false when none did.
bool TakeFrame() {
    THPPlayer& player = ActivePlayer;
    if (player.audioExist && player.curVideoNumber - player.curAudioNumber > 1) {
        return true;
    }
    THPTextureSet* set = static_cast<THPTextureSet*>(DecodedTextureSetQueue.TryReceive());
    if (set == nullptr) {
        return false;
    }
    ++player.curVideoNumber;
    if (player.dispTextureSet != nullptr) {
        UsedTextureSetQueue.TrySend(player.dispTextureSet);
    }
    player.dispTextureSet = set;
    return true;
}

void DetectEnd(bool frameMissed) {
    THPPlayer& player = ActivePlayer;
    if (Looping()) {
        return;
    }
    const s32 numFrames = static_cast<s32>(player.header.numFrames);
    bool ended;
    if (player.audioExist) {
        ended = player.curAudioNumber + player.initReadFrame >= numFrames &&
                player.playAudioBuffer == nullptr;
    } else {
        const s32 shown = player.dispTextureSet != nullptr
                              ? player.dispTextureSet->frameNumber + player.initReadFrame
                              : player.initReadFrame - 1;
        ended = shown == numFrames - 1 && frameMissed;
    }
    if (ended) {
        player.state = player.internalState = THP_STATE_PLAYED;
    }
}

void PlayControl(u32 retraceCount) {
    if (OldVIPostCallback != nullptr) {
        OldVIPostCallback(retraceCount);
    }
    THPPlayer& player = ActivePlayer;
    if (!player.open || player.state != THP_STATE_PLAY) {
        return;
    }
    if (player.dvdError != 0 || player.videoError != 0) {
        player.state = player.internalState = THP_STATE_ERROR;
        return;
    }
    ++player.retraceCount;
    bool frameMissed = false;
    if (player.retraceCount == 0) {
        const u32 field = player.videoInfo.videoType & 3;
        if ((field == 1 && VIGetNextField() != VI_FIELD_ABOVE) ||
            (field == 2 && VIGetNextField() != VI_FIELD_BELOW)) {
            player.retraceCount = -1;
            return;
        }
        frameMissed = !TakeFrame();
        if (player.audioExist && player.curVideoNumber - player.curAudioNumber > 1) {
            player.internalState = THP_STATE_PLAY;
        }
    } else {
        if (player.retraceCount == 1) {
            player.internalState = THP_STATE_PLAY;
        }
        if (ProperTimingForGettingNextFrame()) {
            frameMissed = !TakeFrame();
        }
    }
    DetectEnd(frameMissed);
}

s16 Limit(s32 value) {
    return static_cast<s16>(value < -32768 ? -32768 : (value > 32767 ? 32767 : value));
}

s16 ReadSample(const s16* block, u32 index) {
    const u8* bytes = reinterpret_cast<const u8*>(block + index);
    return static_cast<s16>(static_cast<u16>(bytes[0] << 8 | bytes[1]));
}

void WriteSample(s16* block, u32 index, s16 value) {
    u8* bytes = reinterpret_cast<u8*>(block + index);
    bytes[0] = static_cast<u8>(static_cast<u16>(value) >> 8);
    bytes[1] = static_cast<u8>(value);
}

// Copies the rest of the source block (or silence) from stereo frame `from` on.
void PassThrough(s16* destination, const s16* source, u32 from, u32 frames) {
    for (u32 i = from * 2; i < frames * 2; ++i) {
        WriteSample(destination, i, source != nullptr ? ReadSample(source, i) : 0);
    }
}

// Mixes the movie's decoded sound into a block of big-endian stereo frames.
void MixAudio(s16* destination, const s16* source, u32 frames) {
    THPPlayer& player = ActivePlayer;
    if (!player.open || player.internalState != THP_STATE_PLAY || !player.audioExist) {
        PassThrough(destination, source, 0, frames);
        return;
    }
    u32 done = 0;
    while (done < frames) {
        if (player.playAudioBuffer == nullptr) {
            player.playAudioBuffer =
                static_cast<THPAudioBuffer*>(DecodedAudioBufferQueue.TryReceive());
            if (player.playAudioBuffer == nullptr) {
                PassThrough(destination, source, done, frames);
                return;
            }
            ++player.curAudioNumber;
        }
        THPAudioBuffer* buffer = player.playAudioBuffer;
        const u32 count = buffer->validSample < frames - done ? buffer->validSample : frames - done;
        for (u32 i = 0; i < count; ++i, ++done) {
            if (player.rampCount > 0) {
                --player.rampCount;
                player.curVolume += player.deltaVolume;
            } else {
                player.curVolume = player.targetVolume;
            }
            const s32 gain = VolumeTable[static_cast<int>(player.curVolume) & 127];
            for (u32 channel = 0; channel < 2; ++channel) {
                const s32 under = source != nullptr ? ReadSample(source, done * 2 + channel) : 0;
                const s32 movie = (gain * buffer->curPtr[channel]) >> 15;
                WriteSample(destination, done * 2 + channel, Limit(under + movie));
            }
            buffer->curPtr += 2;
        }
        buffer->validSample -= count;
        if (buffer->validSample == 0) {
            FreeAudioBufferQueue.TrySend(buffer);
            player.playAudioBuffer = nullptr;
        }
    }
}

void THPAudioMixCallback() {
    if (AudioSystem == 0) {
        SoundBufferIndex ^= 1;
        AIInitDMA(OSCachedToPhysical(SoundBuffer[SoundBufferIndex]), AI_FRAME_BYTES);
        MixAudio(SoundBuffer[SoundBufferIndex], nullptr, kMixFrames);
        DCFlushRange(SoundBuffer[SoundBufferIndex], AI_FRAME_BYTES);
        return;
    }
    if (AudioSystem == 1) {
        if (LastAudioBuffer != nullptr) {
            CurAudioBuffer = LastAudioBuffer;
        }
        OldAIDCallback();
        LastAudioBuffer = static_cast<s16*>(OSPhysicalToCached(AIGetDMAStartAddr()));
    } else {
        OldAIDCallback();
        CurAudioBuffer = static_cast<s16*>(OSPhysicalToCached(AIGetDMAStartAddr()));
    }
    SoundBufferIndex ^= 1;
    AIInitDMA(OSCachedToPhysical(SoundBuffer[SoundBufferIndex]), AI_FRAME_BYTES);
    if (CurAudioBuffer != nullptr) {
        DCInvalidateRange(CurAudioBuffer, AI_FRAME_BYTES);
    }
    MixAudio(SoundBuffer[SoundBufferIndex], CurAudioBuffer, kMixFrames);
    DCFlushRange(SoundBuffer[SoundBufferIndex], AI_FRAME_BYTES);
}

// ---- Set-up ----

void InitAllMessageQueue() {
    FreeReadQueue.Init(kReadBuffers);
    ReadedBufferQueue.Init(kReadBuffers);
    ReadedBufferQueue2.Init(kReadBuffers);
    FreeTextureSetQueue.Init(kTextureSets);
    DecodedTextureSetQueue.Init(kTextureSets);
    FreeAudioBufferQueue.Init(kAudioBuffers);
    DecodedAudioBufferQueue.Init(kAudioBuffers);
    PrepareReadyQueue.Init(1);
}

void CancelThread(OSThread* thread) {
    if (thread->slot >= 0) {
        OSCancelThread(thread);
    }
}

// The decoders, and the reader when the movie is on the disc; a movie in memory is walked by
// the decoders themselves.
bool CreateThreads() {
    const bool audio = ActivePlayer.audioExist != 0;
    const bool onMemory = ActivePlayer.onMemory != 0;
    return OSCreateThread(&VideoDecodeThread, onMemory ? VideoDecoderOnMemory : VideoDecoder,
                          nullptr, VideoStack + kStackSize, kStackSize, kVideoPriority,
                          OS_THREAD_ATTR_DETACH) &&
           (!audio ||
            OSCreateThread(&AudioDecodeThread, onMemory ? AudioDecoderOnMemory : AudioDecoder,
                           nullptr, AudioStack + kStackSize, kStackSize, kAudioPriority,
                           OS_THREAD_ATTR_DETACH)) &&
           (onMemory || OSCreateThread(&ReadThread, Reader, nullptr, ReadStack + kStackSize,
                                       kStackSize, kReadPriority, OS_THREAD_ATTR_DETACH));
}

void CancelThreads() {
    CancelThread(&ReadThread);
    CancelThread(&VideoDecodeThread);
    CancelThread(&AudioDecodeThread);
}

bool ReadComponentInfo() {
    THPPlayer& player = ActivePlayer;
    u32 at = player.header.compInfoDataOffsets;
    if (!DoRead(&player.fileInfo, WorkBuffer, 32, static_cast<s32>(at)) ||
        !THPReadCompInfo(WorkBuffer, 32, &player.compInfo)) {
        return false;
    }
    at += THP_COMP_INFO_SIZE;
    for (u32 i = 0; i < player.compInfo.numComponents; ++i) {
        const bool video = player.compInfo.frameComp[i] == THP_VIDEO_COMP;
        if (at % 4 != 0 || at + 32 > Align32(player.fileInfo.length) ||
            !DoRead(&player.fileInfo, WorkBuffer, 32, static_cast<s32>(at))) {
            return false;
        }
        if (video ? !THPReadVideoInfo(WorkBuffer, 32, &player.videoInfo)
                  : !THPReadAudioInfo(WorkBuffer, 32, &player.audioInfo)) {
            return false;
        }
        player.audioExist |= video ? 0 : 1;
        at += video ? THP_VIDEO_INFO_SIZE : THP_AUDIO_INFO_SIZE;
    }
    return true;
}

u32 PlaneSize() {
    return ActivePlayer.videoInfo.xSize * ActivePlayer.videoInfo.ySize;
}

// The whole movie, every frame from the first to the end of the last, into movieData.
bool LoadMovie() {
    THPPlayer& player = ActivePlayer;
    return DoRead(&player.fileInfo, player.movieData,
                  static_cast<s32>(Align32(player.header.movieDataSize)),
                  static_cast<s32>(player.header.movieDataOffsets));
}

} // namespace

u16 THPPlayerVolumeGain(int volume) {
    const u32 v = static_cast<u32>(volume < 0 ? 0 : (volume > 127 ? 127 : volume));
    return static_cast<u16>(32768u * v * v / (127u * 127u));
}

bool THPPlayerInit(long audioSystem) {
    ActivePlayer = THPPlayer{};
    LCEnable();
    UsedTextureSetQueue.Init(kTextureSets);
    if (!THPInit()) {
        return false;
    }
    for (int i = 0; i < 128; ++i) {
        VolumeTable[i] = THPPlayerVolumeGain(i);
    }
    if (SoundBuffer[0] == nullptr) {
        u8* blocks = static_cast<u8*>(MEMAllocFromAllocator(&MyDemoAllocator2, 2 * AI_FRAME_BYTES));
        if (blocks == nullptr) {
            kLogSys(kSystem, "No memory for the sound blocks.\n");
            return false;
        }
        SoundBuffer[0] = reinterpret_cast<s16*>(blocks);
        SoundBuffer[1] = reinterpret_cast<s16*>(blocks + AI_FRAME_BYTES);
    }
    const BOOL level = OSDisableInterrupts();
    AudioSystem = audioSystem;
    SoundBufferIndex = 0;
    LastAudioBuffer = nullptr;
    CurAudioBuffer = nullptr;
    OldAIDCallback = AIRegisterDMACallback(THPAudioMixCallback);
    if (OldAIDCallback == nullptr && audioSystem != 0) {
        AIRegisterDMACallback(nullptr);
        OSRestoreInterrupts(level);
        kLogSys(kSystem, "No audio library to mix into.\n");
        return false;
    }
    if (audioSystem == 0) {
        std::memset(SoundBuffer[0], 0, 2 * AI_FRAME_BYTES);
        DCFlushRange(SoundBuffer[0], 2 * AI_FRAME_BYTES);
        AIInitDMA(OSCachedToPhysical(SoundBuffer[SoundBufferIndex]), AI_FRAME_BYTES);
        AIStartDMA();
    }
    OSRestoreInterrupts(level);
    Initialized = true;
    return true;
}

void THPPlayerQuit() {
    LCDisable();
    const BOOL level = OSDisableInterrupts();
    if (Initialized) {
        AIRegisterDMACallback(OldAIDCallback);
    }
    OSRestoreInterrupts(level);
    Initialized = false;
}

bool THPPlayerOpen(const char* fileName, int onMemory) {
    THPPlayer& player = ActivePlayer;
    if (!Initialized || player.open) {
        kLogSys(kSystem, "Open: the player is not initialised or already open.\n");
        return false;
    }
    player.videoInfo = THPVideoInfo{};
    player.audioInfo = THPAudioInfo{};
    player.audioExist = 0;
    if (fileName == nullptr || !DVDOpen(fileName, &player.fileInfo)) {
        kLogSys(kSystem, "Open: no file %s.\n", fileName != nullptr ? fileName : "(null)");
        return false;
    }
    const bool read = DoRead(&player.fileInfo, WorkBuffer, 64, 0) &&
                      THPReadHeader(WorkBuffer, 64, player.fileInfo.length, &player.header) &&
                      ReadComponentInfo();
    if (!read) {
        kLogSys(kSystem, "Open: %s is not a movie that can be played.\n", fileName);
        DVDClose(&player.fileInfo);
        return false;
    }
    const BOOL level = OSDisableInterrupts();
    player.state = player.internalState = THP_STATE_STOP;
    player.playFlag = 0;
    player.onMemory = onMemory != 0 ? TRUE : FALSE;
    player.open = TRUE;
    player.curVolume = player.targetVolume = 127.0f;
    player.rampCount = 0;
    OSRestoreInterrupts(level);
    return true;
}

bool THPPlayerClose() {
    THPPlayer& player = ActivePlayer;
    if (!player.open || player.state != THP_STATE_STOP) {
        return false;
    }
    const BOOL level = OSDisableInterrupts();
    player.open = FALSE;
    OSRestoreInterrupts(level);
    DVDClose(&player.fileInfo);
    return true;
}

unsigned int THPPlayerCalcNeedMemory() {
    const THPPlayer& player = ActivePlayer;
    if (!player.open) {
        return 0;
    }
    u32 size = player.onMemory ? Align32(player.header.movieDataSize)
                               : kReadBuffers * Align32(player.header.bufSize);
    size += kTextureSets * (Align32(PlaneSize()) + 2 * Align32(PlaneSize() / 4));
    if (player.audioExist) {
        size += kAudioBuffers * Align32(player.header.audioMaxSamples * 4);
    }
    return size + THP_WORK_SIZE;
}

bool THPPlayerSetBuffer(unsigned char* buffer) {
    THPPlayer& player = ActivePlayer;
    if (!player.open || player.state != THP_STATE_STOP || buffer == nullptr) {
        return false;
    }
    u8* at = buffer;
    if (player.onMemory) {
        player.movieData = at;
        at += Align32(player.header.movieDataSize);
    } else {
        for (THPReadBuffer& read : player.readBuffer) {
            read.ptr = at;
            at += Align32(player.header.bufSize);
        }
    }
    const u32 planeSizes[3] = {Align32(PlaneSize()), Align32(PlaneSize() / 4),
                               Align32(PlaneSize() / 4)};
    for (THPTextureSet& set : player.textureSet) {
        u8** planes[3] = {&set.ytexture, &set.utexture, &set.vtexture};
        for (u32 i = 0; i < 3; ++i) {
            *planes[i] = at;
            DCInvalidateRange(at, planeSizes[i]);
            at += planeSizes[i];
        }
    }
    if (player.audioExist) {
        for (THPAudioBuffer& audio : player.audioBuffer) {
            audio.buffer = reinterpret_cast<s16*>(at);
            audio.curPtr = audio.buffer;
            audio.validSample = 0;
            at += Align32(player.header.audioMaxSamples * 4);
        }
    }
    player.thpWork = at;
    return true;
}

bool THPPlayerPrepare(long frameNum, long playFlag, long audioTrack) {
    THPPlayer& player = ActivePlayer;
    if (!player.open || player.state != THP_STATE_STOP || player.thpWork == nullptr) {
        return false;
    }
    if (frameNum > 0) {
        const u32 entry = player.header.offsetDataOffsets + static_cast<u32>(frameNum - 1) * 4;
        if (player.header.offsetDataOffsets == 0 ||
            player.header.numFrames <= static_cast<u32>(frameNum) ||
            !DoRead(&player.fileInfo, WorkBuffer, 32, static_cast<s32>(entry))) {
            kLogSys(kSystem, "Prepare: no frame %ld.\n", frameNum);
            return false;
        }
        player.initOffset = static_cast<s32>(player.header.movieDataOffsets + Big32(WorkBuffer));
        player.initReadSize = static_cast<s32>(Big32(WorkBuffer + 4) - Big32(WorkBuffer));
    } else {
        player.initOffset = static_cast<s32>(player.header.movieDataOffsets);
        player.initReadSize = static_cast<s32>(player.header.firstFrameSize);
    }
    player.initReadFrame = static_cast<s32>(frameNum > 0 ? frameNum : 0);
    if (player.audioExist) {
        if (audioTrack < 0 || static_cast<u32>(audioTrack) >= player.audioInfo.sndNumTracks) {
            kLogSys(kSystem, "Prepare: no sound track %ld.\n", audioTrack);
            return false;
        }
        player.curAudioTrack = static_cast<s32>(audioTrack);
    }
    player.playFlag = static_cast<u8>(playFlag & 1);
    player.videoDecodeCount = 0;
    player.dvdError = player.videoError = 0;
    First = true;
    if (player.onMemory && !LoadMovie()) {
        kLogSys(kSystem, "Prepare: the movie cannot be read into memory.\n");
        return false;
    }
    if (!CreateThreads()) {
        CancelThreads();
        return false;
    }
    player.curVideoNumber = -1;
    player.curAudioNumber = 0;
    InitAllMessageQueue();
    for (u32 i = 0; !player.onMemory && i < kReadBuffers; ++i) {
        FreeReadQueue.Send(&player.readBuffer[i]);
    }
    for (THPTextureSet& set : player.textureSet) {
        FreeTextureSetQueue.Send(&set);
    }
    for (u32 i = 0; player.audioExist && i < kAudioBuffers; ++i) {
        FreeAudioBufferQueue.Send(&player.audioBuffer[i]);
    }
    OSResumeThread(&VideoDecodeThread);
    if (player.audioExist) {
        OSResumeThread(&AudioDecodeThread);
    }
    if (!player.onMemory) {
        OSResumeThread(&ReadThread);
    }
    if (PrepareReadyQueue.Receive() == nullptr) {
        kLogSys(kSystem, "Prepare: the first frame cannot be shown.\n");
        CancelThreads();
        return false;
    }
    const BOOL level = OSDisableInterrupts();
    player.state = player.internalState = THP_STATE_PREPARE;
    player.dispTextureSet = nullptr;
    player.playAudioBuffer = nullptr;
    OSRestoreInterrupts(level);
    OldVIPostCallback = VISetPostRetraceCallback(PlayControl);
    RetraceInstalled = true;
    return true;
}

bool THPPlayerPlay() {
    THPPlayer& player = ActivePlayer;
    if (!player.open || (player.state != THP_STATE_PREPARE && player.state != THP_STATE_PAUSE)) {
        return false;
    }
    const BOOL level = OSDisableInterrupts();
    player.state = player.internalState = THP_STATE_PLAY;
    player.prevCount = 0;
    player.curCount = 0;
    player.retraceCount = -1;
    OSRestoreInterrupts(level);
    return true;
}

void THPPlayerStop() {
    THPPlayer& player = ActivePlayer;
    if (!player.open || player.state == THP_STATE_STOP) {
        return;
    }
    const BOOL level = OSDisableInterrupts();
    player.state = player.internalState = THP_STATE_STOP;
    player.playAudioBuffer = nullptr;
    OSRestoreInterrupts(level);
    if (RetraceInstalled) {
        VISetPostRetraceCallback(OldVIPostCallback);
        RetraceInstalled = false;
    }
    if (!player.onMemory) {
        DVDCancel(&player.fileInfo.cb);
    }
    CancelThreads();
    while (UsedTextureSetQueue.TryReceive() != nullptr) {
    }
    player.dispTextureSet = nullptr;
    player.curVolume = player.targetVolume;
    player.rampCount = 0;
    player.dvdError = player.videoError = 0;
}

bool THPPlayerPause() {
    THPPlayer& player = ActivePlayer;
    if (!player.open || player.state != THP_STATE_PLAY) {
        return false;
    }
    const BOOL level = OSDisableInterrupts();
    player.state = player.internalState = THP_STATE_PAUSE;
    OSRestoreInterrupts(level);
    return true;
}

bool THPPlayerGetVideoInfo(THPVideoInfo* videoInfo) {
    if (!ActivePlayer.open || videoInfo == nullptr) {
        return false;
    }
    *videoInfo = ActivePlayer.videoInfo;
    return true;
}

bool THPPlayerGetAudioInfo(THPAudioInfo* audioInfo) {
    if (!ActivePlayer.open || audioInfo == nullptr) {
        return false;
    }
    *audioInfo = ActivePlayer.audioInfo;
    return true;
}

u8 THPPlayerGetState() {
    return ActivePlayer.state;
}

long THPPlayerDrawCurrentFrame(const GXRenderModeObj* mode, unsigned long x, unsigned long y,
                               unsigned long polygonW, unsigned long polygonH) {
    THPPlayer& player = ActivePlayer;
    if (!player.open || player.state == THP_STATE_STOP || player.dispTextureSet == nullptr ||
        mode == nullptr) {
        return -1;
    }
    const THPTextureSet* set = player.dispTextureSet;
    THPGXYuv2RgbSetup(mode);
    THPGXYuv2RgbDraw(set->ytexture, set->utexture, set->vtexture, static_cast<short>(x),
                     static_cast<short>(y), static_cast<short>(player.videoInfo.xSize),
                     static_cast<short>(player.videoInfo.ySize), static_cast<short>(polygonW),
                     static_cast<short>(polygonH));
    THPGXRestore();
    return (set->frameNumber + player.initReadFrame) % static_cast<s32>(player.header.numFrames);
}

void THPPlayerDrawDone() {
    GXDrawDone();
    if (!Initialized) {
        return;
    }
    while (void* set = UsedTextureSetQueue.TryReceive()) {
        FreeTextureSetQueue.TrySend(set);
    }
}
