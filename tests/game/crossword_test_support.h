// Crossword records drawn as rows of letters ('#' for a block), with their words found the
// way the bank lists them: by start cell, the across word before the down word of a cell.
#pragma once

#include "puzzle_test_support.h"

#include <string>
#include <vector>

namespace crossword_test {

using namespace Kelvo_lib;

inline void AddWord(CrosswordData& record, bool bDown, int start, const std::string& word) {
    CrosswordDataWord& entry = record.words(record.words.Add());
    std::memset(&entry, 0, sizeof(entry));
    entry.bDirection = bDown;
    entry.startCell = start;
    puzzle_test::CopyText(entry.word, word.c_str());
    puzzle_test::CopyText(entry.clue, ("Clue for " + word).c_str());
}

inline CrosswordData MakeCrossword(const std::vector<std::string>& rows, int id = 7) {
    CrosswordData record;
    record.puzzleID = id;
    record.oldPuzzleID = id + 1000;
    record.language = 0;
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
            AddWord(record, bDown, cell, word);
        }
    }
    return record;
}

// Words: 0 CAT across, 1 COW down and 2 TEE down (clue numbers 1, 1, 2), 3 WEE across (3).
inline CrosswordData SmallCrossword() {
    return MakeCrossword({"CAT", "O#E", "WEE"});
}

} // namespace crossword_test
