// The wordsearch rules: strokes snapped to straight lines, words found either way by their
// end cells, errors given and taken back, hints per mode and kind, the Fast and Fun head
// start and the saved state with its refusals.
#include "log_capture.h"
#include "puzzle_rules_support.h"

#include <puzzles/mnpuzzlewidget.h>
#include <puzzles/wordsearch/mnwordsearch.h>
#include <services/mninputedge.h>
#include <services/mnsound.h>
#include <services/mnsubgame.h>
#include <services/puzzletypes.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using namespace Kelvo_lib;
using puzzle_test::ModeRules;

constexpr int kSide = 6;

struct Placed {
    const char* word;
    int x, y, dx, dy;
};

// CAT across the top, DOG down the right edge, EEL down and right, OWL up and right.
const Placed kWords[] = {
    {"CAT", 0, 0, 1, 0}, {"DOG", 5, 0, 0, 1}, {"EEL", 0, 2, 1, 1}, {"OWL", 2, 5, 1, -1}};

int Cell(int x, int y) {
    return x + y * kSide;
}

WordsearchData MakeRecord(int numWords, int difficulty) {
    WordsearchData record;
    record.puzzleID = 77;
    record.numRows = record.numCols = kSide;
    record.difficulty = static_cast<unsigned char>(difficulty);
    std::strcpy(record.title, "Creatures");
    record.gridMap.SetSize(kSide * kSide);
    std::memset(record.gridMap.Data(), 'X', kSide * kSide);
    for (int w = 0; w < numWords; ++w) {
        const Placed& placed = kWords[w];
        WordsearchDataWord word{};
        std::strcpy(word.word, placed.word);
        word.cellStartIndex = record.wordTrails.Size();
        for (int i = 0; placed.word[i] != 0; ++i) {
            const int cell = Cell(placed.x + i * placed.dx, placed.y + i * placed.dy);
            record.gridMap(cell) = placed.word[i];
            record.wordTrails.Push(cell);
        }
        word.cellEndIndex = record.wordTrails.Size() - 1;
        record.words.Push(word);
    }
    record.numWords = static_cast<unsigned char>(numWords);
    record.numTrailCells = static_cast<unsigned char>(record.wordTrails.Size());
    return record;
}

class WordsearchTest : public ::testing::Test, public Kelvo_lib::kHasSlots<> {
protected:
    void Start(int mode = GAME_MODE_QUICKBLAST, int numWords = 4, int difficulty = 2) {
        WordsearchData record = MakeRecord(numWords, difficulty);
        m_model.SetPuzzle(&record, ModeRules(mode, record));
        m_model.Play();
        m_model.ValidEntrySignal.Connect(this, &WordsearchTest::OnValid);
        m_model.InvalidEntrySignal.Connect(this, &WordsearchTest::OnInvalid);
    }

    // Press on the first cell, drag over the others, release on the last.
    void Stroke(std::vector<std::pair<int, int>> cells) {
        m_model.GridClick(true, cells.front().first, cells.front().second, MNInputEdge::PRESSED);
        for (const auto& [x, y] : cells) {
            m_model.GridClick(true, x, y, MNInputEdge::HELD);
        }
        m_model.GridClick(true, cells.back().first, cells.back().second, MNInputEdge::RELEASED);
    }
    void StrokeWord(int w, bool bBackwards = false) {
        const Placed& p = kWords[w];
        const int last = static_cast<int>(std::strlen(p.word)) - 1;
        const std::pair<int, int> first{p.x, p.y}, end{p.x + last * p.dx, p.y + last * p.dy};
        Stroke(bBackwards ? std::vector{end, first} : std::vector{first, end});
    }

    // The cell the stroke's end snaps to with the pointer at (x, y).
    int Snap(int sx, int sy, int x, int y) {
        m_model.GridClick(true, sx, sy, MNInputEdge::PRESSED);
        m_model.GridClick(true, x, y, MNInputEdge::HELD);
        const int end = m_model.GetCurrentSelection();
        m_model.GridClick(false, 0, 0, MNInputEdge::RELEASED);
        return end;
    }

    void OnValid() { ++m_valid; }
    void OnInvalid() { ++m_invalid; }

    MNWordsearch m_model{MNPuzzleWidget::GameSources()};
    int m_valid = 0;
    int m_invalid = 0;
};

TEST_F(WordsearchTest, StrokesSnapToLinesByTheRatioOfRowsToColumns) {
    Start();
    struct Case {
        const char* what;
        int sx, sy, x, y;
        int end;
    } cases[] = {
        {"straight across", 0, 0, 4, 0, Cell(4, 0)},
        {"exact diagonal", 0, 0, 3, 3, Cell(3, 3)},
        {"1 down 5 right keeps the row", 0, 0, 5, 1, Cell(5, 0)},
        {"4 down 1 right keeps the column", 0, 0, 1, 4, Cell(0, 4)},
        {"2 down 3 right snaps down-right", 0, 0, 3, 2, Cell(3, 3)},
        {"ratio 0.25 is not diagonal", 0, 0, 4, 1, Cell(4, 0)},
        {"ratio 3.0 is not diagonal", 0, 0, 1, 3, Cell(0, 3)},
        {"up and right", 0, 5, 2, 4, Cell(2, 3)},
        {"down and left", 5, 0, 4, 2, Cell(3, 2)},
        {"up and left", 5, 5, 3, 4, Cell(3, 3)},
        {"diagonal off the grid keeps the end", 4, 0, 5, 2, Cell(4, 0)},
        {"back on the start", 2, 2, 2, 2, Cell(2, 2)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Snap(c.sx, c.sy, c.x, c.y), c.end) << c.what;
    }
}

TEST_F(WordsearchTest, AStrokeReleasedOffTheGridEndsWhereItsEndLastWas) {
    Start();
    m_model.GridClick(true, 0, 0, MNInputEdge::PRESSED);
    m_model.GridClick(true, 2, 0, MNInputEdge::HELD);
    m_model.GridClick(false, 9, 9, MNInputEdge::HELD);
    m_model.GridClick(false, 9, 9, MNInputEdge::RELEASED);
    EXPECT_TRUE(m_model.IsWordFound(0));
    EXPECT_EQ(m_model.GetStartSelection(), -1);
}

TEST_F(WordsearchTest, WordsAreFoundEitherWayAndTheLastCompletesWithoutValidEntry) {
    Start();

    StrokeWord(0);
    StrokeWord(1, true);
    StrokeWord(2);
    EXPECT_EQ(m_model.GetNumWordsFound(), 3);
    EXPECT_EQ(m_model.GetState(), 1);
    EXPECT_FALSE(m_model.CheckWin());
    StrokeWord(3, true);
    EXPECT_EQ(m_model.GetState(), 4);
    EXPECT_TRUE(m_model.CheckWin());
    EXPECT_EQ(m_valid, 3);
    EXPECT_EQ(m_invalid, 0);
}

TEST_F(WordsearchTest, WrongStrokesCountErrorsThatFoundWordsTakeBack) {
    Start();
    Stroke({{0, 0}, {1, 0}}); // one cell short of CAT
    EXPECT_EQ(m_model.GetNumErrors(), 1);
    EXPECT_EQ(m_invalid, 1);
    Stroke({{3, 3}}); // one cell is no stroke
    EXPECT_EQ(m_model.GetNumErrors(), 1);
    StrokeWord(0);
    EXPECT_EQ(m_model.GetNumErrors(), 0);
    StrokeWord(0, true); // found already
    StrokeWord(0);
    EXPECT_EQ(m_model.GetNumErrors(), 2);
    EXPECT_EQ(m_model.GetNumWordsFound(), 1);
    StrokeWord(1);
    StrokeWord(2);
    EXPECT_EQ(m_model.GetNumErrors(), 0) << "never below zero";
    m_model.Reset(false);
    EXPECT_EQ(m_model.GetNumWordsFound(), 0);
    EXPECT_EQ(m_model.GetState(), 1);
}

TEST_F(WordsearchTest, HintAllowancesFollowTheModeAndDifficulty) {
    struct Case {
        const char* what;
        int mode, difficulty;
        std::vector<int> left, max;
    } cases[] = {
        {"Tournament pro", GAME_MODE_TOURNAMENT, 3, {2, 1, 1}, {2, 1, 1}},
        {"Quick Blast pro", GAME_MODE_QUICKBLAST, 3, {3, 2, 1}, {3, 2, 1}},
        {"Simply Puzzle pro", GAME_MODE_SIMPLYPUZZLE, 3, {3, 2, 1}, {3, 2, 1}},
        {"Simply Puzzle mini has none", GAME_MODE_SIMPLYPUZZLE, 0, {0, 0, 0}, {0, 0, 0}},
        {"Fast and Fun", GAME_MODE_FASTANDFUN, 1, {0, 0, 0}, {0, 0, 0}},
        {"Head to Head", GAME_MODE_HEADTOHEAD, 1, {0, 0, 0}, {0, 0, 0}},
        {"difficulty out of range", GAME_MODE_QUICKBLAST, 9, {0, 0, 0}, {0, 0, 0}},
    };
    for (const Case& c : cases) {
        Start(c.mode, 4, c.difficulty);
        for (int kind = 0; kind < 3; ++kind) {
            EXPECT_EQ(m_model.GetHintsLeft()[kind], c.left[kind]) << c.what << " kind " << kind;
            EXPECT_EQ(m_model.GetMaxHints(kind), c.max[kind]) << c.what << " kind " << kind;
        }
    }
}

TEST_F(WordsearchTest, HintsMarkCellsOfAnUnfoundWordUntilTheNextStroke) {
    Start(GAME_MODE_TOURNAMENT, 2, 1);
    StrokeWord(0); // only DOG is left
    const int dogFirst = Cell(5, 0), dogLast = Cell(5, 2);

    m_model.Hint(2);
    EXPECT_EQ(m_model.GetHintPositions(0), dogFirst);
    EXPECT_EQ(m_model.GetHintPositions(1), dogLast);
    m_model.Hint(1);
    EXPECT_EQ(m_model.GetHintPositions(0), dogFirst);
    EXPECT_EQ(m_model.GetHintPositions(1), -1);
    m_model.Hint(0);
    EXPECT_EQ(m_model.GetHintPositions(0) % kSide, 5) << "a letter of DOG";
    EXPECT_LT(m_model.GetHintPositions(0), Cell(0, 3));
    EXPECT_EQ((std::vector<int>{m_model.GetHintsLeft(), m_model.GetHintsLeft() + 3}),
              (std::vector<int>{3, 2, 1}));

    Stroke({{1, 1}, {1, 2}});
    EXPECT_EQ(m_model.GetHintPositions(0), -1);
}

TEST_F(WordsearchTest, FastAndFunLeavesThreeWordsToFind) {
    Start(GAME_MODE_FASTANDFUN, 4);
    EXPECT_EQ(m_model.GetNumWordsFound(), 1);
    Start(GAME_MODE_FASTANDFUN, 3);
    EXPECT_EQ(m_model.GetNumWordsFound(), 0);
}

TEST_F(WordsearchTest, SavedStateRoundTripsInItsByteLayout) {
    Start(GAME_MODE_TOURNAMENT, 4, 1);
    StrokeWord(1);
    Stroke({{0, 0}, {1, 0}});
    m_model.Hint(2);
    m_model.Tick(2.5f);

    ASSERT_EQ(m_model.SavePuzzleState(nullptr, 0), 14);
    unsigned char state[14];
    std::memset(state, 0xAA, sizeof(state));
    EXPECT_EQ(m_model.SavePuzzleState(state, 13), 0);
    EXPECT_EQ(state[0], 0xAA) << "nothing written";
    ASSERT_EQ(m_model.SavePuzzleState(state, sizeof(state)), 14);
    const unsigned char expected[] = {0, 1, 0, 0, 1, 0x40, 0x20, 0, 0, 4, 3, 1};
    EXPECT_EQ(0, std::memcmp(state, expected, sizeof(expected)));

    MNWordsearch restored{MNPuzzleWidget::GameSources()};
    WordsearchData record = MakeRecord(4, 1);
    restored.SetPuzzle(&record, ModeRules(GAME_MODE_TOURNAMENT, record));
    EXPECT_EQ(restored.LoadPuzzleState(state, 13), 0);
    ASSERT_EQ(restored.LoadPuzzleState(state, sizeof(state)), 1);
    EXPECT_TRUE(restored.IsWordFound(1));
    EXPECT_EQ(restored.GetNumWordsFound(), 1);
    EXPECT_EQ(restored.GetNumErrors(), 1);
    EXPECT_FLOAT_EQ(restored.GetTime(), 2.5f);
    EXPECT_EQ(restored.GetHintsLeft()[2], 1);
    EXPECT_EQ(restored.GetHintPositions(0), m_model.GetHintPositions(0));
    EXPECT_EQ(restored.GetHintPositions(1), m_model.GetHintPositions(1));
}

TEST_F(WordsearchTest, DamagedFieldsOfASavedStateLoadAsNoHintAndAClockAtZero) {
    Start();
    unsigned char state[14] = {1, 1, 1, 1, 0, 0, 0, 0, 0, 1, 1, 1, 255, 255};
    ASSERT_EQ(m_model.LoadPuzzleState(state, sizeof(state)), 1);
    EXPECT_EQ(m_model.GetHintPositions(0), -1) << "255 is no hint";
    EXPECT_TRUE(m_model.CheckWin());

    Start();
    test_support::LogCapture log;
    unsigned char badHint[14] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 36, 255};
    unsigned char badTime[14] = {1, 0, 0, 0, 0, 0x7F, 0xC0, 0, 0, 1, 1, 1, 255, 255};
    EXPECT_EQ(m_model.LoadPuzzleState(nullptr, 0), 0);
    EXPECT_EQ(m_model.GetNumWordsFound(), 0) << "nothing loaded";
    ASSERT_EQ(m_model.LoadPuzzleState(badHint, sizeof(badHint)), 1);
    EXPECT_EQ(m_model.GetHintPositions(0), -1) << "cell 36 lies outside the 6 x 6 grid";
    EXPECT_EQ(m_model.GetNumWordsFound(), 1) << "the word found is kept";
    m_model.Tick(3.0f);
    ASSERT_EQ(m_model.LoadPuzzleState(badTime, sizeof(badTime)), 1);
    EXPECT_EQ(m_model.GetTime(), 0.0f) << "a time that is not a number";
    EXPECT_EQ(log.CountContaining("outside the grid"), 1);
    EXPECT_EQ(log.CountContaining("play time out of range"), 1);
}

// The sounds a Tournament wordsearch plays, second by second, with the target time given.
std::vector<int> TargetTimeSounds(float targetTime) {
    using Kelvo_lib::MNSound;
    MNWordsearch model{MNPuzzleWidget::GameSources()};
    WordsearchData record = MakeRecord(4, 1);
    Kelvo_lib::MNPuzzleRules rules = ModeRules(GAME_MODE_TOURNAMENT, record);
    rules.targetTime = targetTime;
    model.SetPuzzle(&record, rules);
    model.Play();
    std::vector<int> sounds;
    for (int second = 0; second < 40; ++second) {
        MNSound::PlaySoundEffect(Kelvo_lib::SFX_BACK);
        model.Tick(1.0f);
        if (MNSound::GetLastSoundEffect() != Kelvo_lib::SFX_BACK) {
            sounds.push_back(MNSound::GetLastSoundEffect());
        }
    }
    return sounds;
}

TEST(WordsearchTargetTime, TicksAndTocksOverTheLast30SecondsThenSoundsOnceAtTheTarget) {
    std::vector<int> expected;
    for (int second = 1; second <= 30; ++second) {
        expected.push_back(second % 2 == 1 ? Kelvo_lib::SFX_TICK : Kelvo_lib::SFX_TOCK);
    }
    expected.push_back(Kelvo_lib::SFX_TARGET_EXPIRED);
    EXPECT_EQ(TargetTimeSounds(30.5f), expected);
    EXPECT_TRUE(TargetTimeSounds(Kelvo_lib::MNPuzzleRules::kNoTarget).empty()) << "no target given";
}

} // namespace
