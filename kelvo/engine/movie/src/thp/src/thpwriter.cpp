// THP file writer: pictures encoded through libjpeg-turbo, sound as big-endian PCM tracks,
// laid out as thpfile.h describes.
#include <kelvo/movie/thpfile.h>

#include <kelvo/platform/klog.h>

#include <console/thp.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "thpbytes.h"

namespace {

using thp_bytes::Align32;

constexpr const char* kSystem = "THPWriter";
constexpr u32 kCompInfoOffset = 64;

void PutBig32(std::vector<u8>& out, u32 at, u32 value) {
    out[at] = static_cast<u8>(value >> 24);
    out[at + 1] = static_cast<u8>(value >> 16);
    out[at + 2] = static_cast<u8>(value >> 8);
    out[at + 3] = static_cast<u8>(value);
}

void AppendBig32(std::vector<u8>& out, u32 value) {
    out.resize(out.size() + 4);
    PutBig32(out, static_cast<u32>(out.size() - 4), value);
}

std::vector<u8> EncodeJpeg(const THPMovieSource& source, const std::vector<u8>& rgb) {
    jpeg_compress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_compress(&info);
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &bytes, &size);
    info.image_width = source.width;
    info.image_height = source.height;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info); // YCbCr with 2 x 2 luma sampling: 4:2:0
    jpeg_set_quality(&info, source.jpegQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<u8*>(rgb.data()) + info.next_scanline * source.width * 3;
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<u8> jpeg(bytes, bytes + size);
    jpeg_destroy_compress(&info);
    std::free(bytes);
    return jpeg;
}

// The sound track of one frame: the samples from the frame's start to the next frame's.
std::vector<u8> EncodeTrack(const THPMovieSource& source, u32 frame, u32* samples) {
    const u32 total = static_cast<u32>(source.sound.size() / source.sndChannels);
    const auto startOf = [&](u32 index) {
        const u64 start =
            static_cast<u64>(index * static_cast<f64>(THP_SOUND_FREQUENCY) / source.frameRate);
        return static_cast<u32>(start < total ? start : total);
    };
    const u32 first = startOf(frame);
    *samples = startOf(frame + 1) - first;
    std::vector<u8> track;
    AppendBig32(track, *samples);
    AppendBig32(track, source.sndChannels);
    for (u32 i = first * source.sndChannels; i < (first + *samples) * source.sndChannels; ++i) {
        const u16 sample = static_cast<u16>(source.sound[i]);
        track.push_back(static_cast<u8>(sample >> 8));
        track.push_back(static_cast<u8>(sample));
    }
    return track;
}

bool SourceFits(const THPMovieSource& source) {
    return source.width > 0 && source.height > 0 && source.width % 16 == 0 &&
           source.height % 16 == 0 && source.width <= 1024 && source.height <= 1024 &&
           source.frameRate > 0.0f && source.numFrames > 0 && source.drawFrame &&
           source.sndChannels <= 2 && source.jpegQuality >= 1 && source.jpegQuality <= 100 &&
           (source.sndChannels == 0 || source.sound.size() % source.sndChannels == 0);
}

// One frame's bytes, padded to 32; its next-frame size is patched in once known.
std::vector<u8> EncodeFrame(u32 previous, const std::vector<u8>& picture,
                            const std::vector<u8>& track) {
    std::vector<u8> frame;
    AppendBig32(frame, 0);
    AppendBig32(frame, previous);
    AppendBig32(frame, static_cast<u32>(picture.size()));
    if (!track.empty()) {
        AppendBig32(frame, static_cast<u32>(track.size()));
    }
    frame.insert(frame.end(), picture.begin(), picture.end());
    frame.insert(frame.end(), track.begin(), track.end());
    frame.resize(Align32(static_cast<u32>(frame.size())), 0);
    return frame;
}

void AppendComponentInfo(std::vector<u8>& out, const THPMovieSource& source) {
    const bool audio = source.sndChannels > 0;
    AppendBig32(out, audio ? 2 : 1);
    u8 kinds[THP_MAX_COMPONENTS];
    std::memset(kinds, THP_NOCOMP_COMP, sizeof(kinds));
    kinds[0] = THP_VIDEO_COMP;
    kinds[1] = audio ? THP_AUDIO_COMP : THP_NOCOMP_COMP;
    out.insert(out.end(), kinds, kinds + THP_MAX_COMPONENTS);
    for (u32 value : {source.width, source.height, 0u}) {
        AppendBig32(out, value);
    }
    if (audio) {
        const u32 total = static_cast<u32>(source.sound.size() / source.sndChannels);
        for (u32 value : {source.sndChannels, THP_SOUND_FREQUENCY, total, 1u}) {
            AppendBig32(out, value);
        }
    }
    out.resize(Align32(static_cast<u32>(out.size())), 0);
}

} // namespace

bool THPWriteMovie(const THPMovieSource& source, const THPWriteSink& write) {
    if (!write || !SourceFits(source)) {
        kLogSys(kSystem, "Cannot write a movie of %u x %u pixels, %u frames, %u channels.\n",
                source.width, source.height, source.numFrames, source.sndChannels);
        return false;
    }
    // The frames first, each in a block of its own (no one large block to grow), then the
    // header, component information and offset table that their sizes decide.
    std::vector<std::vector<u8>> frames(source.numFrames);
    std::vector<u8> rgb(static_cast<size_t>(source.width) * source.height * 3);
    std::vector<u8> track;
    u32 bufSize = 0;
    u32 audioMaxSamples = 0;
    for (u32 i = 0; i < source.numFrames; ++i) {
        source.drawFrame(i, rgb.data());
        u32 samples = 0;
        if (source.sndChannels > 0) {
            track = EncodeTrack(source, i, &samples);
        }
        frames[i] = EncodeFrame(i > 0 ? static_cast<u32>(frames[i - 1].size()) : 0,
                                EncodeJpeg(source, rgb), track);
        bufSize = std::max(bufSize, static_cast<u32>(frames[i].size()));
        audioMaxSamples = std::max(audioMaxSamples, samples);
    }
    for (u32 i = 0; i < source.numFrames; ++i) { // the last leads back to the first
        PutBig32(frames[i], 0, static_cast<u32>(frames[(i + 1) % source.numFrames].size()));
    }

    std::vector<u8> head(kCompInfoOffset, 0);
    AppendComponentInfo(head, source);
    const u32 offsetTable = static_cast<u32>(head.size());
    u32 end = 0;
    for (const std::vector<u8>& frame : frames) {
        end += static_cast<u32>(frame.size());
        AppendBig32(head, end);
    }
    head.resize(Align32(static_cast<u32>(head.size())), 0);
    const u32 movieData = static_cast<u32>(head.size());
    std::memcpy(head.data(), "THP", 4);
    u32 frameRateBits;
    std::memcpy(&frameRateBits, &source.frameRate, sizeof(frameRateBits));
    const u32 fields[] = {THP_VERSION,
                          bufSize,
                          audioMaxSamples,
                          frameRateBits,
                          source.numFrames,
                          static_cast<u32>(frames[0].size()),
                          end,
                          kCompInfoOffset,
                          offsetTable,
                          movieData,
                          movieData + end - static_cast<u32>(frames.back().size())};
    for (u32 i = 0; i < sizeof(fields) / sizeof(fields[0]); ++i) {
        PutBig32(head, 4 + i * 4, fields[i]);
    }
    if (!write(head.data(), static_cast<u32>(head.size()))) {
        return false;
    }
    for (const std::vector<u8>& frame : frames) {
        if (!write(frame.data(), static_cast<u32>(frame.size()))) {
            return false;
        }
    }
    return true;
}

bool THPWriteMovie(const THPMovieSource& source, std::vector<u8>* file) {
    if (file == nullptr) {
        return false;
    }
    file->clear();
    return THPWriteMovie(source, [file](const u8* bytes, u32 size) {
        file->insert(file->end(), bytes, bytes + size);
        return true;
    });
}
