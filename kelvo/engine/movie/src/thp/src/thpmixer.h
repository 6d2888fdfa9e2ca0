// The THP player's sound: an audio DMA callback (interrupt context) that mixes the movie's
// decoded sound, at the player's volume, into each block the console's audio library has
// mixed (or into silence, without one), as big-endian stereo frames.
#pragma once

#include <console/ai.h>

namespace THPPlayer_Private {

// Which audio library the player mixes into (0: none, the player drives the DMA itself).
extern long AudioSystem;
// The callback that was installed before the player's.
extern AIDCallback OldAIDCallback;
extern s16* SoundBuffer[2]; // 384-byte blocks in the second arena
extern u32 SoundBufferIndex;
extern s16* LastAudioBuffer;
extern s16* CurAudioBuffer;
// The gain at each volume, as THPPlayerVolumeGain gives it.
extern u16 VolumeTable[128];

void THPAudioMixCallback();

} // namespace THPPlayer_Private
