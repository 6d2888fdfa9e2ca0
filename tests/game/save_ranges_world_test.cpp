// Save blocks made by hand, their checksum right, with the fields of one family of a mode
// record out of range: the game starts on each, the record is clamped or reset as it loads,
// and every mode goes on: its menu updates and draws, and a puzzle is chosen and played (a
// stopped one resumed and its clock drawn). The real world over the built disc; under the
// sanitizer build an overflow or a conversion out of range on the way stops the test.
#include "mode_world_fixture.h"

#include <modes/mnfastandfun.h>
#include <modes/mnquickblast.h>
#include <modes/mnquickblastmenu.h>
#include <modes/mnsimplypuzzle.h>
#include <modes/mntournament.h>
#include <modes/mntournamentmenu.h>
#include <puzzles/mnpuzzleclock.h>
#include <puzzles/wordsearch/mnwordsearchui.h>
#include <services/mnsaveranges.h>

#include <bit>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>

using namespace Kelvo_lib;

namespace {

constexpr float kHuge = 3.4e38f;
constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

bool IsTimeInRange(float seconds) {
    return std::isfinite(seconds) && seconds >= 0.0f && seconds <= MN_LONGEST_SECONDS;
}

// One family of fields out of range, and what the loaded record must hold.
struct DamageCase {
    const char* what;
    std::function<void(MNSaveProfileData&)> damage;
    std::function<void(const MNSaveProfileData&)> check;
};

class SaveRangesWorldTest : public ModeWorldTest {
protected:
    // A profile in the middle of every mode: a tournament ladder being played with its first
    // slot solved, a Quick Blast run set up with a history, Fast and Fun best runs, and a
    // wordsearch stopped in Simply Puzzle. The stopped clock's offset in its state is kept.
    MNSaveData PlayedBlock() {
        std::snprintf(Profile().name, sizeof(Profile().name), "ALICE");
        Profile().bUsed = 1;
        Tournament().OnNewTournament(PUZZLE_DIFFICULTY_BEGINNER);
        MNTournamentData& tournament = Profile().tournamentData;
        tournament.m_bNewGame = false;
        tournament.m_puzzleDataList[0].m_puzzleStatus = SLOT_COMPLETE;
        tournament.m_puzzleDataList[0].m_score = 900;
        tournament.m_puzzleDataList[1].m_puzzleStatus = SLOT_OPEN;
        MNQuickBlastData& quickBlast = Profile().quickblastData;
        quickBlast.m_bNewGame = false;
        quickBlast.m_statOffset = 2;
        quickBlast.m_statList[0].m_score = 4200;
        quickBlast.m_statList[1].m_score = 3100;
        Profile().fastandfunData.m_mostBeginnerPuzzlesComplete = 6;
        Enter(SUBGAME_SIMPLYPUZZLE);
        SimplyPuzzle().OnPlay(PUZZLE_FLAG_WORDSEARCH, PUZZLE_DIFFICULTY_BEGINNER);
        auto* const screen = static_cast<MNWordsearchUI*>(SimplyPuzzle().GetPuzzleScreen());
        m_stoppedClock =
            static_cast<size_t>(screen->GetWidget()->GetWordsearch()->GetNumWords()) + 1;
        Frames(2);
        SimplyPuzzle().QuitPuzzle();
        EXPECT_TRUE(Profile().simplypuzzleActivePuzzle.bActive);
        return MNProfileManager::GetSaveData();
    }

    // The world started again over a save file holding the block.
    void RestartOver(const MNSaveData& data) {
        std::vector<u8> file(5984, 0);
        WriteSaveData(data, file.data());
        delete m_game;
        m_nand.Write("title/puzzles/data/save.dat", file);
        m_game = new MNGame;
        World().Init();
        World().BeginPlay();
        World().SetActiveProfile(0);
    }

    MNTournament& Tournament() { return SubGame<MNTournament>(SUBGAME_TOURNAMENT); }
    MNQuickBlast& QuickBlast() { return SubGame<MNQuickBlast>(SUBGAME_QUICKBLAST); }
    MNSimplyPuzzle& SimplyPuzzle() { return SubGame<MNSimplyPuzzle>(SUBGAME_SIMPLYPUZZLE); }
    MNFastAndFun& FastAndFun() { return SubGame<MNFastAndFun>(SUBGAME_FASTANDFUN); }

    // The mode entered, its menu ticked and drawn.
    void EnterAndDraw(int subGame) {
        Enter(subGame);
        Frames(2);
        RenderTop();
    }
    void RenderTop() {
        Manager().GetLayer(Manager().GetNumLayers() - 1)->GetTopUI()->GetScreen()->Render();
    }
    void ExpectPuzzlePlaying(const char* mode) {
        EXPECT_EQ(TopId(), "game") << mode;
        Frames(2);
        Enter(SUBGAME_FRONTEND);
    }

    // A new ladder drawn when the record asks for one, then the first slot the ladder offers
    // started.
    void PlayTournament() {
        EnterAndDraw(SUBGAME_TOURNAMENT);
        MNTournamentMenu& menu = *Tournament().GetMenu();
        if (Profile().tournamentData.m_bNewGame) {
            ClickAt(static_cast<int>(0.5f * TUIArt::DisplayWidth()),
                    static_cast<int>(0.5f * TUIArt::DisplayHeight()) + 20); // beginner
        }
        int slot = 1;
        while (slot <= MN_TOURNAMENT_SLOTS && !menu.GetSlotButton(slot)->m_bEnabled) {
            ++slot;
        }
        ASSERT_LE(slot, MN_TOURNAMENT_SLOTS) << "no slot can be chosen";
        Tournament().OnStartPuzzle(slot - 1);
        ExpectPuzzlePlaying("Tournament");
    }
    void PlayQuickBlast() {
        EnterAndDraw(SUBGAME_QUICKBLAST);
        ASSERT_TRUE(QuickBlast().GetMenu()->GetPlayButton()->m_bEnabled);
        QuickBlast().OnPlay();
        ExpectPuzzlePlaying("Quick Blast");
    }
    // The stopped puzzle resumes with its clock drawn; without one, a sudoku is chosen.
    void PlaySimplyPuzzle() {
        const bool bStopped = Profile().simplypuzzleActivePuzzle.bActive;
        EnterAndDraw(SUBGAME_SIMPLYPUZZLE);
        if (bStopped) {
            ContinueIntro(SimplyPuzzle());
            RenderTop();
            // Loaded at most at the longest time, the clock has run on for a few frames.
            const float clock = SimplyPuzzle().GetPuzzleScreen()->GetTime();
            EXPECT_LT(clock, MN_LONGEST_SECONDS + 1.0f) << clock;
            EXPECT_GE(MNPuzzleClock::ShownSeconds(false, clock), 0);
        } else {
            SimplyPuzzle().OnPlay(PUZZLE_FLAG_SUDOKU, PUZZLE_DIFFICULTY_BEGINNER);
        }
        ExpectPuzzlePlaying("Simply Puzzle");
    }
    void PlayFastAndFun() {
        EnterAndDraw(SUBGAME_FASTANDFUN);
        FastAndFun().OnNewGame();
        FastAndFun().OnPlay(PUZZLE_DIFFICULTY_BEGINNER);
        ExpectPuzzlePlaying("Fast and Fun");
    }

    size_t m_stoppedClock = 0;
};

void SetStoppedClock(MNSaveProfileData& profile, size_t offset, float seconds) {
    const u32 bits = std::bit_cast<u32>(seconds);
    for (size_t i = 0; i < 4; ++i) {
        profile.simplypuzzleActivePuzzle.data[offset + i] = static_cast<u8>(bits >> (24 - 8 * i));
    }
}

TEST_F(SaveRangesWorldTest, EveryModeGoesOnOverRecordsOutOfRange) {
    const MNSaveData played = PlayedBlock();
    const size_t clock = m_stoppedClock;
    auto slots = [](MNSaveProfileData & p) -> auto& {
        return p.tournamentData.m_puzzleDataList;
    };
    const DamageCase cases[] = {
        {"tournament scores",
         [&](MNSaveProfileData& p) {
             for (auto& slot : slots(p)) {
                 slot.m_score = INT_MAX;
             }
             p.tournamentData.m_currentScore = INT_MIN;
             p.tournamentData.m_targetScore = -5;
         },
         [](const MNSaveProfileData& p) {
             EXPECT_EQ(p.tournamentData.m_puzzleDataList[7].m_score, MN_MOST_POINTS);
             EXPECT_EQ(p.tournamentData.m_currentScore, -MN_MOST_POINTS);
             EXPECT_EQ(p.tournamentData.m_targetScore, 0);
         }},
        {"tournament levels, passes and slot",
         [](MNSaveProfileData& p) {
             p.tournamentData.m_currentPuzzle = 57;
             p.tournamentData.m_currentDifficulty = 9;
             p.tournamentData.m_highestDifficultyUnlocked = -4;
             p.tournamentData.m_numPasses = 100;
             p.tournamentData.m_numPassesUsed = -1;
         },
         [](const MNSaveProfileData& p) {
             EXPECT_EQ(p.tournamentData.m_currentPuzzle, 0);
             EXPECT_EQ(p.tournamentData.m_currentDifficulty, 2);
             EXPECT_EQ(p.tournamentData.m_highestDifficultyUnlocked, 0);
             EXPECT_EQ(p.tournamentData.m_numPasses, MN_TOURNAMENT_SLOTS);
             EXPECT_EQ(p.tournamentData.m_numPassesUsed, 0);
         }},
        {"tournament passes used beyond the passes",
         [](MNSaveProfileData& p) {
             p.tournamentData.m_numPasses = 3;
             p.tournamentData.m_numPassesUsed = 20;
         },
         [](const MNSaveProfileData& p) { EXPECT_EQ(p.tournamentData.m_numPassesUsed, 3); }},
        {"tournament times",
         [&](MNSaveProfileData& p) {
             slots(p)[0].m_fCompleteTime = kHuge;
             slots(p)[1].m_fTargetTime = kNaN;
             slots(p)[2].m_fTargetTime = -kInfinity;
             slots(p)[3].m_fCompleteTime = -20.0f;
         },
         [](const MNSaveProfileData& p) {
             for (const auto& slot : p.tournamentData.m_puzzleDataList) {
                 EXPECT_TRUE(IsTimeInRange(slot.m_fTargetTime));
                 EXPECT_TRUE(IsTimeInRange(slot.m_fCompleteTime));
             }
             EXPECT_EQ(p.tournamentData.m_puzzleDataList[0].m_fCompleteTime, MN_LONGEST_SECONDS);
         }},
        {"tournament slot of unknown status",
         [&](MNSaveProfileData& p) { slots(p)[1].m_puzzleStatus = 9; },
         [](const MNSaveProfileData& p) {
             EXPECT_TRUE(p.tournamentData.m_bNewGame) << "the tournament is reset";
             EXPECT_EQ(p.tournamentData.m_puzzleDataList[0].m_puzzleId, -1);
         }},
        {"tournament slot of unknown kind, with a puzzle stopped in it",
         [&](MNSaveProfileData& p) {
             slots(p)[1].m_puzzleType = 3;
             p.tournamentActivePuzzle = p.simplypuzzleActivePuzzle;
         },
         [](const MNSaveProfileData& p) {
             EXPECT_TRUE(p.tournamentData.m_bNewGame) << "the tournament is reset";
             EXPECT_FALSE(p.tournamentActivePuzzle.bActive);
         }},
        {"tournament slot of a puzzle the bank does not hold",
         [&](MNSaveProfileData& p) { slots(p)[1].m_puzzleId = 999999; },
         [](const MNSaveProfileData& p) {
             EXPECT_TRUE(p.tournamentData.m_bNewGame) << "the tournament is reset";
         }},
        {"tournament slot of a puzzle of another kind, with a puzzle stopped in it",
         [&](MNSaveProfileData& p) {
             char& type = slots(p)[1].m_puzzleType;
             type = type == PUZZLE_FLAG_SUDOKU ? PUZZLE_FLAG_WORDSEARCH : PUZZLE_FLAG_SUDOKU;
             p.tournamentActivePuzzle = p.simplypuzzleActivePuzzle;
         },
         [](const MNSaveProfileData& p) {
             EXPECT_TRUE(p.tournamentData.m_bNewGame) << "the tournament is reset";
             EXPECT_FALSE(p.tournamentActivePuzzle.bActive);
         }},
        {"tournament ladder with nothing left to play",
         [&](MNSaveProfileData& p) { slots(p)[1].m_puzzleStatus = SLOT_PERFECT; },
         [](const MNSaveProfileData& p) {
             EXPECT_EQ(p.tournamentData.m_puzzleDataList[2].m_puzzleStatus, SLOT_OPEN);
         }},
        {"Quick Blast history",
         [](MNSaveProfileData& p) {
             p.quickblastData.m_statOffset = INT_MAX;
             p.quickblastData.m_statList[0].m_score = INT_MAX;
             p.quickblastData.m_statList[1].m_score = -7;
         },
         [](const MNSaveProfileData& p) {
             EXPECT_EQ(p.quickblastData.m_statOffset, MN_MOST_POINTS);
             EXPECT_EQ(p.quickblastData.m_statList[0].m_score, MN_MOST_POINTS);
             EXPECT_EQ(p.quickblastData.m_statList[1].m_score, -1);
         }},
        {"names longer than the keyboard takes",
         [](MNSaveProfileData& p) {
             std::snprintf(p.name, sizeof(p.name), "ALICEWONDERLAND");
             std::snprintf(p.quickblastData.m_name, sizeof(p.quickblastData.m_name),
                           "THE MARCH HARE AND THE HATTER");
         },
         [](const MNSaveProfileData& p) {
             EXPECT_STREQ(p.name, "ALICEWON");
             EXPECT_STREQ(p.quickblastData.m_name, "THE MARC");
         }},
        {"Quick Blast run",
         [](MNSaveProfileData& p) {
             p.quickblastData.m_currentScore = INT_MAX;
             p.quickblastData.m_puzzles = 0x71;
             p.quickblastData.m_difficulty = 7;
             p.quickblastData.m_fTimeLimit = kInfinity;
         },
         [](const MNSaveProfileData& p) {
             EXPECT_EQ(p.quickblastData.m_currentScore, MN_MOST_POINTS);
             EXPECT_EQ(p.quickblastData.m_puzzles, PUZZLE_FLAG_FITWORD);
             EXPECT_EQ(p.quickblastData.m_difficulty, 0);
             EXPECT_EQ(p.quickblastData.m_fTimeLimit, 1200.0f);
         }},
        {"Fast and Fun runs",
         [](MNSaveProfileData& p) {
             p.fastandfunData.m_currentPuzzle = INT_MAX;
             p.fastandfunData.m_mostBeginnerPuzzlesComplete = INT_MIN;
             p.fastandfunData.m_mostProPuzzlesComplete = INT_MAX;
         },
         [](const MNSaveProfileData& p) {
             EXPECT_EQ(p.fastandfunData.m_currentPuzzle, MN_MOST_POINTS);
             EXPECT_EQ(p.fastandfunData.m_mostBeginnerPuzzlesComplete, 0);
             EXPECT_EQ(p.fastandfunData.m_mostProPuzzlesComplete, MN_MOST_POINTS);
         }},
        {"stopped wordsearch with an endless clock",
         [&](MNSaveProfileData& p) { SetStoppedClock(p, clock, kHuge); },
         [](const MNSaveProfileData& p) { EXPECT_TRUE(p.simplypuzzleActivePuzzle.bActive); }},
        {"stopped puzzle of unknown kind",
         [](MNSaveProfileData& p) { p.simplypuzzleActivePuzzle.type = 3; },
         [](const MNSaveProfileData& p) { EXPECT_FALSE(p.simplypuzzleActivePuzzle.bActive); }},
    };
    for (const DamageCase& c : cases) {
        SCOPED_TRACE(c.what);
        MNSaveData damaged = played;
        c.damage(damaged.profiles[0]);
        RestartOver(damaged);
        ASSERT_EQ(std::string(Profile().name).rfind("ALICE", 0), 0u) << "the block is taken in";
        c.check(Profile());
        PlayTournament();
        PlayQuickBlast();
        PlaySimplyPuzzle();
        PlayFastAndFun();
    }
}

} // namespace
