// The THP player's one record and what its operations, threads and callbacks share: the
// frame, picture and sound buffers, the message queues that pass them between the reader,
// the decoders, the retrace pacing and the audio mixing, and the record's questions about
// the movie being played. The callbacks run in interrupt context; the operations change
// what they read with interrupts disabled.
#pragma once

#include <kelvo/movie/thpplayer.h>

#include <console/dvd.h>
#include <console/os.h>

#include "thpbytes.h"

namespace THPPlayer_Private {

constexpr const char* kSystem = "THPPlayer";
constexpr u32 kReadBuffers = 10;
constexpr u32 kTextureSets = 3;
constexpr u32 kAudioBuffers = 6;
constexpr s32 kDiscPriority = 2;

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

extern THPPlayer ActivePlayer;

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

extern Queue FreeReadQueue, ReadedBufferQueue, ReadedBufferQueue2;
extern Queue FreeTextureSetQueue, DecodedTextureSetQueue, UsedTextureSetQueue;
extern Queue FreeAudioBufferQueue, DecodedAudioBufferQueue, PrepareReadyQueue;

using thp_bytes::Align32;
using thp_bytes::Big32;
// Whether frame `frame` (counted from the first played) is the movie's last.
bool IsLastFrame(s32 frame);
bool Looping();

} // namespace THPPlayer_Private
