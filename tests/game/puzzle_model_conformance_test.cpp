// The puzzle model contract, checked the same way on every kind: the saved state's size,
// too small a buffer, the round trip and damaged states, reset and the clock, hints against
// the allowance, the rules a mode gives (allowance, pre-fill, taking turns), the debug key
// and the entry signals. What the modes score is checked through the screens in
// puzzle_scoring_test.
#include "crossword_test_support.h"
#include "fitword_test_support.h"
#include "puzzle_rules_support.h"
#include "puzzle_test_support.h"

#include <puzzles/crossword/mncrossword.h>
#include <puzzles/fitword/mnfitword.h>
#include <puzzles/mnpuzzleclock.h>
#include <puzzles/mnpuzzlemodel.h>
#include <puzzles/mnpuzzleui.h>
#include <puzzles/mnpuzzlewidget.h>
#include <puzzles/sudoku/mnsudoku.h>
#include <puzzles/wordsearch/mnwordsearch.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsaveranges.h>
#include <services/mnsound.h>
#include <services/mnsubgame.h>
#include <tui/mnkeyboard.h>

#include <kelvo/input/kinputsystemwii.h>

#include <algorithm>
#include <bit>
#include <limits>

using namespace Kelvo_lib;
using puzzle_test::ModeRules;

namespace {

// Per kind: a small puzzle, a right and a wrong entry, and what a hint needs first.
struct CrosswordKind {
    using Model = MNCrossword;
    CrosswordData record = crossword_test::SmallCrossword();
    void Set(Model& model, const MNPuzzleRules& rules) { model.SetPuzzle(&record, rules); }
    static void Enter(Model& model, const char* text) {
        model.SelectClue(0);
        model.PlaceWord(text, model.GetFirstCell(), DIR_HORIZONTAL);
    }
    static void Right(Model& model) { Enter(model, "CAT"); }
    static void Wrong(Model& model) { Enter(model, "CAB"); }
    static void Solve(Model& model) {
        for (int i = 0; i < model.GetNumWords(); ++i) {
            model.SelectClue(i);
            model.PlaceWord(model.GetWord(i), model.GetFirstCell(),
                            model.GetWordDirection(i) ? DIR_VERTICAL : DIR_HORIZONTAL);
        }
    }
    // A hint reveals the next letter of the word open on the keyboard.
    static void ReadyForHint(Model& model) {
        model.SelectClue(3);
        model.GetKeyboard()->SetMaxStringLength(model.GetWordLength(3));
        model.GetKeyboard()->SetString("   ");
    }
};

struct FitwordKind {
    using Model = MNFitword;
    FitwordData record = fitword_test::SmallFitword();
    void Set(Model& model, const MNPuzzleRules& rules) { model.SetPuzzle(&record, rules); }
    static void Right(Model& model) { model.PlaceWord(0, 0); }
    static void Wrong(Model& model) { model.PlaceWord(1, 0); }
    static void Solve(Model& model) {
        for (int i = 0; i < model.GetNumWords(); ++i) {
            model.PlaceWord(i, i);
        }
    }
    static void ReadyForHint(Model&) {}
};

struct SudokuKind {
    using Model = MNSudoku;
    SudokuData record = puzzle_test::MakeSudoku(3, 9);
    void Set(Model& model, const MNPuzzleRules& rules) { model.SetPuzzle(&record, rules); }
    static void Enter(Model& model, int cell, int digit) {
        model.SelectCell(cell);
        model.EnterDigit(digit);
    }
    // The right answer is the first row: a sudoku scores its complete rows, columns and boxes.
    static void Right(Model& model) {
        for (int cell = 1; cell < 9; cell += 2) {
            Enter(model, cell, model.GetSolution(cell));
        }
    }
    static void Wrong(Model& model) { Enter(model, 1, model.GetSolution(1) % 9 + 1); }
    static void Solve(Model& model) {
        for (int cell = 0; cell < model.GetNumCells(); ++cell) {
            Enter(model, cell, model.GetSolution(cell));
        }
    }
    static void ReadyForHint(Model&) {}
};

// The small wordsearch and a fourth word down its third column, so that a pre-filled puzzle,
// which leaves three words to find, has one in place.
WordsearchData FourWordWordsearch() {
    WordsearchData record = puzzle_test::MakeWordsearch(4);
    WordsearchDataWord word{};
    puzzle_test::CopyText(word.word, "TZT");
    word.cellStartIndex = record.wordTrails.Size();
    for (const int cell : {2, 6, 10}) {
        record.wordTrails.Push(cell);
    }
    word.cellEndIndex = record.wordTrails.Size() - 1;
    record.words.Push(word);
    record.numWords = static_cast<u8>(record.words.Size());
    record.numTrailCells = static_cast<u8>(record.wordTrails.Size());
    return record;
}

struct WordsearchKind {
    using Model = MNWordsearch;
    WordsearchData record = FourWordWordsearch();
    void Set(Model& model, const MNPuzzleRules& rules) { model.SetPuzzle(&record, rules); }
    static void Stroke(Model& model, int x0, int y0, int x1, int y1) {
        model.GridClick(true, x0, y0, MNInputEdge::PRESSED);
        model.GridClick(true, x1, y1, MNInputEdge::HELD);
        model.GridClick(true, x1, y1, MNInputEdge::RELEASED);
    }
    static void Right(Model& model) { Stroke(model, 0, 0, 2, 0); }
    static void Wrong(Model& model) { Stroke(model, 3, 0, 3, 2); }
    static void Solve(Model& model) {
        const int cols = model.GetNumCols();
        for (int w = 0; w < model.GetNumWords(); ++w) {
            const int first = model.GetWordTrail(model.GetWordStartIndex(w));
            const int last = model.GetWordTrail(model.GetWordEndIndex(w));
            Stroke(model, first % cols, first / cols, last % cols, last / cols);
        }
    }
    static void ReadyForHint(Model&) {}
};

// Counts a model's signals.
class SignalCounts : public kHasSlots<> {
public:
    template <class Model>
    explicit SignalCounts(Model& model) {
        model.GameOverSignal.Connect(this, &SignalCounts::OnGameOver);
        model.ValidEntrySignal.Connect(this, &SignalCounts::OnValid);
        model.InvalidEntrySignal.Connect(this, &SignalCounts::OnInvalid);
    }
    void OnGameOver() { ++gameOver; }
    void OnValid() { ++valid; }
    void OnInvalid() { ++invalid; }
    int gameOver = 0;
    int valid = 0;
    int invalid = 0;
};

constexpr int kRecordSize = MNPuzzleUI::K_SAVED_STATE_SIZE;

template <class Kind>
class PuzzleModelConformanceTest : public ::testing::Test {
protected:
    using Model = typename Kind::Model;
    static_assert(MNPuzzleModel<Model>);

    // The kind's puzzle set by the rules, or by those of the game mode, and started on a new
    // model.
    Model& StartWith(const MNPuzzleRules& rules) {
        m_models.push_back(std::make_unique<Model>(MNPuzzleWidget::GameSources()));
        m_kind.Set(*m_models.back(), rules);
        m_models.back()->Play();
        return *m_models.back();
    }
    Model& Start(int mode = GAME_MODE_QUICKBLAST) {
        return StartWith(ModeRules(mode, m_kind.record));
    }
    static std::vector<u8> Save(Model& model) {
        std::vector<u8> state(kRecordSize);
        state.resize(static_cast<size_t>(model.SavePuzzleState(state.data(), kRecordSize)));
        return state;
    }

    Kind m_kind;
    std::vector<std::unique_ptr<Model>> m_models;
};

using Kinds = testing::Types<CrosswordKind, FitwordKind, SudokuKind, WordsearchKind>;
TYPED_TEST_SUITE(PuzzleModelConformanceTest, Kinds);

TYPED_TEST(PuzzleModelConformanceTest, TheSizeQueryTellsWhatASaveWritesWithinTheRecord) {
    auto& model = this->Start();
    TypeParam::Right(model);
    const int size = model.SavePuzzleState(nullptr, 0);
    ASSERT_GT(size, 0);
    EXPECT_LE(size, kRecordSize);
    std::vector<u8> buffer(kRecordSize, 0xAB);
    EXPECT_EQ(model.SavePuzzleState(buffer.data(), kRecordSize), size);
    EXPECT_EQ(buffer[static_cast<size_t>(size)], 0xAB) << "nothing past the state";
}

TYPED_TEST(PuzzleModelConformanceTest, TooSmallABufferGivesZeroAndChangesNothing) {
    auto& model = this->Start();
    TypeParam::Wrong(model);
    model.Tick(4.0f);
    const int size = model.SavePuzzleState(nullptr, 0);
    std::vector<u8> buffer(kRecordSize, 0xAB);
    EXPECT_EQ(model.SavePuzzleState(buffer.data(), size - 1), 0);
    EXPECT_EQ(buffer, std::vector<u8>(kRecordSize, 0xAB)) << "nothing written";

    const std::vector<u8> before = this->Save(model);
    std::vector<u8> other(kRecordSize, 0);
    EXPECT_EQ(model.LoadPuzzleState(other.data(), size - 1), 0);
    EXPECT_EQ(model.LoadPuzzleState(nullptr, 0), 0);
    EXPECT_EQ(this->Save(model), before) << "nothing loaded";
    EXPECT_EQ(model.GetTime(), 4.0f);
}

TYPED_TEST(PuzzleModelConformanceTest, ASavedStateComesBackWholeOnTheSamePuzzle) {
    auto& model = this->Start(GAME_MODE_TOURNAMENT);
    TypeParam::Wrong(model);
    TypeParam::Right(model);
    TypeParam::ReadyForHint(model);
    ASSERT_TRUE(model.Hint(0));
    model.Tick(12.5f);
    const std::vector<u8> state = this->Save(model);
    ASSERT_EQ(static_cast<int>(state.size()), model.SavePuzzleState(nullptr, 0));

    auto& resumed = this->Start(GAME_MODE_TOURNAMENT);
    std::vector<u8> loaded = state;
    ASSERT_EQ(resumed.LoadPuzzleState(loaded.data(), static_cast<int>(loaded.size())), 1);
    EXPECT_EQ(this->Save(resumed), state);
    EXPECT_EQ(resumed.GetTime(), 12.5f);
    EXPECT_EQ(resumed.GetNumCorrect(), model.GetNumCorrect());
    EXPECT_EQ(resumed.GetNumErrors(), model.GetNumErrors());
    EXPECT_EQ(resumed.GetHintsUsed(0), 1);
    EXPECT_EQ(resumed.GetState(), PUZZLE_STATE_PLAYING);
}

// A damaged field loads as its safe value and the rest of the puzzle is kept.
TYPED_TEST(PuzzleModelConformanceTest, ADamagedStateLoadsSafeValues) {
    for (const u8 fill : {u8{0xFF}, u8{0x7F}, u8{0x80}}) {
        SCOPED_TRACE(fill);
        auto& model = this->Start(GAME_MODE_TOURNAMENT);
        const int size = model.SavePuzzleState(nullptr, 0);
        std::vector<u8> damaged(static_cast<size_t>(size), fill);
        ASSERT_EQ(model.LoadPuzzleState(damaged.data(), size), 1);
        EXPECT_GE(model.GetTime(), 0.0f);
        EXPECT_TRUE(std::isfinite(model.GetTime()));
        for (int kind = 0; kind < PUZZLE_HINT_KINDS; ++kind) {
            EXPECT_GE(model.GetHintsUsed(kind), 0) << "no more hints left than allowed";
        }
        EXPECT_EQ(static_cast<int>(this->Save(model).size()), size);
        model.Tick(1.0f);
        EXPECT_GE(model.GetNumErrors(), 0);
    }
}

// A stored clock that is no time (not a number, infinite, negative) loads as 0, one longer
// than the clocks show as the longest they show; the clock shows it as whole seconds.
TYPED_TEST(PuzzleModelConformanceTest, AStoredClockOutOfRangeLoadsAsATimeTheClockShows) {
    constexpr float kPlayed = 1234.5f;
    auto& model = this->Start();
    model.Tick(kPlayed);
    const std::vector<u8> state = this->Save(model);
    const u32 playedBits = std::bit_cast<u32>(kPlayed);
    const std::vector<u8> played = {static_cast<u8>(playedBits >> 24),
                                    static_cast<u8>(playedBits >> 16),
                                    static_cast<u8>(playedBits >> 8), static_cast<u8>(playedBits)};
    const auto clock = std::search(state.begin(), state.end(), played.begin(), played.end());
    ASSERT_NE(clock, state.end()) << "the clock is in the state";
    const float kInfinity = std::numeric_limits<float>::infinity();
    const struct {
        float stored;
        float loaded;
    } clocks[] = {{std::numeric_limits<float>::quiet_NaN(), 0.0f},
                  {kInfinity, 0.0f},
                  {-kInfinity, 0.0f},
                  {-1.0f, 0.0f},
                  {-std::numeric_limits<float>::denorm_min(), 0.0f},
                  {3.4e38f, MN_LONGEST_SECONDS},
                  {MN_LONGEST_SECONDS + 1.0f, MN_LONGEST_SECONDS},
                  {MN_LONGEST_SECONDS, MN_LONGEST_SECONDS},
                  {kPlayed, kPlayed}};
    for (const auto& c : clocks) {
        SCOPED_TRACE(c.stored);
        std::vector<u8> stored = state;
        const u32 bits = std::bit_cast<u32>(c.stored);
        for (size_t i = 0; i < 4; ++i) {
            stored[static_cast<size_t>(clock - state.begin()) + i] =
                static_cast<u8>(bits >> (24 - 8 * i));
        }
        auto& resumed = this->Start();
        ASSERT_EQ(resumed.LoadPuzzleState(stored.data(), static_cast<int>(stored.size())), 1);
        EXPECT_EQ(resumed.GetTime(), c.loaded);
        EXPECT_EQ(MNPuzzleClock::ShownSeconds(false, resumed.GetTime()),
                  static_cast<int>(c.loaded));
    }
}

TYPED_TEST(PuzzleModelConformanceTest, ResetTakesEntriesOutAndKeepsTheClockUnlessAsked) {
    auto& model = this->Start();
    model.Tick(5.0f);
    TypeParam::Right(model);
    const int correct = model.GetNumCorrect();
    model.Reset(false);
    EXPECT_EQ(model.GetTime(), 5.0f);
    EXPECT_LT(model.GetNumCorrect(), correct) << "the right entry is taken out";
    EXPECT_EQ(model.GetState(), PUZZLE_STATE_PLAYING);
    model.Reset(true);
    EXPECT_EQ(model.GetTime(), 0.0f);
}

TYPED_TEST(PuzzleModelConformanceTest, HintsAreGivenWhileTheAllowanceLasts) {
    auto& model = this->Start(GAME_MODE_TOURNAMENT);
    EXPECT_FALSE(model.Hint(PUZZLE_HINT_KINDS)) << "no such kind";
    EXPECT_FALSE(model.Hint(-1));
    for (int kind = 0; kind < PUZZLE_HINT_KINDS; ++kind) {
        SCOPED_TRACE(kind);
        const int allowance = model.GetMaxHints(kind);
        if (allowance == PUZZLE_HINTS_UNLIMITED) {
            continue;
        }
        int given = 0;
        for (int attempt = 0; attempt <= allowance; ++attempt) {
            TypeParam::ReadyForHint(model);
            given += model.Hint(kind) ? 1 : 0;
        }
        EXPECT_LE(given, allowance);
        EXPECT_EQ(model.GetHintsUsed(kind), given);
        EXPECT_FALSE(model.Hint(kind)) << "none left, or nothing left to show";
    }

    auto& inHeadToHead = this->Start(GAME_MODE_HEADTOHEAD);
    if (inHeadToHead.GetMaxHints(0) == 0) {
        EXPECT_FALSE(inHeadToHead.Hint(0));
        EXPECT_EQ(inHeadToHead.GetHintsUsed(0), 0);
    }
}

// Rules built here rather than a mode's: the allowance a puzzle starts with is the one its
// rules give, and a saved state loaded under a smaller one gives no more hints than that.
TYPED_TEST(PuzzleModelConformanceTest, HintsFollowTheAllowanceOfTheRules) {
    MNPuzzleRules rules;
    rules.bHintsOffered = true;
    rules.maxHints[0] = 2;
    rules.maxHints[2] = 1;
    auto& model = this->StartWith(rules);
    EXPECT_TRUE(model.GetRules().bHintsOffered);
    if (model.GetMaxHints(0) == PUZZLE_HINTS_UNLIMITED) {
        EXPECT_EQ(model.GetMaxHints(1), PUZZLE_HINTS_UNLIMITED) << "no kind is rationed";
        return;
    }
    for (int kind = 0; kind < PUZZLE_HINT_KINDS; ++kind) {
        EXPECT_EQ(model.GetMaxHints(kind), rules.maxHints[kind]) << kind;
    }
    EXPECT_FALSE(model.Hint(1)) << "a kind the rules give none of";
    TypeParam::ReadyForHint(model);
    ASSERT_TRUE(model.Hint(0));
    EXPECT_EQ(model.GetHintsUsed(0), 1);
    std::vector<u8> state = this->Save(model);

    auto& stricter = this->StartWith(MNPuzzleRules{});
    ASSERT_EQ(stricter.LoadPuzzleState(state.data(), static_cast<int>(state.size())), 1);
    TypeParam::ReadyForHint(stricter);
    EXPECT_FALSE(stricter.Hint(0)) << "the saved hints left are not more than the rules give";
    EXPECT_EQ(stricter.GetHintsUsed(0), 0);
}

TYPED_TEST(PuzzleModelConformanceTest, APrefilledPuzzleStartsWithRightAnswersInPlace) {
    EXPECT_EQ(this->Start().GetNumCorrect(), 0);
    MNPuzzleRules rules;
    rules.bPrefilled = true;
    EXPECT_GT(this->StartWith(rules).GetNumCorrect(), 0);
}

// Taking turns, a right entry stays: a wrong one in its place does not take it out.
TYPED_TEST(PuzzleModelConformanceTest, PlayersTakingTurnsKeepTheirRightEntries) {
    MNPuzzleRules rules;
    rules.bTakeTurns = true;
    auto& model = this->StartWith(rules);
    SignalCounts counts(model);
    TypeParam::Right(model);
    const int correct = model.GetNumCorrect();
    ASSERT_GT(correct, 0);
    EXPECT_GE(counts.valid, 1);
    TypeParam::Wrong(model);
    EXPECT_EQ(model.GetNumCorrect(), correct);
}

TYPED_TEST(PuzzleModelConformanceTest, EveryEntrySignalsWhetherItWasRight) {
    auto& model = this->Start();
    SignalCounts counts(model);
    TypeParam::Wrong(model);
    EXPECT_EQ(counts.invalid, 1);
    EXPECT_EQ(model.GetNumErrorsMade(), 1);
    TypeParam::Right(model);
    EXPECT_GE(counts.valid, 1);
    EXPECT_EQ(counts.invalid, 1);
    EXPECT_EQ(counts.gameOver, 0);
    EXPECT_EQ(model.GetNumErrorsMade(), 1) << "never lowered by putting it right";
}

// Only the model ends its puzzle: a verdict on a grid not yet solved changes nothing, CheckWin
// completes a solved one without game over, and either verdict ends it with one. The sweep's
// verdict is heard either way.
TYPED_TEST(PuzzleModelConformanceTest, TheVerdictsEndOnlyASolvedGridWithOneGameOver) {
    using Model = typename TypeParam::Model;
    const struct {
        const char* name;
        bool (*verdict)(Model&);
        int wrongSound, rightSound; // SFX_BACK: none
    } verdicts[] = {
        {"EndIfSolved", [](Model& model) { return model.EndIfSolved(); }, SFX_BACK, SFX_BACK},
        {"JudgeSweep", [](Model& model) { return model.JudgeSweep(); }, SFX_WRONG, SFX_RIGHT}};
    const auto heard = [](Model& model, bool (*verdict)(Model&), bool& bEnded) {
        MNSound::PlaySoundEffect(SFX_BACK);
        bEnded = verdict(model);
        return MNSound::GetLastSoundEffect();
    };
    for (const auto& v : verdicts) {
        SCOPED_TRACE(v.name);
        auto& model = this->Start();
        SignalCounts counts(model);
        TypeParam::Right(model);
        EXPECT_FALSE(model.CheckWin());
        bool bEnded = true;
        EXPECT_EQ(heard(model, v.verdict, bEnded), v.wrongSound);
        EXPECT_FALSE(bEnded);
        EXPECT_EQ(model.GetState(), PUZZLE_STATE_PLAYING);
        TypeParam::Solve(model);
        EXPECT_TRUE(model.CheckWin());
        EXPECT_EQ(model.GetState(), PUZZLE_STATE_COMPLETED);
        EXPECT_EQ(counts.gameOver, 0) << "CheckWin alone ends nothing";
        EXPECT_EQ(heard(model, v.verdict, bEnded), v.rightSound);
        EXPECT_TRUE(bEnded);
        EXPECT_EQ(counts.gameOver, 1);
    }
}

TYPED_TEST(PuzzleModelConformanceTest, TheDebugKeyCompletesThePuzzleOnlyForTheDebugProfile) {
    kInputSystemWII input;
    kInputSystemBase::Select(&input);
    const int previous = MNProfileManager::GetActiveProfileIndex();
    MNProfileManager::SetActiveProfile(0);
    MNSaveProfileData& profile = *MNProfileManager::GetActiveProfile()->GetSaveData();
    const MNSaveProfileData saved = profile;
    auto press = [&](auto& model) {
        input.SetInputState(KI_WII_PAD1_BUTTON_2, 1.0f, 0);
        model.Tick(0.5f);
        input.SetInputState(KI_WII_PAD1_BUTTON_2, 0.0f, 0);
        model.Tick(0.5f);
    };

    auto& model = this->Start();
    SignalCounts counts(model);
    std::snprintf(profile.name, sizeof(profile.name), "%s", "PLAYER");
    press(model);
    EXPECT_EQ(model.GetState(), PUZZLE_STATE_PLAYING) << "not the debug profile";
    std::snprintf(profile.name, sizeof(profile.name), "%s", MNProfile::kDebugName);
    press(model);
    EXPECT_EQ(model.GetState(), PUZZLE_STATE_COMPLETED);
    EXPECT_EQ(counts.gameOver, 1);
    EXPECT_EQ(model.GetTime(), 1.5f) << "the clock stops with the puzzle";

    profile = saved;
    MNProfileManager::SetActiveProfile(previous);
    kInputSystemBase::Select(nullptr);
}

} // namespace
