// The THP player's record, its message queues, and its questions about the movie.
#include "thpplayerrecord.h"

namespace THPPlayer_Private {

THPPlayer ActivePlayer;

Queue FreeReadQueue, ReadedBufferQueue, ReadedBufferQueue2;
Queue FreeTextureSetQueue, DecodedTextureSetQueue, UsedTextureSetQueue;
Queue FreeAudioBufferQueue, DecodedAudioBufferQueue, PrepareReadyQueue;

bool IsLastFrame(s32 frame) {
    const THPPlayer& player = ActivePlayer;
    return (frame + player.initReadFrame) % static_cast<s32>(player.header.numFrames) ==
           static_cast<s32>(player.header.numFrames) - 1;
}

bool Looping() {
    return (ActivePlayer.playFlag & 1) != 0;
}

} // namespace THPPlayer_Private
