// The game from power-on, headless, driven by an input script: the strap screen until A,
// the splash picture, the logo movies skipped by presses, the title screen until an A
// release, then the world's first screen. One run; its pictures are compared with goldens.
#include "game_run.h"

#include <set>

namespace start_sequence {

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

} // namespace start_sequence
