// Setting an AX voice up to play a DSP ADPCM sound held whole in main memory (the file,
// header first): its addresses, decoder state and loop context from the header, linear rate
// conversion at the sound's own rate, at most four input samples to one output sample. The
// caller owns the voice and sets its levels and state; main thread, or interrupts disabled.
#pragma once

#include <console/ax.h>

namespace Kelvo_lib {

// AX converts at most four input samples to one output sample.
constexpr unsigned int K_AX_MAX_RATE = 4 * 32000;

// A 32-bit voice address or ratio as AX keeps it, in two halves.
void kAX_SplitAddress(u32 value, u16* high, u16* low);
// The 16.16 conversion ratio of a sample rate, limited to K_AX_MAX_RATE.
AXPBSRC kAX_SourceFor(unsigned int sampleRate);
void kAX_SetUpDSPVoice(AXVPB* voice, const unsigned char* dspFile, bool bLoop);

} // namespace Kelvo_lib
