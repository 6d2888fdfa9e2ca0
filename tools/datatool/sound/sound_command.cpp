// datatool sound IN.wav OUT.dsp [--loop]: a WAV file's 16-bit PCM, mixed down to mono,
// encoded as a DSP ADPCM sound at the file's rate; with --loop the whole sound loops.
#include "commands.h"
#include "host_files.h"
#include "sound/dsp_file.h"

#include <kelvo/audio/ksound.h>
#include <kelvo/io/kendian.h>
#include <kelvo/io/kmemoryiostream.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace datatool {
namespace {

using Kelvo_lib::kSound;

bool IsPcm16(const kSound& sound) {
    return sound.DataType() == Kelvo_lib::K_SAMPLE_DATA_PCM_INTEGER &&
           kSound::BitsPerSample(sound.Format()) == 16 &&
           kSound::ContainerBits(sound.Format()) == 16 &&
           (sound.NumChannels() == 1 || sound.NumChannels() == 2);
}

// The WAV data's little-endian samples, each frame's channels averaged.
std::vector<short> MonoSamples(const kSound& sound) {
    const unsigned int channels = sound.NumChannels();
    const unsigned char* bytes = static_cast<const unsigned char*>(sound.GetData());
    std::vector<short> samples(sound.DataSize() / (2 * channels));
    for (size_t frame = 0; frame < samples.size(); ++frame) {
        int sum = 0;
        for (unsigned int channel = 0; channel < channels; ++channel) {
            unsigned short raw = 0;
            std::memcpy(&raw, bytes + 2 * (frame * channels + channel), sizeof(raw));
            sum += static_cast<short>(Kelvo_lib::kEndian::Little16(raw));
        }
        samples[frame] = static_cast<short>(sum / static_cast<int>(channels));
    }
    return samples;
}

} // namespace

int RunSoundCommand(int argc, char** argv) {
    const bool loop = argc == 3 && std::strcmp(argv[2], "--loop") == 0;
    if (argc != 2 && !loop) {
        std::fprintf(stderr, "usage: datatool sound IN.wav OUT.dsp [--loop]\n");
        return 2;
    }
    std::vector<unsigned char> bytes;
    if (!ReadHostFile(argv[0], &bytes)) {
        return 1;
    }
    Kelvo_lib::kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()),
                                      K_IO_ACCESS_READ);
    const std::unique_ptr<kSound> wav(Kelvo_lib::kSound_WAVLoad(&stream));
    if (wav == nullptr || !IsPcm16(*wav)) {
        std::fprintf(stderr, "datatool: '%s' is not a WAV file of 16-bit PCM, mono or stereo\n",
                     argv[0]);
        return 1;
    }
    const std::vector<short> samples = MonoSamples(*wav);
    const std::vector<unsigned char> file = EncodeDspFile(samples, wav->Frequency(), loop);
    if (file.empty()) {
        std::fprintf(stderr, "datatool: '%s' holds no samples to encode\n", argv[0]);
        return 1;
    }
    if (!WriteHostFile(argv[1], file)) {
        return 1;
    }
    std::printf("%s: %zu samples at %u Hz%s, %zu bytes\n", argv[1], samples.size(),
                wav->Frequency(), loop ? ", looping" : "", file.size());
    return 0;
}

} // namespace datatool
