// The pause and hint screens over a running mode (a probe sub-game): the pause entries of
// each game mode, the calls each choice makes after the screen has left its layer, the
// confirmation, and the hint kinds offered, chosen and declined.
#include "frontend_fixture.h"
#include "log_capture.h"

#include <services/mnprofilemanager.h>
#include <services/mnsubgame.h>
#include <services/puzzletypes.h>
#include <tui/mnhintui.h>
#include <tui/mnpausemenuui.h>

#include <gtest/gtest.h>

namespace {

using namespace Kelvo_lib;
using frontend_test::FrontEndTest;
using frontend_test::Journal;

class PauseHintTest : public FrontEndTest, public kHasSlots<> {
protected:
    // The mode's sub-game made current and its pause screen pushed over a puzzle layer.
    MNPauseMenuUI* OpenPause(int gameMode, bool bSpellout = false) {
        World().SetCurrentSubGame(gameMode + 1);
        Manager().PushLayer("game");
        auto* pause = Screen<MNPauseMenuUI>("pause_menu");
        pause->SetGameMode(gameMode, bSpellout);
        TopLayer()->PushUI(pause);
        m_journal.clear();
        return pause;
    }

    MNHintUI* OpenHint(int puzzleType, std::vector<int> hintsLeft) {
        Manager().PushLayer("game");
        auto* hint = Screen<MNHintUI>("hint_main");
        hint->SetPuzzleType(puzzleType);
        hint->SetHintsLeft(hintsLeft.empty() ? nullptr : hintsLeft.data());
        hint->PerformHintSignal.Connect(this, &PauseHintTest::OnHint);
        TopLayer()->PushUI(hint);
        return hint;
    }

    void OnHint(int kind) { m_hints.push_back(kind); }

    std::vector<int> m_hints;
};

TEST_F(PauseHintTest, EachGameModeShowsItsOwnEntries) {
    const struct {
        int gameMode;
        bool bSpellout;
        bool bReset, bQuit, bAbandonMode;
        int abandonText;
    } cases[] = {
        {GAME_MODE_TOURNAMENT, false, true, true, false, 344},
        {GAME_MODE_QUICKBLAST, false, true, false, true, 344},
        {GAME_MODE_SIMPLYPUZZLE, false, true, true, false, 344},
        {GAME_MODE_FASTANDFUN, false, false, false, false, 532},
        {GAME_MODE_HEADTOHEAD, false, false, false, false, 344},
        {GAME_MODE_TOURNAMENT, true, false, false, false, 344},
        {GAME_MODE_SIMPLYPUZZLE, true, false, false, false, 344},
        {GAME_MODE_QUICKBLAST, true, false, false, true, 344},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.gameMode << " spellout " << c.bSpellout);
        MNPauseMenuUI* pause = OpenPause(c.gameMode, c.bSpellout);
        EXPECT_TRUE(Shows(MENU_PAUSE_RESUME));
        EXPECT_EQ(Shows(MENU_PAUSE_RESET), c.bReset);
        EXPECT_EQ(Shows(MENU_PAUSE_QUIT), c.bQuit);
        EXPECT_EQ(Shows(MENU_PAUSE_ABANDON_MODE), c.bAbandonMode);
        EXPECT_TRUE(Shows(MENU_PAUSE_ABANDON_PUZZLE));
        EXPECT_TRUE(Shows(MENU_PAUSE_OPTIONS));
        const kMenuNode* abandon = pause->GetNodes()->GetNode(MENU_PAUSE_ABANDON_PUZZLE);
        EXPECT_EQ(abandon->m_scriptId, c.abandonText);
        EXPECT_EQ(abandon->m_helpId, c.abandonText + 1);
        Manager().PopLayer();
    }
}

TEST_F(PauseHintTest, EachChoiceLeavesThePauseThenCallsTheMode) {
    const struct {
        int gameMode;
        int entry;
        bool bConfirm;
        Journal calls;
    } cases[] = {
        {GAME_MODE_TOURNAMENT, MENU_PAUSE_RESUME, false, {"1.resume"}},
        {GAME_MODE_QUICKBLAST, MENU_PAUSE_RESUME, false, {"2.unpause", "2.resume"}},
        {GAME_MODE_HEADTOHEAD, MENU_PAUSE_RESUME, false, {"5.unpause", "5.resume"}},
        {GAME_MODE_SIMPLYPUZZLE, MENU_PAUSE_RESET, false, {"3.reset"}},
        {GAME_MODE_QUICKBLAST, MENU_PAUSE_RESET, false, {"2.unpause", "2.reset"}},
        {GAME_MODE_TOURNAMENT, MENU_PAUSE_QUIT, false, {"1.quit"}},
        {GAME_MODE_FASTANDFUN, MENU_PAUSE_ABANDON_PUZZLE, true, {"4.abandon"}},
        {GAME_MODE_QUICKBLAST, MENU_PAUSE_ABANDON_MODE, true, {"2.abandonmode"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.gameMode << " entry " << c.entry);
        test_support::LogCapture log;
        OpenPause(c.gameMode);
        Click(c.entry);
        if (c.bConfirm) {
            EXPECT_TRUE(m_journal.empty());
            EXPECT_EQ(TopId(), "pause_menu");
            Click(MENU_CONFIRM_YES);
        }
        EXPECT_EQ(m_journal, c.calls);
        EXPECT_EQ(TopLayer()->GetNumUIs(), 0);
        EXPECT_EQ(log.CountContaining("SaveData"), 0) << "the mode saves, once it has stored";
        Manager().PopLayer();
    }
}

TEST_F(PauseHintTest, NoAndBackReturnToThePauseListWithoutCallingTheMode) {
    MNPauseMenuUI* pause = OpenPause(GAME_MODE_QUICKBLAST);
    Click(MENU_PAUSE_ABANDON_MODE);
    ASSERT_EQ(pause->GetCurrentNodeId(), MENU_CONFIRM);
    Click(MENU_CONFIRM_NO);
    EXPECT_EQ(pause->GetCurrentNodeId(), MENU_PAUSE);
    Click(MENU_PAUSE_ABANDON_PUZZLE);
    Back();
    EXPECT_EQ(pause->GetCurrentNodeId(), MENU_PAUSE);
    EXPECT_TRUE(m_journal.empty());
    // Back at the top resumes.
    Back();
    EXPECT_EQ(m_journal, (Journal{"2.unpause", "2.resume"}));
}

TEST_F(PauseHintTest, PauseOptionsSetTheVolumesAndHelpOpensOverThePause) {
    ChooseFirstProfile();
    MNProfileManager::GetActiveProfile()->SetMusicVolume(2);
    MNPauseMenuUI* pause = OpenPause(GAME_MODE_TOURNAMENT);
    Click(MENU_PAUSE_OPTIONS);
    EXPECT_EQ(pause->GetNodes()->GetNode(MENU_PAUSE_MUSIC_VOLUME)->m_currentState, 2);
    ClickAt(Entry(MENU_PAUSE_MUSIC_VOLUME, -20.0f));
    EXPECT_EQ(MNProfileManager::GetActiveProfile()->GetMusicVolume(), 3);
    test_support::LogCapture log;
    Back();
    Frames(1);
    EXPECT_EQ(log.Count("Saving as we were on options menu"), 1);
    HelpButton();
    EXPECT_EQ(TopId(), "help_menu");
    EXPECT_TRUE(m_journal.empty());
}

TEST_F(PauseHintTest, KindsWithNoneLeftAreHiddenAndTheChosenKindIsEmitted) {
    MNHintUI* hint = OpenHint(PUZZLE_FLAG_WORDSEARCH, {2, 0, 1});
    EXPECT_TRUE(Shows(49));
    EXPECT_FALSE(Shows(50));
    EXPECT_TRUE(Shows(51));
    EXPECT_EQ(hint->GetNodes()->GetNode(49)->m_helpId, 197);
    Click(51);
    EXPECT_EQ(m_hints, (std::vector<int>{2}));
    EXPECT_EQ(TopLayer()->GetNumUIs(), 0);

    m_hints.clear();
    OpenHint(PUZZLE_FLAG_SUDOKU, {1, 1, 1});
    EXPECT_EQ(hint->GetNodes()->GetNode(51)->m_helpId, 211);
    Back();
    EXPECT_EQ(m_hints, (std::vector<int>{-1}));

    m_hints.clear();
    OpenHint(PUZZLE_FLAG_FITWORD, {});
    for (const int id : {49, 50, 51}) {
        EXPECT_FALSE(Shows(id)) << id;
    }
    EXPECT_EQ(hint->GetHintsLeft(0), 0);
    HelpButton();
    EXPECT_EQ(TopId(), "help_menu");
    EXPECT_TRUE(m_hints.empty());
}

} // namespace
