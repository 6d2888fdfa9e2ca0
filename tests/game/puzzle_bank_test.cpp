// The puzzle bank: its index, lookups by id and language, stepping through the ids of a
// kind, the ladders a loaded save keeps against it, loading a language's file from the
// disc, and damaged files, which must load nothing (or give null for a record) with a
// logged error.
#include "puzzle_test_support.h"
#include "temporary_host_directory.h"

#include <services/mnsaveranges.h>

using namespace puzzle_test;

namespace {

// Byte offsets in a written bank: the header's entry count, the index entries, and
// fields within an entry.
constexpr std::size_t kEntryCountAt = 24;
constexpr std::size_t kFirstEntryAt = 36;
constexpr std::size_t kEntryIdAt = 0;
constexpr std::size_t kEntryTypeAt = 8;
constexpr std::size_t kEntryOffsetAt = 12;

void PutBig32(std::vector<u8>& bytes, std::size_t at, u32 value) {
    for (int i = 0; i < 4; ++i) {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<u8>(value >> (24 - 8 * i));
    }
}

std::size_t EntryAt(int index) {
    return kFirstEntryAt + static_cast<std::size_t>(index) * PUZZLE_BANK_ENTRY_SIZE;
}

SudokuData SudokuOf(int id, int difficulty, int language) {
    SudokuData sudoku = MakeSudoku(id, 9);
    sudoku.difficulty = static_cast<u8>(difficulty);
    sudoku.language = language;
    return sudoku;
}

// One record of every kind, two with hidden words.
std::vector<u8> MixedBank() {
    PuzzleBankWriter writer;
    const SpelloutData hidden = MakeSpellout();
    writer.AddSudoku(MakeSudoku(1, 9));
    writer.AddSudoku(MakeSudoku(2, 6));
    writer.AddWordsearch(MakeWordsearch(3));
    writer.AddCrossword(MakeGridRecord<CrosswordData>(4), &hidden);
    writer.AddFitword(MakeGridRecord<FitwordData>(5), &hidden);
    writer.AddCrossword(MakeGridRecord<CrosswordData>(6), nullptr);
    return BankBytes(writer);
}

TEST(PuzzleBank, IndexIsInAscendingBankIdWhateverTheOrderAdded) {
    PuzzleBankWriter writer;
    for (int id : {30, 10, 20}) {
        writer.AddSudoku(SudokuOf(id, 1, 0));
    }
    LoadedBank loaded(BankBytes(writer));
    ASSERT_TRUE(loaded.loaded);
    ASSERT_EQ(loaded.bank.GetNumEntries(), 3);
    EXPECT_EQ(loaded.bank.GetEntry(0).id, 10);
    EXPECT_EQ(loaded.bank.GetEntry(2).id, 30);
    EXPECT_EQ(loaded.bank.GetEntry(1).oldId, 1020);
    EXPECT_EQ(loaded.bank.FindEntry(20), 1);
    EXPECT_EQ(loaded.bank.FindEntry(15), -1);
}

TEST(PuzzleBank, EmptyBankLoadsAndHasNoPuzzles) {
    LoadedBank loaded(BankBytes(PuzzleBankWriter()));
    ASSERT_TRUE(loaded.loaded);
    EXPECT_EQ(loaded.bank.GetNumEntries(), 0);
    LogCapture log;
    EXPECT_EQ(loaded.bank.GetPuzzle(1, 0), nullptr);
    EXPECT_TRUE(log.Contains("no puzzle 1"));
}

TEST(PuzzleBank, GetPuzzleGivesOnlyPuzzlesOfTheLanguageOrOfAll) {
    PuzzleBankWriter writer;
    writer.AddSudoku(SudokuOf(1, 1, 0));
    writer.AddSudoku(SudokuOf(2, 1, PUZZLE_LANGUAGE_ALL));
    writer.AddSudoku(SudokuOf(3, 1, 6));
    LoadedBank loaded(BankBytes(writer));
    ASSERT_TRUE(loaded.loaded);
    EXPECT_NE(loaded.bank.GetPuzzle(1, 0), nullptr);
    EXPECT_NE(loaded.bank.GetPuzzle(2, 4), nullptr);
    EXPECT_NE(loaded.bank.GetPuzzle(3, 6), nullptr);
    LogCapture log;
    EXPECT_EQ(loaded.bank.GetPuzzle(1, 6), nullptr);
    EXPECT_TRUE(log.Contains("puzzle 1 is not in language 6"));
    EXPECT_EQ(loaded.bank.GetPuzzle(3, 0), nullptr);
}

TEST(PuzzleBank, StepsThroughIdsOfTheKindInBankOrderAndStopsPastEitherEnd) {
    PuzzleBankWriter writer;
    writer.AddSudoku(SudokuOf(1, 1, 0));
    writer.AddSudoku(SudokuOf(2, 2, 0));
    writer.AddSudoku(SudokuOf(3, 1, 0));
    writer.AddSudoku(SudokuOf(4, 1, 6));
    writer.AddWordsearch(MakeWordsearch(5));
    writer.AddSudoku(SudokuOf(6, 1, PUZZLE_LANGUAGE_ALL));
    LoadedBank loaded(BankBytes(writer));
    ASSERT_TRUE(loaded.loaded);
    PuzzleBank& bank = loaded.bank;
    const ePuzzleDifficulty kBeginner = PUZZLE_DIFFICULTY_BEGINNER;

    int index = -1;
    std::vector<int> forward;
    for (int id = 0; id != -2;) {
        id = bank.GetNextPrevPuzzleId(index, PUZZLE_TYPE_SUDOKU, kBeginner, 0, false);
        forward.push_back(id);
    }
    EXPECT_EQ(forward, (std::vector<int>{1, 3, 6, -2}));
    EXPECT_EQ(index, 3);

    LogCapture log;
    EXPECT_EQ(bank.GetNextPrevPuzzleId(index, PUZZLE_TYPE_SUDOKU, kBeginner, 0, true), 6);
    EXPECT_EQ(index, 2);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"PREV 3,4,1,0", "3 puzzles"}));
    EXPECT_EQ(bank.GetNextPrevPuzzleId(index, PUZZLE_TYPE_SUDOKU, kBeginner, 0, true), 3);
    EXPECT_EQ(bank.GetNextPrevPuzzleId(index, PUZZLE_TYPE_SUDOKU, kBeginner, 0, true), 1);
    log.lines.clear();
    EXPECT_EQ(bank.GetNextPrevPuzzleId(index, PUZZLE_TYPE_SUDOKU, kBeginner, 0, true), -2);
    EXPECT_EQ(index, -1);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"PREV 0,4,1,0", "3 puzzles", "<=0"}));

    log.lines.clear();
    index = 3;
    EXPECT_EQ(bank.GetNextPrevPuzzleId(index, PUZZLE_TYPE_SUDOKU, kBeginner, 0, false), -2);
    EXPECT_EQ(log.lines, (std::vector<std::string>{"NEXT 3,4,1,0", "3 puzzles", ">=Size"}));

    index = -1;
    EXPECT_EQ(bank.GetNextPrevPuzzleId(index, PUZZLE_TYPE_SUDOKU, kBeginner, 6, false), 4);
    EXPECT_EQ(bank.GetNextPrevPuzzleId(index, PUZZLE_TYPE_SUDOKU, kBeginner, 6, false), 6);
    index = -1;
    EXPECT_EQ(bank.GetNextPrevPuzzleId(index, PUZZLE_TYPE_FITWORD, kBeginner, 0, false), -2);
    EXPECT_EQ(index, 0);
}

// A loaded ladder keeps its puzzles only while the bank holds each as its slot's kind in the
// language; a bank that did not load says nothing of them.
TEST(PuzzleBank, LadderWithASlotTheBankDoesNotHoldIsReset) {
    PuzzleBankWriter writer;
    writer.AddSudoku(SudokuOf(1, 1, 0));
    writer.AddSudoku(SudokuOf(2, 1, PUZZLE_LANGUAGE_ALL));
    LoadedBank full(BankBytes(writer));
    LoadedBank empty(BankBytes(PuzzleBankWriter()));
    ASSERT_TRUE(full.loaded && empty.loaded);
    const struct {
        const char* what;
        const PuzzleBank& bank;
        int typeFlag, id, language;
        bool bKept;
    } cases[] = {{"held", full.bank, PUZZLE_FLAG_SUDOKU, 1, 0, true},
                 {"held for all languages", full.bank, PUZZLE_FLAG_SUDOKU, 2, 6, true},
                 {"not in the bank", full.bank, PUZZLE_FLAG_SUDOKU, 3, 0, false},
                 {"of another kind", full.bank, PUZZLE_FLAG_CROSSWORD, 1, 0, false},
                 {"of another language", full.bank, PUZZLE_FLAG_SUDOKU, 1, 6, false},
                 {"bank not loaded", empty.bank, PUZZLE_FLAG_SUDOKU, 3, 0, true}};
    for (const auto& c : cases) {
        MNSaveData data;
        data.Clear();
        MNTournamentData& ladder = data.profiles[2].tournamentData;
        ladder.m_bNewGame = false;
        ladder.m_puzzleDataList[4] = {static_cast<char>(c.typeFlag), c.id, SLOT_OPEN, 0, 0, 0};
        BringLaddersIntoBank(data, c.bank, c.language);
        EXPECT_EQ(ladder.m_puzzleDataList[4].m_puzzleId, c.bKept ? c.id : -1) << c.what;
        EXPECT_EQ(ladder.m_bNewGame, !c.bKept) << c.what;
    }
}

TEST(PuzzleBank, FileNamesFollowTheLanguageCodes) {
    const struct {
        int language;
        const char* name;
    } names[] = {{0, "wii/puz_uken.kmn"},
                 {1, "wii/puz_fr.kmn"},
                 {2, "wii/puz_it.kmn"},
                 {3, "wii/puz_de.kmn"},
                 {4, "wii/puz_es.kmn"},
                 {5, "wii/puz_nl.kmn"},
                 {6, "wii/puz_usen.kmn"},
                 {7, "wii/puz_caen.kmn"},
                 {8, nullptr},
                 {-1, nullptr}};
    for (const auto& expected : names) {
        char name[32] = {};
        EXPECT_EQ(PuzzleBank::GetFileName(expected.language, name, sizeof(name)),
                  expected.name != nullptr)
            << expected.language;
        EXPECT_STREQ(name, expected.name != nullptr ? expected.name : "") << expected.language;
    }
    char small[16];
    EXPECT_FALSE(PuzzleBank::GetFileName(0, small, sizeof(small)));
}

TEST(PuzzleBankOnDisc, LoadsTheBankOfTheLanguage) {
    const test_support::TemporaryDisc disc;
    disc.Write("wii/puz_uken.kmn", MixedBank());
    PuzzleBank bank;
    ASSERT_TRUE(bank.Load(0));
    EXPECT_EQ(bank.GetNumEntries(), 6);
    Puzzle* puzzle = bank.GetPuzzle(3, 0);
    ASSERT_NE(puzzle, nullptr);
    EXPECT_EQ(puzzle->GetType(), PUZZLE_TYPE_WORDSEARCH);

    LogCapture log;
    EXPECT_FALSE(bank.Load(1));
    EXPECT_TRUE(log.Contains("cannot open wii/puz_fr.kmn"));
    EXPECT_EQ(bank.GetNumEntries(), 0);
    EXPECT_EQ(bank.GetPuzzle(3, 0), nullptr);
}

TEST(PuzzleBankOnDisc, CorruptFileLoadsNothing) {
    const test_support::TemporaryDisc disc;
    std::vector<u8> bytes = MixedBank();
    bytes[8] = 'X';
    disc.Write("wii/puz_de.kmn", bytes);
    PuzzleBank bank;
    LogCapture log;
    EXPECT_FALSE(bank.Load(3));
    EXPECT_TRUE(log.Contains("not a puzzle bank"));
    EXPECT_TRUE(log.Contains("wii/puz_de.kmn not loaded"));
    EXPECT_EQ(bank.GetNumEntries(), 0);
}

TEST(PuzzleBankDamage, EveryTruncationLoadsNothingWithALoggedError) {
    const std::vector<u8> bytes = MixedBank();
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        LogCapture log;
        LoadedBank loaded(std::vector<u8>(bytes.begin(), bytes.begin() + static_cast<long>(size)));
        EXPECT_FALSE(loaded.loaded) << size;
        EXPECT_EQ(loaded.bank.GetNumEntries(), 0) << size;
        EXPECT_TRUE(log.Contains("PuzzleBank: ")) << size;
    }
}

TEST(PuzzleBankDamage, DamagedIndexIsRefused) {
    const struct {
        const char* what;
        std::size_t at;
        u32 value;
        const char* logged;
    } damages[] = {
        {"too many entries", kEntryCountAt, PUZZLE_BANK_MAX_ENTRIES + 1, "too many entries"},
        {"count unlike the index", kEntryCountAt, 5, "index does not match the entry count"},
        {"offset before the records", EntryAt(0) + kEntryOffsetAt, 0, "points outside the records"},
        {"offset past the records", EntryAt(5) + kEntryOffsetAt, 0x7FFFFFFF,
         "points outside the records"},
        {"ids out of order", EntryAt(1) + kEntryIdAt, 1, "not in ascending bank id"},
        {"unknown type", EntryAt(2) + kEntryTypeAt, 0x09000000, "index entry out of range"},
        {"unknown language", EntryAt(2) + kEntryTypeAt, 0x02010800, "index entry out of range"},
    };
    for (const auto& damage : damages) {
        std::vector<u8> bytes = MixedBank();
        PutBig32(bytes, damage.at, damage.value);
        LogCapture log;
        LoadedBank loaded(bytes);
        EXPECT_FALSE(loaded.loaded) << damage.what;
        EXPECT_TRUE(log.Contains(damage.logged)) << damage.what;
    }
}

TEST(PuzzleBankDamage, RecordOfAnotherKindThanItsEntryGivesNull) {
    std::vector<u8> bytes = MixedBank();
    bytes[EntryAt(0) + kEntryTypeAt] = PUZZLE_TYPE_WORDSEARCH;
    LoadedBank loaded(bytes);
    ASSERT_TRUE(loaded.loaded);
    LogCapture log;
    EXPECT_EQ(loaded.bank.GetPuzzle(1, 0), nullptr);
    EXPECT_TRUE(log.Contains("puzzle 1: record group is damaged"));
    EXPECT_NE(loaded.bank.GetPuzzle(2, 0), nullptr);
}

} // namespace
