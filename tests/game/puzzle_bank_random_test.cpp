// Random choice of puzzles: with a player's record no puzzle comes back before the pool
// of its type, difficulty and language is used up, and a new round never opens with one
// of the last seven; the same seed gives the same draws; without a record nothing is
// marked; an empty pool gives null with a logged line, never a loop or another type.
#include "puzzle_test_support.h"

#include <services/mnprofilemanager.h>

#include <kelvo/math/kmrandom.h>

#include <set>

using namespace puzzle_test;

namespace {

constexpr int kPoolType = PUZZLE_TYPE_SUDOKU;
constexpr ePuzzleDifficulty kPoolDifficulty = PUZZLE_DIFFICULTY_BEGINNER;

// count sudoku of the pool (ids 100 up, half of them for all languages, half UK English)
// among sudoku of other difficulties and languages and a wordsearch of the difficulty.
std::vector<u8> BankWithPool(int count) {
    PuzzleBankWriter writer;
    for (int i = 0; i < count; ++i) {
        SudokuData sudoku = MakeSudoku(100 + i, 9);
        sudoku.difficulty = BankValueOf(kPoolDifficulty);
        sudoku.language = i % 2 == 0 ? PUZZLE_LANGUAGE_ALL : LANGUAGE_UK_ENGLISH;
        writer.AddSudoku(sudoku);
    }
    for (int i = 0; i < 5; ++i) {
        SudokuData other = MakeSudoku(10 + i, 9);
        other.difficulty = BankValueOf(i == 0 ? PUZZLE_DIFFICULTY_PRO : kPoolDifficulty);
        other.language = i == 0 ? PUZZLE_LANGUAGE_ALL : LANGUAGE_FRENCH;
        writer.AddSudoku(other);
    }
    WordsearchData wordsearch = MakeWordsearch(20);
    wordsearch.difficulty = BankValueOf(kPoolDifficulty);
    writer.AddWordsearch(wordsearch);
    return BankBytes(writer);
}

class RandomPuzzleTest : public testing::Test {
protected:
    void SetUp() override {
        MNProfileManager::SetActiveProfile(1);
        Profile().Clear();
        MNProfile::GetRandomGen()->seed(2024);
    }
    void TearDown() override {
        Profile().Clear();
        MNProfileManager::SetActiveProfile(-1);
    }

    static MNProfile& Profile() { return *MNProfileManager::GetProfile(1); }

    // count draws from the pool, marked in record.
    static std::vector<int> Draw(PuzzleBank& bank, int count,
                                 MNSaveProfileData* record = Profile().GetSaveData()) {
        std::vector<int> ids;
        for (int i = 0; i < count; ++i) {
            ids.push_back(bank.GetRandomPuzzleId(kPoolType, kPoolDifficulty, LANGUAGE_UK_ENGLISH,
                                                 *MNProfile::GetRandomGen(), record));
        }
        return ids;
    }

    // Whether every run of window consecutive ids is free of repeats.
    static bool WindowsDistinct(const std::vector<int>& ids, size_t window) {
        for (size_t start = 0; start + window <= ids.size(); ++start) {
            const std::set<int> seen(ids.begin() + static_cast<long>(start),
                                     ids.begin() + static_cast<long>(start + window));
            if (seen.size() != window) {
                return false;
            }
        }
        return true;
    }
};

TEST_F(RandomPuzzleTest, NoRepeatUntilThePoolIsUsedUpThenNoneOfTheLastSeven) {
    const int poolSize = 40;
    LoadedBank loaded(BankWithPool(poolSize));
    ASSERT_TRUE(loaded.loaded);
    const std::vector<int> ids = Draw(loaded.bank, 1000);
    for (int id : ids) {
        ASSERT_GE(id, 100);
        ASSERT_LT(id, 100 + poolSize);
    }
    EXPECT_TRUE(WindowsDistinct(std::vector<int>(ids.begin(), ids.begin() + poolSize),
                                static_cast<size_t>(poolSize)));
    EXPECT_TRUE(WindowsDistinct(ids, MN_RECENT_DEPTH + 1));
    EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), static_cast<size_t>(poolSize));
}

TEST_F(RandomPuzzleTest, PoolsOfSevenOrFewerCycleWithoutRepeatingTheLastOnes) {
    for (int poolSize : {1, 2, 3, 7, 8}) {
        SCOPED_TRACE(poolSize);
        Profile().Clear();
        LoadedBank loaded(BankWithPool(poolSize));
        const std::vector<int> ids = Draw(loaded.bank, 100);
        EXPECT_TRUE(WindowsDistinct(ids, static_cast<size_t>(std::min(poolSize, 8))));
        EXPECT_EQ(std::set<int>(ids.begin(), ids.end()).size(), static_cast<size_t>(poolSize));
    }
}

TEST_F(RandomPuzzleTest, TheSameSeedGivesTheSameDraws) {
    LoadedBank loaded(BankWithPool(30));
    const std::vector<int> first = Draw(loaded.bank, 100);
    Profile().Clear();
    MNProfile::GetRandomGen()->seed(2024);
    EXPECT_EQ(Draw(loaded.bank, 100), first);
    Profile().Clear();
    MNProfile::GetRandomGen()->seed(7);
    EXPECT_NE(Draw(loaded.bank, 100), first);
}

TEST_F(RandomPuzzleTest, DrawsAreMarkedInTheGivenRecordOnly) {
    LoadedBank loaded(BankWithPool(10));
    const int id = Draw(loaded.bank, 1)[0];
    const int index = loaded.bank.FindEntry(id);
    EXPECT_TRUE(Profile().GetSaveData()->IsPlayed(index));
    EXPECT_TRUE(Profile().GetSaveData()->IsRecent(kPoolType, index, 1));
    EXPECT_FALSE(MNProfileManager::GetProfile(0)->GetSaveData()->IsPlayed(index));

    const MNSaveData before = MNProfileManager::GetSaveData();
    const std::vector<int> ids = Draw(loaded.bank, 50, nullptr);
    EXPECT_EQ(std::memcmp(&before.profiles[1].playedBits,
                          &MNProfileManager::GetSaveData().profiles[1].playedBits,
                          sizeof(before.profiles[1].playedBits)),
              0);
    EXPECT_GT(std::set<int>(ids.begin(), ids.end()).size(), 1u);
}

TEST_F(RandomPuzzleTest, RandomPuzzleIsLoadedFromTheBank) {
    LoadedBank loaded(BankWithPool(5));
    Puzzle* puzzle =
        loaded.bank.GetRandomPuzzle(kPoolType, kPoolDifficulty, LANGUAGE_UK_ENGLISH,
                                    *MNProfile::GetRandomGen(), Profile().GetSaveData());
    ASSERT_NE(puzzle, nullptr);
    ASSERT_EQ(puzzle->GetType(), PUZZLE_TYPE_SUDOKU);
    const int id = static_cast<SudokuPuzzle*>(puzzle)->m_sudoku->puzzleID;
    EXPECT_TRUE(Profile().GetSaveData()->IsPlayed(loaded.bank.FindEntry(id)));
}

TEST_F(RandomPuzzleTest, NoPuzzleOfTheKindGivesNullAndALoggedLine) {
    LoadedBank loaded(BankWithPool(5));
    const struct {
        int type;
        ePuzzleDifficulty difficulty;
        int language;
    } empty[] = {
        {PUZZLE_TYPE_CROSSWORD, kPoolDifficulty, LANGUAGE_UK_ENGLISH},
        {kPoolType, PUZZLE_DIFFICULTY_MINI, LANGUAGE_UK_ENGLISH},
        {9, kPoolDifficulty, LANGUAGE_UK_ENGLISH},
    };
    for (const auto& pool : empty) {
        LogCapture log;
        kmRandomMersenneTwister& random = *MNProfile::GetRandomGen();
        MNSaveProfileData* const record = Profile().GetSaveData();
        EXPECT_EQ(loaded.bank.GetRandomPuzzleId(pool.type, pool.difficulty, pool.language, random,
                                                record),
                  -1);
        EXPECT_EQ(
            loaded.bank.GetRandomPuzzle(pool.type, pool.difficulty, pool.language, random, record),
            nullptr);
        EXPECT_EQ(log.CountContaining("Couldn't get a puzzle ID"), 1);
    }
}

} // namespace
