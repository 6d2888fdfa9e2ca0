// MNPuzzleProgress: what the sudoku, fitword, crossword and wordsearch models share besides
// their kind's rules: the mode's rules (MNPuzzleRules) the puzzle is played by, its state
// (ePuzzleState), the play clock with its target-time warning, the debug completion key, the
// random draws of pre-fills and hints, the errors made, the entry signals with the verdict on
// an entry, and the one place game over is emitted. A kind derives from it and answers only
// IsSolved and whether an entry is right; the verdicts ask it. The game's random generator and
// debug key are handed in (MNPuzzleSources) by whoever builds the model, so no model reads them
// from the services. Main thread only; game over is emitted last, after the state is set.
#pragma once

#include <puzzles/mncountdown.h>
#include <puzzles/mnpuzzlerules.h>
#include <services/puzzletypes.h>

#include <kelvo/object/ksignal.h>

namespace Kelvo_lib {

class kmRandomMersenneTwister;

// What a puzzle model takes from the game: its random generator, and the debug completion key
// (true once per press while the debug profile is active).
struct MNPuzzleSources {
    kmRandomMersenneTwister& random;
    bool (*debugKeyPressed)();
};

class MNPuzzleProgress {
public:
    MNPuzzleProgress(const MNPuzzleProgress&) = delete;
    MNPuzzleProgress& operator=(const MNPuzzleProgress&) = delete;
    virtual ~MNPuzzleProgress() = default;

    // Starts the clock.
    void Play() { m_state = PUZZLE_STATE_PLAYING; }
    // One frame: the clock runs while playing, the target-time warning follows it where the
    // rules ask for it (a tick or a tock, alternating, once a second in the last 30 seconds
    // before the target, then one sound as it passes, and silence after), and the debug key
    // ends the puzzle.
    void Tick(float delta);
    ePuzzleState GetState() const { return m_state; }
    // The rules the mode gave the puzzle.
    const MNPuzzleRules& GetRules() const { return m_rules; }
    float GetTime() const { return m_time; }
    // Wrong entries made since the puzzle was set, whether put right later or not.
    int GetNumErrorsMade() const { return m_errorsMade; }

    // True, and the puzzle completed, when the kind finds the grid solved; no game over.
    bool CheckWin();
    // CheckWin, ending the puzzle with game over when it is true.
    bool EndIfSolved();
    // The verdict at the end of a check sweep: a solved grid sounds right, then ends with
    // game over (true); anything else sounds wrong and changes nothing.
    bool JudgeSweep();
    // Completes the puzzle and emits game over, whatever the grid holds.
    void EndPuzzle();

    kSignal0<> GameOverSignal;
    // After each wrong and each right entry.
    kSignal0<> InvalidEntrySignal;
    kSignal0<> ValidEntrySignal;

protected:
    // What tells the kinds apart here.
    struct Kind {
        const char* logName;    // "MNSudoku": the saved clock's log lines
        const char* puzzleName; // "sudoku": the debug key's log line
        const char* solvedLog;  // logged when CheckWin finds the grid solved; null for none
    };

    MNPuzzleProgress(const Kind& kind, const MNPuzzleSources& sources);

    // Whether every entry of the grid is right.
    virtual bool IsSolved() const = 0;

    // A new puzzle played by the mode's rules: the clock at 0, the warning's target new.
    void StartPuzzle(const MNPuzzleRules& rules);
    // A restart: the warning's beat starts again, and with resetTime the clock and the target
    // too (a target passed before sounds no more while the clock is kept).
    void RestartClock(bool resetTime);
    // The clock of a saved state: a stored time that is no length (negative, infinite or not a
    // number) loads as 0, one longer than the clocks show as the longest they show
    // (TimeInRange); either is logged under the model's name.
    void LoadTime(float stored);
    // 0 to n - 1 from the game's generator; n above 0.
    int RandomBelow(int n);
    // The verdict on an entry the kind has checked: a wrong one counts an error made, sounds
    // wrong where players take turns and emits InvalidEntrySignal; a right one sounds right
    // where they take turns (the kind has locked it for good there) and emits ValidEntrySignal.
    void RejectEntry();
    void AcceptEntry();

    // Set afresh by the kind with each puzzle and saved state.
    int m_errorsMade = 0;

private:
    static constexpr float kTargetWarningSeconds = 30.0f;

    void WarnOfTarget(float delta);

    Kind m_kind;
    kmRandomMersenneTwister& m_random;
    bool (*m_debugKeyPressed)();
    ePuzzleState m_state = PUZZLE_STATE_IDLE;
    float m_time = 0.0f;
    MNPuzzleRules m_rules;
    MNCountdown m_targetCountdown{MNCountdown::WINDOW_BELOW_LENGTH, kTargetWarningSeconds};
    bool m_bTick = true;          // the next warning is a tick, not a tock
    bool m_bTargetPassed = false; // the target's sound has played
};

} // namespace Kelvo_lib
