// MNPuzzleRules: what the game mode asks of the puzzle it hands out, given with the record
// so that a puzzle plays by its rules without knowing the modes: the hints it starts with,
// whether it is pre-filled, whether the target-time warning sounds and the target it counts
// down to, whether players take turns, and whether its clock shows the mode's run clock. A
// plain value the puzzle copies.
#pragma once

#include <services/puzzletypes.h>

#include <limits>

namespace Kelvo_lib {

struct MNPuzzleRules {
    // The target of a puzzle given none: never reached.
    static constexpr float kNoTarget = std::numeric_limits<float>::infinity();

    // Hints of each kind the puzzle starts with; PUZZLE_HINTS_UNLIMITED for a kind that is
    // not rationed.
    int maxHints[PUZZLE_HINT_KINDS] = {};
    // Whether the puzzle offers hints at all (its hint button and the hint screen).
    bool bHintsOffered = false;
    // The puzzle starts mostly solved, with a few entries left open, and prefillLevel (0 to 2)
    // tells how much help the open ones get (the fitword's placement highlights).
    bool bPrefilled = false;
    int prefillLevel = 0;
    // The target time is counted down with warning sounds.
    bool bTargetTimeWarning = false;
    // The seconds of play the warning counts down to: the target of the puzzle's slot.
    float targetTime = kNoTarget;
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
