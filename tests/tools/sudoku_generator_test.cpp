// The sudoku generator and its helpers, checked against an independent backtracking
// solver and singles-only solver.
#include "puzzle_validation.h"

#include "puzzles/puzzle_bank_builder.h"
#include "puzzles/sudoku_rater.h"
#include "puzzles/sudoku_solver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using namespace datatool;

namespace {

SudokuCells Cells(const std::string& digits) {
    SudokuCells cells;
    for (char digit : digits) {
        cells.push_back(static_cast<std::uint8_t>(digit == '.' ? 0 : digit - '0'));
    }
    return cells;
}

const SudokuLayout& Nine() {
    return *SudokuLayout::OfSize(9);
}

// Solvable by singles alone.
const char* const kEasy =
    "..3.2.6..9..3.5..1..18.64....81.29..7.......8..67.82....26.95..8..2.3..9..5.1.3..";
// Needs more than X-wings, swordfish and XY-wings.
const char* const kHard =
    "8..........36......7..9.2...5...7.......457.....1...3...1....68..85...1..9....4..";

TEST(SudokuLayout, BoxesOfSixBySixAreTwoRowsByThreeColumns) {
    const SudokuLayout& six = *SudokuLayout::OfSize(6);
    EXPECT_EQ(six.Units()[static_cast<std::size_t>(2 * 6)], (std::vector<int>{0, 1, 2, 6, 7, 8}));
    EXPECT_EQ(six.Box(35), 5);
    EXPECT_EQ(six.Peers(0).size(), 5u + 5u + 2u);
    EXPECT_EQ(Nine().Peers(40).size(), 20u);
    EXPECT_EQ(SudokuLayout::OfSize(4), nullptr);
}

TEST(SudokuSolver, CountsSolutionsUpToTheLimit) {
    const SudokuCells empty(81, 0);
    SudokuCells solution;
    EXPECT_EQ(CountSudokuSolutions(Nine(), empty, 2, &solution), 2);
    EXPECT_EQ(CountSudokuSolutions(Nine(), solution, 2), 1);
    EXPECT_EQ(CountSudokuSolutions(Nine(), Cells(kHard), 2), 1);
    SudokuCells clash = Cells(kEasy);
    clash[1] = 3; // a second 3 in the first row
    EXPECT_EQ(CountSudokuSolutions(Nine(), clash, 2), 0);
    SudokuCells outOfRange = Cells(kEasy);
    outOfRange[0] = 10;
    EXPECT_EQ(CountSudokuSolutions(Nine(), outOfRange, 2), 0);
}

TEST(SudokuRater, RatesByTheTechniquesNeededAndSolvesSoundly) {
    const struct {
        const char* givens;
        int rating;
    } cases[] = {
        {kEasy, kSudokuSingles},
        // Subsets and intersections.
        {".7..9.8.21...5.4.9...7..........6.5.74.....26.9.5..........5...9.1.3...58.2.4..9.",
         kSudokuSubsets},
        // Each of these stalls without one technique: two X-wings, two swordfish, two
        // XY-wings.
        {"3.67.1...8......1..1..8.7...9...34...2.9.4.3...52...9...1.3..4..8......5...4.72.1",
         kSudokuFishAndWings},
        {"927.5.3...3...9..2....3..6...3..1..8..4...5..5..8..7...6..4....3..6...4...8.7.693",
         kSudokuFishAndWings},
        {".9....1......873....814...67.9....3....5.8....4....9.11...324....745......3....9.",
         kSudokuFishAndWings},
        {".7.21...8..3..5...18.6..3..4....897...........375....4..2..7.19...4..2..8...32.6.",
         kSudokuFishAndWings},
        {"....16.733..284....1...5....98..1.3.74..5..68.6.8..92....5...4....193..298.47....",
         kSudokuFishAndWings},
        {".....1.7.......58....96.1.4.725346.............971842.3.8.59....94.......6.2.....",
         kSudokuFishAndWings},
        {kHard, kSudokuBeyondTechniques},
    };
    for (const auto& sudoku : cases) {
        SudokuCells solved;
        EXPECT_EQ(RateSudoku(Nine(), Cells(sudoku.givens), &solved), sudoku.rating);
        puzzle_validation::SudokuGrid reference(9, Cells(sudoku.givens).data());
        ASSERT_EQ(reference.CountSolutions(2), 1);
        for (std::size_t cell = 0; cell < solved.size(); ++cell) {
            EXPECT_TRUE(solved[cell] == 0 || solved[cell] == reference.FirstSolution()[cell]);
        }
        const bool bSolvedWhole = std::find(solved.begin(), solved.end(), 0) == solved.end();
        EXPECT_EQ(bSolvedWhole, sudoku.rating != kSudokuBeyondTechniques) << sudoku.givens;
        EXPECT_EQ(SolvesWithTechniques(Nine(), Cells(sudoku.givens), sudoku.rating),
                  sudoku.rating != kSudokuBeyondTechniques);
        EXPECT_FALSE(SolvesWithTechniques(Nine(), Cells(sudoku.givens), sudoku.rating - 1));
    }
    SudokuCells clash = Cells(kEasy);
    clash[1] = 3;
    EXPECT_EQ(RateSudoku(Nine(), clash), kSudokuContradiction);
}

TEST(SudokuGenerator, EachDifficultyGivesUniqueSudokusOfItsRating) {
    for (int difficulty = 0; difficulty <= 3; ++difficulty) {
        for (int index = 0; index < 8; ++index) {
            const std::optional<GeneratedSudoku> sudoku =
                GenerateSudoku(difficulty, PuzzleSeed(7, 4, difficulty, index));
            ASSERT_TRUE(sudoku.has_value());
            const SudokuLayout& layout = *SudokuLayout::OfSize(sudoku->size);
            SudokuCells solved;
            EXPECT_EQ(RateSudoku(layout, sudoku->givens, &solved),
                      SudokuRatingOfDifficulty(difficulty));
            EXPECT_EQ(solved, sudoku->solution);
            const std::vector<std::string> problems =
                puzzle_validation::SudokuProblems(ToSudokuData(*sudoku, 1, index));
            EXPECT_TRUE(problems.empty()) << difficulty << "/" << index << ": " << problems[0];
            for (int cell = 0; cell < layout.NumCells(); ++cell) {
                EXPECT_EQ(sudoku->givens[static_cast<std::size_t>(cell)] != 0,
                          sudoku->givens[static_cast<std::size_t>(layout.NumCells() - 1 - cell)] !=
                              0);
            }
        }
    }
}

TEST(SudokuGenerator, SameSeedGivesTheSameSudoku) {
    const std::optional<GeneratedSudoku> a = GenerateSudoku(2, 1234);
    const std::optional<GeneratedSudoku> b = GenerateSudoku(2, 1234);
    const std::optional<GeneratedSudoku> c = GenerateSudoku(2, 1235);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(a->givens, b->givens);
    EXPECT_EQ(a->solution, b->solution);
    EXPECT_NE(a->givens, c->givens);
}

TEST(SudokuGenerator, UnknownDifficultyGivesNothing) {
    EXPECT_FALSE(GenerateSudoku(4, 1).has_value());
    EXPECT_FALSE(GenerateSudoku(-1, 1).has_value());
}

} // namespace
