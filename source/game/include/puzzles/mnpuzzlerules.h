// MNPuzzleRules: what the game mode asks of the puzzle it hands out, given with the record
// so that a puzzle plays by its rules without knowing the modes: the hints it starts with,
// whether it is pre-filled, whether the target-time warning sounds, whether players take
// turns, and whether its clock shows the mode's run clock. A plain value the puzzle copies.
#pragma once

#include <services/puzzletypes.h>

namespace Kelvo_lib {

struct MNPuzzleRules {
    // Hints of each kind the puzzle starts with; PUZZLE_HINTS_UNLIMITED for a kind that is
    // not rationed.
    int maxHints[PUZZLE_HINT_KINDS] = {};
    // Whether the puzzle offers hints at all (its hint button and the hint screen).
    bool bHintsOffered = false;
    // The puzzle starts mostly solved, with a few entries left open, and prefillLevel (0 to 2)
    // tells how much help the open ones get (the fitword's placement highlights).
    bool bPrefilled = false;
    int prefillLevel = 0;
    // The target time of the puzzle's slot is counted down with warning sounds.
    bool bTargetTimeWarning = false;
    // Players take turns: a right entry locks and sounds right, a wrong one sounds wrong, a
    // full grid ends the puzzle at once and the players' panel stands in for the clock.
    bool bTakeTurns = false;
    // The clock shows the time left on the mode's run rather than the puzzle's own.
    bool bClockRunsDown = false;

    // The allowance of a kind; 0 for a kind that does not exist.
    int MaxHints(int kind) const {
        return kind >= 0 && kind < PUZZLE_HINT_KINDS ? maxHints[kind] : 0;
    }
};

} // namespace Kelvo_lib
