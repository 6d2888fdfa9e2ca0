// A fitword of the disc's bank with a hidden word, played on its screen by pointer and A only,
// through a UI manager walked the way the world walks it: the intro, every word picked on the
// list and dropped on the grid, the sweep and the game over; a wrong word taken back; the
// buttons; a tick of 0.0 and drawing outside the walk. Golden pictures of the views.
#include "puzzle_screen_fixture.h"

#include <puzzles/fitword/mnfitwordui.h>
#include <puzzles/fitword/mnfitwordwidget.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsubgame.h>
#include <services/puzzlebank.h>
#include <tui/mnhintui.h>

#include "png_golden.h"
#include "puzzle_rules_support.h"

#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using png_golden::MatchesGolden;
using puzzle_test::ModeRules;

class FitwordScreenTest : public PuzzleScreenTest<MNFitwordUI> {
protected:
    void SetUp() override {
        PuzzleScreenTest::SetUp();
        ASSERT_TRUE(m_bank.Load(0)) << "the disc's bank";
        for (int i = 0; i < m_bank.GetNumEntries() && m_puzzle == nullptr; ++i) {
            if (m_bank.GetEntry(i).type != PUZZLE_TYPE_FITWORD) {
                continue;
            }
            auto* puzzle = static_cast<FitwordPuzzle*>(m_bank.GetPuzzle(m_bank.GetEntry(i).id, 0));
            if (puzzle != nullptr && puzzle->m_spellout != nullptr) {
                m_puzzle = puzzle;
            }
        }
        ASSERT_NE(m_puzzle, nullptr) << "a fitword with a hidden word";
        m_manager.AddUI("hint_main", &m_hintScreen);
        kRender::BufferClear(0xFF1B2A4A);
        kRender::BufferSwap();
    }

    void TearDown() override {
        m_screen.reset();
        MNProfileManager::SetActiveProfile(m_previousProfile);
        PuzzleScreenTest::TearDown();
    }

    void Start(int gameMode) {
        OpenScreen();
        EXPECT_FALSE(m_screen->SetPuzzle(&m_sudoku, MNPuzzleRules{})) << "another kind is refused";
        ASSERT_TRUE(m_screen->SetPuzzle(m_puzzle, ModeRules(gameMode, *m_puzzle)));
        m_screen->SetSpellout(m_puzzle->m_spellout);
        PlayAndListen();
    }

    MNFitwordWidget& Widget() { return *m_screen->GetWidget(); }
    MNFitword& Model() { return *Widget().GetFitword(); }

    void ClickSprite(const kSprite* sprite) {
        Click(sprite->GetX() + sprite->GetWidth() * 0.5f,
              sprite->GetY() + sprite->GetHeight() * 0.5f);
    }

    void ClickIntroContinue() { ClickSprite(Widget().GetContinueButton()); }

    // Presses the hint button, then gives the hint screen's choice as it closes.
    void ChooseHint(int kind) {
        ClickSprite(Widget().GetHintButton());
        kUILayer* layer = m_manager.GetLayer(m_manager.GetNumLayers() - 1);
        ASSERT_EQ(layer->GetTopUI(), &m_hintScreen);
        for (int k = 0; k < MNHintUI::kNumKinds; ++k) {
            EXPECT_EQ(Model().GetHintsLeft()[k], m_hintScreen.GetHintsLeft(k)) << k;
        }
        layer->RemoveUI(&m_hintScreen);
        m_hintScreen.PerformHintSignal(kind);
    }

    // Picks a word on the list, scrolled into view first, unless it is picked already.
    void PickOnList(int word) {
        if (Model().GetSelectedWord() == word) {
            return;
        }
        const kArray<MNFitwordWidget::ListLine>& lines = Widget().GetListLines();
        int line = 0;
        while (lines(line).word != word) {
            ++line;
        }
        float x = 0.0f;
        float y = 0.0f;
        for (int i = 0; i < 40 && !Widget().GetLinePosition(line, x, y); ++i) {
            const bool bDown = line >= Widget().GetListPos();
            const float arrowY =
                bDown ? MNFitwordWidget::K_LINES_TOP +
                            MNFitwordWidget::K_LINE_STEP * MNFitwordWidget::K_VISIBLE_LINES - 14.0f
                      : MNFitwordWidget::K_LINES_TOP + 14.0f;
            Click(640.0f - 20.0f, arrowY);
        }
        ASSERT_TRUE(Widget().GetLinePosition(line, x, y));
        Click(x, y);
        ASSERT_EQ(word, Model().GetSelectedWord());
    }

    void PressCell(int cell) {
        float x = 0.0f;
        float y = 0.0f;
        Widget().GetCellPosition(cell, x, y);
        Click(x + 10.0f, y + 10.0f);
    }

    // A cell of the slot the pointer reaches it by: one no other slot of its length crosses,
    // or else a crossing cell whose across slot is selected first, so the down slot comes next.
    int CellFor(int slot, bool* bSelectAcrossFirst) {
        const FitwordData& record = *m_puzzle->m_fitword;
        const int length = Model().GetWordLength(slot);
        for (int n = 0; n < length; ++n) {
            const int cell = Model().GetWordCell(slot, n);
            const CrosswordDataCell& data = record.cells(cell);
            const u8 other = Model().GetWordDirection(slot) ? data.wordIndexA : data.wordIndexD;
            if (other == CROSSWORD_NO_WORD || Model().GetWordLength(other) != length) {
                *bSelectAcrossFirst = false;
                return cell;
            }
        }
        *bSelectAcrossFirst = Model().GetWordDirection(slot);
        return Model().GetWordCell(slot, 0);
    }

    // Puts a word into a slot as the player does: the word on the list, then the grid.
    void Drop(int word, int slot) {
        bool bAcrossFirst = false;
        const int cell = CellFor(slot, &bAcrossFirst);
        if (bAcrossFirst) {
            const int across = m_puzzle->m_fitword->cells(cell).wordIndexA;
            for (int i = 0; i < 2 && Model().GetSelectedSlot() != across; ++i) {
                PressCell(cell);
            }
        }
        ASSERT_NO_FATAL_FAILURE(PickOnList(word));
        PressCell(cell);
        ASSERT_EQ(slot, Model().GetSlotOfWord(word));
    }

    // Plays until the sweep has ended; returns the frames it took.
    int RunSweep() {
        int frames = 0;
        for (; frames < 600 &&
               (Widget().GetWidgetState() == MNFitwordWidget::STATE_SWEEP || frames == 0) &&
               m_signals.gameOver == 0;
             ++frames) {
            Frame();
        }
        return frames;
    }

    // Two words of one length whose texts differ, or -1s.
    std::pair<int, int> TwoOfALength() {
        for (int a = 0; a < Model().GetNumWords(); ++a) {
            for (int b = a + 1; b < Model().GetNumWords(); ++b) {
                if (Model().GetWordLength(a) == Model().GetWordLength(b) &&
                    std::strcmp(Model().GetWord(a), Model().GetWord(b)) != 0) {
                    return {a, b};
                }
            }
        }
        return {-1, -1};
    }

    const int m_previousProfile = MNProfileManager::GetActiveProfileIndex();
    FitwordPuzzle* m_puzzle = nullptr;
    SudokuPuzzle m_sudoku;
    MNHintUI m_hintScreen;
};

TEST_F(FitwordScreenTest, PlayedThroughByPointerUntilTheSweepEndsTheGame) {
    Start(GAME_MODE_SIMPLYPUZZLE);
    for (int i = 0; i < 5; ++i) {
        Frame();
    }
    EXPECT_TRUE(m_screen->IsContinueScreenOpen());
    EXPECT_FLOAT_EQ(0.0f, m_screen->GetTime()) << "the intro is not play time";
    ClickIntroContinue();
    ASSERT_FALSE(m_screen->IsContinueScreenOpen());
    const int playStart = m_frames;

    for (int slot = 0; slot < Model().GetNumWords(); ++slot) {
        SCOPED_TRACE(slot);
        ASSERT_NO_FATAL_FAILURE(Drop(slot, slot));
    }
    EXPECT_EQ(Model().GetNumWords(), m_signals.valid);
    EXPECT_EQ(0, m_signals.invalid);
    ASSERT_TRUE(m_screen->IsGridFull());

    ASSERT_EQ(MNFitwordWidget::STATE_SWEEP, Widget().GetWidgetState());
    const float timeAtSweep = m_screen->GetTime();
    EXPECT_NEAR((m_frames - playStart) * kFrame, timeAtSweep, 2 * kFrame);
    for (int i = 0; i < 70; ++i) {
        Frame();
    }
    int hidden = 0;
    for (int cell = 0; cell < Model().GetNumCells(); ++cell) {
        const unsigned char mark = Widget().GetScanMark(cell);
        hidden += mark == MNFitwordWidget::SCAN_HIDDEN || mark == MNFitwordWidget::SCAN_HIDDEN2;
    }
    EXPECT_EQ(m_puzzle->m_spellout->cells.Size(), hidden) << "the hidden word's cells flicker";
    RunSweep();
    EXPECT_EQ(1, m_signals.gameOver);
    EXPECT_EQ(PUZZLE_STATE_COMPLETED, m_screen->GetState());
    EXPECT_FLOAT_EQ(timeAtSweep, m_screen->GetTime()) << "the sweep is not play time";
    for (int i = 0; i < 30; ++i) {
        Frame();
    }
    EXPECT_EQ(1, m_signals.gameOver) << "fired once";
}

TEST_F(FitwordScreenTest, AWrongWordIsAnErrorUntilItIsPickedUpAgain) {
    Start(GAME_MODE_SIMPLYPUZZLE);
    Frame();
    ClickIntroContinue();
    const auto [a, b] = TwoOfALength();
    ASSERT_GE(a, 0) << "the bank's fitwords have words of one length";
    ASSERT_NO_FATAL_FAILURE(Drop(a, b));
    EXPECT_EQ(1, m_signals.invalid);
    EXPECT_EQ(1, m_screen->GetNumErrors());
    // Picking it up again takes it out of the wrong slot.
    ASSERT_NO_FATAL_FAILURE(PickOnList(a));
    EXPECT_EQ(0, m_screen->GetNumErrors());
    for (int slot = 0; slot < Model().GetNumWords(); ++slot) {
        ASSERT_NO_FATAL_FAILURE(Drop(slot, slot));
    }
    RunSweep();
    EXPECT_EQ(1, m_signals.gameOver);
}

TEST_F(FitwordScreenTest, ButtonsClearPauseAndAskForHints) {
    Start(GAME_MODE_TOURNAMENT);
    Frame();
    ClickIntroContinue();
    const auto [a, b] = TwoOfALength();
    ASSERT_GE(a, 0);
    ASSERT_NO_FATAL_FAILURE(Drop(a, b));
    bool bAcrossFirst = false;
    const int cell = CellFor(b, &bAcrossFirst);
    for (int i = 0; i < 2 && Model().GetSelectedSlot() != b; ++i) {
        PressCell(cell); // no word picked: selects the slot, alternating on a crossing
    }
    ClickSprite(Widget().GetClearButton());
    EXPECT_EQ(-1, Model().GetSlotOfWord(a));
    EXPECT_EQ(0, m_screen->GetNumErrors());

    const int before = Model().GetHintsLeft()[2];
    ChooseHint(-1);
    EXPECT_EQ(before, Model().GetHintsLeft()[2]);
    ChooseHint(2);
    EXPECT_EQ(before - 1, Model().GetHintsLeft()[2]);
    while (Model().GetHintsLeft()[2] > 0) {
        Model().Hint(2);
    }
    const int lettersLeft = Model().GetHintsLeft()[0];
    ChooseHint(2); // offered with none left, so not taken
    EXPECT_EQ(0, Model().GetHintsLeft()[2]);
    EXPECT_EQ(lettersLeft, Model().GetHintsLeft()[0]);
    m_hintScreen.PerformHintSignal(0);
    EXPECT_EQ(lettersLeft, Model().GetHintsLeft()[0]) << "the screen let go of the hint screen";

    ClickSprite(Widget().GetMenuButton());
    EXPECT_EQ(1, m_signals.pause);
    std::vector<u8> state(MNPuzzleUI::K_SAVED_STATE_SIZE);
    const int size = m_screen->SavePuzzleState(nullptr, 0);
    ASSERT_GT(size, 0);
    EXPECT_EQ(size, m_screen->SavePuzzleState(state.data(), static_cast<int>(state.size())));
    m_screen->Reset();
    EXPECT_EQ(1, m_screen->LoadPuzzleState(state.data(), static_cast<int>(state.size())));
    EXPECT_EQ(0, Model().GetHintsLeft()[2]);
}

// Head to Head ticks the screen once with 0.0 and draws it outside the world's walk after a
// continue screen.
TEST_F(FitwordScreenTest, SurvivesAZeroTickAndDrawingOutsideTheWalk) {
    MNProfileManager::SetActiveProfile(0);
    MNHeadToHeadData& players = *MNProfileManager::GetActiveProfile()->GetHeadToHeadData();
    const MNHeadToHeadData saved = players;
    players.m_sprintMode = true;
    players.m_player1Lives = 3;
    players.m_player2Lives = 2;
    Start(GAME_MODE_HEADTOHEAD);
    m_screen->GetScreen()->Tick(0.0f);
    m_screen->GetScreen()->Render();
    Frame();
    ClickIntroContinue();
    const float time = m_screen->GetTime();
    m_screen->GetScreen()->Tick(0.0f);
    m_screen->GetScreen()->Render();
    krDrawHelp::Flush();
    EXPECT_FLOAT_EQ(time, m_screen->GetTime());
    EXPECT_EQ(MNFitwordWidget::STATE_PLAY, Widget().GetWidgetState());
    players = saved;
}

TEST_F(FitwordScreenTest, GoldenViews) {
    Start(GAME_MODE_SIMPLYPUZZLE);
    Frame(PointAt(330, 200));
    EXPECT_TRUE(MatchesGolden("fitword_intro", Picture()));
    ClickIntroContinue();
    ASSERT_NO_FATAL_FAILURE(Drop(0, 0));
    const int picked =
        Model().GetListWord(0) == 0 ? Model().GetListWord(1) : Model().GetListWord(0);
    ASSERT_NO_FATAL_FAILURE(PickOnList(picked));
    Frame(PointAt(600, 420));
    EXPECT_TRUE(MatchesGolden("fitword_play", Picture()));
    Model().SelectWord(MNFitword::K_NO_WORD);
    for (int slot = 1; slot < Model().GetNumWords(); ++slot) {
        Model().PlaceWord(slot, slot);
    }
    for (int i = 0; i < 76; ++i) {
        Frame(PointAt(600, 420));
    }
    ASSERT_EQ(MNFitwordWidget::STATE_SWEEP, Widget().GetWidgetState());
    EXPECT_TRUE(MatchesGolden("fitword_sweep", Picture()));
}

} // namespace
