// THP movies: the writer and reader agree (pictures within JPEG's error, sound exactly), bad
// files are refused, and a movie plays headless on the virtual clock: every frame shown in
// turn where it belongs, its sound in the output while it plays, then the movie completes;
// held in memory it plays exactly as from the disc; a frame leaves the graphics processor's
// drawing state as it found it.
#include "audio_device_support.h"
#include "temporary_file.h"
#include "temporary_host_directory.h"

#include <kelvo/movie/kmovie.h>
#include <kelvo/movie/thpfile.h>
#include <kelvo/movie/thpplayer.h>
#include <kelvo/platform/kmemory.h>
#include <kelvo/platform/kplatform.h>
#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <console/thp.h>
#include <console/vi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

namespace {

constexpr u32 kSide = 64;
constexpr u32 kFrames = 6;
constexpr s16 kLoud = 8000;
// Four quadrant colours, turned one step each frame.
constexpr u32 kColours[4] = {0xE04030, 0x30C050, 0x3050E0, 0xF0F0F0};

u32 SourceColour(u32 frame, u32 x, u32 y) {
    const u32 quadrant = (y >= kSide / 2 ? 2 : 0) + (x >= kSide / 2 ? 1 : 0);
    return kColours[(quadrant + frame) % 4];
}

THPMovieSource TestMovie(bool withSound) {
    THPMovieSource source{};
    source.width = kSide;
    source.height = kSide;
    source.frameRate = 25.0f;
    source.numFrames = kFrames;
    source.jpegQuality = 95;
    source.drawFrame = [](u32 frame, u8* rgb) {
        for (u32 y = 0; y < kSide; ++y) {
            for (u32 x = 0; x < kSide; ++x, rgb += 3) {
                const u32 colour = SourceColour(frame, x, y);
                rgb[0] = static_cast<u8>(colour >> 16);
                rgb[1] = static_cast<u8>(colour >> 8);
                rgb[2] = static_cast<u8>(colour);
            }
        }
    };
    if (withSound) { // a square wave, loud on the left, half as loud on the right
        source.sndChannels = 2;
        for (u32 i = 0; i < THP_SOUND_FREQUENCY * kFrames / 25; ++i) {
            const s16 level = (i / 16) % 2 == 0 ? kLoud : -kLoud;
            source.sound.push_back(level);
            source.sound.push_back(static_cast<s16>(level / 2));
        }
    }
    return source;
}

std::vector<u8> Written(const THPMovieSource& source) {
    std::vector<u8> file;
    EXPECT_TRUE(THPWriteMovie(source, &file));
    return file;
}

int ChannelError(u32 a, u32 b) {
    int worst = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) -
                                         static_cast<int>((b >> shift) & 0xFF)));
    }
    return worst;
}

// A decoded I8 tile plane's texel.
u8 Texel(const std::vector<u8>& plane, u32 width, u32 x, u32 y) {
    return plane[(y / 4) * (width / 8) * 32 + (x / 8) * 32 + (y % 4) * 8 + x % 8];
}

TEST(THPFileTest, WrittenMovieReadsBackFrameByFrame) {
    const THPMovieSource source = TestMovie(true);
    const std::vector<u8> file = Written(source);
    THPFileInfo info{};
    ASSERT_TRUE(THPReadFileInfo(file.data(), static_cast<u32>(file.size()), &info));
    EXPECT_TRUE(info.hasVideo && info.hasAudio);
    EXPECT_EQ(info.videoInfo.xSize, kSide);
    EXPECT_EQ(info.audioInfo.sndNumSamples, source.sound.size() / 2);
    EXPECT_EQ(info.header.numFrames, kFrames);
    std::vector<u8> y(kSide * kSide), u(kSide * kSide / 4), v(kSide * kSide / 4);
    std::vector<s16> sound;
    u32 frames = 0;
    ASSERT_TRUE(THPForEachFrame(
        file.data(), static_cast<u32>(file.size()), info, [&](u32 frame, const THPFrameView& view) {
            EXPECT_EQ(THPVideoDecode(view.compData[0], view.compSize[0], kSide, kSide, y.data(),
                                     u.data(), v.data(), nullptr),
                      0);
            // Luma of the top-left quadrant's centre against the source colour's.
            const u32 colour = SourceColour(frame, 8, 8);
            const double luma =
                0.299 * (colour >> 16) + 0.587 * ((colour >> 8) & 0xFF) + 0.114 * (colour & 0xFF);
            EXPECT_NEAR(Texel(y, kSide, 8, 8), luma, 3.0) << "frame " << frame;
            std::vector<s16> part(info.header.audioMaxSamples * 2);
            const u32 got = THPAudioDecode(part.data(), info.header.audioMaxSamples,
                                           view.compData[1], view.compSize[1], 0);
            sound.insert(sound.end(), part.begin(), part.begin() + got * 2);
            ++frames;
            return true;
        }));
    EXPECT_EQ(frames, kFrames);
    EXPECT_EQ(sound, source.sound);
}

TEST(THPFileTest, DamagedFilesAreRefused) {
    const std::vector<u8> good = Written(TestMovie(true));
    const auto patched = [&](u32 at, u32 value) {
        std::vector<u8> file = good;
        for (u32 i = 0; i < 4; ++i) {
            file[at + i] = static_cast<u8>(value >> (24 - 8 * i));
        }
        return file;
    };
    const u32 movieData =
        static_cast<u32>(good[40]) << 24 | good[41] << 16 | good[42] << 8 | good[43];
    const struct {
        const char* what;
        std::vector<u8> file;
    } cases[] = {
        {"old version", patched(4, 0x00010000)},
        {"bad magic", patched(0, 0x54485000 | 'X')},
        {"truncated", std::vector<u8>(good.begin(), good.begin() + good.size() / 2)},
        {"header only", std::vector<u8>(good.begin(), good.begin() + 40)},
        {"frame larger than any buffer", patched(24, 0x00100000)},
        {"component past its frame", patched(movieData + 8, 0x00FFFFFF)},
        {"unknown component kind", patched(68, 0x07FFFFFF)},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.what);
        THPFileInfo info{};
        const u32 size = static_cast<u32>(bad.file.size());
        const bool read = THPReadFileInfo(bad.file.data(), size, &info) &&
                          THPForEachFrame(bad.file.data(), size, info,
                                          [](u32, const THPFrameView&) { return true; });
        EXPECT_FALSE(read);
    }
}

TEST(THPFileTest, VolumeGainsFollowTheSquareLaw) {
    const int volumes[] = {0, 1, 64, 127};
    const u16 gains[] = {0, 2, 8321, 32768};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(THPPlayerVolumeGain(volumes[i]), gains[i]);
    }
}

class MovieTest : public audio_device_test::AudioDeviceTest {
protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        kPlatform_Init();
    }

    std::unique_ptr<Kelvo_lib::kMovie> Create(const char* name) {
        return std::unique_ptr<Kelvo_lib::kMovie>(
            Kelvo_lib::kMovieManager::CreateMovie(name, 16, 0, 0));
    }

    static void SetAudioOut(const char* path) {
        HostOptions options = HostGetOptions();
        std::snprintf(options.audioOut, sizeof(options.audioOut), "%s", path);
        HostSetOptions(options);
    }

    // The left side of a captured WAV file (44-byte header, 16-bit stereo), which it removes.
    static std::vector<s16> CapturedLeft(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        const std::string wave((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
        std::remove(path.c_str());
        std::vector<s16> left;
        for (size_t at = 44; at + 3 < wave.size(); at += 4) {
            left.push_back(
                static_cast<s16>(static_cast<u8>(wave[at]) | static_cast<u8>(wave[at + 1]) << 8));
        }
        return left;
    }

    // What a playback showed and sounded, field by field.
    struct Playback {
        std::vector<long> frames; // the frame drawn at each field
        std::vector<u32> pixels;  // the movie's picture at each field, row by row
        std::vector<s16> left;    // the sound output's left side meanwhile
        bool bCompleted = false;
    };

    // Plays a movie through the player as the movie layer does, but opened from the disc or
    // held in memory, starting on the same phase of the audio frames each time.
    static Playback PlayThrough(const char* name, int onMemory) {
        Playback playback;
        EXPECT_TRUE(THPPlayerInit(1));
        if (!THPPlayerOpen(name, onMemory)) {
            ADD_FAILURE() << "cannot open " << name;
            THPPlayerQuit();
            return playback;
        }
        void* const memory =
            kPlatform_ReleaseAlloc(K_MEM_TAG_GENERAL, THPPlayerCalcNeedMemory() + 32);
        u8* const aligned =
            reinterpret_cast<u8*>((reinterpret_cast<uintptr_t>(memory) + 31) & ~uintptr_t{31});
        THPVideoInfo video{};
        THPPlayerGetVideoInfo(&video);
        const bool bPrepared = THPPlayerSetBuffer(aligned) && THPPlayerPrepare(0, 0, 0);
        EXPECT_TRUE(bPrepared) << name;
        while (bPrepared && VIGetRetraceCount() % 3 != 0) {
            VIWaitForRetrace();
        }
        const test_support::TemporaryFile captureFile("");
        SetAudioOut(captureFile.Path());
        THPPlayerPlay();
        for (int field = 0; bPrepared && field < 40 && THPPlayerGetState() == THP_STATE_PLAY;
             ++field) {
            VIWaitForRetrace();
            playback.frames.push_back(
                THPPlayerDrawCurrentFrame(s_curMode, 0, 0, video.xSize, video.ySize));
            THPPlayerDrawDone();
            for (u32 y = 0; y < video.ySize; ++y) {
                for (u32 x = 0; x < video.xSize; ++x) {
                    playback.pixels.push_back(GXReadEFBColorForTest(x, y));
                }
            }
        }
        playback.bCompleted = THPPlayerGetState() == THP_STATE_PLAYED;
        SetAudioOut("");
        VIWaitForRetrace();
        playback.left = CapturedLeft(captureFile.Path());
        THPPlayerStop();
        THPPlayerClose();
        THPPlayerQuit();
        kPlatform_ReleaseFree(memory);
        return playback;
    }

    test_support::TemporaryDisc m_disc;
};

TEST_F(MovieTest, PlaysEachFrameInTurnWithItsSound) {
    m_disc.Write("movies/test.thp", Written(TestMovie(true)));
    const std::unique_ptr<Kelvo_lib::kMovie> movie = Create("movies/test.thp");
    ASSERT_NE(movie, nullptr);
    auto* thp = static_cast<Kelvo_lib::kMovieTHP*>(movie.get());
    EXPECT_EQ(thp->GetX(), static_cast<int>(s_curMode->fbWidth - kSide) / 2);
    EXPECT_EQ(thp->GetY(), static_cast<int>(s_curMode->efbHeight - kSide) / 2);
    EXPECT_FALSE(movie->IsPlaying());
    movie->Play(false);
    EXPECT_TRUE(movie->IsPlaying());

    const test_support::TemporaryFile captureFile("");
    const std::string capture = captureFile.Path();
    SetAudioOut(capture.c_str());
    std::vector<int> shown;
    std::vector<int> fieldsOf(kFrames, 0);
    for (int field = 0; field < 40 && movie->IsPlaying(); ++field) {
        VIWaitForRetrace();
        movie->Tick(1.0f / 50);
        movie->Render();
        const int frame = thp->GetFrameIndex();
        if (frame < 0) {
            continue;
        }
        if (shown.empty() || shown.back() != frame) {
            shown.push_back(frame);
        }
        ++fieldsOf[frame];
        for (u32 y = 4; y < kSide; y += 8) { // away from the quadrant edges' JPEG ringing
            for (u32 x = 4; x < kSide; x += 8) {
                if ((x + 4) % 32 != 0 && (y + 4) % 32 != 0) {
                    const u32 pixel =
                        GXReadEFBColorForTest(thp->GetX() + x, thp->GetY() + y) & 0xFFFFFF;
                    ASSERT_LE(ChannelError(pixel, SourceColour(frame, x, y)), 6)
                        << "frame " << frame << " at " << x << ", " << y;
                }
            }
        }
    }
    EXPECT_FALSE(movie->IsPlaying()) << "the movie never completed";
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    for (u32 frame = 1; frame + 1 < kFrames; ++frame) {
        EXPECT_EQ(fieldsOf[frame], 2) << "25 frames a second on 50 fields: frame " << frame;
    }
    SetAudioOut("");
    VIWaitForRetrace();
    const std::vector<s16> left = CapturedLeft(capture);
    const auto first = std::find_if(left.begin(), left.end(), [](s16 s) { return s > kLoud / 2; });
    EXPECT_LT(first - left.begin(), 2 * AI_SAMPLE_RATE / 50) << "sound starts within two fields";
    const size_t loud = static_cast<size_t>(
        std::count_if(left.begin(), left.end(), [](s16 s) { return std::abs(s) > kLoud / 2; }));
    const size_t expected = THP_SOUND_FREQUENCY * kFrames / 25;
    EXPECT_NEAR(static_cast<double>(loud), static_cast<double>(expected), expected * 0.05);
}

TEST_F(MovieTest, MovieHeldInMemoryPlaysFrameForFrameLikeFromTheDisc) {
    m_disc.Write("movies/test.thp", Written(TestMovie(true)));
    const Playback disc = PlayThrough("movies/test.thp", 0);
    const Playback memory = PlayThrough("movies/test.thp", 1);
    EXPECT_TRUE(disc.bCompleted);
    EXPECT_TRUE(memory.bCompleted);
    EXPECT_EQ(std::set<long>(disc.frames.begin(), disc.frames.end()),
              (std::set<long>{0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(memory.frames, disc.frames);
    EXPECT_TRUE(memory.pixels == disc.pixels) << "the pictures differ";
    EXPECT_GT(std::count_if(disc.left.begin(), disc.left.end(),
                            [](s16 s) { return std::abs(s) > kLoud / 2; }),
              0);
    EXPECT_TRUE(memory.left == disc.left) << "the sound differs";
}

TEST_F(MovieTest, AFrameLeavesTheDrawingStateAsItFoundIt) {
    // The render layer's blended fill, then a movie frame, then the same fill: the fill
    // draws with the very same pixel operations, environment and viewport.
    using namespace Kelvo_lib;
    kRender::Init();
    krSurface* const surface = kRender::SurfaceCreate(krSurfaceDesc());
    const auto fill = [] {
        krDrawHelp::DrawRect(KR_DRAW_FLUSH, 0.1f, 0.1f, 0.2f, 0.2f, 0x80FF8040);
    };
    fill();
    const std::vector<u8> before = GXDrawingStateForTest();
    m_disc.Write("movies/test.thp", Written(TestMovie(false)));
    const std::unique_ptr<kMovie> movie = Create("movies/test.thp");
    ASSERT_NE(movie, nullptr);
    movie->Play(false);
    auto* thp = static_cast<kMovieTHP*>(movie.get());
    int field = 0;
    do {
        VIWaitForRetrace();
        movie->Tick(1.0f / 50);
        movie->Render();
    } while (thp->GetFrameIndex() < 0 && ++field < 10);
    ASSERT_GE(thp->GetFrameIndex(), 0) << "no frame was drawn";
    EXPECT_NE(GXDrawingStateForTest(), before) << "the frame draws in a state of its own";
    fill();
    EXPECT_EQ(GXDrawingStateForTest(), before);
    kRender::SurfaceDestroy(surface);
    kRender::Deinit();
}

TEST_F(MovieTest, PauseAndResumeOnlyActWhenTheyMeanSomething) {
    m_disc.Write("movies/test.thp", Written(TestMovie(false)));
    const std::unique_ptr<Kelvo_lib::kMovie> movie = Create("movies/test.thp");
    ASSERT_NE(movie, nullptr);
    EXPECT_EQ(THPPlayerGetState(), THP_STATE_PREPARE);
    EXPECT_FALSE(THPPlayerPause()) << "not playing yet";
    movie->Resume(); // not paused: nothing to resume
    EXPECT_EQ(THPPlayerGetState(), THP_STATE_PREPARE);
    movie->Play(false);
    movie->Pause();
    movie->Pause();
    EXPECT_EQ(THPPlayerGetState(), THP_STATE_PAUSE);
    EXPECT_FALSE(THPPlayerPause()) << "paused already";
    EXPECT_FALSE(movie->IsPlaying());
    movie->Resume();
    EXPECT_EQ(THPPlayerGetState(), THP_STATE_PLAY);
    EXPECT_TRUE(movie->IsPlaying());
    movie->Stop();
    EXPECT_FALSE(THPPlayerPlay()) << "stopped";
}

// The player holds one movie: a second init, or a second movie, is refused (logged) and
// leaves the movie in use playing with its sound; once that one is gone, the player is free.
TEST_F(MovieTest, ASecondInitIsRefusedAndTheMovieInUsePlaysOn) {
    m_disc.Write("movies/test.thp", Written(TestMovie(true)));
    {
        const std::unique_ptr<Kelvo_lib::kMovie> movie = Create("movies/test.thp");
        ASSERT_NE(movie, nullptr);
        const sound_test::LogRecorder log;
        EXPECT_FALSE(THPPlayerInit(1));
        EXPECT_EQ(Create("movies/test.thp"), nullptr);
        EXPECT_TRUE(log.Logged("initialised already"));
        const test_support::TemporaryFile captureFile("");
        SetAudioOut(captureFile.Path());
        movie->Play(false);
        for (int field = 0; field < 40 && movie->IsPlaying(); ++field) {
            VIWaitForRetrace();
            movie->Tick(1.0f / 50);
            movie->Render();
        }
        EXPECT_FALSE(movie->IsPlaying()) << "the movie never completed";
        SetAudioOut("");
        VIWaitForRetrace();
        const std::vector<s16> left = CapturedLeft(captureFile.Path());
        EXPECT_GT(std::count(left.begin(), left.end(), kLoud), 0) << "the movie's sound";
    }
    EXPECT_TRUE(THPPlayerInit(1));
    THPPlayerQuit();
}

TEST_F(MovieTest, WorkMemoryHoldsReadBuffersTextureSetsAndSoundBuffers) {
    // A 320 x 240 movie whose largest frame is 40,000 bytes, with 1,000 samples a frame.
    std::vector<u8> file(128 + 40000, 0);
    const auto put = [&](u32 at, u32 value) {
        for (u32 i = 0; i < 4; ++i) {
            file[at + i] = static_cast<u8>(value >> (24 - 8 * i));
        }
    };
    const u32 header[] = {0x54485000, THP_VERSION, 40000, 1000, 0x41C80000, 1,
                          40000,      40000,       64,    0,    128,        128};
    for (u32 i = 0; i < 12; ++i) {
        put(4 * i, header[i]);
    }
    const u32 components[] = {2,   0x0001FFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 320,
                              240, 0,          2,          32000,      1000,       1};
    for (u32 i = 0; i < 12; ++i) {
        put(64 + 4 * i, components[i]);
    }
    m_disc.Write("movies/sizes.thp", file);
    // Held in memory, the movie's 40,000 bytes take the place of the ten read buffers.
    for (const auto& [onMemory, size] : {std::pair{0, 773696u}, std::pair{1, 413696u}}) {
        ASSERT_TRUE(THPPlayerInit(1));
        ASSERT_TRUE(THPPlayerOpen("movies/sizes.thp", onMemory));
        EXPECT_EQ(THPPlayerCalcNeedMemory(), size);
        EXPECT_TRUE(THPPlayerClose());
        THPPlayerQuit();
    }
}

TEST_F(MovieTest, MissingOrBrokenMoviesEndWithoutWaiting) {
    EXPECT_EQ(Create("movies/none.thp"), nullptr);
    std::vector<u8> file = Written(TestMovie(false));
    m_disc.Write("movies/short.thp", std::vector<u8>(file.begin(), file.begin() + file.size() / 3));
    EXPECT_EQ(Create("movies/short.thp"), nullptr);

    // A picture spoilt after the first frame: the movie starts, then ends at the error.
    THPFileInfo info{};
    ASSERT_TRUE(THPReadFileInfo(file.data(), static_cast<u32>(file.size()), &info));
    const u32 second = info.header.movieDataOffsets + info.header.firstFrameSize;
    for (u32 i = second + 16; i < second + 64; ++i) {
        file[i] = 0xFF;
    }
    m_disc.Write("movies/spoilt.thp", file);
    // A first frame that names a next frame far past the end of the file.
    std::vector<u8> lying = Written(TestMovie(false));
    lying[info.header.movieDataOffsets] = 0x7F;
    m_disc.Write("movies/lying.thp", lying);
    for (const char* name : {"movies/spoilt.thp", "movies/lying.thp"}) {
        SCOPED_TRACE(name);
        {
            const std::unique_ptr<Kelvo_lib::kMovie> movie = Create(name);
            ASSERT_NE(movie, nullptr);
            movie->Play(false);
            for (int field = 0; field < 20 && movie->IsPlaying(); ++field) {
                VIWaitForRetrace();
                movie->Tick(1.0f / 50);
                movie->Render();
            }
            EXPECT_FALSE(movie->IsPlaying());
        }
        // Held in memory, the same checks stop it at the same frame.
        const Playback playback = PlayThrough(name, 1);
        EXPECT_FALSE(playback.bCompleted);
        EXPECT_LT(playback.frames.size(), 6u) << "ended at the error";
    }
}

} // namespace
