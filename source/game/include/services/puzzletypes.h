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

// How hard a puzzle is. The bank files each puzzle under one, by its value (BankValueOf):
// MINI the small puzzles, then the three levels the modes offer. Mode and profile records,
// the menus' choices and the tables by level number the levels from 0 (LevelOf). No number
// turns into a difficulty but through the conversions below.
enum class ePuzzleDifficulty : unsigned char {
    PUZZLE_DIFFICULTY_MINI = 0,
    PUZZLE_DIFFICULTY_BEGINNER = 1,
    PUZZLE_DIFFICULTY_INTERMEDIATE = 2,
    PUZZLE_DIFFICULTY_PRO = 3,
};
using enum ePuzzleDifficulty;

// The difficulties the bank knows, and the levels the modes offer, beginner first.
constexpr int PUZZLE_DIFFICULTIES = 4;
constexpr int PUZZLE_LEVELS = 3;
constexpr ePuzzleDifficulty PUZZLE_LEVEL_LIST[PUZZLE_LEVELS] = {
    PUZZLE_DIFFICULTY_BEGINNER, PUZZLE_DIFFICULTY_INTERMEDIATE, PUZZLE_DIFFICULTY_PRO};

// The value a bank entry or record stores for a difficulty (0 to 3), and the difficulty of a
// stored value, unchecked: one past pro stays past every table.
constexpr int BankValueOf(ePuzzleDifficulty difficulty) {
    return static_cast<int>(difficulty);
}
constexpr ePuzzleDifficulty DifficultyOfBankValue(unsigned int value) {
    return static_cast<ePuzzleDifficulty>(value);
}

// Whether a difficulty is one of the modes' levels: not MINI, not past pro.
constexpr bool IsLevel(ePuzzleDifficulty difficulty) {
    return difficulty >= PUZZLE_DIFFICULTY_BEGINNER && difficulty <= PUZZLE_DIFFICULTY_PRO;
}
// A level number brought within 0 to 2: the nearest level.
constexpr int LevelInRange(int level) {
    return level < 0 ? 0 : (level >= PUZZLE_LEVELS ? PUZZLE_LEVELS - 1 : level);
}
// A level's number in the records, the menus and the tables by level: 0 beginner,
// 1 intermediate, 2 pro; MINI counts as beginner and past pro as pro, so a table by level is
// never read outside.
constexpr int LevelOf(ePuzzleDifficulty difficulty) {
    return LevelInRange(BankValueOf(difficulty) - 1);
}
// The level of a number as LevelOf gives it; a number outside 0 to 2 is the nearest level, so
// that no level number ever draws MINI puzzles.
constexpr ePuzzleDifficulty DifficultyOfLevel(int level) {
    return PUZZLE_LEVEL_LIST[LevelInRange(level)];
}
// The level after a level; pro has none after it and stays pro.
constexpr ePuzzleDifficulty NextLevel(ePuzzleDifficulty difficulty) {
    return DifficultyOfLevel(LevelOf(difficulty) + 1);
}

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
