// Head to Head: the real world over a fresh flash memory and the built disc's puzzle bank.
// Two players are chosen on the mode's own profile screen, games are set up on its menu and
// played with real entries on the sudoku's model; the layers, turns, lives, clocks, sounds
// and the result record are read back, and nothing is ever saved.
#include "log_capture.h"
#include "mode_world_fixture.h"

#include <frontend/mnprofileui.h>
#include <modes/mnheadtohead.h>
#include <modes/mnheadtoheadmenu.h>
#include <puzzles/sudoku/mnsudoku.h>
#include <puzzles/sudoku/mnsudokuui.h>
#include <services/mnsound.h>

#include <kelvo/platform/kmemory.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

using namespace Kelvo_lib;

namespace {

constexpr int kPlayer1 = 0;
constexpr int kPlayer2 = 1;
// The set-up screens' radio buttons, top to bottom.
constexpr int kRadioTypes[] = {PUZZLE_FLAG_CROSSWORD, PUZZLE_FLAG_FITWORD, PUZZLE_FLAG_SUDOKU,
                               PUZZLE_FLAG_WORDSEARCH};

std::string TextOf(const TUIComponent* component) {
    return static_cast<const TUIText*>(component)->m_text.Get().CStr();
}

// The variant chosen on the menu and its set-up filled in: the spinners' entries and the
// ticked types, each radio button pressed as the player would.
const MNHeadToHeadMenu::Setup& FillSetup(MNHeadToHeadMenu& menu, bool bSprint, int choice,
                                         int types, int difficulty) {
    const MNHeadToHeadMenu::Setup& setup =
        bSprint ? menu.GetSprintSetup() : menu.GetMarathonSetup();
    menu.ButtonPressed(menu.GetModeScreen(),
                       bSprint ? menu.GetModeSprintButton() : menu.GetModeMarathonButton());
    setup.spinner->m_index = choice;
    setup.difficultySpinner->m_index = difficulty;
    int index = 0;
    for (int i = 0; i < setup.screen->m_componentList.Size(); ++i) {
        TUIComponent* const component = setup.screen->m_componentList(i);
        if (component->m_type != TUI_TYPE_RADIOBUTTON) {
            continue;
        }
        auto* const radio = static_cast<TUIRadioButton*>(component);
        radio->m_bOn = (types & kRadioTypes[index++]) != 0;
        menu.RadioButtonPressed(setup.screen, radio);
    }
    return setup;
}

class HeadToHeadTest : public ModeWorldTest {
protected:
    void SetUp() override {
        ModeWorldTest::SetUp();
        MakeProfile(0, "ANNA");
        MakeProfile(1, "BEN");
    }

    static void MakeProfile(int slot, const char* name) {
        MNSaveProfileData* const data = MNProfileManager::GetProfile(slot)->GetSaveData();
        data->bUsed = 1;
        std::strcpy(data->name, name);
    }

    MNHeadToHead& Mode() { return SubGame<MNHeadToHead>(SUBGAME_HEADTOHEAD); }
    MNHeadToHeadMenu& Menu() { return *Mode().GetMenu(); }
    MNProfileMenu& Profiles() { return *Mode().GetProfileScreen()->GetMenu(); }
    MNHeadToHeadData& Record() { return *World().GetProfile()->GetHeadToHeadData(); }
    eBackgroundLook Background() { return BackgroundMode(Mode()); }
    // The world draws nothing below a third layer that shows the mode's background.
    bool PuzzleHidden() {
        return Manager().GetNumLayers() > 2 &&
               Manager().GetLayer(2)->GetTopUI() == Manager().FindUI("head_to_head_bg");
    }

    // The profile screen's button pressed twice (selected, then chosen) and a frame for the
    // mode to take the choice.
    void Choose(TUIButton* button) {
        Profiles().ButtonPressed(Profiles().GetMainScreen(), button);
        Profiles().ButtonPressed(Profiles().GetMainScreen(), button);
        Frames(1);
    }
    // ANNA as player 1 and the guest as player 2: the variant choice is up.
    void EnterWithPlayers() {
        Enter(SUBGAME_HEADTOHEAD);
        Frames(1);
        Choose(Profiles().GetProfileButton(0));
        Choose(Profiles().GetGuestButton());
    }

    // The variant chosen, its set-up filled in and Done.
    void StartGame(bool bSprint, int choice, int types, int difficulty = 0) {
        const MNHeadToHeadMenu::Setup& setup =
            FillSetup(Menu(), bSprint, choice, types, difficulty);
        Menu().ButtonPressed(setup.screen, setup.doneButton);
    }
    // The number of the turn's or end's screen that shows, -1 for none.
    int ShownScreen() {
        for (int menu = 0; menu < MNHeadToHeadMenu::NUM_POST_GAME_SCREENS; ++menu) {
            if (Menu().GetActiveScreen() == Menu().GetPostGameScreen(menu)) {
                return menu;
            }
        }
        return -1;
    }
    void Continue() {
        const int menu = ShownScreen();
        ASSERT_GE(menu, 0);
        Menu().ButtonPressed(Menu().GetPostGameScreen(menu), Menu().GetContinueButton(menu));
    }

    // The results' Continue: back to the variant choice.
    void LeaveResults() {
        TUIScreen* const results = Menu().GetActiveScreen();
        Menu().ButtonPressed(results, static_cast<TUIButton*>(results->m_componentList(5)));
        EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetModeScreen());
    }

    MNSudoku& Sudoku() {
        return *static_cast<MNSudokuUI*>(Mode().GetPuzzleScreen())->GetWidget()->GetSudoku();
    }
    int OpenCell() {
        for (int cell = 0; cell < Sudoku().GetNumCells(); ++cell) {
            if (!Sudoku().IsGiven(cell) && !Sudoku().IsCellLocked(cell)) {
                return cell;
            }
        }
        return -1;
    }
    void MakeEntry(bool bRight) {
        const int cell = OpenCell();
        ASSERT_TRUE(Sudoku().SelectCell(cell));
        const int solution = Sudoku().GetSolution(cell);
        Sudoku().EnterDigit(bRight ? solution : solution % Sudoku().GetSize() + 1);
    }
    // A wrong entry and its screen's Continue.
    void MistakeAndContinue() {
        MakeEntry(false);
        Continue();
    }

    // Frames run with the effects heard in them: a marker before each frame shows which
    // frames played something else.
    std::vector<int> FramesHeard(int count) {
        std::vector<int> heard;
        for (int i = 0; i < count; ++i) {
            MNSound::PlaySoundEffect(SFX_BACK);
            Frames(1);
            if (MNSound::GetLastSoundEffect() != SFX_BACK) {
                heard.push_back(MNSound::GetLastSoundEffect());
            }
        }
        return heard;
    }
};

TEST_F(HeadToHeadTest, PlayerOneThenPlayerTwoIsChosenAndTheVariantChoiceOpens) {
    Enter(SUBGAME_HEADTOHEAD);
    EXPECT_EQ(LayerIds(), "bg profile");
    EXPECT_EQ(TopId(), "head_to_head_profile_select");
    EXPECT_EQ(Mode().GetCurrentProfileSelect(), 1);
    EXPECT_FALSE(Profiles().GetProfileButton(2)->m_bEnabled) << "an empty slot";
    Choose(Profiles().GetProfileButton(0));
    EXPECT_STREQ(Record().m_player1Name, "ANNA");
    EXPECT_EQ(Mode().GetCurrentProfileSelect(), 2);
    EXPECT_FALSE(Profiles().GetProfileButton(0)->m_bEnabled) << "player 1's own";
    Choose(Profiles().GetGuestButton());
    EXPECT_STREQ(Record().m_player2Name, "Guest");
    EXPECT_EQ(Mode().GetCurrentProfileSelect(), 0);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(TopId(), "head_to_head_menu");
    EXPECT_TRUE(Menu().IsOpen());
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetModeScreen());
    EXPECT_EQ(Menu().GetActiveSubScreen(), Menu().GetModeDetailsScreen());
    EXPECT_EQ(Background(), BACKGROUND_MENUS);
}

TEST_F(HeadToHeadTest, BackGoesFromTheVariantChoiceToPlayerTwoToPlayerOneToTheFrontEnd) {
    EnterWithPlayers();
    ClickBack();
    EXPECT_EQ(Mode().GetCurrentProfileSelect(), 2);
    EXPECT_EQ(LayerIds(), "bg profile");
    EXPECT_TRUE(Profiles().GetGuestButton()->m_bEnabled) << "player 2's pick is free again";
    EXPECT_FALSE(Profiles().GetProfileButton(0)->m_bEnabled) << "player 1 keeps ANNA";
    ClickBack();
    EXPECT_EQ(Mode().GetCurrentProfileSelect(), 1);
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_HEADTOHEAD);
    ClickBack();
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
}

TEST_F(HeadToHeadTest, InitialisingTheModeMakesItsProfileScreenOnce) {
    Mode().Deinit();
    test_support::LogCapture log;
    Mode().Init();
    EXPECT_EQ(log.CountContaining("ProfileUI constructor"), 1);
    EXPECT_EQ(Manager().FindUI("head_to_head_profile_select"), Mode().GetProfileScreen());
}

TEST_F(HeadToHeadTest, DoneSendsTheRulesOfTheSetUpAndStartsTheFirstTickedTypeInTurnOrder) {
    const struct {
        bool bSprint;
        int choice;
        int difficulty;
        int types;
        int firstType;
        int lives;
        float limit;
    } games[] = {
        {true, 2, 0, PUZZLE_FLAG_CROSSWORD | PUZZLE_FLAG_SUDOKU, PUZZLE_FLAG_SUDOKU, 5, 0.0f},
        {false, 4, 1, PUZZLE_FLAG_CROSSWORD | PUZZLE_FLAG_WORDSEARCH, PUZZLE_FLAG_CROSSWORD, 0,
         600.0f},
        {true, 4, 2, PUZZLE_FLAG_FITWORD, PUZZLE_FLAG_FITWORD, 7, 0.0f},
    };
    EnterWithPlayers();
    StartGame(true, 0, 0); // nothing ticked: Done stays off
    EXPECT_FALSE(Menu().GetSprintSetup().doneButton->m_bEnabled);
    EXPECT_EQ(LayerIds(), "bg menu");
    for (const auto& game : games) {
        SCOPED_TRACE(game.types);
        StartGame(game.bSprint, game.choice, game.types, game.difficulty);
        EXPECT_TRUE(Menu().IsGame());
        EXPECT_EQ(LayerIds(), "bg game");
        EXPECT_EQ(Mode().GetCurrentPuzzleType(), game.firstType);
        EXPECT_EQ(DifficultyOf(Mode().GetPuzzleScreen()->GetPuzzleId()),
                  DifficultyOfLevel(game.difficulty));
        EXPECT_EQ(Mode().IsSprint(), game.bSprint);
        EXPECT_EQ(Mode().GetLives(kPlayer1), game.lives);
        EXPECT_EQ(Mode().GetLives(kPlayer2), game.lives);
        EXPECT_EQ(Record().m_player1Time, static_cast<int>(game.limit));
        EXPECT_EQ(Record().m_sprintMode, game.bSprint);
        EXPECT_TRUE(Record().m_player1Active);
        EXPECT_EQ(Background(),
                  game.firstType == PUZZLE_FLAG_SUDOKU ? BACKGROUND_BRICK : BACKGROUND_SKY);
        Mode().AbandonPuzzle();
        EXPECT_EQ(LayerIds(), "bg menu");
        EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetModeScreen()) << "no winner screen";
    }
}

TEST_F(HeadToHeadTest, ARightEntryShowsTheNextPlayersScreenOverTheHiddenPuzzleAndPassesTheTurn) {
    EnterWithPlayers();
    StartGame(true, 0, PUZZLE_FLAG_SUDOKU | PUZZLE_FLAG_CROSSWORD);
    ContinueIntro(Mode());
    MakeEntry(true);
    EXPECT_EQ(LayerIds(), "bg game bg menu");
    EXPECT_EQ(TopId(), "head_to_head_menu");
    EXPECT_TRUE(PuzzleHidden()) << "the puzzle is not drawn";
    EXPECT_EQ(ShownScreen(), MNHeadToHeadMenu::SCREEN_PLAYER1_CORRECT);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), 33);
    EXPECT_EQ(Mode().GetTurn(), kPlayer2);
    EXPECT_TRUE(Mode().IsPaused());
    Frames(2);
    EXPECT_EQ(ShownScreen(), MNHeadToHeadMenu::SCREEN_PLAYER1_CORRECT);
    Continue();
    EXPECT_EQ(LayerIds(), "bg game");
    EXPECT_FALSE(PuzzleHidden());
    EXPECT_FALSE(Mode().IsPaused());
    EXPECT_EQ(Background(), BACKGROUND_LEAF) << "player 2 on a sudoku";
    EXPECT_FALSE(Record().m_player1Active);
    EXPECT_EQ(Mode().GetLives(kPlayer1), 3);
}

TEST_F(HeadToHeadTest, AFitwordIsTickedAndDrawnOnceWhenPlayGoesOnAfterATurnsScreen) {
    EnterWithPlayers();
    StartGame(true, 0, PUZZLE_FLAG_FITWORD);
    ContinueIntro(Mode());
    Mode().GetPuzzleScreen()->ValidEntrySignal();
    ClickAt(320, static_cast<int>(0.83f * TUIArt::DisplayHeight()) + 20); // Continue
    EXPECT_EQ(LayerIds(), "bg game");
    EXPECT_EQ(Background(), BACKGROUND_SUN) << "player 2 on a fitword";
    Frames(3);
    EXPECT_EQ(Mode().GetPuzzleScreen()->GetState(), PUZZLE_STATE_PLAYING);
}

TEST_F(HeadToHeadTest, AnErrorCostsALifeAndTheTurnInSprintAndThirtySecondsInMarathon) {
    const struct {
        bool bSprint;
        int screen;
        int turnAfter;
        int livesAfter;
        int timeLeft; // player 1's, in whole seconds
    } games[] = {
        {true, MNHeadToHeadMenu::SCREEN_PLAYER1_SPRINT_ERROR, kPlayer2, 2, 0},
        // 12.7 s played become 42 s: 78 of 120 left.
        {false, MNHeadToHeadMenu::SCREEN_PLAYER1_MARATHON_ERROR, kPlayer1, 0, 78},
    };
    EnterWithPlayers();
    for (const auto& game : games) {
        SCOPED_TRACE(game.bSprint);
        StartGame(game.bSprint, 0, PUZZLE_FLAG_SUDOKU);
        ContinueIntro(Mode());
        for (int i = 0; i < 635 && Mode().GetClock(kPlayer1) < 12.69f; ++i) {
            Frames(1);
        }
        MakeEntry(false);
        EXPECT_EQ(ShownScreen(), game.screen);
        EXPECT_EQ(LayerIds(), "bg game bg menu");
        EXPECT_EQ(Background(), BACKGROUND_MENUS);
        EXPECT_EQ(MNSound::GetLastSoundEffect(), 33);
        EXPECT_EQ(Mode().GetPuzzleScreen()->GetNumErrors(), 0) << "the error is taken off";
        EXPECT_EQ(Mode().GetTurn(), game.turnAfter);
        EXPECT_EQ(Record().m_player1Lives, game.livesAfter);
        EXPECT_EQ(Record().m_player1Time, game.timeLeft);
        Frames(50);
        EXPECT_EQ(Record().m_player1Time, game.timeLeft) << "the clock stands on the screen";
        Continue();
        EXPECT_EQ(LayerIds(), "bg game");
        Mode().AbandonPuzzle();
    }
}

TEST_F(HeadToHeadTest, OnlyARiseInTheGridsErrorsCountsButEveryWordsearchErrorDoes) {
    EnterWithPlayers();
    StartGame(true, 0, PUZZLE_FLAG_SUDOKU);
    Mode().GetPuzzleScreen()->InvalidEntrySignal();
    EXPECT_EQ(Mode().GetLives(kPlayer1), 3) << "no new error on the grid";
    EXPECT_EQ(LayerIds(), "bg game");
    EXPECT_EQ(MNSound::GetLastSoundEffect(), 33);
    Mode().AbandonPuzzle();

    StartGame(true, 0, PUZZLE_FLAG_WORDSEARCH);
    for (int player : {kPlayer1, kPlayer2}) {
        Mode().GetPuzzleScreen()->InvalidEntrySignal();
        EXPECT_EQ(Mode().GetLives(player), 2);
        Continue();
    }
}

TEST_F(HeadToHeadTest, PlayerOnesThirdErrorEndsSprintWithPlayerTwoTheWinnerOnOneLife) {
    EnterWithPlayers();
    StartGame(true, 0, PUZZLE_FLAG_SUDOKU);
    for (int i = 0; i < 4; ++i) {
        MistakeAndContinue();
    }
    EXPECT_EQ(Mode().GetLives(kPlayer2), 1);
    MakeEntry(false);
    EXPECT_EQ(ShownScreen(), MNHeadToHeadMenu::SCREEN_SPRINT_GAME_OVER);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_FALSE(Record().m_player1Winner);
    Continue();
    TUIScreen* const results = Menu().GetSprintResultsScreen();
    ASSERT_EQ(Menu().GetActiveScreen(), results);
    EXPECT_EQ(TextOf(results->m_componentList(1)), "ANNA = 0");
    EXPECT_EQ(TextOf(results->m_componentList(2)), "Guest = 1");
    EXPECT_EQ(TextOf(results->m_componentList(4)), "Guest");
    LeaveResults();
    EXPECT_TRUE(Menu().IsGame()) << "the same players go on";
    Frames(2);
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_HEADTOHEAD);
}

TEST_F(HeadToHeadTest, ASolvedGridGoesOnToTheNextTypeWithTheSameLivesAndPassesTheTurn) {
    BecomeDebugProfile();
    EnterWithPlayers();
    StartGame(true, 0, PUZZLE_FLAG_SUDOKU | PUZZLE_FLAG_CROSSWORD);
    MistakeAndContinue(); // player 1 down to 2 lives; player 2's turn
    ContinueIntro(Mode());
    DebugKey();
    EXPECT_EQ(Mode().GetCurrentPuzzleType(), PUZZLE_FLAG_CROSSWORD);
    EXPECT_EQ(ShownScreen(), MNHeadToHeadMenu::SCREEN_PLAYER2_CORRECT);
    EXPECT_EQ(LayerIds(), "bg game bg menu");
    EXPECT_EQ(Mode().GetTurn(), kPlayer1);
    EXPECT_EQ(Mode().GetLives(kPlayer1), 2);
    Continue();
    ContinueIntro(Mode());
    DebugKey();
    EXPECT_EQ(Mode().GetCurrentPuzzleType(), PUZZLE_FLAG_SUDOKU);
    EXPECT_EQ(ShownScreen(), MNHeadToHeadMenu::SCREEN_PLAYER1_CORRECT);
    EXPECT_EQ(Mode().GetTurn(), kPlayer2);
}

TEST_F(HeadToHeadTest, PausingStopsTheMarathonClockUntilThePauseScreenResumes) {
    EnterWithPlayers();
    StartGame(false, 0, PUZZLE_FLAG_SUDOKU);
    ContinueIntro(Mode());
    const float start = Mode().GetClock(kPlayer1);
    Frames(50);
    EXPECT_NEAR(Mode().GetClock(kPlayer1) - start, 1.0f, 0.01f);
    Mode().GetPuzzleScreen()->GamePauseSignal();
    EXPECT_EQ(TopId(), "pause_menu");
    EXPECT_EQ(Background(), BACKGROUND_MENUS);
    Frames(50);
    EXPECT_NEAR(Mode().GetClock(kPlayer1) - start, 1.0f, 0.01f);
    Manager().GetLayer(Manager().GetNumLayers() - 1)->RemoveUI(Manager().FindUI("pause_menu"));
    Mode().UnPause();
    Mode().ResumePuzzle();
    EXPECT_EQ(Background(), BACKGROUND_BRICK);
    Frames(50);
    EXPECT_NEAR(Mode().GetClock(kPlayer1) - start, 2.0f, 0.01f);
}

TEST_F(HeadToHeadTest, TheLastThirtySecondsTickOnceASecondThenTimeUpSoundsOnceAndEndsTheGame) {
    EnterWithPlayers();
    StartGame(false, 0, PUZZLE_FLAG_SUDOKU);
    ContinueIntro(Mode());
    for (int i = 0; i < 3; ++i) {
        MistakeAndContinue(); // 30 s each: 30 s are left
    }
    EXPECT_EQ(Record().m_player1Time, 30);
    const std::vector<int> heard = FramesHeard(31 * 50);
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.back(), SFX_TIME_UP);
    const std::vector<int> warnings(heard.begin(), heard.end() - 1);
    EXPECT_GE(warnings.size(), 29u);
    EXPECT_LE(warnings.size(), 30u);
    EXPECT_EQ(std::count(warnings.begin(), warnings.end(), SFX_LAST_SECONDS),
              static_cast<long>(warnings.size()));
    EXPECT_EQ(ShownScreen(), MNHeadToHeadMenu::SCREEN_MARATHON_GAME_OVER);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(Mode().GetPuzzleScreen(), nullptr) << "the screen is deleted";
    EXPECT_EQ(Manager().FindUI("game"), nullptr);
    EXPECT_EQ(Record().m_player1Time, 0);
    EXPECT_EQ(Record().m_player2Time, 120);
    EXPECT_FALSE(Record().m_player1Winner);
    Continue();
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetMarathonResultsScreen());
    EXPECT_EQ(TextOf(Menu().GetMarathonResultsScreen()->m_componentList(2)), "Guest = 120");
}

TEST_F(HeadToHeadTest, APuzzleTheBankCannotGiveEndsTheGameOnTheVariantChoice) {
    const struct {
        int types;
        ePuzzleDifficulty difficulty;
    } rules[] = {{PUZZLE_FLAG_SUDOKU, DifficultyOfBankValue(7)}, {0, PUZZLE_DIFFICULTY_BEGINNER}};
    EnterWithPlayers();
    for (const auto& rule : rules) {
        SCOPED_TRACE(rule.types);
        test_support::LogCapture log;
        Mode().OnNewSprint(3, rule.types, rule.difficulty);
        Mode().OnPlay();
        EXPECT_TRUE(log.Contains("the game ends"));
        EXPECT_EQ(Mode().GetPuzzleScreen(), nullptr);
        EXPECT_EQ(Mode().GetCurrentPuzzleType(), 0);
        EXPECT_EQ(LayerIds(), "bg menu");
        EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetModeScreen());
        Frames(2);
        EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_HEADTOHEAD);
    }
}

TEST_F(HeadToHeadTest, AnEndedPuzzleKeptUntilTheNextOneNoLongerReachesTheMode) {
    EnterWithPlayers();
    StartGame(true, 0, PUZZLE_FLAG_SUDOKU);
    MNPuzzleUI* const ended = Mode().GetPuzzleScreen();
    Mode().AbandonPuzzle();
    ASSERT_EQ(Mode().GetPuzzleScreen(), ended);
    ended->GamePauseSignal();
    ended->HelpSignal();
    ended->ValidEntrySignal();
    ended->GameOverSignal();
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(TopId(), "head_to_head_menu");
    EXPECT_FALSE(Mode().IsPaused());
    EXPECT_EQ(Mode().GetTurn(), kPlayer1);
}

TEST_F(HeadToHeadTest, TenGamesLostOnTimeLeaveNoScreenOrBlockBehindAndSaveNothing) {
    const int savesBefore = SaveWrites();
    EnterWithPlayers();
    auto playToTimeUp = [this] {
        StartGame(false, 0, PUZZLE_FLAG_SUDOKU);
        for (int i = 0; i < 4; ++i) {
            MistakeAndContinue(); // 120 s used
        }
        Frames(1);
        ASSERT_EQ(ShownScreen(), MNHeadToHeadMenu::SCREEN_MARATHON_GAME_OVER);
        Continue();
        LeaveResults();
    };
    playToTimeUp();
    const s32 blocks = kPlatform_GetMemStats().numAllocs;
    for (int i = 0; i < 10; ++i) {
        playToTimeUp();
    }
    EXPECT_EQ(kPlatform_GetMemStats().numAllocs, blocks);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(SaveWrites(), savesBefore);
}

class HeadToHeadMenuTest : public ModeWorldTest {
protected:
    // What the menu sent, as "sprint 5 2 1 play": the rules of a game, then the play.
    struct Receiver : kHasSlots<> {
        void OnSprint(int lives, int types, ePuzzleDifficulty difficulty) {
            sent += "sprint " + std::to_string(lives) + " " + std::to_string(types) + " " +
                    std::to_string(BankValueOf(difficulty));
        }
        void OnMarathon(float time, int types, ePuzzleDifficulty difficulty) {
            sent += "marathon " + std::to_string(time) + " " + std::to_string(types) + " " +
                    std::to_string(BankValueOf(difficulty));
        }
        void OnPlay() { sent += " play"; }
        std::string sent;
    };

    void SetUp() override {
        ModeWorldTest::SetUp();
        m_menu = new MNHeadToHeadMenu(World().GetProfile());
        m_menu->NewSprintSignal.Connect(&m_receiver, &Receiver::OnSprint);
        m_menu->NewMarathonSignal.Connect(&m_receiver, &Receiver::OnMarathon);
        m_menu->PlaySignal.Connect(&m_receiver, &Receiver::OnPlay);
        m_menu->Open();
    }
    void TearDown() override {
        delete m_menu;
        ModeWorldTest::TearDown();
    }

    MNHeadToHeadMenu* m_menu = nullptr;
    Receiver m_receiver;
};

TEST_F(HeadToHeadMenuTest, DoneSendsTheSpinnersEntriesAndTheTickedTypesOnlyWithATypeTicked) {
    const struct {
        bool bSprint;
        int choice;
        int difficulty;
        int types;
        const char* sent;
    } games[] = {
        {true, 2, 0, 0, ""}, // Done stays off, and a press does nothing
        {true, 2, 0, PUZZLE_FLAG_CROSSWORD, "sprint 5 2 1 play"},
        {false, 4, 2, PUZZLE_FLAG_SUDOKU | PUZZLE_FLAG_WORDSEARCH, "marathon 600.000000 12 3 play"},
        {false, 0, 1, 0, ""},
        {true, 0, 1, PUZZLE_FLAG_FITWORD | PUZZLE_FLAG_CROSSWORD, "sprint 3 3 2 play"},
    };
    for (const auto& game : games) {
        SCOPED_TRACE(game.sent);
        FillSetup(*m_menu, game.bSprint, game.choice, PUZZLE_FLAG_SUDOKU, game.difficulty);
        const MNHeadToHeadMenu::Setup& setup =
            FillSetup(*m_menu, game.bSprint, game.choice, game.types, game.difficulty);
        EXPECT_EQ(setup.doneButton->m_bEnabled, game.types != 0);
        m_receiver.sent.clear();
        m_menu->ButtonPressed(setup.screen, setup.doneButton);
        EXPECT_EQ(m_receiver.sent, game.sent);
        EXPECT_EQ(m_menu->IsGame(), game.types != 0);
        m_menu->Open();
    }
}

TEST_F(HeadToHeadMenuTest, ALanguageChangeRebuildsTheScreensClosed) {
    m_menu->Rebuild();
    EXPECT_TRUE(m_menu->IsOpen()) << "the same language keeps the screens";
    MNProfileManager::SetLanguage(MNProfileManager::GetLanguage(), false, false);
    m_menu->Rebuild();
    EXPECT_EQ(m_menu->GetState(), MNHeadToHeadMenu::STATE_CLOSED);
    EXPECT_EQ(m_menu->GetModeScreen()->m_componentList.Size(), 6);
    m_menu->Open();
    EXPECT_EQ(m_menu->GetActiveScreen(), m_menu->GetModeScreen());
}

TEST_F(HeadToHeadMenuTest, ResultsShownBeforeAnyGameNameNoPlayersAndZeros) {
    MNHeadToHeadMenu menu(nullptr);
    menu.PostGameMenu(MNHeadToHeadMenu::SCREEN_MODE_CHOICE);
    for (TUIScreen* results : {menu.GetSprintResultsScreen(), menu.GetMarathonResultsScreen()}) {
        EXPECT_EQ(TextOf(results->m_componentList(1)), "NO NAME 1 = 0");
        EXPECT_EQ(TextOf(results->m_componentList(2)), "NO NAME 2 = 0");
        EXPECT_EQ(TextOf(results->m_componentList(4)), "No Winner");
    }
}

} // namespace
