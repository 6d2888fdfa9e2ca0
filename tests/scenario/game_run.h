// What the scenario suites share: the real game run headless with an input script and host
// options over a flash memory directory, its output collected, its screenshots compared with
// goldens, the save file it leaves read back (a ladder's statuses as digits), and the pointer
// places and clicks of scripts.
#pragma once

#include "png_golden.h"

#include <services/mnsavedata.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace game_run {

namespace fs = std::filesystem;

// The input script of a run from power-on to the world's first screen: A at 130 leaves the
// strap; presses from 290 skip the five movies (the picture before them allows none); the
// title takes its press at 420 and closes on the release.
constexpr const char* kToTheWorld = "130 hold A\n133 hold none\n"
                                    "290 hold A\n292 hold none\n300 hold A\n302 hold none\n"
                                    "310 hold A\n312 hold none\n320 hold A\n322 hold none\n"
                                    "330 hold A\n332 hold none\n"
                                    "420 hold A\n424 hold none\n";

inline std::string StartPresses() {
    return kToTheWorld;
}

struct Shot {
    const char* name;
    int frame;
};

// A place on the 640 x 496 picture, in pixels.
struct Place {
    int x, y;
};

// The centre of a letter's key on the profile screen's keyboard: nine keys a row from A,
// 38 pixels apart.
inline Place KeyboardKey(char letter) {
    const int index = letter - 'A';
    return {156 + 38 * (index % 9), 166 + 38 * (index / 9)};
}

// A pointer place on the 640 x 496 picture, as the script's fractions.
inline std::string At(int x, int y) {
    char event[64];
    std::snprintf(event, sizeof event, "pointer %.6f %.6f", (x + 0.5) / 640.0, (y + 0.5) / 496.0);
    return event;
}

// A press and release of A at a place from frame.
inline std::string Click(int frame, int x, int y) {
    return std::to_string(frame) + " " + At(x, y) + "\n" + std::to_string(frame + 2) + " hold A\n" +
           std::to_string(frame + 4) + " hold none\n";
}

// The first slot of the profile screen, and its keyboard's save button.
constexpr Place kFirstSlot{320, 104}, kProfileSave{320, 367};

// An input script written press by press from the world's first screen on.
struct Script {
    std::string text = StartPresses();
    int frame = 440;
    // A press and release of A at a place; the next press waits frames.
    void Press(Place place, int wait = 10) {
        text += Click(frame, place.x, place.y);
        frame += wait;
    }
    // The first profile made and chosen: slot 0 pressed for the name entry, the name typed on
    // the keyboard and saved, slot 0 pressed again; the main menu follows.
    void MakeFirstProfile(const char* name) {
        Press(kFirstSlot);
        for (; *name != '\0'; ++name) {
            Press(KeyboardKey(*name));
        }
        Press(kProfileSave);
        Press(kFirstSlot, 30);
    }
    // The debug key pressed and released; the frame it went down.
    int DebugKey(int wait) {
        const int down = frame;
        text += std::to_string(frame) + " hold 2\n" + std::to_string(frame + 4) + " hold none\n";
        frame += wait;
        return down;
    }
};

// The host option that writes the screenshot of that frame as dir/<name>.png.
inline std::string ScreenshotOption(const fs::path& dir, const char* name, int frame) {
    return " --screenshot " + std::to_string(frame) + ":" +
           (dir / (std::string(name) + ".png")).string();
}

// The command that runs the game headless for frames over the built disc with the input
// script file and the options, its flash memory in nand; its standard error joins its output.
inline std::string GameCommand(const fs::path& script, const fs::path& nand, int frames,
                               const std::string& options) {
    return std::string(PUZZLES_GAME) + " --headless --frames " + std::to_string(frames) +
           " --disc " + PUZZLES_DISC_DIR + " --nand " + nand.string() + " --input " +
           script.string() + options + " 2>&1";
}

// Appends what a command started with popen prints to output; its exit status.
inline int FinishCommand(FILE* pipe, std::string& output) {
    if (pipe == nullptr) {
        return -1;
    }
    std::array<char, 512> line;
    while (fgets(line.data(), line.size(), pipe) != nullptr) {
        output += line.data();
    }
    return pclose(pipe);
}

// Runs the game for frames with the script and options in dir (flash memory in dir/nand);
// returns the exit status and appends the output to output.
inline int Run(const fs::path& dir, const std::string& script, int frames,
               const std::string& options, std::string& output) {
    fs::create_directories(dir / "nand");
    std::ofstream(dir / "input.txt") << script;
    const std::string command = GameCommand(dir / "input.txt", dir / "nand", frames, options);
    return FinishCommand(popen(command.c_str(), "r"), output);
}

// The same with screenshots of the given frames as dir/<name>.png.
inline int Run(const fs::path& dir, const std::string& script, int frames,
               const std::vector<Shot>& shots, std::string& output) {
    std::string options;
    for (const Shot& shot : shots) {
        options += ScreenshotOption(dir, shot.name, shot.frame);
    }
    return Run(dir, script, frames, options, output);
}

// The save block the game left in dir's flash memory.
inline bool ReadSave(const fs::path& dir, Kelvo_lib::MNSaveData& data) {
    std::ifstream file(dir / "nand/title/puzzles/data/save.dat", std::ios::binary);
    const std::vector<u8> bytes{std::istreambuf_iterator<char>(file), {}};
    return bytes.size() >= Kelvo_lib::MN_SAVE_DATA_SIZE &&
           Kelvo_lib::ReadSaveData(bytes.data(), Kelvo_lib::MN_SAVE_DATA_SIZE, data) == nullptr;
}

// A Tournament ladder's slot statuses as digits, slot 1 first.
inline std::string Statuses(const Kelvo_lib::MNTournamentData& tournament) {
    std::string digits;
    for (const auto& slot : tournament.m_puzzleDataList) {
        digits += static_cast<char>('0' + slot.m_puzzleStatus);
    }
    return digits;
}

// A suite with a directory of its own, removed at its end.
class GameRunTest : public testing::Test {
protected:
    // Runs the game over the suite's flash memory (emptied first).
    static int RunGame(const std::string& script, int frames, const std::string& options,
                       std::string& output) {
        fs::remove_all(s_dir / "nand");
        return game_run::Run(s_dir, script, frames, options, output);
    }

    static std::string Screenshot(const char* name, int frame) {
        return ScreenshotOption(s_dir, name, frame);
    }

    static void SetUpTestSuite() {
        s_dir = fs::temp_directory_path() /
                ("scenario_" + std::to_string(getpid()) + "_" +
                 testing::UnitTest::GetInstance()->current_test_suite()->name());
        fs::create_directories(s_dir);
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

} // namespace game_run

namespace scenario = game_run;
