// MNSudokuUI: the screen a game mode plays one sudoku on. What every puzzle screen does (the
// widget, the pass-through mode API, the signals) is MNPuzzleScreen's; this adds the sudoku's
// own: the puzzle it takes, its reset. The widget's hint button opens the hint
// screen. Main thread only; the mode API may be called between Init and deletion.
#pragma once

#include <puzzles/mnpuzzlescreen.h>
#include <puzzles/sudoku/mnsudokuwidget.h>

namespace Kelvo_lib {

class MNSudokuUI : public MNPuzzleScreen<MNSudokuWidget, &MNSudokuWidget::GetSudoku> {
public:
    int GetPuzzleType() const override { return PUZZLE_FLAG_SUDOKU; }
    // A sudoku of the bank; another kind is refused (logged).
    bool SetPuzzle(Puzzle* puzzle, const MNPuzzleRules& rules) override;
    bool SetPuzzle(SudokuData* sudoku, const MNPuzzleRules& rules);
    void Reset() override;
};

} // namespace Kelvo_lib
