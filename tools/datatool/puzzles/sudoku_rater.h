// Rates a sudoku by the hardest technique a person needs, solving it step by step
// with the easiest technique that makes progress:
//   1  naked and hidden singles alone solve it;
//   2  it also needs naked or hidden pairs, naked triples, or a box/line intersection
//      (a digit pointing out of a box, or claimed by a row or column), and those solve it;
//   3  it also needs an X-wing, a swordfish or an XY-wing, and those solve it;
//   4  all of those stall: it needs chains, larger fish or trial and error.
// 0 means the techniques found a contradiction (the grid has no solution). Pure functions.
#pragma once

#include "sudoku_layout.h"

namespace datatool {

enum : int {
    kSudokuContradiction = 0,
    kSudokuSingles = 1,
    kSudokuSubsets = 2,
    kSudokuFishAndWings = 3,
    kSudokuBeyondTechniques = 4,
};

// solved, when not null, receives the grid as far as the techniques filled it.
int RateSudoku(const SudokuLayout& layout, const SudokuCells& givens,
               SudokuCells* solved = nullptr);

// Whether techniques up to that level solve the grid (cheaper than a full rating).
bool SolvesWithTechniques(const SudokuLayout& layout, const SudokuCells& givens, int level);

} // namespace datatool
