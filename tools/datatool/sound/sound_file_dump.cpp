// The dump of a sound file: its header as the engine reads it, and for a DSP ADPCM file
// every field of its own header.
#include "sound/sound_file_dump.h"

#include "file_kinds.h"
#include "host_files.h"

#include <kelvo/audio/kdspadpcm.h>
#include <kelvo/io/kmemoryiostream.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace datatool {
namespace {

using Kelvo_lib::kSound;

const char* DataTypeName(unsigned int dataType) {
    switch (dataType) {
    case Kelvo_lib::K_SAMPLE_DATA_PCM_INTEGER:
        return "PCM";
    case Kelvo_lib::K_SAMPLE_DATA_VAG_ADPCM:
        return "VAG ADPCM";
    case Kelvo_lib::K_SAMPLE_DATA_IMA_ADPCM:
        return "IMA ADPCM";
    case Kelvo_lib::K_SAMPLE_DATA_DSP_ADPCM:
        return "DSP ADPCM";
    default:
        return "unknown";
    }
}

void PrintSound(const kSound& sound) {
    const Kelvo_lib::kSAMPLE_FORMAT format = sound.Format();
    std::printf("format      0x%08x: %s, %u channels, %u bits in %u\n", format,
                DataTypeName(sound.DataType()), sound.NumChannels(), kSound::BitsPerSample(format),
                kSound::ContainerBits(format));
    std::printf("rate        %u Hz\n", sound.Frequency());
    std::printf("data        %u bytes\n", sound.DataSize());
    std::printf("length      %.3f s\n", static_cast<double>(sound.Length()));
}

void PrintDspHeader(const kSound& sound) {
    Kelvo_lib::kDSPADPCMHeader header;
    Kelvo_lib::kDSPADPCM_ReadHeader(static_cast<const unsigned char*>(sound.GetData()), &header);
    std::printf("samples     %u\n", header.numSamples);
    std::printf("nibbles     %u\n", header.numNibbles);
    std::printf("loop flag   %u\n", header.loopFlag);
    std::printf("addresses   start %u, loop %u, end %u (nibbles)\n", header.currentAddress,
                header.loopAddress, header.endAddress);
    std::printf("coefficients");
    for (int pair = 0; pair < 8; ++pair) {
        std::printf(" (%d %d)", header.coefficients[2 * pair], header.coefficients[2 * pair + 1]);
    }
    std::printf("\ngain        %u\n", header.gain);
    std::printf("start       predictor/scale 0x%02x, history %d %d\n", header.predScale,
                header.history1, header.history2);
    std::printf("loop        predictor/scale 0x%02x, history %d %d\n", header.loopPredScale,
                header.loopHistory1, header.loopHistory2);
}

} // namespace

int RunSoundFileDump(int argc, char** argv) {
    if (argc != 1) {
        std::fprintf(stderr, "usage: datatool dump FILE\n");
        return 2;
    }
    std::vector<unsigned char> bytes;
    if (!ReadHostFile(argv[0], &bytes)) {
        return 1;
    }
    Kelvo_lib::kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()),
                                      K_IO_ACCESS_READ);
    const std::unique_ptr<kSound> sound(kSound::Import(&stream, argv[0]));
    if (sound == nullptr) {
        ReportUnreadableFile(argv[0], bytes);
        return 1;
    }
    std::printf("file        %s\n", argv[0]);
    PrintSound(*sound);
    if (sound->DataType() == Kelvo_lib::K_SAMPLE_DATA_DSP_ADPCM) {
        PrintDspHeader(*sound);
    }
    return 0;
}

} // namespace datatool
