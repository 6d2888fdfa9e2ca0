// Sudoku generator: a puzzle with exactly one solution at a bank difficulty, the same
// for the same seed. Difficulty 0 ("MINI") is a 6 x 6 grid that singles solve; 1 to 3
// are 9 x 9 grids whose rating (sudoku_rater.h) equals the difficulty. Givens are
// removed in pairs symmetric about the centre. Any other difficulty gives nothing.
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
