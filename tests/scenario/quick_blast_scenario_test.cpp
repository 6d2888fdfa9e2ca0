// Quick Blast in the real game, headless, by input script alone: from power-on the debug
// profile is made and a run is set up behind the warning with a typed name; its sudoku is
// solved with the debug key, the fitword that follows is left through the pause screen's end
// of the run, and the results and the graph of the one score show. Checked through pictures
// and the save file.
#include "game_run.h"
#include "png_golden.h"

#include <services/puzzletypes.h>

#include <gtest/gtest.h>

namespace quick_blast_scenario {

using namespace Kelvo_lib;
using game_run::Place;

// The main menu; the Quick Blast menu; a puzzle's intro, the fitword's menu button and the
// pause screen; the results and graph beside their panel.
constexpr Place kQuickBlast{320, 164}, kNewRun{146, 268}, kYes{320, 268}, kEditName{160, 149},
    kNameSave{320, 367}, kDone{320, 417}, kContinue{320, 270}, kFitwordMenu{118, 455},
    kEndRun{320, 263}, kEndRunYes{320, 114}, kResultsContinue{192, 367}, kGraphDone{192, 417};

// The centre of a letter's key on the Quick Blast name screen's keyboard, whose keys lie 34
// pixels apart.
Place NameKey(char letter) {
    const int index = letter - 'A';
    return {176 + 34 * (index % 9), 176 + 34 * (index / 9)};
}

void Type(game_run::Script& script, const char* letters, Place (*key)(char)) {
    for (; *letters != '\0'; ++letters) {
        script.Press(key(*letters));
    }
}

// The script and the frames of its pictures.
struct ScriptedRun {
    std::string script;
    int resultsFrame, graphFrame, lastFrame;
};

ScriptedRun RunScript() {
    game_run::Script script;
    script.MakeFirstProfile("ZAVIVIRI");
    script.Press(kQuickBlast, 30);
    script.Press(kNewRun);
    script.Press(kYes, 20);
    script.Press(kEditName, 20);
    Type(script, "QB", NameKey);
    script.Press(kNameSave);
    script.Press(kDone, 70);
    script.Press(kContinue, 30); // the sudoku
    script.DebugKey(30);
    script.Press(kContinue, 30); // the fitword
    script.Press(kFitwordMenu, 20);
    script.Press(kEndRun);
    script.Press(kEndRunYes, 30);
    const int resultsFrame = script.frame - 5;
    script.Press(kResultsContinue, 30);
    const int graphFrame = script.frame - 5;
    script.Press(kGraphDone, 30);
    return {script.text, resultsFrame, graphFrame, script.frame};
}

class QuickBlastScenarioTest : public game_run::GameRunTest {};

TEST_F(QuickBlastScenarioTest, ARunSetUpSolvedEndedAndKeptInTheHistory) {
    const ScriptedRun run = RunScript();
    std::string log;
    ASSERT_EQ(RunGame(run.script, run.lastFrame,
                      Screenshot("quick_blast_run_results", run.resultsFrame) +
                          Screenshot("quick_blast_run_graph", run.graphFrame),
                      log),
              0)
        << log;
    EXPECT_TRUE(ShotMatches("quick_blast_run_results"));
    EXPECT_TRUE(ShotMatches("quick_blast_run_graph"));

    MNSaveData save{};
    ASSERT_TRUE(game_run::ReadSave(s_dir, save));
    const MNSaveProfileData& profile = save.profiles[0];
    const MNQuickBlastData& record = profile.quickblastData;
    EXPECT_STREQ(record.m_name, "QB");
    EXPECT_FALSE(record.m_bNewGame);
    EXPECT_GE(record.m_statList[0].m_score, 1000) << "the solved sudoku's bonuses";
    EXPECT_EQ(record.m_statList[1].m_score, -1);
    EXPECT_EQ(record.m_statOffset, 0);
    EXPECT_EQ(record.m_currentScore, 0);
    EXPECT_GE(profile.recent[PUZZLE_TYPE_SUDOKU - 1][0], 0) << "a sudoku first";
    EXPECT_GE(profile.recent[PUZZLE_TYPE_FITWORD - 1][0], 0) << "then a fitword";
    EXPECT_EQ(profile.recent[PUZZLE_TYPE_WORDSEARCH - 1][0], -1);
}

} // namespace quick_blast_scenario
