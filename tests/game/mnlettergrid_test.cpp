// The letter grid under the crossword and the fitword, laid out from either kind's record:
// words reaching the grid's edges, crossing cells, locked cells kept through entries, and a
// word running past the edge written only inside the grid.
#include "crossword_test_support.h"
#include "fitword_test_support.h"

#include <puzzles/mnlettergrid.h>

#include <gtest/gtest.h>

namespace {

using namespace Kelvo_lib;

// CAT across and COW down from the top-left corner, TEE down the right edge, WEE across the
// bottom edge; the centre is a block. Words: 0 CAT, 1 COW, 2 TEE, 3 WEE.
CrosswordData SmallRecord(const CrosswordData*) {
    return crossword_test::SmallCrossword();
}

FitwordData SmallRecord(const FitwordData*) {
    return fitword_test::SmallFitword();
}

template <class Record>
class LetterGridTest : public ::testing::Test {
protected:
    void LayOut() { m_grid.SetPuzzle(m_record); }

    Record m_record = SmallRecord(static_cast<const Record*>(nullptr));
    MNLetterGrid m_grid;
};

using Kinds = ::testing::Types<CrosswordData, FitwordData>;
TYPED_TEST_SUITE(LetterGridTest, Kinds);

TYPED_TEST(LetterGridTest, WordsReachTheEdgesAndCrossingCellsNameBothWords) {
    this->LayOut();
    MNLetterGrid& grid = this->m_grid;
    EXPECT_EQ(grid.GetWordCell(2, 2), 8) << "TEE ends in the bottom-right corner";
    EXPECT_EQ(grid.GetWordCell(3, 0), 6);
    EXPECT_EQ(grid.WordThrough(8, false), 3);
    EXPECT_EQ(grid.WordThrough(8, true), 2);
    for (const int cell : {4, -1, 9}) {
        EXPECT_EQ(grid.WordThrough(cell, false), -1) << cell;
        EXPECT_EQ(grid.WordThrough(cell, true), -1) << cell;
    }
}

TYPED_TEST(LetterGridTest, EntriesKeepLockedCellsAndOnlyLetterCellsAreJudged) {
    this->LayOut();
    MNLetterGrid& grid = this->m_grid;
    grid.EnterWord(0, "CAT");
    EXPECT_TRUE(grid.LockWord(0));
    EXPECT_FALSE(grid.LockWord(0)) << "nothing new to lock";

    grid.EnterWord(1, "XOW");
    EXPECT_EQ(grid.GetLetter(0), 'C') << "the locked crossing keeps its letter";
    EXPECT_EQ(grid.GetLetter(3), 'O');
    EXPECT_FALSE(grid.IsFull());
    grid.EnterWord(2, "TEX");
    grid.EnterWord(3, "WEE");
    EXPECT_TRUE(grid.IsFull()) << "the block needs no letter";
    EXPECT_TRUE(grid.IsSolved()) << "the last entry put the corner right";
    EXPECT_EQ(grid.CountRightWords(), 4);

    grid.ClearUnlocked();
    EXPECT_TRUE(grid.IsWordFilled(0));
    EXPECT_FALSE(grid.IsWordFilled(3));
    EXPECT_EQ(grid.CountRightWords(), 1);
}

TYPED_TEST(LetterGridTest, AWordRunningPastTheEdgeIsWrittenOnlyInsideTheGrid) {
    this->m_record.words(2).startCell = 5; // TEE down from the middle row: its E falls off
    this->LayOut();
    MNLetterGrid& grid = this->m_grid;
    grid.EnterWord(2, "TEE");
    grid.HighlightWord(2);
    EXPECT_TRUE(grid.LockWord(2));
    EXPECT_EQ(grid.GetLetter(5), 'T');
    EXPECT_EQ(grid.GetLetter(8), 'E');
    EXPECT_TRUE(grid.IsWordLocked(2));
    EXPECT_TRUE(grid.IsHighlight(8));
}

} // namespace
