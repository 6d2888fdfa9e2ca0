// Prints a THP file as the player reads it; a damaged file is reported with exit code 1.
#include "movies/movie_dump.h"

#include "host_files.h"

#include <kelvo/movie/thpfile.h>

#include <cstdio>
#include <vector>

namespace datatool {

bool IsMovieFile(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return false;
    }
    char magic[4] = {};
    const bool read = std::fread(magic, 1, 4, file) == 4;
    std::fclose(file);
    return read && magic[0] == 'T' && magic[1] == 'H' && magic[2] == 'P' && magic[3] == 0;
}

int RunMovieDump(int argc, char** argv) {
    if (argc != 1) {
        std::fprintf(stderr, "usage: datatool dump FILE.thp\n");
        return 2;
    }
    std::vector<unsigned char> bytes;
    if (!ReadHostFile(argv[0], &bytes)) {
        return 1;
    }
    const u32 size = static_cast<u32>(bytes.size());
    THPFileInfo info{};
    if (!THPReadFileInfo(bytes.data(), size, &info)) {
        std::fprintf(stderr, "%s: not a THP movie that can be played\n", argv[0]);
        return 1;
    }
    const THPHeader& header = info.header;
    std::printf("THP movie, version 0x%08x, %u frames at %.3f per second, largest frame %u bytes\n",
                header.version, header.numFrames, header.frameRate, header.bufSize);
    if (info.hasVideo) {
        std::printf("video: %u x %u, type %u\n", info.videoInfo.xSize, info.videoInfo.ySize,
                    info.videoInfo.videoType);
    }
    if (info.hasAudio) {
        std::printf("audio: %u channels at %u Hz, %u samples in %u tracks, at most %u a frame\n",
                    info.audioInfo.sndChannels, info.audioInfo.sndFrequency,
                    info.audioInfo.sndNumSamples, info.audioInfo.sndNumTracks,
                    header.audioMaxSamples);
    }
    const bool walked =
        THPForEachFrame(bytes.data(), size, info, [&](u32 frame, const THPFrameView& view) {
            std::printf("frame %u: next %u, previous %u, components", frame, view.nextFrameSize,
                        view.prevFrameSize);
            for (u32 i = 0; i < info.compInfo.numComponents; ++i) {
                std::printf(" %u", view.compSize[i]);
            }
            std::printf("\n");
            return true;
        });
    return walked ? 0 : 1;
}

} // namespace datatool
