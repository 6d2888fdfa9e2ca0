// Sudoku generator: a puzzle with exactly one solution at a bank difficulty, the same
// for the same seed. Givens are removed in pairs symmetric about the centre. The
// techniques a person needs at each difficulty (sudoku_rater.h):
//   0 "MINI"  6 x 6: naked and hidden singles;
//   1         9 x 9: naked and hidden singles;
//   2         9 x 9: also naked and hidden pairs, naked triples, pointing and claiming;
//   3         9 x 9: more than those: fish, wings, chains or trial and error.
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
