// Writes the seed corpus of fuzz_ogg_stream: small Ogg Vorbis files made by libvorbisenc, each
// after the byte that picks the target's output, looping and read size. Not part of the build;
// run it from the top of the tree when the seeds need remaking:
//   c++ -std=c++20 -I tests/kelvo -I tools/datatool fuzz/support/ogg_seeds.cpp
//       $(pkg-config --cflags --libs vorbisenc vorbisfile vorbis ogg) -o /tmp/ogg_seeds
//   /tmp/ogg_seeds fuzz/corpus/fuzz_ogg_stream
#include "ogg_codec.h"

#include <cstdio>
#include <string>

namespace {

struct Seed {
    const char* name;
    unsigned char mode; // bit 0: 8-bit, bit 1: looping, bits 2-7: read size
    int channels;
    long rate;
    unsigned int frames;
    float quality;
};

constexpr Seed kSeeds[] = {
    {"mono_8k.ogg", 0x20, 1, 8000, 800, 0.0f},
    {"stereo_11k_loop.ogg", 0x0A, 2, 11025, 1100, 0.1f},
    {"stereo_8bit.ogg", 0x41, 2, 8000, 400, 0.0f},
    {"no_audio_loop.ogg", 0x06, 1, 8000, 0, 0.0f},
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR\n", argv[0]);
        return 2;
    }
    for (const Seed& seed : kSeeds) {
        const std::vector<double> hz = {440.0, 660.0};
        const ogg_codec::Bytes file = ogg_codec::Encode(
            ogg_codec::Tones(seed.frames, static_cast<unsigned int>(seed.rate),
                             std::vector<double>(hz.begin(), hz.begin() + seed.channels), 6000),
            seed.channels, seed.rate, seed.quality);
        const std::string path = std::string(argv[1]) + "/" + seed.name;
        FILE* out = std::fopen(path.c_str(), "wb");
        if (file.empty() || out == nullptr || std::fputc(seed.mode, out) == EOF ||
            std::fwrite(file.data(), 1, file.size(), out) != file.size()) {
            std::fprintf(stderr, "could not write %s\n", path.c_str());
            return 1;
        }
        std::fclose(out);
    }
    return 0;
}
