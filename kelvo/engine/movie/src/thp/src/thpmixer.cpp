// The THP player's sound mixing: the movie's samples, ramped to the player's volume, added
// to the block under them with saturation.
#include "thpmixer.h"

#include "thpplayerrecord.h"

namespace THPPlayer_Private {

long AudioSystem = 0;
AIDCallback OldAIDCallback = nullptr;
s16* SoundBuffer[2] = {nullptr, nullptr}; // 384-byte blocks in the second arena
u32 SoundBufferIndex = 0;
s16* LastAudioBuffer = nullptr;
s16* CurAudioBuffer = nullptr;
u16 VolumeTable[128];

namespace {

constexpr u32 kMixFrames = AI_FRAME_SAMPLES;

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

} // namespace

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

} // namespace THPPlayer_Private
