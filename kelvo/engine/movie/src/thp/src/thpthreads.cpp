// The THP player's reader and decoder threads, and their creation and cancelling.
#include "thpthreads.h"

#include "thpplayerrecord.h"

#include <kelvo/platform/klog.h>

#include <console/thp.h>

namespace THPPlayer_Private {

OSThread ReadThread{-1};
OSThread VideoDecodeThread{-1};
OSThread AudioDecodeThread{-1};
bool First = true;

namespace {

constexpr u32 kStackSize = 4096;
constexpr s32 kReadPriority = 8;
constexpr s32 kAudioPriority = 12;
constexpr s32 kVideoPriority = 20;

alignas(32) u8 ReadStack[kStackSize];
alignas(32) u8 VideoStack[kStackSize];
alignas(32) u8 AudioStack[kStackSize];

// ---- Disc reads ----

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

void CancelThread(OSThread* thread) {
    if (thread->slot >= 0) {
        OSCancelThread(thread);
    }
}

} // namespace

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

} // namespace THPPlayer_Private
