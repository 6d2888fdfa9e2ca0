// kSound: a sound sample in memory (a format word, a rate and one block of sample data)
// and the loaders that make one from a sound file (DSP ADPCM, RIFF WAVE, VAG, ADS, VB,
// SWAV). A sound owns its data (tracked allocation, sound tag) unless its flags say
// otherwise; the caller owns a loaded sound. A loader reads only what the file holds:
// a short, truncated or corrupt file is logged and gives null. Main thread only.
#pragma once

#include <kelvo/io/kiostream.h>

namespace Kelvo_lib {

// Channels in bits 24-31, bits per sample in 16-23, container bits (storage per sample
// and channel) in 8-15, the data type (kSAMPLE_DATA) in 0-7.
enum kSAMPLE_FORMAT : unsigned int {
    K_SAMPLE_UNKNOWN = 0,
    K_SAMPLE_PCM_I8_1CH = 0x01080801,
    K_SAMPLE_PCM_I8_2CH = 0x02080801,
    K_SAMPLE_PCM_I16_1CH = 0x01101001,
    K_SAMPLE_PCM_I16_2CH = 0x02101001,
    K_SAMPLE_VAG_ADPCM_1CH = 0x01040408,
    K_SAMPLE_VAG_ADPCM_2CH = 0x02040408,
    K_SAMPLE_IMA_ADPCM_1CH = 0x01040409,
    K_SAMPLE_IMA_ADPCM_2CH = 0x02040409,
    K_SAMPLE_DSP_ADPCM_1CH = 0x01040410,
    K_SAMPLE_DSP_ADPCM_2CH = 0x02040410,
    kSAMPLE_FORCE_DWORD = 0xFFFFFFFF,
};

enum kSAMPLE_DATA : unsigned int {
    K_SAMPLE_DATA_UNKNOWN = 0,
    K_SAMPLE_DATA_PCM_INTEGER = 1,
    K_SAMPLE_DATA_PCM_FLOAT = 2,
    K_SAMPLE_DATA_G711_ALAW = 3,
    K_SAMPLE_DATA_G711_ULAW = 4,
    K_SAMPLE_DATA_G723_24 = 5,
    K_SAMPLE_DATA_G721_32 = 6,
    K_SAMPLE_DATA_G723_40 = 7,
    K_SAMPLE_DATA_VAG_ADPCM = 8,
    K_SAMPLE_DATA_IMA_ADPCM = 9,
    K_SAMPLE_DATA_DSP_ADPCM = 0x10,
    K_SAMPLE_DATA_MAX = 0x10,
};

// The format word of its four fields.
constexpr kSAMPLE_FORMAT kSampleFormat(unsigned int channels, unsigned int bits,
                                       unsigned int containerBits, unsigned int dataType) {
    return static_cast<kSAMPLE_FORMAT>((channels << 24) | (bits << 16) | (containerBits << 8) |
                                       dataType);
}

// Sound flags.
enum : unsigned int {
    K_SOUND_FLAG_DATA_NOT_OWNED = 4, // the sound never frees its data
};

class kSound {
public:
    kSound() = default;
    // Frees the data unless it is not owned.
    ~kSound();
    kSound(const kSound&) = delete;
    kSound& operator=(const kSound&) = delete;

    // Frees the current data (unless not owned) and takes the new; VAG ADPCM data ends
    // after the first frame that carries the end flag (its loop flag cleared).
    void SetHeader(kSAMPLE_FORMAT format, unsigned int sampleFrequency, void* data,
                   unsigned int dataByteSize, unsigned int flags);

    kSAMPLE_FORMAT Format() const { return static_cast<kSAMPLE_FORMAT>(m_type); }
    unsigned int Frequency() const { return m_frequency; }
    void* GetData() const { return m_data; }
    unsigned int DataSize() const { return m_dataSize; }
    unsigned int Flags() const { return m_flags; }

    // The data type, 0 when it is not one of kSAMPLE_DATA.
    unsigned int DataType() const;
    unsigned int NumChannels() const { return NumChannels(Format()); }
    static unsigned int NumChannels(kSAMPLE_FORMAT format) { return format >> 24; }
    static unsigned int BitsPerSample(kSAMPLE_FORMAT format) { return (format >> 16) & 0xFF; }
    static unsigned int ContainerBits(kSAMPLE_FORMAT format) { return (format >> 8) & 0xFF; }

    // Seconds: ADPCM data counts 28 samples per 16 bytes (a DSP sound's header included),
    // other data its container bits. 0 when the rate, channels or container bits are 0.
    float Length() const;

    // A loader chosen by the name's ending, in any case: ".dsp", ".wav", ".vag", ".ads",
    // ".vb", ".swav". Null for a null stream or name, an unknown ending (not logged) or a
    // failed load.
    static kSound* Import(kIOStreamSeekable* stream, const char* fileName);

private:
    void ReleaseData();
    void TrimVAGEnd();

    unsigned int m_type = 0;
    unsigned int m_frequency = 0;
    unsigned int m_dataSize = 0;
    unsigned int m_flags = 0;
    void* m_data = nullptr;
};

// Each takes the stream at the file's start and returns a new sound with flags 0, or null.
kSound* kSound_DSPLoad(kIOStreamSeekable* iostream);
kSound* kSound_WAVLoad(kIOStreamSeekable* iostream);
kSound* kSound_VAGLoad(kIOStreamSeekable* iostream);
kSound* kSound_ADSLoad(kIOStreamSeekable* iostream);
kSound* kSound_VBLoad(kIOStreamSeekable* iostream);
kSound* kSound_SWAVLoad(kIOStreamSeekable* iostream);

} // namespace Kelvo_lib
