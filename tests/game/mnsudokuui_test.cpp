// Sudokus of the disc's bank played on their screen by pointer and A button only, through a
// UI manager walked the way the world walks it: the intro, every digit entered by pointing
// at its cell and at the pad, the sweep and the game over; a wrong digit sent back to play.
// Golden pictures of the intro, play with a selection, and the sweep.
#include "game_ui_fixture.h"
#include "png_golden.h"

#include <puzzles/puzzlebank.h>
#include <puzzles/sudoku/mnsudokuui.h>
#include <puzzles/sudoku/mnsudokuwidget.h>
#include <shell/mnsound.h>
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

constexpr float kFrame = 1.0f / 60.0f;
constexpr int kSimplyPuzzle = 2;

class Signals : public kHasSlots<> {
public:
    void GameOver() { ++gameOver; }
    void Valid() { ++valid; }
    void Invalid() { ++invalid; }
    void Pause() { ++pause; }
    void Help() { ++help; }
    int gameOver = 0, valid = 0, invalid = 0, pause = 0, help = 0;
};

class SudokuScreenTest : public GameUITest {
protected:
    void SetUp() override {
        GameUITest::SetUp();
        ASSERT_TRUE(m_bank.Load(0)) << "the disc's bank";
        m_manager.AddUI("hint_main", &m_hintScreen);
        kRender::BufferClear(0xFF1B2A4A);
        kRender::BufferSwap();
    }

    void TearDown() override {
        m_screen.reset();
        GameUITest::TearDown();
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

    void Start(int size, int gameMode = kSimplyPuzzle) {
        m_puzzle = Find(size);
        ASSERT_NE(m_puzzle, nullptr) << "a sudoku of size " << size;
        m_screen = std::make_unique<MNSudokuUI>();
        m_manager.AddUI("game", m_screen.get());
        m_manager.PushLayer("game")->PushUI(m_screen.get());
        ASSERT_TRUE(m_screen->SetPuzzle(m_puzzle, gameMode));
        m_screen->Play();
        m_screen->GameOverSignal.Connect(&m_signals, &Signals::GameOver);
        m_screen->ValidEntrySignal.Connect(&m_signals, &Signals::Valid);
        m_screen->InvalidEntrySignal.Connect(&m_signals, &Signals::Invalid);
        m_screen->GamePauseSignal.Connect(&m_signals, &Signals::Pause);
        m_screen->HelpSignal.Connect(&m_signals, &Signals::Help);
    }

    MNSudokuWidget& Widget() { return *m_screen->GetWidget(); }
    MNSudoku& Model() { return *Widget().GetSudoku(); }
    const SudokuData& Record() const { return *m_puzzle->m_sudoku; }

    // One frame of the world: the top screen's input and tick, then its drawing.
    void Frame(const std::string& events = "") {
        LoadScript({events});
        Step();
        kUI* top = m_manager.GetLayer(m_manager.GetNumLayers() - 1)->GetTopUI();
        top->GetScreen()->ProcessInput();
        top->Tick(kFrame);
        top->GetScreen()->Tick(kFrame);
        kRender::BufferSwap();
        top->GetScreen()->Render();
    }

    // A press and release of A at a pixel, and a frame with the button idle.
    void Click(float x, float y) {
        const std::string at = PointAt(static_cast<int>(x), static_cast<int>(y));
        Frame(at + " hold A");
        Frame("hold none");
        Frame();
    }

    void ClickIntroContinue() { Click(320.0f, 270.0f); }

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

    png_golden::Image Picture() {
        krDrawHelp::Flush();
        return png_golden::ReadEmbeddedFrameBuffer(0, 0, m_surface->GetDesc().xRes,
                                                   m_surface->GetDesc().yRes);
    }

    PuzzleBank m_bank;
    SudokuPuzzle* m_puzzle = nullptr;
    kUIManager m_manager;
    MNHintUI m_hintScreen;
    std::unique_ptr<MNSudokuUI> m_screen;
    Signals m_signals;
};

TEST_F(SudokuScreenTest, PlayedThroughByPointerUntilTheSweepEndsTheGame) {
    for (int size : {6, 9}) {
        SCOPED_TRACE(size);
        m_signals = Signals();
        Start(size);
        Frame();
        EXPECT_TRUE(m_screen->IsContinueScreenOpen());
        Click(320.0f, 350.0f); // HELP keeps the intro
        EXPECT_EQ(1, m_signals.help);
        ClickIntroContinue();
        ASSERT_FALSE(m_screen->IsContinueScreenOpen());
        ASSERT_NO_FATAL_FAILURE(FillAll());
        EXPECT_EQ(OpenCellCount(), m_signals.valid);
        EXPECT_EQ(0, m_signals.invalid);
        ASSERT_EQ(MNSudokuWidget::STATE_SWEEP, Widget().GetWidgetState());
        const float timeAtSweep = m_screen->GetTime();
        RunSweep();
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
    EXPECT_FALSE(m_screen->SetPuzzle(static_cast<Puzzle*>(nullptr), kSimplyPuzzle));
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
    const int correct = Model().GetNumCorrect();
    ChooseHint(MNSudoku::HINT_CELL);
    EXPECT_EQ(cellsLeft - 1, Model().GetHintsLeft()[MNSudoku::HINT_CELL]);
    EXPECT_EQ(correct + 1, Model().GetNumCorrect());

    while (Model().GetHintsLeft()[MNSudoku::HINT_CELL] > 0) {
        Model().Hint(MNSudoku::HINT_CELL);
    }
    const int filled = Model().GetNumCorrect();
    ChooseHint(MNSudoku::HINT_CELL); // offered with none left, so not taken
    EXPECT_EQ(filled, Model().GetNumCorrect());
    EXPECT_EQ(rowsLeft, Model().GetHintsLeft()[MNSudoku::HINT_ROW]);
    m_hintScreen.PerformHintSignal(MNSudoku::HINT_ROW);
    EXPECT_EQ(rowsLeft, Model().GetHintsLeft()[MNSudoku::HINT_ROW])
        << "the screen let go of the hint screen";
}

TEST_F(SudokuScreenTest, GoldenViews) {
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
