// ADS files: a big-endian "SShd" header (rate, channels, 512-byte interleave) and an
// "SSbd" body of VAG ADPCM data; the loader and the writer.
#include <kelvo/audio/ksoundwriter.h>
#include <kelvo/platform/klog.h>

#include "ksoundfile.h"

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "ADS";
constexpr unsigned int kHeaderBytes = 32;
constexpr unsigned int kBodyHeaderBytes = 8;
constexpr unsigned int kHeaderSize = 24; // the header's own size field
constexpr unsigned int kInterleave = 512;
constexpr unsigned int kMaxChannels = 0xFF;
constexpr unsigned int kVagFormatLow = 0x040408;
constexpr unsigned int kTypeVag = 0x10;

using namespace kSoundFile;

// The header's channel count and rate; false, logged, when it is not one we play.
bool CheckHeader(const unsigned char* header) {
    if (!IsTag(header, "SShd")) {
        kLogSys(kSystem, "Invalid header id!\n");
        return false;
    }
    if (Big32(header + 4) != kHeaderSize) {
        kLogSys(kSystem, "Invalid header size!\n");
        return false;
    }
    const unsigned int interleave = Big32(header + 20);
    if (interleave != kInterleave) {
        kLogSys(kSystem, "Error, ADS interleave is %d, must be 512\n",
                static_cast<int>(interleave));
        return false;
    }
    const unsigned int channels = Big32(header + 16);
    if (channels == 0 || channels > kMaxChannels) {
        kLogSys(kSystem, "Invalid channel count %u!\n", channels);
        return false;
    }
    return true;
}

} // namespace

kSound* kSound_ADSLoad(kIOStreamSeekable* iostream) {
    unsigned char header[kHeaderBytes];
    if (!ReadExactly(iostream, header, kHeaderBytes)) {
        kLogSys(kSystem, "File is too short for its header!\n");
        return nullptr;
    }
    if (!CheckHeader(header)) {
        return nullptr;
    }
    unsigned char body[kBodyHeaderBytes];
    if (!ReadExactly(iostream, body, kBodyHeaderBytes) || !IsTag(body, "SSbd")) {
        kLogSys(kSystem, "Invalid body header id!\n");
        return nullptr;
    }
    const unsigned int size = Big32(body + 4);
    void* data = ReadData(iostream, size, kSystem, "Failed to read data\n");
    if (data == nullptr) {
        return nullptr;
    }
    const unsigned int channels = Big32(header + 16);
    kSound* sound = new kSound;
    sound->SetHeader(static_cast<kSAMPLE_FORMAT>((channels << 24) | kVagFormatLow),
                     Big32(header + 12), data, size, 0);
    return sound;
}

bool kSound_ADSWrite(const kSound& sound, kIOStream* stream) {
    if (sound.DataType() != K_SAMPLE_DATA_VAG_ADPCM || sound.NumChannels() == 0) {
        kLogSys(kSystem, "Write: not a VAG ADPCM sound.\n");
        return false;
    }
    unsigned char header[kHeaderBytes + kBodyHeaderBytes] = {'S', 'S', 'h', 'd'};
    PutBig32(header + 4, kHeaderSize);
    PutBig32(header + 8, kTypeVag);
    PutBig32(header + 12, sound.Frequency());
    PutBig32(header + 16, sound.NumChannels());
    PutBig32(header + 20, kInterleave);
    std::memcpy(header + kHeaderBytes, "SSbd", 4);
    PutBig32(header + kHeaderBytes + 4, sound.DataSize());
    return WriteHeaderAndData(stream, header, sizeof(header), sound);
}

} // namespace Kelvo_lib
