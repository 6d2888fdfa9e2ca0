// The rules a game mode gives a puzzle record, built the way the modes build them, for the
// tests that set a puzzle model or screen up as a mode would.
#pragma once

#include <modes/mnpuzzlemode.h>
#include <services/puzzle.h>

namespace puzzle_test {

using namespace Kelvo_lib;

inline int TypeFlagOf(const SudokuData&) {
    return PUZZLE_FLAG_SUDOKU;
}
inline int TypeFlagOf(const FitwordData&) {
    return PUZZLE_FLAG_FITWORD;
}
inline int TypeFlagOf(const CrosswordData&) {
    return PUZZLE_FLAG_CROSSWORD;
}
inline int TypeFlagOf(const WordsearchData&) {
    return PUZZLE_FLAG_WORDSEARCH;
}

template <class Record>
requires requires(const Record& record) {
    TypeFlagOf(record);
}
MNPuzzleRules ModeRules(int gameMode, const Record& record) {
    return MNPuzzleMode::RulesOf(gameMode, TypeFlagOf(record),
                                 DifficultyOfBankValue(record.difficulty));
}

// A bank's puzzle, by its bank type.
inline MNPuzzleRules ModeRules(int gameMode, const Puzzle& puzzle) {
    constexpr int kFlagOfType[] = {0, PUZZLE_FLAG_CROSSWORD, PUZZLE_FLAG_WORDSEARCH,
                                   PUZZLE_FLAG_FITWORD, PUZZLE_FLAG_SUDOKU};
    return MNPuzzleMode::RulesOf(gameMode, kFlagOfType[puzzle.GetType()], puzzle.GetDifficulty());
}

} // namespace puzzle_test
