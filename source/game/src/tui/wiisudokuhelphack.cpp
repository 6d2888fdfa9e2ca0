#include <tui/wiisudokuhelphack.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

bool s_sudokuHelpHack = false;

} // namespace

void WiiSudokuHelpHack(bool bSudoku) {
    kLogFmt("Help hack: %d\n", bSudoku);
    s_sudokuHelpHack = bSudoku;
}

bool GetWiiSudokuHelpHack() {
    return s_sudokuHelpHack;
}

} // namespace Kelvo_lib
