#include "sudoku_generator.h"

#include "seeded_random.h"
#include "sudoku_rater.h"
#include "sudoku_solver.h"

namespace datatool {
namespace {

constexpr int kMaxDifficulty = 3;

// Whether the grid can still become a puzzle of the wanted rating: singles solve it
// for rating 1; otherwise it has one solution (and the final rating decides).
bool StillFits(const SudokuLayout& layout, const SudokuCells& givens, int rating) {
    if (rating == kSudokuSingles) {
        return SolvesWithTechniques(layout, givens, kSudokuSingles);
    }
    return CountSudokuSolutions(layout, givens, 2) == 1;
}

// Empties symmetric pairs of cells, in random order, as long as the grid still fits.
SudokuCells RemoveGivens(const SudokuLayout& layout, const SudokuCells& solution, int rating,
                         SeededRandom& random) {
    std::vector<int> cells;
    for (int cell = 0; cell < layout.NumCells(); ++cell) {
        if (cell <= layout.NumCells() - 1 - cell) {
            cells.push_back(cell);
        }
    }
    random.Shuffle(cells);
    SudokuCells givens = solution;
    for (int cell : cells) {
        const std::size_t a = static_cast<std::size_t>(cell);
        const std::size_t b = static_cast<std::size_t>(layout.NumCells() - 1 - cell);
        givens[a] = givens[b] = 0;
        if (!StillFits(layout, givens, rating)) {
            givens[a] = solution[a];
            givens[b] = solution[b];
        }
    }
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
        sudoku.givens = RemoveGivens(layout, sudoku.solution, rating, random);
        if (RateSudoku(layout, sudoku.givens) == rating) {
            return sudoku;
        }
    }
}

} // namespace datatool
