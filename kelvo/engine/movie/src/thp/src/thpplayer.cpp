// The THP player's operations: initialising, opening a movie and reading its header, sizing
// and laying out its buffers, preparing (threads started, the first picture waited for),
// playing, pausing, stopping and drawing. Every frame, read from the disc or walked in a
// movie held in memory, is checked against the read buffer and the movie's extent before a
// decoder looks inside it (thpthreads.cpp); the pacing and mixing callbacks run in interrupt
// context, and the operations change what they read with interrupts disabled.
#include <kelvo/movie/thpplayer.h>

#include "thpdraw.h"
#include "thpmixer.h"
#include "thppacing.h"
#include "thpplayerrecord.h"
#include "thpthreads.h"

#include <kelvo/platform/kfile.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kplatform.h>

#include <console/ai.h>
#include <console/dvd.h>
#include <console/os.h>
#include <console/thp.h>
#include <console/vi.h>

#include <cstring>

using namespace THPPlayer_Private;

namespace {

bool Initialized = false;
alignas(32) u8 WorkBuffer[64];

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
    if (Initialized) {
        // Again it would clear the record under a movie in use, and its mixer would displace
        // itself and then call itself for ever.
        kLogSys(kSystem, "Init: the player is initialised already; quit it first.\n");
        return false;
    }
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
