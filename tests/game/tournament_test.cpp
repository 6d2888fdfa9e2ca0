// The Tournament: scoring, the ladder drawn from the bank (also from a thin or damaged one),
// the results of a slot, a damaged save resumed, the music around the final result, the
// ladder's choices and the end screens; the real world over a fresh flash memory, playing the
// real puzzle screens. A whole tournament by input script is the scenario suite's.
#include "colour_contrast.h"
#include "game_golden_fixture.h"
#include "mode_world_fixture.h"
#include "puzzle_test_support.h"

#include <modes/mntournament.h>
#include <modes/mntournamentmenu.h>
#include <services/mnsound.h>
#include <services/puzzlebank.h>
#include <services/puzzlebankwriter.h>

#include <kelvo/io/kmemoryiostream.h>
#include <kelvo/platform/kmemory.h>

#include <algorithm>
#include <set>

using namespace Kelvo_lib;

namespace {

// The levels, short for the tables.
constexpr ePuzzleDifficulty kBeginner = PUZZLE_DIFFICULTY_BEGINNER;
constexpr ePuzzleDifficulty kIntermediate = PUZZLE_DIFFICULTY_INTERMEDIATE;
constexpr ePuzzleDifficulty kPro = PUZZLE_DIFFICULTY_PRO;

TEST(TournamentScoreTest, SolvesScoreAsTheTablesGive) {
    constexpr float kIn = 100.0f, kLate = 900.0f, kTarget = 240.0f;
    const struct {
        const char* what;
        MNTournamentSolve solve;
        int score;
    } cases[] = {
        {"first solve within the target",
         {PUZZLE_FLAG_SUDOKU, kBeginner, true, {}, 0, kIn, kTarget},
         1000},
        {"later solve within the target",
         {PUZZLE_FLAG_FITWORD, kBeginner, false, {}, 0, kIn, kTarget},
         900},
        {"solve past the target",
         {PUZZLE_FLAG_WORDSEARCH, kPro, false, {}, 0, kLate, kTarget},
         600},
        {"fitword errors cost 72 at intermediate",
         {PUZZLE_FLAG_FITWORD, kIntermediate, false, {}, 2, kIn, kTarget},
         500 - 144 + 300},
        {"hints cost by kind",
         {PUZZLE_FLAG_WORDSEARCH, kIntermediate, true, {1, 1, 1}, 0, kIn, kTarget},
         700 - 500 + 100 + 200},
        {"a sudoku's hints go below zero",
         {PUZZLE_FLAG_SUDOKU, kPro, false, {3, 2, 1}, 0, kLate, kTarget},
         500 - 300 - 350 - 250 + 100},
        {"a crossword's hints stop at zero, its errors do not",
         {PUZZLE_FLAG_CROSSWORD, kBeginner, true, {20, 9, 9}, 1, kIn, kTarget},
         0 - 50 + 200},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MNTournament::ScoreOf(c.solve), c.score) << c.what;
    }
}

TEST(TournamentScoreTest, TargetTimesByKindAndDifficulty) {
    EXPECT_FLOAT_EQ(MNTournament::TargetTime(PUZZLE_FLAG_SUDOKU, kBeginner, false), 780.0f);
    EXPECT_FLOAT_EQ(MNTournament::TargetTime(PUZZLE_FLAG_SUDOKU, kBeginner, true), 220.0f);
    EXPECT_FLOAT_EQ(MNTournament::TargetTime(PUZZLE_FLAG_SUDOKU, kIntermediate, true), 1320.0f);
    EXPECT_FLOAT_EQ(MNTournament::TargetTime(PUZZLE_FLAG_WORDSEARCH, kPro, false), 780.0f);
    EXPECT_FLOAT_EQ(MNTournament::TargetTime(PUZZLE_FLAG_FITWORD, kIntermediate, false), 280.0f);
    EXPECT_FLOAT_EQ(MNTournament::TargetTime(PUZZLE_FLAG_CROSSWORD, kPro, false), 1080.0f);
}

class TournamentTest : public ModeWorldTest {
protected:
    void SetUp() override {
        ModeWorldTest::SetUp();
        World().GetProfile()->SetMusicVolume(4);
        MNSound::SetMusicVolume(4);
    }

    MNTournament& Mode() { return SubGame<MNTournament>(SUBGAME_TOURNAMENT); }
    MNTournamentMenu& Menu() { return *Mode().GetMenu(); }
    MNTournamentData& Data() { return Profile().tournamentData; }
    MNTournamentPuzzleData& Slot(int i) { return Data().m_puzzleDataList[i]; }
    void Enter() { ModeWorldTest::Enter(SUBGAME_TOURNAMENT); }

    // A button at its place on the menu, as fractions of the display.
    void Press(float fx, float fy) {
        ClickAt(static_cast<int>(fx * TUIArt::DisplayWidth()),
                static_cast<int>(fy * TUIArt::DisplayHeight()) + 20);
    }
    // A slot button pressed, then the pointer moved off the ladder, so that no slot is
    // previewed.
    void PressSlot(int number) {
        Press(Menu().GetSlotButton(number)->m_fX, Menu().GetSlotButton(number)->m_fY);
        Run({PointAt(600, 40), ""});
    }

    // The slots' statuses as digits, slot 1 first, and set from such digits.
    std::string Statuses() {
        std::string digits;
        for (const auto& slot : Data().m_puzzleDataList) {
            digits += static_cast<char>('0' + slot.m_puzzleStatus);
        }
        return digits;
    }
    void SetStatuses(const std::string& digits) {
        for (int i = 0; i < MN_TOURNAMENT_SLOTS; ++i) {
            Slot(i).m_puzzleStatus = static_cast<char>(digits[i] - '0');
        }
    }

    // The running puzzle ended by the debug key, and its anagram after it, if one comes.
    void SolveRunning() {
        ContinueIntro(Mode());
        DebugKey();
        if (Mode().IsAnagramRunning()) {
            Frames(2);
            DebugKey();
        }
    }
};

TEST_F(TournamentTest, ANewTournamentDrawsTwentyPuzzlesWithTheLevelsPassesAndTargets) {
    Data().m_highestDifficultyUnlocked = 2;
    for (int d = 0; d < 3; ++d) {
        SCOPED_TRACE(d);
        const int saves = SaveWrites();
        Mode().OnNewTournament(DifficultyOfLevel(d));
        Frames(3);
        EXPECT_EQ(SaveWrites(), saves + 1);
        EXPECT_EQ(Statuses(), "10000000000000000000");
        EXPECT_EQ(Data().m_numPasses, MNTournament::kPassesByDifficulty[d]);
        EXPECT_EQ(Data().m_numPassesUsed, 0);
        EXPECT_EQ(Data().m_currentDifficulty, d);
        EXPECT_TRUE(Data().m_bNewGame);
        std::set<int> ids;
        for (const auto& slot : Data().m_puzzleDataList) {
            ids.insert(slot.m_puzzleId);
            EXPECT_EQ(slot.m_score, 0);
            EXPECT_EQ(slot.m_fCompleteTime, 0.0f);
            EXPECT_EQ(slot.m_fTargetTime,
                      MNTournament::TargetTime(slot.m_puzzleType, DifficultyOfLevel(d), false));
        }
        EXPECT_EQ(ids.size(), 20u);
        EXPECT_EQ(ids.count(-1), 0u);
    }
}

TEST_F(TournamentTest, AThinOrDamagedBankGivesWhatItHasOrIsRefusedAndNeverHangs) {
    // Beginner puzzles only: a small sudoku, a wordsearch, and a sudoku entry that leads to a
    // wordsearch's record.
    PuzzleBankWriter writer;
    SudokuData sudoku = puzzle_test::MakeSudoku(1, 6);
    sudoku.difficulty = BankValueOf(PUZZLE_DIFFICULTY_BEGINNER);
    writer.AddSudoku(sudoku);
    writer.AddWordsearch(puzzle_test::MakeWordsearch(2));
    writer.AddWordsearch(puzzle_test::MakeWordsearch(3));
    std::vector<u8> bytes = puzzle_test::BankBytes(writer);
    constexpr std::size_t kThirdEntryTypeAt = 36 + 2 * 16 + 8;
    bytes[kThirdEntryTypeAt] = PUZZLE_TYPE_SUDOKU;
    kMemoryIOStream stream(bytes.data(), static_cast<unsigned int>(bytes.size()), K_IO_ACCESS_READ);
    struct DiscBankBack {
        ~DiscBankBack() { MNProfile::GetPuzzlebank()->Load(MNProfileManager::GetLanguage()); }
    } discBankBack;
    ASSERT_TRUE(MNProfile::GetPuzzlebank()->Load(&stream));

    test_support::LogCapture log;
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    EXPECT_TRUE(log.Contains("ERROR: sudoku 3 cannot be read; drawn again"));
    EXPECT_EQ(Statuses(), "10000000000000000000");
    for (const auto& slot : Data().m_puzzleDataList) {
        EXPECT_TRUE(slot.m_puzzleId == 1 || slot.m_puzzleId == 2) << slot.m_puzzleId;
        EXPECT_EQ(slot.m_fTargetTime, slot.m_puzzleId == 1 ? 220.0f : 180.0f);
    }
    Data().m_highestDifficultyUnlocked = 2;
    Slot(0).m_puzzleStatus = SLOT_PERFECT;
    const std::string statuses = Statuses();
    Enter();
    for (float button : {0.60f, 0.70f}) { // intermediate and pro: no puzzles at all
        Press(0.5f, button);
        EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_DIFFICULTY);
        EXPECT_EQ(Statuses(), statuses) << "the ladder is kept";
        EXPECT_EQ(Data().m_currentDifficulty, 0);
    }
    EXPECT_TRUE(log.Contains("ERROR: no tournament at difficulty 2"));
}

TEST_F(TournamentTest, EachResultOfASlotMovesTheLadderAndThePasses) {
    enum Action { SOLVE, FAIL, ABANDON, PASS };
    const struct {
        const char* what;
        const char* before;
        int used;
        int slot;
        Action action;
        float target;
        const char* after;
        int usedAfter;
        int score; // of the slot afterwards
        int next;  // the slot number chosen after the result, 0 when not asked
    } cases[] = {
        {"first solve within the target", "10000000000000000000", 0, 0, SOLVE, 600.0f,
         "51000000000000000000", 0, 1000, 2},
        {"solve past the target", "10000000000000000000", 0, 0, SOLVE, 0.0f, "41000000000000000000",
         0, 600, 2},
        {"a passed slot solved gives its pass back", "33100000000000000000", 2, 0, SOLVE, 600.0f,
         "43100000000000000000", 1, 900, 2},
        {"solving opens the first locked slot after finished ones", "33314000000000000000", 3, 3,
         SOLVE, 600.0f, "33354100000000000000", 3, 1000, 6},
        {"ended unsolved", "10000000000000000000", 0, 0, FAIL, 600.0f, "20000000000000000000", 0, 0,
         2},
        {"abandoned: a pass spent, the next opened", "10000000000000000000", 0, 0, ABANDON, 600.0f,
         "31000000000000000000", 1, 0, 2},
        {"abandoned with the last pass: nothing opens", "10000000000000000000", 6, 0, ABANDON,
         600.0f, "30000000000000000000", 7, 0, 2},
        {"a passed slot passed again costs nothing", "31000000000000000000", 1, 0, PASS, 600.0f,
         "31000000000000000000", 1, 0, 0},
        {"the last slot passed opens nothing", "55555555555555555551", 0, 19, PASS, 600.0f,
         "55555555555555555553", 1, 0, 0},
    };
    BecomeDebugProfile();
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    Enter();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetStatuses(c.before);
        Data().m_numPassesUsed = static_cast<char>(c.used);
        Slot(c.slot).m_fTargetTime = c.target;
        Slot(c.slot).m_score = 0;
        const int saves = SaveWrites();
        if (c.action == PASS) {
            Mode().OnPassPuzzle(c.slot);
        } else {
            Mode().OnStartPuzzle(c.slot);
            ASSERT_NE(Mode().GetPuzzleScreen(), nullptr);
            EXPECT_EQ(Data().m_currentPuzzle, c.slot);
            if (c.action == SOLVE) {
                SolveRunning();
            } else if (c.action == FAIL) {
                Frames(2);
                Mode().GetPuzzleScreen()->GameOverSignal();
            } else {
                Frames(2);
                Mode().AbandonPuzzle();
            }
            EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_RESULTS);
            EXPECT_EQ(Menu().GetPuzzleNumber(), c.next);
        }
        Frames(3);
        EXPECT_EQ(SaveWrites(), saves + 1);
        EXPECT_EQ(Statuses(), c.after);
        EXPECT_EQ(Data().m_numPassesUsed, c.usedAfter);
        EXPECT_EQ(Slot(c.slot).m_score, c.score);
    }
}

TEST_F(TournamentTest, ADamagedSaveIsPlayedAndScoredAsTheScreenThatRuns) {
    BecomeDebugProfile();
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    Slot(0).m_puzzleType = PUZZLE_FLAG_WORDSEARCH;
    Slot(0).m_puzzleId =
        MNPuzzleMode::DrawPuzzleId(PUZZLE_FLAG_WORDSEARCH, PUZZLE_DIFFICULTY_BEGINNER);
    Enter();
    Mode().OnStartPuzzle(0);
    ContinueIntro(Mode());
    Mode().QuitPuzzle();
    // The slot now says sudoku where the stored puzzle is a wordsearch, and the current slot
    // lies outside the ladder.
    Slot(0).m_puzzleType = PUZZLE_FLAG_SUDOKU;
    Data().m_currentPuzzle = 57;
    Enter();
    ASSERT_NE(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(Mode().GetPuzzleScreen()->GetPuzzleType(), PUZZLE_FLAG_WORDSEARCH);
    SolveRunning();
    EXPECT_EQ(Data().m_currentPuzzle, 0);
    EXPECT_EQ(Slot(0).m_puzzleStatus, SLOT_PERFECT);
    EXPECT_EQ(Slot(0).m_score, 1000);
    EXPECT_EQ(TopId(), "tournament_menu");
}

TEST_F(TournamentTest, LeavingWithAnAnagramPlayingAndAnotherWaitingLeavesNoBlockBehind) {
    BecomeDebugProfile();
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    // Crosswords until one brings an anagram, solved into it; then the mode left and made
    // anew. The first round fills the shared caches of fonts and banks.
    const auto playIntoAnagramAndLeave = [this] {
        Enter();
        for (int i = 0; i < 40 && !Mode().IsAnagramRunning(); ++i) {
            Slot(0).m_puzzleType = PUZZLE_FLAG_CROSSWORD;
            Slot(0).m_puzzleId =
                MNPuzzleMode::DrawPuzzleId(PUZZLE_FLAG_CROSSWORD, PUZZLE_DIFFICULTY_BEGINNER);
            Slot(0).m_puzzleStatus = SLOT_OPEN;
            Mode().OnStartPuzzle(0);
            if (Mode().GetWaitingAnagram() != nullptr) {
                ContinueIntro(Mode());
                DebugKey();
            } else {
                Mode().AbandonPuzzle();
            }
        }
        ASSERT_NE(Mode().GetWidgetGame(), nullptr);
        ModeWorldTest::Enter(SUBGAME_FRONTEND);
        Mode().Deinit();
        Mode().Init();
    };
    playIntoAnagramAndLeave();
    const s32 blocks = kPlatform_GetMemStats().numAllocs;
    playIntoAnagramAndLeave();
    EXPECT_EQ(kPlatform_GetMemStats().numAllocs, blocks);
}

TEST_F(TournamentTest, TheRecordsDriveTheTargetTimeWarning) {
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    Slot(0).m_fTargetTime = 2.0f;
    Enter();
    Mode().OnStartPuzzle(0);
    ContinueIntro(Mode());
    Frames(40);
    const int beat = MNSound::GetLastSoundEffect();
    EXPECT_TRUE(beat == SFX_TICK || beat == SFX_TOCK) << beat;
    Frames(100);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_TARGET_EXPIRED);
}

TEST_F(TournamentTest, TheCurrentSlotGivesItsTargetToAPuzzleOfItsKindOnly) {
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    Slot(3).m_puzzleType = PUZZLE_FLAG_FITWORD;
    Slot(3).m_fTargetTime = 42.0f;
    const struct {
        int current, kind;
        float target;
    } cases[] = {
        {3, PUZZLE_FLAG_FITWORD, 42.0f},
        {3, PUZZLE_FLAG_SUDOKU, MNPuzzleRules::kNoTarget},
        {-1, PUZZLE_FLAG_FITWORD, MNPuzzleRules::kNoTarget},
    };
    for (const auto& c : cases) {
        Data().m_currentPuzzle = c.current;
        EXPECT_EQ(Mode().PuzzleTargetTime(c.kind), c.target) << c.current << " " << c.kind;
    }
}

// The ladder finished: every slot complete, the total as given.
class TournamentEndTest : public TournamentTest {
protected:
    void Finish(int total, int difficulty, int unlocked) {
        Mode().OnNewTournament(DifficultyOfLevel(difficulty));
        SetStatuses("55555555555555555554");
        for (auto& slot : Data().m_puzzleDataList) {
            slot.m_score = total / MN_TOURNAMENT_SLOTS;
        }
        Data().m_highestDifficultyUnlocked = static_cast<char>(unlocked);
        Data().m_bNewGame = false;
        Data().m_currentPuzzle = 19;
        Enter();
        Menu().PostGameMenu();
        Press(0.5f, 0.83f); // the result's continue
    }
};

TEST_F(TournamentEndTest, AFailedTournamentPlaysItsJingleAndBringsTheMusicBack) {
    Finish(600, 0, 0);
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_FAILED);
    Frames(60);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_RESULT_POOR) << "after the fade";
    EXPECT_EQ(MNSound::GetMusicVolume(), 0);
    Press(0.5f, 0.80f);
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_PLAY_AGAIN);
    Frames(60);
    EXPECT_EQ(MNSound::GetMusicVolume(), 4);
}

TEST_F(TournamentEndTest, AFadeCutShortByLeavingOrByAPuzzleGivesTheMusicBack) {
    Finish(12000, 0, 0);
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_SCORE);
    EXPECT_STREQ(Menu().GetRankString(), kText::Text(401));
    Frames(20);
    EXPECT_LT(MNSound::GetMusicVolume(), 4);
    ModeWorldTest::Enter(SUBGAME_FRONTEND);
    EXPECT_EQ(MNSound::GetMusicVolume(), 4);

    Finish(12000, 0, 0);
    Frames(60);
    EXPECT_EQ(MNSound::GetLastSoundEffect(), SFX_RESULT_GOOD);
    Press(0.5f, 0.80f); // continue: the music fades back in
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_SUCCESS);
    Press(0.5f, 0.70f); // play now: intermediate
    EXPECT_EQ(Data().m_highestDifficultyUnlocked, 1);
    EXPECT_EQ(Data().m_currentDifficulty, 1);
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_SELECT);
    ASSERT_LT(MNSound::GetMusicVolume(), 4);
    Press(0.75f, 0.60f); // play slot 1 before the fade is done
    EXPECT_NE(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(MNSound::GetMusicVolume(), 4);
}

TEST_F(TournamentEndTest, WinningEachLevelOpensTheNextUntilOnlyPlayingAgainIsLeft) {
    const struct {
        int difficulty, unlocked;
        MNTournamentMenu::eScreen screen;
        int unlockedAfter;
    } cases[] = {{0, 0, MNTournamentMenu::SCREEN_SUCCESS, 1},
                 {1, 1, MNTournamentMenu::SCREEN_SUCCESS, 2},
                 {2, 2, MNTournamentMenu::SCREEN_PLAY_AGAIN, 2},
                 {0, 2, MNTournamentMenu::SCREEN_PLAY_AGAIN, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.difficulty * 10 + c.unlocked);
        Finish(15000, c.difficulty, c.unlocked);
        Press(0.5f, 0.80f);
        EXPECT_EQ(Menu().GetShownScreen(), c.screen);
        Press(0.5f, c.screen == MNTournamentMenu::SCREEN_SUCCESS ? 0.85f : 0.80f); // later
        EXPECT_EQ(Data().m_highestDifficultyUnlocked, c.unlockedAfter);
        EXPECT_TRUE(Data().m_bNewGame);
        EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_FRONTEND);
    }
}

TEST_F(TournamentTest, TheLadderOffersOnlyWhatMayBePlayedOrPassed) {
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    Data().m_bNewGame = false;
    SetStatuses("53210000000000000000");
    Data().m_numPassesUsed = 7;
    Enter();
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_RESUME);
    Press(0.5f, 0.60f); // resume: the last open or passed slot is chosen
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_SELECT);
    EXPECT_EQ(Menu().GetPuzzleNumber(), 4);
    // A finished slot is shown done, apart from the locked ones, though neither is pressed.
    const struct {
        int number;
        bool bSelectable, bPlay, bPass, bDone;
    } slots[] = {{1, false, false, false, true},
                 {2, true, true, false, false},
                 {3, true, true, true, false},
                 {5, false, false, false, false}};
    for (const auto& s : slots) {
        SCOPED_TRACE(s.number);
        EXPECT_EQ(Menu().GetSlotButton(s.number)->m_bEnabled, s.bSelectable);
        EXPECT_EQ(Menu().GetSlotButton(s.number)->m_bDone, s.bDone);
        PressSlot(s.number);
        EXPECT_EQ(Menu().GetPuzzleNumber() == s.number, s.bSelectable);
        if (s.bSelectable) {
            EXPECT_EQ(Menu().GetPlayButton()->m_bEnabled, s.bPlay);
            EXPECT_EQ(Menu().GetPassButton()->m_bEnabled, s.bPass);
        }
    }
    Press(0.75f, 0.70f); // pass slot 3 with none left
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_NO_MORE_PASSES);
    EXPECT_EQ(Statuses(), "53210000000000000000");
}

TEST_F(TournamentTest, AHoveredSlotIsPreviewedUntilThePointerLeavesIt) {
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    Enter();
    Press(0.5f, 0.50f); // beginner: slot 1 chosen
    const TUIButton& slot7 = *Menu().GetSlotButton(7);
    Run({PointAt(static_cast<int>(slot7.m_fX * TUIArt::DisplayWidth()),
                 static_cast<int>(slot7.m_fY * TUIArt::DisplayHeight()) + 20),
         "", ""});
    EXPECT_EQ(Menu().GetPuzzleNumber(), 7);
    EXPECT_FALSE(Menu().GetPlayButton()->m_bEnabled) << "slot 7 is locked";
    Run({PointAt(600, 40), "", ""});
    EXPECT_EQ(Menu().GetPuzzleNumber(), 1);
    EXPECT_TRUE(Menu().GetPlayButton()->m_bEnabled);
}

TEST_F(TournamentTest, ASlotWhosePuzzleCannotBeReadLeavesTheLadderUp) {
    Enter();
    Press(0.5f, 0.50f); // beginner
    Slot(0).m_puzzleId = 999999;
    Press(0.75f, 0.60f); // play
    EXPECT_EQ(Mode().GetPuzzleScreen(), nullptr);
    EXPECT_EQ(LayerIds(), "bg menu");
    EXPECT_TRUE(Menu().IsOpen());
    Frames(3);
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_SELECT);
    EXPECT_EQ(World().GetCurrentSubGameIndex(), SUBGAME_TOURNAMENT);
}

TEST_F(TournamentTest, ResumingAFinishedLadderGoesToItsEndWithSlotTwentyChosen) {
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    Data().m_bNewGame = false;
    SetStatuses("55555555552555555553");
    Enter();
    Press(0.5f, 0.60f);
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_COMPLETE_WITH_PASSES);
    EXPECT_EQ(Menu().GetPuzzleNumber(), 20);
    Press(0.5f, 0.65f); // complete all: the first open or passed slot
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_SELECT);
    EXPECT_EQ(Menu().GetPuzzleNumber(), 20);
}

// The menu over its background after a second of motion, the pointer resting off it.
class TournamentGoldenTest : public TournamentTest {
protected:
    png_golden::Image Picture() {
        Run({PointAt(620, 90), ""});
        return game_golden::PictureOverBackground(
            Manager().GetLayer(Manager().GetNumLayers() - 1)->GetTopUI(), m_surface, kFrame);
    }
};

TEST_F(TournamentGoldenTest, LadderWithEveryStatus) {
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_INTERMEDIATE);
    Data().m_bNewGame = false;
    SetStatuses("54352100000000000000");
    Data().m_numPassesUsed = 2;
    Enter();
    Press(0.5f, 0.60f); // resume: slot 6 chosen
    EXPECT_TRUE(png_golden::MatchesGolden("tournament_ladder", Picture()));
}

// Slots 1 to 19 finished with grey ticks, slot 20 open; the same ladder with black ticks tells
// the ticks' pixels from the numbers'.
TEST_F(TournamentGoldenTest, TicksStandClearOfTheNumbers) {
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    Data().m_bNewGame = false;
    SetStatuses("44444444444444444441");
    Enter();
    Press(0.5f, 0.60f); // resume: slot 20 chosen
    const png_golden::Image grey = Picture();
    EXPECT_TRUE(png_golden::MatchesGolden("tournament_ladder_ticks", grey));
    SetStatuses("55555555555555555551");
    const png_golden::Image black = Picture(); // the ticks alone change
    for (int number = 1; number < MN_TOURNAMENT_SLOTS; ++number) {
        SCOPED_TRACE(number);
        // The button's top centre, where its tick is placed; the button is 40 x 38.
        const int left = static_cast<int>(Menu().GetSlotButton(number)->m_fX * grey.width) - 20;
        const int top = static_cast<int>(Menu().GetSlotButton(number)->m_fY * grey.height);
        int numberBottom = -1;
        int tickTop = 1000;
        for (int y = top + 2; y < top + 36; ++y) { // inside the rounded corners
            for (int x = left + 3; x < left + 38; ++x) {
                const size_t i = static_cast<size_t>(y) * grey.width + static_cast<size_t>(x);
                if (grey.rgb[i] != black.rgb[i]) {
                    tickTop = std::min(tickTop, y);
                } else if (colour_contrast::Luminance(grey.rgb[i]) < 0.6) { // ink, or its edge
                    numberBottom = std::max(numberBottom, y);
                }
            }
        }
        ASSERT_GE(numberBottom, 0);
        EXPECT_GT(tickTop, numberBottom + 1) << "the tick below the number, a clear row between";
    }
}

TEST_F(TournamentGoldenTest, ScoreWithItsRank) {
    Mode().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
    Data().m_bNewGame = false;
    SetStatuses("55555555555555555555");
    for (int i = 0; i < MN_TOURNAMENT_SLOTS; ++i) {
        Slot(i).m_score = 700 + 10 * i;
    }
    Enter();
    Press(0.5f, 0.60f); // resume: every slot done, the score
    EXPECT_EQ(Menu().GetShownScreen(), MNTournamentMenu::SCREEN_SCORE);
    EXPECT_TRUE(png_golden::MatchesGolden("tournament_score", Picture()));
}

} // namespace
