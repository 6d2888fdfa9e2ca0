// Runs the real game headless on a flash memory directory with an input script, taking
// screenshots at given frames, and reads back the save file it leaves: the helpers of the
// scenario suites that drive menus with the pointer.
#pragma once

#include <shell/mnsavedata.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace game_run {

struct Shot {
    const char* name;
    int frame;
};

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

// The presses that take the game from power-on through its start screens to the front end.
inline std::string StartPresses() {
    return "130 hold A\n133 hold none\n"
           "290 hold A\n292 hold none\n300 hold A\n302 hold none\n"
           "310 hold A\n312 hold none\n320 hold A\n322 hold none\n"
           "330 hold A\n332 hold none\n"
           "420 hold A\n424 hold none\n";
}

// Runs the game for frames with the script in dir (flash memory in dir/nand, screenshots
// as dir/<name>.png); returns the exit status and appends the output to log.
inline int Run(const std::filesystem::path& dir, const std::string& script, int frames,
               const std::vector<Shot>& shots, std::string& log) {
    std::filesystem::create_directories(dir / "nand");
    std::ofstream(dir / "input.txt") << script;
    std::string command = std::string(PUZZLES_GAME) + " --headless --frames " +
                          std::to_string(frames) + " --disc " + PUZZLES_DISC_DIR + " --nand " +
                          (dir / "nand").string() + " --input " + (dir / "input.txt").string();
    for (const Shot& shot : shots) {
        command += " --screenshot " + std::to_string(shot.frame) + ":" +
                   (dir / (std::string(shot.name) + ".png")).string();
    }
    command += " 2>&1";
    FILE* const pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    std::array<char, 512> line;
    while (fgets(line.data(), line.size(), pipe) != nullptr) {
        log += line.data();
    }
    return pclose(pipe);
}

// The save block the game left in dir's flash memory.
inline bool ReadSave(const std::filesystem::path& dir, Kelvo_lib::MNSaveData& data) {
    std::ifstream file(dir / "nand/title/puzzles/data/save.dat", std::ios::binary);
    const std::vector<u8> bytes{std::istreambuf_iterator<char>(file), {}};
    return bytes.size() >= Kelvo_lib::MN_SAVE_DATA_SIZE &&
           Kelvo_lib::ReadSaveData(bytes.data(), Kelvo_lib::MN_SAVE_DATA_SIZE, data) == nullptr;
}

} // namespace game_run
