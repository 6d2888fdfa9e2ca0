// The five start-up movies of the disc, each a designed sting: no two frames in a row show
// the same picture, and no frame is silent (far under the movie's loudest), from the first
// to the last.
#include <kelvo/movie/thpfile.h>

#include <console/thp.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<u8> ReadDiscFile(const std::string& path) {
    std::ifstream file(std::string(PUZZLES_DISC_DIR) + "/" + path,
                       std::ios::binary | std::ios::ate);
    std::vector<u8> bytes(file ? static_cast<size_t>(file.tellg()) : 0);
    file.seekg(0);
    file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

// The root mean square of a frame's stereo samples, in dBFS.
double RmsDbfs(const std::vector<s16>& samples, u32 count) {
    double squares = 0.0;
    for (u32 i = 0; i < 2 * count; ++i) {
        squares += static_cast<double>(samples[i]) * samples[i];
    }
    return count > 0 ? 10.0 * std::log10(squares / (2.0 * count) / (32768.0 * 32768.0)) : -200.0;
}

// How far under the loudest frame a frame is silent.
constexpr double kSilence = 45.0;

TEST(LogoMoviesTest, EveryFrameMovesAndSoundsFromTheFirstToTheLast) {
    for (const char* name :
         {"logo_studio", "logo_engine", "logo_audio", "logo_video", "logo_puzzles"}) {
        SCOPED_TRACE(name);
        const std::vector<u8> file = ReadDiscFile(std::string("wii/movies/") + name + ".thp");
        THPFileInfo info{};
        ASSERT_TRUE(THPReadFileInfo(file.data(), static_cast<u32>(file.size()), &info));
        ASSERT_TRUE(info.hasVideo && info.hasAudio);
        std::vector<s16> sound(2 * info.header.audioMaxSamples);
        std::vector<u8> previous;
        u32 frames = 0;
        int still = 0;
        std::vector<double> levels;
        const bool bWalked = THPForEachFrame(
            file.data(), static_cast<u32>(file.size()), info,
            [&](u32 frame, const THPFrameView& view) {
                ++frames;
                for (u32 c = 0; c < info.compInfo.numComponents; ++c) {
                    const u8* data = view.compData[c];
                    if (info.compInfo.frameComp[c] == THP_VIDEO_COMP) {
                        // The encoder is deterministic: the same picture gives the same bytes.
                        const std::vector<u8> picture(data, data + view.compSize[c]);
                        still += frame > 0 && picture == previous ? 1 : 0;
                        previous = picture;
                    } else if (info.compInfo.frameComp[c] == THP_AUDIO_COMP) {
                        const u32 count = THPAudioDecode(sound.data(), info.header.audioMaxSamples,
                                                         data, view.compSize[c], 0);
                        levels.push_back(RmsDbfs(sound, count));
                    }
                }
                return true;
            });
        EXPECT_TRUE(bWalked);
        EXPECT_EQ(frames, info.header.numFrames);
        EXPECT_EQ(still, 0) << "frames that show the one before again";
        ASSERT_FALSE(levels.empty());
        const auto [quietest, loudest] = std::minmax_element(levels.begin(), levels.end());
        EXPECT_LT(*loudest - *quietest, kSilence)
            << "the quietest frame at " << *quietest << " dBFS, the loudest at " << *loudest;
    }
}

} // namespace
