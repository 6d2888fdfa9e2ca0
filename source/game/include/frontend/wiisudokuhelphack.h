// WiiSudokuHelpHack: the hint screen's word to the help screen (defined with MNHelpUI) that
// the help it opens is about a sudoku. Main thread only.
#pragma once

namespace Kelvo_lib {

// Help texts in black (for a sudoku's paper) from the help screen's next activation.
void WiiSudokuHelpHack(bool bSudoku);

} // namespace Kelvo_lib
