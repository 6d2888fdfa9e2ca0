// Simply Puzzle in the real game, headless, by input script only: from power-on the debug
// profile is made and each of the four kinds is started at beginner and ended by the debug
// key; then a wordsearch with one word found is stopped and saved, and a new process on the
// same flash memory resumes it with its word and clock. Checked through pictures and the
// save file.
#include "game_run.h"
#include "png_golden.h"

#include <services/puzzletypes.h>

#include <gtest/gtest.h>

#include <unistd.h>

namespace simply_puzzle_scenario {

namespace fs = std::filesystem;
using namespace Kelvo_lib;
using game_run::At;
using game_run::Click;
using game_run::Place;

// Places on the main menu, the Simply Puzzle menu, a puzzle's intro and the pause screen, in
// pixels.
// The Simply Puzzle menu keeps the left 384 pixels beside its side panel.
constexpr Place kSimplyPuzzle{320, 212}, kDifficultyUp{290, 168}, kPlay{192, 416},
    kContinue{320, 270}, kPauseButton{118, 477}, kSaveAndQuit{320, 262};
constexpr Place kKinds[] = {{192, 218}, {192, 262}, {192, 306}, {192, 352}}; // crossword first
constexpr Place kWordsearch = kKinds[3];

struct Script : game_run::Script {
    // A drag with A held from one place to another along a row, a frame for each step.
    void Drag(Place from, int step, int steps) {
        text += std::to_string(frame) + " " + At(from.x, from.y) + "\n";
        text += std::to_string(frame + 2) + " hold A\n";
        for (int i = 1; i <= steps; ++i) {
            text += std::to_string(frame + 2 + 2 * i) + " " + At(from.x + step * i, from.y) + "\n";
        }
        frame += 4 + 2 * steps;
        text += std::to_string(frame) + " hold none\n";
        frame += 10;
    }
    // The debug profile made in slot 0, then Simply Puzzle at beginner.
    void ToBeginnerMenu() {
        MakeFirstProfile("ZAVIVIRI");
        Press(kSimplyPuzzle, 30);
        Press(kDifficultyUp); // from MINI, the debug profile's first
    }
    // A kind chosen and played past its intro.
    void StartPuzzle(Place kind) {
        Press(kind);
        Press(kPlay, 70);
        Press(kContinue, 40);
    }
};

constexpr int kMenuShot = 608;

std::string SolveEachKind(int& lastFrame) {
    Script script;
    script.ToBeginnerMenu();
    for (Place kind : kKinds) {
        script.StartPuzzle(kind);
        script.DebugKey(80);  // solved; a crossword's hidden word brings its anagram
        script.DebugKey(100); // the anagram solved too, or nothing on the menu
    }
    lastFrame = script.frame;
    return script.text;
}

std::string StopWordsearch() {
    Script script;
    script.ToBeginnerMenu();
    script.StartPuzzle(kWordsearch);
    script.Drag({113, 169}, 24, 6); // QUICKLY along the fourth row
    script.Press(kPauseButton, 40);
    script.Press(kSaveAndQuit);
    return script.text;
}

std::string ResumeWordsearch() {
    Script script;
    script.Press(game_run::kFirstSlot, 30); // the profile chosen: the main menu
    script.Press(kSimplyPuzzle, 130);       // the stored puzzle's intro
    script.Press(kContinue);
    return script.text;
}

class SimplyPuzzleScenarioTest : public game_run::GameRunTest {};

// One run serves every check: each test would start the game again.
TEST_F(SimplyPuzzleScenarioTest, EachKindStartedAtBeginnerAndSolvedWithTheDebugKey) {
    int lastFrame = 0;
    const std::string script = SolveEachKind(lastFrame);
    std::string log;
    ASSERT_EQ(RunGame(script, lastFrame + 10,
                      Screenshot("simply_puzzle_menu", kMenuShot) +
                          Screenshot("simply_puzzle_after_four", lastFrame),
                      log),
              0)
        << log;
    EXPECT_TRUE(ShotMatches("simply_puzzle_menu"));
    // Back on the menu with the last kind chosen: every puzzle ended by the key alone.
    EXPECT_TRUE(ShotMatches("simply_puzzle_after_four"));

    MNSaveData save{};
    ASSERT_TRUE(game_run::ReadSave(s_dir, save));
    ASSERT_EQ(save.activeProfile, 0);
    const MNSaveProfileData& profile = save.profiles[0];
    EXPECT_STREQ(profile.name, "ZAVIVIRI");
    for (int type = 0; type < MN_NUM_PUZZLE_TYPES; ++type) {
        EXPECT_GE(profile.recent[type][0], 0) << "bank type " << type + 1 << " was played";
        EXPECT_EQ(profile.recent[type][1], -1) << "bank type " << type + 1 << " only once";
    }
    EXPECT_FALSE(profile.simplypuzzleActivePuzzle.bActive) << "nothing left to resume";
}

TEST_F(SimplyPuzzleScenarioTest, StoppedWordsearchResumedAfterARestart) {
    std::string log;
    ASSERT_EQ(RunGame(StopWordsearch(), 850, "", log), 0) << log;
    MNSaveData stored{};
    ASSERT_TRUE(game_run::ReadSave(s_dir, stored));
    const SaveGameActivePuzzle& record = stored.profiles[0].simplypuzzleActivePuzzle;
    EXPECT_TRUE(record.bActive);
    EXPECT_EQ(record.type, static_cast<u32>(PUZZLE_FLAG_WORDSEARCH));

    // The same flash memory, not emptied: the found word and the clock come back.
    ASSERT_EQ(game_run::Run(s_dir, ResumeWordsearch(), 660,
                            Screenshot("simply_puzzle_resumed", 655), log),
              0)
        << log;
    EXPECT_TRUE(ShotMatches("simply_puzzle_resumed"));
}

} // namespace simply_puzzle_scenario
