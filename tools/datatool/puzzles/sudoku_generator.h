// Sudoku generator: a puzzle with exactly one solution at a bank difficulty, the same
// for the same seed. Givens go and come back in pairs symmetric about the centre, and a
// puzzle is kept only when it needs the hardest technique of its difficulty, so each
// difficulty is one step up a ladder of the techniques a person needs (sudoku_rater.h):
//   0 "MINI"  6 x 6: naked and hidden singles;
//   1         9 x 9: naked and hidden singles;
//   2         9 x 9: also naked and hidden pairs, naked triples, pointing and claiming;
//   3         9 x 9: also X-wing, swordfish and XY-wing; never trial and error.
// Any other difficulty gives nothing.
#pragma once

#include "sudoku_layout.h"

#include <cstdint>
#include <optional>

namespace datatool {

struct GeneratedSudoku {
    int size = 0;
    int difficulty = 0;
    SudokuCells givens;
    SudokuCells solution;
};

int SudokuSizeOfDifficulty(int difficulty);
// The rating a puzzle of that bank difficulty has.
int SudokuRatingOfDifficulty(int difficulty);

std::optional<GeneratedSudoku> GenerateSudoku(int difficulty, std::uint32_t seed);

} // namespace datatool
