#include "sudoku_generator.h"

#include "seeded_random.h"
#include "sudoku_rater.h"
#include "sudoku_solver.h"

namespace datatool {
namespace {

constexpr int kMaxDifficulty = 3;

// The first cell of each pair of cells symmetric about the centre, in random order.
std::vector<int> ShuffledPairs(const SudokuLayout& layout, SeededRandom& random) {
    std::vector<int> cells;
    for (int cell = 0; cell < layout.NumCells(); ++cell) {
        if (cell <= layout.NumCells() - 1 - cell) {
            cells.push_back(cell);
        }
    }
    random.Shuffle(cells);
    return cells;
}

void SetPair(const SudokuLayout& layout, int cell, const SudokuCells& from, SudokuCells& to) {
    const std::size_t a = static_cast<std::size_t>(cell);
    const std::size_t b = static_cast<std::size_t>(layout.NumCells() - 1 - cell);
    to[a] = from[a];
    to[b] = from[b];
}

// Empties symmetric pairs of givens, in random order, as long as the grid still fits.
template <typename Fits>
void RemoveGivens(const SudokuLayout& layout, const SudokuCells& solution, SudokuCells& givens,
                  SeededRandom& random, Fits fits) {
    const SudokuCells empty(givens.size(), 0);
    for (int cell : ShuffledPairs(layout, random)) {
        SetPair(layout, cell, empty, givens);
        if (!fits(givens)) {
            SetPair(layout, cell, solution, givens);
        }
    }
}

// Puts pairs of the solution back, in random order, until the techniques of the rating
// solve the grid.
void AddGivens(const SudokuLayout& layout, const SudokuCells& solution, SudokuCells& givens,
               int rating, SeededRandom& random) {
    for (int cell : ShuffledPairs(layout, random)) {
        if (SolvesWithTechniques(layout, givens, rating)) {
            return;
        }
        SetPair(layout, cell, solution, givens);
    }
}

// A puzzle the techniques of the rating solve. Singles: givens go while singles solve
// the grid. Above them, givens go while the solution stays unique, then come back until
// the techniques solve it: a grid just inside their reach, the likeliest to need the
// hardest of them (and cheaper than removing while they solve).
SudokuCells MakeGivens(const SudokuLayout& layout, const SudokuCells& solution, int rating,
                       SeededRandom& random) {
    SudokuCells givens = solution;
    if (rating == kSudokuSingles) {
        RemoveGivens(layout, solution, givens, random, [&](const SudokuCells& grid) {
            return SolvesWithTechniques(layout, grid, rating);
        });
        return givens;
    }
    RemoveGivens(layout, solution, givens, random, [&](const SudokuCells& grid) {
        return CountSudokuSolutions(layout, grid, 2) == 1;
    });
    AddGivens(layout, solution, givens, rating, random);
    return givens;
}

} // namespace

int SudokuSizeOfDifficulty(int difficulty) {
    return difficulty == 0 ? 6 : 9;
}

int SudokuRatingOfDifficulty(int difficulty) {
    return difficulty == 0 ? kSudokuSingles : difficulty;
}

std::optional<GeneratedSudoku> GenerateSudoku(int difficulty, std::uint32_t seed) {
    if (difficulty < 0 || difficulty > kMaxDifficulty) {
        return std::nullopt;
    }
    const SudokuLayout& layout = *SudokuLayout::OfSize(SudokuSizeOfDifficulty(difficulty));
    const int rating = SudokuRatingOfDifficulty(difficulty);
    SeededRandom random(seed);
    GeneratedSudoku sudoku;
    sudoku.size = layout.Size();
    sudoku.difficulty = difficulty;
    for (;;) {
        const SudokuCells empty(static_cast<std::size_t>(layout.NumCells()), 0);
        CountSudokuSolutions(layout, empty, 1, &sudoku.solution, &random);
        sudoku.givens = MakeGivens(layout, sudoku.solution, rating, random);
        if (RateSudoku(layout, sudoku.givens) == rating) {
            return sudoku;
        }
    }
}

} // namespace datatool
