// Reads any bytes as a THP movie file, as the player and the dump read one: the header and
// component records, then every frame, each picture and sound track decoded.
#include <kelvo/movie/thpfile.h>

#include <console/thp.h>

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    THPFileInfo info{};
    if (size > UINT32_MAX || !THPReadFileInfo(data, static_cast<u32>(size), &info)) {
        return 0;
    }
    const u32 planeSize = info.videoInfo.xSize * info.videoInfo.ySize;
    std::vector<u8> y(planeSize), u(planeSize / 4), v(planeSize / 4);
    std::vector<s16> sound(static_cast<size_t>(info.header.audioMaxSamples) * 2 + 2);
    THPForEachFrame(data, static_cast<u32>(size), info, [&](u32, const THPFrameView& view) {
        for (u32 i = 0; i < info.compInfo.numComponents; ++i) {
            if (info.compInfo.frameComp[i] == THP_VIDEO_COMP) {
                THPVideoDecode(view.compData[i], view.compSize[i], info.videoInfo.xSize,
                               info.videoInfo.ySize, y.data(), u.data(), v.data(), nullptr);
            } else {
                THPAudioDecode(sound.data(), info.header.audioMaxSamples, view.compData[i],
                               view.compSize[i], 0);
            }
        }
        return true;
    });
    return 0;
}
