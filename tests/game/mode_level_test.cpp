// The levels as the modes offer them and the difficulties they draw: a level chosen on a
// mode's menu, through its own controls, draws puzzles of that difficulty from the disc's
// bank, and only Fast and Fun at every level, or the debug profile by choice, draws MINI
// ones. A level's number taken for a difficulty draws MINI puzzles or the level below.
#include "mode_world_fixture.h"

#include <modes/mnfastandfun.h>
#include <modes/mnfastandfunmenu.h>
#include <modes/mnquickblast.h>
#include <modes/mnquickblastmenu.h>
#include <modes/mnsimplypuzzle.h>
#include <modes/mnsimplypuzzlemenu.h>
#include <modes/mntournament.h>

#include <ostream>
#include <vector>

using namespace Kelvo_lib;

namespace {

TEST(LevelNumbersTest, EveryNumberIsALevelAndNoneIsMini) {
    const struct {
        int number;
        ePuzzleDifficulty level;
        int saved; // the number the level is saved as
    } cases[] = {{-1, PUZZLE_DIFFICULTY_BEGINNER, 0},
                 {0, PUZZLE_DIFFICULTY_BEGINNER, 0},
                 {1, PUZZLE_DIFFICULTY_INTERMEDIATE, 1},
                 {2, PUZZLE_DIFFICULTY_PRO, 2},
                 {3, PUZZLE_DIFFICULTY_PRO, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(DifficultyOfLevel(c.number), c.level);
        EXPECT_EQ(LevelOf(c.level), c.saved);
    }
    EXPECT_EQ(NextLevel(PUZZLE_DIFFICULTY_BEGINNER), PUZZLE_DIFFICULTY_INTERMEDIATE);
    EXPECT_EQ(NextLevel(PUZZLE_DIFFICULTY_PRO), PUZZLE_DIFFICULTY_PRO);
    EXPECT_FALSE(IsLevel(PUZZLE_DIFFICULTY_MINI));
    EXPECT_FALSE(IsLevel(DifficultyOfBankValue(4)));
}

struct LevelCase {
    const char* name;
    int subGame;
    bool bDebugProfile;
    int entry; // the menu's level entry, from the first
    ePuzzleDifficulty drawn;
};
void PrintTo(const LevelCase& c, std::ostream* out) {
    *out << c.name;
}

class ModeLevelTest : public ModeWorldTest, public testing::WithParamInterface<LevelCase> {
protected:
    // The screen's first spinner turned to entry, as the player's arrows turn it.
    static void Spin(TUI& menu, TUIScreen* screen, int entry) {
        for (int i = 0; i < screen->m_componentList.Size(); ++i) {
            TUIComponent* const component = screen->m_componentList(i);
            if (component->m_type == TUI_TYPE_SPINNER) {
                static_cast<TUISpinner*>(component)->m_index = entry;
                menu.SpinnerPressed(screen, static_cast<TUISpinner*>(component));
                return;
            }
        }
        ADD_FAILURE() << "no spinner";
    }
    int Running(const MNPuzzleMode& mode) {
        const MNPuzzleUI* const screen = mode.GetPuzzleScreen();
        return screen != nullptr ? screen->GetPuzzleId() : -1;
    }

    // The puzzles drawn once the level's entry is chosen and play begins.
    std::vector<int> SimplyPuzzle(int entry) {
        auto& mode = SubGame<MNSimplyPuzzle>(SUBGAME_SIMPLYPUZZLE);
        MNSimplyPuzzleMenu& menu = *mode.GetMenu();
        Enter(SUBGAME_SIMPLYPUZZLE);
        Spin(menu, menu.GetChoiceScreen(), entry);
        menu.ButtonPressed(menu.GetChoiceScreen(), menu.GetPlayButton());
        std::vector<int> ids = {Running(mode)};
        Run({"hold RIGHT", "hold none"}); // the debug profile steps to the next of the bank
        ids.push_back(Running(mode));
        return ids;
    }
    std::vector<int> QuickBlast(int entry) {
        auto& mode = SubGame<MNQuickBlast>(SUBGAME_QUICKBLAST);
        Profile().quickblastData.m_bNewGame = false;
        Enter(SUBGAME_QUICKBLAST);
        Spin(*mode.GetMenu(), mode.GetMenu()->GetConfigScreen(), entry);
        mode.OnPlay();
        return {Running(mode)};
    }
    std::vector<int> Tournament(int entry) {
        Profile().tournamentData.m_highestDifficultyUnlocked = 2;
        Enter(SUBGAME_TOURNAMENT);
        ClickAt(320, 268 + 50 * entry); // the level's button
        std::vector<int> ids;
        for (const MNTournamentPuzzleData& slot : Profile().tournamentData.m_puzzleDataList) {
            ids.push_back(slot.m_puzzleId);
        }
        return ids;
    }
    std::vector<int> FastAndFun(int entry) {
        auto& mode = SubGame<MNFastAndFun>(SUBGAME_FASTANDFUN);
        MNFastAndFunMenu& menu = *mode.GetMenu();
        Profile().fastandfunData.m_mostBeginnerPuzzlesComplete = 15;
        Profile().fastandfunData.m_mostIntermediatePuzzlesComplete = 15;
        Enter(SUBGAME_FASTANDFUN);
        menu.ButtonPressed(menu.GetDifficultyScreen(),
                           menu.GetDifficultyButton(DifficultyOfLevel(entry)));
        ClickAt(192, 391); // play, beside the panel
        return {Running(mode)};
    }
    std::vector<int> ChooseAndPlay(const LevelCase& c) {
        switch (c.subGame) {
        case SUBGAME_SIMPLYPUZZLE:
            return SimplyPuzzle(c.entry);
        case SUBGAME_QUICKBLAST:
            return QuickBlast(c.entry);
        case SUBGAME_TOURNAMENT:
            return Tournament(c.entry);
        default:
            return FastAndFun(c.entry);
        }
    }
};

TEST_P(ModeLevelTest, TheLevelChosenDrawsItsDifficulty) {
    const LevelCase& c = GetParam();
    if (c.bDebugProfile) {
        BecomeDebugProfile();
    }
    const std::vector<int> ids = ChooseAndPlay(c);
    ASSERT_FALSE(ids.empty());
    for (const int id : ids) {
        SCOPED_TRACE(id);
        EXPECT_EQ(DifficultyOf(id), c.drawn);
    }
}

INSTANTIATE_TEST_SUITE_P(
    EachMode, ModeLevelTest,
    testing::Values(
        LevelCase{"SimplyPuzzleBeginner", SUBGAME_SIMPLYPUZZLE, false, 0,
                  PUZZLE_DIFFICULTY_BEGINNER},
        LevelCase{"SimplyPuzzlePro", SUBGAME_SIMPLYPUZZLE, false, 2, PUZZLE_DIFFICULTY_PRO},
        LevelCase{"DebugProfileMini", SUBGAME_SIMPLYPUZZLE, true, 0, PUZZLE_DIFFICULTY_MINI},
        LevelCase{"DebugProfileBeginner", SUBGAME_SIMPLYPUZZLE, true, 1,
                  PUZZLE_DIFFICULTY_BEGINNER},
        LevelCase{"QuickBlastBeginner", SUBGAME_QUICKBLAST, false, 0, PUZZLE_DIFFICULTY_BEGINNER},
        LevelCase{"QuickBlastIntermediate", SUBGAME_QUICKBLAST, false, 1,
                  PUZZLE_DIFFICULTY_INTERMEDIATE},
        LevelCase{"TournamentBeginner", SUBGAME_TOURNAMENT, false, 0, PUZZLE_DIFFICULTY_BEGINNER},
        LevelCase{"TournamentPro", SUBGAME_TOURNAMENT, false, 2, PUZZLE_DIFFICULTY_PRO},
        LevelCase{"FastAndFunBeginner", SUBGAME_FASTANDFUN, false, 0, PUZZLE_DIFFICULTY_MINI},
        LevelCase{"FastAndFunPro", SUBGAME_FASTANDFUN, false, 2, PUZZLE_DIFFICULTY_MINI}),
    [](const testing::TestParamInfo<LevelCase>& info) { return std::string(info.param.name); });

} // namespace
