// The sudoku's rules: entering digits right and wrong, givens and locked cells refused,
// errors and their removal, the three hint kinds and their allowances, winning, Head to
// Head locks, the Fast and Fun pre-fill, the highlight setting and the saved state.
#include "entry_listener.h"
#include "puzzle_rules_support.h"
#include "puzzle_test_support.h"

#include <puzzles/mnpuzzlewidget.h>
#include <puzzles/sudoku/mnsudoku.h>
#include <services/mnsound.h>
#include <services/mnsubgame.h>

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

using namespace Kelvo_lib;
using puzzle_test::MakeSudoku;
using puzzle_test::ModeRules;

class SudokuModelTest : public ::testing::Test {
protected:
    void Load(int size, int gameMode = GAME_MODE_QUICKBLAST,
              float targetTime = MNPuzzleRules::kNoTarget) {
        m_record = MakeSudoku(7, size);
        MNPuzzleRules rules = ModeRules(gameMode, m_record);
        rules.targetTime = targetTime;
        ASSERT_TRUE(model.SetPuzzle(&m_record, rules));
        model.Play();
    }
    int Wrong(int cell) const { return m_record.solution[cell] % m_record.size + 1; }
    int Enter(int cell, int digit) {
        model.SelectCell(cell);
        return model.EnterDigit(digit);
    }
    void SolveAll() {
        for (int cell = 0; cell < model.GetNumCells(); ++cell) {
            Enter(cell, m_record.solution[cell]);
        }
    }
    int OpenCells() const {
        int open = 0;
        for (int cell = 0; cell < model.GetNumCells(); ++cell) {
            open += model.GetDigit(cell) != m_record.solution[cell] ? 1 : 0;
        }
        return open;
    }

    SudokuData m_record;
    MNSudoku model{MNPuzzleWidget::GameSources()};
};

TEST_F(SudokuModelTest, RightAndWrongDigitsSignalAndWrongOnesCountAsErrors) {
    Load(9);
    EntryListener listener(model);
    EXPECT_EQ(1, Enter(1, m_record.solution[1]));
    EXPECT_EQ(1, Enter(3, Wrong(3)));
    EXPECT_EQ(1, Enter(5, Wrong(5)));
    EXPECT_EQ(1, listener.valid);
    EXPECT_EQ(2, listener.invalid);
    EXPECT_EQ(2, model.GetNumErrors());
    EXPECT_TRUE(model.IsWrong(3));
    EXPECT_EQ(1, Enter(3, m_record.solution[3])) << "a wrong digit can be overwritten";
    EXPECT_EQ(1, Enter(5, 0)) << "or cleared";
    EXPECT_EQ(0, model.GetNumErrors());
    EXPECT_EQ(0, model.GetDigit(5));
}

TEST_F(SudokuModelTest, RefusedEntriesChangeNothing) {
    Load(6);
    EntryListener listener(model);
    EXPECT_EQ(0, model.EnterDigit(1)) << "nothing selected";
    EXPECT_EQ(0, Enter(0, Wrong(0))) << "a given";
    EXPECT_EQ(0, Enter(1, 7)) << "beyond the 6 x 6 digits";
    EXPECT_EQ(0, Enter(1, -1));
    EXPECT_FALSE(model.SelectCell(36));
    EXPECT_FALSE(model.SelectCell(-2));
    EXPECT_EQ(1, model.GetSelectedCell());
    ASSERT_TRUE(model.Hint(MNSudoku::HINT_CELL));
    EXPECT_EQ(0, model.EnterDigit(0)) << "a hinted cell is locked";
    EXPECT_EQ(m_record.solution[0], model.GetDigit(0));
    EXPECT_EQ(m_record.solution[1], model.GetDigit(1));
    EXPECT_EQ(0, listener.valid + listener.invalid);
}

TEST_F(SudokuModelTest, RemoveErrorsBlanksOnlyWrongDigits) {
    Load(9);
    Enter(1, m_record.solution[1]);
    Enter(3, Wrong(3));
    model.RemoveErrors();
    EXPECT_EQ(m_record.solution[1], model.GetDigit(1));
    EXPECT_EQ(0, model.GetDigit(3));
    EXPECT_EQ(0, model.GetNumErrors());
}

TEST_F(SudokuModelTest, WinNeedsAFullGridOfRightDigits) {
    Load(9);
    SolveAll();
    Enter(79, Wrong(79));
    EXPECT_TRUE(model.IsGridFull());
    EXPECT_FALSE(model.CheckWin());
    EXPECT_EQ(1, model.GetState());
    EXPECT_EQ(24, model.GetNumCorrect()) << "every row, column and box but the wrong cell's";
    Enter(79, m_record.solution[79]);
    EXPECT_EQ(27, model.GetNumCorrect());
    EXPECT_TRUE(model.CheckWin());
    EXPECT_EQ(4, model.GetState());
}

TEST_F(SudokuModelTest, EachHintKindRevealsAndLocksItsCellsAndIsCounted) {
    struct Case {
        int kind;
        int selected;
        std::vector<int> revealed; // on the 9 x 9 grid, whose odd cells are open
    };
    const Case cases[] = {
        {MNSudoku::HINT_CELL, 13, {13}},
        {MNSudoku::HINT_ROW, 13, {9, 11, 13, 15, 17}},
        {MNSudoku::HINT_BOX, 40, {31, 39, 41, 49}},
        {MNSudoku::HINT_CELL, 12, {1}}, // a given selected: the first open cell
    };
    for (const Case& c : cases) {
        Load(9, GAME_MODE_TOURNAMENT);
        const int before = model.GetHintsLeft()[c.kind];
        model.SelectCell(c.selected);
        ASSERT_TRUE(model.Hint(c.kind)) << c.kind;
        EXPECT_EQ(before - 1, model.GetHintsLeft()[c.kind]);
        EXPECT_EQ(40 - static_cast<int>(c.revealed.size()), OpenCells()) << c.kind;
        for (int cell : c.revealed) {
            EXPECT_EQ(m_record.solution[cell], model.GetDigit(cell)) << c.kind << " " << cell;
            EXPECT_TRUE(model.IsCellLocked(cell));
        }
    }
}

TEST_F(SudokuModelTest, HintsRunOutAndNeedAnOpenCell) {
    Load(9, GAME_MODE_HEADTOHEAD);
    EXPECT_FALSE(model.Hint(MNSudoku::HINT_CELL)) << "Head to Head has no hints";
    Load(9, GAME_MODE_TOURNAMENT);
    while (model.GetHintsLeft()[MNSudoku::HINT_BOX] > 0) {
        ASSERT_TRUE(model.Hint(MNSudoku::HINT_BOX));
    }
    EXPECT_FALSE(model.Hint(MNSudoku::HINT_BOX));
    EXPECT_FALSE(model.Hint(5));
    Load(6, GAME_MODE_QUICKBLAST);
    SolveAll();
    EXPECT_FALSE(model.Hint(MNSudoku::HINT_CELL)) << "nothing left to reveal";
    EXPECT_EQ(model.GetMaxHints(0), model.GetHintsLeft()[0]);
}

TEST_F(SudokuModelTest, AllowancesFollowModeAndDifficulty) {
    Load(9, GAME_MODE_SIMPLYPUZZLE); // bank difficulty 2
    const auto allowance = [&](int mode, int kind) {
        return ModeRules(mode, m_record).MaxHints(kind);
    };
    for (int kind = 0; kind < MNSudoku::HINT_KINDS; ++kind) {
        EXPECT_EQ(model.GetMaxHints(kind), model.GetHintsLeft()[kind]) << kind;
        EXPECT_EQ(allowance(GAME_MODE_SIMPLYPUZZLE, kind), model.GetMaxHints(kind)) << kind;
        EXPECT_LE(allowance(GAME_MODE_TOURNAMENT, kind), allowance(GAME_MODE_QUICKBLAST, kind));
        EXPECT_EQ(0, allowance(GAME_MODE_FASTANDFUN, kind));
        EXPECT_EQ(0, allowance(GAME_MODE_HEADTOHEAD, kind));
    }
    EXPECT_EQ(0, model.GetMaxHints(3));
    // Simply Puzzle gives Quick Blast's allowance at the puzzle's own difficulty, as the
    // fitword does.
    for (int difficulty = 0; difficulty < 4; ++difficulty) {
        m_record.difficulty = static_cast<u8>(difficulty);
        for (int kind = 0; kind < MNSudoku::HINT_KINDS; ++kind) {
            EXPECT_EQ(allowance(GAME_MODE_QUICKBLAST, kind),
                      allowance(GAME_MODE_SIMPLYPUZZLE, kind))
                << difficulty << " " << kind;
        }
    }
}

TEST_F(SudokuModelTest, ResetKeepsClockGivensAndLockedCells) {
    Load(9, GAME_MODE_TOURNAMENT);
    model.SelectCell(1);
    model.Hint(MNSudoku::HINT_CELL);
    Enter(3, m_record.solution[3]);
    model.Tick(12.5f);
    model.Reset(false);
    EXPECT_FLOAT_EQ(12.5f, model.GetTime());
    EXPECT_EQ(m_record.solution[1], model.GetDigit(1));
    EXPECT_EQ(0, model.GetDigit(3));
    EXPECT_EQ(m_record.givens[0], model.GetDigit(0));
    model.Reset(true);
    EXPECT_FLOAT_EQ(0.0f, model.GetTime());
}

TEST_F(SudokuModelTest, HeadToHeadLocksRightDigitsOnly) {
    Load(9, GAME_MODE_HEADTOHEAD);
    Enter(1, m_record.solution[1]);
    Enter(3, Wrong(3));
    EXPECT_TRUE(model.IsCellLocked(1));
    EXPECT_FALSE(model.IsCellLocked(3));
    EXPECT_EQ(0, Enter(1, 0));
    EXPECT_EQ(1, Enter(3, 0));
}

TEST_F(SudokuModelTest, FastAndFunStartsNearlySolved) {
    for (auto [size, open] : {std::pair{6, 4}, std::pair{9, 8}}) {
        Load(size, GAME_MODE_FASTANDFUN);
        EXPECT_EQ(open, OpenCells()) << size;
        EXPECT_EQ(0, model.GetNumErrors());
        EXPECT_EQ(0, model.GetHintsLeft()[0] + model.GetHintsLeft()[1] + model.GetHintsLeft()[2]);
    }
}

// The widget hands the profile's setting in.
TEST_F(SudokuModelTest, RowAndColumnHighlightFollowTheSetting) {
    Load(9);
    model.SelectCell(40);
    model.SetLineHighlight(true);
    EXPECT_TRUE(model.IsHighlight(36));
    EXPECT_TRUE(model.IsHighlight(4));
    EXPECT_FALSE(model.IsHighlight(30));
    model.SetLineHighlight(false);
    EXPECT_FALSE(model.IsHighlight(36));
}

TEST_F(SudokuModelTest, RefusesRecordsOfOtherSizes) {
    Load(6);
    SudokuData odd = MakeSudoku(8, 6);
    odd.size = 7;
    EXPECT_FALSE(model.SetPuzzle(&odd, ModeRules(GAME_MODE_QUICKBLAST, odd)));
    EXPECT_FALSE(model.SetPuzzle(nullptr, MNPuzzleRules{}));
    EXPECT_EQ(6, model.GetSize()) << "the puzzle it had stays";
}

TEST_F(SudokuModelTest, SavedStateIsBigEndianAndReadsBackBitExact) {
    Load(9, GAME_MODE_TOURNAMENT);
    model.SelectCell(1);
    model.Hint(MNSudoku::HINT_CELL);
    Enter(3, m_record.solution[3]);
    Enter(5, Wrong(5));
    model.Tick(123.456f);
    ASSERT_EQ(90, model.SavePuzzleState(nullptr, 0));
    std::vector<u8> state(210, 0xEE);
    ASSERT_EQ(90, model.SavePuzzleState(state.data(), 210));
    EXPECT_EQ(m_record.solution[1] | MNSudoku::K_LOCKED_BIT, state[1]);
    EXPECT_EQ(m_record.solution[3], state[3]);
    EXPECT_EQ(1, state[81]) << "errors";
    float time = model.GetTime();
    u32 bits = 0;
    std::memcpy(&bits, &time, 4);
    EXPECT_EQ(bits >> 24, state[82]) << "the clock's most significant byte first";
    EXPECT_EQ(bits & 0xFF, state[85]);
    EXPECT_EQ(model.GetHintsLeft()[0], state[86]);
    EXPECT_EQ(5, state[89]) << "the selection";
    EXPECT_EQ(0xEE, state[90]) << "nothing beyond the state";

    MNSudoku restored{MNPuzzleWidget::GameSources()};
    ASSERT_TRUE(restored.SetPuzzle(&m_record, ModeRules(GAME_MODE_TOURNAMENT, m_record)));
    ASSERT_EQ(1, restored.LoadPuzzleState(state.data(), 210));
    EXPECT_EQ(model.GetTime(), restored.GetTime());
    EXPECT_EQ(1, restored.GetNumErrors());
    EXPECT_TRUE(restored.IsCellLocked(1));
    EXPECT_FALSE(restored.IsCellLocked(3));
    EXPECT_EQ(model.GetHintsLeft()[0], restored.GetHintsLeft()[0]);
    std::vector<u8> again(210, 0xEE);
    ASSERT_EQ(90, restored.SavePuzzleState(again.data(), 210));
    EXPECT_EQ(state, again);
}

TEST_F(SudokuModelTest, SizeLimitsAndDamagedStates) {
    Load(6);
    EXPECT_EQ(45, model.SavePuzzleState(nullptr, 0));
    std::vector<u8> state(210, 0xEE);
    EXPECT_EQ(0, model.SavePuzzleState(state.data(), 44)) << "too small";
    EXPECT_EQ(std::vector<u8>(210, 0xEE), state) << "nothing written";
    EXPECT_EQ(0, model.LoadPuzzleState(state.data(), 44));
    EXPECT_EQ(0, model.GetDigit(1));

    // Digits beyond the grid's, a given overwritten, a clock that is no number, too many hints.
    std::fill(state.begin(), state.end(), 0xFF);
    ASSERT_EQ(1, model.LoadPuzzleState(state.data(), 210));
    EXPECT_EQ(0, model.GetDigit(1));
    EXPECT_EQ(m_record.givens[0], model.GetDigit(0));
    EXPECT_FLOAT_EQ(0.0f, model.GetTime());
    EXPECT_EQ(0, model.GetHintsLeft()[0]);
    EXPECT_EQ(-1, model.GetSelectedCell());
}

// The effect a tick asks for, -1 for none.
int EffectOfTick(MNSudoku& model, float delta) {
    MNSound::PlaySoundEffect(SFX_BACK);
    model.Tick(delta);
    const int effect = MNSound::GetLastSoundEffect();
    return effect == SFX_BACK ? -1 : effect;
}

TEST_F(SudokuModelTest, TournamentWarningsTickInTheLastThirtySecondsThenSoundOnce) {
    Load(9, GAME_MODE_TOURNAMENT, 60.0f);
    EXPECT_EQ(-1, EffectOfTick(model, 30.0f)) << "30 s left: quiet";
    EXPECT_EQ(SFX_TICK, EffectOfTick(model, 0.25f));
    EXPECT_EQ(-1, EffectOfTick(model, 0.75f)) << "one a second";
    EXPECT_EQ(SFX_TOCK, EffectOfTick(model, 0.25f));
    EXPECT_EQ(SFX_TARGET_EXPIRED, EffectOfTick(model, 30.0f));
    EXPECT_EQ(-1, EffectOfTick(model, 1.0f)) << "once";
    Load(9, GAME_MODE_TOURNAMENT);
    EXPECT_EQ(-1, EffectOfTick(model, 45.0f)) << "no target given";
}

} // namespace
