// Exhaustive sudoku search: counts the solutions of a grid up to a limit, taking the
// most constrained cell first. With a random source it tries each cell's digits in a
// random order, which is how generators fill an empty grid. Pure functions.
#pragma once

#include "sudoku_layout.h"

namespace datatool {

class SeededRandom;

// The number of solutions, counting stops at limit; 0 for a grid whose givens clash.
// The first solution found goes to firstSolution when it is not null.
int CountSudokuSolutions(const SudokuLayout& layout, const SudokuCells& cells, int limit,
                         SudokuCells* firstSolution = nullptr, SeededRandom* random = nullptr);

} // namespace datatool
