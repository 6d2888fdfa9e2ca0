// The mode menu host, puzzle play within a mode and Simply Puzzle: the real world with the
// front end and Simply Puzzle over a fresh flash memory and the built disc's puzzle bank,
// playing the real puzzle screens; frames run as the game runs them.
#include "game_ui_fixture.h"
#include "temporary_host_directory.h"

#include <modes/mnmodemenuhost.h>
#include <modes/mnsimplypuzzle.h>
#include <modes/mnsimplypuzzlemenu.h>
#include <puzzles/anagram/mnanagram.h>
#include <puzzles/mnpuzzleui.h>
#include <shell/mngame.h>
#include <shell/mngameworld.h>
#include <shell/mnprofile.h>
#include <shell/mnprofilemanager.h>
#include <shell/mnsavedata.h>
#include <tui/mnbackground.h>

#include <kelvo/platform/kmemory.h>

#include <cstring>
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
    EXPECT_STREQ(record->m_className, "Kelvo_lib::SimplyPuzzleUIWidget");
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

class SimplyPuzzleTest : public GameUITest {
protected:
    static constexpr float kFrame = 1.0f / 50.0f;

    void SetUp() override {
        GameUITest::SetUp();
        m_game = new MNGame;
        World().Init();
        World().BeginPlay();
        MNProfileManager::SetActiveProfile(0);
        World().SetActiveProfile(0);
    }
    void TearDown() override {
        delete m_game;
        GameUITest::TearDown();
    }

    MNGameWorld& World() { return *m_game->GetGameWorld(); }
    kUIManager& Manager() { return *World().GetUIManager(); }
    MNSimplyPuzzle& Mode() {
        return *static_cast<MNSimplyPuzzle*>(World().GetSubGame(SUBGAME_SIMPLYPUZZLE));
    }
    SaveGameActivePuzzle& Record() {
        return World().GetProfile()->GetSaveData()->simplypuzzleActivePuzzle;
    }
    std::string TopId() {
        const kUI* top = Manager().GetLayer(Manager().GetNumLayers() - 1)->GetTopUI();
        return top != nullptr ? top->GetId() : "";
    }
    std::string LayerIds() {
        std::string ids;
        for (int i = 0; i < Manager().GetNumLayers(); ++i) {
            ids += std::string(i > 0 ? " " : "") + Manager().GetLayer(i)->GetId();
        }
        return ids;
    }
    int BackgroundMode() { return Mode().GetBackgroundScreen()->GetBackground()->GetMode(); }
    void Enter() { World().SetCurrentSubGame(SUBGAME_SIMPLYPUZZLE); }
    void BecomeDebugProfile() {
        std::strcpy(World().GetProfile()->GetSaveData()->name, "ZAVIVIRI");
    }
    // One frame per entry (empty: no new input).
    void Run(const std::vector<std::string>& frames) {
        LoadScript(frames);
        for (size_t i = 0; i < frames.size(); ++i) {
            Step();
            World().Tick(kFrame);
        }
    }
    void Frames(int count) { Run(std::vector<std::string>(count)); }
    void ClickAt(int x, int y) {
        const std::string place = PointAt(x, y);
        Run({place, place + " hold A", "hold none", ""});
    }
    // Every puzzle kind shows its intro first; its continue button is at the same place.
    void ContinueIntro() {
        Frames(2);
        ClickAt(320, 270);
        ASSERT_FALSE(Mode().GetPuzzleScreen()->IsContinueScreenOpen());
    }
    // The debug key, pressed and let go.
    void DebugKey() { Run({"hold 2", "hold none"}); }

    test_support::TemporaryNand m_nand;
    MNGame* m_game = nullptr;
};

TEST_F(SimplyPuzzleTest, EnteringShowsTheMenuAndItsBackButtonLeavesForTheFrontEnd) {
    Enter();
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(TopId(), "simply_puzzle_menu");
    EXPECT_TRUE(Mode().GetMenu()->IsOpen());
    ClickAt(30, static_cast<int>(TUIArt::DisplayHeight()) - 30);
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
}

TEST_F(SimplyPuzzleTest, EachKindIsPlayedOnLayerGameAndAbandoningBringsTheMenuBack) {
    const struct {
        int type;
        int background;
    } kinds[] = {{PUZZLE_FLAG_CROSSWORD, 3},
                 {PUZZLE_FLAG_FITWORD, 2},
                 {PUZZLE_FLAG_SUDOKU, 1},
                 {PUZZLE_FLAG_WORDSEARCH, 4}};
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
        EXPECT_EQ(BackgroundMode(), 0);
        EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_SIMPLYPUZZLE);
    }
}

TEST_F(SimplyPuzzleTest, APuzzleTheBankCannotGiveLeavesThePlayerOnTheMenu) {
    Enter();
    Mode().OnPlay(PUZZLE_FLAG_CROSSWORD, 7);
    Mode().OnPlay(32, PUZZLE_DIFFICULTY_BEGINNER);
    EXPECT_EQ(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_TRUE(Mode().GetMenu()->IsOpen());
    Frames(3);
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_SIMPLYPUZZLE);
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
