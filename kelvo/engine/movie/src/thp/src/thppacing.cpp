// The THP player's retrace pacing: when a picture is due, which one is shown, and the end.
#include "thppacing.h"

#include "thpplayerrecord.h"

namespace THPPlayer_Private {

VIRetraceCallback OldVIPostCallback = nullptr;
bool RetraceInstalled = false;

namespace {

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

} // namespace

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

} // namespace THPPlayer_Private
