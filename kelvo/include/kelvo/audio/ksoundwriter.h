// Sound file writers, the loaders' inverse, for tools and tests: each writes a sound of a
// kind its format holds to a stream and returns whether the whole file was written. A
// sound the format cannot hold is refused (logged, nothing written). A file takes at most
// the sound's DataSize() + K_SOUND_WRITER_MAX_HEADER bytes. Main thread only.
#pragma once

#include <kelvo/audio/ksound.h>
#include <kelvo/io/kiostream.h>

namespace Kelvo_lib {

constexpr unsigned int K_SOUND_WRITER_MAX_HEADER = 128;

// Mono DSP ADPCM: the data is the whole file, header included.
bool kSound_DSPWrite(const kSound& sound, kIOStream* stream);
// PCM or IMA ADPCM: a plain format chunk, or the extensible one when the bits per sample
// differ from the container bits.
bool kSound_WAVWrite(const kSound& sound, kIOStream* stream);
// Mono VAG ADPCM.
bool kSound_VAGWrite(const kSound& sound, kIOStream* stream);
// VAG ADPCM of any channel count, interleaved by 512 bytes.
bool kSound_ADSWrite(const kSound& sound, kIOStream* stream);
// Mono VAG ADPCM without header: the loader takes the rate as 25,000 Hz.
bool kSound_VBWrite(const kSound& sound, kIOStream* stream);
// Mono 8-bit PCM, 16-bit PCM or IMA ADPCM, at a rate below 65,536 Hz.
bool kSound_SWAVWrite(const kSound& sound, kIOStream* stream);

} // namespace Kelvo_lib
