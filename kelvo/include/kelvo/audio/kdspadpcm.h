// DSP ADPCM files: the 96-byte big-endian header and our encoder. A DSP sound's data is
// the whole file, header first, then 8-byte frames of 14 samples (a predictor/scale byte,
// then 4-bit samples); addresses count nibbles from the first frame. The encoder picks
// eight coefficient pairs for the sound, then for each frame the pair and scale with the
// least error against the decoder's own history. Main thread only.
#pragma once

#include <kelvo/audio/ksound.h>

namespace Kelvo_lib {

constexpr unsigned int K_DSP_HEADER_SIZE = 96;
constexpr unsigned int K_DSP_FRAME_BYTES = 8;
constexpr unsigned int K_DSP_FRAME_SAMPLES = 14;
constexpr unsigned int K_DSP_FRAME_NIBBLES = 16;
constexpr unsigned short K_DSP_FORMAT_ADPCM = 0;

struct kDSPADPCMHeader {
    unsigned int numSamples;
    unsigned int numNibbles;
    unsigned int sampleRate;
    unsigned short loopFlag;
    unsigned short format;
    unsigned int loopAddress; // nibbles
    unsigned int endAddress;  // the last sample played
    unsigned int currentAddress;
    short coefficients[16]; // eight pairs
    unsigned short gain;
    unsigned short predScale;
    short history1;
    short history2;
    unsigned short loopPredScale;
    short loopHistory1;
    short loopHistory2;
};

void kDSPADPCM_ReadHeader(const unsigned char* bytes, kDSPADPCMHeader* header);
void kDSPADPCM_WriteHeader(const kDSPADPCMHeader& header, unsigned char* bytes);

// The nibble address of a sample.
constexpr unsigned int kDSPADPCM_SampleAddress(unsigned int sample) {
    return sample / K_DSP_FRAME_SAMPLES * K_DSP_FRAME_NIBBLES + 2 + sample % K_DSP_FRAME_SAMPLES;
}

// A mono DSP ADPCM sound of the samples; with `loop`, it loops from `loopStart` to the
// last sample, and its loop context makes the loop seamless. Null, logged, for no samples
// or a loop start beyond them.
kSound* kSound_DSPEncode(const short* samples, unsigned int count, unsigned int sampleRate,
                         bool loop, unsigned int loopStart);

} // namespace Kelvo_lib
