// Fast and Fun and its menu: the real world over a fresh flash memory and the built disc's
// puzzle bank, runs of small puzzles played on the real screens, frames run as the game runs
// them; the debug profile's key solves a puzzle.
#include "mode_world_fixture.h"

#include <modes/mnfastandfun.h>
#include <modes/mnfastandfunmenu.h>
#include <puzzles/fitword/mnfitwordui.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnsound.h>

#include <framework/ktextwriter.h>
#include <kelvo/io/kmemoryiostream.h>

#include <string>
#include <vector>

using namespace Kelvo_lib;

namespace {

// Button places on the menu's screens, in pixels: the screens with a side panel keep the
// left 384 pixels.
constexpr int kBeginnerY = 268, kIntermediateY = 317, kProY = 367, kConfirmPlayY = 391;
constexpr int kPanelX = 192, kFullX = 320, kUpperY = 317, kLowerY = 416;
// What the game-over screen says before the count.
const std::string kRunOver = "One wrong answer or running out of time ends the run.\n";

class FastAndFunTest : public ModeWorldTest {
protected:
    void SetUp() override {
        ModeWorldTest::SetUp();
        BecomeDebugProfile();
    }

    MNFastAndFun& Mode() { return SubGame<MNFastAndFun>(SUBGAME_FASTANDFUN); }
    MNFastAndFunMenu& Menu() { return *Mode().GetMenu(); }
    MNFastAndFunData& Data() { return Profile().fastandfunData; }
    void Enter() { ModeWorldTest::Enter(SUBGAME_FASTANDFUN); }
    float TimeLeft() { return World().GetProfile()->m_hackTimer; }
    static std::string Shown(const TUIText* text) {
        char line[TUIString::kMaxLength];
        text->m_text.Format(line, sizeof(line));
        return line;
    }

    // The next puzzle of the run past its intro.
    void Next() {
        Mode().OnPlay(Mode().GetDifficulty());
        ContinueIntro(Mode());
    }
    void StartRun(int difficulty) {
        Mode().OnNewGame();
        Mode().OnPlay(DifficultyOfLevel(difficulty));
        ContinueIntro(Mode());
    }
    // The puzzle's clock run for whole seconds, in steps of step seconds.
    void PlaySeconds(float seconds, float step = 0.25f) {
        for (float t = 0.0f; t < seconds; t += step) {
            World().Tick(step);
        }
    }
};

TEST_F(FastAndFunTest, AFreshProfileChoosesBeginnerOnlyAndBackLeavesForTheFrontEnd) {
    Enter();
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(TopId(), "fast_and_fun_menu");
    EXPECT_EQ(Data().m_currentPuzzle, -1);
    ClickAt(kPanelX, kIntermediateY);
    ClickAt(kPanelX, kProY);
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetDifficultyScreen()) << "disabled: not pressed";
    ClickAt(kPanelX, kBeginnerY);
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetConfirmScreen());
    EXPECT_EQ(Shown(Menu().GetBestScoreText()), "Best Beginner run:\n0 puzzles");
    EXPECT_EQ(Shown(Menu().GetNeedText()), "Solve 15 puzzles in one run to unlock Intermediate.");
    ClickBack();
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetDifficultyScreen());
    ClickBack();
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
}

TEST_F(FastAndFunTest, EachDifficultysClockCountsDownFromItsLimitAndStandsStillInHelp) {
    const struct {
        int difficulty;
        float limit;
    } kLimits[] = {{0, 1200.0f}, {1, 900.0f}, {2, 600.0f}};
    Enter();
    for (const auto& level : kLimits) {
        SCOPED_TRACE(level.difficulty);
        StartRun(level.difficulty);
        PlaySeconds(10.0f);
        EXPECT_NEAR(TimeLeft(), level.limit - 10.0f, 0.3f);
        Mode().GetPuzzleScreen()->HelpSignal();
        EXPECT_EQ(TopId(), "help_menu");
        EXPECT_FALSE(Mode().IsPaused()) << "help does not pause the run";
        PlaySeconds(5.0f);
        EXPECT_NEAR(TimeLeft(), level.limit - 10.0f, 0.3f) << "but the clock does not move";
        ClickBack();
        EXPECT_EQ(TopId(), "game");
        Mode().AbandonPuzzle();
    }
}

TEST_F(FastAndFunTest, PausingStopsTheClockUntilThePauseScreenResumes) {
    Enter();
    StartRun(0);
    PlaySeconds(3.0f);
    Mode().GetPuzzleScreen()->GamePauseSignal();
    EXPECT_EQ(TopId(), "pause_menu");
    EXPECT_TRUE(Mode().IsPaused());
    const float left = TimeLeft();
    PlaySeconds(5.0f);
    EXPECT_FLOAT_EQ(TimeLeft(), left);
    kUILayer* const top = Manager().GetLayer(Manager().GetNumLayers() - 1);
    top->RemoveUI(top->GetTopUI()); // as the pause screen leaves for its resume entry
    Mode().UnPause();
    Mode().ResumePuzzle();
    EXPECT_EQ(BackgroundMode(Mode()), BACKGROUND_SUDOKU);
    PlaySeconds(2.0f);
    EXPECT_NEAR(TimeLeft(), left - 2.0f, 0.3f);
}

TEST_F(FastAndFunTest, AProRunTimesOutAt600SecondsAfterAWarningEachSecondFrom570AndAHalf) {
    Enter();
    StartRun(2);
    test_support::LogCapture log;
    PlaySeconds(610.0f);
    EXPECT_EQ(log.CountContaining("Time up at"), 1);
    EXPECT_EQ(log.CountContaining("Time warning at"), 29) << "each second from 571.5 to 599.5";
    for (const std::string& line : log.lines) {
        float at = 0.0f;
        if (std::sscanf(line.c_str(), "Time warning at %f", &at) == 1) {
            EXPECT_GE(at, 570.5f);
            EXPECT_LT(at, 600.0f);
        }
    }
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetGameOverScreen());
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_RESULT_POOR);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(Data().m_currentPuzzle, -1);
    EXPECT_EQ(Data().m_mostProPuzzlesComplete, 0);
    EXPECT_TRUE(Mode().IsRunIdle());
}

TEST_F(FastAndFunTest, SolvedPuzzlesRaiseTheBestRunAndALostOneNeverLowersIt) {
    Data().m_mostBeginnerPuzzlesComplete = 2;
    Enter();
    Frames(20); // the new save file written
    const int saves = SaveWrites();
    StartRun(0);
    for (int solved = 1; solved <= 3; ++solved) {
        DebugKey();
        EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetCompleteScreen()) << solved;
        EXPECT_EQ(Data().m_mostBeginnerPuzzlesComplete, solved < 2 ? 2 : solved);
        EXPECT_EQ(Shown(Menu().GetCompleteText()), "You have solved " + std::to_string(solved) +
                                                       (solved == 1 ? " puzzle." : " puzzles."));
        Next();
    }
    Mode().AbandonPuzzle();
    EXPECT_EQ(Data().m_mostBeginnerPuzzlesComplete, 3);
    EXPECT_EQ(Data().m_currentPuzzle, 2);
    EXPECT_EQ(Shown(Menu().GetGameOverText()), kRunOver + "You solved 3 puzzles.");
    Frames(20);
    EXPECT_EQ(SaveWrites() - saves, 4) << "every game over saves";

    StartRun(0); // a new run counts one in the singular again
    DebugKey();
    EXPECT_EQ(Shown(Menu().GetCompleteText()), "You have solved 1 puzzle.");
}

TEST_F(FastAndFunTest, TheRunsDifficultySetsHowMuchAFitwordHelpsPlaceItsWords) {
    const MNFitword::eHighlight kHighlights[] = {
        MNFitword::HIGHLIGHT_SOLUTION, MNFitword::HIGHLIGHT_LENGTH, MNFitword::HIGHLIGHT_NONE};
    Enter();
    for (int difficulty = 0; difficulty < 3; ++difficulty) {
        SCOPED_TRACE(difficulty);
        StartRun(difficulty);
        for (int puzzle = 0; puzzle < 4 && Mode().GetCurrentPuzzleType() != PUZZLE_FLAG_FITWORD;
             ++puzzle) {
            DebugKey();
            Next();
        }
        ASSERT_EQ(Mode().GetCurrentPuzzleType(), PUZZLE_FLAG_FITWORD);
        const MNFitword& fitword =
            *static_cast<MNFitwordUI*>(Mode().GetPuzzleScreen())->GetWidget()->GetFitword();
        EXPECT_EQ(fitword.GetRules().prefillLevel, difficulty);
        EXPECT_EQ(fitword.GetHighlightMode(), kHighlights[difficulty]);
        Mode().AbandonPuzzle();
    }
}

TEST_F(FastAndFunTest, AWrongEntryLosesTheRunOnceEvenWithAGameOverInTheSameTick) {
    Enter();
    StartRun(0);
    DebugKey();
    Next();
    Frames(20); // the solved puzzle's save written
    const int saves = SaveWrites();
    MNPuzzleUI* const screen = Mode().GetPuzzleScreen();
    screen->InvalidEntrySignal();
    screen->GameOverSignal();
    screen->InvalidEntrySignal();
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(TopId(), "fast_and_fun_menu");
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetGameOverScreen());
    EXPECT_EQ(Shown(Menu().GetGameOverText()), kRunOver + "You solved 1 puzzle.");
    EXPECT_EQ(Data().m_currentPuzzle, 0) << "counted once";
    EXPECT_EQ(Data().m_mostBeginnerPuzzlesComplete, 1);
    Frames(20);
    EXPECT_EQ(SaveWrites(), saves) << "a wrong entry saves nothing";
    ClickAt(kFullX, kUpperY); // continue
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetDifficultyScreen());
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FASTANDFUN);
}

TEST_F(FastAndFunTest, FifteenInARunUnlocksTheNextLevelOnceButNeverBeyondPro) {
    const struct {
        int difficulty;
        int* best;
        bool bUnlocks;
    } kLevels[] = {{0, &Data().m_mostBeginnerPuzzlesComplete, true},
                   {2, &Data().m_mostProPuzzlesComplete, false}};
    Enter();
    for (const auto& level : kLevels) {
        SCOPED_TRACE(level.difficulty);
        *level.best = 14; // seen after the run's first puzzle
        StartRun(level.difficulty);
        DebugKey();
        EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_RESULT_GOOD);
        Data().m_currentPuzzle = 13; // thirteen more solved
        Next();
        DebugKey();
        EXPECT_EQ(*level.best, 15);
        EXPECT_EQ(Menu().GetActiveScreen(),
                  level.bUnlocks ? Menu().GetCompleteUnlockedScreen() : Menu().GetCompleteScreen());
        EXPECT_EQ(MNSound::GetLastSoundEffect(),
                  level.bUnlocks ? SFX_RESULT_BEST : SFX_RESULT_GOOD);
        Next();
        DebugKey();
        EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetCompleteScreen()) << "16 opens nothing new";
        Next();
        Mode().AbandonPuzzle();
        ClickAt(kFullX, kUpperY); // continue to the difficulties
    }
    EXPECT_TRUE(Menu().GetDifficultyButton(PUZZLE_DIFFICULTY_INTERMEDIATE)->m_bEnabled);
    EXPECT_FALSE(Menu().GetDifficultyButton(PUZZLE_DIFFICULTY_PRO)->m_bEnabled);
    EXPECT_TRUE(Menu().GetInfoText()->m_bVisible);
}

TEST_F(FastAndFunTest, AnotherProfilesFirstSolvedPuzzleAnnouncesNoUnlock) {
    Data().m_mostBeginnerPuzzlesComplete = 14;
    Enter();
    StartRun(0);
    DebugKey(); // the menu has seen this profile's best run of 14
    ASSERT_EQ(Menu().GetActiveScreen(), Menu().GetCompleteScreen());
    ModeWorldTest::Enter(SUBGAME_FRONTEND);

    MNProfileManager::SetActiveProfile(1);
    World().SetActiveProfile(1);
    BecomeDebugProfile();
    Data().m_mostBeginnerPuzzlesComplete = 15; // opened intermediate long ago
    Enter();
    StartRun(0);
    DebugKey();
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetCompleteScreen());
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_RESULT_GOOD);
}

TEST_F(FastAndFunTest, EndingTheChallengeAsksFirstAndNoGoesBackWithoutThePanel) {
    Enter();
    ClickAt(kPanelX, kBeginnerY);
    ClickAt(kPanelX, kConfirmPlayY);
    ContinueIntro(Mode());
    DebugKey();
    ASSERT_EQ(Menu().GetActiveScreen(), Menu().GetCompleteScreen());
    EXPECT_NE(Menu().GetActiveSubScreen(), nullptr) << "the time left beside it";
    ClickAt(kPanelX, kLowerY); // end challenge
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetQuitConfirmScreen());
    ClickAt(kFullX, kLowerY); // no
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetCompleteScreen());
    EXPECT_EQ(Menu().GetActiveSubScreen(), nullptr);
    ClickAt(kFullX, kLowerY); // end challenge, now across the whole width
    ClickAt(kFullX, kUpperY); // yes
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
}

TEST_F(FastAndFunTest, TheTimeLeftLineIsCutToItsBufferAndNeverBelowZero) {
    Enter();
    const struct {
        float left;
        const char* shown;
    } kTimes[] = {
        {4234.9f, "Time: 01:10:34"}, {59.0f, "Time: 00:00:59"}, {-3.5f, "Time: 00:00:00"}};
    for (const auto& time : kTimes) {
        World().GetProfile()->m_hackTimer = time.left;
        Menu().Update();
        EXPECT_STREQ(Menu().GetTimeRemaining(), time.shown);
    }
    kArray<kString> texts;
    for (int id = 0; id <= 290; ++id) {
        texts.Push(kString(id == 290 ? "A label far longer than the line can hold" : ""));
    }
    std::vector<u8> file(kText_FileSizeBound("uk_english", texts));
    kMemoryIOStream out(file.data(), static_cast<unsigned int>(file.size()), K_IO_ACCESS_WRITE);
    ASSERT_TRUE(kText_WriteFile("uk_english", texts, false, &out));
    kMemoryIOStream in(file.data(), out.Tell(), K_IO_ACCESS_READ);
    ASSERT_TRUE(kText::Load(&in));
    Menu().Update();
    EXPECT_STREQ(Menu().GetTimeRemaining(), "A label far longer than the lin");
}

TEST_F(FastAndFunTest, ABankWithoutSmallPuzzlesOfAKindEndsTheRunOnTheMenu) {
    std::vector<u8> bytes = OneSudokuBank(); // no small puzzles at all
    ASSERT_TRUE(UseBank(bytes));
    Enter();
    ClickAt(kPanelX, kBeginnerY);
    test_support::LogCapture log;
    ClickAt(kPanelX, kConfirmPlayY);
    EXPECT_TRUE(log.Contains("no small sudoku to play"));
    EXPECT_EQ(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetDifficultyScreen());
    EXPECT_EQ(Data().m_currentPuzzle, -1);
    EXPECT_TRUE(Mode().IsRunIdle());
    Frames(3);
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FASTANDFUN);
}

} // namespace
