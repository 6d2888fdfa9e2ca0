// Head to Head in the real game, headless, by input script only. Two profiles are made (the
// debug profile, which plays, and ANNA) and the music turned down; ANNA is player 1 and the
// guest player 2. A Sprint with 3 lives over sudoku and crossword: a right digit hands the
// turn over behind the next player's screen, which hides the puzzle; solved grids go on
// sudoku, crossword, sudoku; ANNA's third mistake ends it with the guest the winner. Then a
// Marathon of 2:00: a mistake at 12.7 s takes 30 s off, leaving 1:18, and three more run the
// clock out.
// Checked through pictures, the captured sound (the time-up sound once) and the save file
// left exactly as the front end wrote it. The puzzles drawn follow from the frame of the
// first draw: the front end's presses are timed to keep it.
#include "effect_capture.h"
#include "game_run.h"
#include "png_golden.h"

#include <puzzles/sudoku/mnsudokuwidget.h>
#include <services/mnsound.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

namespace head_to_head_scenario {

namespace fs = std::filesystem;
using namespace Kelvo_lib;
using game_run::Place;

// The profile screen, its keyboard and the main menu; the Head to Head profile screen, its
// menu (variant choice, set-up, a turn's Continue); a puzzle's intro.
constexpr Place kSlot0{320, 104}, kSlot1{320, 154}, kSave{320, 367}, kOptions{320, 362},
    kMusicDown{360, 164}, kBack{30, 466}, kHeadToHead{320, 312}, kPlayerSlot1{320, 303},
    kGuest{320, 451}, kSprint{100, 184}, kMarathon{100, 347}, kCrossword{104, 243},
    kSudoku{104, 293}, kDone{192, 367}, kContinue{320, 432}, kIntroContinue{320, 270};

// A 9 x 9 sudoku's cell (row, column) and the pad's digit, where the sudoku puts them.
Place Cell(int row, int column) {
    const float size = MNSudokuWidget::K_GRID_SIZE / 9.0f;
    return {static_cast<int>(MNSudokuWidget::K_GRID_X + size * (column + 0.5f)),
            static_cast<int>(MNSudokuWidget::K_GRID_Y + size * (row + 0.5f))};
}
Place Pad(int digit) {
    const float inKey = 0.4f * MNSudokuWidget::K_PAD_STEP;
    return {static_cast<int>(MNSudokuWidget::K_PAD_X +
                             MNSudokuWidget::K_PAD_STEP * ((digit - 1) % 3) + inKey),
            static_cast<int>(MNSudokuWidget::K_PAD_Y +
                             MNSudokuWidget::K_PAD_STEP * ((digit - 1) / 3) + inKey)};
}

// An entry on one of the run's sudokus: the cell and a digit for it.
struct Entry {
    int row, column, digit;
};
// The first sudoku drawn, then the third (the second follows the crossword).
constexpr Entry kFirstRight{0, 0, 4}, kFirstRightAgain{0, 1, 2}, kFirstWrong{0, 2, 9};
constexpr Entry kSecondWrong{0, 0, 9}, kSecondRight{0, 1, 8};
constexpr Entry kMarathonWrong{0, 0, 3};

struct Script : game_run::Script {
    // Letters five frames apart: what turning the music down takes is saved here, so that
    // the first puzzle is drawn on the frame it always was.
    void Type(const char* name) {
        for (const char* letter = name; *letter != '\0'; ++letter) {
            Press(game_run::KeyboardKey(*letter), 5);
        }
        Press(kSave);
    }
    void Digit(const Entry& entry) {
        Press(Cell(entry.row, entry.column));
        Press(Pad(entry.digit), 20);
    }
    // A game's first puzzle started from its set-up and its intro closed.
    void Start(Place variant, const std::vector<Place>& types) {
        Press(variant, 20);
        for (Place type : types) {
            Press(type);
        }
        Press(kDone, 70);
        Press(kIntroContinue, 20);
    }
    // The next player's screen over a new puzzle, then its intro.
    void ContinueToNextPuzzle() {
        Press(kContinue, 60);
        Press(kIntroContinue, 20);
    }
};

// The debug profile and ANNA made, the debug profile chosen and the music turned down to
// silence: the main menu.
Script FrontEnd() {
    Script script;
    script.Press(kSlot0);
    script.Type("ZAVIVIRI");
    script.Press(kSlot1);
    script.Press(kSlot1);
    script.Type("ANNA");
    script.Press(kSlot0);
    script.Press(kSlot0, 30);
    script.Press(kOptions);
    for (int i = 0; i < 3; ++i) {
        script.Press(kMusicDown);
    }
    script.Press(kBack, 20);
    return script;
}

struct GameRun {
    std::string script;
    int turnShot, sprintResultsShot, penaltyScreenShot, penaltyShot, timeUp, marathonResultsShot,
        last;
};

GameRun HeadToHead() {
    Script script = FrontEnd();
    GameRun run;
    script.Press(kHeadToHead, 30);
    script.Press(kPlayerSlot1);
    script.Press(kPlayerSlot1);
    script.Press(kGuest);
    script.Press(kGuest, 20);

    // Sprint, 3 lives: the first sudoku.
    script.Start(kSprint, {kCrossword, kSudoku});
    script.Digit(kFirstRight); // ANNA: the guest's turn
    run.turnShot = script.frame;
    script.Press(kContinue);
    script.Digit(kFirstRightAgain); // the guest: ANNA's turn
    script.Press(kContinue);
    script.Digit(kFirstWrong); // ANNA 2 lives
    script.Press(kContinue);
    script.DebugKey(60); // the guest solves it: the crossword, ANNA's turn
    script.ContinueToNextPuzzle();
    script.DebugKey(60); // ANNA solves it: the second sudoku, the guest's turn
    script.ContinueToNextPuzzle();
    script.Digit(kSecondWrong); // the guest 2 lives
    script.Press(kContinue);
    script.Digit(kSecondWrong); // ANNA 1 life
    script.Press(kContinue);
    script.Digit(kSecondRight); // the guest: ANNA's turn
    script.Press(kContinue);
    script.Digit(kSecondWrong); // ANNA none: game over
    script.Press(kContinue, 20);
    run.sprintResultsShot = script.frame;
    script.Press(kContinue, 20); // the variant choice

    // Marathon, 2:00: a mistake at 12.7 s of ANNA's clock.
    script.Start(kMarathon, {kSudoku});
    script.frame += 635 - 30; // the two clicks of the entry take 30 of them
    script.Digit(kMarathonWrong);
    run.penaltyScreenShot = script.frame - 1; // before the pointer moves onto Continue
    script.Press(kContinue, 4);
    run.penaltyShot = script.frame; // the release: 1:18 left before the clock goes on
    script.frame += 16;
    for (int i = 0; i < 3; ++i) { // 72 s, 102 s, then 132 s: the time is up
        script.Digit(kMarathonWrong);
        run.timeUp = script.frame + 4;
        script.Press(kContinue);
    }
    // The pointer leaves the button, so the game over's Continue is not lit under it.
    script.text += std::to_string(run.timeUp + 1) + " " + game_run::At(600, 40) + "\n";
    script.frame += 40; // the time-up sound has ended
    script.Press(kContinue, 20);
    run.marathonResultsShot = script.frame;
    run.last = script.frame + 5;
    run.script = script.text;
    return run;
}

std::vector<char> SaveBytes(const fs::path& dir) {
    std::ifstream file(dir / "nand/title/puzzles/data/save.dat", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// What the press sound followed by the time-up sound about a frame later leaves unexplained
// of the capture from an onset.
double PressThenTimeUp(const fs::path& capture, long onset) {
    double unexplained = 1.0;
    for (long delay = effect_capture::kSamplesPerFrame - 128;
         delay <= effect_capture::kSamplesPerFrame + 128; delay += 32) {
        unexplained = std::min(unexplained,
                               effect_capture::Unexplained(capture, onset, {SFX_PRESS, SFX_TIME_UP},
                                                           PUZZLES_DISC_DIR, delay));
    }
    return unexplained;
}

class HeadToHeadScenarioTest : public game_run::GameRunTest {};

TEST_F(HeadToHeadScenarioTest, SprintAndMarathonByTwoPlayersLeaveTheSaveAsItWas) {
    std::string log;
    const Script frontEnd = FrontEnd();
    ASSERT_EQ(RunGame(frontEnd.text, frontEnd.frame + 10, "", log), 0) << log;
    const std::vector<char> saved = SaveBytes(s_dir);
    ASSERT_FALSE(saved.empty());

    const GameRun run = HeadToHead();
    ASSERT_EQ(RunGame(run.script, run.last,
                      Screenshot("head_to_head_turn", run.turnShot) +
                          Screenshot("head_to_head_sprint_results", run.sprintResultsShot) +
                          Screenshot("head_to_head_penalty_screen", run.penaltyScreenShot) +
                          Screenshot("head_to_head_penalty", run.penaltyShot) +
                          Screenshot("head_to_head_marathon_results", run.marathonResultsShot) +
                          " --audio-out " + (s_dir / "sound.wav").string(),
                      log),
              0)
        << log;
    // The guest's turn comes up over the background alone: no grid shows.
    EXPECT_TRUE(ShotMatches("head_to_head_turn"));
    // ANNA = 0 and the guest the winner.
    EXPECT_TRUE(ShotMatches("head_to_head_sprint_results"));
    // The penalty heads its screen, ANNA's mistake under it.
    EXPECT_TRUE(ShotMatches("head_to_head_penalty_screen"));
    // ANNA: 1:18 beside the sudoku.
    EXPECT_TRUE(ShotMatches("head_to_head_penalty"));
    // ANNA = 0, Guest = 120 and the guest the winner.
    EXPECT_TRUE(ShotMatches("head_to_head_marathon_results"));
    EXPECT_EQ(SaveBytes(s_dir), saved) << "Head to Head writes nothing";
    // The time-up sound once: with the press of the last penalty's Continue, a frame later.
    const fs::path capture = s_dir / "sound.wav";
    int timeUps = 0;
    for (long onset : effect_capture::Onsets(capture, effect_capture::FrameStart(run.timeUp),
                                             effect_capture::FrameStart(run.last))) {
        timeUps += PressThenTimeUp(capture, onset) < effect_capture::kFits ? 1 : 0;
    }
    EXPECT_EQ(timeUps, 1);
}

// The loudest sample of the capture between two frames, in dBFS.
double PeakDbfs(const fs::path& capture, int from, int to) {
    const effect_capture::Samples stereo = effect_capture::ReadStereo(
        capture, effect_capture::FrameStart(from), effect_capture::FrameStart(to - from));
    int peak = 0;
    for (const short sample : stereo) {
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    }
    return 20.0 * std::log10(std::max(peak, 1) / 32768.0);
}

// Choosing Head to Head on the main menu, with the music at the profile's level: the screens
// that each ask for the hover sound as the mode opens are heard once, not stacked, and the mix
// stays well under full scale.
TEST_F(HeadToHeadScenarioTest, OpeningTheModeFromTheMainMenuNeverReachesFullScale) {
    Script script;
    script.Press(kSlot0);
    script.Type("A");
    script.Press(kSlot0, 60); // chosen: the main menu
    const int opening = script.frame;
    script.Press(kHeadToHead, 60);
    const fs::path capture = s_dir / "opening.wav";
    std::string log;
    ASSERT_EQ(RunGame(script.text, script.frame, " --audio-out " + capture.string(), log), 0)
        << log;
    EXPECT_GT(PeakDbfs(capture, opening, opening + 20), -12.0) << "the press and the hover";
    EXPECT_LT(PeakDbfs(capture, 0, script.frame), -3.0);
}

} // namespace head_to_head_scenario
