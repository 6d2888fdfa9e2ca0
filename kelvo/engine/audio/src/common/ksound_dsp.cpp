// DSP ADPCM files: the header's fields, the loader (which keeps the whole file as the
// sample data, since the voices read the header) and the writer.
#include <kelvo/audio/kdspadpcm.h>
#include <kelvo/audio/ksoundwriter.h>
#include <kelvo/platform/klog.h>
#include <kelvo/platform/kmemory.h>

#include "ksoundfile.h"

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "DSP";

using namespace kSoundFile;

// Every address must name a nibble of the data; playing starts no later than the end, and
// a loop starts no later than the end.
bool AddressesInsideData(const kDSPADPCMHeader& header, unsigned int dataBytes) {
    const unsigned long long nibbles = 2ull * dataBytes;
    return header.endAddress < nibbles && header.currentAddress <= header.endAddress &&
           header.loopAddress <= header.endAddress;
}

bool CheckHeader(const kDSPADPCMHeader& header, unsigned int dataBytes) {
    if (header.format != K_DSP_FORMAT_ADPCM) {
        kLogSys(kSystem, "Unsupported sample format %d.\n", header.format);
        return false;
    }
    if (!AddressesInsideData(header, dataBytes)) {
        kLogSys(kSystem, "Addresses (loop %u, end %u, start %u) lie outside the %u data bytes.\n",
                header.loopAddress, header.endAddress, header.currentAddress, dataBytes);
        return false;
    }
    return true;
}

} // namespace

void kDSPADPCM_ReadHeader(const unsigned char* bytes, kDSPADPCMHeader* header) {
    header->numSamples = Big32(bytes + 0);
    header->numNibbles = Big32(bytes + 4);
    header->sampleRate = Big32(bytes + 8);
    header->loopFlag = Big16(bytes + 12);
    header->format = Big16(bytes + 14);
    header->loopAddress = Big32(bytes + 16);
    header->endAddress = Big32(bytes + 20);
    header->currentAddress = Big32(bytes + 24);
    for (unsigned int i = 0; i < 16; ++i) {
        header->coefficients[i] = static_cast<short>(Big16(bytes + 28 + 2 * i));
    }
    header->gain = Big16(bytes + 60);
    header->predScale = Big16(bytes + 62);
    header->history1 = static_cast<short>(Big16(bytes + 64));
    header->history2 = static_cast<short>(Big16(bytes + 66));
    header->loopPredScale = Big16(bytes + 68);
    header->loopHistory1 = static_cast<short>(Big16(bytes + 70));
    header->loopHistory2 = static_cast<short>(Big16(bytes + 72));
}

void kDSPADPCM_WriteHeader(const kDSPADPCMHeader& header, unsigned char* bytes) {
    std::memset(bytes, 0, K_DSP_HEADER_SIZE);
    PutBig32(bytes + 0, header.numSamples);
    PutBig32(bytes + 4, header.numNibbles);
    PutBig32(bytes + 8, header.sampleRate);
    PutBig16(bytes + 12, header.loopFlag);
    PutBig16(bytes + 14, header.format);
    PutBig32(bytes + 16, header.loopAddress);
    PutBig32(bytes + 20, header.endAddress);
    PutBig32(bytes + 24, header.currentAddress);
    for (unsigned int i = 0; i < 16; ++i) {
        PutBig16(bytes + 28 + 2 * i, static_cast<unsigned short>(header.coefficients[i]));
    }
    PutBig16(bytes + 60, header.gain);
    PutBig16(bytes + 62, header.predScale);
    PutBig16(bytes + 64, static_cast<unsigned short>(header.history1));
    PutBig16(bytes + 66, static_cast<unsigned short>(header.history2));
    PutBig16(bytes + 68, header.loopPredScale);
    PutBig16(bytes + 70, static_cast<unsigned short>(header.loopHistory1));
    PutBig16(bytes + 72, static_cast<unsigned short>(header.loopHistory2));
}

kSound* kSound_DSPLoad(kIOStreamSeekable* iostream) {
    const unsigned int length = iostream->Length();
    if (length < K_DSP_HEADER_SIZE) {
        kLogSys(kSystem, "File of %u bytes is too short for its header.\n", length);
        return nullptr;
    }
    unsigned char* data =
        static_cast<unsigned char*>(ReadData(iostream, length, kSystem, "Failed to read data.\n"));
    if (data == nullptr) {
        return nullptr;
    }
    kDSPADPCMHeader header;
    kDSPADPCM_ReadHeader(data, &header);
    if (!CheckHeader(header, length - K_DSP_HEADER_SIZE)) {
        kPlatform_ReleaseFree(data);
        return nullptr;
    }
    kLogSys(kSystem, "Samples: %d\n", static_cast<int>(header.numSamples));
    kLogSys(kSystem, "Rate: %d\n", static_cast<int>(header.sampleRate));
    kLogSys(kSystem, "Length: %.2fsec\n",
            header.sampleRate != 0 ? static_cast<double>(header.numSamples) / header.sampleRate
                                   : 0.0);
    kSound* sound = new kSound;
    sound->SetHeader(K_SAMPLE_DSP_ADPCM_1CH, header.sampleRate, data, length, 0);
    kLogSys(kSystem, "Sound->Length: %.2fsec\n", static_cast<double>(sound->Length()));
    return sound;
}

bool kSound_DSPWrite(const kSound& sound, kIOStream* stream) {
    if (sound.Format() != K_SAMPLE_DSP_ADPCM_1CH || sound.DataSize() < K_DSP_HEADER_SIZE) {
        kLogSys(kSystem, "Write: not a mono DSP ADPCM sound with its header.\n");
        return false;
    }
    return WriteAll(stream, sound.GetData(), sound.DataSize());
}

} // namespace Kelvo_lib
