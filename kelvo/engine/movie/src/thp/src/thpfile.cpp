// THP file reader: field checks over bytes already in memory.
#include <kelvo/movie/thpfile.h>

#include <kelvo/platform/klog.h>

#include "thpbytes.h"

#include <console/thp.h>

#include <cmath>
#include <cstring>

namespace {

using thp_bytes::Big32;

constexpr const char* kSystem = "THPFile";
// Limits that keep a movie's work memory within the console's arenas.
constexpr u32 kMaxFrameBytes = 1u << 20;
constexpr u32 kMaxAudioSamples = 1u << 16;
constexpr u32 kMaxPictureSide = 1024;
constexpr f32 kMaxFrameRate = 120.0f;

f32 BigFloat(const u8* at) {
    const u32 bits = Big32(at);
    f32 value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

bool Inside(u64 offset, u64 length, u64 fileLength) {
    return offset + length <= fileLength;
}

bool HeaderLayoutFits(const THPHeader& header, u32 fileLength) {
    const bool frames =
        header.numFrames > 0 && header.bufSize > 0 && header.bufSize <= kMaxFrameBytes &&
        header.firstFrameSize >= 8 && header.firstFrameSize <= header.bufSize &&
        header.firstFrameSize <= header.movieDataSize && std::isfinite(header.frameRate) &&
        header.frameRate > 0.0f && header.frameRate <= kMaxFrameRate &&
        header.audioMaxSamples <= kMaxAudioSamples;
    const bool places =
        header.compInfoDataOffsets % 4 == 0 && header.movieDataOffsets % 4 == 0 &&
        Inside(header.compInfoDataOffsets, THP_COMP_INFO_SIZE, fileLength) &&
        Inside(header.movieDataOffsets, header.movieDataSize, fileLength) &&
        header.finalFrameDataOffsets >= header.movieDataOffsets &&
        header.finalFrameDataOffsets <
            static_cast<u64>(header.movieDataOffsets) + header.movieDataSize &&
        (header.offsetDataOffsets == 0 ||
         (header.offsetDataOffsets % 4 == 0 &&
          Inside(header.offsetDataOffsets, static_cast<u64>(header.numFrames) * 4, fileLength)));
    return frames && places;
}

} // namespace

bool THPReadHeader(const u8* bytes, u32 size, u32 fileLength, THPHeader* header) {
    if (bytes == nullptr || size < THP_HEADER_SIZE || header == nullptr) {
        kLogSys(kSystem, "A header needs %u bytes.\n", THP_HEADER_SIZE);
        return false;
    }
    std::memcpy(header->magic, bytes, 4);
    u32* const fields[] = {&header->version,
                           &header->bufSize,
                           &header->audioMaxSamples,
                           nullptr,
                           &header->numFrames,
                           &header->firstFrameSize,
                           &header->movieDataSize,
                           &header->compInfoDataOffsets,
                           &header->offsetDataOffsets,
                           &header->movieDataOffsets,
                           &header->finalFrameDataOffsets};
    for (u32 i = 0; i < sizeof(fields) / sizeof(fields[0]); ++i) {
        if (fields[i] != nullptr) {
            *fields[i] = Big32(bytes + 4 + i * 4);
        }
    }
    header->frameRate = BigFloat(bytes + 16);
    if (std::memcmp(header->magic, "THP", 4) != 0 || header->version != THP_VERSION) {
        kLogSys(kSystem, "Not a THP file of version 0x%08x.\n", THP_VERSION);
        return false;
    }
    if (!HeaderLayoutFits(*header, fileLength)) {
        kLogSys(kSystem, "Header sizes or offsets lie outside the %u-byte file.\n", fileLength);
        return false;
    }
    return true;
}

bool THPReadCompInfo(const u8* bytes, u32 size, THPFrameCompInfo* compInfo) {
    if (bytes == nullptr || size < THP_COMP_INFO_SIZE || compInfo == nullptr) {
        kLogSys(kSystem, "Component information needs %u bytes.\n", THP_COMP_INFO_SIZE);
        return false;
    }
    compInfo->numComponents = Big32(bytes);
    std::memcpy(compInfo->frameComp, bytes + 4, THP_MAX_COMPONENTS);
    if (compInfo->numComponents == 0 || compInfo->numComponents > THP_MAX_COMPONENTS) {
        kLogSys(kSystem, "Bad component count %u.\n", compInfo->numComponents);
        return false;
    }
    u32 videos = 0;
    for (u32 i = 0; i < compInfo->numComponents; ++i) {
        const u8 kind = compInfo->frameComp[i];
        if (kind != THP_VIDEO_COMP && kind != THP_AUDIO_COMP) {
            kLogSys(kSystem, "Unknown component kind %u.\n", kind);
            return false;
        }
        videos += kind == THP_VIDEO_COMP ? 1 : 0;
    }
    if (videos > 1) {
        kLogSys(kSystem, "More than one video component.\n");
        return false;
    }
    return true;
}

bool THPReadVideoInfo(const u8* bytes, u32 size, THPVideoInfo* info) {
    if (bytes == nullptr || size < THP_VIDEO_INFO_SIZE || info == nullptr) {
        kLogSys(kSystem, "Video information needs %u bytes.\n", THP_VIDEO_INFO_SIZE);
        return false;
    }
    *info = THPVideoInfo{Big32(bytes), Big32(bytes + 4), Big32(bytes + 8)};
    if (info->xSize == 0 || info->ySize == 0 || info->xSize % 16 != 0 || info->ySize % 16 != 0 ||
        info->xSize > kMaxPictureSide || info->ySize > kMaxPictureSide || info->videoType > 2) {
        kLogSys(kSystem, "Bad picture %u x %u of type %u.\n", info->xSize, info->ySize,
                info->videoType);
        return false;
    }
    return true;
}

bool THPReadAudioInfo(const u8* bytes, u32 size, THPAudioInfo* info) {
    if (bytes == nullptr || size < THP_AUDIO_INFO_SIZE || info == nullptr) {
        kLogSys(kSystem, "Audio information needs %u bytes.\n", THP_AUDIO_INFO_SIZE);
        return false;
    }
    *info = THPAudioInfo{Big32(bytes), Big32(bytes + 4), Big32(bytes + 8), Big32(bytes + 12)};
    if ((info->sndChannels != 1 && info->sndChannels != 2) || info->sndNumTracks == 0 ||
        info->sndNumTracks > THP_MAX_COMPONENTS) {
        kLogSys(kSystem, "Bad sound of %u channels in %u tracks.\n", info->sndChannels,
                info->sndNumTracks);
        return false;
    }
    return true;
}

bool THPReadFrame(const u8* frame, u32 frameSize, const THPFrameCompInfo& compInfo, u32 numTracks,
                  THPFrameView* view) {
    const u32 headerSize = 8 + 4 * compInfo.numComponents;
    if (frame == nullptr || view == nullptr || compInfo.numComponents > THP_MAX_COMPONENTS ||
        frameSize < headerSize) {
        kLogSys(kSystem, "A frame of %u bytes is too short for its header.\n", frameSize);
        return false;
    }
    view->nextFrameSize = Big32(frame);
    view->prevFrameSize = Big32(frame + 4);
    u64 offset = headerSize;
    for (u32 i = 0; i < compInfo.numComponents; ++i) {
        const u32 size = Big32(frame + 8 + 4 * i);
        const u64 span =
            compInfo.frameComp[i] == THP_AUDIO_COMP ? static_cast<u64>(size) * numTracks : size;
        if (!Inside(offset, span, frameSize)) {
            kLogSys(kSystem, "Component %u of a frame lies outside its %u bytes.\n", i, frameSize);
            return false;
        }
        view->compData[i] = frame + offset;
        view->compSize[i] = size;
        offset += span;
    }
    return true;
}

bool THPReadFileInfo(const u8* file, u32 size, THPFileInfo* info) {
    if (file == nullptr || info == nullptr) {
        return false;
    }
    *info = THPFileInfo{};
    if (!THPReadHeader(file, size, size, &info->header) ||
        !THPReadCompInfo(file + info->header.compInfoDataOffsets,
                         size - info->header.compInfoDataOffsets, &info->compInfo)) {
        return false;
    }
    u32 at = info->header.compInfoDataOffsets + THP_COMP_INFO_SIZE;
    for (u32 i = 0; i < info->compInfo.numComponents; ++i) {
        const bool video = info->compInfo.frameComp[i] == THP_VIDEO_COMP;
        const bool read = video ? THPReadVideoInfo(file + at, size - at, &info->videoInfo)
                                : THPReadAudioInfo(file + at, size - at, &info->audioInfo);
        if (!read) {
            return false;
        }
        (video ? info->hasVideo : info->hasAudio) = true;
        at += video ? THP_VIDEO_INFO_SIZE : THP_AUDIO_INFO_SIZE;
    }
    return true;
}

bool THPForEachFrame(const u8* file, u32 size, const THPFileInfo& info,
                     const std::function<bool(u32 frame, const THPFrameView& view)>& visit) {
    const THPHeader& header = info.header;
    const u64 end = static_cast<u64>(header.movieDataOffsets) + header.movieDataSize;
    u64 offset = header.movieDataOffsets;
    u32 frameSize = header.firstFrameSize;
    const u32 numTracks = info.hasAudio ? info.audioInfo.sndNumTracks : 1;
    for (u32 frame = 0; frame < header.numFrames; ++frame) {
        THPFrameView view{};
        if (frameSize > header.bufSize || offset + frameSize > end || end > size ||
            !THPReadFrame(file + offset, frameSize, info.compInfo, numTracks, &view)) {
            kLogSys(kSystem, "Frame %u of %u bytes at %llu lies outside the movie.\n", frame,
                    frameSize, static_cast<unsigned long long>(offset));
            return false;
        }
        if (!visit(frame, view)) {
            return true;
        }
        offset += frameSize;
        frameSize = view.nextFrameSize;
    }
    return true;
}
