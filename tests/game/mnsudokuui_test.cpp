// Sudokus of the disc's bank played on their screen by pointer and A button only, through a
// UI manager walked the way the world walks it: the intro, every digit entered by pointing
// at its cell and at the pad, the sweep and the game over; a wrong digit sent back to play.
// Golden pictures of the intro, play with a selection, and the sweep.
#include "png_golden.h"
#include "puzzle_rules_support.h"
#include "puzzle_screen_fixture.h"

#include <puzzles/sudoku/mnsudokuui.h>
#include <puzzles/sudoku/mnsudokuwidget.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/mnsubgame.h>
#include <services/puzzlebank.h>
#include <tui/mnhintui.h>

#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using png_golden::MatchesGolden;
using puzzle_test::ModeRules;

class SudokuScreenTest : public PuzzleScreenTest<MNSudokuUI> {
protected:
    void SetUp() override {
        PuzzleScreenTest::SetUp();
        ASSERT_TRUE(m_bank.Load(0)) << "the disc's bank";
        m_manager.AddUI("hint_main", &m_hintScreen);
        kRender::BufferClear(0xFF1B2A4A);
        kRender::BufferSwap();
    }

    // The bank's first sudoku of that size.
    SudokuPuzzle* Find(int size) {
        for (int i = 0; i < m_bank.GetNumEntries(); ++i) {
            if (m_bank.GetEntry(i).type != PUZZLE_TYPE_SUDOKU) {
                continue;
            }
            auto* puzzle = static_cast<SudokuPuzzle*>(m_bank.GetPuzzle(m_bank.GetEntry(i).id, 0));
            if (puzzle != nullptr && puzzle->m_sudoku->size == size) {
                return puzzle;
            }
        }
        return nullptr;
    }

    void Start(int size, int gameMode = GAME_MODE_SIMPLYPUZZLE) {
        m_puzzle = Find(size);
        ASSERT_NE(m_puzzle, nullptr) << "a sudoku of size " << size;
        OpenScreen();
        ASSERT_TRUE(m_screen->SetPuzzle(m_puzzle, ModeRules(gameMode, *m_puzzle)));
        PlayAndListen();
    }

    MNSudokuWidget& Widget() { return *m_screen->GetWidget(); }
    MNSudoku& Model() { return *Widget().GetSudoku(); }
    const SudokuData& Record() const { return *m_puzzle->m_sudoku; }
    // Cells holding their solution digit.
    int RightCells() {
        int count = 0;
        for (int cell = 0; cell < Model().GetNumCells(); ++cell) {
            count += Model().GetDigit(cell) == Model().GetSolution(cell) ? 1 : 0;
        }
        return count;
    }

    // Presses the hint button, then gives the hint screen's choice as it closes.
    void ChooseHint(int kind) {
        float x = 0.0f;
        float y = 0.0f;
        Widget().GetHintButtonCentre(x, y);
        Click(x, y);
        kUILayer* layer = m_manager.GetLayer(m_manager.GetNumLayers() - 1);
        ASSERT_EQ(layer->GetTopUI(), &m_hintScreen);
        for (int k = 0; k < MNHintUI::kNumKinds; ++k) {
            EXPECT_EQ(Model().GetHintsLeft()[k], m_hintScreen.GetHintsLeft(k)) << k;
        }
        EXPECT_EQ(Record().difficulty, m_hintScreen.GetPuzzleDifficulty());
        layer->RemoveUI(&m_hintScreen);
        m_hintScreen.PerformHintSignal(kind);
    }

    // Points at a cell, then at the pad's key for digit.
    void Enter(int cell, int digit) {
        float x = 0.0f;
        float y = 0.0f;
        Widget().GetCellPosition(cell, x, y);
        Click(x + 0.5f * Widget().GetCellSize(), y + 0.5f * Widget().GetCellSize());
        Widget().GetPadPosition(digit, x, y);
        Click(x + 20.0f, y + 20.0f);
    }

    // Fills every empty cell with its solution but wrongCell, which gets another digit.
    void FillAll(int wrongCell = -1) {
        for (int cell = 0; cell < Model().GetNumCells(); ++cell) {
            if (Record().givens[cell] == 0) {
                const int right = Record().solution[cell];
                const int digit = cell == wrongCell ? right % Record().size + 1 : right;
                ASSERT_NO_FATAL_FAILURE(Enter(cell, digit));
                ASSERT_EQ(digit, Model().GetDigit(cell)) << cell;
            }
        }
    }

    int LastOpenCell() const {
        int last = -1;
        for (int cell = 0; cell < Record().size * Record().size; ++cell) {
            last = Record().givens[cell] == 0 ? cell : last;
        }
        return last;
    }

    int OpenCellCount() const {
        int open = 0;
        for (int cell = 0; cell < Record().size * Record().size; ++cell) {
            open += Record().givens[cell] == 0 ? 1 : 0;
        }
        return open;
    }

    // Plays until the sweep has ended; returns the frames it took.
    int RunSweep() {
        int frames = 0;
        for (; frames < 600 && Widget().GetWidgetState() == MNSudokuWidget::STATE_SWEEP &&
               m_signals.gameOver == 0;
             ++frames) {
            Frame();
        }
        return frames;
    }

    SudokuPuzzle* m_puzzle = nullptr;
    MNHintUI m_hintScreen;
};

TEST_F(SudokuScreenTest, PlayedThroughByPointerUntilTheSweepEndsTheGame) {
    for (int size : {6, 9}) {
        SCOPED_TRACE(size);
        m_signals = PuzzleScreenSignals();
        Start(size);
        Frame();
        EXPECT_TRUE(m_screen->IsContinueScreenOpen());
        Click(320.0f, 420.0f); // HELP keeps the intro
        EXPECT_EQ(1, m_signals.help);
        ClickIntroContinue();
        ASSERT_FALSE(m_screen->IsContinueScreenOpen());
        ASSERT_NO_FATAL_FAILURE(FillAll());
        EXPECT_EQ(OpenCellCount(), m_signals.valid);
        EXPECT_EQ(0, m_signals.invalid);
        ASSERT_EQ(MNSudokuWidget::STATE_SWEEP, Widget().GetWidgetState());
        const float timeAtSweep = m_screen->GetTime();
        EXPECT_NEAR(3.0f, static_cast<float>(RunSweep()) * kFrame, 2.0f * kFrame)
            << "the sweep and the pause after it last 1.0 + 2.0 s, as the other puzzles' do";
        EXPECT_EQ(1, m_signals.gameOver);
        EXPECT_EQ(SFX_RIGHT, MNSound::GetLastSoundEffect());
        EXPECT_EQ(PUZZLE_STATE_COMPLETED, m_screen->GetState());
        EXPECT_FLOAT_EQ(timeAtSweep, m_screen->GetTime()) << "the sweep is not play time";
        for (int i = 0; i < 30; ++i) {
            Frame();
        }
        EXPECT_EQ(1, m_signals.gameOver) << "fired once";
        m_screen.reset();
    }
}

TEST_F(SudokuScreenTest, AWrongDigitIsBlankedAfterTheSweepAndPlayGoesOn) {
    Start(6);
    Frame();
    ClickIntroContinue();
    const int last = LastOpenCell();
    ASSERT_NO_FATAL_FAILURE(FillAll(last));
    EXPECT_EQ(1, m_signals.invalid);
    ASSERT_EQ(MNSudokuWidget::STATE_SWEEP, Widget().GetWidgetState());
    for (int i = 0; i < 59; ++i) {
        Frame();
    }
    EXPECT_EQ(MNSudokuWidget::SCAN_WRONG, Widget().GetScanMark(last));
    EXPECT_TRUE(MatchesGolden("sudoku_mini_sweep", Picture()));
    RunSweep();
    EXPECT_EQ(0, m_signals.gameOver);
    EXPECT_EQ(SFX_WRONG, MNSound::GetLastSoundEffect());
    EXPECT_EQ(MNSudokuWidget::STATE_PLAY, Widget().GetWidgetState());
    EXPECT_EQ(0, Model().GetDigit(last));
    EXPECT_EQ(0, m_screen->GetNumErrors());
    Enter(last, Record().solution[last]);
    RunSweep();
    EXPECT_EQ(1, m_signals.gameOver) << "the mended grid completes";
}

TEST_F(SudokuScreenTest, MenuPausesAndResetKeepsTheClock) {
    Start(9);
    Frame();
    ClickIntroContinue();
    Enter(1, 5);
    float x = 0.0f;
    float y = 0.0f;
    Widget().GetMenuButtonCentre(x, y);
    Click(x, y);
    EXPECT_EQ(1, m_signals.pause);
    const float time = m_screen->GetTime();
    m_screen->Reset();
    EXPECT_EQ(MNSudokuWidget::STATE_PLAY, Widget().GetWidgetState());
    EXPECT_FLOAT_EQ(time, m_screen->GetTime());
    EXPECT_EQ(Record().givens[1], Model().GetDigit(1));
    EXPECT_FALSE(m_screen->SetPuzzle(static_cast<Puzzle*>(nullptr), MNPuzzleRules{}));
    std::vector<u8> state(MNPuzzleUI::K_SAVED_STATE_SIZE);
    EXPECT_EQ(90, m_screen->SavePuzzleState(state.data(), static_cast<int>(state.size())));
    EXPECT_EQ(1, m_screen->LoadPuzzleState(state.data(), static_cast<int>(state.size())));
}

TEST_F(SudokuScreenTest, HintsAreTakenThroughTheHintScreen) {
    Start(9);
    Frame();
    ClickIntroContinue();
    const int cellsLeft = Model().GetHintsLeft()[MNSudoku::HINT_CELL];
    const int rowsLeft = Model().GetHintsLeft()[MNSudoku::HINT_ROW];
    ASSERT_GT(cellsLeft, 0);
    ChooseHint(-1);
    EXPECT_EQ(cellsLeft, Model().GetHintsLeft()[MNSudoku::HINT_CELL]);
    const int correct = RightCells();
    ChooseHint(MNSudoku::HINT_CELL);
    EXPECT_EQ(cellsLeft - 1, Model().GetHintsLeft()[MNSudoku::HINT_CELL]);
    EXPECT_EQ(correct + 1, RightCells());

    while (Model().GetHintsLeft()[MNSudoku::HINT_CELL] > 0) {
        Model().Hint(MNSudoku::HINT_CELL);
    }
    const int filled = RightCells();
    ChooseHint(MNSudoku::HINT_CELL); // offered with none left, so not taken
    EXPECT_EQ(filled, RightCells());
    EXPECT_EQ(rowsLeft, Model().GetHintsLeft()[MNSudoku::HINT_ROW]);
    m_hintScreen.PerformHintSignal(MNSudoku::HINT_ROW);
    EXPECT_EQ(rowsLeft, Model().GetHintsLeft()[MNSudoku::HINT_ROW])
        << "the screen let go of the hint screen";
}

// The widget hands the model the active profile's setting as it draws.
TEST_F(SudokuScreenTest, RowAndColumnHighlightFollowTheProfileSetting) {
    const int previous = MNProfileManager::GetActiveProfileIndex();
    MNProfileManager::SetActiveProfile(0);
    u8& setting = MNProfileManager::GetActiveProfile()->GetSaveData()->bSudokuHighlight;
    const u8 saved = setting;
    Start(9);
    Frame();
    ClickIntroContinue();
    ASSERT_TRUE(Model().SelectCell(40));
    for (const u8 on : {u8{1}, u8{0}}) {
        setting = on;
        Frame();
        EXPECT_EQ(on != 0, Model().IsHighlight(36)) << "the selected cell's row";
        EXPECT_EQ(on != 0, Model().IsHighlight(4)) << "and column";
        EXPECT_FALSE(Model().IsHighlight(30));
    }
    setting = saved;
    MNProfileManager::SetActiveProfile(previous);
}

TEST_F(SudokuScreenTest, GoldenViews) {
    SeedRandom(80); // the seed the golden views were drawn with
    Start(9);
    Frame(PointAt(330, 270));
    EXPECT_TRUE(MatchesGolden("sudoku_intro", Picture()));
    ClickIntroContinue();
    int placed = 0;
    for (int cell = 0; cell < 81 && placed < 6; ++cell) {
        if (Record().givens[cell] == 0) {
            Enter(cell, placed == 5 ? Record().solution[cell] % 9 + 1 : Record().solution[cell]);
            ++placed;
        }
    }
    float x = 0.0f;
    float y = 0.0f;
    Widget().GetPadPosition(4, x, y);
    Frame(PointAt(static_cast<int>(x) + 20, static_cast<int>(y) + 20));
    EXPECT_TRUE(MatchesGolden("sudoku_play", Picture()));
    FillAll(1); // a wrong digit in the second column, which the sweep has passed
    for (int i = 0; i < 30; ++i) {
        Frame(PointAt(600, 420));
    }
    EXPECT_TRUE(MatchesGolden("sudoku_sweep", Picture()));
}

} // namespace
