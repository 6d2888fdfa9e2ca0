// RIFF WAVE files (little-endian, as RIFF defines them): the chunk walk that finds the
// format and the data, and the writer.
#include <kelvo/audio/ksoundwriter.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include "ksoundfile.h"

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "WAV";
constexpr unsigned short kTagPcm = 1;
constexpr unsigned short kTagImaAdpcm = 0x11;
constexpr unsigned short kTagExtensible = 0xFFFE;
constexpr unsigned int kFormatBytes = 16;
constexpr unsigned int kExtensionBytes = 24;
constexpr unsigned int kFieldMax = 0xFF; // each field of the format word is a byte
constexpr unsigned long long kSeekLimit = 0x7FFFFFFF;
// Bytes 4 to 15 of the sub-format GUID of every extensible format.
constexpr unsigned char kGuidTail[12] = {0x00, 0x00, 0x10, 0x00, 0x80, 0x00,
                                         0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

using namespace kSoundFile;

struct WaveFormat {
    bool set;
    unsigned int channels;
    unsigned int rate;
    unsigned int bits;
    unsigned int containerBits;
    unsigned int dataType;
};

unsigned int DataTypeOfTag(unsigned int tag) {
    switch (tag) {
    case kTagPcm:
        return K_SAMPLE_DATA_PCM_INTEGER;
    case kTagImaAdpcm:
        return K_SAMPLE_DATA_IMA_ADPCM;
    default:
        return K_SAMPLE_DATA_UNKNOWN;
    }
}

// The extension of an extensible format: the sub-format names the data type, the valid
// bits the bits per sample. An unknown sub-format leaves the format unset.
bool ReadExtension(kIOStream* stream, unsigned int chunkSize, const unsigned char* base,
                   WaveFormat* format) {
    unsigned char extension[kExtensionBytes];
    if (chunkSize < kFormatBytes + kExtensionBytes ||
        !ReadExactly(stream, extension, kExtensionBytes)) {
        kLogSys(kSystem, "Extensible format chunk is too short.\n");
        return false;
    }
    if (std::memcmp(extension + 12, kGuidTail, sizeof(kGuidTail)) != 0) {
        kLogSys(kSystem, "Unknown extensible sub-format.\n");
        return false;
    }
    format->dataType = DataTypeOfTag(Little32(extension + 8));
    format->bits = Little16(extension + 2);
    format->containerBits = Little16(base + 14);
    format->set = format->dataType != K_SAMPLE_DATA_UNKNOWN;
    return true;
}

bool FitsFormatWord(const WaveFormat& format) {
    if (format.channels == 0 || format.bits == 0) {
        kLogSys(kSystem, "Format with %u channels of %u bits refused.\n", format.channels,
                format.bits);
        return false;
    }
    if (format.channels > kFieldMax || format.bits > kFieldMax ||
        format.containerBits > kFieldMax) {
        kLogSys(kSystem, "Format of %u channels, %u bits in %u refused: too large.\n",
                format.channels, format.bits, format.containerBits);
        return false;
    }
    return true;
}

// The "fmt " chunk, its header read; false for a format that cannot be played.
bool ReadFormat(kIOStream* stream, unsigned int chunkSize, WaveFormat* format) {
    unsigned char base[kFormatBytes];
    if (chunkSize < kFormatBytes || !ReadExactly(stream, base, kFormatBytes)) {
        kLogSys(kSystem, "Format chunk is too short.\n");
        return false;
    }
    const unsigned int tag = Little16(base);
    *format = WaveFormat{false, Little16(base + 2), Little32(base + 4), Little16(base + 14),
                         0,     DataTypeOfTag(tag)};
    if (tag == kTagExtensible) {
        if (!ReadExtension(stream, chunkSize, base, format)) {
            return false;
        }
    } else if (tag == kTagPcm) {
        const unsigned int blockAlign = Little16(base + 12);
        format->containerBits = format->channels != 0 ? blockAlign / format->channels * 8 : 0;
        format->set = true;
    } else if (tag == kTagImaAdpcm) {
        format->containerBits = 4;
        format->set = true;
    } else {
        kLogSys(kSystem, "Unsupported format tag 0x%x.\n", tag);
        return false;
    }
    return !format->set || FitsFormatWord(*format);
}

struct WaveContents {
    WaveFormat format;
    void* data;
    unsigned int dataSize;
};

// Walks the chunks inside the RIFF size and the file; false on a refused chunk.
bool WalkChunks(kIOStreamSeekable* stream, unsigned int riffSize, WaveContents* contents) {
    const unsigned long long riffEnd = 8ull + riffSize;
    const unsigned long long fileLength = stream->Length();
    for (unsigned long long position = 12;
         position < riffEnd && position + 8 <= fileLength && position <= kSeekLimit;) {
        stream->Seek(static_cast<int>(position), K_IO_SEEK_SET);
        unsigned char header[8];
        if (!ReadExactly(stream, header, sizeof(header))) {
            break;
        }
        const unsigned int size = Little32(header + 4);
        if (IsTag(header, "fmt ") && !ReadFormat(stream, size, &contents->format)) {
            return false;
        }
        if (IsTag(header, "data") && contents->format.set && contents->data == nullptr) {
            contents->data = ReadData(stream, size, kSystem, "Failed to read data.\n");
            if (contents->data == nullptr) {
                return false;
            }
            contents->dataSize = size;
        }
        position += 8ull + size + (size & 1u);
    }
    return true;
}

} // namespace

kSound* kSound_WAVLoad(kIOStreamSeekable* iostream) {
    unsigned char riff[12];
    if (!ReadExactly(iostream, riff, sizeof(riff)) || !IsTag(riff, "RIFF") ||
        !IsTag(riff + 8, "WAVE")) {
        kLogSys(kSystem, "Not a RIFF WAVE file.\n");
        return nullptr;
    }
    WaveContents contents{};
    const bool walked = WalkChunks(iostream, Little32(riff + 4), &contents);
    if (!walked || !contents.format.set || contents.data == nullptr) {
        if (walked) {
            kLogSys(kSystem, "No playable format followed by data.\n");
        }
        if (contents.data != nullptr) {
            kPlatform_ReleaseFree(contents.data);
        }
        return nullptr;
    }
    const WaveFormat& format = contents.format;
    kSound* sound = new kSound;
    sound->SetHeader(
        kSampleFormat(format.channels, format.bits, format.containerBits, format.dataType),
        format.rate, contents.data, contents.dataSize, 0);
    return sound;
}

bool kSound_WAVWrite(const kSound& sound, kIOStream* stream) {
    const unsigned int type = sound.DataType();
    const unsigned int channels = sound.NumChannels();
    const unsigned int bits = kSound::BitsPerSample(sound.Format());
    const unsigned int containerBits = kSound::ContainerBits(sound.Format());
    if ((type != K_SAMPLE_DATA_PCM_INTEGER && type != K_SAMPLE_DATA_IMA_ADPCM) || channels == 0 ||
        bits == 0 || containerBits == 0) {
        kLogSys(kSystem, "Write: not a PCM or IMA ADPCM sound.\n");
        return false;
    }
    const bool extensible =
        bits != containerBits || (type == K_SAMPLE_DATA_PCM_INTEGER && containerBits % 8 != 0);
    const unsigned int formatBytes = extensible ? kFormatBytes + kExtensionBytes : kFormatBytes;
    const unsigned int dataSize = sound.DataSize();
    const unsigned int blockAlign = channels * containerBits / 8;
    unsigned char header[12 + 8 + kFormatBytes + kExtensionBytes + 8] = {};
    std::memcpy(header, "RIFF", 4);
    PutLittle32(header + 4, 4 + 8 + formatBytes + 8 + dataSize + (dataSize & 1u));
    std::memcpy(header + 8, "WAVEfmt ", 8);
    PutLittle32(header + 16, formatBytes);
    unsigned char* format = header + 20;
    const unsigned short tag = type == K_SAMPLE_DATA_PCM_INTEGER ? kTagPcm : kTagImaAdpcm;
    PutLittle16(format, extensible ? kTagExtensible : tag);
    PutLittle16(format + 2, static_cast<unsigned short>(channels));
    PutLittle32(format + 4, sound.Frequency());
    PutLittle32(format + 8, sound.Frequency() * blockAlign);
    PutLittle16(format + 12, static_cast<unsigned short>(blockAlign));
    PutLittle16(format + 14, static_cast<unsigned short>(extensible ? containerBits : bits));
    if (extensible) {
        PutLittle16(format + 16, kExtensionBytes - 2);
        PutLittle16(format + 18, static_cast<unsigned short>(bits));
        PutLittle32(format + 24, tag);
        std::memcpy(format + 28, kGuidTail, sizeof(kGuidTail));
    }
    unsigned char* data = format + formatBytes;
    std::memcpy(data, "data", 4);
    PutLittle32(data + 4, dataSize);
    const unsigned char pad = 0;
    return WriteHeaderAndData(stream, header, static_cast<unsigned int>(data + 8 - header),
                              sound) &&
           ((dataSize & 1u) == 0 || WriteAll(stream, &pad, 1));
}

} // namespace Kelvo_lib
