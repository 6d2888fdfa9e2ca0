// The front end in the real game, headless on a fresh flash memory, driven by one input
// script: through the start to the profiles (a first profile made and chosen), the main
// menu's options' volumes turned down, help read (a sudoku page), back to the main menu,
// and a mode chosen. Checked through the pictures and the save file the run leaves.
#include "game_run.h"
#include "png_golden.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace frontend_scenario {

namespace fs = std::filesystem;
using namespace Kelvo_lib;
using game_run::Click;
using game_run::Shot;

constexpr int kFrames = 700;

// A first profile "A" in slot 0, chosen. Then menu rows are 49.6 pixels apart from 114
// down; volume selectors have their left arrow at 360 and their right arrow at 480; back
// and help sit in the lower corners.
std::string Script() {
    game_run::Script start;
    start.MakeFirstProfile("A"); // the main menu from frame 500
    std::string script = start.text;
    script += Click(500, 320, 362); // Options
    script += Click(510, 360, 164); // music down
    script += Click(520, 360, 164); // music down
    script += Click(530, 360, 114); // sound effects down
    script += Click(540, 30, 466);  // back to the main list: saved
    script += Click(550, 610, 466); // help
    script += Click(560, 320, 114); // Puzzles
    script += Click(570, 320, 263); // Sudoku
    script += Click(580, 480, 164); // How to Play, page 2
    script += Click(600, 30, 466);  // back to the puzzles
    script += Click(610, 30, 466);  // back to the help lists
    script += Click(620, 30, 466);  // help closes
    script += Click(640, 320, 164); // Quick Blast
    return script;
}

const std::vector<Shot> kShots = {
    {"frontend_run_options", 538},
    {"frontend_run_help", 595},
    {"frontend_run_main", 635},
    {"frontend_run_mode", 680},
};

class FrontEndScenarioTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = fs::temp_directory_path() / ("frontend_run_" + std::to_string(getpid()));
        s_status = game_run::Run(s_dir, Script(), kFrames, kShots, s_output);
    }

    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    static inline fs::path s_dir;
    static inline std::string s_output;
    static inline int s_status = -1;
};

// One run serves every check: each test of this suite would start the game again.
TEST_F(FrontEndScenarioTest, OptionsHelpAndAModeFromAFreshStart) {
    EXPECT_EQ(s_status, 0) << s_output;
    for (const Shot& shot : kShots) {
        png_golden::Image image;
        ASSERT_TRUE(
            png_golden::ReadPng((s_dir / (std::string(shot.name) + ".png")).string(), image))
            << shot.name;
        EXPECT_TRUE(png_golden::MatchesGolden(shot.name, image, 6));
    }
    MNSaveData saved;
    ASSERT_TRUE(game_run::ReadSave(s_dir, saved));
    EXPECT_EQ(saved.language, LANGUAGE_UK_ENGLISH);
    EXPECT_EQ(saved.activeProfile, 0);
    EXPECT_EQ(saved.profiles[0].musicVolume, 1);
    EXPECT_EQ(saved.profiles[0].soundVolume, 4);
}

} // namespace frontend_scenario
