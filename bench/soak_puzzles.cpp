// A soak of every puzzle, headless over the build's disc image: as the debug profile in
// Simply Puzzle, the sudoku, fitword, crossword and wordsearch in turn, each played with the
// pointer sweeping and clicking over it, solved by the debug key (the anagram a hidden word
// brings too) and left for the next. Every 1,000 frames it prints the process's resident
// memory, the game's tracked heap and the C library's heap, in KiB.
// Usage: soak_puzzles [FRAMES] (default 100,000).
#include "support/simply_puzzle_steps.h"

#include <kelvo/platform/kmemory.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>
#include <string>
#include <unistd.h>

namespace {

using namespace Kelvo_lib;
using bench::ScreenGame;

constexpr int kReportEvery = 1000;
constexpr int kPlayFrames = 600;
constexpr int kPuzzleKinds[] = {PUZZLE_FLAG_SUDOKU, PUZZLE_FLAG_FITWORD, PUZZLE_FLAG_CROSSWORD,
                                PUZZLE_FLAG_WORDSEARCH};

long ResidentKiB() {
    long pages = 0;
    long resident = 0;
    FILE* const statm = std::fopen("/proc/self/statm", "r");
    if (statm != nullptr) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) {
            resident = 0;
        }
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Counts the frames and prints the figures every kReportEvery of them.
class SoakGame : public ScreenGame {
public:
    explicit SoakGame(int frameLimit)
        : ScreenGame("soak_puzzles_nand_" + std::to_string(getpid())), m_limit(frameLimit) {}

    bool IsOver() const { return m_frames >= m_limit; }

    void Step(int count) {
        for (int i = 0; i < count && !IsOver(); ++i) {
            SweepFrame();
            if (++m_frames % kReportEvery == 0) {
                Report();
            }
        }
    }

private:
    void Report() const {
        std::printf("frame %7d  resident %7ld  tracked heap %7d  C heap %7zu\n", m_frames,
                    ResidentKiB(), kPlatform_GetMemStats().actualSize / 1024,
                    mallinfo2().uordblks / 1024);
        std::fflush(stdout);
    }

    const int m_limit;
    int m_frames = 0;
};

// One puzzle of the kind played, solved by the debug key (and its anagram, when one follows)
// and left, back on the menu.
void PlayAndSolve(SoakGame& game, int typeFlag) {
    MNSimplyPuzzle& mode = bench::SimplyPuzzle(game);
    if (!bench::StartPuzzle(game, typeFlag)) {
        std::fprintf(stderr, "soak: puzzle %d did not start\n", typeFlag);
    }
    for (int played = 0; played < kPlayFrames && !game.IsOver(); played += 50) {
        game.Step(48);
        HostInputSetButton(0, WPAD_BUTTON_A, true);
        game.Step(1);
        HostInputSetButton(0, WPAD_BUTTON_A, false);
        game.Step(1);
    }
    for (int solve = 0; solve < 2 && mode.GetPuzzleScreen() != nullptr; ++solve) {
        game.Press(WPAD_BUTTON_2, 80);
        game.Click(bench::kContinueX, bench::kContinueY, 10);
    }
    if (mode.GetPuzzleScreen() != nullptr) {
        mode.AbandonPuzzle();
    }
    game.Step(60);
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 100000;
    SoakGame game(frames);
    if (!bench::ReachSimplyPuzzleMenu(game)) {
        std::fprintf(stderr, "soak: Simply Puzzle's menu was not reached\n");
        return 1;
    }
    std::strcpy(MNProfileManager::GetActiveProfile()->GetSaveData()->name, MNProfile::kDebugName);
    for (int turn = 0; !game.IsOver(); ++turn) {
        PlayAndSolve(game, kPuzzleKinds[turn % 4]);
    }
    return 0;
}
