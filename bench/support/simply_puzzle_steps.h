// Steps that bring a headless game to a mode and start Simply Puzzle's puzzles, as a player's
// pointer and buttons do: the title closed, a mode entered with profile 0, Simply Puzzle's
// menu open, a puzzle of a kind and difficulty started from the menu and its intro passed. Each
// step says whether it got there. Main thread only.
#pragma once

#include "screen_bench.h"

#include <modes/mnsimplypuzzle.h>
#include <modes/mnsimplypuzzlemenu.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnprofilemanager.h>
#include <services/puzzletypes.h>

namespace bench {

// The continue button of a puzzle's intro, in pixels.
constexpr int kContinueX = 320;
constexpr int kContinueY = 270;

inline Kelvo_lib::MNSimplyPuzzle& SimplyPuzzle(ScreenGame& game) {
    return *static_cast<Kelvo_lib::MNSimplyPuzzle*>(
        game.World().GetSubGame(Kelvo_lib::SUBGAME_SIMPLYPUZZLE));
}

// The title closed by A: the world begins with its front end.
inline void CloseTitle(ScreenGame& game) {
    game.Frames(2);
    game.Press(WPAD_BUTTON_A, 30);
}

// The title closed and a mode (eSubGame) entered with profile 0.
inline void EnterMode(ScreenGame& game, int subGame) {
    using namespace Kelvo_lib;
    CloseTitle(game);
    MNProfileManager::SetActiveProfile(0);
    game.World().SetActiveProfile(0);
    game.World().SetCurrentSubGame(subGame);
    game.Frames(30);
}

inline bool ReachSimplyPuzzleMenu(ScreenGame& game) {
    EnterMode(game, Kelvo_lib::SUBGAME_SIMPLYPUZZLE);
    return SimplyPuzzle(game).GetMenu()->IsOpen();
}

// From the menu, a puzzle of the kind (ePuzzleTypeFlag) and difficulty (ePuzzleDifficulty)
// started and its intro's continue button pressed.
inline bool
StartPuzzle(ScreenGame& game, int typeFlag,
            Kelvo_lib::ePuzzleDifficulty difficulty = Kelvo_lib::PUZZLE_DIFFICULTY_BEGINNER) {
    using namespace Kelvo_lib;
    SimplyPuzzle(game).GetMenu()->PlaySignal(typeFlag, difficulty);
    game.Frames(2);
    game.Click(kContinueX, kContinueY, 10);
    const MNPuzzleUI* const screen = SimplyPuzzle(game).GetPuzzleScreen();
    return screen != nullptr && !screen->IsContinueScreenOpen();
}

} // namespace bench
