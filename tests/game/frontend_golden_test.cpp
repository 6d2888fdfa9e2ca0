// Golden pictures of the front end's screens over the menus' background, as a player meets
// them: the main menu, its options, a help page, the pause screen of a Quick Blast, the hint
// screen of a wordsearch with one kind used up and the help opened from a sudoku's hints.
#include "frontend_fixture.h"
#include "game_golden_fixture.h"

#include <services/mnprofilemanager.h>
#include <services/puzzletypes.h>
#include <tui/mnhintui.h>
#include <tui/mnpausemenuui.h>

#include <gtest/gtest.h>

namespace {

using namespace Kelvo_lib;
using png_golden::MatchesGolden;

class FrontEndGoldenTest : public frontend_test::FrontEndTest {
protected:
    void SetUp() override {
        FrontEndTest::SetUp();
        ChooseFirstProfile();
    }

    // The top screen over the background after a second of motion, the pointer at place.
    png_golden::Image Picture(const std::string& place) {
        Run({place});
        return game_golden::PictureOverBackground(TopLayer()->GetTopUI(), m_surface, kFrame);
    }

    // The hint screen of a puzzle kind, as the puzzle's hint button opens it.
    void OpenHint(int puzzleType, const int (&hintsLeft)[MNHintUI::kNumKinds]) {
        auto* hint = Screen<MNHintUI>("hint_main");
        hint->SetPuzzleType(puzzleType);
        hint->SetHintsLeft(hintsLeft);
        Manager().PushLayer("game")->PushUI(hint);
    }
};

TEST_F(FrontEndGoldenTest, MainMenu) {
    EXPECT_TRUE(MatchesGolden("frontend_main_menu", Picture(Entry(MENU_QUICKBLAST))));
}

TEST_F(FrontEndGoldenTest, Options) {
    MNProfileManager::GetActiveProfile()->SetMusicVolume(3);
    Click(MENU_OPTIONS);
    EXPECT_TRUE(MatchesGolden("frontend_options", Picture(Entry(MENU_MUSIC_VOLUME, 60.0f))));
}

TEST_F(FrontEndGoldenTest, HelpPage) {
    HelpButton();
    Click(MENU_HELP_PUZZLES);
    Click(MENU_HELP_CROSSWORD);
    ClickAt(Entry(MENU_PUZZLE_HOW, -20.0f));
    EXPECT_TRUE(MatchesGolden("frontend_help_page", Picture(Entry(MENU_PUZZLE_HOW, 60.0f))));
}

TEST_F(FrontEndGoldenTest, PauseOfAQuickBlast) {
    World().SetCurrentSubGame(SUBGAME_QUICKBLAST);
    auto* pause = Screen<MNPauseMenuUI>("pause_menu");
    pause->SetGameMode(GAME_MODE_QUICKBLAST, false);
    Manager().PushLayer("game")->PushUI(pause);
    EXPECT_TRUE(MatchesGolden("frontend_pause", Picture(Entry(MENU_PAUSE_RESUME))));
}

TEST_F(FrontEndGoldenTest, HintsOfAWordsearch) {
    OpenHint(PUZZLE_FLAG_WORDSEARCH, {2, 0, 1});
    EXPECT_TRUE(MatchesGolden("frontend_hint", Picture(Entry(MENU_HINT_FIRST))));
}

// The help that a sudoku's hint screen opens keeps the sudoku's dark text, on paper.
TEST_F(FrontEndGoldenTest, HelpOverASudoku) {
    OpenHint(PUZZLE_FLAG_SUDOKU, {1, 1, 1});
    HelpButton();
    Click(MENU_HELP_PUZZLES);
    Click(MENU_HELP_SUDOKU);
    EXPECT_TRUE(MatchesGolden("frontend_help_sudoku", Picture(Entry(MENU_PUZZLE_RULES, 60.0f))));
}

} // namespace
