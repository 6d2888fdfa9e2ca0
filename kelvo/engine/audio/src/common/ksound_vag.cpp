// VAG files: a 48-byte header ("VAGp", the rate little-endian at 16) before mono VAG
// ADPCM data; the loader and the writer.
#include <kelvo/audio/ksoundwriter.h>
#include <kelvo/platform/klog.h>

#include "ksoundfile.h"

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "VAG";
constexpr unsigned int kHeaderBytes = 48;
constexpr unsigned int kVersion = 0x20;

using namespace kSoundFile;

} // namespace

kSound* kSound_VAGLoad(kIOStreamSeekable* iostream) {
    unsigned char header[kHeaderBytes];
    if (!ReadExactly(iostream, header, kHeaderBytes) || !IsTag(header, "VAGp")) {
        kLogSys(kSystem, "Invalid VAG header.\n");
        return nullptr;
    }
    const unsigned int size = Remaining(iostream);
    void* data = ReadData(iostream, size, kSystem, "Failed to read data.\n");
    if (data == nullptr) {
        return nullptr;
    }
    kSound* sound = new kSound;
    sound->SetHeader(K_SAMPLE_VAG_ADPCM_1CH, Little32(header + 16), data, size, 0);
    return sound;
}

bool kSound_VAGWrite(const kSound& sound, kIOStream* stream) {
    if (sound.Format() != K_SAMPLE_VAG_ADPCM_1CH) {
        kLogSys(kSystem, "Write: not a mono VAG ADPCM sound.\n");
        return false;
    }
    unsigned char header[kHeaderBytes] = {'V', 'A', 'G', 'p'};
    PutBig32(header + 4, kVersion);
    PutBig32(header + 12, sound.DataSize());
    PutLittle32(header + 16, sound.Frequency());
    return WriteHeaderAndData(stream, header, kHeaderBytes, sound);
}

} // namespace Kelvo_lib
