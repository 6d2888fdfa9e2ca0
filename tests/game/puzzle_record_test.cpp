// Every puzzle record kind written to a bank and read back equal, and the records the
// bank writer refuses because the bank's reader would.
#include "puzzle_test_support.h"

#include <functional>

using namespace puzzle_test;

namespace {

template <class Kind>
Kind* Get(PuzzleBank& bank, int id, int language = 0) {
    return dynamic_cast<Kind*>(bank.GetPuzzle(id, language));
}

TEST(PuzzleRecordRoundTrip, SudokusOfBothSizesReadBackEqual) {
    const SudokuData nine = MakeSudoku(1, 9);
    const SudokuData six = MakeSudoku(2, 6);
    PuzzleBankWriter writer;
    ASSERT_TRUE(writer.AddSudoku(nine));
    ASSERT_TRUE(writer.AddSudoku(six));
    LoadedBank loaded(BankBytes(writer));
    ASSERT_TRUE(loaded.loaded);
    for (const SudokuData* expected : {&nine, &six}) {
        SudokuPuzzle* puzzle = Get<SudokuPuzzle>(loaded.bank, expected->puzzleID, 5);
        ASSERT_NE(puzzle, nullptr);
        EXPECT_EQ(puzzle->GetType(), PUZZLE_TYPE_SUDOKU);
        ExpectSame(*puzzle->m_sudoku, *expected);
    }
}

TEST(PuzzleRecordRoundTrip, WordsearchReadsBackEqualInOneOrAllLanguages) {
    const WordsearchData english = MakeWordsearch(1);
    WordsearchData everywhere = MakeWordsearch(2);
    everywhere.language = 255;
    CopyText(everywhere.title, std::string(127, 'T').c_str());
    PuzzleBankWriter writer;
    ASSERT_TRUE(writer.AddWordsearch(english));
    ASSERT_TRUE(writer.AddWordsearch(everywhere));
    LoadedBank loaded(BankBytes(writer));
    ASSERT_TRUE(loaded.loaded);
    EXPECT_EQ(loaded.bank.GetEntry(1).language, PUZZLE_LANGUAGE_ALL);
    WordsearchPuzzle* puzzle = Get<WordsearchPuzzle>(loaded.bank, 1);
    ASSERT_NE(puzzle, nullptr);
    ExpectSame(*puzzle->m_wordsearch, english);
    puzzle = Get<WordsearchPuzzle>(loaded.bank, 2, 7);
    ASSERT_NE(puzzle, nullptr);
    ExpectSame(*puzzle->m_wordsearch, everywhere);
}

// The grid record of puzzle id as Kind holds it in its member record, and its hidden word.
template <class Kind, class Record>
void ExpectGridReadBack(PuzzleBank& bank, int id, Record* Kind::*record, const Record& expected,
                        const SpelloutData* hidden) {
    Kind* puzzle = Get<Kind>(bank, id);
    ASSERT_NE(puzzle, nullptr) << id;
    ExpectSameGrid(*(puzzle->*record), expected);
    if (hidden == nullptr) {
        EXPECT_EQ(puzzle->m_spellout, nullptr) << id;
        return;
    }
    ASSERT_NE(puzzle->m_spellout, nullptr) << id;
    ExpectSame(*puzzle->m_spellout, *hidden);
}

TEST(PuzzleRecordRoundTrip, CrosswordsAndFitwordsReadBackEqualWithAndWithoutHiddenWord) {
    CrosswordData crossword = MakeGridRecord<CrosswordData>(1);
    CopyText(crossword.words(0).clue, std::string(511, 'c').c_str());
    const CrosswordData hiddenCrossword = MakeGridRecord<CrosswordData>(2);
    const FitwordData fitword = MakeGridRecord<FitwordData>(3);
    const FitwordData hiddenFitword = MakeGridRecord<FitwordData>(4);
    const SpelloutData hidden = MakeSpellout();
    PuzzleBankWriter writer;
    ASSERT_TRUE(writer.AddCrossword(crossword, nullptr));
    ASSERT_TRUE(writer.AddCrossword(hiddenCrossword, &hidden));
    ASSERT_TRUE(writer.AddFitword(fitword, nullptr));
    ASSERT_TRUE(writer.AddFitword(hiddenFitword, &hidden));
    LoadedBank loaded(BankBytes(writer));
    ASSERT_TRUE(loaded.loaded);
    ExpectGridReadBack(loaded.bank, 1, &CrosswordPuzzle::m_crossword, crossword, nullptr);
    ExpectGridReadBack(loaded.bank, 2, &CrosswordPuzzle::m_crossword, hiddenCrossword, &hidden);
    ExpectGridReadBack(loaded.bank, 3, &FitwordPuzzle::m_fitword, fitword, nullptr);
    ExpectGridReadBack(loaded.bank, 4, &FitwordPuzzle::m_fitword, hiddenFitword, &hidden);
}

struct Refusal {
    const char* what;
    std::function<bool(PuzzleBankWriter&)> add;
    const char* logged;
};

template <class Change>
std::function<bool(PuzzleBankWriter&)> Sudoku(Change change) {
    return [change](PuzzleBankWriter& writer) {
        SudokuData sudoku = MakeSudoku(2, 9);
        change(sudoku);
        return writer.AddSudoku(sudoku);
    };
}

template <class Change>
std::function<bool(PuzzleBankWriter&)> Wordsearch(Change change) {
    return [change](PuzzleBankWriter& writer) {
        WordsearchData wordsearch = MakeWordsearch(2);
        change(wordsearch);
        return writer.AddWordsearch(wordsearch);
    };
}

template <class Change>
std::function<bool(PuzzleBankWriter&)> Crossword(Change change) {
    return [change](PuzzleBankWriter& writer) {
        CrosswordData crossword = MakeGridRecord<CrosswordData>(2);
        SpelloutData spellout = MakeSpellout();
        change(crossword, spellout);
        return writer.AddCrossword(crossword, &spellout);
    };
}

TEST(PuzzleBankWriter, RefusesWhatTheReaderWouldRefuse) {
    const Refusal refusals[] = {
        {"taken id", Sudoku([](SudokuData& s) { s.puzzleID = 1; }), "bank id already taken"},
        {"sudoku size", Sudoku([](SudokuData& s) { s.size = 7; }), "not 9 or 6"},
        {"given unlike solution", Sudoku([](SudokuData& s) { s.givens[0] = s.solution[1]; }),
         "given unlike the solution"},
        {"digit beyond size", Sudoku([](SudokuData& s) { s.solution[80] = 10; }),
         "digit out of range"},
        {"difficulty", Sudoku([](SudokuData& s) { s.difficulty = 4; }), "difficulty out of range"},
        {"language", Sudoku([](SudokuData& s) { s.language = 8; }), "language out of range"},
        {"word longer than its trail",
         Wordsearch([](WordsearchData& w) { CopyText(w.words(0).word, "CATS"); }),
         "does not match its trail"},
        {"trail outside grid", Wordsearch([](WordsearchData& w) { w.wordTrails(2) = 12; }),
         "trail cell outside the grid"},
        {"trail past its end", Wordsearch([](WordsearchData& w) { w.words(2).cellEndIndex = 9; }),
         "does not match its trail"},
        {"trail that bends", Wordsearch([](WordsearchData& w) {
             w.wordTrails(5) = 9;
             CopyText(w.words(1).word, "COO");
         }),
         "not a straight line"},
        {"trail that wraps a row", Wordsearch([](WordsearchData& w) {
             w.wordTrails(0) = 2;
             w.wordTrails(1) = 3;
             w.wordTrails(2) = 4;
             CopyText(w.words(0).word, "TXO");
         }),
         "not a straight line"},
        {"letters unlike the word",
         Wordsearch([](WordsearchData& w) { CopyText(w.words(0).word, "CAB"); }),
         "not a straight line"},
        {"grid of 16 rows", Wordsearch([](WordsearchData& w) {
             w.numRows = 16;
             w.numCols = 1;
             w.gridMap.SetSize(16);
         }),
         "grid size out of range"},
        {"25 words", Wordsearch([](WordsearchData& w) {
             while (w.words.Size() < 25) {
                 w.words.Push(w.words(0));
             }
         }),
         "too many words"},
        {"word beyond the grid",
         Crossword([](CrosswordData& c, SpelloutData&) { c.words(0).startCell = 1; }),
         "does not fit the grid"},
        {"cell naming a missing word",
         Crossword([](CrosswordData& c, SpelloutData&) { c.cells(4).wordIndexA = 2; }),
         "names a word or letter"},
        {"cell naming a missing letter",
         Crossword([](CrosswordData& c, SpelloutData&) { c.cells(6).wordLetterD = 3; }),
         "names a word or letter"},
        {"no words", Crossword([](CrosswordData& c, SpelloutData&) { c.words.Empty(); }),
         "grid word count out of range"},
        {"letter unlike its word",
         Crossword([](CrosswordData& c, SpelloutData&) { c.cellsDone(2) = 'X'; }),
         "disagree with the words"},
        {"word's cell naming another letter",
         Crossword([](CrosswordData& c, SpelloutData&) { c.cells(1).wordLetterA = 2; }),
         "disagree with the words"},
        {"down word in the across slot", Crossword([](CrosswordData& c, SpelloutData&) {
             c.cells(3).wordIndexA = 1;
             c.cells(3).wordLetterA = 1;
         }),
         "disagree with the words"},
        {"unterminated clue", Crossword([](CrosswordData& c, SpelloutData&) {
             std::memset(c.words(1).clue, 'x', sizeof(c.words(1).clue));
         }),
         "grid body is truncated"},
        {"cells unlike the grid", Crossword([](CrosswordData& c, SpelloutData&) { c.numCols = 4; }),
         "do not match the grid"},
        {"hidden word cell 0", Crossword([](CrosswordData&, SpelloutData& s) { s.cells(0) = 0; }),
         "hidden word cell outside the grid"},
        {"hidden word cell past the grid",
         Crossword([](CrosswordData&, SpelloutData& s) { s.cells(2) = 10; }),
         "hidden word cell outside the grid"},
        {"empty hidden word", Crossword([](CrosswordData&, SpelloutData& s) { s.word[0] = 0; }),
         "hidden word body is malformed"},
    };
    for (const Refusal& refusal : refusals) {
        PuzzleBankWriter writer;
        ASSERT_TRUE(writer.AddSudoku(MakeSudoku(1, 6)));
        LogCapture log;
        EXPECT_FALSE(refusal.add(writer)) << refusal.what;
        EXPECT_TRUE(log.Contains(refusal.logged)) << refusal.what;
        EXPECT_EQ(writer.GetNumEntries(), 1) << refusal.what;
        LoadedBank loaded(BankBytes(writer));
        EXPECT_TRUE(loaded.loaded) << refusal.what;
        EXPECT_EQ(loaded.bank.GetNumEntries(), 1) << refusal.what;
    }
}

TEST(PuzzleBankWriter, HoldsAtMost1536Entries) {
    PuzzleBankWriter writer;
    for (int id = 0; id < PUZZLE_BANK_MAX_ENTRIES; ++id) {
        ASSERT_TRUE(writer.AddSudoku(MakeSudoku(id, 6)));
    }
    LogCapture log;
    EXPECT_FALSE(writer.AddSudoku(MakeSudoku(PUZZLE_BANK_MAX_ENTRIES, 6)));
    EXPECT_TRUE(log.Contains("the bank is full"));
    LoadedBank loaded(BankBytes(writer));
    ASSERT_TRUE(loaded.loaded);
    EXPECT_EQ(loaded.bank.GetNumEntries(), PUZZLE_BANK_MAX_ENTRIES);
    SudokuPuzzle* last = Get<SudokuPuzzle>(loaded.bank, PUZZLE_BANK_MAX_ENTRIES - 1);
    ASSERT_NE(last, nullptr);
    ExpectSame(*last->m_sudoku, MakeSudoku(PUZZLE_BANK_MAX_ENTRIES - 1, 6));
}

} // namespace
