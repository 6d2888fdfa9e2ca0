// Fitword records drawn as rows of letters ('#' for a block), with their words found the way
// the bank lists them: by start cell, the across word before the down word of a cell.
#pragma once

#include "puzzle_test_support.h"

#include <string>
#include <vector>

namespace fitword_test {

using namespace Kelvo_lib;

inline FitwordData MakeFitword(const std::vector<std::string>& rows, int id = 9) {
    FitwordData record;
    record.puzzleID = id;
    record.oldPuzzleID = id + 1000;
    record.numRows = static_cast<u8>(rows.size());
    record.numCols = static_cast<u8>(rows[0].size());
    record.difficulty = 1;
    const int cols = record.numCols;
    auto letter = [&](int row, int col) {
        return row >= 0 && col >= 0 && row < record.numRows && col < cols && rows[row][col] != '#'
                   ? rows[row][col]
                   : '\0';
    };
    for (int cell = 0; cell < record.numRows * cols; ++cell) {
        record.cellsDone.Push(letter(cell / cols, cell % cols));
        record.cells.Push(CrosswordDataCell{CROSSWORD_NO_WORD, 0, CROSSWORD_NO_WORD, 0});
    }
    for (int cell = 0; cell < record.numRows * cols; ++cell) {
        const int row = cell / cols;
        const int col = cell % cols;
        for (bool bDown : {false, true}) {
            const int dr = bDown ? 1 : 0;
            const int dc = bDown ? 0 : 1;
            if (!letter(row, col) || letter(row - dr, col - dc) || !letter(row + dr, col + dc)) {
                continue;
            }
            FitwordDataWord& entry = record.words(record.words.Add());
            std::memset(&entry, 0, sizeof(entry));
            entry.bDirection = bDown;
            entry.startCell = cell;
            for (int n = 0; letter(row + n * dr, col + n * dc); ++n) {
                CrosswordDataCell& through = record.cells((row + n * dr) * cols + col + n * dc);
                (bDown ? through.wordIndexD : through.wordIndexA) =
                    static_cast<u8>(record.words.Size() - 1);
                (bDown ? through.wordLetterD : through.wordLetterA) = static_cast<u8>(n);
                entry.word[n] = letter(row + n * dr, col + n * dc);
            }
        }
    }
    return record;
}

// Slots: 0 CAT across, 1 COW down, 2 TEE down, 3 WEE across; all of three letters.
inline FitwordData SmallFitword() {
    return MakeFitword({"CAT", "O#E", "WEE"});
}

// Slots of two lengths: 0 SEA across, 1 SON down, 2 AT down.
inline FitwordData TwoLengthFitword() {
    return MakeFitword({"SEA", "O#T", "N##"});
}

} // namespace fitword_test
