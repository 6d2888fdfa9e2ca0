// The disc in the real game, headless: a folder that does not hold the disc, or holds only
// part of it, ends the program with a line saying what is missing; a refused puzzle is said on
// standard error once; a drive without its disc while the game waits for a read (a movie frame
// on the movie's reader thread, a puzzle's sprite bank on the main thread) shows the disc
// dialog until the drive reads again; a fatal drive error on reads from power-on to a puzzle's
// start holds the game only for its polls, and one that outlasts the run shows its dialog
// until the frame limit or a stop signal ends the run.
#include "game_run.h"
#include "png_golden.h"

#include <algorithm>
#include <csignal>
#include <sys/wait.h>
#include <tuple>
#include <utility>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DISC_SCENARIO_SANITIZED_BUILD 1
#endif
#endif

namespace disc_scenario {

namespace fs = std::filesystem;
using game_run::Place;

// Places on the main menu and the Simply Puzzle menu.
constexpr Place kSimplyPuzzle{320, 212}, kCrossword{192, 218}, kPlay{192, 416};

// From power-on to a crossword's intro in Simply Puzzle over a new profile "P": its screen
// reads its sprite bank (the run's 180th disc read) at frame 586, 30 frames after the world's
// disc check of frame 556 (the 179th).
std::string ToACrossword() {
    game_run::Script script;
    script.MakeFirstProfile("P");
    script.Press(kSimplyPuzzle, 30);
    script.Press(kCrossword, 52);
    script.Press(kPlay);
    return script.text;
}
constexpr int kCrosswordFrames = 660;

// A leaves the strap screen; the first logo movie opens at frame 257 and plays unskipped.
constexpr const char* kToTheFirstMovie = "130 hold A\n133 hold none\n";

class DiscScenarioTest : public scenario::GameRunTest {
protected:
    // The inside of the disc dialog's box, which hides whatever the dialog is drawn over.
    static std::vector<u32> DialogBox(const png_golden::Image& picture) {
        std::vector<u32> box;
        for (u32 y = 232; y < 294 && y < picture.height; ++y) {
            const auto row = picture.rgb.begin() + y * picture.width;
            box.insert(box.end(), row + 90, row + std::min(550u, picture.width));
        }
        return box;
    }

    static bool ShowsTheDiscDialog(const char* shot) {
        png_golden::Image golden;
        png_golden::Image picture;
        const fs::path goldens = fs::path(__FILE__).parent_path() / "golden";
        return png_golden::ReadPng((goldens / "dialog_disc.png").string(), golden) &&
               png_golden::ReadPng((s_dir / (std::string(shot) + ".png")).string(), picture) &&
               DialogBox(picture) == DialogBox(golden);
    }
};

// Links to the built disc's files: all but those named, or those named alone.
fs::path PartOfTheDisc(const fs::path& folder, const std::vector<std::string>& named, bool only) {
    fs::remove_all(folder);
    for (const auto& entry : fs::recursive_directory_iterator(PUZZLES_DISC_DIR)) {
        const std::string path = fs::relative(entry.path(), PUZZLES_DISC_DIR).string();
        if (entry.is_regular_file() && (std::count(named.begin(), named.end(), path) > 0) == only) {
            fs::create_directories((folder / path).parent_path());
            fs::create_symlink(entry.path(), folder / path);
        }
    }
    return folder;
}

// Part of the disc is refused before the game starts, in one line naming the first file missing.
TEST_F(DiscScenarioTest, PartOfTheDiscEndsTheProgramNamingTheFirstFileMissing) {
    const std::tuple<std::string, bool, std::string> cases[] = {
        {"wii/wii_font_30.KSB", true, "wii/wii_font_20.KSB"},
        {"wii/uk_english.txz", false, "wii/uk_english.txz"},
        {"wii/fe.KSB", false, "wii/fe.KSB"},
        {"wii/puz_uken.kmn", false, "wii/puz_uken.kmn"},
    };
    for (const auto& [named, only, missing] : cases) {
        const fs::path folder = PartOfTheDisc(s_dir / "part", {named}, only);
        std::string output;
        const int status = RunGame("", 300, " --disc " + folder.string(), output);
        EXPECT_EQ(WEXITSTATUS(status), 2) << output;
        EXPECT_EQ(output, "disc: the folder '" + folder.string() +
                              "' does not hold the game's disc (it has no " + missing + ")\n");
    }
}

// Puzzle art that is not a sprite bank: each crossword chosen is refused, said once.
TEST_F(DiscScenarioTest, ARefusedPuzzleIsReportedOnce) {
    const fs::path folder = PartOfTheDisc(s_dir / "junk_art", {"wii/puzzles.KSB"}, false);
    std::ofstream(folder / "wii/puzzles.KSB") << "not a sprite bank";
    const std::string twice = ToACrossword() + game_run::Click(620, kPlay.x, kPlay.y);
    std::string output;
    EXPECT_EQ(RunGame(twice, kCrosswordFrames, " --disc " + folder.string(), output), 0);
    EXPECT_EQ(output,
              "ERROR: the crossword screen's art is not on the disc; the puzzle is refused\n"
              "host: 660 frames\n");
}

TEST_F(DiscScenarioTest, FolderWithoutTheDiscEndsTheProgramNamingTheFileAndTheFolder) {
    const fs::path folder = s_dir / "not_the_disc";
    fs::create_directories(folder);
    std::string output;
    const int status = RunGame(kToTheFirstMovie, 300, " --disc " + folder.string(), output);
    ASSERT_TRUE(WIFEXITED(status)) << output;
    EXPECT_EQ(WEXITSTATUS(status), 2) << output;
    const std::string said =
        "disc: the folder '" + folder.string() + "' does not hold the game's disc (it has no wii/";
    EXPECT_EQ(output.rfind(said, 0), 0u) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << "one line: " << output;
}

// No disc for 60 polls of the drive, once a frame in the main loop: the dialog shows over the
// frozen game whichever thread waits for the read, and goes once the drive reads again.
TEST_F(DiscScenarioTest, DiscMissingWhileTheGameWaitsForAReadShowsTheDiscDialog) {
    const struct {
        const char* name;
        std::string script;
        int frames;
        const char* fault;
        int shown; // a frame in the dialog
        int gone;  // a frame after it
    } cases[] = {
        {"movie_frame", kToTheFirstMovie, 340, "dvd-read:no-disc@70x60", 280, 330},
        {"sprite_bank", ToACrossword(), kCrosswordFrames, "dvd-read:no-disc@180x60", 600, 650},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string shown = std::string(c.name) + "_dialog";
        const std::string gone = std::string(c.name) + "_after";
        std::string output;
        EXPECT_EQ(RunGame(c.script, c.frames,
                          std::string(" --fault ") + c.fault + Screenshot(shown.c_str(), c.shown) +
                              Screenshot(gone.c_str(), c.gone),
                          output),
                  0)
            << output;
        EXPECT_NE(output.find("host: " + std::to_string(c.frames) + " frames"), std::string::npos)
            << output;
        EXPECT_TRUE(ShowsTheDiscDialog(shown.c_str()));
        EXPECT_FALSE(ShowsTheDiscDialog(gone.c_str()));
    }
}

// The reads a fatal error meets: every 11th up to the crossword's, among them the world's disc
// checks (the 58th and 179th reads) that the first movie's header and the crossword's sprite
// bank wait behind; the sanitizer build, whose runs are slow, takes those two alone.
std::vector<int> FatalReads() {
#ifdef DISC_SCENARIO_SANITIZED_BUILD
    return {58, 179};
#else
    std::vector<int> reads;
    for (int read = 3; read <= 180; read += 11) {
        reads.push_back(read);
    }
    return reads;
#endif
}

// A fatal drive error for 60 polls on each of those reads: each run ends with its frames. Two
// run at a time, each stopped should it hang.
TEST_F(DiscScenarioTest, FatalDriveErrorOnAnyReadHoldsTheGameOnlyForItsPolls) {
    const fs::path script = s_dir / "crossword.txt";
    std::ofstream(script) << ToACrossword();
    const std::vector<int> reads = FatalReads();
    constexpr size_t kAtOnce = 2;
    for (size_t first = 0; first < reads.size(); first += kAtOnce) {
        std::vector<std::pair<int, FILE*>> runs;
        for (size_t i = first; i < std::min(first + kAtOnce, reads.size()); ++i) {
            const fs::path nand = s_dir / ("nand_" + std::to_string(reads[i]));
            fs::create_directories(nand);
            const std::string fault = " --fault dvd-read:fatal@" + std::to_string(reads[i]) + "x60";
            const std::string command =
                "timeout -k 5 60 " + game_run::GameCommand(script, nand, kCrosswordFrames, fault);
            runs.emplace_back(reads[i], popen(command.c_str(), "r"));
        }
        for (const auto& [read, pipe] : runs) {
            std::string output;
            EXPECT_EQ(game_run::FinishCommand(pipe, output), 0) << "fatal@" << read << output;
            EXPECT_NE(output.find("host: " + std::to_string(kCrosswordFrames) + " frames"),
                      std::string::npos)
                << "fatal@" << read << output;
        }
    }
}

// A fatal drive error outlasting any run, met by the first sound effect's read after the strap
// screen (the 5th read, frame 155): its dialog shows, a frame a retrace, until the run ends at
// its frame limit or, long before that bound, on the first SIGTERM once the dialog shows.
TEST_F(DiscScenarioTest, LongFatalErrorAtAStartUpLoadShowsItsDialogUntilTheRunEnds) {
    const fs::path shot = s_dir / "dialog_disc_fatal.png", pid = s_dir / "pid";
    std::ofstream(s_dir / "input.txt") << game_run::StartPresses();
    for (const bool bySignal : {false, true}) {
        fs::remove(shot);
        const std::string options =
            " --fault dvd-read:fatal@5x1000000" + Screenshot("dialog_disc_fatal", 250);
        const std::string command = game_run::GameCommand(s_dir / "input.txt", s_dir / "nand",
                                                          bySignal ? 100000 : 300, options);
        FILE* pipe = popen(("echo $$ >" + pid.string() + "; exec " + command).c_str(), "r");
        if (bySignal) {
            for (int wait = 0; wait < 6000 && !fs::exists(shot); ++wait) {
                usleep(10000);
            }
            pid_t game = 0;
            std::ifstream(pid) >> game;
            ASSERT_GT(game, 0);
            kill(game, SIGTERM);
        }
        std::string output;
        EXPECT_EQ(game_run::FinishCommand(pipe, output), 0) << output;
        EXPECT_TRUE(ShotMatches("dialog_disc_fatal"));
        ASSERT_NE(output.rfind("host: "), std::string::npos) << output;
        const unsigned long ran = std::stoul(output.substr(output.rfind("host: ") + 6));
        EXPECT_TRUE(bySignal ? ran < 100000 && output.find("host: stopping") != std::string::npos
                             : ran == 300)
            << output;
    }
}

} // namespace disc_scenario
