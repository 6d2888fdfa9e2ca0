// SWAV files: a 16-byte file header, an 8-byte block header and a 12-byte wave header
// (type, then the rate big-endian at 2) before mono PCM or IMA ADPCM data; the loader and
// the writer.
#include <kelvo/audio/ksoundwriter.h>
#include <kelvo/platform/klog.h>

#include "ksoundfile.h"

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "SWAV";
constexpr unsigned int kFileHeaderBytes = 16;
constexpr unsigned int kBlockHeaderBytes = 8;
constexpr unsigned int kWaveHeaderBytes = 12;
constexpr unsigned int kHeadersBytes = kFileHeaderBytes + kBlockHeaderBytes + kWaveHeaderBytes;
constexpr unsigned int kMaxRate = 0xFFFF;

using namespace kSoundFile;

// The wave types, in the order of their codes.
constexpr kSAMPLE_FORMAT kTypes[] = {K_SAMPLE_PCM_I8_1CH, K_SAMPLE_PCM_I16_1CH,
                                     K_SAMPLE_IMA_ADPCM_1CH};
constexpr unsigned int kTypeCount = sizeof(kTypes) / sizeof(kTypes[0]);

unsigned int TypeOf(kSAMPLE_FORMAT format) {
    unsigned int type = 0;
    while (type < kTypeCount && kTypes[type] != format) {
        ++type;
    }
    return type;
}

} // namespace

kSound* kSound_SWAVLoad(kIOStreamSeekable* iostream) {
    kLogFmt("kSound_SWAVLoad: Load\n");
    unsigned char headers[kHeadersBytes];
    if (!ReadExactly(iostream, headers, kHeadersBytes)) {
        kLogFmt("kSound_SWAVLoad: File is too short for its headers\n");
        return nullptr;
    }
    const unsigned char* wave = headers + kFileHeaderBytes + kBlockHeaderBytes;
    const unsigned int type = wave[0];
    if (type >= kTypeCount) {
        kLogFmt("kSound_SWAVLoad: Unknown format %d\n", static_cast<int>(type));
        return nullptr;
    }
    const unsigned int size = Remaining(iostream);
    kLogFmt("kSound_SWAVLoad: %d bytes, type %d\n", static_cast<int>(size), static_cast<int>(type));
    void* data = ReadData(iostream, size, kSystem, "Failed to read data.\n");
    if (data == nullptr) {
        return nullptr;
    }
    kSound* sound = new kSound;
    sound->SetHeader(kTypes[type], Big16(wave + 2), data, size, 0);
    return sound;
}

bool kSound_SWAVWrite(const kSound& sound, kIOStream* stream) {
    const unsigned int type = TypeOf(sound.Format());
    if (type >= kTypeCount || sound.Frequency() > kMaxRate) {
        kLogSys(kSystem, "Write: not a mono PCM or IMA ADPCM sound below 65,536 Hz.\n");
        return false;
    }
    unsigned char headers[kHeadersBytes] = {'S', 'W', 'A', 'V'};
    PutBig16(headers + 4, 0xFEFF);
    PutBig16(headers + 6, 0x0100);
    PutBig32(headers + 8, kHeadersBytes + sound.DataSize());
    PutBig16(headers + 12, kFileHeaderBytes);
    PutBig16(headers + 14, 1);
    unsigned char* block = headers + kFileHeaderBytes;
    std::memcpy(block, "DATA", 4);
    PutBig32(block + 4, kBlockHeaderBytes + kWaveHeaderBytes + sound.DataSize());
    unsigned char* wave = block + kBlockHeaderBytes;
    wave[0] = static_cast<unsigned char>(type);
    PutBig16(wave + 2, static_cast<unsigned short>(sound.Frequency()));
    PutBig32(wave + 8, sound.DataSize() / 4);
    return WriteHeaderAndData(stream, headers, kHeadersBytes, sound);
}

} // namespace Kelvo_lib
