// The puzzle kinds and difficulties as the bank, the modes and the profiles number
// them. Plain values and their mapping, shared by every puzzle subsystem; no state.
#pragma once

namespace Kelvo_lib {

// Puzzle type numbers of the bank.
enum ePuzzleType {
    PUZZLE_TYPE_CROSSWORD = 1,
    PUZZLE_TYPE_WORDSEARCH = 2,
    PUZZLE_TYPE_FITWORD = 3,
    PUZZLE_TYPE_SUDOKU = 4,
};

// Puzzle type bits of the modes, profiles and hints.
enum ePuzzleTypeFlag {
    PUZZLE_FLAG_FITWORD = 1,
    PUZZLE_FLAG_CROSSWORD = 2,
    PUZZLE_FLAG_WORDSEARCH = 4,
    PUZZLE_FLAG_SUDOKU = 8,
    PUZZLE_FLAG_ANAGRAM = 16, // while an anagram runs after a puzzle
};

// The bank's ePuzzleType of an ePuzzleTypeFlag, 0 for none.
constexpr int PuzzleBankType(int typeFlag) {
    switch (typeFlag) {
    case PUZZLE_FLAG_SUDOKU:
        return PUZZLE_TYPE_SUDOKU;
    case PUZZLE_FLAG_FITWORD:
        return PUZZLE_TYPE_FITWORD;
    case PUZZLE_FLAG_CROSSWORD:
        return PUZZLE_TYPE_CROSSWORD;
    case PUZZLE_FLAG_WORDSEARCH:
        return PUZZLE_TYPE_WORDSEARCH;
    default:
        return 0;
    }
}

// Bank difficulty; the modes' beginner, intermediate and pro are 1 to 3.
enum ePuzzleDifficulty {
    PUZZLE_DIFFICULTY_MINI = 0,
    PUZZLE_DIFFICULTY_BEGINNER = 1,
    PUZZLE_DIFFICULTY_INTERMEDIATE = 2,
    PUZZLE_DIFFICULTY_PRO = 3,
};

// A puzzle's state: set up, its clock running, or over: failed, abandoned, or completed
// (solved, or ended by the debug key).
enum ePuzzleState {
    PUZZLE_STATE_IDLE = 0,
    PUZZLE_STATE_PLAYING = 1,
    PUZZLE_STATE_FAILED = 2,
    PUZZLE_STATE_ABANDONED = 3,
    PUZZLE_STATE_COMPLETED = 4,
};

// Hint kinds per puzzle, and the allowance of a kind that is not rationed.
constexpr int PUZZLE_HINT_KINDS = 3;
constexpr int PUZZLE_HINTS_UNLIMITED = -1;

// "All languages" in a record's or a bank entry's language field.
constexpr int PUZZLE_LANGUAGE_ALL = -1;

} // namespace Kelvo_lib
