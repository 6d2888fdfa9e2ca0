// A beginner tournament in the real game, headless, by input script only, over one flash
// memory and two processes: the debug profile starts a tournament, solves slot 1 within its
// target with the debug key, passes slot 2 and stops slot 3 with save and quit; the next
// process resumes slot 3 and solves the rest, the passed one last, and goes on from the score
// to the unlocked intermediate level, chosen for later. Checked through pictures, the save
// file read field by field and the sound the last seconds leave.
#include "game_run.h"
#include "png_golden.h"

#include <services/puzzletypes.h>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>
#include <set>

namespace tournament_scenario {

namespace fs = std::filesystem;
using namespace Kelvo_lib;
using game_run::Click;

struct Place {
    int x, y;
};
// The profile screen, its keyboard and the main menu; the Tournament menu's buttons at the
// fractions its screens place them (a button's row is 40 pixels below its top); a puzzle's
// intro, the Menu button that a crossword, fitword and wordsearch share (not a sudoku's: the
// run's ladder, drawn the same way each time, has a crossword in slot 3) and the pause screen.
constexpr Place kSlot0{320, 104}, kSave{320, 367}, kTournament{320, 114};
constexpr Place kBeginner{320, 268}, kPlay{480, 318}, kPass{480, 367}, kResultsContinue{320, 431},
    kCompleteAll{320, 342}, kScoreContinue{320, 417}, kPlayLater{320, 441};
constexpr Place kIntroContinue{320, 270}, kPauseButton{97, 472}, kSaveAndQuit{320, 262};
constexpr Place kRest{620, 60};

Place Key(char letter) {
    const int index = letter - 'A'; // nine keys a row from A, 38 pixels apart
    return {156 + 38 * (index % 9), 166 + 38 * (index / 9)};
}

struct Script {
    std::string text = game_run::StartPresses();
    int frame = 440;
    // A click takes five frames: waits are at least that.
    void Press(Place place, int wait = 8) {
        text += Click(frame, place.x, place.y);
        frame += wait;
    }
    void Rest(int wait) {
        text += std::to_string(frame) + " " + game_run::At(kRest.x, kRest.y) + "\n";
        frame += wait;
    }
    void DebugKey() {
        text += std::to_string(frame) + " hold 2\n" + std::to_string(frame + 4) + " hold none\n";
        frame += 10;
    }
    // The chosen slot played past its intro and solved; a second press ends the anagram a
    // crossword or fitword may bring (on the results screen it does nothing); the results
    // left for the ladder.
    void SolveChosenSlot() {
        Press(kPlay);
        SolveRunningPuzzle();
    }
    void SolveRunningPuzzle() {
        Press(kIntroContinue);
        DebugKey();
        DebugKey();
        Press(kResultsContinue);
    }
};

constexpr int kLadderShot = 620;

// Power-on, the debug profile made, a beginner tournament: slot 1 solved, slot 2 passed,
// slot 3 stopped and saved.
std::string FirstRun(int& end) {
    Script script;
    script.Press(kSlot0);
    for (const char* letter = "ZAVIVIRI"; *letter != '\0'; ++letter) {
        script.Press(Key(*letter), 10);
    }
    script.Press(kSave, 10);
    script.Press(kSlot0, 30);
    script.Press(kTournament, 30);
    script.Press(kBeginner, 10);
    script.Rest(kLadderShot + 10 - script.frame);
    script.SolveChosenSlot();
    script.Press(kPass);
    script.Press(kPlay, 20);
    script.Press(kIntroContinue, 60);
    script.Press(kPauseButton, 20);
    script.Press(kSaveAndQuit, 40);
    end = script.frame;
    return script.text;
}

// The profile chosen and the Tournament entered: slot 3 resumed and solved, then slots 4 to
// 20, then the passed slot 2 from the screen that offers to complete it; from the score on to
// the level it opens, chosen for later, back on the main menu.
std::string SecondRun(int& scoreFrame, int& end) {
    Script script;
    script.Press(kSlot0, 30);
    script.Press(kTournament, 30);
    script.SolveRunningPuzzle();
    for (int slot = 4; slot <= 20; ++slot) {
        script.SolveChosenSlot();
    }
    script.Press(kCompleteAll);
    script.SolveChosenSlot();
    script.Rest(20);
    scoreFrame = script.frame - 10; // the pointer resting off the buttons
    script.Press(kScoreContinue, 10);
    script.Press(kPlayLater, 10); // within the second the music takes to come back
    script.Rest(100);
    end = script.frame;
    return script.text;
}

// The loudness (root mean square of the samples) of the last seconds of a capture.
double TailLoudness(const fs::path& wav, double seconds) {
    std::ifstream file(wav, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
    constexpr size_t kHeader = 44;
    const size_t samples = static_cast<size_t>(seconds * 32000.0 * 2.0);
    if (bytes.size() < kHeader + samples * 2) {
        return 0.0;
    }
    double sum = 0.0;
    for (size_t i = bytes.size() - samples * 2; i + 1 < bytes.size(); i += 2) {
        const auto sample = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) |
                                                 (static_cast<uint8_t>(bytes[i + 1]) << 8));
        sum += static_cast<double>(sample) * sample;
    }
    return std::sqrt(sum / static_cast<double>(samples));
}

size_t DistinctIds(const MNTournamentData& tournament) {
    std::set<int> ids;
    for (const auto& slot : tournament.m_puzzleDataList) {
        ids.insert(slot.m_puzzleId);
    }
    return ids.count(-1) == 0 ? ids.size() : 0;
}

class TournamentScenarioTest : public game_run::GameRunTest {};

// One flash memory carries the tournament through the two runs.
TEST_F(TournamentScenarioTest, ABeginnerTournamentPlayedStoppedResumedAndWon) {
    int end = 0;
    std::string log;
    const std::string first = FirstRun(end);
    ASSERT_EQ(RunGame(first, end, Screenshot("tournament_run_ladder", kLadderShot), log), 0) << log;
    EXPECT_TRUE(ShotMatches("tournament_run_ladder")) << "a new ladder: passes used 0/7";
    MNSaveData save{};
    ASSERT_TRUE(game_run::ReadSave(s_dir, save));
    {
        const MNTournamentData& tournament = save.profiles[0].tournamentData;
        const SaveGameActivePuzzle& record = save.profiles[0].tournamentActivePuzzle;
        ASSERT_EQ(tournament.m_puzzleDataList[2].m_puzzleType, PUZZLE_FLAG_CROSSWORD)
            << "the script stops slot 3 through a crossword's Menu button";
        EXPECT_EQ(game_run::Statuses(tournament), "53100000000000000000");
        EXPECT_EQ(DistinctIds(tournament), 20u);
        EXPECT_EQ(tournament.m_puzzleDataList[0].m_score, 1000);
        EXPECT_EQ(tournament.m_numPasses, 7);
        EXPECT_EQ(tournament.m_numPassesUsed, 1);
        EXPECT_EQ(tournament.m_currentPuzzle, 2);
        EXPECT_FALSE(tournament.m_bNewGame);
        EXPECT_GT(tournament.m_puzzleDataList[2].m_fCompleteTime, 0.5f) << "stopped with its time";
        EXPECT_TRUE(record.bActive);
        EXPECT_EQ(record.type, static_cast<u32>(tournament.m_puzzleDataList[2].m_puzzleType));
        EXPECT_EQ(record.id, static_cast<u32>(tournament.m_puzzleDataList[2].m_puzzleId));
    }

    int scoreFrame = 0;
    const fs::path wav = s_dir / "second.wav";
    const std::string second = SecondRun(scoreFrame, end);
    ASSERT_EQ(game_run::Run(s_dir, second, end,
                            Screenshot("tournament_run_score", scoreFrame) + " --audio-out " +
                                wav.string(),
                            log),
              0)
        << log;
    EXPECT_TRUE(ShotMatches("tournament_run_score")) << "19,900 points, the highest rank";
    ASSERT_TRUE(game_run::ReadSave(s_dir, save));
    const MNTournamentData& tournament = save.profiles[0].tournamentData;
    EXPECT_EQ(tournament.m_highestDifficultyUnlocked, 1);
    EXPECT_EQ(tournament.m_currentDifficulty, 1) << "an intermediate ladder waits";
    EXPECT_EQ(game_run::Statuses(tournament), "10000000000000000000");
    EXPECT_EQ(DistinctIds(tournament), 20u);
    for (const auto& slot : tournament.m_puzzleDataList) {
        EXPECT_EQ(slot.m_score, 0);
        EXPECT_EQ(slot.m_fCompleteTime, 0.0f);
    }
    EXPECT_EQ(tournament.m_numPasses, 5);
    EXPECT_EQ(tournament.m_numPassesUsed, 0);
    EXPECT_EQ(tournament.m_targetScore, 700);
    EXPECT_EQ(tournament.m_currentPuzzle, 1) << "the passed slot, played last";
    EXPECT_TRUE(tournament.m_bNewGame);
    EXPECT_FALSE(save.profiles[0].tournamentActivePuzzle.bActive);
    // Left within the second of the music's fade: on the main menu it plays at its level.
    EXPECT_GT(TailLoudness(wav, 1.5), 300.0);
}

} // namespace tournament_scenario
