// The rules each game mode gives the puzzles it hands out: which modes offer hints, pre-fill,
// sound the target time, take turns and run the clock down; the allowance tables of the kinds
// and the difficulties they cover. The models' use of the rules is checked in the
// conformance suite, the allowances' effect in each kind's own tests.
#include "log_capture.h"

#include <modes/mnpuzzlemode.h>
#include <services/mnsubgame.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Kelvo_lib;

constexpr int kKinds[] = {PUZZLE_FLAG_SUDOKU, PUZZLE_FLAG_FITWORD, PUZZLE_FLAG_CROSSWORD,
                          PUZZLE_FLAG_WORDSEARCH};

// The allowance at a difficulty by the value the bank stores for it.
std::vector<int> Allowance(int gameMode, int typeFlag, int difficulty) {
    const MNPuzzleRules rules =
        MNPuzzleMode::RulesOf(gameMode, typeFlag, DifficultyOfBankValue(difficulty));
    return {rules.MaxHints(0), rules.MaxHints(1), rules.MaxHints(2)};
}

TEST(PuzzleRules, EachModeAsksItsOwnOfEveryKind) {
    struct Case {
        int mode;
        bool bHints, bPrefilled, bWarning, bTurns, bRunClock;
    } cases[] = {
        {GAME_MODE_TOURNAMENT, true, false, true, false, false},
        {GAME_MODE_QUICKBLAST, true, false, false, false, true},
        {GAME_MODE_SIMPLYPUZZLE, true, false, false, false, false},
        {GAME_MODE_FASTANDFUN, false, true, false, false, true},
        {GAME_MODE_HEADTOHEAD, false, false, false, true, false},
        {GAME_MODE_HEADTOHEAD + 1, false, false, false, false, false},
    };
    for (const Case& c : cases) {
        for (const int kind : kKinds) {
            SCOPED_TRACE(testing::Message() << "mode " << c.mode << " kind " << kind);
            const MNPuzzleRules rules =
                MNPuzzleMode::RulesOf(c.mode, kind, PUZZLE_DIFFICULTY_BEGINNER);
            EXPECT_EQ(rules.bHintsOffered, c.bHints);
            EXPECT_EQ(rules.bPrefilled, c.bPrefilled);
            EXPECT_EQ(rules.bTargetTimeWarning, c.bWarning);
            EXPECT_EQ(rules.bTakeTurns, c.bTurns);
            EXPECT_EQ(rules.bClockRunsDown, c.bRunClock);
            EXPECT_EQ(rules.prefillLevel, 0) << "the running mode sets it";
            if (!c.bHints && kind != PUZZLE_FLAG_CROSSWORD) {
                EXPECT_EQ(Allowance(c.mode, kind, 1), (std::vector<int>{0, 0, 0}));
            }
        }
    }
}

TEST(PuzzleRules, AllowancesByKindModeAndDifficulty) {
    struct Case {
        int mode, kind, difficulty;
        std::vector<int> hints;
    } cases[] = {
        {GAME_MODE_TOURNAMENT, PUZZLE_FLAG_SUDOKU, 0, {4, 2, 1}},
        {GAME_MODE_TOURNAMENT, PUZZLE_FLAG_SUDOKU, 3, {2, 1, 1}},
        {GAME_MODE_QUICKBLAST, PUZZLE_FLAG_SUDOKU, 2, {5, 3, 1}},
        {GAME_MODE_SIMPLYPUZZLE, PUZZLE_FLAG_SUDOKU, 1, {6, 3, 2}},
        {GAME_MODE_TOURNAMENT, PUZZLE_FLAG_FITWORD, 1, {4, 3, 2}},
        {GAME_MODE_QUICKBLAST, PUZZLE_FLAG_FITWORD, 0, {7, 5, 3}},
        {GAME_MODE_SIMPLYPUZZLE, PUZZLE_FLAG_FITWORD, 0, {7, 5, 3}},
        {GAME_MODE_TOURNAMENT, PUZZLE_FLAG_WORDSEARCH, 2, {3, 2, 1}},
        {GAME_MODE_QUICKBLAST, PUZZLE_FLAG_WORDSEARCH, 0, {7, 5, 3}},
        {GAME_MODE_SIMPLYPUZZLE, PUZZLE_FLAG_WORDSEARCH, 0, {0, 0, 0}}, // small ones: none
        {GAME_MODE_SIMPLYPUZZLE, PUZZLE_FLAG_WORDSEARCH, 1, {7, 5, 3}},
        {GAME_MODE_HEADTOHEAD, PUZZLE_FLAG_CROSSWORD, 1, {-1, -1, -1}}, // never rationed
        {GAME_MODE_TOURNAMENT, PUZZLE_FLAG_CROSSWORD, 3, {-1, -1, -1}},
        {GAME_MODE_TOURNAMENT, PUZZLE_FLAG_ANAGRAM, 1, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "mode " << c.mode << " kind " << c.kind << " difficulty " << c.difficulty);
        EXPECT_EQ(Allowance(c.mode, c.kind, c.difficulty), c.hints);
    }
    EXPECT_EQ(
        MNPuzzleMode::RulesOf(GAME_MODE_QUICKBLAST, PUZZLE_FLAG_SUDOKU, PUZZLE_DIFFICULTY_BEGINNER)
            .MaxHints(3),
        0)
        << "no such kind";
}

TEST(PuzzleRules, ADifficultyOutsideTheTablesGivesNoHintsAndIsLogged) {
    for (const int kind : {PUZZLE_FLAG_SUDOKU, PUZZLE_FLAG_FITWORD, PUZZLE_FLAG_WORDSEARCH}) {
        for (const int difficulty : {4, 9, -1}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " difficulty " << difficulty);
            test_support::LogCapture log;
            EXPECT_EQ(Allowance(GAME_MODE_QUICKBLAST, kind, difficulty),
                      (std::vector<int>{0, 0, 0}));
            EXPECT_TRUE(log.Contains("out of range"));
            EXPECT_TRUE(
                MNPuzzleMode::RulesOf(GAME_MODE_QUICKBLAST, kind, DifficultyOfBankValue(difficulty))
                    .bHintsOffered);
        }
    }
}

} // namespace
