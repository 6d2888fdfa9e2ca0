// A frame of every screen of the game, headless over the build's disc image and its puzzle
// bank, beside the frame's copy alone: the title after the logo movies, the front end's
// profiles, keyboard, main menu, options and help, the Simply Puzzle menu, each puzzle
// being played (past its intro) at beginner and at pro, its hardest, the anagram a crossword's
// hidden word brings, the pause and hint screens over a puzzle, the Tournament's ladder and a
// crossword played from it, the Quick Blast menu, a sudoku in a run and the graph of a full
// history, the Fast and Fun menu and a small sudoku in its run, and Head to Head's choice of
// players, its menu, a sudoku between two players and the next player's screen over it. A mode's
// screens join the table below.
#include "support/simply_puzzle_steps.h"

#include <frontend/mnprofileui.h>
#include <modes/mnfastandfun.h>
#include <modes/mnfastandfunmenu.h>
#include <modes/mnheadtohead.h>
#include <modes/mnheadtoheadmenu.h>
#include <modes/mnquickblast.h>
#include <modes/mnquickblastmenu.h>
#include <modes/mnsimplypuzzle.h>
#include <modes/mnsimplypuzzlemenu.h>
#include <modes/mntournament.h>
#include <modes/mntournamentmenu.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/puzzletypes.h>

#include <framework/ksplashscreen.h>
#include <ui/kui.h>

#include <cstring>

namespace {

using namespace Kelvo_lib;
using bench::CloseTitle;
using bench::EnterMode;
using bench::ReachSimplyPuzzleMenu;
using bench::ScreenGame;
using bench::SimplyPuzzle;
using bench::StartPuzzle;

// Places on the profile screen, its keyboard, the main menu, a puzzle's intro, the
// wordsearch's buttons and the Quick Blast results' continue button, in pixels.
struct Place {
    int x, y;
};
constexpr Place kSlot0{320, 104}, kKeyA{156, 166}, kSave{320, 367}, kOptions{320, 362},
    kHelp{610, 466}, kHeadToHead{320, 312}, kContinue{bench::kContinueX, bench::kContinueY},
    kPauseButton{118, 477}, kHintButton{204, 477}, kBeginner{320, 270}, kResultsContinue{192, 367};

void Click(ScreenGame& game, Place place, int wait = 10) {
    game.Click(place.x, place.y, wait);
}

// The title screen as the start-up sequence leaves the game: after a logo movie.
bool ReachTitle(ScreenGame& game) {
    kSplashScreen::AddMovie("logo_puzzles", 1.0f, true);
    kSplashScreen::Start();
    for (int frame = 0; frame < 1000 && !kSplashScreen::IsFinished(); ++frame) {
        game.Frame();
    }
    game.Frames(2); // the client moves on to the title
    return kSplashScreen::IsFinished();
}

// The front end's first start: the profile screen.
bool ReachProfiles(ScreenGame& game) {
    CloseTitle(game);
    return game.World().GetCurrentSubGameIndex() == SUBGAME_FRONTEND;
}

bool ReachKeyboard(ScreenGame& game) {
    ReachProfiles(game);
    Click(game, kSlot0, 30);
    return true;
}

// A profile "A" made in slot 0 and chosen.
bool ReachMainMenu(ScreenGame& game) {
    ReachKeyboard(game);
    Click(game, kKeyA);
    Click(game, kSave);
    Click(game, kSlot0, 30);
    return MNProfileManager::GetActiveProfileIndex() == 0;
}

bool ReachOptions(ScreenGame& game) {
    ReachMainMenu(game);
    Click(game, kOptions, 30);
    return true;
}

bool ReachHelp(ScreenGame& game) {
    ReachMainMenu(game);
    Click(game, kHelp, 30);
    return true;
}

bool Play(ScreenGame& game, int typeFlag,
          ePuzzleDifficulty difficulty = PUZZLE_DIFFICULTY_BEGINNER) {
    return ReachSimplyPuzzleMenu(game) && StartPuzzle(game, typeFlag, difficulty);
}

template <int kTypeFlag, ePuzzleDifficulty kDifficulty>
bool ReachPuzzle(ScreenGame& game) {
    return Play(game, kTypeFlag, kDifficulty);
}

// As the debug profile, a crossword with a hidden word (others are abandoned) ended by the
// debug key: its anagram, past its intro.
bool ReachAnagram(ScreenGame& game) {
    if (!ReachSimplyPuzzleMenu(game)) {
        return false;
    }
    char* const name = MNProfileManager::GetActiveProfile()->GetSaveData()->name;
    std::strcpy(name, MNProfile::kDebugName);
    MNSimplyPuzzle& mode = SimplyPuzzle(game);
    for (int attempt = 0; attempt < 20 && mode.GetWaitingAnagram() == nullptr; ++attempt) {
        if (mode.GetPuzzleScreen() != nullptr) {
            mode.AbandonPuzzle();
            game.Frames(30);
        }
        if (!StartPuzzle(game, PUZZLE_FLAG_CROSSWORD)) {
            return false;
        }
    }
    game.Press(WPAD_BUTTON_2, 80);
    Click(game, kContinue, 10);
    return mode.IsAnagramRunning();
}

// A screen a wordsearch's button opens over it.
bool ReachOverWordsearch(ScreenGame& game, Place button) {
    if (!Play(game, PUZZLE_FLAG_WORDSEARCH)) {
        return false;
    }
    Click(game, button, 40);
    const kUIManager* const screens = game.World().GetUIManager();
    return screens->GetLayer(screens->GetNumLayers() - 1)->GetTopUI() !=
           SimplyPuzzle(game).GetPuzzleScreen();
}

bool ReachPause(ScreenGame& game) {
    return ReachOverWordsearch(game, kPauseButton);
}

bool ReachHint(ScreenGame& game) {
    return ReachOverWordsearch(game, kHintButton);
}

MNTournament& Tournament(ScreenGame& game) {
    return *static_cast<MNTournament*>(game.World().GetSubGame(SUBGAME_TOURNAMENT));
}

// A new beginner tournament, its ladder marked with finished, passed and open slots.
bool ReachTournamentLadder(ScreenGame& game) {
    EnterMode(game, SUBGAME_TOURNAMENT);
    Click(game, kBeginner);
    MNTournamentData& data = *game.World().GetProfile()->GetTournamentData();
    const char* const statuses = "54352100000000000000";
    for (int i = 0; i < MN_TOURNAMENT_SLOTS; ++i) {
        data.m_puzzleDataList[i].m_puzzleStatus = static_cast<char>(statuses[i] - '0');
    }
    return Tournament(game).GetMenu()->GetShownScreen() == MNTournamentMenu::SCREEN_SELECT;
}

// From that ladder, a beginner crossword put in the open slot 6 and played past its intro.
bool ReachTournamentCrossword(ScreenGame& game) {
    if (!ReachTournamentLadder(game)) {
        return false;
    }
    MNTournamentPuzzleData& slot =
        game.World().GetProfile()->GetTournamentData()->m_puzzleDataList[5];
    slot.m_puzzleType = PUZZLE_FLAG_CROSSWORD;
    slot.m_puzzleId = MNPuzzleMode::DrawPuzzleId(PUZZLE_FLAG_CROSSWORD, PUZZLE_DIFFICULTY_BEGINNER);
    Tournament(game).GetMenu()->StartPuzzleSignal(5);
    game.Frames(2);
    Click(game, kContinue);
    const MNPuzzleUI* const screen = Tournament(game).GetPuzzleScreen();
    return screen != nullptr && !screen->IsContinueScreenOpen();
}

MNQuickBlast& QuickBlast(ScreenGame& game) {
    return *static_cast<MNQuickBlast*>(game.World().GetSubGame(SUBGAME_QUICKBLAST));
}

// The Quick Blast start screen of a profile whose half-hour sudoku run is set up.
bool ReachQuickBlastMenu(ScreenGame& game) {
    EnterMode(game, SUBGAME_QUICKBLAST);
    MNQuickBlastData& data = *game.World().GetProfile()->GetQuickBlastData();
    data.m_bNewGame = false;
    data.m_puzzles = PUZZLE_FLAG_SUDOKU;
    data.m_fTimeLimit = 1800.0f;
    QuickBlast(game).GetMenu()->Open();
    game.Frames(2);
    return QuickBlast(game).GetMenu()->IsOpen();
}

// The run started and its sudoku's intro continued: the run clock counts down.
bool ReachQuickBlastSudoku(ScreenGame& game) {
    if (!ReachQuickBlastMenu(game)) {
        return false;
    }
    QuickBlast(game).OnPlay();
    game.Frames(2);
    Click(game, kContinue, 10);
    const MNPuzzleUI* const screen = QuickBlast(game).GetPuzzleScreen();
    return screen != nullptr && !screen->IsContinueScreenOpen();
}

// Fifty scores in the history, the results continued to the graph around the newest.
bool ReachQuickBlastGraph(ScreenGame& game) {
    if (!ReachQuickBlastMenu(game)) {
        return false;
    }
    MNQuickBlastData& data = *game.World().GetProfile()->GetQuickBlastData();
    for (int i = 0; i < MN_QUICKBLAST_STATS; ++i) {
        data.m_statList[i].m_score = 1000 + (i * 737) % 4000;
    }
    MNQuickBlastMenu& menu = *QuickBlast(game).GetMenu();
    menu.PostGameMenu();
    game.Frames(2);
    Click(game, kResultsContinue, 10);
    return menu.GetActiveScreen() == menu.GetStatsScreen();
}

MNFastAndFun& FastAndFun(ScreenGame& game) {
    return *static_cast<MNFastAndFun*>(game.World().GetSubGame(SUBGAME_FASTANDFUN));
}

bool ReachFastAndFunMenu(ScreenGame& game) {
    EnterMode(game, SUBGAME_FASTANDFUN);
    return FastAndFun(game).GetMenu()->IsOpen();
}

// A beginner run started as its menu starts it: the first puzzle, a small sudoku, past its
// intro, the run's clock counting down.
bool ReachFastAndFunSudoku(ScreenGame& game) {
    if (!ReachFastAndFunMenu(game)) {
        return false;
    }
    MNFastAndFunMenu* const menu = FastAndFun(game).GetMenu();
    menu->NewGameSignal();
    menu->PlaySignal(PUZZLE_DIFFICULTY_BEGINNER);
    game.Frames(2);
    Click(game, kContinue);
    const MNPuzzleUI* const screen = FastAndFun(game).GetPuzzleScreen();
    return screen != nullptr && screen->GetPuzzleType() == PUZZLE_FLAG_SUDOKU &&
           !screen->IsContinueScreenOpen();
}

MNHeadToHead& HeadToHead(ScreenGame& game) {
    return *static_cast<MNHeadToHead*>(game.World().GetSubGame(SUBGAME_HEADTOHEAD));
}

// The profile "A" made; Head to Head chosen on the main menu: player 1's choice.
bool ReachHeadToHeadPlayers(ScreenGame& game) {
    ReachMainMenu(game);
    Click(game, kHeadToHead, 30);
    return HeadToHead(game).GetCurrentProfileSelect() == 1;
}

// "A" player 1 and the guest player 2: the variant choice.
bool ReachHeadToHeadMenu(ScreenGame& game) {
    ReachHeadToHeadPlayers(game);
    MNProfileMenu& players = *HeadToHead(game).GetProfileScreen()->GetMenu();
    for (TUIButton* button : {players.GetProfileButton(0), players.GetGuestButton()}) {
        players.ButtonPressed(players.GetMainScreen(), button);
        players.ButtonPressed(players.GetMainScreen(), button);
        game.Frames(1);
    }
    return HeadToHead(game).GetMenu()->IsOpen();
}

// A Sprint on a beginner sudoku past its intro; with bTurn a right entry follows, which
// brings the next player's screen over it.
bool PlayHeadToHead(ScreenGame& game, bool bTurn) {
    if (!ReachHeadToHeadMenu(game)) {
        return false;
    }
    MNHeadToHead& mode = HeadToHead(game);
    mode.OnNewSprint(3, PUZZLE_FLAG_SUDOKU, PUZZLE_DIFFICULTY_BEGINNER);
    mode.OnPlay();
    game.Frames(2);
    Click(game, kContinue, 10);
    MNPuzzleUI* const screen = mode.GetPuzzleScreen();
    if (screen == nullptr || screen->IsContinueScreenOpen()) {
        return false;
    }
    if (bTurn) {
        screen->ValidEntrySignal();
    }
    return mode.IsPaused() == bTurn;
}

bool ReachHeadToHeadSudoku(ScreenGame& game) {
    return PlayHeadToHead(game, false);
}

bool ReachHeadToHeadTurn(ScreenGame& game) {
    return PlayHeadToHead(game, true);
}

} // namespace

int main(int argc, char** argv) {
    return bench::RunScreens(
        argc, argv,
        {
            {"title", ReachTitle},
            {"profiles", ReachProfiles},
            {"keyboard", ReachKeyboard},
            {"main menu", ReachMainMenu},
            {"options", ReachOptions},
            {"help", ReachHelp},
            {"Simply Puzzle menu", ReachSimplyPuzzleMenu},
            {"sudoku beginner", ReachPuzzle<PUZZLE_FLAG_SUDOKU, PUZZLE_DIFFICULTY_BEGINNER>},
            {"sudoku pro", ReachPuzzle<PUZZLE_FLAG_SUDOKU, PUZZLE_DIFFICULTY_PRO>},
            {"fitword beginner", ReachPuzzle<PUZZLE_FLAG_FITWORD, PUZZLE_DIFFICULTY_BEGINNER>},
            {"fitword pro", ReachPuzzle<PUZZLE_FLAG_FITWORD, PUZZLE_DIFFICULTY_PRO>},
            {"crossword beginner", ReachPuzzle<PUZZLE_FLAG_CROSSWORD, PUZZLE_DIFFICULTY_BEGINNER>},
            {"crossword pro", ReachPuzzle<PUZZLE_FLAG_CROSSWORD, PUZZLE_DIFFICULTY_PRO>},
            {"wordsearch beginner",
             ReachPuzzle<PUZZLE_FLAG_WORDSEARCH, PUZZLE_DIFFICULTY_BEGINNER>},
            {"wordsearch pro", ReachPuzzle<PUZZLE_FLAG_WORDSEARCH, PUZZLE_DIFFICULTY_PRO>},
            {"anagram", ReachAnagram},
            {"pause", ReachPause},
            {"hint", ReachHint},
            {"Tournament ladder", ReachTournamentLadder},
            {"Tournament crossword", ReachTournamentCrossword},
            {"Quick Blast menu", ReachQuickBlastMenu},
            {"Quick Blast sudoku", ReachQuickBlastSudoku},
            {"Quick Blast graph", ReachQuickBlastGraph},
            {"Fast and Fun menu", ReachFastAndFunMenu},
            {"Fast and Fun sudoku", ReachFastAndFunSudoku},
            {"Head to Head players", ReachHeadToHeadPlayers},
            {"Head to Head menu", ReachHeadToHeadMenu},
            {"Head to Head sudoku", ReachHeadToHeadSudoku},
            {"Head to Head turn", ReachHeadToHeadTurn},
        });
}
