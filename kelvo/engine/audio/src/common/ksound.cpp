// kSound: the sample header and data, the VAG end trim, and the choice of loader.
#include <kelvo/audio/ksound.h>
#include <kelvo/platform/kmemory.h>

#include <cstring>
#include <strings.h>

namespace Kelvo_lib {

namespace {

constexpr unsigned int kAdpcmFrameBytes = 16;
constexpr unsigned int kAdpcmSamplesPerFrameBytes = 28;
constexpr unsigned char kVagEndFlag = 0x01;
constexpr unsigned char kVagLoopFlag = 0x04;

using Loader = kSound* (*)(kIOStreamSeekable*);

struct Ending {
    const char* text;
    Loader loader;
};

constexpr Ending kEndings[] = {
    {".vb", kSound_VBLoad},   {".wav", kSound_WAVLoad}, {".vag", kSound_VAGLoad},
    {".dsp", kSound_DSPLoad}, {".ads", kSound_ADSLoad}, {".swav", kSound_SWAVLoad},
};

bool EndsWith(const char* name, size_t length, const char* ending) {
    const size_t endingLength = std::strlen(ending);
    return length >= endingLength && strcasecmp(name + length - endingLength, ending) == 0;
}

bool IsAdpcm(unsigned int dataType) {
    return dataType == K_SAMPLE_DATA_VAG_ADPCM || dataType == K_SAMPLE_DATA_DSP_ADPCM;
}

} // namespace

kSound::~kSound() {
    ReleaseData();
    m_type = m_frequency = m_dataSize = m_flags = 0;
}

void kSound::ReleaseData() {
    if (m_data != nullptr && (m_flags & K_SOUND_FLAG_DATA_NOT_OWNED) == 0) {
        kPlatform_ReleaseFree(m_data);
    }
    m_data = nullptr;
}

void kSound::SetHeader(kSAMPLE_FORMAT format, unsigned int sampleFrequency, void* data,
                       unsigned int dataByteSize, unsigned int flags) {
    ReleaseData();
    m_type = format;
    m_frequency = sampleFrequency;
    m_data = data;
    m_dataSize = dataByteSize;
    m_flags = flags;
    if (DataType() == K_SAMPLE_DATA_VAG_ADPCM && m_dataSize >= 2) {
        TrimVAGEnd();
    }
}

// The data ends with the first frame whose flag byte (its second) has the end flag; only
// frames whose flag byte lies inside the data are looked at.
void kSound::TrimVAGEnd() {
    unsigned char* bytes = static_cast<unsigned char*>(m_data);
    for (unsigned int frame = 0; frame * kAdpcmFrameBytes + 1 < m_dataSize; ++frame) {
        unsigned char& flags = bytes[frame * kAdpcmFrameBytes + 1];
        if ((flags & kVagEndFlag) != 0) {
            flags &= static_cast<unsigned char>(~kVagLoopFlag);
            const unsigned int end = (frame + 1) * kAdpcmFrameBytes;
            m_dataSize = end < m_dataSize ? end : m_dataSize;
            return;
        }
    }
}

unsigned int kSound::DataType() const {
    const unsigned int type = m_type & 0xFF;
    return type <= K_SAMPLE_DATA_MAX ? type : K_SAMPLE_DATA_UNKNOWN;
}

float kSound::Length() const {
    const double channels = NumChannels();
    const double containerBits = ContainerBits(Format());
    if (m_frequency == 0 || channels == 0 || containerBits == 0) {
        return 0.0f;
    }
    const double samples = IsAdpcm(DataType())
                               ? static_cast<double>(m_dataSize / kAdpcmFrameBytes) *
                                     kAdpcmSamplesPerFrameBytes / channels
                               : static_cast<double>(m_dataSize) * 8.0 / (channels * containerBits);
    return static_cast<float>(samples / m_frequency);
}

kSound* kSound::Import(kIOStreamSeekable* stream, const char* fileName) {
    if (stream == nullptr || fileName == nullptr || fileName[0] == '\0') {
        return nullptr;
    }
    const size_t length = std::strlen(fileName);
    for (const Ending& ending : kEndings) {
        if (EndsWith(fileName, length, ending.text)) {
            return ending.loader(stream);
        }
    }
    return nullptr;
}

} // namespace Kelvo_lib
