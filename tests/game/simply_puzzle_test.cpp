// The mode menu host, puzzle play within a mode and Simply Puzzle: the real world with the
// front end and Simply Puzzle over a fresh flash memory and the built disc's puzzle bank,
// playing the real puzzle screens; frames run as the game runs them.
#include "log_capture.h"
#include "mode_world_fixture.h"

#include <modes/mnmodemenuhost.h>
#include <modes/mnsimplypuzzle.h>
#include <modes/mnsimplypuzzlemenu.h>
#include <puzzles/anagram/mnanagram.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>
#include <tui/mnbackground.h>
#include <tui/mnmenuscreen.h>
#include <tui/mnpausemenuui.h>

#include <kelvo/platform/kmemory.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace Kelvo_lib;

namespace {

TEST(ModeHostTest, TheWidgetIsARegisteredClassThatForwardsTickAndRender) {
    struct Probe : kHasSlots<> {
        float ticked = 0.0f;
        int rendered = 0;
        void OnTick(float delta) { ticked += delta; }
        void OnRender() { ++rendered; }
    } probe;
    kClass* const record = SimplyPuzzleUIWidget::StaticClass();
    EXPECT_STREQ(record->m_className, "SimplyPuzzleUIWidget");
    SimplyPuzzleUIWidget* const widget = new SimplyPuzzleUIWidget;
    widget->TickSignal.Connect(&probe, &Probe::OnTick);
    widget->RenderSignal.Connect(&probe, &Probe::OnRender);
    SimplyPuzzleUI host;
    host.SetWidget(widget);
    host.GetScreen()->Tick(0.25f);
    host.GetScreen()->Render();
    EXPECT_FLOAT_EQ(probe.ticked, 0.25f);
    EXPECT_EQ(probe.rendered, 1);
    delete widget;
}

TEST(ModeHostTest, EveryModesWidgetClassIsInTheObjectModelsList) {
    for (const char* name : {"TournamentUIWidget", "QuickBlastUIWidget", "SimplyPuzzleUIWidget",
                             "FastAndFunUIWidget", "HeadToHeadUIWidget"}) {
        bool bFound = false;
        for (const kClass* record = kClass::s_classHead; record != nullptr;
             record = record->m_nextClass) {
            const std::string className = record->m_className;
            bFound = bFound || className == name || className == std::string("Kelvo_lib::") + name;
        }
        EXPECT_TRUE(bFound) << name;
    }
}

class SimplyPuzzleTest : public ModeWorldTest {
protected:
    MNSimplyPuzzle& Mode() { return SubGame<MNSimplyPuzzle>(SUBGAME_SIMPLYPUZZLE); }
    SaveGameActivePuzzle& Record() { return Profile().simplypuzzleActivePuzzle; }
    eBackgroundLook BackgroundMode() { return ModeWorldTest::BackgroundMode(Mode()); }
    void Enter() { ModeWorldTest::Enter(SUBGAME_SIMPLYPUZZLE); }
    void ContinueIntro() { ModeWorldTest::ContinueIntro(Mode()); }
};

TEST_F(SimplyPuzzleTest, EnteringShowsTheMenuAndItsBackButtonLeavesForTheFrontEnd) {
    Enter();
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(TopId(), "simply_puzzle_menu");
    EXPECT_TRUE(Mode().GetMenu()->IsOpen());
    ClickBack();
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
}

TEST_F(SimplyPuzzleTest, TheMenusHelpButtonOpensHelpOnTheMenuLayerAndHelpGivesItBack) {
    Enter();
    const int width = static_cast<int>(TUIArt::DisplayWidth());
    const int height = static_cast<int>(TUIArt::DisplayHeight());
    ClickAt(width - 36, height - 36);
    EXPECT_EQ(TopId(), "help_menu");
    EXPECT_EQ(LayerIds(), "bg menu");
    ClickBack();
    EXPECT_EQ(TopId(), "simply_puzzle_menu");
    EXPECT_TRUE(Mode().GetMenu()->IsOpen());
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_SIMPLYPUZZLE);
}

TEST_F(SimplyPuzzleTest, ADamagedBankRecordIsLoggedAndLeavesThePlayerOnTheMenu) {
    // A bank whose one crossword entry leads to a sudoku's record.
    std::vector<u8> bytes = OneSudokuBank();
    constexpr std::size_t kFirstEntryTypeAt = 36 + 8;
    bytes[kFirstEntryTypeAt] = PUZZLE_TYPE_CROSSWORD;
    ASSERT_TRUE(UseBank(bytes));
    Enter();
    test_support::LogCapture log;
    Mode().OnPlay(PUZZLE_FLAG_CROSSWORD, PUZZLE_DIFFICULTY_BEGINNER);
    EXPECT_TRUE(log.Contains("record group is damaged"));
    EXPECT_TRUE(log.Contains("no puzzle of type 2 to play"));
    EXPECT_EQ(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_TRUE(Mode().GetMenu()->IsOpen());
    Frames(2);
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_SIMPLYPUZZLE);
}

TEST_F(SimplyPuzzleTest, EachKindIsPlayedOnLayerGameAndAbandoningBringsTheMenuBack) {
    const struct {
        int type;
        eBackgroundLook background;
    } kinds[] = {{PUZZLE_FLAG_CROSSWORD, BACKGROUND_CROSSWORD},
                 {PUZZLE_FLAG_FITWORD, BACKGROUND_FITWORD},
                 {PUZZLE_FLAG_SUDOKU, BACKGROUND_SUDOKU},
                 {PUZZLE_FLAG_WORDSEARCH, BACKGROUND_WORDSEARCH}};
    Enter();
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.type);
        Mode().OnPlay(kind.type, PUZZLE_DIFFICULTY_BEGINNER);
        MNPuzzleUI* const screen = Mode().GetPuzzleScreen();
        ASSERT_NE(screen, nullptr);
        EXPECT_EQ(screen->GetPuzzleType(), kind.type);
        EXPECT_EQ(LayerIds(), "bg game");
        EXPECT_EQ(Manager().FindUI("game"), screen);
        EXPECT_EQ(screen->GetState(), PUZZLE_STATE_PLAYING);
        EXPECT_EQ(BackgroundMode(), kind.background);
        Frames(2);
        Mode().AbandonPuzzle();
        EXPECT_EQ(LayerIds(), "bg menu");
        EXPECT_EQ(TopId(), "simply_puzzle_menu");
        EXPECT_EQ(Mode().GetPuzzleScreen(), screen) << "kept until the next start";
        EXPECT_EQ(Mode().GetWidgetGame(), nullptr) << "an abandoned puzzle plays no anagram";
        EXPECT_EQ(BackgroundMode(), BACKGROUND_MENUS);
        EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_SIMPLYPUZZLE);
    }
}

TEST_F(SimplyPuzzleTest, APuzzleTheBankCannotGiveLeavesThePlayerOnTheMenu) {
    Enter();
    Mode().OnPlay(PUZZLE_FLAG_CROSSWORD, DifficultyOfBankValue(7));
    Mode().OnPlay(32, PUZZLE_DIFFICULTY_BEGINNER);
    EXPECT_EQ(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_TRUE(Mode().GetMenu()->IsOpen());
    Frames(3);
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_SIMPLYPUZZLE);
}

TEST_F(SimplyPuzzleTest, APuzzlePlayedIsMarkedInTheActiveProfileOnlyAndWithoutOneInNone) {
    ASSERT_TRUE(UseBank(OneSudokuBank()));
    MNSaveProfileData& first = *MNProfileManager::GetProfile(0)->GetSaveData();
    Enter();
    Mode().OnPlay(PUZZLE_FLAG_SUDOKU, PUZZLE_DIFFICULTY_BEGINNER);
    ASSERT_NE(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_TRUE(first.IsPlayed(0));
    EXPECT_TRUE(first.IsRecent(PUZZLE_TYPE_SUDOKU, 0, 1));
    EXPECT_FALSE(MNProfileManager::GetProfile(1)->GetSaveData()->IsPlayed(0));

    first.SetPlayed(0, false);
    MNProfileManager::SetActiveProfile(-1);
    EXPECT_EQ(MNPuzzleMode::DrawPuzzleId(PUZZLE_FLAG_SUDOKU, PUZZLE_DIFFICULTY_BEGINNER), 1);
    EXPECT_FALSE(first.IsPlayed(0));
    EXPECT_EQ(MNPuzzleMode::DrawPuzzleId(PUZZLE_FLAG_CROSSWORD, PUZZLE_DIFFICULTY_BEGINNER), -1);
}

TEST_F(SimplyPuzzleTest, ASolvedCrosswordWithAHiddenWordGoesOnToItsAnagramThenToTheMenu) {
    BecomeDebugProfile();
    Enter();
    for (int i = 0; i < 40 && Mode().GetWaitingAnagram() == nullptr; ++i) {
        Mode().OnPlay(PUZZLE_FLAG_CROSSWORD, PUZZLE_DIFFICULTY_BEGINNER);
    }
    ASSERT_NE(Mode().GetWaitingAnagram(), nullptr) << "the bank has crosswords with hidden words";
    ContinueIntro();
    DebugKey();
    EXPECT_TRUE(Mode().IsAnagramRunning());
    EXPECT_EQ(Mode().GetCurrentPuzzleType(), PUZZLE_FLAG_ANAGRAM);
    EXPECT_NE(Mode().GetWidgetGame(), nullptr);
    EXPECT_EQ(Mode().GetWaitingAnagram(), nullptr);
    EXPECT_EQ(TopId(), "simply_puzzle_menu");
    Frames(2);
    DebugKey();
    EXPECT_FALSE(Mode().IsAnagramRunning());
    EXPECT_EQ(Mode().GetWidgetGame(), nullptr);
    EXPECT_EQ(TopId(), "simply_puzzle_menu");
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_SIMPLYPUZZLE);
}

TEST_F(SimplyPuzzleTest, SolvingAWordsearchOrSudokuNeverStartsAnAnagram) {
    BecomeDebugProfile();
    Enter();
    for (int type : {PUZZLE_FLAG_WORDSEARCH, PUZZLE_FLAG_SUDOKU}) {
        Mode().OnPlay(type, PUZZLE_DIFFICULTY_BEGINNER);
        ContinueIntro();
        DebugKey();
        EXPECT_EQ(Mode().GetWidgetGame(), nullptr) << type;
        EXPECT_EQ(TopId(), "simply_puzzle_menu") << type;
    }
}

TEST_F(SimplyPuzzleTest, AStoppedWordsearchIsStoredAndResumedOnTheNextEntry) {
    Enter();
    Mode().OnPlay(PUZZLE_FLAG_WORDSEARCH, PUZZLE_DIFFICULTY_BEGINNER);
    const int id = Mode().GetPuzzleScreen()->GetPuzzleId();
    Frames(3);
    Mode().QuitPuzzle();
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
    EXPECT_TRUE(Record().bActive);
    EXPECT_EQ(Record().type, static_cast<u32>(PUZZLE_FLAG_WORDSEARCH));
    EXPECT_EQ(Record().id, static_cast<u32>(id));

    Enter();
    ASSERT_NE(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(LayerIds(), "bg game");
    EXPECT_EQ(Mode().GetPuzzleScreen()->GetPuzzleType(), PUZZLE_FLAG_WORDSEARCH);
    EXPECT_EQ(Mode().GetPuzzleScreen()->GetPuzzleId(), id);
    EXPECT_FALSE(Record().bActive) << "the record is consumed";
}

// Save and quit on the pause screen writes save.dat once, with the puzzle already stored.
TEST_F(SimplyPuzzleTest, SaveAndQuitWritesTheSaveFileOnceWithThePuzzleStored) {
    Enter();
    Mode().OnPlay(PUZZLE_FLAG_WORDSEARCH, PUZZLE_DIFFICULTY_BEGINNER);
    ContinueIntro();
    Mode().GetPuzzleScreen()->GamePauseSignal();
    ASSERT_EQ(TopId(), "pause_menu");
    kUIRect quit;
    auto* pause = static_cast<MNMenuScreen*>(Manager().FindUI("pause_menu"));
    ASSERT_TRUE(pause->GetMenuWidget()->GetEntryRect(MENU_PAUSE_QUIT, quit));
    test_support::LogCapture log;
    ClickAt(static_cast<int>(quit.x + quit.w * 0.5f), static_cast<int>(quit.y + quit.h * 0.5f));
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
    EXPECT_EQ(log.CountContaining("WriteData: attempting"), 1);
    MNSaveData saved;
    std::ifstream stream(m_nand.Root() / "title/puzzles/data/save.dat", std::ios::binary);
    const std::vector<u8> file{std::istreambuf_iterator<char>(stream), {}};
    ASSERT_GE(file.size(), static_cast<size_t>(MN_SAVE_DATA_SIZE));
    ASSERT_EQ(ReadSaveData(file.data(), MN_SAVE_DATA_SIZE, saved), nullptr);
    EXPECT_TRUE(saved.profiles[0].simplypuzzleActivePuzzle.bActive);
}

TEST_F(SimplyPuzzleTest, FiftyStartsLeaveNoScreenSpriteOrBlockBehind) {
    Enter();
    for (int type : {PUZZLE_FLAG_WORDSEARCH, PUZZLE_FLAG_SUDOKU}) {
        SCOPED_TRACE(type);
        Mode().OnPlay(type, PUZZLE_DIFFICULTY_BEGINNER);
        Frames(2);
        Mode().AbandonPuzzle();
        const s32 blocks = kPlatform_GetMemStats().numAllocs;
        for (int i = 0; i < 50; ++i) {
            Mode().OnPlay(type, PUZZLE_DIFFICULTY_BEGINNER);
            Frames(2);
            Mode().AbandonPuzzle();
        }
        EXPECT_EQ(kPlatform_GetMemStats().numAllocs, blocks);
        EXPECT_EQ(LayerIds(), "bg menu");
    }
}

TEST_F(SimplyPuzzleTest, ADamagedResumeRecordIsDroppedAndTheMenuShows) {
    Record().bActive = true;
    Record().type = 3;
    Record().id = 12345;
    Enter();
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_FALSE(Record().bActive);
    EXPECT_EQ(Record().id, 0u);
}

TEST_F(SimplyPuzzleTest, TheDebugProfileStepsThroughTheBankWhileANormalOneCannot) {
    Enter();
    Mode().OnPlay(PUZZLE_FLAG_CROSSWORD, PUZZLE_DIFFICULTY_BEGINNER);
    Run(std::vector<std::string>(50, "hold RIGHT"));
    EXPECT_EQ(Mode().GetCheatPuzzleId(), -1);
    Run({"hold none", ""});
    BecomeDebugProfile();
    Run(std::vector<std::string>(50, "hold RIGHT")); // 1.0 s: steps at 0, 0.6 and 0.9 s
    EXPECT_EQ(Mode().GetCheatPuzzleId(), 2);
    Run({"hold none", "hold LEFT", "hold none"});
    EXPECT_EQ(Mode().GetCheatPuzzleId(), 1);
}

} // namespace
