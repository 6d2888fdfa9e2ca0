// Ogg Vorbis straight through the libraries, for tests, benchmarks and fuzz seeds: tones as
// interleaved 16-bit PCM, whole files of such PCM encoded with libvorbisenc, and plain
// vorbisfile decoding of a file in memory to compare with.
#pragma once

#include <vorbis/vorbisenc.h>
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

// The whole file of interleaved PCM (empty PCM gives headers and no audio); empty when the
// encoder refuses the channel count, rate or quality (-0.1 to 1.0).
inline Bytes Encode(const std::vector<short>& pcm, int channels, long rate, float quality = 0.5f) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) {
        vorbis_info_clear(&info);
        return {};
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1);

    Bytes file;
    ogg_page page;
    const auto append = [&file](const ogg_page& out) {
        file.insert(file.end(), out.header, out.header + out.header_len);
        file.insert(file.end(), out.body, out.body + out.body_len);
    };
    ogg_packet headers[3];
    vorbis_analysis_headerout(&dsp, &comment, &headers[0], &headers[1], &headers[2]);
    for (ogg_packet& header : headers) {
        ogg_stream_packetin(&stream, &header);
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        append(page);
    }

    const long frames = static_cast<long>(pcm.size()) / channels;
    constexpr long kChunk = 1024;
    for (long done = 0;;) {
        const long count = frames - done < kChunk ? frames - done : kChunk;
        if (count > 0) {
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
            for (long i = 0; i < count; ++i) {
                for (int c = 0; c < channels; ++c) {
                    buffer[c][i] = pcm[(done + i) * channels + c] / 32768.0f;
                }
            }
        }
        vorbis_analysis_wrote(&dsp, static_cast<int>(count));
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) {
                    append(page);
                }
            }
        }
        if (count == 0) {
            break;
        }
        done += count;
    }
    while (ogg_stream_flush(&stream, &page) != 0) {
        append(page);
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return file;
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
// unsigned); empty when it does not open.
inline Bytes Decode(const Bytes& file, int wordSize = 2) {
    MemorySource source{&file, 0};
    OggVorbis_File decoder;
    if (ov_open_callbacks(&source, &decoder, nullptr, 0, MemorySource::kCallbacks) != 0) {
        return {};
    }
    Bytes pcm;
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
