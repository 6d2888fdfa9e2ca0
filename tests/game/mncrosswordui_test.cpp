// A crossword of the disc's bank played on its screen by pointer and A button only, through
// a UI manager walked the way the world walks it: the intro, clues chosen on the list and
// on the grid, every answer typed on the on-screen keyboard and confirmed, the sweep and
// the game over; a wrong letter sent back to play; a hint. Golden pictures of the views.
#include "crossword_test_support.h"
#include "puzzle_screen_fixture.h"

#include <puzzles/crossword/mncrosswordui.h>
#include <puzzles/crossword/mncrosswordwidget.h>
#include <services/mnsubgame.h>
#include <services/puzzlebank.h>
#include <tui/mnkeyboard.h>

#include "png_golden.h"
#include "puzzle_rules_support.h"

#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using png_golden::MatchesGolden;
using puzzle_test::ModeRules;

class CrosswordScreenTest : public PuzzleScreenTest<MNCrosswordUI> {
protected:
    void SetUp() override {
        PuzzleScreenTest::SetUp();
        ASSERT_TRUE(m_bank.Load(0)) << "the disc's bank";
        for (int i = 0; i < m_bank.GetNumEntries() && m_puzzle == nullptr; ++i) {
            if (m_bank.GetEntry(i).type == PUZZLE_TYPE_CROSSWORD) {
                m_puzzle =
                    static_cast<CrosswordPuzzle*>(m_bank.GetPuzzle(m_bank.GetEntry(i).id, 0));
            }
        }
        ASSERT_NE(m_puzzle, nullptr);
        kRender::BufferClear(0xFF1B2A4A);
        kRender::BufferSwap();
    }

    void Start(int gameMode) {
        OpenScreen();
        EXPECT_FALSE(m_screen->SetPuzzle(&m_sudoku, MNPuzzleRules{})) << "another kind is refused";
        ASSERT_TRUE(m_screen->SetPuzzle(m_puzzle, ModeRules(gameMode, *m_puzzle)));
        m_screen->SetSpellout(m_puzzle->m_spellout);
        PlayAndListen();
    }

    MNCrosswordWidget& Widget() { return *m_screen->GetWidget(); }
    MNCrossword& Model() { return *Widget().GetCrossword(); }

    // Chooses a word on the clue list: its tab, scrolled to its first line, pressed.
    void ChooseOnList(int word) {
        const bool bDown = Model().GetWordDirection(word);
        if (Model().GetDirectionView() != bDown) {
            Click(bDown ? 330.0f + 170.0f + 50.0f : 330.0f + 50.0f, 43.0f + 15.0f);
        }
        const kArray<MNCrosswordWidget::RenderedWords>& lines = Widget().GetClueLines(bDown);
        int line = 0;
        while (lines(line).wordIndex != word) {
            ++line;
        }
        while (line >= Widget().GetClueListPos() + MNCrosswordWidget::K_VISIBLE_LINES) {
            Click(330.0f + 155.0f, 43.0f + 405.0f - 28.0f - 10.0f + 14.0f); // down arrow
        }
        while (line < Widget().GetClueListPos()) {
            Click(330.0f + 155.0f, 43.0f + 40.0f + 14.0f);
        }
        const float y = MNCrosswordWidget::K_LINES_TOP +
                        MNCrosswordWidget::K_LINE_STEP * (line - Widget().GetClueListPos()) + 7.0f;
        Click(400.0f, y);
        ASSERT_EQ(word, Model().GetSelectedClue());
    }

    void PressCell(int cell) {
        float x = 0.0f;
        float y = 0.0f;
        Widget().GetCellPosition(cell, x, y);
        Click(x + 9.0f, y + 9.0f);
    }

    // Opens the answer view: a second press on the clue's line, or the resolve button.
    void OpenFromList(int word) {
        ChooseOnList(word);
        ChooseOnList(word);
    }
    void OpenFromResolve() { Click(105.0f, 327.0f); }

    void Type(const std::string& letters) {
        const MNKeyboard* keyboard = Model().GetKeyboard();
        for (char letter : letters) {
            const MNKeyboardKey& key = keyboard->GetKey(keyboard->GetKeyIndex(letter));
            Click(key.x + key.w * 0.5f, key.y + key.h * 0.5f);
        }
    }
    void Confirm() { Click(380.0f, 270.0f); }
    void Hint() { Click(210.0f, static_cast<float>(m_surface->GetDesc().yRes) - 15.0f); }

    // Enters a word through the answer view: by the list, or by a cell only it runs through
    // and the resolve button.
    void Solve(int word, const std::string& answer) {
        int own = -1;
        for (int n = 0; n < Model().GetWordLength(word) && own < 0; ++n) {
            const int cell = Model().GetWordCell(word, n);
            const CrosswordDataCell& data = m_puzzle->m_crossword->cells(cell);
            if ((data.wordIndexA == CROSSWORD_NO_WORD) != (data.wordIndexD == CROSSWORD_NO_WORD)) {
                own = cell;
            }
        }
        if (own >= 0 && word % 2 == 1) {
            PressCell(own);
            ASSERT_EQ(word, Model().GetSelectedClue());
            OpenFromResolve();
        } else {
            OpenFromList(word);
        }
        ASSERT_EQ(MNCrosswordWidget::STATE_ANSWER, Widget().GetWidgetState());
        Type(answer);
        Confirm();
        ASSERT_NE(MNCrosswordWidget::STATE_ANSWER, Widget().GetWidgetState());
    }

    // Plays until the sweep has ended; returns the frames it took.
    int RunSweep() {
        int frames = 0;
        for (; frames < 600 &&
               (Widget().GetWidgetState() == MNCrosswordWidget::STATE_SWEEP || frames == 0) &&
               m_signals.gameOver == 0;
             ++frames) {
            Frame();
        }
        return frames;
    }

    CrosswordPuzzle* m_puzzle = nullptr;
    SudokuPuzzle m_sudoku;
};

TEST_F(CrosswordScreenTest, PlayedThroughByPointerUntilTheSweepEndsTheGame) {
    Start(GAME_MODE_SIMPLYPUZZLE);
    for (int i = 0; i < 5; ++i) {
        Frame();
    }
    EXPECT_TRUE(m_screen->IsContinueScreenOpen());
    Click(320.0f, 420.0f); // HELP keeps the intro
    EXPECT_EQ(1, m_signals.help);
    ClickIntroContinue();
    ASSERT_FALSE(m_screen->IsContinueScreenOpen());
    EXPECT_FLOAT_EQ(kFrame, m_screen->GetTime()) << "only the frame after CONTINUE counts";
    const int playStart = m_frames;

    const CrosswordData& record = *m_puzzle->m_crossword;
    for (int word = 0; word < record.words.Size(); ++word) {
        SCOPED_TRACE(word);
        ASSERT_NO_FATAL_FAILURE(Solve(word, record.words(word).word));
    }
    EXPECT_EQ(record.words.Size(), m_signals.valid);
    EXPECT_EQ(0, m_signals.invalid);
    ASSERT_TRUE(m_screen->IsGridFull());

    ASSERT_EQ(MNCrosswordWidget::STATE_SWEEP, Widget().GetWidgetState());
    const float timeAtSweep = m_screen->GetTime();
    EXPECT_NEAR((m_frames - playStart) * kFrame, timeAtSweep, 2 * kFrame);
    const int sweepFrames = RunSweep();
    EXPECT_NEAR(5.0f / kFrame, sweepFrames, 4) << "scan, flash and closing";
    EXPECT_EQ(1, m_signals.gameOver);
    EXPECT_EQ(PUZZLE_STATE_COMPLETED, m_screen->GetState());
    EXPECT_FLOAT_EQ(timeAtSweep, m_screen->GetTime()) << "the sweep is not play time";
    for (int i = 0; i < 30; ++i) {
        Frame();
    }
    EXPECT_EQ(1, m_signals.gameOver) << "fired once";
    EXPECT_EQ(0, m_screen->GetNumErrors());
}

TEST_F(CrosswordScreenTest, AWrongLetterIsBlankedAfterTheSweepAndPlayGoesOn) {
    Start(GAME_MODE_SIMPLYPUZZLE);
    Frame();
    ClickIntroContinue();
    const CrosswordData& record = *m_puzzle->m_crossword;
    // Solve words until one cell only the last word runs through stays, then fill it wrong.
    for (int word = 0; word < record.words.Size(); ++word) {
        std::string answer = record.words(word).word;
        if (word == record.words.Size() - 1) {
            answer.back() = answer.back() == 'Z' ? 'Y' : 'Z';
        }
        ASSERT_NO_FATAL_FAILURE(Solve(word, answer));
    }
    EXPECT_EQ(1, m_signals.invalid);
    const int last = record.words.Size() - 1;
    const int wrongCell = Model().GetWordCell(last, Model().GetWordLength(last) - 1);
    ASSERT_EQ(MNCrosswordWidget::STATE_SWEEP, Widget().GetWidgetState());
    for (int i = 0; i < 70; ++i) {
        Frame();
    }
    EXPECT_EQ(MNCrosswordWidget::SCAN_WRONG, Widget().GetScanMark(wrongCell));
    RunSweep();
    EXPECT_EQ(0, m_signals.gameOver);
    EXPECT_EQ(MNCrosswordWidget::STATE_PLAY, Widget().GetWidgetState());
    EXPECT_EQ(' ', Model().GetUserLetter(wrongCell));
    EXPECT_FALSE(Model().IsClueUsed(last));
    EXPECT_EQ(1, m_screen->GetNumErrors());
}

TEST_F(CrosswordScreenTest, ASweepOfFewerTicksThanColumnsStillSendsAWrongGridBack) {
    Start(GAME_MODE_SIMPLYPUZZLE);
    Frame();
    ClickIntroContinue();
    const CrosswordData& record = *m_puzzle->m_crossword;
    for (int word = 0; word < record.words.Size(); ++word) {
        Model().SelectClue(word);
        Model().PlaceWord(record.words(word).word, Model().GetFirstCell(),
                          Model().GetWordDirection(word) ? DIR_VERTICAL : DIR_HORIZONTAL);
    }
    // A wrong letter in the last column.
    int wrong = Model().GetNumCols() - 1;
    while (Model().GetCellsDone(wrong) == 0) {
        wrong += Model().GetNumCols();
    }
    const char letter[] = {Model().GetCellsDone(wrong) == 'Z' ? 'Y' : 'Z', 0};
    Model().PlaceWord(letter, wrong, DIR_HORIZONTAL);
    // Half-second frames: the scan is over before it reaches every column.
    Widget().Tick(0.5f);
    ASSERT_EQ(MNCrosswordWidget::STATE_SWEEP, Widget().GetWidgetState());
    for (int i = 0; i < 12 && Widget().GetWidgetState() != MNCrosswordWidget::STATE_PLAY; ++i) {
        Widget().Tick(0.5f);
    }
    EXPECT_EQ(MNCrosswordWidget::STATE_PLAY, Widget().GetWidgetState());
    EXPECT_EQ(' ', Model().GetUserLetter(wrong));
    EXPECT_EQ(0, m_signals.gameOver);
}

TEST_F(CrosswordScreenTest, TournamentHintRevealsTheNextLetterAndLocksIt) {
    Start(GAME_MODE_TOURNAMENT);
    Frame();
    ClickIntroContinue();
    OpenFromList(0);
    Hint();
    const int first = Model().GetStartCell(0);
    EXPECT_EQ(m_puzzle->m_crossword->cellsDone(first), Model().GetUserLetter(first));
    EXPECT_TRUE(Model().IsCellLocked(first));
    EXPECT_EQ(1, Model().GetHintsUsed(0));
    EXPECT_EQ(MNCrosswordWidget::STATE_ANSWER, Widget().GetWidgetState());
    // Back drops the view; the hinted letter stays.
    Click(490.0f, 270.0f);
    EXPECT_EQ(MNCrosswordWidget::STATE_PLAY, Widget().GetWidgetState());
    EXPECT_TRUE(Model().IsCellLocked(first));
    // The menu button asks the mode to pause.
    Click(120.0f, static_cast<float>(m_surface->GetDesc().yRes) - 15.0f);
    EXPECT_EQ(1, m_signals.pause);
}

TEST_F(CrosswordScreenTest, ResetKeepsTheClockAndReturnsToPlay) {
    Start(GAME_MODE_SIMPLYPUZZLE);
    Frame();
    ClickIntroContinue();
    OpenFromList(0);
    for (int i = 0; i < 30; ++i) {
        Frame();
    }
    const float time = m_screen->GetTime();
    m_screen->Reset();
    EXPECT_EQ(MNCrosswordWidget::STATE_PLAY, Widget().GetWidgetState());
    EXPECT_FLOAT_EQ(time, m_screen->GetTime());
    std::vector<u8> state(MNPuzzleUI::K_SAVED_STATE_SIZE);
    const int size = m_screen->SavePuzzleState(nullptr, 0);
    EXPECT_EQ(size, m_screen->SavePuzzleState(state.data(), static_cast<int>(state.size())));
    EXPECT_EQ(1, m_screen->LoadPuzzleState(state.data(), static_cast<int>(state.size())));
}

// A small crossword of our own, so that the pictures do not follow the bank's generator.
void MakeGoldenCrossword(CrosswordPuzzle& puzzle) {
    *puzzle.m_crossword =
        crossword_test::MakeCrossword({"STAMP", "H#R#E", "OCEAN", "E#A#N", "####Y"});
    const char* clues[] = {"Stick it on a letter (5)", "Worn on the foot (4)",
                           "The size of a surface (4)", "A small coin (5)",
                           "The Atlantic, for one (5)"};
    for (int i = 0; i < 5; ++i) {
        puzzle_test::CopyText(puzzle.m_crossword->words(i).clue, clues[i]);
    }
}

// The largest grid the bank holds: every cell closed by its edges, the clue numbers at the
// size of their font.
TEST_F(CrosswordScreenTest, GoldenLargestGrid) {
    CrosswordPuzzle own;
    *own.m_crossword = crossword_test::MakeCrossword(
        {"SWASH#GOGGLES", "##P#E###U#E#E", "RHO#MAMMALIAN", "E#L###I#C###S", "CHOREOGRAPH#E",
         "I#G#M#R#M#A#L", "POI#PIANO#RUE", "R#S#H#T#L#V#S", "O#EVASIVENESS", "C###S#O###S#L",
         "APPLIANCE#TOY", "T#A#S###E#E##", "ENDLESS#LORRY"});
    m_puzzle = &own;
    Start(GAME_MODE_SIMPLYPUZZLE);
    Frame();
    ClickIntroContinue();
    Frame(PointAt(600, 200));
    EXPECT_TRUE(MatchesGolden("crossword_13x13", Picture()));
}

TEST_F(CrosswordScreenTest, GoldenViews) {
    CrosswordPuzzle own;
    MakeGoldenCrossword(own);
    m_puzzle = &own;
    Start(GAME_MODE_SIMPLYPUZZLE);
    Frame(PointAt(330, 270));
    EXPECT_TRUE(MatchesGolden("crossword_intro", Picture()));
    ClickIntroContinue();
    const CrosswordData& record = *m_puzzle->m_crossword;
    ASSERT_NO_FATAL_FAILURE(Solve(0, record.words(0).word));
    ASSERT_NO_FATAL_FAILURE(ChooseOnList(1));
    Frame(PointAt(600, 200));
    EXPECT_TRUE(MatchesGolden("crossword_play", Picture()));
    ChooseOnList(1);
    Type(std::string(record.words(1).word).substr(0, 2));
    Frame(PointAt(600, 200));
    EXPECT_TRUE(MatchesGolden("crossword_answer", Picture()));
    Click(490.0f, 270.0f);
    for (int word = 1; word < record.words.Size(); ++word) {
        ASSERT_NO_FATAL_FAILURE(Solve(word, record.words(word).word));
    }
    for (int i = 0; i < 30; ++i) {
        Frame(PointAt(600, 200));
    }
    EXPECT_TRUE(MatchesGolden("crossword_sweep", Picture()));
}

} // namespace
