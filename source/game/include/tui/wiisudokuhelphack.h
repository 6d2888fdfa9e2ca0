// WiiSudokuHelpHack: the hint screen's word to the help screen that the help it opens is
// about a sudoku. The hint screen sets it around opening the help; the help screen reads it
// at its next activation. Main thread only.
#pragma once

namespace Kelvo_lib {

// Help texts in black (for a sudoku's paper) from the help screen's next activation.
void WiiSudokuHelpHack(bool bSudoku);
// The last word given, false at start.
bool GetWiiSudokuHelpHack();

} // namespace Kelvo_lib
