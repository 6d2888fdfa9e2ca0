// Ogg Vorbis files written with libvorbisenc: interleaved 16-bit PCM of one or two channels
// encoded at a variable bit rate, the whole file in memory. The music of the disc and the
// tests' Ogg files come from here; kOGGStream reads them back.
#pragma once

#include <vorbis/vorbisenc.h>

#include <span>
#include <vector>

namespace datatool {

// The whole file of interleaved PCM (empty PCM gives headers and no audio); empty when the
// encoder refuses the channel count, rate or quality (-0.1 to 1.0).
inline std::vector<unsigned char> EncodeOggVorbis(std::span<const short> pcm, int channels,
                                                  long rate, float quality = 0.5f) {
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

    std::vector<unsigned char> file;
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

} // namespace datatool
