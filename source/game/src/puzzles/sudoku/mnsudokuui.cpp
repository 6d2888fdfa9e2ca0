#include <puzzles/sudoku/mnsudokuui.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

bool MNSudokuUI::SetPuzzle(Puzzle* puzzle, const MNPuzzleRules& rules) {
    if (puzzle == nullptr || puzzle->GetType() != PUZZLE_TYPE_SUDOKU) {
        kLogSys("MNSudokuUI", "SetPuzzle: not a sudoku (type %d)\n",
                puzzle != nullptr ? puzzle->GetType() : -1);
        return false;
    }
    return SetPuzzle(static_cast<SudokuPuzzle*>(puzzle)->m_sudoku, rules);
}

bool MNSudokuUI::SetPuzzle(SudokuData* sudoku, const MNPuzzleRules& rules) {
    return Model()->SetPuzzle(sudoku, rules);
}

void MNSudokuUI::Reset() {
    Model()->Reset(false);
    m_widget->PuzzleReset();
}

} // namespace Kelvo_lib
