// The THP player's record, its message queues, and its questions about the movie.
#include "thpplayerrecord.h"

namespace THPPlayer_Private {

THPPlayer ActivePlayer;

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

} // namespace THPPlayer_Private
