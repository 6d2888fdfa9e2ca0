// The crossword's rules: entering words, errors and their removal, selection and clue
// numbers, hints, restarting, Head to Head locking, the Fast and Fun pre-fill and the saved
// state, byte for byte.
#include "../kelvo/audio_device_support.h"
#include "crossword_test_support.h"
#include "entry_listener.h"
#include "puzzle_rules_support.h"
#include "temporary_host_directory.h"

#include <puzzles/crossword/mncrossword.h>
#include <puzzles/mnpuzzlewidget.h>
#include <services/mnprofile.h>
#include <services/mnresourcemanager.h>
#include <services/mnsound.h>
#include <services/mnsubgame.h>
#include <services/mnvolume.h>
#include <tui/mnkeyboard.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace Kelvo_lib;
using crossword_test::MakeCrossword;
using crossword_test::SmallCrossword;
using puzzle_test::ModeRules;

// Counts the model's signals.
class CrosswordModelTest : public ::testing::Test {
protected:
    void Load(CrosswordData record, int gameMode = GAME_MODE_QUICKBLAST) {
        m_record = std::move(record);
        model.SetPuzzle(&m_record, ModeRules(gameMode, m_record));
    }

    // Selects word i and enters text along it, as the confirm button does.
    void Enter(int i, const char* text) {
        model.SelectClue(i);
        model.PlaceWord(text, model.GetFirstCell(),
                        model.GetDirectionView() ? DIR_VERTICAL : DIR_HORIZONTAL);
    }

    std::string Row(int row) const {
        std::string letters;
        for (int col = 0; col < model.GetNumCols(); ++col) {
            letters += model.GetUserLetter(row * model.GetNumCols() + col);
        }
        return letters;
    }

    // Opens word i on the keyboard with the grid's letters, as the answer view does.
    void OpenOnKeyboard(int i) {
        model.SelectClue(i);
        MNKeyboard* keyboard = model.GetKeyboard();
        keyboard->SetMaxStringLength(model.GetWordLength(i));
        std::string letters;
        for (int n = 0; n < model.GetWordLength(i); ++n) {
            letters += model.GetUserLetter(model.GetWordCell(i, n));
            if (model.IsCellLocked(model.GetWordCell(i, n))) {
                keyboard->SetLockedCells(n);
            }
        }
        keyboard->SetString(letters.c_str());
    }

    CrosswordData m_record;
    MNCrossword model{MNPuzzleWidget::GameSources()};
    EntryListener<MNCrossword> listener{model};
};

TEST_F(CrosswordModelTest, EntriesCountErrorsAndCompletedClues) {
    struct Case {
        const char* name;
        std::vector<const char*> entries; // into word 0, CAT
        int errors;
        bool bUsed;
        int valid;
        int invalid;
    };
    const Case cases[] = {
        {"right", {"CAT"}, 0, true, 1, 0},
        {"complete but wrong", {"COT"}, 1, true, 0, 1},
        {"partial", {"CA "}, 1, false, 0, 1},
        {"right after two wrong", {"COT", "CUT", "CAT"}, 1, true, 1, 2},
        {"never below zero", {"CAT", "CAT"}, 0, true, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MNCrossword fresh{MNPuzzleWidget::GameSources()};
        EntryListener counts(fresh);
        CrosswordData record = SmallCrossword();
        fresh.SetPuzzle(&record, ModeRules(GAME_MODE_QUICKBLAST, record));
        for (const char* entry : c.entries) {
            EXPECT_EQ(1, fresh.PlaceWord(entry, 0, DIR_HORIZONTAL));
        }
        EXPECT_EQ(c.errors, fresh.GetNumErrors());
        EXPECT_EQ(c.bUsed, fresh.IsClueUsed(0));
        EXPECT_EQ(c.valid, counts.valid);
        EXPECT_EQ(c.invalid, counts.invalid);
    }
}

TEST_F(CrosswordModelTest, RefusedEntriesChangeNothing) {
    Load(SmallCrossword());
    EXPECT_EQ(0, model.PlaceWord("CAT", -1, DIR_HORIZONTAL));
    EXPECT_EQ(0, model.PlaceWord(nullptr, 0, DIR_HORIZONTAL));
    EXPECT_EQ(0, model.PlaceWord("CAT", 0, DIR_NONE));
    EXPECT_EQ("   ", Row(0));
    // A word running past the grid's end writes what fits and counts as wrong.
    EXPECT_EQ(1, model.PlaceWord("WEEK", 6, DIR_HORIZONTAL));
    EXPECT_EQ("WEE", Row(2));
    EXPECT_EQ(1, listener.invalid);
}

TEST_F(CrosswordModelTest, RemoveErrorsBlanksWrongLettersAndTheWordsThroughThem) {
    Load(SmallCrossword());
    Enter(0, "CAB"); // wrong last letter, shared with TEE
    Enter(2, "TEE"); // overwrites B with T
    Enter(1, "COW");
    Enter(0, "CAB");
    ASSERT_TRUE(model.IsClueUsed(0) && model.IsClueUsed(1) && model.IsClueUsed(2));
    model.RemoveErrors();
    EXPECT_EQ("CA ", Row(0));
    EXPECT_FALSE(model.IsClueUsed(0));
    EXPECT_FALSE(model.IsClueUsed(2)) << "the down word through the wrong cell";
    EXPECT_TRUE(model.IsClueUsed(1));
    EXPECT_EQ(1, model.GetNumErrors()) << "the count stays";
    EXPECT_EQ(1, model.GetNumCorrect());
}

TEST_F(CrosswordModelTest, CluesAreNumberedBySharedStartCells) {
    Load(SmallCrossword());
    std::vector<int> numbers;
    for (int i = 0; i < model.GetNumWords(); ++i) {
        numbers.push_back(model.GetNumberedCell(i));
    }
    EXPECT_EQ((std::vector<int>{1, 1, 2, 3}), numbers);
    EXPECT_EQ(2, model.GetNumWordsOfDirection(false));
    EXPECT_EQ(0, model.GetSelectedClue()) << "the first across word starts selected";
    EXPECT_TRUE(model.IsHighlight(2));
    EXPECT_FALSE(model.IsHighlight(3));
}

TEST_F(CrosswordModelTest, PointingAtCellsSelectsTheirWords) {
    Load(SmallCrossword());
    struct Step {
        int cell;
        int clue;
        bool bDown;
        int firstCell;
    };
    const Step steps[] = {
        {8, 3, false, 6}, // the end of WEE across and TEE down: the across word first
        {8, 2, true, 2},  // again: its down word
        {8, 3, false, 6}, // and back
        {4, 3, false, 6}, // a block keeps the selection
        {3, 1, true, 0},  // only a down word runs through it
    };
    for (const Step& step : steps) {
        model.SelectCell(step.cell, DIR_NONE);
        EXPECT_EQ(step.clue, model.GetSelectedClue()) << step.cell;
        EXPECT_EQ(step.bDown, model.GetDirectionView());
        EXPECT_EQ(step.firstCell, model.GetFirstCell());
    }
    EXPECT_TRUE(model.IsHighlight(6) && !model.IsHighlight(2));
}

TEST_F(CrosswordModelTest, HintsRevealTheNextLetterOnlyWhereOneIsMissing) {
    Load(SmallCrossword());
    OpenOnKeyboard(0);
    MNKeyboard* keyboard = model.GetKeyboard();

    model.Hint(0);
    EXPECT_STREQ("C  ", keyboard->GetString());
    EXPECT_EQ('C', model.GetUserLetter(0));
    EXPECT_TRUE(model.IsCellLocked(0) && keyboard->GetLockedCells(0));
    EXPECT_EQ(1, model.GetHintsUsed(0));

    keyboard->SetString("CA ");
    model.Hint(0); // A is right already: the cursor only moves on
    EXPECT_EQ(1, keyboard->GetCursorPos());
    EXPECT_EQ(1, model.GetHintsUsed(0));
    EXPECT_FALSE(model.IsCellLocked(1));

    keyboard->SetCursorPos(2);
    model.Hint(0); // at the end of the word
    EXPECT_EQ(1, model.GetHintsUsed(0));
    EXPECT_EQ(0, model.GetSelectedClue());
}

TEST_F(CrosswordModelTest, ResetKeepsClockHintsAndLockedLetters) {
    Load(SmallCrossword());
    model.Play();
    model.Tick(12.5f);
    OpenOnKeyboard(1);
    for (int n = 0; n < 3; ++n) {
        model.Hint(0); // COW, all hinted
    }
    Enter(0, "COT");
    Enter(3, "WEE");
    model.Reset(false);
    EXPECT_FLOAT_EQ(12.5f, model.GetTime());
    EXPECT_EQ(3, model.GetHintsUsed(0));
    EXPECT_EQ(0, model.GetNumErrors());
    EXPECT_EQ("C  ", Row(0));
    EXPECT_EQ("W  ", Row(2));
    EXPECT_EQ(1, model.GetCluesUsed());
    EXPECT_TRUE(model.IsClueUsed(1)) << "a word of locked letters stays completed";
    EXPECT_EQ(0, model.GetSelectedClue());
    model.Reset(true);
    EXPECT_FLOAT_EQ(0.0f, model.GetTime());
}

TEST_F(CrosswordModelTest, HeadToHeadLocksRightWordsAndSignalsOnlyNewLocks) {
    Load(SmallCrossword(), GAME_MODE_HEADTOHEAD);
    Enter(0, "CAT");
    EXPECT_TRUE(model.IsCellLocked(0) && model.IsCellLocked(2));
    Enter(0, "CAB");
    EXPECT_EQ('T', model.GetUserLetter(2)) << "a locked letter stays";
    EXPECT_EQ(0, listener.invalid);
    Enter(0, "CAT");
    EXPECT_EQ(1, listener.valid) << "nothing new locked";
    Enter(1, "COW"); // C is locked already, O and W are new
    EXPECT_EQ(2, listener.valid);
    Enter(3, "WEB");
    EXPECT_EQ(1, listener.invalid);
    EXPECT_FALSE(model.IsCellLocked(8));
}

TEST_F(CrosswordModelTest, WinNeedsEveryLetterRight) {
    Load(SmallCrossword());
    model.Play();
    Enter(0, "CAT");
    Enter(1, "COW");
    Enter(2, "TEE");
    Enter(3, "WEB");
    EXPECT_TRUE(model.IsGridFull());
    EXPECT_FALSE(model.CheckWin());
    EXPECT_EQ(1, model.GetState());
    Enter(3, "WEE");
    EXPECT_TRUE(model.CheckWin());
    EXPECT_EQ(4, model.GetState());
    EXPECT_EQ(4, model.GetNumCorrect());
}

// Blanked cells are those of the picked words that no other word crosses.
int OpenCells(const MNCrossword& model) {
    int open = 0;
    for (int cell = 0; cell < model.GetNumCells(); ++cell) {
        if (model.GetCellsDone(cell) != 0) {
            EXPECT_EQ(model.GetUserLetter(cell) == ' ', !model.IsCellLocked(cell)) << cell;
            open += model.GetUserLetter(cell) == ' ' ? 1 : 0;
        }
    }
    return open;
}

TEST_F(CrosswordModelTest, FastAndFunLeavesAtMostThreeWordsToType) {
    struct Case {
        std::vector<std::string> rows;
        int wordsLeft; // words the pre-fill can take out
    };
    const Case cases[] = {
        {{"ABCD", "E##F", "GHIJ", "K##L"}, 3},
        {{"AB", "##"}, 1}, // one word: the second and third picks never succeed
        {{"A#", "B#"}, 1},
        {{"AB", "#C"}, 2}, // two words: the third pick never succeeds
        {{"#", "#"}, 0},   // no words at all
    };
    for (unsigned seed : {1u, 2u, 99u}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.rows[0] + " seed " + std::to_string(seed));
            MNProfile::GetRandomGen()->seed(seed);
            MNCrossword fresh{MNPuzzleWidget::GameSources()};
            CrosswordData record = MakeCrossword(c.rows);
            fresh.SetPuzzle(&record, ModeRules(GAME_MODE_FASTANDFUN, record));
            EXPECT_EQ(fresh.GetNumWords() - c.wordsLeft, fresh.GetCluesUsed());
            OpenCells(fresh);
        }
    }
    // The same seed leaves the same words.
    MNProfile::GetRandomGen()->seed(5);
    Load(MakeCrossword({"ABCD", "E##F", "GHIJ", "K##L"}), GAME_MODE_FASTANDFUN);
    const int open = OpenCells(model);
    MNProfile::GetRandomGen()->seed(5);
    MNCrossword again{MNPuzzleWidget::GameSources()};
    CrosswordData record = MakeCrossword({"ABCD", "E##F", "GHIJ", "K##L"});
    again.SetPuzzle(&record, ModeRules(GAME_MODE_FASTANDFUN, record));
    EXPECT_EQ(open, OpenCells(again));
    for (int cell = 0; cell < 16; ++cell) {
        EXPECT_EQ(model.GetUserLetter(cell), again.GetUserLetter(cell));
    }
}

// The state of SmallCrossword after CAT (C hinted), a wrong WEB, 3.5 s and one hint.
std::vector<u8> ExpectedState() {
    return {
        0x82, 0x00, 0x13,       // C locked, A, T
        0xFF, 0xFF, 0xFF,       // empty, block, empty
        0x16, 0x04, 0x01,       // W, E, B
        1,    0,    0,    1,    // CAT and WEB completed
        1,                      // one error
        0x40, 0x60, 0x00, 0x00, // 3.5 s
        1,                      // one hint
    };
}

TEST_F(CrosswordModelTest, SavedStateIsByteExactAndReadsBack) {
    Load(SmallCrossword());
    model.Play();
    model.Tick(3.5f);
    OpenOnKeyboard(0);
    model.Hint(0);
    Enter(0, "CAT");
    Enter(3, "WEB");

    EXPECT_EQ(19, model.SavePuzzleState(nullptr, 0)) << "cells + words + 6";
    std::vector<u8> small(18, 0xAB);
    EXPECT_EQ(0, model.SavePuzzleState(small.data(), 18));
    EXPECT_EQ(std::vector<u8>(18, 0xAB), small);

    std::vector<u8> state(210, 0xAB);
    ASSERT_EQ(19, model.SavePuzzleState(state.data(), 210));
    EXPECT_EQ(ExpectedState(), std::vector<u8>(state.begin(), state.begin() + 19));
    EXPECT_EQ(0xAB, state[19]);

    MNCrossword loaded{MNPuzzleWidget::GameSources()};
    CrosswordData record = SmallCrossword();
    loaded.SetPuzzle(&record, ModeRules(GAME_MODE_QUICKBLAST, record));
    EXPECT_EQ(0, loaded.LoadPuzzleState(state.data(), 18));
    EXPECT_EQ(' ', loaded.GetUserLetter(0));
    ASSERT_EQ(1, loaded.LoadPuzzleState(state.data(), 210));
    std::vector<u8> again(19);
    EXPECT_EQ(19, loaded.SavePuzzleState(again.data(), 19));
    EXPECT_EQ(ExpectedState(), again);
    EXPECT_EQ(2, loaded.GetCluesUsed());
    EXPECT_FLOAT_EQ(3.5f, loaded.GetTime());
    EXPECT_TRUE(loaded.IsCellLocked(0));
}

TEST_F(CrosswordModelTest, DamagedStatesLoadSafely) {
    Load(SmallCrossword());
    std::vector<u8> state = ExpectedState();
    state[1] = 0x9A;  // A locked as key 26, the backspace: no letter
    state[2] = 0x7F;  // a key past the keyboard's
    state[4] = 0x80;  // a key on a block's cell
    state[9] = 2;     // a completed flag that is not exactly 1
    state[14] = 0x7F; // not a number: the clock starts again
    state[15] = 0xC0;
    ASSERT_EQ(1, model.LoadPuzzleState(state.data(), static_cast<int>(state.size())));
    EXPECT_EQ("C  ", Row(0));
    EXPECT_FALSE(model.IsCellLocked(1) || model.IsCellLocked(2) || model.IsCellLocked(4));
    EXPECT_EQ(' ', model.GetUserLetter(4));
    EXPECT_FALSE(model.IsClueUsed(0));
    EXPECT_FLOAT_EQ(0.0f, model.GetTime());
}

TEST_F(CrosswordModelTest, LargeGridsDoNotFitTheResumeRecord) {
    // 13 x 13 with 40 words: 169 + 40 + 6 = 215 bytes.
    CrosswordData record = MakeCrossword(std::vector<std::string>(13, "AB#CD#EF#GH#I"));
    while (record.words.Size() > 40) {
        record.words.Remove(record.words.Size() - 1);
    }
    ASSERT_EQ(40, record.words.Size());
    Load(record);
    EXPECT_EQ(215, model.SavePuzzleState(nullptr, 0));
    std::vector<u8> state(210, 0xAB);
    EXPECT_EQ(0, model.SavePuzzleState(state.data(), 210));
    EXPECT_EQ(std::vector<u8>(210, 0xAB), state);
    EXPECT_EQ(0, model.LoadPuzzleState(state.data(), 210));
}

using namespace audio_device_test;

// The Tournament's target-time warnings heard through the voice device, on a disc whose
// two warning sounds are a steady high and a steady low level and whose expiry sound is high.
class CrosswordWarningTest : public AudioDeviceTest {
protected:
    void SetUp() override {
        AudioDeviceTest::SetUp();
        Write(SFX_TICK, 8000);
        Write(SFX_TOCK, -8000);
        Write(SFX_TARGET_EXPIRED, 8000);
        MNSound::Init(MN_MAX_VOLUME, 0);
        MNPuzzleRules rules = ModeRules(GAME_MODE_TOURNAMENT, m_record);
        rules.targetTime = 60.0f;
        m_model.SetPuzzle(&m_record, rules);
        m_model.Play();
    }
    void TearDown() override {
        MNSound::Deinit();
        MNResourceManager::Deinit(); // the banks kept loaded from this suite's disc
        AudioDeviceTest::TearDown();
    }

    void Write(int effect, short level) {
        const std::vector<short> samples(3200, level);
        sound_test::SoundPtr sound(kSound_DSPEncode(samples.data(), 3200, 32000, false, 0));
        m_disc.Write(std::string("wii/audio/") + MNSound::GetSoundEffectName(effect) + ".dsp",
                     sound_test::Write(kSound_DSPWrite, *sound));
    }

    // Ticks the model and returns the mean level of what plays after; then lets it end.
    double LevelAfterTick(float delta) {
        m_model.Tick(delta);
        const audio_test::Output output = Run(14);
        Run(30);
        return Mean(output.left, output.left.size() / 2);
    }

    test_support::TemporaryDisc m_disc;
    CrosswordData m_record = SmallCrossword();
    MNCrossword m_model{MNPuzzleWidget::GameSources()};
};

TEST_F(CrosswordWarningTest, AlternateInTheLastThirtySecondsThenSoundOnceAtTheTarget) {
    EXPECT_NEAR(0.0, LevelAfterTick(30.0f), 200.0) << "30 s left: quiet";
    EXPECT_GT(LevelAfterTick(0.25f), 1000.0) << "the first tick in the window sounds at once";
    EXPECT_NEAR(0.0, LevelAfterTick(0.75f), 200.0) << "one a second";
    EXPECT_LT(LevelAfterTick(0.25f), -1000.0) << "the other sound next";
    EXPECT_GT(LevelAfterTick(30.0f), 1000.0) << "the target passes";
    EXPECT_NEAR(0.0, LevelAfterTick(1.0f), 200.0) << "once";
    m_model.Reset(false);
    EXPECT_NEAR(0.0, LevelAfterTick(1.0f), 200.0) << "and for good";
}

} // namespace
