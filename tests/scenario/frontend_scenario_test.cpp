// The front end in the real game, headless on a fresh flash memory, driven by one input
// script: through the start to the main menu, the options' volumes turned down, help read
// (a sudoku page), back to the main menu, and a mode chosen. Checked through the pictures
// and the save file the run leaves.
#include "png_golden.h"

#include <shell/mnsavedata.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace Kelvo_lib;

constexpr int kFrames = 640;

// Pointer places on the 640 x 496 picture, as fractions.
std::string At(int x, int y) {
    char event[64];
    std::snprintf(event, sizeof event, "pointer %.6f %.6f", (x + 0.5) / 640.0, (y + 0.5) / 496.0);
    return event;
}

// A press and release of A at a place from frame.
std::string Click(int frame, int x, int y) {
    return std::to_string(frame) + " " + At(x, y) + "\n" + std::to_string(frame + 2) + " hold A\n" +
           std::to_string(frame + 4) + " hold none\n";
}

// Rows of a menu list are 49.6 pixels apart from 114 down; volume selectors have their
// left arrow at 360 and their right arrow at 480; back and help sit in the lower corners.
std::string Script() {
    std::string script = "130 hold A\n133 hold none\n"
                         "290 hold A\n292 hold none\n300 hold A\n302 hold none\n"
                         "310 hold A\n312 hold none\n320 hold A\n322 hold none\n"
                         "330 hold A\n332 hold none\n"
                         "420 hold A\n424 hold none\n";
    script += Click(440, 320, 362); // Options
    script += Click(450, 360, 164); // music down
    script += Click(460, 360, 164); // music down
    script += Click(470, 360, 114); // sound effects down
    script += Click(480, 30, 466);  // back to the main list: saved
    script += Click(490, 610, 466); // help
    script += Click(500, 320, 114); // Puzzles
    script += Click(510, 320, 263); // Sudoku
    script += Click(520, 480, 164); // How to Play, page 2
    script += Click(540, 30, 466);  // back to the puzzles
    script += Click(550, 30, 466);  // back to the help lists
    script += Click(560, 30, 466);  // help closes
    script += Click(580, 320, 164); // Quick Blast
    return script;
}

struct Shot {
    const char* name;
    int frame;
};
constexpr Shot kShots[] = {
    {"frontend_run_options", 478},
    {"frontend_run_help", 535},
    {"frontend_run_main", 575},
    {"frontend_run_mode", 620},
};

class FrontEndScenarioTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_dir = fs::temp_directory_path() / ("frontend_run_" + std::to_string(getpid()));
        fs::create_directories(s_dir / "nand");
        std::ofstream(s_dir / "input.txt") << Script();
        std::string command = std::string(PUZZLES_GAME) + " --headless --frames " +
                              std::to_string(kFrames) + " --disc " + PUZZLES_DISC_DIR + " --nand " +
                              (s_dir / "nand").string() + " --input " +
                              (s_dir / "input.txt").string();
        for (const Shot& shot : kShots) {
            command += " --screenshot " + std::to_string(shot.frame) + ":" +
                       (s_dir / (std::string(shot.name) + ".png")).string();
        }
        command += " 2>&1";
        FILE* const pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::array<char, 512> line;
        while (fgets(line.data(), line.size(), pipe) != nullptr) {
            s_output += line.data();
        }
        s_status = pclose(pipe);
    }

    static void TearDownTestSuite() { fs::remove_all(s_dir); }

    static bool ReadSave(MNSaveData& data) {
        std::ifstream file(s_dir / "nand/title/puzzles/data/save.dat", std::ios::binary);
        const std::vector<u8> bytes{std::istreambuf_iterator<char>(file), {}};
        return bytes.size() >= MN_SAVE_DATA_SIZE &&
               ReadSaveData(bytes.data(), MN_SAVE_DATA_SIZE, data) == nullptr;
    }

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
    ASSERT_TRUE(ReadSave(saved));
    EXPECT_EQ(saved.language, LANGUAGE_UK_ENGLISH);
    EXPECT_EQ(saved.activeProfile, 0);
    EXPECT_EQ(saved.profiles[0].musicVolume, 1);
    EXPECT_EQ(saved.profiles[0].soundVolume, 4);
}

} // namespace
