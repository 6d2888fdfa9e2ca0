// MNPuzzleUI: the one screen interface through which the game modes play every puzzle kind.
// A mode creates the screen, registers it with the UI manager (Init creates the widget, which
// owns the model), pushes it on a layer, calls SetPuzzle, SetSpellout and Play, connects to
// the five signals, and calls LoadPuzzleState last when it resumes a saved puzzle; at the end
// it reads the results and deletes the screen. The mode API may be called only between Init
// and deletion. Main thread only; signals are emitted from inside the widget's tick.
#pragma once

#include <puzzles/mnpuzzlerules.h>
#include <services/puzzle.h>
#include <services/puzzledata.h>
#include <services/puzzletypes.h>

#include <kelvo/object/ksignal.h>
#include <ui/kui.h>

namespace Kelvo_lib {

class MNPuzzleUI : public kUI, public kHasSlots<> {
public:
    // The size of every saved puzzle state the modes store.
    static constexpr int K_SAVED_STATE_SIZE = 210;

    // The ePuzzleTypeFlag of the screen's kind.
    virtual int GetPuzzleType() const = 0;
    // Whether the disc gave the screen all the art it draws with; one without it cannot be
    // played. Known once the screen is registered (Init).
    virtual bool IsDrawable() const { return true; }
    // Sets the bank's puzzle, played by the mode's rules. A puzzle of another kind is refused
    // with a log line and false, and the screen keeps what it had.
    virtual bool SetPuzzle(Puzzle* puzzle, const MNPuzzleRules& rules) = 0;
    // The hidden word for the anagram after the puzzle; null for none. Kinds without a
    // hidden word ignore it.
    virtual void SetSpellout(SpelloutData* spellout) { (void)spellout; }
    virtual void Play() = 0;
    // Restarts the puzzle; the clock keeps its value and hinted cells stay.
    virtual void Reset() = 0;
    // An ePuzzleState.
    virtual int GetState() const = 0;
    // Seconds played, without the intro and the completion sweep.
    virtual float GetTime() const = 0;
    virtual int GetPuzzleId() const = 0;
    // Errors now on the grid (the wordsearch: missed strokes less words found since), and
    // clearing them from the grid.
    virtual int GetNumErrors() const = 0;
    virtual void RemoveErrors() {}

    // What the modes score, with one meaning for every kind:
    // right answers (words placed or found; a sudoku's complete rows, columns and boxes),
    virtual int GetNumCorrect() const = 0;
    // wrong entries made since the puzzle was set (never lowered by putting them right,
    // removing errors or a reset),
    virtual int GetNumErrorsMade() const = 0;
    // hints of a kind (0 to 2) taken,
    virtual int GetHintsUsed(int kind) const = 0;
    // and the hints of a kind the puzzle started with by its rules, PUZZLE_HINTS_UNLIMITED
    // for a kind that is not rationed.
    virtual int GetMaxHints(int kind) const = 0;
    virtual bool IsGridFull() const = 0;
    // Whether the intro with its continue and help buttons shows.
    virtual bool IsContinueScreenOpen() const = 0;
    // (null, 0) gives the size needed; a smaller size gives 0 and writes nothing; else the
    // bytes written, big-endian.
    virtual int SavePuzzleState(void* buffer, int bufferSize) = 0;
    // 1 when loaded, 0 when the buffer is too small or its content is refused.
    virtual int LoadPuzzleState(void* buffer, int bufferSize) = 0;

    kSignal0<> GameOverSignal;
    kSignal0<> ValidEntrySignal;
    kSignal0<> InvalidEntrySignal;
    kSignal0<> GamePauseSignal;
    kSignal0<> HelpSignal;
};

} // namespace Kelvo_lib
