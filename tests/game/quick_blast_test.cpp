// Quick Blast: the points of one puzzle from the scoring inputs of the one puzzle-screen
// interface, and the mode and its menu in the real world over a fresh flash memory and the
// built disc's puzzle bank: set-up, the rotation of types, the run clock with its warnings,
// pausing, the end of a run into the history and what is saved.
#include "game_golden_fixture.h"
#include "log_capture.h"
#include "mode_world_fixture.h"

#include <modes/mnquickblast.h>
#include <modes/mnquickblastmenu.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnsound.h>
#include <tui/mnpausemenuui.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace Kelvo_lib;

namespace {

// A finished puzzle as the scoring sees it.
class ScoredScreen : public MNPuzzleUI {
public:
    ScoredScreen(int type, int correct, int errors, int hints0, int hints1 = 0)
        : m_type(type), m_correct(correct), m_errors(errors), m_hints{hints0, hints1, 0} {}

    void Init() override {}
    void Deinit() override {}
    void Activate(kUILayer*) override {}
    void Deactivate(kUILayer*) override {}
    kUIWidget* GetScreen() override { return nullptr; }
    void Tick(float) override {}
    int GetPuzzleType() const override { return m_type; }
    bool SetPuzzle(Puzzle*, const MNPuzzleRules&) override { return false; }
    void Play() override {}
    void Reset() override {}
    int GetState() const override { return PUZZLE_STATE_COMPLETED; }
    float GetTime() const override { return 0.0f; }
    int GetPuzzleId() const override { return 0; }
    int GetNumErrors() const override { return 0; }
    int GetNumCorrect() const override { return m_correct; }
    int GetNumErrorsMade() const override { return m_errors; }
    int GetHintsUsed(int kind) const override { return m_hints[kind]; }
    int GetMaxHints(int) const override { return 3; }
    bool IsGridFull() const override { return true; }
    bool IsContinueScreenOpen() const override { return false; }
    int SavePuzzleState(void*, int) override { return 0; }
    int LoadPuzzleState(void*, int) override { return 0; }

private:
    int m_type;
    int m_correct;
    int m_errors;
    int m_hints[3];
};

// The levels, short for the tables.
constexpr ePuzzleDifficulty kBeginner = PUZZLE_DIFFICULTY_BEGINNER;
constexpr ePuzzleDifficulty kIntermediate = PUZZLE_DIFFICULTY_INTERMEDIATE;
constexpr ePuzzleDifficulty kPro = PUZZLE_DIFFICULTY_PRO;
constexpr ePuzzleDifficulty kPastPro = DifficultyOfBankValue(4);

TEST(QuickBlastScoreTest, PointsPerDifficultyFromAnswersHintsErrorsAndBonuses) {
    const struct {
        const char* what;
        ScoredScreen screen;
        ePuzzleDifficulty difficulty;
        float time;
        bool bTimedOut;
        int points;
    } cases[] = {
        // 300 time + 500 completion + 200 perfection + 27 x 100.
        {"perfect quick sudoku", {PUZZLE_FLAG_SUDOKU, 27, 0, 0}, kBeginner, 100.0f, false, 3700},
        // Exactly at its time limit: no time bonus.
        {"sudoku at its limit", {PUZZLE_FLAG_SUDOKU, 27, 0, 0}, kBeginner, 780.0f, false, 3400},
        // -1 x 60 error - 2 x 60 hints + 1000 completion + 12 x 150; 300 s is over 280.
        {"slow fitword", {PUZZLE_FLAG_FITWORD, 12, 1, 0, 2}, kIntermediate, 300.0f, false, 2620},
        // 500 time + 1500 completion + 300 perfection + 15 x 200.
        {"perfect wordsearch", {PUZZLE_FLAG_WORDSEARCH, 15, 0, 0}, kPro, 100.0f, false, 5300},
        // -3 x 30 hints + 300 time + 500 completion (no perfection) + 10 x 100.
        {"crossword with hints", {PUZZLE_FLAG_CROSSWORD, 10, 0, 3}, kBeginner, 200.0f, false, 1710},
        // Abandoned: -2 x 100 hints + 4 x 200 answers, no bonus.
        {"abandoned crossword with hints",
         {PUZZLE_FLAG_CROSSWORD, 4, 0, 2},
         kPro,
         10.0f,
         true,
         600},
        {"abandoned fitword", {PUZZLE_FLAG_FITWORD, 5, 0, 0}, kBeginner, 10.0f, true, 500},
        {"abandoned with only errors",
         {PUZZLE_FLAG_SUDOKU, 0, 2, 0},
         kIntermediate,
         10.0f,
         true,
         0},
        {"level beyond pro", {PUZZLE_FLAG_SUDOKU, 27, 0, 0}, kPastPro, 100.0f, false, 0},
        {"MINI, no level",
         {PUZZLE_FLAG_SUDOKU, 27, 0, 0},
         PUZZLE_DIFFICULTY_MINI,
         100.0f,
         false,
         0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MNQuickBlast::PuzzleScore(c.screen, c.difficulty, c.time, c.bTimedOut), c.points)
            << c.what;
    }
}

class QuickBlastTest : public ModeWorldTest {
protected:
    MNQuickBlast& Mode() { return SubGame<MNQuickBlast>(SUBGAME_QUICKBLAST); }
    MNQuickBlastMenu& Menu() { return *Mode().GetMenu(); }
    MNQuickBlastData& Data() { return Profile().quickblastData; }
    void Enter() { ModeWorldTest::Enter(SUBGAME_QUICKBLAST); }
    void ContinueIntro() { ModeWorldTest::ContinueIntro(Mode()); }
    // A run set up before, as its record keeps it.
    void SetUpRun(int puzzles, float timeLimit = 1200.0f) {
        Data().m_bNewGame = false;
        Data().m_puzzles = static_cast<char>(puzzles);
        Data().m_fTimeLimit = timeLimit;
    }
    // A component of a screen shown alone, or beside a panel.
    void Click(const TUIComponent* component, bool bBesidePanel = false) {
        TUIArt art;
        if (bBesidePanel) {
            art.SetFrame(
                kUIRect{0.0f, 0.0f, TUIArt::DisplayWidth() * 0.6f, TUIArt::DisplayHeight()});
        }
        const kUIRect rect = component->Bounds(art);
        ClickAt(static_cast<int>(rect.x + rect.w * 0.5f), static_cast<int>(rect.y + rect.h * 0.5f));
    }
    // A spinner's left or right arrow.
    void ClickArrow(const TUISpinner* spinner, bool bRight, bool bBesidePanel = false) {
        TUIArt art;
        if (bBesidePanel) {
            art.SetFrame(
                kUIRect{0.0f, 0.0f, TUIArt::DisplayWidth() * 0.6f, TUIArt::DisplayHeight()});
        }
        const kUIRect rect = spinner->Bounds(art);
        ClickAt(static_cast<int>(bRight ? rect.x + rect.w - 12 : rect.x + 12),
                static_cast<int>(rect.y + rect.h * 0.5f));
    }
    int Type() { return Mode().GetPuzzleScreen()->GetPuzzleType(); }
    TUIComponent* Component(TUIScreen* screen, int index) { return screen->m_componentList(index); }
    // Frames, each noting the run-clock effects heard in it.
    void FramesHearing(int count) {
        for (int i = 0; i < count; ++i) {
            MNSound::PlaySoundEffect(SFX_HIGHLIGHT);
            Frames(1);
            m_heard.push_back(MNSound::GetLastSoundEffect());
        }
    }
    int Heard(int effect) const {
        return static_cast<int>(std::count(m_heard.begin(), m_heard.end(), effect));
    }
    float TimeLeft() { return World().GetProfile()->m_hackTimer; }

    // The pause screen's entries in Quick Blast, and the yes of its confirmation.
    static constexpr int kPauseItemX = 320, kResumeY = 114, kEndRunY = 263, kYesY = 114;

    std::vector<int> m_heard;
};

TEST_F(QuickBlastTest, AFreshProfileMustSetUpARunAndBackLeavesForTheFrontEnd) {
    Enter();
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(TopId(), "quick_blast_menu");
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetStartScreen());
    EXPECT_FALSE(Menu().GetPlayButton()->m_bEnabled);
    Click(Menu().GetPlayButton());
    EXPECT_EQ(Mode().GetPuzzleScreen(), nullptr);
    ClickBack();
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
}

TEST_F(QuickBlastTest, ConfirmingTheWarningClearsTheHistoryAndBackFromSetUpRestoresTheRest) {
    SetUpRun(PUZZLE_FLAG_SUDOKU | PUZZLE_FLAG_CROSSWORD, 900.0f);
    std::strcpy(Data().m_name, "ANN");
    Data().m_statList[0].m_score = 1200;
    Enter();
    Click(Component(Menu().GetStartScreen(), 2)); // new run
    ASSERT_EQ(Menu().GetActiveScreen(), Menu().GetWarningScreen());
    Click(Component(Menu().GetWarningScreen(), 3)); // no
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetStartScreen());
    EXPECT_EQ(Data().m_statList[0].m_score, 1200);
    Click(Component(Menu().GetStartScreen(), 2));
    Click(Component(Menu().GetWarningScreen(), 2)); // yes
    ASSERT_EQ(Menu().GetActiveScreen(), Menu().GetConfigScreen());
    EXPECT_EQ(Data().m_statList[0].m_score, -1) << "cleared at once";
    TUIScreen* const setUp = Menu().GetConfigScreen();
    ClickArrow(static_cast<TUISpinner*>(Component(setUp, 4)), true); // intermediate
    ClickArrow(static_cast<TUISpinner*>(Component(setUp, 6)), true); // 20:00
    Click(Component(setUp, 7));                                      // crossword off
    EXPECT_EQ(Data().m_difficulty, 1);
    EXPECT_EQ(Data().m_fTimeLimit, 1200.0f);
    EXPECT_EQ(Data().m_puzzles, PUZZLE_FLAG_SUDOKU);
    EXPECT_STREQ(Menu().GetTimeString(), "20:00");
    Click(Component(setUp, 9)); // sudoku off: no type left
    EXPECT_FALSE(Menu().GetDoneButton()->m_bEnabled);
    Click(Menu().GetDoneButton());
    EXPECT_EQ(Mode().GetPuzzleScreen(), nullptr);
    ClickBack();
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetStartScreen());
    EXPECT_EQ(Data().m_difficulty, 0);
    EXPECT_EQ(Data().m_fTimeLimit, 900.0f);
    EXPECT_EQ(Data().m_puzzles, PUZZLE_FLAG_SUDOKU | PUZZLE_FLAG_CROSSWORD);
    EXPECT_STREQ(Data().m_name, "ANN");
    EXPECT_EQ(Data().m_statList[0].m_score, -1);
    EXPECT_TRUE(Menu().GetPlayButton()->m_bEnabled);
}

TEST_F(QuickBlastTest, TheNameIsTypedOnTheKeyboardAndANameOfBlanksCannotBeSaved) {
    SetUpRun(15);
    std::strcpy(Data().m_name, "QUICKBLASTER"); // longer than the keyboard: it starts empty
    Enter();
    Click(Component(Menu().GetStartScreen(), 2));
    Click(Component(Menu().GetWarningScreen(), 2));
    Click(Component(Menu().GetConfigScreen(), 2)); // edit name
    ASSERT_EQ(Menu().GetActiveScreen(), Menu().GetEditNameScreen());
    ClickAt(300, 160 + 16 + 34 * 3); // the space bar, below the letters
    EXPECT_STREQ(Data().m_name, " ");
    EXPECT_FALSE(Menu().GetSaveNameButton()->m_bEnabled);
    ClickAt(160 + 16 + 34 * 7, 160 + 16 + 34 * 1); // Q
    ClickAt(160 + 16 + 34 * 1, 160 + 16);          // B
    EXPECT_STREQ(Data().m_name, " QB");
    Click(Menu().GetSaveNameButton());
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetConfigScreen());
    EXPECT_STREQ(Data().m_name, " QB");
}

TEST_F(QuickBlastTest, DoneStartsTheRunAtScoreZeroWithTheFirstChosenType) {
    SetUpRun(15);
    Enter();
    Click(Component(Menu().GetStartScreen(), 2));
    Click(Component(Menu().GetWarningScreen(), 2));
    const int saves = SaveWrites();
    Click(Menu().GetDoneButton());
    Frames(10);
    ASSERT_NE(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(Type(), PUZZLE_FLAG_SUDOKU);
    EXPECT_EQ(LayerIds(), "bg game");
    EXPECT_EQ(Data().m_currentScore, 0);
    EXPECT_TRUE(Menu().IsGame());
    EXPECT_EQ(SaveWrites(), saves + 1) << "the new run's record";
    EXPECT_FLOAT_EQ(TimeLeft(), 1200.0f) << "the countdown shows the whole run at first";
}

TEST_F(QuickBlastTest, PlayStartsTheSetUpRunAtScoreZeroWithItsWholeTimeAndKeepsTheHistory) {
    SetUpRun(PUZZLE_FLAG_CROSSWORD, 600.0f);
    Data().m_currentScore = 4000; // left by a run a power cut stopped
    Data().m_statList[0].m_score = 1500;
    Enter();
    Click(Menu().GetPlayButton());
    ASSERT_NE(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(Type(), PUZZLE_FLAG_CROSSWORD);
    EXPECT_EQ(Data().m_currentScore, 0);
    EXPECT_FLOAT_EQ(TimeLeft(), 600.0f);
    EXPECT_TRUE(Menu().IsOpen()) << "a run from the start screen leaves the menu open";
    Mode().AbandonMode();
    EXPECT_EQ(Data().m_statList[0].m_score, 1500);
    EXPECT_EQ(Data().m_statList[1].m_score, 0) << "nothing of the earlier run's points";
}

TEST_F(QuickBlastTest, TheTypesTakeTurnsInTheirFixedOrder) {
    const struct {
        int puzzles;
        std::vector<int> order;
    } cases[] = {
        {15,
         {PUZZLE_FLAG_SUDOKU, PUZZLE_FLAG_FITWORD, PUZZLE_FLAG_WORDSEARCH, PUZZLE_FLAG_CROSSWORD,
          PUZZLE_FLAG_SUDOKU}},
        // A new run goes on from the type played last.
        {PUZZLE_FLAG_SUDOKU | PUZZLE_FLAG_CROSSWORD,
         {PUZZLE_FLAG_CROSSWORD, PUZZLE_FLAG_SUDOKU, PUZZLE_FLAG_CROSSWORD}},
        {PUZZLE_FLAG_WORDSEARCH | 0x30, {PUZZLE_FLAG_WORDSEARCH, PUZZLE_FLAG_WORDSEARCH}},
    };
    Enter();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.puzzles);
        SetUpRun(c.puzzles);
        Mode().OnPlay();
        for (int type : c.order) {
            ASSERT_NE(Mode().GetPuzzleScreen(), nullptr);
            EXPECT_EQ(Type(), type);
            Frames(1);
            Mode().AbandonPuzzle();
            EXPECT_EQ(LayerIds(), "bg menu");
            Frames(1); // the next puzzle starts on the next frame
        }
        Mode().AbandonMode();
    }
}

TEST_F(QuickBlastTest, AMaskWithoutATypeStartsNothingAndTheMenuStays) {
    SetUpRun(0x30);
    Enter();
    test_support::LogCapture log;
    Mode().OnPlay();
    EXPECT_EQ(log.CountContaining("no puzzle type chosen"), 1);
    EXPECT_EQ(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(LayerIds(), "bg menu");
    Frames(2);
    EXPECT_TRUE(Menu().IsOpen());
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_QUICKBLAST);
}

TEST_F(QuickBlastTest, ASolvedPuzzleScoresAndTheNextTypeFollows) {
    BecomeDebugProfile();
    SetUpRun(15);
    Enter();
    Mode().OnPlay();
    ContinueIntro();
    const int saves = SaveWrites();
    DebugKey();
    Frames(10);
    EXPECT_GT(Data().m_currentScore, 500) << "completion bonus and more";
    EXPECT_EQ(SaveWrites(), saves + 1);
    EXPECT_EQ(Type(), PUZZLE_FLAG_FITWORD);
    EXPECT_EQ(LayerIds(), "bg game");
    EXPECT_EQ(BackgroundMode(Mode()), BACKGROUND_FITWORD);
}

TEST_F(QuickBlastTest, TheRunClockWarnsEachOfTheLastThirtySecondsThenEndsTheRunSaved) {
    SetUpRun(PUZZLE_FLAG_WORDSEARCH, 36.0f);
    Enter();
    Mode().OnPlay();
    ContinueIntro();
    FramesHearing(50 * 5);
    EXPECT_NEAR(TimeLeft(), 31.0f, 0.1f) << "the countdown the puzzle shows";
    Mode().AbandonPuzzle(); // the next puzzle goes on with the run's time
    Frames(1);
    ContinueIntro();
    EXPECT_EQ(Heard(SFX_LAST_SECONDS), 0);
    const int saves = SaveWrites();
    for (int i = 0; i < 50 * 40 && !Mode().IsRunOver(); ++i) {
        FramesHearing(1);
    }
    ASSERT_TRUE(Mode().IsRunOver());
    EXPECT_EQ(Heard(SFX_LAST_SECONDS), 30);
    EXPECT_EQ(Heard(SFX_TIME_UP), 1);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetResultsScreen());
    EXPECT_EQ(Data().m_statList[0].m_score, 0);
    EXPECT_EQ(Data().m_statList[1].m_score, -1);
    m_heard.clear();
    FramesHearing(100);
    EXPECT_EQ(Heard(SFX_LAST_SECONDS) + Heard(SFX_TIME_UP), 0) << "the clock stands after the run";
    EXPECT_LE(TimeLeft(), 0.0f) << "and its countdown stays at the end";
    EXPECT_EQ(SaveWrites(), saves + 1) << "the history is saved when the time runs out";
}

TEST_F(QuickBlastTest, ThePauseScreenStopsTheRunClockAndEndsTheRun) {
    SetUpRun(PUZZLE_FLAG_WORDSEARCH);
    Enter();
    Mode().OnPlay();
    ContinueIntro();
    Frames(50);
    Mode().GetPuzzleScreen()->GamePauseSignal();
    EXPECT_TRUE(Mode().IsPaused());
    EXPECT_EQ(TopId(), "pause_menu");
    const float left = TimeLeft();
    Frames(100);
    EXPECT_EQ(TimeLeft(), left);
    ClickAt(kPauseItemX, kResumeY);
    EXPECT_FALSE(Mode().IsPaused());
    EXPECT_EQ(TopId(), "game");
    Frames(50);
    EXPECT_LT(TimeLeft(), left);
    Mode().GetPuzzleScreen()->GamePauseSignal();
    const int saves = SaveWrites();
    ClickAt(kPauseItemX, kEndRunY);
    ClickAt(kPauseItemX, kYesY);
    EXPECT_TRUE(Mode().IsRunOver());
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetResultsScreen());
    EXPECT_EQ(Data().m_statList[0].m_score, 0);
    Frames(10);
    EXPECT_EQ(SaveWrites(), saves + 1);
}

TEST_F(QuickBlastTest, TheFiftyFirstRunDropsTheOldestScoreAndTheListShowsTheNewest) {
    SetUpRun(15);
    Enter();
    for (int run = 0; run < 51; ++run) {
        Data().m_currentScore = run == 50 ? -300 : run * 100;
        Mode().NewScore();
    }
    EXPECT_EQ(Data().m_statOffset, 1);
    EXPECT_EQ(Data().m_statList[0].m_score, 100);
    EXPECT_EQ(Data().m_statList[49].m_score, 0) << "a negative score is recorded as 0";
    EXPECT_EQ(Data().m_currentScore, 0);
    Menu().PostGameMenu();
    TUISpinner* const list = Menu().GetStatsSpinner();
    ASSERT_EQ(list->m_textList.Size(), 50);
    EXPECT_EQ(list->m_index, 49);
    EXPECT_STREQ(list->m_textList(49).Get(), "Run 51: 0");
    EXPECT_STREQ(list->m_textList(0).Get(), "Run 2: 1");
    Click(Component(Menu().GetResultsScreen(), 5), true); // continue
    ASSERT_EQ(Menu().GetActiveScreen(), Menu().GetStatsScreen());
    ClickArrow(list, false, true);
    EXPECT_EQ(list->m_index, 48) << "choosing a run keeps the choice";
    Click(Component(Menu().GetStatsScreen(), 2), true); // done
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
}

// The save block on the flash memory.
MNSaveData SavedBlock(const std::filesystem::path& nand) {
    std::ifstream file(nand / "title/puzzles/data/save.dat", std::ios::binary);
    const std::vector<u8> bytes{std::istreambuf_iterator<char>(file), {}};
    MNSaveData data{};
    EXPECT_GE(bytes.size(), static_cast<size_t>(MN_SAVE_DATA_SIZE));
    if (bytes.size() >= MN_SAVE_DATA_SIZE) {
        EXPECT_EQ(ReadSaveData(bytes.data(), MN_SAVE_DATA_SIZE, data), nullptr);
    }
    return data;
}

// A whole five-minute run by the pointer, A and the debug key alone: the set-up with a typed
// name, a sudoku solved and scored, the fitword after it played until the time is up with its
// warnings, the results, the graph and the saved history.
TEST_F(QuickBlastTest, AFiveMinuteRunByPointerAloneFromTheWarningToTheGraph) {
    BecomeDebugProfile();
    Enter();
    Click(Component(Menu().GetStartScreen(), 2));   // new run
    Click(Component(Menu().GetWarningScreen(), 2)); // yes
    TUIScreen* const setUp = Menu().GetConfigScreen();
    Click(Component(setUp, 2));                // edit name
    ClickAt(160 + 16 + 34 * 7, 160 + 16 + 34); // Q
    ClickAt(160 + 16 + 34, 160 + 16);          // B
    Click(Menu().GetSaveNameButton());
    for (int i = 0; i < 3; ++i) {
        ClickArrow(static_cast<TUISpinner*>(Component(setUp, 6)), false); // down to 5:00
    }
    Click(Menu().GetDoneButton());
    ContinueIntro();
    EXPECT_EQ(Type(), PUZZLE_FLAG_SUDOKU);
    DebugKey();
    const int sudokuPoints = Data().m_currentScore;
    EXPECT_GT(sudokuPoints, 0);
    Frames(1);
    ContinueIntro();
    EXPECT_EQ(Type(), PUZZLE_FLAG_FITWORD);
    for (int i = 0; i < 50 * 300 && !Mode().IsRunOver(); ++i) {
        FramesHearing(1);
    }
    EXPECT_EQ(Heard(SFX_LAST_SECONDS), 30);
    EXPECT_EQ(Heard(SFX_TIME_UP), 1);
    ASSERT_EQ(Menu().GetActiveScreen(), Menu().GetResultsScreen());
    EXPECT_EQ(Menu().GetScore(), sudokuPoints / 100);
    Click(Component(Menu().GetResultsScreen(), 5), true); // continue to the graph
    EXPECT_EQ(Menu().GetActiveScreen(), Menu().GetStatsScreen());
    Click(Component(Menu().GetStatsScreen(), 2), true); // done
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
    const MNQuickBlastData& saved = SavedBlock(m_nand.Root()).profiles[0].quickblastData;
    EXPECT_STREQ(saved.m_name, "QB");
    EXPECT_EQ(saved.m_fTimeLimit, 300.0f);
    EXPECT_EQ(saved.m_statList[0].m_score, sudokuPoints);
    EXPECT_EQ(saved.m_statList[1].m_score, -1);
    EXPECT_EQ(saved.m_statOffset, 0);
}

TEST_F(QuickBlastTest, FiftyOneRunsEndedFromThePauseScreenShiftTheSavedHistory) {
    SetUpRun(PUZZLE_FLAG_WORDSEARCH);
    for (int run = 0; run < 51; ++run) {
        Enter();
        Click(Menu().GetPlayButton());
        ContinueIntro();
        ClickAt(118, 477); // the wordsearch's menu button
        ClickAt(kPauseItemX, kEndRunY);
        ClickAt(kPauseItemX, kYesY);
        Click(Component(Menu().GetResultsScreen(), 5), true);
        Click(Component(Menu().GetStatsScreen(), 2), true);
        ASSERT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND) << run;
    }
    Frames(10);
    const MNQuickBlastData& saved = SavedBlock(m_nand.Root()).profiles[0].quickblastData;
    EXPECT_EQ(saved.m_statOffset, 1);
    EXPECT_EQ(std::count_if(std::begin(saved.m_statList), std::end(saved.m_statList),
                            [](const MNQuickBlastStat& stat) { return stat.m_score >= 0; }),
              50);
}

// The menu drawn over its background for a profile of its own, driven by the pointer.
class QuickBlastMenuGoldenTest : public GameGoldenTest {
protected:
    void SetUp() override {
        GameGoldenTest::SetUp();
        m_record.Clear();
        MNQuickBlastData& data = m_record.quickblastData;
        data.m_bNewGame = false;
        std::strcpy(data.m_name, "ANN");
        data.m_difficulty = 1;
        data.m_fTimeLimit = 900.0f;
        data.m_puzzles = PUZZLE_FLAG_SUDOKU | PUZZLE_FLAG_CROSSWORD;
    }
    // A press and release of A at a pixel, each frame ticking the menu.
    void ClickAt(MNQuickBlastMenu& menu, int x, int y) {
        const std::string at = PointAt(x, y);
        for (const std::string& frame : {at, at + " hold A", std::string("hold none")}) {
            LoadScript({frame});
            Step();
            menu.Tick(kGoldenFrame);
        }
    }
    png_golden::Image Draw(MNQuickBlastMenu& menu) {
        DrawBackground(BACKGROUND_MENUS);
        menu.Render();
        return Picture();
    }
    void SetScores(std::initializer_list<int> scores) {
        int i = 0;
        for (int score : scores) {
            m_record.quickblastData.m_statList[i++].m_score = score;
        }
    }
    static int Y(float fraction) {
        return static_cast<int>(TUIArt::DisplayHeight() * fraction) + 20;
    }

    MNSaveProfileData m_record{};
    MNProfile m_profile{&m_record};
};

TEST_F(QuickBlastMenuGoldenTest, SetUpAfterTheWarning) {
    MNQuickBlastMenu menu(&m_profile);
    menu.Open();
    ClickAt(menu, 147, Y(0.5f)); // new run
    ClickAt(menu, 320, Y(0.5f)); // yes
    ASSERT_EQ(menu.GetActiveScreen(), menu.GetConfigScreen());
    ClickAt(menu, 480, Y(0.42f)); // fitword on, the pointer resting on it
    EXPECT_TRUE(MatchesGolden("quick_blast_set_up", Draw(menu)));
}

TEST_F(QuickBlastMenuGoldenTest, ResultsBesideTheRunsSummary) {
    SetScores({3200, 4150});
    MNQuickBlastMenu menu(&m_profile);
    menu.PostGameMenu();
    EXPECT_EQ(menu.GetScore(), 41);
    EXPECT_TRUE(MatchesGolden("quick_blast_results", Draw(menu)));
}

TEST_F(QuickBlastMenuGoldenTest, TheGraphOfTheSevenScoresAroundTheChosenRun) {
    SetScores({900, 2400, 1800, 3100, 2600, 4400, 3900, 5200, 4700});
    MNQuickBlastMenu menu(&m_profile);
    menu.PostGameMenu();
    ClickAt(menu, 192, Y(0.7f)); // continue
    ASSERT_EQ(menu.GetActiveScreen(), menu.GetStatsScreen());
    ClickAt(menu, 80, Y(0.65f)); // the run before the newest
    EXPECT_EQ(menu.GetStatsSpinner()->m_index, 7);
    EXPECT_TRUE(MatchesGolden("quick_blast_graph", Draw(menu)));
}

TEST_F(QuickBlastMenuGoldenTest, AnEmptyHistoryShowsTheGraphsLinesAlone) {
    MNQuickBlastMenu menu(&m_profile);
    menu.PostGameMenu();
    ClickAt(menu, 192, Y(0.7f));
    ClickAt(menu, 80, Y(0.65f)); // an empty list does not move
    EXPECT_EQ(menu.GetStatsSpinner()->m_textList.Size(), 0);
    EXPECT_EQ(menu.GetScore(), 0);
    const png_golden::Image picture = Draw(menu);
    // The chosen run's line, yellow, at the graph's left (30 pixels into its 320).
    const int left = static_cast<int>(TUIArt::DisplayWidth() * 0.3f) - 160 + 30;
    bool bYellow = false;
    for (int x = left - 2; x <= left + 2; ++x) {
        const u32 colour = picture.rgb[170 * picture.width + x];
        bYellow = bYellow || (colour & 0xF0F0F0) == 0xF0F000;
    }
    EXPECT_TRUE(bYellow);
}

} // namespace
