// Small puzzle records of every kind (crosswords and fitwords also drawn as rows of letters),
// field-by-field comparison of records and banks written by the bank writer, for the puzzle
// tests.
#pragma once

#include "log_capture.h"

#include <services/puzzle.h>
#include <services/puzzlebank.h>
#include <services/puzzlebankwriter.h>

#include <kelvo/io/kmemoryiostream.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace puzzle_test {

using namespace Kelvo_lib;

using test_support::LogCapture;

template <int N>
void CopyText(char (&out)[N], const char* text) {
    std::memset(out, 0, N);
    std::strncpy(out, text, N - 1);
}

// A record numbered id, its old number id + 1000.
template <class Record>
Record Numbered(int id) {
    Record record;
    record.puzzleID = id;
    record.oldPuzzleID = id + 1000;
    return record;
}

// A 9 x 9 (or 6 x 6) sudoku whose every other cell is given.
inline SudokuData MakeSudoku(int id, int size) {
    SudokuData sudoku = Numbered<SudokuData>(id);
    sudoku.language = PUZZLE_LANGUAGE_ALL;
    sudoku.size = static_cast<u8>(size);
    sudoku.difficulty = size == 6 ? 0 : 2;
    const int boxRows = size == 9 ? 3 : 2;
    for (int row = 0; row < size; ++row) {
        for (int col = 0; col < size; ++col) {
            const int cell = row * size + col;
            sudoku.solution[cell] = static_cast<u8>((row * 3 + row / boxRows + col) % size + 1);
            sudoku.givens[cell] = cell % 2 == 0 ? sudoku.solution[cell] : 0;
        }
    }
    return sudoku;
}

// CAT across the top row, COD down the first column, DOT across the bottom row of a
// 3 x 4 grid of filler letters.
inline WordsearchData MakeWordsearch(int id) {
    WordsearchData wordsearch = Numbered<WordsearchData>(id);
    wordsearch.numRows = 3;
    wordsearch.numCols = 4;
    wordsearch.difficulty = 1;
    wordsearch.language = 0;
    CopyText(wordsearch.title, "Animals and things");
    const char* letters = "CATXOQZYDOTW";
    wordsearch.gridMap.SetSize(12);
    std::memcpy(wordsearch.gridMap.Data(), letters, 12);
    const int trails[] = {0, 1, 2, 0, 4, 8, 8, 9, 10};
    for (int cell : trails) {
        wordsearch.wordTrails.Push(cell);
    }
    const char* words[] = {"CAT", "COD", "DOT"};
    for (int i = 0; i < 3; ++i) {
        WordsearchDataWord word{};
        word.cellStartIndex = i * 3;
        word.cellEndIndex = i * 3 + 2;
        CopyText(word.word, words[i]);
        wordsearch.words.Push(word);
    }
    wordsearch.numWords = 3;
    wordsearch.numTrailCells = 9;
    return wordsearch;
}

// A word of a crossword or fitword record; a fitword's has no clue.
template <class Record>
void AddGridWord(Record& record, bool bDown, int startCell, const std::string& word,
                 const std::string& clue) {
    auto& entry = record.words(record.words.Add());
    std::memset(&entry, 0, sizeof(entry));
    entry.bDirection = bDown;
    entry.startCell = startCell;
    CopyText(entry.word, word.c_str());
    if constexpr (requires { entry.clue; }) {
        CopyText(entry.clue, clue.c_str());
    }
}

// A 3 x 3 grid: CAT across the top, COW down the left, with a block in the middle.
template <class Record>
Record MakeGridRecord(int id) {
    Record record = Numbered<Record>(id);
    record.language = 0;
    record.numRows = 3;
    record.numCols = 3;
    record.difficulty = 3;
    record.spelloutIndex = 4;
    AddGridWord(record, false, 0, "CAT", "Purring pet (3)");
    AddGridWord(record, true, 0, "COW", "It gives milk (3)");
    const char* solution = "CATO\0\0W\0\0";
    for (int cell = 0; cell < 9; ++cell) {
        CrosswordDataCell data{CROSSWORD_NO_WORD, CROSSWORD_NO_WORD, CROSSWORD_NO_WORD,
                               CROSSWORD_NO_WORD};
        if (cell < 3) {
            data.wordIndexA = 0;
            data.wordLetterA = static_cast<u8>(cell);
        }
        if (cell % 3 == 0) {
            data.wordIndexD = 1;
            data.wordLetterD = static_cast<u8>(cell / 3);
        }
        record.cells.Push(data);
        record.cellsDone.Push(solution[cell]);
    }
    return record;
}

// A crossword or fitword record drawn as rows of letters ('#' for a block), with its words
// found the way the bank lists them: by start cell, the across word before the down word of
// a cell. A crossword's clues read "Clue for <word>".
template <class Record>
Record DrawnGridRecord(const std::vector<std::string>& rows, int id) {
    Record record = Numbered<Record>(id);
    record.numRows = static_cast<u8>(rows.size());
    record.numCols = static_cast<u8>(rows[0].size());
    record.difficulty = 1;
    const int cols = record.numCols;
    const int cells = record.numRows * cols;
    auto letter = [&](int row, int col) {
        return row >= 0 && col >= 0 && row < record.numRows && col < cols && rows[row][col] != '#'
                   ? rows[row][col]
                   : '\0';
    };
    for (int cell = 0; cell < cells; ++cell) {
        record.cellsDone.Push(letter(cell / cols, cell % cols));
        record.cells.Push(CrosswordDataCell{CROSSWORD_NO_WORD, 0, CROSSWORD_NO_WORD, 0});
    }
    for (int cell = 0; cell < cells; ++cell) {
        const int row = cell / cols;
        const int col = cell % cols;
        for (bool bDown : {false, true}) {
            const int dr = bDown ? 1 : 0;
            const int dc = bDown ? 0 : 1;
            if (!letter(row, col) || letter(row - dr, col - dc) || !letter(row + dr, col + dc)) {
                continue;
            }
            std::string word;
            for (int n = 0; letter(row + n * dr, col + n * dc); ++n) {
                CrosswordDataCell& through = record.cells((row + n * dr) * cols + col + n * dc);
                (bDown ? through.wordIndexD : through.wordIndexA) =
                    static_cast<u8>(record.words.Size());
                (bDown ? through.wordLetterD : through.wordLetterA) = static_cast<u8>(n);
                word += letter(row + n * dr, col + n * dc);
            }
            AddGridWord(record, bDown, cell, word, "Clue for " + word);
        }
    }
    return record;
}

inline SpelloutData MakeSpellout() {
    SpelloutData spellout;
    CopyText(spellout.word, "ACT");
    for (int cell : {2, 1, 3}) {
        spellout.cells.Push(cell);
    }
    spellout.difficulty = 2;
    return spellout;
}

template <class T>
std::vector<T> Elements(const kArray<T>& array) {
    return std::vector<T>(array.Data(), array.Data() + array.Size());
}

// The numbers, language and difficulty every record but a hidden word's has, and the grid's
// rows and columns where it has them.
template <class Record>
void ExpectSameHeading(const Record& a, const Record& b) {
    EXPECT_EQ(a.puzzleID, b.puzzleID);
    EXPECT_EQ(a.oldPuzzleID, b.oldPuzzleID);
    EXPECT_EQ(a.language, b.language);
    EXPECT_EQ(a.difficulty, b.difficulty);
    if constexpr (requires { a.numRows; }) {
        EXPECT_EQ(a.numRows, b.numRows);
        EXPECT_EQ(a.numCols, b.numCols);
    }
}

inline void ExpectSame(const SudokuData& a, const SudokuData& b) {
    ExpectSameHeading(a, b);
    EXPECT_EQ(a.size, b.size);
    EXPECT_EQ(0, std::memcmp(a.givens, b.givens, sizeof(a.givens)));
    EXPECT_EQ(0, std::memcmp(a.solution, b.solution, sizeof(a.solution)));
}

inline void ExpectSame(const WordsearchData& a, const WordsearchData& b) {
    ExpectSameHeading(a, b);
    EXPECT_EQ(a.numWords, b.numWords);
    EXPECT_EQ(a.numTrailCells, b.numTrailCells);
    EXPECT_STREQ(a.title, b.title);
    EXPECT_EQ(Elements(a.wordTrails), Elements(b.wordTrails));
    EXPECT_EQ(Elements(a.gridMap), Elements(b.gridMap));
    ASSERT_EQ(a.words.Size(), b.words.Size());
    for (int i = 0; i < a.words.Size(); ++i) {
        EXPECT_EQ(a.words(i).cellStartIndex, b.words(i).cellStartIndex);
        EXPECT_EQ(a.words(i).cellEndIndex, b.words(i).cellEndIndex);
        EXPECT_STREQ(a.words(i).word, b.words(i).word);
    }
}

inline void ExpectSame(const SpelloutData& a, const SpelloutData& b) {
    EXPECT_STREQ(a.word, b.word);
    EXPECT_EQ(Elements(a.cells), Elements(b.cells));
    EXPECT_EQ(a.difficulty, b.difficulty);
}

// Crossword and fitword records.
template <class Record>
void ExpectSameGrid(const Record& a, const Record& b) {
    ExpectSameHeading(a, b);
    EXPECT_EQ(a.spelloutIndex, b.spelloutIndex);
    EXPECT_EQ(Elements(a.cellsDone), Elements(b.cellsDone));
    ASSERT_EQ(a.cells.Size(), b.cells.Size());
    for (int i = 0; i < a.cells.Size(); ++i) {
        EXPECT_EQ(0, std::memcmp(&a.cells(i), &b.cells(i), sizeof(CrosswordDataCell))) << i;
    }
    ASSERT_EQ(a.words.Size(), b.words.Size());
    for (int i = 0; i < a.words.Size(); ++i) {
        EXPECT_EQ(a.words(i).bDirection, b.words(i).bDirection);
        EXPECT_EQ(a.words(i).startCell, b.words(i).startCell);
        EXPECT_STREQ(a.words(i).word, b.words(i).word);
        if constexpr (requires { a.words(i).clue; }) {
            EXPECT_STREQ(a.words(i).clue, b.words(i).clue);
        }
    }
}

inline std::vector<u8> BankBytes(const PuzzleBankWriter& writer) {
    kArray<u8> file;
    writer.Write(file);
    return std::vector<u8>(file.Data(), file.Data() + file.Size());
}

// A bank loaded from bytes that stay with it.
class LoadedBank {
public:
    explicit LoadedBank(std::vector<u8> bytes)
        : m_bytes(std::move(bytes)),
          m_stream(m_bytes.data(), static_cast<unsigned int>(m_bytes.size()), K_IO_ACCESS_READ) {
        loaded = bank.Load(&m_stream);
    }
    LoadedBank(const LoadedBank&) = delete;
    LoadedBank& operator=(const LoadedBank&) = delete;

    PuzzleBank bank;
    bool loaded = false;

private:
    std::vector<u8> m_bytes;
    kMemoryIOStream m_stream;
};

} // namespace puzzle_test
