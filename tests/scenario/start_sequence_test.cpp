// The game from power-on, headless, driven by an input script: the strap screen until A,
// the splash picture, the logo movies skipped by presses, the title screen until an A
// release, then the world's first screen. One run; its pictures are compared with goldens.
// And the sound of the sequence left to play: the movies as loud as the title music after
// them, which plays at the start-up music level.
#include "../kelvo/ogg_codec.h"
#include "effect_capture.h"
#include "game_run.h"

#include <services/mnsound.h>
#include <sound/sound_synth.h>

#include <set>

namespace start_sequence {

namespace fs = std::filesystem;
using scenario::kToTheWorld;

constexpr int kFrames = 480;

struct Shot {
    const char* name;
    int frame;
};
// The strap screen with its prompt, the splash picture fully shown, the first movie, the
// title screen and the world's first screen.
constexpr Shot kShots[] = {
    {"start_strap", 110}, {"start_splash", 210}, {"start_movie", 280},
    {"start_title", 400}, {"start_world", 460},
};

class StartSequenceTest : public scenario::GameRunTest {};

// One run serves every picture.
TEST_F(StartSequenceTest, StrapSplashTitleAndWorldShowInTurnAndTheRunEndsInOrder) {
    std::string shots;
    for (const Shot& shot : kShots) {
        shots += Screenshot(shot.name, shot.frame);
    }
    std::string output;
    EXPECT_EQ(RunGame(kToTheWorld, kFrames, shots, output), 0) << output;
    EXPECT_NE(output.find("host: " + std::to_string(kFrames) + " frames"), std::string::npos)
        << output;
    for (const char* name : {"start_strap", "start_splash", "start_title", "start_world"}) {
        EXPECT_TRUE(ShotMatches(name));
    }
    // A logo movie is playing (its picture depends on the movie player's pacing, so only
    // its having a picture is checked).
    png_golden::Image movie;
    ASSERT_TRUE(png_golden::ReadPng((s_dir / "start_movie.png").string(), movie));
    const std::set<u32> colours(movie.rgb.begin(), movie.rgb.end());
    EXPECT_GT(colours.size(), 8u);
}

TEST_F(StartSequenceTest, PowerEndsTheRunAndResetStartsItAgainFromTheStrapOrTheSplash) {
    struct Case {
        const char* script;
        const char* ending;
    };
    const Case cases[] = {
        {"50 power\n", "host: 51 frames"},
        {"50 reset\n", "OS: restart after 52 frames"}, // the main loop's first frame acts on it
        {"130 hold A\n133 hold none\n250 reset\n", "OS: restart after 252 frames"},
    };
    for (const Case& c : cases) {
        std::string output;
        EXPECT_EQ(RunGame(c.script, 400, "", output), 0) << output;
        EXPECT_NE(output.find(c.ending), std::string::npos) << c.script << output;
    }
}

// HOME is refused on the strap screen: the crossed-out sign shows over the strap, in the
// picture's lower right corner, and nowhere else does the picture change.
TEST_F(StartSequenceTest, RefusedHomeShowsItsSignOverTheStrap) {
    std::string output;
    EXPECT_EQ(RunGame("70 hold HOME\n72 hold none\n", 80,
                      Screenshot("strap_before_home", 68) + Screenshot("strap_after_home", 76),
                      output),
              0)
        << output;
    png_golden::Image before;
    png_golden::Image after;
    ASSERT_TRUE(png_golden::ReadPng((s_dir / "strap_before_home.png").string(), before));
    ASSERT_TRUE(png_golden::ReadPng((s_dir / "strap_after_home.png").string(), after));
    ASSERT_EQ(before.rgb.size(), after.rgb.size());
    int changedInCorner = 0;
    int changedElsewhere = 0;
    for (u32 y = 0; y < after.height; ++y) {
        for (u32 x = 0; x < after.width; ++x) {
            const bool bChanged = before.rgb[y * after.width + x] != after.rgb[y * after.width + x];
            const bool bCorner = x >= after.width * 4 / 5 && y >= after.height * 4 / 5;
            (bCorner ? changedInCorner : changedElsewhere) += bChanged ? 1 : 0;
        }
    }
    EXPECT_GT(changedInCorner, 500) << "the sign";
    EXPECT_EQ(changedElsewhere, 0);
}

// HOME pressed while the strap fades out is refused, and its sign goes with the strap: the
// splash picture shows as it does without the press.
TEST_F(StartSequenceTest, NoHomeSignOverTheSplashAfterAPressDuringTheStrapsFade) {
    std::string output;
    EXPECT_EQ(RunGame("130 hold A\n133 hold none\n150 hold HOME\n152 hold none\n", 200,
                      Screenshot("start_splash", 196), output),
              0)
        << output;
    EXPECT_TRUE(ShotMatches("start_splash"));
}

// The captured sound of a span, interleaved stereo.
datatool::SynthSamples CapturedSound(const fs::path& capture, effect_capture::Span span) {
    const effect_capture::Samples stereo =
        effect_capture::ReadStereo(capture, span.begin, span.end - span.begin);
    return datatool::SynthSamples(stereo.begin(), stereo.end());
}

// The title cue's first frames as the disc holds it, interleaved stereo.
datatool::SynthSamples TitleCueOpening(long frames) {
    const fs::path path =
        fs::path(PUZZLES_DISC_DIR) / "wii/audio" /
        (std::string(Kelvo_lib::MNSound::GetMusicName(Kelvo_lib::MUSIC_TITLE)) + ".ogg");
    std::ifstream file(path, std::ios::binary);
    const ogg_codec::Bytes bytes{std::istreambuf_iterator<char>(file), {}};
    // A minute of stereo outgrows the console heap that the tests' own allocations use.
    using HostBytes = std::vector<unsigned char, HostHeap<unsigned char>>;
    const HostBytes pcm = ogg_codec::Decode<HostBytes>(bytes);
    datatool::SynthSamples stereo(std::min(pcm.size() / 2, static_cast<size_t>(frames) * 2));
    std::memcpy(stereo.data(), pcm.data(), stereo.size() * 2);
    return stereo;
}

// The sequence left to play after the strap: five movies, each its own sound after a moment
// of silence, then the title music, measured over its first seven seconds. Loudness is the
// tools' measure, K-weighted (ITU-R BS.1770).
TEST_F(StartSequenceTest, TheLogoMoviesSoundAsLoudAsTheTitleMusicAfterThem) {
    constexpr int kFrames = 2200;
    constexpr long kSilence = 3200;     // a tenth of a second
    constexpr double kMusicLevel = 2.0; // of 5, the start-up's before a profile's
    constexpr unsigned int kRate = 32000;
    const fs::path capture = s_dir / "start.wav";
    std::string output;
    ASSERT_EQ(
        RunGame("130 hold A\n133 hold none\n", kFrames, " --audio-out " + capture.string(), output),
        0)
        << output;
    const std::vector<effect_capture::Span> sounds =
        effect_capture::Sounds(capture, 0, effect_capture::FrameStart(kFrames), kSilence);
    ASSERT_EQ(sounds.size(), 6u) << "five movies and the title music";
    const datatool::SynthSamples title = CapturedSound(capture, sounds.back());
    const double titleLoudness = datatool::LoudnessLufs(title, 2, kRate);
    for (size_t movie = 0; movie < 5; ++movie) {
        const double loudness =
            datatool::LoudnessLufs(CapturedSound(capture, sounds[movie]), 2, kRate);
        EXPECT_NEAR(loudness, titleLoudness, 2.0)
            << "movie " << movie << " at " << loudness << " LUFS, the title at " << titleLoudness;
    }
    // The music at level / 5 of full volume: a channel volume the voices play in 32 steps,
    // step s at 10 log2(s / 32) dB.
    const double volumeDb = 10.0 * std::log2(std::floor(32.0 * kMusicLevel / 5.0) / 32.0);
    const double cueLoudness =
        datatool::LoudnessLufs(TitleCueOpening(static_cast<long>(title.size() / 2)), 2, kRate);
    EXPECT_NEAR(titleLoudness - cueLoudness, volumeDb, 0.3)
        << "the title at " << titleLoudness << " LUFS, its cue at " << cueLoudness;
}

} // namespace start_sequence
