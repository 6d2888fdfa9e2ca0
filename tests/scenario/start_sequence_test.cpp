// The game from power-on, headless, driven by an input script: the strap screen until A,
// the splash picture, the logo movies skipped by presses, the title screen until an A
// release, then the world's first screen. One run; its pictures are compared with goldens.
#include "png_golden.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

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

// A at 130 leaves the strap; presses from 290 skip the five movies (the picture before
// them allows none); the title takes its press at 420 and closes on the release.
constexpr const char* kScript = "130 hold A\n133 hold none\n"
                                "290 hold A\n292 hold none\n300 hold A\n302 hold none\n"
                                "310 hold A\n312 hold none\n320 hold A\n322 hold none\n"
                                "330 hold A\n332 hold none\n"
                                "420 hold A\n424 hold none\n";

class StartSequenceTest : public testing::Test {
protected:
    // Runs the game with the script and options; returns its exit status and output.
    static int RunGame(const char* script, int frames, const std::string& options,
                       std::string& output) {
        std::ofstream(s_dir / "input.txt") << script;
        const std::string command = std::string(PUZZLES_GAME) + " --headless --frames " +
                                    std::to_string(frames) + " --disc " + PUZZLES_DISC_DIR +
                                    " --nand " + (s_dir / "nand").string() + " --input " +
                                    (s_dir / "input.txt").string() + options + " 2>&1";
        FILE* const pipe = popen(command.c_str(), "r");
        if (pipe == nullptr) {
            return -1;
        }
        std::array<char, 512> line;
        while (fgets(line.data(), line.size(), pipe) != nullptr) {
            output += line.data();
        }
        return pclose(pipe);
    }

    static void SetUpTestSuite() {
        s_dir = fs::temp_directory_path() / ("start_sequence_" + std::to_string(getpid()));
        fs::create_directories(s_dir / "nand");
    }

    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    static testing::AssertionResult ShotMatches(const char* name) {
        png_golden::Image image;
        if (!png_golden::ReadPng((s_dir / (std::string(name) + ".png")).string(), image)) {
            return testing::AssertionFailure() << "no screenshot " << name;
        }
        return png_golden::MatchesGolden(name, image, 6);
    }

    static inline fs::path s_dir;
};

// One run serves every picture.
TEST_F(StartSequenceTest, StrapSplashTitleAndWorldShowInTurnAndTheRunEndsInOrder) {
    std::string shots;
    for (const Shot& shot : kShots) {
        shots += " --screenshot " + std::to_string(shot.frame) + ":" +
                 (s_dir / (std::string(shot.name) + ".png")).string();
    }
    std::string output;
    EXPECT_EQ(RunGame(kScript, kFrames, shots, output), 0) << output;
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

TEST_F(StartSequenceTest, ResetOrPowerEndsTheRunInOrderFromTheStrapOrTheSplash) {
    struct Case {
        const char* script;
        const char* ending;
    };
    const Case cases[] = {
        {"50 power\n", "host: 51 frames"},
        {"50 reset\n", "host: 52 frames"}, // the main loop's first frame acts on it
        {"130 hold A\n133 hold none\n250 reset\n", "host: 252 frames"},
    };
    for (const Case& c : cases) {
        std::string output;
        EXPECT_EQ(RunGame(c.script, 400, "", output), 0) << output;
        EXPECT_NE(output.find(c.ending), std::string::npos) << c.script << output;
    }
}

} // namespace
