// The fitword's rules: the word list, placing words by picking a word and then a cell,
// crossings, clashes, clearing, errors, hints, the placement highlight, Head to Head locks,
// the Fast and Fun start, winning and the saved state, byte for byte.
#include "entry_listener.h"
#include "fitword_test_support.h"
#include "puzzle_rules_support.h"

#include <puzzles/fitword/mnfitword.h>
#include <puzzles/mnpuzzlewidget.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsubgame.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using fitword_test::MakeFitword;
using fitword_test::SmallFitword;
using fitword_test::TwoLengthFitword;
using puzzle_test::LogCapture;
using puzzle_test::ModeRules;

// Words of SmallFitword, which are also its slots.
constexpr int kCat = 0;
constexpr int kCow = 1;
constexpr int kTee = 2;
constexpr int kWee = 3;

class FitwordModelTest : public ::testing::Test {
protected:
    void TearDown() override { MNProfileManager::SetActiveProfile(m_previousProfile); }

    void Load(FitwordData record, int gameMode = GAME_MODE_QUICKBLAST, int prefillLevel = 0) {
        m_record = std::move(record);
        MNPuzzleRules rules = ModeRules(gameMode, m_record);
        rules.prefillLevel = prefillLevel;
        model.SetPuzzle(&m_record, rules);
    }

    // Picks the word from the list and points at the cell, as the player does.
    bool Place(int word, int cell) {
        model.SelectWord(word);
        return model.SelectCell(cell);
    }

    std::string Row(int row) const {
        std::string letters;
        for (int col = 0; col < model.GetNumCols(); ++col) {
            letters += model.GetUserLetter(row * model.GetNumCols() + col);
        }
        return letters;
    }

    std::string Highlights() const {
        std::string lit;
        for (int cell = 0; cell < model.GetNumCells(); ++cell) {
            lit += model.IsHighlight(cell) ? '*' : '.';
        }
        return lit;
    }

    std::vector<int> FreeWords() const {
        std::vector<int> free;
        for (int i = 0; i < model.GetNumWords(); ++i) {
            if (model.GetSlotOfWord(model.GetListWord(i)) < 0) {
                free.push_back(model.GetListWord(i));
            }
        }
        return free;
    }

    const int m_previousProfile = MNProfileManager::GetActiveProfileIndex();
    FitwordData m_record;
    MNFitword model{MNPuzzleWidget::GameSources()};
    EntryListener<MNFitword> listener{model};
};

TEST_F(FitwordModelTest, TheWordListRunsShortestFirstThenAlphabetically) {
    Load(TwoLengthFitword());
    std::vector<std::string> list;
    for (int i = 0; i < model.GetNumWords(); ++i) {
        list.push_back(model.GetWord(model.GetListWord(i)));
    }
    EXPECT_EQ((std::vector<std::string>{"AT", "SEA", "SON"}), list);
}

TEST_F(FitwordModelTest, PlacingFillsTheSlotAndCrossingCellsAlternate) {
    Load(SmallFitword());
    ASSERT_TRUE(Place(kCat, 0));
    EXPECT_EQ(0, model.GetPlacedWord(0));
    ASSERT_TRUE(Place(kCow, 0));
    EXPECT_EQ(kCow, model.GetPlacedWord(1)) << "the across slot was selected: the down one";
    EXPECT_EQ("CAT", Row(0));
    EXPECT_EQ("O  ", Row(1));

    model.SelectWord(-1);
    const int alternation[] = {3, 2, 3};
    for (int slot : alternation) {
        ASSERT_TRUE(model.SelectCell(8));
        EXPECT_EQ(slot, model.GetSelectedSlot());
    }
    EXPECT_EQ("......***", Highlights()) << "the selected slot";
    EXPECT_FALSE(model.SelectCell(4)) << "a block";
    EXPECT_EQ(2, listener.valid);
    EXPECT_EQ(0, listener.invalid);
}

TEST_F(FitwordModelTest, OnlySlotsOfThePickedWordsLengthTakeIt) {
    Load(TwoLengthFitword());
    EXPECT_FALSE(Place(2, 0)) << "AT fits neither SEA's nor SON's slot";
    EXPECT_EQ(-1, model.GetSlotOfWord(2));
    EXPECT_EQ(0, model.PlaceWord(2, 0));
    EXPECT_EQ(0, model.PlaceWord(7, 0));
    EXPECT_EQ(0, model.PlaceWord(0, -1));
    EXPECT_TRUE(Place(2, 5)) << "T: only AT's slot runs through it";
    EXPECT_EQ("  A", Row(0));
    EXPECT_EQ("  T", Row(1));
}

TEST_F(FitwordModelTest, ClashingWordsGoBackToTheList) {
    Load(SmallFitword());
    ASSERT_TRUE(Place(kWee, 0));
    EXPECT_EQ("WEE", Row(0));
    EXPECT_EQ(1, model.GetNumErrors());
    EXPECT_EQ(1, listener.invalid);

    ASSERT_TRUE(Place(kCow, 3)); // its C clashes with the W of WEE
    EXPECT_EQ(-1, model.GetSlotOfWord(kWee));
    EXPECT_EQ("C  ", Row(0));
    EXPECT_EQ(0, model.GetNumErrors());

    ASSERT_TRUE(Place(kTee, 5));
    ASSERT_TRUE(Place(kCat, 7)); // clashes with COW's W and TEE's E at once
    EXPECT_EQ((std::vector<int>{kCow, kTee, kWee}), FreeWords());
    EXPECT_EQ("CAT", Row(2));
    EXPECT_EQ(1, model.GetNumErrors());

    model.SelectWord(kCat); // picking a placed word takes it out
    EXPECT_EQ(4u, FreeWords().size());
    EXPECT_EQ(0, model.GetNumErrors());
    EXPECT_EQ("   ", Row(2));
}

// Slots 0 CAT and 1 DOG of one length that share no cell, and 2 COW.
FitwordData ThreeRows() {
    return MakeFitword({"CAT", "###", "DOG", "###", "COW"});
}

TEST_F(FitwordModelTest, WrongWordsAreErrorsUntilRemovedOrCleared) {
    Load(ThreeRows());
    model.Play();
    Place(1, 0);
    Place(0, 6);
    Place(2, 12);
    EXPECT_TRUE(model.IsGridFull());
    EXPECT_FALSE(model.CheckWin());
    EXPECT_EQ(1, model.GetState());
    EXPECT_EQ(2, model.GetNumErrors());
    EXPECT_EQ(1, model.GetNumCorrect());

    model.RemoveErrors();
    EXPECT_EQ(0, model.GetNumErrors());
    EXPECT_EQ("   ", Row(0));
    EXPECT_EQ(2, model.GetPlacedWord(2)) << "right words stay";
    model.ClearSlot(2);
    EXPECT_EQ("   ", Row(4));
    model.ClearSlot(9); // no such slot: logged, nothing changes

    Place(0, 0);
    Place(1, 6);
    Place(2, 12);
    EXPECT_TRUE(model.CheckWin());
    EXPECT_EQ(4, model.GetState());
    EXPECT_EQ(3, model.GetNumCorrect());
    EXPECT_EQ(2, listener.invalid);
    EXPECT_EQ(4, listener.valid);
}

TEST_F(FitwordModelTest, HintAllowancesFollowModeAndDifficulty) {
    struct Case {
        int mode;
        int difficulty;
        std::vector<int> hints;
    };
    const Case cases[] = {
        {GAME_MODE_TOURNAMENT, 3, {2, 1, 1}}, {GAME_MODE_TOURNAMENT, 1, {4, 3, 2}},
        {GAME_MODE_QUICKBLAST, 3, {3, 2, 1}}, {GAME_MODE_SIMPLYPUZZLE, 2, {5, 3, 1}},
        {GAME_MODE_FASTANDFUN, 0, {0, 0, 0}}, {GAME_MODE_HEADTOHEAD, 1, {0, 0, 0}},
    };
    MNProfileManager::SetActiveProfile(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        FitwordData record = SmallFitword();
        record.difficulty = static_cast<u8>(c.difficulty);
        MNFitword fresh{MNPuzzleWidget::GameSources()};
        fresh.SetPuzzle(&record, ModeRules(c.mode, record));
        const int* left = fresh.GetHintsLeft();
        EXPECT_EQ(c.hints, (std::vector<int>{left[0], left[1], left[2]}));
        for (int kind = 0; kind < 3; ++kind) {
            EXPECT_EQ(c.hints[static_cast<size_t>(kind)], fresh.GetMaxHints(kind));
        }
    }
}

TEST_F(FitwordModelTest, HintsLockWhatTheyShow) {
    Load(SmallFitword());
    Place(kWee, 0); // a wrong word, which a whole-word hint may replace

    model.Hint(1); // the first letter of every slot of that length
    EXPECT_EQ(4, model.GetHintsLeft()[1]);
    for (int cell : {0, 2, 6}) {
        EXPECT_TRUE(model.IsCellLocked(cell)) << cell;
        EXPECT_EQ(model.GetCellsDone(cell), model.GetUserLetter(cell));
    }

    const int lockedCells = [this] {
        int count = 0;
        for (int cell = 0; cell < model.GetNumCells(); ++cell) {
            count += model.IsCellLocked(cell) ? 1 : 0;
        }
        return count;
    }();
    model.Hint(0);
    int nowLocked = 0;
    for (int cell = 0; cell < model.GetNumCells(); ++cell) {
        nowLocked += model.IsCellLocked(cell) ? 1 : 0;
    }
    EXPECT_EQ(lockedCells + 1, nowLocked) << "one more letter";

    model.Hint(2);
    EXPECT_EQ(2, model.GetHintsLeft()[2]);
    int locked = -1;
    for (int slot = 0; slot < model.GetNumWords(); ++slot) {
        locked = model.IsSlotLocked(slot) ? slot : locked;
    }
    ASSERT_GE(locked, 0);
    EXPECT_EQ(locked, model.GetPlacedWord(locked));
    model.SelectWord(locked);
    EXPECT_EQ(locked, model.GetSlotOfWord(locked)) << "a hinted word cannot be picked up";
    EXPECT_EQ(0, model.PlaceWord(locked == kCat ? kWee : kCat, locked));

    // Hints run out; a kind with none left changes nothing.
    for (int i = 0; i < 10; ++i) {
        model.Hint(2);
    }
    EXPECT_EQ(0, model.GetHintsLeft()[2]);
    int lockedSlots = 0;
    for (int slot = 0; slot < model.GetNumWords(); ++slot) {
        lockedSlots += model.IsSlotLocked(slot) && model.GetPlacedWord(slot) == slot ? 1 : 0;
    }
    EXPECT_GE(lockedSlots, 3) << "each holding its own word";
    LogCapture log;
    model.Hint(5);
    EXPECT_EQ(1u, log.lines.size());
}

TEST_F(FitwordModelTest, PlacementHighlightFollowsTheFastAndFunDifficulty) {
    struct Case {
        int mode;
        int difficulty;
        const char* lit; // with DOG picked
    };
    const Case cases[] = {
        {GAME_MODE_QUICKBLAST, 2, "***...***...***"}, // every free slot of three letters
        {GAME_MODE_FASTANDFUN, 0, "......***......"}, // only its own slot
        {GAME_MODE_FASTANDFUN, 1, "***...***...***"},
        {GAME_MODE_FASTANDFUN, 2, "..............."},
    };
    MNProfileManager::SetActiveProfile(0);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + "/" + std::to_string(c.difficulty));
        Load(ThreeRows(), c.mode, c.difficulty);
        model.SelectWord(1);
        EXPECT_EQ(c.lit, Highlights());
    }
}

TEST_F(FitwordModelTest, FastAndFunStartsWithAllButThreeWordsLockedInPlace) {
    MNProfileManager::SetActiveProfile(0);
    Load(MakeFitword({"CAT", "###", "DOG", "###", "COW", "###", "PIG", "###", "HEN"}),
         GAME_MODE_FASTANDFUN);
    EXPECT_EQ(3u, FreeWords().size());
    int locked = 0;
    for (int slot = 0; slot < model.GetNumWords(); ++slot) {
        locked += model.IsSlotLocked(slot) ? 1 : 0;
    }
    EXPECT_EQ(model.GetNumWords() - 3, locked);
    model.Reset(true);
    EXPECT_EQ(3u, FreeWords().size()) << "a restart keeps the locked words";
}

TEST_F(FitwordModelTest, HeadToHeadKeepsRightWordsForGood) {
    Load(SmallFitword(), GAME_MODE_HEADTOHEAD);
    Place(kWee, 0);
    EXPECT_FALSE(model.IsSlotLocked(0));
    Place(kCat, 1);
    EXPECT_TRUE(model.IsSlotLocked(0));
    model.ClearSlot(0);
    EXPECT_EQ(kCat, model.GetPlacedWord(0));
    EXPECT_EQ(1, listener.valid);
    EXPECT_EQ(1, listener.invalid);
}

TEST_F(FitwordModelTest, SavedStateIsByteExactAndReadsBack) {
    Load(SmallFitword(), GAME_MODE_TOURNAMENT);
    Place(kCat, 0);
    Place(kTee, 6); // wrong
    model.Hint(0);
    model.Tick(0.0f);
    model.Play();
    model.Tick(2.5f);

    ASSERT_EQ(14, model.SavePuzzleState(nullptr, 0));
    std::vector<u8> small(13, 0xAA);
    EXPECT_EQ(0, model.SavePuzzleState(small.data(), 13));
    EXPECT_EQ(std::vector<u8>(13, 0xAA), small);

    std::vector<u8> state(210, 0);
    ASSERT_EQ(14, model.SavePuzzleState(state.data(), 210));
    EXPECT_EQ(0, state[0]);
    EXPECT_EQ(0xFF, state[1]);
    EXPECT_EQ(0xFF, state[2]);
    EXPECT_EQ(kTee, state[3]);
    EXPECT_EQ((std::vector<u8>{0x40, 0x20, 0x00, 0x00}),
              std::vector<u8>(state.begin() + 6, state.begin() + 10))
        << "2.5, big-endian";
    EXPECT_EQ((std::vector<u8>{3, 3, 2}), std::vector<u8>(state.begin() + 10, state.begin() + 13));
    EXPECT_EQ(1, state[13]) << "errors made";

    FitwordData record = SmallFitword();
    MNFitword restored{MNPuzzleWidget::GameSources()};
    restored.SetPuzzle(&record, ModeRules(GAME_MODE_TOURNAMENT, record));
    EXPECT_EQ(0, restored.LoadPuzzleState(state.data(), 13));
    ASSERT_EQ(1, restored.LoadPuzzleState(state.data(), 210));
    for (int cell = 0; cell < 9; ++cell) {
        EXPECT_EQ(model.GetUserLetter(cell), restored.GetUserLetter(cell)) << cell;
        EXPECT_EQ(model.IsCellLocked(cell), restored.IsCellLocked(cell)) << cell;
    }
    EXPECT_FLOAT_EQ(2.5f, restored.GetTime());
    EXPECT_EQ(1, restored.GetNumErrors());
    EXPECT_EQ(1, restored.GetNumErrorsMade());
    EXPECT_EQ(3, restored.GetHintsLeft()[0]);
}

TEST_F(FitwordModelTest, DamagedStatesLoadSafely) {
    Load(SmallFitword(), GAME_MODE_TOURNAMENT);
    struct Case {
        const char* name;
        std::vector<u8> state;
        std::vector<int> placed;
        float time;
    };
    const Case cases[] = {
        {"unknown word",
         {200, 0xFF, 0xFF, 0xFF, 0, 0, 0x40, 0, 0, 0, 1, 1, 1, 0},
         {-1, -1, -1, -1},
         2.0f},
        {"word twice", {1, 1, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 1, 1, 1, 0}, {-1, -1, -1, -1}, 0.0f},
        {"not a number",
         {0xFF, 0xFF, 0xFF, 3, 0, 0, 0x7F, 0xC0, 0, 0, 1, 1, 1, 0},
         {-1, -1, -1, 3},
         0.0f},
        {"negative time",
         {0, 0xFF, 0xFF, 0xFF, 0, 0, 0xC0, 0, 0, 0, 1, 1, 1, 0},
         {0, -1, -1, -1},
         0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<u8> state = c.state;
        LogCapture log;
        ASSERT_EQ(1, model.LoadPuzzleState(state.data(), static_cast<int>(state.size())));
        std::vector<int> placed;
        for (int slot = 0; slot < 4; ++slot) {
            placed.push_back(model.GetPlacedWord(slot));
        }
        EXPECT_EQ(c.placed, placed);
        EXPECT_FLOAT_EQ(c.time, model.GetTime());
    }
    // Hints above the allowance are cut to it.
    std::vector<u8> greedy{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0, 0, 0, 0, 99, 99, 99, 0};
    ASSERT_EQ(1, model.LoadPuzzleState(greedy.data(), 14));
    EXPECT_EQ(4, model.GetHintsLeft()[0]);
    EXPECT_FALSE(model.IsCellLocked(4)) << "a block is never locked";
}

TEST_F(FitwordModelTest, TheLargestGridsFitTheResumeRecord) {
    std::vector<std::string> rows(13, std::string(13, '#'));
    for (int row = 0; row < 13; row += 2) {
        rows[static_cast<size_t>(row)] = "ABCDEFGHIJKLM";
    }
    for (int col = 0; col < 13; col += 2) {
        for (int row = 1; row < 13; row += 2) {
            rows[static_cast<size_t>(row)][static_cast<size_t>(col)] = 'X';
        }
    }
    Load(MakeFitword(rows));
    const int size = model.SavePuzzleState(nullptr, 0);
    EXPECT_LE(size, 210);
    std::vector<u8> state(210);
    EXPECT_EQ(size, model.SavePuzzleState(state.data(), 210));
}

} // namespace
