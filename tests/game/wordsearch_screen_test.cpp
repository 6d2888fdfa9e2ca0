// A wordsearch of the disc's bank played on its screen by pointer and A button only, through
// a UI manager walked the way the world walks it: the intro, every word stroked (press in
// its first cell, drag through the others, release in its last), one wrong stroke, the
// sweep and the one game over; the menu and hint buttons and the hint screen; golden
// pictures of the intro, of capsules in all four directions, of the sweep and of the bank's
// largest grid.
#include "puzzle_screen_fixture.h"

#include <puzzles/wordsearch/mnwordsearchui.h>
#include <puzzles/wordsearch/mnwordsearchwidget.h>
#include <services/mnsubgame.h>
#include <services/puzzlebank.h>
#include <tui/mnhintui.h>

#include "png_golden.h"
#include "puzzle_rules_support.h"

#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using png_golden::MatchesGolden;
using puzzle_test::ModeRules;

// A word's line: the step from one letter's cell to the next, as (dx, dy).
std::pair<int, int> Direction(const WordsearchData& record, int w) {
    const int cols = record.numCols;
    const int first = record.wordTrails(record.words(w).cellStartIndex);
    const int second = record.wordTrails(record.words(w).cellStartIndex + 1);
    return {second % cols - first % cols, second / cols - first / cols};
}

// The four lines a capsule can lie on, whichever way the word reads.
int LineKind(std::pair<int, int> d) {
    if (d.first < 0 || (d.first == 0 && d.second < 0)) {
        d = {-d.first, -d.second};
    }
    return d.second == 0 ? 0 : d.first == 0 ? 1 : d.second > 0 ? 2 : 3;
}

class WordsearchScreenTest : public PuzzleScreenTest<MNWordsearchUI> {
protected:
    void SetUp() override {
        PuzzleScreenTest::SetUp();
        ASSERT_TRUE(m_bank.Load(0)) << "the disc's bank";
        // The first wordsearch whose words lie on all four lines.
        for (int i = 0; i < m_bank.GetNumEntries() && m_puzzle == nullptr; ++i) {
            if (m_bank.GetEntry(i).type != PUZZLE_TYPE_WORDSEARCH) {
                continue;
            }
            auto* puzzle =
                static_cast<WordsearchPuzzle*>(m_bank.GetPuzzle(m_bank.GetEntry(i).id, 0));
            std::set<int> kinds;
            for (int w = 0; w < puzzle->m_wordsearch->words.Size(); ++w) {
                kinds.insert(LineKind(Direction(*puzzle->m_wordsearch, w)));
            }
            if (kinds.size() == 4) {
                m_puzzle = puzzle;
            }
        }
        ASSERT_NE(m_puzzle, nullptr);
        m_manager.AddUI("hint_main", &m_hintScreen);
        kRender::BufferClear(0xFF1B2A4A);
        kRender::BufferSwap();
    }

    void Start(int gameMode) {
        OpenScreen();
        EXPECT_FALSE(m_screen->SetPuzzle(&m_sudoku, MNPuzzleRules{})) << "another kind is refused";
        ASSERT_TRUE(m_screen->SetPuzzle(m_puzzle, ModeRules(gameMode, *m_puzzle)));
        PlayAndListen();
    }

    MNWordsearchWidget& Widget() { return *m_screen->GetWidget(); }
    MNWordsearch& Model() { return *Widget().GetWordsearch(); }
    const WordsearchData& Record() const { return *m_puzzle->m_wordsearch; }
    int ButtonY() const { return static_cast<int>(m_surface->GetDesc().yRes) - 15; }

    std::string AtCell(int cell) {
        const int cols = Model().GetNumCols();
        const int x =
            static_cast<int>(Widget().GetCellX(cell % cols)) + Widget().GetCellWidth() / 2;
        const int y =
            static_cast<int>(Widget().GetCellY(cell / cols)) + Widget().GetCellHeight() / 2;
        return PointAt(x, y);
    }

    // Press in the first cell, a frame over each further cell with A held, release.
    void Stroke(const std::vector<int>& cells) {
        Frame(AtCell(cells.front()) + " hold A");
        for (size_t i = 1; i < cells.size(); ++i) {
            Frame(AtCell(cells[i]));
        }
        Frame("hold none");
        Frame();
    }

    std::vector<int> Trail(int w, bool bBackwards) const {
        std::vector<int> cells;
        for (int i = Record().words(w).cellStartIndex; i <= Record().words(w).cellEndIndex; ++i) {
            cells.push_back(Record().wordTrails(i));
        }
        if (bBackwards) {
            std::reverse(cells.begin(), cells.end());
        }
        return cells;
    }

    WordsearchPuzzle* m_puzzle = nullptr;
    SudokuPuzzle m_sudoku;
    MNHintUI m_hintScreen;
};

TEST_F(WordsearchScreenTest, PlayedThroughByPointerUntilTheSweepEndsTheGame) {
    Start(GAME_MODE_SIMPLYPUZZLE);
    Frame();
    EXPECT_TRUE(m_screen->IsContinueScreenOpen());
    Click(320, 420); // HELP keeps the intro
    EXPECT_EQ(1, m_signals.help);
    ClickIntroContinue();
    ASSERT_FALSE(m_screen->IsContinueScreenOpen());

    std::vector<int> shortOfWord0 = Trail(0, false);
    shortOfWord0.pop_back();
    Stroke(shortOfWord0);
    EXPECT_EQ(1, m_signals.invalid);
    EXPECT_EQ(1, Model().GetNumErrors());

    const int words = Record().words.Size();
    for (int w = 0; w < words; ++w) {
        Stroke(Trail(w, w % 2 == 1));
        ASSERT_TRUE(Model().IsWordFound(w)) << "word " << w;
    }
    EXPECT_EQ(words - 1, m_signals.valid) << "the last word completes instead";
    EXPECT_EQ(1, m_signals.invalid);
    EXPECT_EQ(PUZZLE_STATE_COMPLETED, m_screen->GetState());
    ASSERT_TRUE(Widget().IsSweeping());
    const float timeAtSweep = m_screen->GetTime();

    int frames = 0;
    for (; frames < 400 && m_signals.gameOver == 0; ++frames) {
        Frame();
    }
    EXPECT_NEAR(3.0f / kFrame, frames, 3) << "1 s of sweep and 2 s after it";
    for (int i = 0; i < 30; ++i) {
        Frame();
    }
    EXPECT_EQ(1, m_signals.gameOver) << "fired once";
    EXPECT_FLOAT_EQ(timeAtSweep, m_screen->GetTime()) << "the sweep is not play time";
}

TEST_F(WordsearchScreenTest, TheSweepLightsEachColumnInTurn) {
    Start(GAME_MODE_SIMPLYPUZZLE);
    Frame();
    ClickIntroContinue();
    for (int w = 0; w < Record().words.Size(); ++w) {
        Stroke(Trail(w, false));
    }
    ASSERT_TRUE(Widget().IsSweeping());
    const int cols = Model().GetNumCols();
    std::vector<int> litOrder;
    for (int i = 0; i < 70; ++i) {
        Frame();
        for (int col = 0; col < cols; ++col) {
            if (Widget().IsCellLit(col) && (litOrder.empty() || litOrder.back() != col)) {
                litOrder.push_back(col);
            }
        }
    }
    std::vector<int> expected(cols);
    for (int col = 0; col < cols; ++col) {
        expected[col] = col;
    }
    EXPECT_EQ(expected, litOrder);
}

TEST_F(WordsearchScreenTest, ButtonsPauseAndOpenTheHintScreenWhoseChoiceMarksBothEnds) {
    Start(GAME_MODE_QUICKBLAST);
    Frame();
    ClickIntroContinue();
    Click(120, ButtonY());
    EXPECT_EQ(1, m_signals.pause) << "once per press and release";

    const int biggestLeft = Model().GetHintsLeft()[2];
    ASSERT_GT(biggestLeft, 0);
    Click(210, ButtonY());
    ASSERT_EQ(Layer()->GetTopUI(), &m_hintScreen);
    EXPECT_EQ(m_hintScreen.GetHintsLeft(2), biggestLeft);
    Layer()->RemoveUI(&m_hintScreen);
    m_hintScreen.PerformHintSignal(2);
    EXPECT_EQ(Model().GetHintsLeft()[2], biggestLeft - 1);
    const int first = Model().GetHintPositions(0);
    const int last = Model().GetHintPositions(1);
    bool bEndsOfAWord = false;
    for (int w = 0; w < Record().words.Size(); ++w) {
        const std::vector<int> trail = Trail(w, false);
        bEndsOfAWord |= trail.front() == first && trail.back() == last;
    }
    EXPECT_TRUE(bEndsOfAWord);

    m_hintScreen.PerformHintSignal(1);
    EXPECT_EQ(Model().GetHintsLeft()[1], Model().GetMaxHints(1))
        << "the screen let go of the hint screen";
}

TEST_F(WordsearchScreenTest, WithEveryHintUsedTheHintButtonIsGone) {
    Start(GAME_MODE_QUICKBLAST);
    Frame();
    ClickIntroContinue();
    for (int kind = 0; kind < 3; ++kind) {
        while (Model().GetHintsLeft()[kind] > 0) {
            Model().Hint(kind);
        }
    }
    Click(210, ButtonY());
    EXPECT_EQ(Layer()->GetTopUI(), m_screen.get());
    Frame(PointAt(120, ButtonY()) + " hold A");
    Frame(PointAt(210, ButtonY()));
    Frame("hold none");
    EXPECT_EQ(0, m_signals.pause) << "released off the menu button";
}

TEST_F(WordsearchScreenTest, GoldenViews) {
    SeedRandom(780); // the seed the golden views were drawn with
    Start(GAME_MODE_QUICKBLAST);
    Frame(PointAt(330, 270));
    EXPECT_TRUE(MatchesGolden("wordsearch_intro", Picture()));
    ClickIntroContinue();
    std::set<int> kinds;
    for (int w = 0; w < Record().words.Size() && kinds.size() < 4; ++w) {
        if (kinds.insert(LineKind(Direction(Record(), w))).second) {
            Stroke(Trail(w, w % 2 == 1));
        }
    }
    Model().Hint(2);
    std::vector<int> partial = Trail(Record().words.Size() - 1, false);
    Frame(AtCell(partial[0]) + " hold A");
    Frame(AtCell(partial[1]));
    EXPECT_TRUE(MatchesGolden("wordsearch_play", Picture()));
    Frame("hold none");
    for (int w = 0; w < Record().words.Size(); ++w) {
        if (!Model().IsWordFound(w)) {
            Stroke(Trail(w, false));
        }
    }
    for (int i = 0; i < 20; ++i) {
        Frame(PointAt(600, 400));
    }
    EXPECT_TRUE(MatchesGolden("wordsearch_sweep", Picture()));
}

// The largest grid the bank holds, closed by its edges on all four sides.
TEST_F(WordsearchScreenTest, GoldenLargestGrid) {
    // The bank keeps one puzzle read at a time: the largest is found by id, then read.
    int largestId = -1;
    int largestCells = 0;
    for (int i = 0; i < m_bank.GetNumEntries(); ++i) {
        if (m_bank.GetEntry(i).type == PUZZLE_TYPE_WORDSEARCH) {
            const WordsearchData& record =
                *static_cast<WordsearchPuzzle*>(m_bank.GetPuzzle(m_bank.GetEntry(i).id, 0))
                     ->m_wordsearch;
            if (record.numCols * record.numRows > largestCells) {
                largestCells = record.numCols * record.numRows;
                largestId = m_bank.GetEntry(i).id;
            }
        }
    }
    m_puzzle = static_cast<WordsearchPuzzle*>(m_bank.GetPuzzle(largestId, 0));
    Start(GAME_MODE_SIMPLYPUZZLE);
    Frame();
    ClickIntroContinue();
    Frame(PointAt(600, 400));
    EXPECT_TRUE(MatchesGolden("wordsearch_largest", Picture()));
}

} // namespace
