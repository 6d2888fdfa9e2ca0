// The puzzle screens played the same way on every kind, by pointer and A button only, through
// a UI manager walked the way the world walks it: the intro and every answer until the sweep
// ends the game; a wrong entry sent back, also by a sweep of fewer ticks than columns, and
// play going on; the menu, reset and the saved state; hints through the hint screen; a tick of
// 0.0 and drawing outside the walk; golden pictures of the views and of the largest grid. A
// kind's traits say how it is played; what one kind alone does closes the file.
#include "colour_contrast.h"
#include "crossword_test_support.h"
#include "fitword_test_support.h"
#include "puzzle_rules_support.h"
#include "puzzle_screen_fixture.h"

#include <puzzles/crossword/mncrosswordui.h>
#include <puzzles/fitword/mnfitwordui.h>
#include <puzzles/sudoku/mnsudokuui.h>
#include <puzzles/wordsearch/mnwordsearchui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/mnsubgame.h>
#include <services/puzzlebank.h>
#include <tui/mnhintui.h>
#include <tui/mnkeyboard.h>

#include <kelvo/render/krdrawhelp.h>
#include <kelvo/render/krender.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace Kelvo_lib;
using png_golden::MatchesGolden;
using puzzle_test::ModeRules;

// Which of a kind's puzzles a case plays: the one most cases play, a small one for the wrong
// entries, the one the golden views are drawn with, and the largest grid the bank holds.
enum class Grid { kPlay, kSmall, kGolden, kLargest };

// A pixel on screen.
struct At {
    float x, y;
};

// What tells the kinds apart by design: the name its golden pictures start with;
struct KindFacts {
    const char* name;
    // whether a full grid is judged as the sweep ends (a wordsearch is over as its last word
    // is found, the sweep only follows), and the sweep's time until the game over;
    struct {
        bool bJudges;
        float seconds;
        int framesOff;
    } sweep;
    // FillWithAWrongEntry's invalid entries, the sweep frames until one is marked (0: no
    // wrong entry stays on the grid) and that picture, and the errors left once sent back;
    struct {
        int entries, framesToMark;
        const char* golden;
        int errorsLeft;
    } wrong;
    int savedStateSize; // 0 where it follows the puzzle's words
    // the mode that hints of one kind are taken through the hint screen in, and another;
    struct {
        int mode, kind, otherKind;
    } hints;
    // the pictures' random seed and mode, the pointer on the intro and resting later, and
    // the picture of the largest grid, if any.
    struct {
        u32 seed;
        int mode;
        At intro, resting;
        const char* largest;
    } golden;
};

// The bank's puzzle of a type that scores highest, the first of them on a tie; null when none
// scores above 0. The bank keeps one puzzle read at a time, so the pick is read again by id.
template <class Record>
Record* BestInBank(PuzzleBank& bank, ePuzzleType type, const std::function<int(Record&)>& score) {
    int bestId = -1;
    int best = 0;
    for (int i = 0; i < bank.GetNumEntries(); ++i) {
        auto* puzzle = bank.GetEntry(i).type == type
                           ? static_cast<Record*>(bank.GetPuzzle(bank.GetEntry(i).id, 0))
                           : nullptr;
        if (puzzle != nullptr && score(*puzzle) > best) {
            best = score(*puzzle);
            bestId = bank.GetEntry(i).id;
        }
    }
    return bestId < 0 ? nullptr : static_cast<Record*>(bank.GetPuzzle(bestId, 0));
}

// Two players of a Sprint on the active profile's Head to Head record, put back afterwards.
class SprintPlayers {
public:
    SprintPlayers()
        : m_players((MNProfileManager::SetActiveProfile(0),
                     *MNProfileManager::GetActiveProfile()->GetHeadToHeadData())),
          m_saved(m_players) {
        std::snprintf(m_players.m_player1Name, sizeof(m_players.m_player1Name), "ANN");
        std::snprintf(m_players.m_player2Name, sizeof(m_players.m_player2Name), "BEN");
        m_players.m_sprintMode = true;
        m_players.m_player1Lives = 3;
        m_players.m_player2Lives = 2;
        m_players.m_player1Active = true;
    }
    ~SprintPlayers() { m_players = m_saved; }

private:
    MNHeadToHeadData& m_players;
    const MNHeadToHeadData m_saved;
};

// The buttons along the bottom of the crossword and wordsearch.
At BottomButton(auto& t, float x) {
    return {x, static_cast<float>(t.m_surface->GetDesc().yRes) - 15.0f};
}

// ---------------------------------------------------------------------------------------
// The kinds: the screen, model and puzzles, and how the pointer enters right and wrong answers
// and shows the golden views.

struct SudokuScreen {
    using Screen = MNSudokuUI;
    using Puzzle = SudokuPuzzle;
    static constexpr auto kModel = &MNSudokuWidget::GetSudoku;
    static constexpr KindFacts kFacts{
        .name = "sudoku",
        .sweep = {true, 3.0f, 2},
        .wrong = {1, 59, "sudoku_mini_sweep", 0},
        .savedStateSize = 90,
        .hints = {GAME_MODE_SIMPLYPUZZLE, MNSudoku::HINT_CELL, MNSudoku::HINT_ROW},
        .golden = {80, GAME_MODE_SIMPLYPUZZLE, {330, 270}, {600, 420}, nullptr}};
    // Both sizes are played through; the small one is the 6 x 6.
    static constexpr Grid kPlayedThrough[] = {Grid::kSmall, Grid::kPlay};

    static Puzzle* Find(PuzzleBank& bank, Grid grid) {
        const int size = grid == Grid::kSmall ? 6 : 9;
        return BestInBank<Puzzle>(bank, PUZZLE_TYPE_SUDOKU,
                                  [&](Puzzle& p) { return p.m_sudoku->size == size; });
    }
    static const SudokuData& Record(auto& t) { return *t.m_puzzle->m_sudoku; }
    static std::vector<int> OpenCells(auto& t) {
        std::vector<int> open;
        for (int cell = 0; cell < t.Model().GetNumCells(); ++cell) {
            if (Record(t).givens[cell] == 0) {
                open.push_back(cell);
            }
        }
        return open;
    }
    static int Right(auto& t, int cell) { return Record(t).solution[cell]; }
    static int Wrong(auto& t, int cell) { return Right(t, cell) % Record(t).size + 1; }

    // Points at a cell, then at the pad's key for digit.
    static void Enter(auto& t, int cell, int digit) {
        float x = 0.0f;
        float y = 0.0f;
        t.Widget().GetCellPosition(cell, x, y);
        t.Click(x + 0.5f * t.Widget().GetCellSize(), y + 0.5f * t.Widget().GetCellSize());
        t.Widget().GetPadPosition(digit, x, y);
        t.Click(x + 20.0f, y + 20.0f);
    }
    // Fills every open cell with its solution but wrongCell, which gets another digit.
    static void FillAll(auto& t, int wrongCell) {
        for (int cell : OpenCells(t)) {
            const int digit = cell == wrongCell ? Wrong(t, cell) : Right(t, cell);
            ASSERT_NO_FATAL_FAILURE(Enter(t, cell, digit));
            ASSERT_EQ(digit, t.Model().GetDigit(cell)) << cell;
        }
    }

    static void SolveAll(auto& t) { FillAll(t, -1); }
    static int ValidEntries(auto& t) { return static_cast<int>(OpenCells(t).size()); }
    // A wrong digit in the last open cell.
    static int FillWithAWrongEntry(auto& t) {
        const int last = OpenCells(t).back();
        FillAll(t, last);
        return last;
    }
    static bool IsBlank(auto& t, int cell) { return t.Model().GetDigit(cell) == 0; }
    static bool IsSentBack(auto& t, int cell) { return IsBlank(t, cell); }
    static void Mend(auto& t, int cell) { Enter(t, cell, Right(t, cell)); }
    // The grid filled on the model, a wrong digit in the last column.
    static int FillWrongInLastColumn(auto& t) {
        const int size = Record(t).size;
        int wrong = -1;
        for (int cell : OpenCells(t)) {
            wrong = cell % size == size - 1 ? cell : wrong;
        }
        for (int cell : OpenCells(t)) {
            t.Model().SelectCell(cell);
            t.Model().EnterDigit(cell == wrong ? Wrong(t, cell) : Right(t, cell));
        }
        return wrong;
    }
    // A digit that a reset takes out.
    static void EnterOne(auto& t) { Enter(t, 1, 5); }
    static bool IsUndone(auto& t) { return t.Model().GetDigit(1) == Record(t).givens[1]; }

    static At MenuButton(auto& t) { return Centre(t, &MNSudokuWidget::GetMenuButtonCentre); }
    static At HintButton(auto& t) { return Centre(t, &MNSudokuWidget::GetHintButtonCentre); }
    static At Centre(auto& t, auto centre) {
        At at{};
        (t.Widget().*centre)(at.x, at.y);
        return at;
    }
    // A cell hint puts one more cell right.
    static int HintProgress(auto& t) {
        int right = 0;
        for (int cell = 0; cell < t.Model().GetNumCells(); ++cell) {
            right += t.Model().GetDigit(cell) == t.Model().GetSolution(cell) ? 1 : 0;
        }
        return right;
    }

    // Five right digits and a wrong one with the pointer on the pad; the sweep past a wrong
    // digit in the second column.
    static void GoldenViews(auto& t, auto&& matches) {
        const std::vector<int> open = OpenCells(t);
        for (size_t i = 0; i < 6; ++i) {
            Enter(t, open[i], i == 5 ? Wrong(t, open[i]) : Right(t, open[i]));
        }
        float x = 0.0f;
        float y = 0.0f;
        t.Widget().GetPadPosition(4, x, y);
        t.Frame(t.PointAt(static_cast<int>(x) + 20, static_cast<int>(y) + 20));
        matches("sudoku_play");
        FillAll(t, 1);
        t.Rest(30);
        matches("sudoku_sweep");
    }
};

struct FitwordScreen {
    using Screen = MNFitwordUI;
    using Puzzle = FitwordPuzzle;
    static constexpr auto kModel = &MNFitwordWidget::GetFitword;
    static constexpr KindFacts kFacts{
        .name = "fitword",
        .sweep = {true, 5.0f, 4},
        .wrong = {2, 70, nullptr, 0},
        .savedStateSize = 0,
        .hints = {GAME_MODE_TOURNAMENT, 2, 0},
        .golden = {80, GAME_MODE_SIMPLYPUZZLE, {330, 200}, {600, 420}, nullptr}};
    static constexpr Grid kPlayedThrough[] = {Grid::kPlay};

    // The bank's first fitword with a hidden word, and its largest. The small one has two
    // words of one length in slots that do not cross, which differ in the last column only,
    // so that a full grid can hold them the wrong way round.
    Puzzle* Find(PuzzleBank& bank, Grid grid) {
        if (grid == Grid::kSmall) {
            *m_swappable.m_fitword = fitword_test::MakeFitword({"CAT", "###", "CAB"});
            return &m_swappable;
        }
        return BestInBank<Puzzle>(bank, PUZZLE_TYPE_FITWORD, [&](Puzzle& p) {
            return grid == Grid::kLargest ? p.m_fitword->numRows * p.m_fitword->numCols
                                          : p.m_spellout != nullptr;
        });
    }
    Puzzle m_swappable;

    static At Centre(const kSprite* sprite) {
        return {sprite->GetX() + sprite->GetWidth() * 0.5f,
                sprite->GetY() + sprite->GetHeight() * 0.5f};
    }
    // Picks a word on the list, scrolled into view first, unless it is picked already.
    static void PickOnList(auto& t, int word) {
        if (t.Model().GetSelectedWord() == word) {
            return;
        }
        const kArray<MNFitwordWidget::ListLine>& lines = t.Widget().GetListLines();
        int line = 0;
        while (lines(line).word != word) {
            ++line;
        }
        float x = 0.0f;
        float y = 0.0f;
        for (int i = 0; i < 40 && !t.Widget().GetLinePosition(line, x, y); ++i) {
            const bool bDown = line >= t.Widget().GetListPos();
            const float arrowY =
                bDown ? MNFitwordWidget::K_LINES_TOP +
                            MNFitwordWidget::K_LINE_STEP * MNFitwordWidget::K_VISIBLE_LINES - 14.0f
                      : MNFitwordWidget::K_LINES_TOP + 14.0f;
            t.Click(640.0f - 20.0f, arrowY);
        }
        ASSERT_TRUE(t.Widget().GetLinePosition(line, x, y));
        t.Click(x, y);
        ASSERT_EQ(word, t.Model().GetSelectedWord());
    }
    static void PressCell(auto& t, int cell) {
        float x = 0.0f;
        float y = 0.0f;
        t.Widget().GetCellPosition(cell, x, y);
        t.Click(x + 10.0f, y + 10.0f);
    }
    // Presses a cell, with no word picked, until it selects that slot: a crossing alternates.
    static void PressUntilSelected(auto& t, int cell, int slot) {
        for (int i = 0; i < 2 && t.Model().GetSelectedSlot() != slot; ++i) {
            PressCell(t, cell);
        }
    }
    // A cell of the slot the pointer reaches it by: one no other slot of its length crosses,
    // or else a crossing cell whose across slot is selected first, so the down slot comes next.
    static int CellFor(auto& t, int slot, bool* bSelectAcrossFirst) {
        MNFitword& model = t.Model();
        const int length = model.GetWordLength(slot);
        for (int n = 0; n < length; ++n) {
            const int cell = model.GetWordCell(slot, n);
            const CrosswordDataCell& data = t.m_puzzle->m_fitword->cells(cell);
            const u8 other = model.GetWordDirection(slot) ? data.wordIndexA : data.wordIndexD;
            if (other == CROSSWORD_NO_WORD || model.GetWordLength(other) != length) {
                *bSelectAcrossFirst = false;
                return cell;
            }
        }
        *bSelectAcrossFirst = model.GetWordDirection(slot);
        return model.GetWordCell(slot, 0);
    }
    // Puts a word into a slot as the player does: the word on the list, then the grid.
    static void Drop(auto& t, int word, int slot) {
        bool bAcrossFirst = false;
        const int cell = CellFor(t, slot, &bAcrossFirst);
        if (bAcrossFirst) {
            PressUntilSelected(t, cell, t.m_puzzle->m_fitword->cells(cell).wordIndexA);
        }
        ASSERT_NO_FATAL_FAILURE(PickOnList(t, word));
        PressCell(t, cell);
        ASSERT_EQ(slot, t.Model().GetSlotOfWord(word));
    }
    static void SolveAll(auto& t) {
        for (int slot = 0; slot < t.Model().GetNumWords(); ++slot) {
            SCOPED_TRACE(slot);
            ASSERT_NO_FATAL_FAILURE(Drop(t, slot, slot));
        }
    }
    static int ValidEntries(auto& t) { return t.Model().GetNumWords(); }
    // The small grid's two words the wrong way round, wrong in the last column.
    static int FillWithAWrongEntry(auto& t) {
        Drop(t, 1, 0);
        Drop(t, 0, 1);
        return 2;
    }
    static bool IsBlank(auto& t, int cell) { return t.Model().GetUserLetter(cell) == ' '; }
    static bool IsSentBack(auto& t, int cell) {
        return IsBlank(t, cell) && t.Model().GetSlotOfWord(1) == -1;
    }
    static void Mend(auto& t, int) { SolveAll(t); }
    static int FillWrongInLastColumn(auto& t) {
        t.Model().PlaceWord(1, 0);
        t.Model().PlaceWord(0, 1);
        return 2;
    }
    static void EnterOne(auto& t) { Drop(t, 0, 0); }
    static bool IsUndone(auto& t) { return t.Model().GetSlotOfWord(0) == -1; }

    static At MenuButton(auto& t) { return Centre(t.Widget().GetMenuButton()); }
    static At HintButton(auto& t) { return Centre(t.Widget().GetHintButton()); }
    // A word hint places one word for good.
    static int HintProgress(auto& t) { return t.Model().GetNumCorrect(); }

    // A word placed and another picked; the sweep of the full grid.
    static void GoldenViews(auto& t, auto&& matches) {
        ASSERT_NO_FATAL_FAILURE(Drop(t, 0, 0));
        MNFitword& model = t.Model();
        const int picked = model.GetListWord(0) == 0 ? model.GetListWord(1) : model.GetListWord(0);
        ASSERT_NO_FATAL_FAILURE(PickOnList(t, picked));
        t.Rest(1);
        matches("fitword_play");
        model.SelectWord(MNFitword::K_NO_WORD);
        for (int slot = 1; slot < model.GetNumWords(); ++slot) {
            model.PlaceWord(slot, slot);
        }
        t.Rest(76);
        ASSERT_EQ(MNFitwordWidget::STATE_SWEEP, t.Widget().GetWidgetState());
        matches("fitword_sweep");
    }
};

struct CrosswordScreen {
    using Screen = MNCrosswordUI;
    using Puzzle = CrosswordPuzzle;
    static constexpr auto kModel = &MNCrosswordWidget::GetCrossword;
    static constexpr KindFacts kFacts{
        .name = "crossword",
        .sweep = {true, 5.0f, 4},
        .wrong = {1, 70, nullptr, 1},
        .savedStateSize = 0,
        .hints = {}, // taken in the answer view
        .golden = {80, GAME_MODE_SIMPLYPUZZLE, {330, 270}, {600, 200}, "crossword_13x13"}};
    static constexpr Grid kPlayedThrough[] = {Grid::kPlay};

    // The bank's first crossword; the pictures are drawn with grids of our own, so that they
    // do not follow the bank's generator, one of the largest size the bank holds.
    Puzzle* Find(PuzzleBank& bank, Grid grid) {
        if (grid == Grid::kGolden) {
            *m_own.m_crossword =
                crossword_test::MakeCrossword({"STAMP", "H#R#E", "OCEAN", "E#A#N", "####Y"});
            const char* clues[] = {"Stick it on a letter (5)", "Worn on the foot (4)",
                                   "The size of a surface (4)", "A small coin (5)",
                                   "The Atlantic, for one (5)"};
            for (int i = 0; i < 5; ++i) {
                puzzle_test::CopyText(m_own.m_crossword->words(i).clue, clues[i]);
            }
            return &m_own;
        }
        if (grid == Grid::kLargest) {
            *m_own.m_crossword = crossword_test::MakeCrossword(
                {"SWASH#GOGGLES", "##P#E###U#E#E", "RHO#MAMMALIAN", "E#L###I#C###S",
                 "CHOREOGRAPH#E", "I#G#M#R#M#A#L", "POI#PIANO#RUE", "R#S#H#T#L#V#S",
                 "O#EVASIVENESS", "C###S#O###S#L", "APPLIANCE#TOY", "T#A#S###E#E##",
                 "ENDLESS#LORRY"});
            return &m_own;
        }
        return BestInBank<Puzzle>(bank, PUZZLE_TYPE_CROSSWORD, [](Puzzle&) { return 1; });
    }
    Puzzle m_own;

    static const CrosswordData& Record(auto& t) { return *t.m_puzzle->m_crossword; }
    static int LastWord(auto& t) { return Record(t).words.Size() - 1; }

    // Chooses a word on the clue list: its tab, scrolled to its first line, pressed.
    static void ChooseOnList(auto& t, int word) {
        const bool bDown = t.Model().GetWordDirection(word);
        if (t.Model().GetDirectionView() != bDown) {
            t.Click(bDown ? 330.0f + 170.0f + 50.0f : 330.0f + 50.0f, 43.0f + 15.0f);
        }
        const kArray<MNCrosswordWidget::RenderedWords>& lines = t.Widget().GetClueLines(bDown);
        int line = 0;
        while (lines(line).wordIndex != word) {
            ++line;
        }
        while (line >= t.Widget().GetClueListPos() + MNCrosswordWidget::K_VISIBLE_LINES) {
            t.Click(330.0f + 155.0f, 43.0f + 405.0f - 28.0f - 10.0f + 14.0f); // down arrow
        }
        while (line < t.Widget().GetClueListPos()) {
            t.Click(330.0f + 155.0f, 43.0f + 40.0f + 14.0f);
        }
        const float y = MNCrosswordWidget::K_LINES_TOP +
                        MNCrosswordWidget::K_LINE_STEP * (line - t.Widget().GetClueListPos()) +
                        7.0f;
        t.Click(400.0f, y);
        ASSERT_EQ(word, t.Model().GetSelectedClue());
    }
    // Opens the answer view: a second press on the clue's line.
    static void OpenFromList(auto& t, int word) {
        ChooseOnList(t, word);
        ChooseOnList(t, word);
    }
    static void Type(auto& t, const std::string& letters) {
        const MNKeyboard* keyboard = t.Model().GetKeyboard();
        for (char letter : letters) {
            const MNKeyboardKey& key = keyboard->GetKey(keyboard->GetKeyIndex(letter));
            t.Click(key.x + key.w * 0.5f, key.y + key.h * 0.5f);
        }
    }
    static void Back(auto& t) { t.Click(490.0f, 270.0f); }
    // Enters a word through the answer view: by the list, or by a cell only it runs through
    // and the resolve button.
    static void Solve(auto& t, int word, const std::string& answer) {
        int own = -1;
        for (int n = 0; n < t.Model().GetWordLength(word) && own < 0; ++n) {
            const int cell = t.Model().GetWordCell(word, n);
            const CrosswordDataCell& data = Record(t).cells(cell);
            if ((data.wordIndexA == CROSSWORD_NO_WORD) != (data.wordIndexD == CROSSWORD_NO_WORD)) {
                own = cell;
            }
        }
        if (own >= 0 && word % 2 == 1) {
            float x = 0.0f;
            float y = 0.0f;
            t.Widget().GetCellPosition(own, x, y);
            t.Click(x + 9.0f, y + 9.0f);
            ASSERT_EQ(word, t.Model().GetSelectedClue());
            t.Click(105.0f, 327.0f); // resolve
        } else {
            OpenFromList(t, word);
        }
        ASSERT_EQ(MNCrosswordWidget::STATE_ANSWER, t.Widget().GetWidgetState());
        Type(t, answer);
        t.Click(380.0f, 270.0f); // confirm
        ASSERT_NE(MNCrosswordWidget::STATE_ANSWER, t.Widget().GetWidgetState());
    }
    // Solves the words from the first given on, the last one's last letter wrong if asked.
    static void SolveFrom(auto& t, int first, bool bLastLetterWrong = false) {
        for (int word = first; word < Record(t).words.Size(); ++word) {
            SCOPED_TRACE(word);
            std::string answer = Record(t).words(word).word;
            if (bLastLetterWrong && word == LastWord(t)) {
                answer.back() = answer.back() == 'Z' ? 'Y' : 'Z';
            }
            ASSERT_NO_FATAL_FAILURE(Solve(t, word, answer));
        }
    }

    static void SolveAll(auto& t) { SolveFrom(t, 0); }
    static int ValidEntries(auto& t) { return Record(t).words.Size(); }
    // The last word's last letter wrong, in a cell only that word runs through; the error
    // stays counted until a right word follows it.
    static int FillWithAWrongEntry(auto& t) {
        SolveFrom(t, 0, true);
        return t.Model().GetWordCell(LastWord(t), t.Model().GetWordLength(LastWord(t)) - 1);
    }
    static bool IsBlank(auto& t, int cell) { return t.Model().GetUserLetter(cell) == ' '; }
    static bool IsSentBack(auto& t, int cell) {
        return IsBlank(t, cell) && !t.Model().IsClueUsed(LastWord(t));
    }
    static void Mend(auto& t, int) { SolveFrom(t, LastWord(t)); }
    static int FillWrongInLastColumn(auto& t) {
        MNCrossword& model = t.Model();
        for (int word = 0; word < Record(t).words.Size(); ++word) {
            model.SelectClue(word);
            model.PlaceWord(Record(t).words(word).word, model.GetFirstCell(),
                            model.GetWordDirection(word) ? DIR_VERTICAL : DIR_HORIZONTAL);
        }
        int wrong = model.GetNumCols() - 1;
        while (model.GetCellsDone(wrong) == 0) {
            wrong += model.GetNumCols();
        }
        const char letter[] = {model.GetCellsDone(wrong) == 'Z' ? 'Y' : 'Z', 0};
        model.PlaceWord(letter, wrong, DIR_HORIZONTAL);
        return wrong;
    }
    // The first word solved and the second open in the answer view, which a reset closes.
    static void EnterOne(auto& t) {
        Solve(t, 0, Record(t).words(0).word);
        OpenFromList(t, 1);
    }
    static bool IsUndone(auto& t) {
        return t.Model().GetUserLetter(t.Model().GetStartCell(0)) == ' ';
    }

    static At MenuButton(auto& t) { return BottomButton(t, 120.0f); }
    static At HintButton(auto& t) { return BottomButton(t, 210.0f); }

    // A word solved and the next chosen; that one open with two letters typed, then all of them
    // and Confirm beside Back; the sweep.
    static void GoldenViews(auto& t, auto&& matches) {
        ASSERT_NO_FATAL_FAILURE(Solve(t, 0, Record(t).words(0).word));
        ASSERT_NO_FATAL_FAILURE(ChooseOnList(t, 1));
        t.Rest(1);
        matches("crossword_play");
        ChooseOnList(t, 1);
        Type(t, std::string(Record(t).words(1).word).substr(0, 2));
        t.Rest(1);
        matches("crossword_answer");
        Type(t, std::string(Record(t).words(1).word).substr(2));
        t.Rest(1);
        matches("crossword_confirm");
        Back(t);
        SolveFrom(t, 1);
        t.Rest(30);
        matches("crossword_sweep");
    }
};

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

struct WordsearchScreen {
    using Screen = MNWordsearchUI;
    using Puzzle = WordsearchPuzzle;
    static constexpr auto kModel = &MNWordsearchWidget::GetWordsearch;
    static constexpr KindFacts kFacts{
        .name = "wordsearch",
        .sweep = {false, 3.0f, 3},
        .wrong = {1, 0, nullptr, 1},
        .savedStateSize = 0,
        .hints = {GAME_MODE_QUICKBLAST, 2, 1},
        .golden = {780, GAME_MODE_QUICKBLAST, {330, 270}, {600, 400}, "wordsearch_largest"}};
    static constexpr Grid kPlayedThrough[] = {Grid::kPlay};

    // The bank's first wordsearch whose words lie on all four lines, and its largest.
    static Puzzle* Find(PuzzleBank& bank, Grid grid) {
        return BestInBank<Puzzle>(bank, PUZZLE_TYPE_WORDSEARCH, [&](Puzzle& p) {
            const WordsearchData& record = *p.m_wordsearch;
            std::set<int> lines;
            for (int w = 0; w < record.words.Size(); ++w) {
                lines.insert(LineKind(Direction(record, w)));
            }
            return grid == Grid::kLargest ? record.numRows * record.numCols : lines.size() == 4;
        });
    }
    static const WordsearchData& Record(auto& t) { return *t.m_puzzle->m_wordsearch; }
    static int Words(auto& t) { return Record(t).words.Size(); }

    static std::string AtCell(auto& t, int cell) {
        const int cols = t.Model().GetNumCols();
        const int x =
            static_cast<int>(t.Widget().GetCellX(cell % cols)) + t.Widget().GetCellWidth() / 2;
        const int y =
            static_cast<int>(t.Widget().GetCellY(cell / cols)) + t.Widget().GetCellHeight() / 2;
        return t.PointAt(x, y);
    }
    // Press in the first cell, a frame over each further cell with A held, release.
    static void Stroke(auto& t, const std::vector<int>& cells) {
        t.Frame(AtCell(t, cells.front()) + " hold A");
        for (size_t i = 1; i < cells.size(); ++i) {
            t.Frame(AtCell(t, cells[i]));
        }
        t.Frame("hold none");
        t.Frame();
    }
    static std::vector<int> Trail(auto& t, int w, bool bBackwards = false) {
        std::vector<int> cells;
        for (int i = Record(t).words(w).cellStartIndex; i <= Record(t).words(w).cellEndIndex; ++i) {
            cells.push_back(Record(t).wordTrails(i));
        }
        if (bBackwards) {
            std::reverse(cells.begin(), cells.end());
        }
        return cells;
    }
    // Strokes the words from first to before end, every other one backwards.
    static void StrokeWords(auto& t, int first, int end) {
        for (int w = first; w < end; ++w) {
            Stroke(t, Trail(t, w, w % 2 == 1));
            ASSERT_TRUE(t.Model().IsWordFound(w)) << "word " << w;
        }
    }

    static void SolveAll(auto& t) { StrokeWords(t, 0, Words(t)); }
    // The last word completes the grid instead.
    static int ValidEntries(auto& t) { return Words(t) - 1; }
    // A stroke one cell short of the last word: refused at once, and an error until a word is
    // found after it.
    static int FillWithAWrongEntry(auto& t) {
        StrokeWords(t, 0, Words(t) - 1);
        std::vector<int> shortOfLast = Trail(t, Words(t) - 1);
        shortOfLast.pop_back();
        Stroke(t, shortOfLast);
        return Words(t) - 1;
    }
    static bool IsSentBack(auto& t, int word) { return !t.Model().IsWordFound(word); }
    static void Mend(auto& t, int word) { StrokeWords(t, word, word + 1); }
    static void EnterOne(auto& t) { Stroke(t, Trail(t, 0)); }
    static bool IsUndone(auto& t) { return !t.Model().IsWordFound(0); }

    static At MenuButton(auto& t) { return BottomButton(t, 120.0f); }
    static At HintButton(auto& t) { return BottomButton(t, 210.0f); }
    // The biggest hint marks both ends of a word.
    static int HintProgress(auto& t) {
        bool bEndsOfAWord = false;
        for (int w = 0; w < Words(t); ++w) {
            const std::vector<int> trail = Trail(t, w);
            bEndsOfAWord |= trail.front() == t.Model().GetHintPositions(0) &&
                            trail.back() == t.Model().GetHintPositions(1);
        }
        return bEndsOfAWord ? 1 : 0;
    }

    // Capsules in all four directions, a hint and a stroke being drawn; the sweep.
    static void GoldenViews(auto& t, auto&& matches) {
        std::set<int> lines;
        for (int w = 0; w < Words(t) && lines.size() < 4; ++w) {
            if (lines.insert(LineKind(Direction(Record(t), w))).second) {
                Stroke(t, Trail(t, w, w % 2 == 1));
            }
        }
        t.Model().Hint(2);
        std::vector<int> partial = Trail(t, Words(t) - 1);
        t.Frame(AtCell(t, partial[0]) + " hold A");
        t.Frame(AtCell(t, partial[1]));
        matches("wordsearch_play");
        t.Frame("hold none");
        for (int w = 0; w < Words(t); ++w) {
            if (!t.Model().IsWordFound(w)) {
                Stroke(t, Trail(t, w));
            }
        }
        t.Rest(20);
        matches("wordsearch_sweep");
    }
};

// ---------------------------------------------------------------------------------------

template <class Kind>
class PuzzleScreenConformanceTest : public PuzzleScreenTest<typename Kind::Screen> {
public:
    using Base = PuzzleScreenTest<typename Kind::Screen>;
    using Base::Click;
    using Base::Frame;
    using Base::m_surface;
    using Base::PointAt;
    static constexpr const KindFacts& kFacts = Kind::kFacts;

    void SetUp() override {
        Base::SetUp();
        ASSERT_TRUE(this->m_bank.Load(0)) << "the disc's bank";
        this->m_manager.AddUI("hint_main", &m_hintScreen);
        kRender::BufferClear(0xFF1B2A4A);
        kRender::BufferSwap();
    }

    void TearDown() override {
        this->m_screen.reset();
        MNProfileManager::SetActiveProfile(m_previousProfile);
        Base::TearDown();
    }

    auto& Widget() { return *this->m_screen->GetWidget(); }
    auto& Model() { return *(Widget().*Kind::kModel)(); }
    // The grid's columns and rows; a sudoku's is square.
    std::pair<int, int> Size() {
        if constexpr (requires { Model().GetSize(); }) {
            return {Model().GetSize(), Model().GetSize()};
        } else {
            return {Model().GetNumCols(), Model().GetNumRows()};
        }
    }

    // The kind's puzzle of that grid on a new screen, by the mode's rules, played.
    void Start(Grid grid, int gameMode = GAME_MODE_SIMPLYPUZZLE) {
        m_puzzle = m_kind.Find(this->m_bank, grid);
        ASSERT_NE(m_puzzle, nullptr) << "the bank has the puzzle";
        this->OpenScreen();
        MNPuzzleUI& screen = *this->m_screen;
        Puzzle& otherKind = m_puzzle->GetType() == PUZZLE_TYPE_SUDOKU
                                ? static_cast<Puzzle&>(m_fitword)
                                : static_cast<Puzzle&>(m_sudoku);
        EXPECT_FALSE(screen.SetPuzzle(&otherKind, MNPuzzleRules{})) << "another kind is refused";
        ASSERT_TRUE(screen.SetPuzzle(m_puzzle, ModeRules(gameMode, *m_puzzle)));
        if constexpr (requires { m_puzzle->m_spellout; }) {
            screen.SetSpellout(m_puzzle->m_spellout);
        }
        this->PlayAndListen();
    }
    void StartAndContinue(Grid grid, int gameMode = GAME_MODE_SIMPLYPUZZLE) {
        Start(grid, gameMode);
        Frame();
        this->ClickIntroContinue();
    }

    void ClickAt(At at) { Click(at.x, at.y); }
    void Hover(At at, const std::string& button = "") {
        Frame(PointAt(static_cast<int>(at.x), static_cast<int>(at.y)) + button);
    }
    // Frames with the pointer resting away from the grid and buttons.
    void Rest(int frames) {
        for (int i = 0; i < frames; ++i) {
            Hover(kFacts.golden.resting);
        }
    }
    void Idle(int frames) {
        for (int i = 0; i < frames; ++i) {
            Frame();
        }
    }
    // Frames of the sweep's pass: the columns it lights, in turn.
    std::vector<int> WatchPass(int frames) {
        const auto [cols, rows] = Size();
        std::vector<int> lit;
        for (int i = 0; i < frames; ++i) {
            Frame();
            for (int cell = 0; cell < cols * rows; ++cell) {
                const int col = cell % cols;
                if (Widget().GetScanMark(cell) == MNPuzzleSweep::SCAN_LIT &&
                    (lit.empty() || lit.back() != col)) {
                    lit.push_back(col);
                }
            }
        }
        return lit;
    }
    // Plays until the sweep has ended; returns the frames it took.
    int RunSweep() {
        int frames = 0;
        for (; frames < 600 &&
               (Widget().GetWidgetState() == MNPuzzleWidget::STATE_SWEEP || frames == 0) &&
               this->m_signals.gameOver == 0;
             ++frames) {
            Frame();
        }
        return frames;
    }
    // The sweep's marks of hidden-word cells.
    int HiddenWordMarks() {
        const auto [cols, rows] = Size();
        int marks = 0;
        for (int cell = 0; cell < cols * rows; ++cell) {
            const unsigned char mark = Widget().GetScanMark(cell);
            marks += mark == MNPuzzleSweep::SCAN_HIDDEN || mark == MNPuzzleSweep::SCAN_HIDDEN2;
        }
        return marks;
    }
    int HiddenWordCells() {
        if constexpr (requires { m_puzzle->m_spellout; }) {
            return m_puzzle->m_spellout != nullptr ? m_puzzle->m_spellout->cells.Size() : 0;
        }
        return 0;
    }

    // Presses the hint button, then gives the hint screen's choice as it closes.
    void ChooseHint(int kind) {
        ClickAt(Kind::HintButton(*this));
        kUILayer* layer = this->Layer();
        ASSERT_EQ(layer->GetTopUI(), &m_hintScreen);
        for (int k = 0; k < MNHintUI::kNumKinds; ++k) {
            EXPECT_EQ(Model().GetHintsLeft()[k], m_hintScreen.GetHintsLeft(k)) << k;
        }
        EXPECT_EQ(m_puzzle->GetDifficulty(), m_hintScreen.GetPuzzleDifficulty());
        layer->RemoveUI(&m_hintScreen);
        m_hintScreen.PerformHintSignal(kind);
    }
    int HintsLeft(int kind) { return Model().GetHintsLeft()[kind]; }
    // Spends the hints of a kind on the model.
    void UseUpHints(int kind) {
        for (int i = 0; i < 100 && HintsLeft(kind) > 0; ++i) {
            Model().Hint(kind);
        }
    }

    Kind m_kind;
    typename Kind::Puzzle* m_puzzle = nullptr;
    MNHintUI m_hintScreen;
    SudokuPuzzle m_sudoku;
    FitwordPuzzle m_fitword;
    const int m_previousProfile = MNProfileManager::GetActiveProfileIndex();
};

struct KindName {
    template <class Kind>
    static std::string GetName(int) {
        return Kind::kFacts.name;
    }
};

using AllKinds = testing::Types<SudokuScreen, FitwordScreen, CrosswordScreen, WordsearchScreen>;
TYPED_TEST_SUITE(PuzzleScreenConformanceTest, AllKinds, KindName);

TYPED_TEST(PuzzleScreenConformanceTest, PlayedThroughByPointerUntilTheSweepEndsTheGame) {
    const KindFacts& facts = this->kFacts;
    MNPuzzleUI* screen = nullptr;
    for (Grid grid : TypeParam::kPlayedThrough) {
        SCOPED_TRACE(static_cast<int>(grid));
        this->m_signals = PuzzleScreenSignals();
        this->Start(grid);
        screen = this->m_screen.get();
        this->Idle(5);
        EXPECT_TRUE(screen->IsContinueScreenOpen());
        EXPECT_FLOAT_EQ(0.0f, screen->GetTime()) << "the intro is not play time";
        this->Click(320.0f, 420.0f); // HELP keeps the intro
        EXPECT_EQ(1, this->m_signals.help);
        this->ClickIntroContinue();
        ASSERT_FALSE(screen->IsContinueScreenOpen());
        EXPECT_FLOAT_EQ(this->kFrame, screen->GetTime()) << "only the frame after CONTINUE counts";
        const int playStart = this->m_frames;

        ASSERT_NO_FATAL_FAILURE(TypeParam::SolveAll(*this));
        EXPECT_EQ(TypeParam::ValidEntries(*this), this->m_signals.valid);
        EXPECT_EQ(0, this->m_signals.invalid);
        ASSERT_TRUE(screen->IsGridFull());
        ASSERT_EQ(MNPuzzleWidget::STATE_SWEEP, this->Widget().GetWidgetState());
        EXPECT_EQ(facts.sweep.bJudges ? PUZZLE_STATE_PLAYING : PUZZLE_STATE_COMPLETED,
                  screen->GetState());
        const float timeAtSweep = screen->GetTime();
        EXPECT_NEAR((this->m_frames - playStart) * this->kFrame, timeAtSweep, 2 * this->kFrame);
        std::vector<int> columns(static_cast<size_t>(this->Size().first));
        std::iota(columns.begin(), columns.end(), 0);
        EXPECT_EQ(columns, this->WatchPass(70)) << "the sweep lights each column in turn";
        EXPECT_EQ(this->HiddenWordCells(), this->HiddenWordMarks()) << "the hidden word flickers";
        const int sweepFrames = 70 + this->RunSweep();
        EXPECT_NEAR(facts.sweep.seconds / this->kFrame, sweepFrames, facts.sweep.framesOff);
        EXPECT_EQ(1, this->m_signals.gameOver);
        if (facts.sweep.bJudges) {
            EXPECT_EQ(SFX_RIGHT, MNSound::GetLastSoundEffect()) << "a right grid is cheered";
        }
        EXPECT_EQ(PUZZLE_STATE_COMPLETED, screen->GetState());
        EXPECT_FLOAT_EQ(timeAtSweep, screen->GetTime()) << "the sweep is not play time";
        this->Idle(30);
        EXPECT_EQ(1, this->m_signals.gameOver) << "fired once";
        EXPECT_EQ(0, screen->GetNumErrors());
        this->m_screen.reset();
    }
}

TYPED_TEST(PuzzleScreenConformanceTest, AWrongEntryIsSentBackAndPlayGoesOn) {
    const KindFacts& facts = this->kFacts;
    this->StartAndContinue(Grid::kSmall);
    int wrong = -1;
    ASSERT_NO_FATAL_FAILURE(wrong = TypeParam::FillWithAWrongEntry(*this));
    EXPECT_EQ(facts.wrong.entries, this->m_signals.invalid);
    if (facts.wrong.framesToMark > 0) {
        ASSERT_EQ(MNPuzzleWidget::STATE_SWEEP, this->Widget().GetWidgetState());
        this->Idle(facts.wrong.framesToMark);
        EXPECT_EQ(MNPuzzleSweep::SCAN_WRONG, this->Widget().GetScanMark(wrong));
        if (facts.wrong.golden != nullptr) {
            EXPECT_TRUE(MatchesGolden(facts.wrong.golden, this->Picture()));
        }
    }
    this->RunSweep();
    EXPECT_EQ(0, this->m_signals.gameOver);
    EXPECT_EQ(SFX_WRONG, MNSound::GetLastSoundEffect());
    EXPECT_EQ(MNPuzzleWidget::STATE_PLAY, this->Widget().GetWidgetState());
    EXPECT_TRUE(TypeParam::IsSentBack(*this, wrong));
    EXPECT_EQ(facts.wrong.errorsLeft, this->m_screen->GetNumErrors());
    // The widget reads the button again from the first frame back in play; it was last read
    // held down, on the press that filled the grid.
    this->Frame();
    ASSERT_NO_FATAL_FAILURE(TypeParam::Mend(*this, wrong));
    this->RunSweep();
    EXPECT_EQ(1, this->m_signals.gameOver) << "the mended grid completes";
}

TYPED_TEST(PuzzleScreenConformanceTest, MenuPausesAndResetKeepsTheClockAndReturnsToPlay) {
    this->StartAndContinue(Grid::kPlay);
    ASSERT_NO_FATAL_FAILURE(TypeParam::EnterOne(*this));
    this->Idle(30);
    MNPuzzleUI& screen = *this->m_screen;
    const float time = screen.GetTime();
    screen.Reset();
    EXPECT_EQ(MNPuzzleWidget::STATE_PLAY, this->Widget().GetWidgetState());
    EXPECT_FLOAT_EQ(time, screen.GetTime());
    EXPECT_TRUE(TypeParam::IsUndone(*this));
    this->ClickAt(TypeParam::MenuButton(*this));
    EXPECT_EQ(1, this->m_signals.pause) << "once per press and release";

    EXPECT_FALSE(screen.SetPuzzle(nullptr, MNPuzzleRules{}));
    std::vector<u8> state(MNPuzzleUI::K_SAVED_STATE_SIZE);
    const int size = screen.SavePuzzleState(nullptr, 0);
    EXPECT_GT(size, 0);
    if (this->kFacts.savedStateSize > 0) {
        EXPECT_EQ(this->kFacts.savedStateSize, size);
    }
    EXPECT_EQ(size, screen.SavePuzzleState(state.data(), static_cast<int>(state.size())));
    EXPECT_EQ(1, screen.LoadPuzzleState(state.data(), static_cast<int>(state.size())));
}

// Head to Head ticks the screen once with 0.0 and draws it outside the world's walk after a
// continue screen.
TYPED_TEST(PuzzleScreenConformanceTest, SurvivesAZeroTickAndDrawingOutsideTheWalk) {
    const SprintPlayers players;
    this->Start(Grid::kPlay, GAME_MODE_HEADTOHEAD);
    kUIWidget& widget = *this->m_screen->GetScreen();
    widget.Tick(0.0f);
    widget.Render();
    this->Frame();
    this->ClickIntroContinue();
    const float time = this->m_screen->GetTime();
    widget.Tick(0.0f);
    widget.Render();
    krDrawHelp::Flush();
    EXPECT_FLOAT_EQ(time, this->m_screen->GetTime());
    EXPECT_EQ(MNPuzzleWidget::STATE_PLAY, this->Widget().GetWidgetState());
}

TYPED_TEST(PuzzleScreenConformanceTest, GoldenViews) {
    const KindFacts& facts = this->kFacts;
    this->SeedRandom(facts.golden.seed); // the seed the pictures were drawn with
    this->Start(Grid::kGolden, facts.golden.mode);
    this->Hover(facts.golden.intro);
    EXPECT_TRUE(MatchesGolden(std::string(facts.name) + "_intro", this->Picture()));
    this->ClickIntroContinue();
    TypeParam::GoldenViews(
        *this, [&](const char* name) { EXPECT_TRUE(MatchesGolden(name, this->Picture())); });
}

// The largest grid the bank holds, closed by its edges on all four sides, the clue numbers at
// the size of their font; drawn for every kind, compared where its picture was drawn.
TYPED_TEST(PuzzleScreenConformanceTest, GoldenLargestGrid) {
    this->StartAndContinue(Grid::kLargest);
    this->Rest(1);
    if (this->kFacts.golden.largest != nullptr) {
        EXPECT_TRUE(MatchesGolden(this->kFacts.golden.largest, this->Picture()));
    }
}

// The kinds that take hints through the hint screen; a crossword takes its own in its answer
// view (below).
template <class Kind>
class PuzzleHintScreenTest : public PuzzleScreenConformanceTest<Kind> {};
using HintScreenKinds = testing::Types<SudokuScreen, FitwordScreen, WordsearchScreen>;
TYPED_TEST_SUITE(PuzzleHintScreenTest, HintScreenKinds, KindName);

TYPED_TEST(PuzzleHintScreenTest, HintsAreTakenThroughTheHintScreenUntilNoneIsLeft) {
    const KindFacts& facts = this->kFacts;
    this->StartAndContinue(Grid::kPlay, facts.hints.mode);
    const int kind = facts.hints.kind;
    const int left = this->HintsLeft(kind);
    const int otherLeft = this->HintsLeft(facts.hints.otherKind);
    ASSERT_GT(left, 0);
    ASSERT_NO_FATAL_FAILURE(this->ChooseHint(-1));
    EXPECT_EQ(left, this->HintsLeft(kind)) << "none chosen";
    const int progress = TypeParam::HintProgress(*this);
    ASSERT_NO_FATAL_FAILURE(this->ChooseHint(kind));
    EXPECT_EQ(left - 1, this->HintsLeft(kind));
    EXPECT_EQ(progress + 1, TypeParam::HintProgress(*this));

    this->UseUpHints(kind);
    const int spent = TypeParam::HintProgress(*this);
    ASSERT_NO_FATAL_FAILURE(this->ChooseHint(kind)); // offered with none left, so not taken
    EXPECT_EQ(0, this->HintsLeft(kind));
    EXPECT_EQ(spent, TypeParam::HintProgress(*this));
    EXPECT_EQ(otherLeft, this->HintsLeft(facts.hints.otherKind));
    this->m_hintScreen.PerformHintSignal(facts.hints.otherKind);
    EXPECT_EQ(otherLeft, this->HintsLeft(facts.hints.otherKind))
        << "the screen let go of the hint screen";

    std::vector<u8> state(MNPuzzleUI::K_SAVED_STATE_SIZE);
    ASSERT_GT(this->m_screen->SavePuzzleState(state.data(), static_cast<int>(state.size())), 0);
    this->m_screen->Reset();
    EXPECT_EQ(1, this->m_screen->LoadPuzzleState(state.data(), static_cast<int>(state.size())));
    EXPECT_EQ(0, this->HintsLeft(kind)) << "the hints taken are kept";

    for (int other = 0; other < MNHintUI::kNumKinds; ++other) {
        this->UseUpHints(other);
    }
    this->ClickAt(TypeParam::HintButton(*this));
    EXPECT_EQ(this->Layer()->GetTopUI(), this->m_screen.get()) << "no hint button is left";
    this->Hover(TypeParam::MenuButton(*this), " hold A");
    this->Hover(TypeParam::HintButton(*this));
    this->Frame("hold none");
    EXPECT_EQ(0, this->m_signals.pause) << "released off the menu button";
}

// The kinds whose grid holds wrong entries until the sweep sends them back.
template <class Kind>
class PuzzleGridSweepTest : public PuzzleScreenConformanceTest<Kind> {};
using GridKinds = testing::Types<SudokuScreen, FitwordScreen, CrosswordScreen>;
TYPED_TEST_SUITE(PuzzleGridSweepTest, GridKinds, KindName);

TYPED_TEST(PuzzleGridSweepTest, ASweepOfFewerTicksThanColumnsStillSendsAWrongGridBack) {
    this->StartAndContinue(Grid::kSmall);
    const int wrong = TypeParam::FillWrongInLastColumn(*this);
    // Half-second frames: the pass is over before it reaches every column.
    MNPuzzleWidget& widget = this->Widget();
    widget.Tick(0.5f);
    ASSERT_EQ(MNPuzzleWidget::STATE_SWEEP, widget.GetWidgetState());
    for (int i = 0; i < 12 && widget.GetWidgetState() != MNPuzzleWidget::STATE_PLAY; ++i) {
        widget.Tick(0.5f);
    }
    EXPECT_EQ(MNPuzzleWidget::STATE_PLAY, widget.GetWidgetState());
    EXPECT_TRUE(TypeParam::IsBlank(*this, wrong));
    EXPECT_EQ(0, this->m_signals.gameOver);
}

// What one kind alone does.
using FitwordScreenTest = PuzzleScreenConformanceTest<FitwordScreen>;
using CrosswordScreenTest = PuzzleScreenConformanceTest<CrosswordScreen>;
using SudokuScreenTest = PuzzleScreenConformanceTest<SudokuScreen>;

// On the small grid, whose words 0 and 1 have one length.
TEST_F(FitwordScreenTest, AWrongWordIsAnErrorUntilItIsPickedUpAgain) {
    StartAndContinue(Grid::kSmall);
    ASSERT_NO_FATAL_FAILURE(FitwordScreen::Drop(*this, 1, 0));
    EXPECT_EQ(1, m_signals.invalid);
    EXPECT_EQ(1, m_screen->GetNumErrors());
    // Picking it up again takes it out of the wrong slot.
    ASSERT_NO_FATAL_FAILURE(FitwordScreen::PickOnList(*this, 1));
    EXPECT_EQ(0, m_screen->GetNumErrors());
    ASSERT_NO_FATAL_FAILURE(FitwordScreen::SolveAll(*this));
    RunSweep();
    EXPECT_EQ(1, m_signals.gameOver);
}

TEST_F(FitwordScreenTest, TheClearButtonTakesTheSelectedSlotsWordBack) {
    StartAndContinue(Grid::kSmall, GAME_MODE_TOURNAMENT);
    ASSERT_NO_FATAL_FAILURE(FitwordScreen::Drop(*this, 1, 0));
    FitwordScreen::PressUntilSelected(*this, 0, 0); // no word picked: selects the slot
    ClickAt(FitwordScreen::Centre(Widget().GetClearButton()));
    EXPECT_EQ(-1, Model().GetSlotOfWord(1));
    EXPECT_EQ(0, m_screen->GetNumErrors());
}

TEST_F(CrosswordScreenTest, TournamentHintRevealsTheNextLetterAndLocksIt) {
    StartAndContinue(Grid::kPlay, GAME_MODE_TOURNAMENT);
    CrosswordScreen::OpenFromList(*this, 0);
    ClickAt(CrosswordScreen::HintButton(*this));
    const int first = Model().GetStartCell(0);
    EXPECT_EQ(m_puzzle->m_crossword->cellsDone(first), Model().GetUserLetter(first));
    EXPECT_TRUE(Model().IsCellLocked(first));
    EXPECT_EQ(1, Model().GetHintsUsed(0));
    EXPECT_EQ(MNCrosswordWidget::STATE_ANSWER, Widget().GetWidgetState());
    // Back drops the view; the hinted letter stays.
    CrosswordScreen::Back(*this);
    EXPECT_EQ(MNCrosswordWidget::STATE_PLAY, Widget().GetWidgetState());
    EXPECT_TRUE(Model().IsCellLocked(first));
    // The menu button asks the mode to pause.
    ClickAt(CrosswordScreen::MenuButton(*this));
    EXPECT_EQ(1, m_signals.pause);
}

// The Answer button's caption is printed in its own colour, whatever the view drew before it
// (Head to Head draws no clock, whose colour it once took).
TEST_F(CrosswordScreenTest, TheAnswerCaptionReadsOnItsButtonInEveryMode) {
    const SprintPlayers players;
    for (const int mode : {GAME_MODE_TOURNAMENT, GAME_MODE_QUICKBLAST, GAME_MODE_SIMPLYPUZZLE,
                           GAME_MODE_FASTANDFUN, GAME_MODE_HEADTOHEAD}) {
        SCOPED_TRACE(mode);
        StartAndContinue(Grid::kGolden, mode);
        Rest(1);
        const png_golden::Image picture = Picture();
        const kSprite& button = *Widget().GetResolveButton();
        const auto at = [&](float x, float y) {
            return picture.rgb[static_cast<size_t>(y) * picture.width + static_cast<size_t>(x)];
        };
        const u32 fill = at(button.GetX() + 10.0f, button.GetY() + button.GetHeight() * 0.5f);
        // Ink on the button, with the font's dark shadow: nothing lighter than the button.
        double darkest = colour_contrast::Luminance(fill);
        double lightest = darkest;
        for (float y = button.GetY(); y < button.GetY() + button.GetHeight() - 4.0f; ++y) {
            for (float x = button.GetX() + 10.0f; x < button.GetX() + button.GetWidth() - 10.0f;
                 ++x) {
                darkest = std::min(darkest, colour_contrast::Luminance(at(x, y)));
                lightest = std::max(lightest, colour_contrast::Luminance(at(x, y)));
            }
        }
        EXPECT_GE((colour_contrast::Luminance(fill) + 0.05) / (darkest + 0.05), 4.5);
        EXPECT_NEAR(lightest, colour_contrast::Luminance(fill), 0.02);
    }
}

// A Head to Head turn: the players' lives where the clock and the counter stand elsewhere.
TEST_F(CrosswordScreenTest, GoldenHeadToHeadTurn) {
    const SprintPlayers players;
    SeedRandom(kFacts.golden.seed);
    StartAndContinue(Grid::kGolden, GAME_MODE_HEADTOHEAD);
    ASSERT_NO_FATAL_FAILURE(CrosswordScreen::Solve(*this, 0, m_puzzle->m_crossword->words(0).word));
    ASSERT_NO_FATAL_FAILURE(CrosswordScreen::ChooseOnList(*this, 1));
    Rest(1);
    EXPECT_TRUE(MatchesGolden("crossword_head_to_head", Picture()));
}

// The widget hands the model the active profile's setting as it draws.
TEST_F(SudokuScreenTest, RowAndColumnHighlightFollowTheProfileSetting) {
    MNProfileManager::SetActiveProfile(0);
    u8& setting = MNProfileManager::GetActiveProfile()->GetSaveData()->bSudokuHighlight;
    const u8 saved = setting;
    StartAndContinue(Grid::kPlay);
    ASSERT_TRUE(Model().SelectCell(40));
    for (const u8 on : {u8{1}, u8{0}}) {
        setting = on;
        Frame();
        EXPECT_EQ(on != 0, Model().IsHighlight(36)) << "the selected cell's row";
        EXPECT_EQ(on != 0, Model().IsHighlight(4)) << "and column";
        EXPECT_FALSE(Model().IsHighlight(30));
    }
    setting = saved;
}

} // namespace
