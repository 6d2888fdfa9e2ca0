// Ogg Vorbis straight through the libraries, for tests, benchmarks and fuzz seeds: tones as
// interleaved 16-bit PCM, whole files of such PCM encoded with libvorbisenc, and plain
// vorbisfile decoding of a file in memory to compare with.
#pragma once

#include <sound/ogg_vorbis_writer.h>

#define OV_EXCLUDE_STATIC_CALLBACKS
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace ogg_codec {

using Bytes = std::vector<unsigned char>;

// Interleaved frames: channel c sounds hz[c] at the amplitude.
inline std::vector<short> Tones(unsigned int frames, unsigned int rate,
                                const std::vector<double>& hz, double amplitude) {
    std::vector<short> pcm(frames * hz.size());
    for (unsigned int frame = 0; frame < frames; ++frame) {
        for (size_t channel = 0; channel < hz.size(); ++channel) {
            pcm[frame * hz.size() + channel] = static_cast<short>(
                std::lround(amplitude * std::sin(2 * M_PI * hz[channel] * frame / rate)));
        }
    }
    return pcm;
}

// The whole file of interleaved PCM, through the data tool's writer.
inline Bytes Encode(const std::vector<short>& pcm, int channels, long rate, float quality = 0.5f) {
    return datatool::EncodeOggVorbis(pcm, channels, rate, quality);
}

// A file in memory for vorbisfile's callbacks.
struct MemorySource {
    const Bytes* file;
    size_t position;

    static size_t Read(void* out, size_t size, size_t count, void* source) {
        MemorySource& self = *static_cast<MemorySource*>(source);
        const size_t left = self.file->size() - self.position;
        const size_t bytes = size * count < left ? size * count : left;
        std::memcpy(out, self.file->data() + self.position, bytes);
        self.position += bytes;
        return bytes;
    }
    static int Seek(void* source, ogg_int64_t offset, int origin) {
        MemorySource& self = *static_cast<MemorySource*>(source);
        const ogg_int64_t base = origin == SEEK_CUR   ? static_cast<ogg_int64_t>(self.position)
                                 : origin == SEEK_END ? static_cast<ogg_int64_t>(self.file->size())
                                                      : 0;
        if (base + offset < 0 || base + offset > static_cast<ogg_int64_t>(self.file->size())) {
            return -1;
        }
        self.position = static_cast<size_t>(base + offset);
        return 0;
    }
    static long Tell(void* source) {
        return static_cast<long>(static_cast<MemorySource*>(source)->position);
    }

    static constexpr ov_callbacks kCallbacks = {Read, Seek, nullptr, Tell};
};

// Every byte plain ov_read gives for the file (16-bit signed little-endian, or 8-bit
// unsigned); empty when it does not open. Out may hold them on another heap.
template <class Out = Bytes>
inline Out Decode(const Bytes& file, int wordSize = 2) {
    MemorySource source{&file, 0};
    OggVorbis_File decoder;
    if (ov_open_callbacks(&source, &decoder, nullptr, 0, MemorySource::kCallbacks) != 0) {
        return {};
    }
    Out pcm;
    char block[4096];
    for (;;) {
        const long got =
            ov_read(&decoder, block, sizeof(block), 0, wordSize, wordSize == 2, nullptr);
        if (got == 0 || (got < 0 && got != OV_HOLE)) {
            break;
        }
        if (got > 0) {
            pcm.insert(pcm.end(), block, block + got);
        }
    }
    ov_clear(&decoder);
    return pcm;
}

} // namespace ogg_codec
