// What the modes score, read through the one puzzle-screen interface with the same meaning for
// every kind: right answers, wrong entries made (never lowered by putting them right) against
// errors on the grid, and hints used against the allowance.
#include "crossword_test_support.h"
#include "fitword_test_support.h"
#include "puzzle_rules_support.h"
#include "puzzle_screen_fixture.h"

#include <puzzles/crossword/mncrosswordui.h>
#include <puzzles/fitword/mnfitwordui.h>
#include <puzzles/sudoku/mnsudokuui.h>
#include <puzzles/wordsearch/mnwordsearchui.h>
#include <services/mnsubgame.h>
#include <tui/mnkeyboard.h>

using namespace Kelvo_lib;
using puzzle_test::ModeRules;

namespace {

// Per kind: a small puzzle, one right answer, a wrong entry in that answer's place, all
// answers, and how many answers a solved puzzle scores.
struct CrosswordDriver {
    using Screen = MNCrosswordUI;
    static constexpr int kSolvedCorrect = 4;
    CrosswordData record = crossword_test::SmallCrossword();
    void Set(Screen& screen, int mode) { screen.SetPuzzle(&record, ModeRules(mode, record)); }
    static void Enter(Screen& screen, int clue, const char* text) {
        MNCrossword& model = *screen.GetWidget()->GetCrossword();
        model.SelectClue(clue);
        model.PlaceWord(text, model.GetFirstCell(),
                        model.GetDirectionView() ? DIR_VERTICAL : DIR_HORIZONTAL);
    }
    void Right(Screen& screen) { Enter(screen, 0, "CAT"); }
    void Wrong(Screen& screen) { Enter(screen, 0, "CAB"); }
    // A hint takes the next letter of the word open on the keyboard.
    void Hint(Screen& screen) {
        MNCrossword& model = *screen.GetWidget()->GetCrossword();
        model.SelectClue(0);
        model.GetKeyboard()->SetMaxStringLength(model.GetWordLength(0));
        model.Hint(0);
    }
    void Solve(Screen& screen) {
        for (int clue = 0; clue < record.words.Size(); ++clue) {
            Enter(screen, clue, record.words(clue).word);
        }
    }
};

struct FitwordDriver {
    using Screen = MNFitwordUI;
    static constexpr int kSolvedCorrect = 4;
    FitwordData record = fitword_test::SmallFitword();
    void Set(Screen& screen, int mode) { screen.SetPuzzle(&record, ModeRules(mode, record)); }
    static MNFitword& Model(Screen& screen) { return *screen.GetWidget()->GetFitword(); }
    void Right(Screen& screen) { Model(screen).PlaceWord(0, 0); }
    void Wrong(Screen& screen) { Model(screen).PlaceWord(1, 0); }
    void Hint(Screen& screen) { Model(screen).Hint(0); }
    void Solve(Screen& screen) {
        for (int slot = 0; slot < Model(screen).GetNumWords(); ++slot) {
            Model(screen).PlaceWord(slot, slot);
        }
    }
};

struct SudokuDriver {
    using Screen = MNSudokuUI;
    static constexpr int kSolvedCorrect = 27;
    SudokuData record = puzzle_test::MakeSudoku(3, 9);
    void Set(Screen& screen, int mode) { screen.SetPuzzle(&record, ModeRules(mode, record)); }
    static MNSudoku& Model(Screen& screen) { return *screen.GetWidget()->GetSudoku(); }
    void Fill(Screen& screen, int cells) {
        for (int cell = 0; cell < cells; ++cell) {
            Model(screen).SelectCell(cell);
            Model(screen).EnterDigit(Model(screen).GetSolution(cell));
        }
    }
    // The answer is the first row: a sudoku scores its complete rows, columns and boxes.
    void Right(Screen& screen) { Fill(screen, 9); }
    void Wrong(Screen& screen) {
        Model(screen).SelectCell(1);
        Model(screen).EnterDigit(Model(screen).GetSolution(1) % 9 + 1);
    }
    void Solve(Screen& screen) { Fill(screen, 81); }
    void Hint(Screen& screen) { Model(screen).Hint(0); }
};

struct WordsearchDriver {
    using Screen = MNWordsearchUI;
    static constexpr int kSolvedCorrect = 3;
    WordsearchData record = puzzle_test::MakeWordsearch(4);
    void Set(Screen& screen, int mode) { screen.SetPuzzle(&record, ModeRules(mode, record)); }
    // A stroke from one cell to another (column, row), held between them.
    static void Stroke(Screen& screen, int x0, int y0, int x1, int y1) {
        MNWordsearch& model = *screen.GetWidget()->GetWordsearch();
        model.GridClick(true, x0, y0, MNInputEdge::PRESSED);
        model.GridClick(true, x1, y1, MNInputEdge::HELD);
        model.GridClick(true, x1, y1, MNInputEdge::RELEASED);
    }
    void Right(Screen& screen) { Stroke(screen, 0, 0, 2, 0); }
    void Wrong(Screen& screen) { Stroke(screen, 3, 0, 3, 2); }
    void Hint(Screen& screen) { screen.GetWidget()->GetWordsearch()->Hint(0); }
    void Solve(Screen& screen) {
        Right(screen);
        Stroke(screen, 0, 0, 0, 2);
        Stroke(screen, 0, 2, 2, 2);
    }
};

template <class Driver>
class PuzzleScoringTest : public PuzzleScreenTest<typename Driver::Screen> {
protected:
    // The puzzle set in game mode, played, with its scoring inputs as a mode reads them.
    MNPuzzleUI& Start(int mode) {
        this->OpenScreen();
        m_driver.Set(*this->m_screen, mode);
        this->m_screen->Play();
        return *this->m_screen;
    }
    struct Reading {
        int correct, errorsMade, errorsOnGrid;
    };
    static Reading Read(const MNPuzzleUI& screen) {
        return {screen.GetNumCorrect(), screen.GetNumErrorsMade(), screen.GetNumErrors()};
    }
    Driver m_driver;
};

using Drivers = testing::Types<CrosswordDriver, FitwordDriver, SudokuDriver, WordsearchDriver>;
TYPED_TEST_SUITE(PuzzleScoringTest, Drivers);

TYPED_TEST(PuzzleScoringTest, RightAnswersAndErrorsMadeMeanTheSameForEveryKind) {
    auto& screen = this->Start(GAME_MODE_QUICKBLAST);
    auto& driver = this->m_driver;
    auto& typed = *this->m_screen;
    auto expect = [&](const char* step, int correct, int made, int onGrid) {
        const auto reading = this->Read(screen);
        EXPECT_EQ(reading.correct, correct) << step;
        EXPECT_EQ(reading.errorsMade, made) << step;
        EXPECT_EQ(reading.errorsOnGrid, onGrid) << step;
    };
    expect("untouched", 0, 0, 0);
    driver.Wrong(typed);
    EXPECT_EQ(screen.GetNumErrorsMade(), 1) << "a wrong entry";
    driver.Right(typed);
    expect("the wrong entry put right", 1, 1, 0);
    screen.RemoveErrors();
    screen.Reset();
    EXPECT_EQ(screen.GetNumErrorsMade(), 1) << "neither removing errors nor a reset lowers it";
    driver.Solve(typed);
    expect("solved", TypeParam::kSolvedCorrect, 1, 0);
}

TYPED_TEST(PuzzleScoringTest, ErrorsMadeSurviveAStoppedAndResumedPuzzle) {
    auto& screen = this->Start(GAME_MODE_SIMPLYPUZZLE);
    this->m_driver.Wrong(*this->m_screen);
    u8 state[MNPuzzleUI::K_SAVED_STATE_SIZE] = {};
    ASSERT_GT(screen.SavePuzzleState(state, sizeof(state)), 0);
    auto& resumed = this->Start(GAME_MODE_SIMPLYPUZZLE);
    EXPECT_EQ(resumed.GetNumErrorsMade(), 0);
    ASSERT_EQ(resumed.LoadPuzzleState(state, sizeof(state)), 1);
    EXPECT_EQ(resumed.GetNumErrorsMade(), 1);
}

TYPED_TEST(PuzzleScoringTest, HintsUsedCountPerKindWithinTheModesAllowance) {
    auto& screen = this->Start(GAME_MODE_TOURNAMENT);
    const int allowance = screen.GetMaxHints(0);
    ASSERT_TRUE(allowance > 0 || allowance == PUZZLE_HINTS_UNLIMITED);
    EXPECT_EQ(screen.GetHintsUsed(0), 0);
    this->m_driver.Hint(*this->m_screen);
    EXPECT_EQ(screen.GetHintsUsed(0), 1);
    EXPECT_EQ(screen.GetHintsUsed(1), 0);
    EXPECT_EQ(screen.GetHintsUsed(PUZZLE_HINT_KINDS), 0) << "no such kind";
    const int inHeadToHead = this->Start(GAME_MODE_HEADTOHEAD).GetMaxHints(0);
    EXPECT_TRUE(inHeadToHead == 0 || inHeadToHead == PUZZLE_HINTS_UNLIMITED);
}

} // namespace
