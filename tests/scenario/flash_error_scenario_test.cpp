// Flash-memory errors while the game saves during play, in the real game, headless: a first
// run leaves a save holding the debug profile and a Tournament with slot 1 solved; each next
// run over a copy of it meets failed writes, a save file the flash memory cannot find, or a
// power cut, as the profile is chosen or slot 2 is solved. The game tells a flash error with
// Continue alone (pressed where a damaged file's dialog has "Delete file") and the save file
// stays whole.
#include "game_run.h"

namespace flash_error_scenario {

namespace fs = std::filesystem;
using namespace Kelvo_lib;
using game_run::Place;

// The Tournament menu and ladder, a puzzle's intro and results, the storage dialogs' lower
// button.
constexpr Place kTournament{320, 114}, kBeginner{320, 268}, kCarryOn{320, 317}, kPlay{480, 318},
    kIntroContinue{320, 270}, kResultsContinue{320, 431}, kLowerOption{320, 290};

// Where the flash error meets the run: the save of the chosen profile, or the save after
// slot 2 is solved.
enum class ErrorAt { ChosenProfile, SolvedPuzzle };

struct Script : game_run::Script {
    void SolveChosenSlot(ErrorAt errorAt) {
        Press(kPlay);
        Press(kIntroContinue);
        DebugKey(10);
        DebugKey(10);
        if (errorAt == ErrorAt::SolvedPuzzle) {
            Press(kLowerOption, 20);
        }
        Press(kResultsContinue, 60);
    }
};

std::string FirstRun(int& end) {
    Script script;
    script.MakeFirstProfile("ZAVIVIRI");
    script.Press(kTournament, 30);
    script.Press(kBeginner, 20);
    script.SolveChosenSlot(ErrorAt::ChosenProfile);
    end = script.frame;
    return script.text;
}

std::string NextRun(ErrorAt errorAt, int& end) {
    Script script;
    script.Press(game_run::kFirstSlot, 30);
    if (errorAt == ErrorAt::ChosenProfile) {
        script.Press(kLowerOption, 30);
    }
    script.Press(kTournament, 30);
    script.Press(kCarryOn, 30);
    script.SolveChosenSlot(errorAt);
    end = script.frame;
    return script.text;
}

class FlashErrorScenarioTest : public game_run::GameRunTest {
protected:
    static void SetUpTestSuite() {
        GameRunTest::SetUpTestSuite();
        int end = 0;
        std::string output;
        const std::string script = FirstRun(end);
        ASSERT_EQ(RunGame(script, end, "", output), 0) << output;
        fs::copy(s_dir / "nand", s_dir / "first", fs::copy_options::recursive);
    }
};

// The choice of the profile makes flash steps 1 to 9; none follows a failed save, so the cuts
// at 11 and 17 never come.
TEST_F(FlashErrorScenarioTest, ASaveThatFailsDuringPlayLeavesTheSaveFileWhole) {
    struct Case {
        const char* rules;
        ErrorAt errorAt;
    } const cases[] = {
        {"nand-write:access@1x2", ErrorAt::ChosenProfile},
        {"nand-open:noexists@3x6", ErrorAt::ChosenProfile},
        {"nand-open:noexists@5x6", ErrorAt::SolvedPuzzle},
        {"nand-open:noexists@5x6,nand-step:power-cut@11", ErrorAt::SolvedPuzzle},
        {"nand-open:noexists@5x6,nand-step:power-cut@17", ErrorAt::SolvedPuzzle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rules);
        fs::remove_all(s_dir / "nand");
        fs::copy(s_dir / "first", s_dir / "nand", fs::copy_options::recursive);
        int end = 0;
        const std::string script = NextRun(c.errorAt, end);
        const bool bShot = c.errorAt == ErrorAt::ChosenProfile;
        std::string output;
        EXPECT_EQ(game_run::Run(s_dir, script, end,
                                std::string(" --fault ") + c.rules +
                                    (bShot ? Screenshot("dialog_flash_error", 470) : ""),
                                output),
                  0)
            << output;
        if (bShot) {
            EXPECT_TRUE(ShotMatches("dialog_flash_error"));
        }
        MNSaveData save{};
        if (!game_run::ReadSave(s_dir, save)) {
            ADD_FAILURE() << "no whole save file";
            continue;
        }
        EXPECT_STREQ(save.profiles[0].name, "ZAVIVIRI");
        EXPECT_EQ(game_run::Statuses(save.profiles[0].tournamentData), "51000000000000000000")
            << "the save before slot 2 was solved";
    }
}

} // namespace flash_error_scenario
