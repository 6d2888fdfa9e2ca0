// One frame of the whole game, headless, while a beginner crossword and a beginner
// wordsearch are played in Simply Puzzle (past their intros, the pointer sweeping over the
// grid); against a frame of the Simply Puzzle menu, the screen the player comes from. The
// disc image and its puzzle bank are the build's own.
#include "support/comparison_main.h"
#include "support/headless_game.h"

#include <modes/mnsimplypuzzle.h>
#include <modes/mnsimplypuzzlemenu.h>
#include <puzzles/mnpuzzleui.h>
#include <puzzles/puzzletypes.h>
#include <shell/mnprofilemanager.h>

#include <console/host_input.h>
#include <console/wpad.h>

namespace {

using namespace Kelvo_lib;

// The game on the Simply Puzzle menu of a fresh profile, the pointer on the picture.
class SimplyPuzzleGame : public bench::HeadlessGame {
public:
    SimplyPuzzleGame() : HeadlessGame("bench_simply_puzzle_frame_nand") {
        World().BeginPlay();
        MNProfileManager::SetActiveProfile(0);
        World().SetActiveProfile(0);
        World().SetCurrentSubGame(SUBGAME_SIMPLYPUZZLE);
        Frames(2);
    }

    // A beginner puzzle of the kind started and its intro's continue button pressed.
    bool Play(int typeFlag) {
        Mode().GetMenu()->PlaySignal(typeFlag, PUZZLE_DIFFICULTY_BEGINNER);
        Frames(2);
        PointAt(320, 270);
        Frames(1);
        HostInputSetButton(0, WPAD_BUTTON_A, true);
        Frames(2);
        HostInputSetButton(0, WPAD_BUTTON_A, false);
        Frames(2);
        const MNPuzzleUI* const screen = Mode().GetPuzzleScreen();
        return screen != nullptr && !screen->IsContinueScreenOpen();
    }

    // A frame with the pointer one step further along its sweep over the left of the picture.
    void SweepFrame() {
        m_step = (m_step + 1) % 64;
        PointAt(60 + 5 * m_step, 60 + 5 * (m_step % 16) * 4);
        Frame();
    }

private:
    MNSimplyPuzzle& Mode() {
        return *static_cast<MNSimplyPuzzle*>(World().GetSubGame(SUBGAME_SIMPLYPUZZLE));
    }
    static void PointAt(int x, int y) {
        HostInputSetPointer(0, (x + 0.5f) / 640.0f, (y + 0.5f) / 496.0f);
    }
    void Frames(int count) {
        for (int i = 0; i < count; ++i) {
            Frame();
        }
    }

    int m_step = 0;
};

void RunFrames(benchmark::State& state, int typeFlag) {
    SimplyPuzzleGame game;
    if (typeFlag != 0 && !game.Play(typeFlag)) {
        state.SkipWithError("the puzzle did not start");
        return;
    }
    for (auto _ : state) {
        game.SweepFrame();
    }
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_CrosswordFrame(benchmark::State& state) {
    RunFrames(state, PUZZLE_FLAG_CROSSWORD);
}
BENCHMARK(BM_CrosswordFrame)->Unit(benchmark::kMillisecond);

void BM_WordsearchFrame(benchmark::State& state) {
    RunFrames(state, PUZZLE_FLAG_WORDSEARCH);
}
BENCHMARK(BM_WordsearchFrame)->Unit(benchmark::kMillisecond);

void BM_SimplyPuzzleMenuFrame(benchmark::State& state) {
    RunFrames(state, 0);
}
BENCHMARK(BM_SimplyPuzzleMenuFrame)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    return bench::RunWithComparisons(argc, argv,
                                     {{"crossword per frame", "BM_CrosswordFrame", "crossword",
                                       "BM_SimplyPuzzleMenuFrame", "menu"},
                                      {"wordsearch per frame", "BM_WordsearchFrame", "wordsearch",
                                       "BM_SimplyPuzzleMenuFrame", "menu"}});
}
