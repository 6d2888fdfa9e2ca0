// MNHintUI: the hint screen "hint_main" that the sudoku, fitword and wordsearch screens
// open: up to three kinds of hint, those with none left hidden, each explained for the
// puzzle type. Choosing a kind, or backing out, closes the screen and emits
// PerformHintSignal with the kind (0 to 2) or -1 for none. Registered with and owned by
// the world's UI manager. Main thread only; missing counts are logged and offer no hint.
#pragma once

#include <services/puzzletypes.h>
#include <tui/mnmenuscreen.h>

namespace Kelvo_lib {

class MNHintUI : public MNMenuScreen {
public:
    static constexpr int kNumKinds = 3;

    void Init() override;
    void Activate(kUILayer* layer) override;

    // ePuzzleTypeFlag of the puzzle asking; it chooses the help line of each kind.
    void SetPuzzleType(int puzzleType);
    void SetPuzzleDifficulty(ePuzzleDifficulty difficulty) { m_difficulty = difficulty; }
    ePuzzleDifficulty GetPuzzleDifficulty() const { return m_difficulty; }
    // Copies the three counts (hintsLeft may be null: none left).
    void SetHintsLeft(const int* hintsLeft);
    int GetHintsLeft(int kind) const;

    kSignal1<int> PerformHintSignal;

private:
    void ShowKinds();
    void Finish(int kind);

    void OnSelect(int id);
    void OnBack() { Finish(-1); }
    void OnHelp();

    int m_puzzleType = 0;
    ePuzzleDifficulty m_difficulty = PUZZLE_DIFFICULTY_MINI;
    int m_hintsLeft[kNumKinds] = {};
};

} // namespace Kelvo_lib
