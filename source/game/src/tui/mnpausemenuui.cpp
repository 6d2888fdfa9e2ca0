#include <tui/mnpausemenuui.h>

#include <services/mnsubgame.h>
#include <services/mnsubgameworld.h>
#include <services/mntextid.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

// The abandon entry's label and help line: giving up the puzzle, or in Fast and Fun the run.

// The modes whose clock the pause stops and resume starts again.
bool PausesClock(int gameMode) {
    return gameMode == GAME_MODE_QUICKBLAST || gameMode == GAME_MODE_FASTANDFUN ||
           gameMode == GAME_MODE_HEADTOHEAD;
}

} // namespace

void MNPauseMenuUI::Init() {
    MNMenuScreen::Init();
    m_menuWidget->SetAllowBackAtRoot(true);
    m_menuWidget->SignalSelect.Connect(this, &MNPauseMenuUI::OnSelect);
    m_menuWidget->SignalStateChange.Connect(this, &MNPauseMenuUI::OnStateChange);
    m_menuWidget->SignalBack.Connect(this, &MNPauseMenuUI::OnBack);
    m_menuWidget->SignalHelp.Connect(this, &MNPauseMenuUI::OnHelp);
}

void MNPauseMenuUI::SetGameMode(int gameMode, bool bSpellout) {
    if (gameMode < GAME_MODE_TOURNAMENT || gameMode > GAME_MODE_HEADTOHEAD) {
        kLogFmt("MNPauseMenuUI: unknown game mode %d, taken as %d\n", gameMode,
                GAME_MODE_TOURNAMENT);
        gameMode = GAME_MODE_TOURNAMENT;
    }
    m_gameMode = gameMode;
    m_bSpellout = bSpellout;
    ShowEntries();
}

void MNPauseMenuUI::ShowEntries() {
    const bool bReset =
        m_gameMode != GAME_MODE_FASTANDFUN && m_gameMode != GAME_MODE_HEADTOHEAD && !m_bSpellout;
    const bool bQuit =
        (m_gameMode == GAME_MODE_TOURNAMENT || m_gameMode == GAME_MODE_SIMPLYPUZZLE) &&
        !m_bSpellout;
    const bool bAbandonMode = m_gameMode == GAME_MODE_QUICKBLAST;
    const struct {
        int id;
        bool bShown;
    } entries[] = {{MENU_PAUSE_RESET, bReset},
                   {MENU_PAUSE_QUIT, bQuit},
                   {MENU_PAUSE_ABANDON_MODE, bAbandonMode}};
    for (const auto& entry : entries) {
        if (kMenuNode* const node = FindNode(entry.id)) {
            node->m_bHide = !entry.bShown;
        }
    }
    if (kMenuNode* const abandon = FindNode(MENU_PAUSE_ABANDON_PUZZLE)) {
        // In Fast and Fun a puzzle given up ends the whole run: the entry says so.
        const bool bEndRun = m_gameMode == GAME_MODE_FASTANDFUN;
        abandon->m_scriptId = bEndRun ? TEXT_END_RUN : TEXT_ABANDON_PUZZLE;
        abandon->m_helpId = bEndRun ? TEXT_END_RUN_QUESTION : TEXT_ABANDON_PUZZLE_HELP;
    }
}

void MNPauseMenuUI::Activate(kUILayer* layer) {
    m_layer = layer;
    m_pendingEntry = -1;
    ShowNode(MENU_PAUSE);
    ShowEntries();
    if (kMenuNode* const root = FindNode(MENU_PAUSE)) {
        root->m_currentChild = 0;
    }
    m_volumes.Show(m_menuWidget->GetMenu());
}

void MNPauseMenuUI::Tick(float) {
    m_volumes.Track(GetCurrentNodeId());
}

MNSubGame* MNPauseMenuUI::Leave() {
    Close();
    MNSubGame* const subGame = m_world != nullptr ? m_world->GetCurrentSubGame() : nullptr;
    if (subGame == nullptr) {
        kLogFmt("MNPauseMenuUI: no sub-game to return to\n");
    }
    return subGame;
}

void MNPauseMenuUI::Resume(bool bReset) {
    MNSubGame* const subGame = Leave();
    if (subGame == nullptr) {
        return;
    }
    if (PausesClock(m_gameMode)) {
        subGame->UnPause();
    }
    if (bReset) {
        subGame->ResetPuzzle();
    } else {
        subGame->ResumePuzzle();
    }
}

void MNPauseMenuUI::AskConfirmation(int entry) {
    m_pendingEntry = entry;
    const kMenuNode* const item = FindNode(entry);
    kMenuNode* const yes = FindNode(MENU_CONFIRM_YES);
    if (item != nullptr && yes != nullptr) {
        yes->m_helpId = item->m_helpId;
    }
    if (kMenuNode* const confirm = FindNode(MENU_CONFIRM)) {
        confirm->m_currentChild = 1; // "no" first: a stray press keeps the puzzle
    }
    ShowNode(MENU_CONFIRM);
}

void MNPauseMenuUI::OnSelect(int id) {
    kLogFmt("Pause selected %d\n", id);
    switch (id) {
    case MENU_PAUSE_RESUME:
        Resume(false);
        break;
    case MENU_PAUSE_RESET:
        Resume(true);
        break;
    case MENU_PAUSE_QUIT:
        // The mode stores the puzzle and saves once it has.
        if (MNSubGame* const subGame = Leave()) {
            subGame->QuitPuzzle();
        }
        break;
    case MENU_PAUSE_ABANDON_PUZZLE:
    case MENU_PAUSE_ABANDON_MODE:
        AskConfirmation(id);
        break;
    case MENU_CONFIRM_YES:
        if (MNSubGame* const subGame = Leave()) {
            if (m_pendingEntry == MENU_PAUSE_ABANDON_MODE) {
                subGame->AbandonMode();
            } else {
                subGame->AbandonPuzzle();
            }
        }
        break;
    case MENU_CONFIRM_NO:
        m_pendingEntry = -1;
        ShowNode(MENU_PAUSE);
        break;
    default:
        break;
    }
}

void MNPauseMenuUI::OnStateChange(int id, int state) {
    m_volumes.Change(id, state);
}

void MNPauseMenuUI::OnBack() {
    if (GetCurrentNodeId() == MENU_CONFIRM) {
        OnSelect(MENU_CONFIRM_NO);
        return;
    }
    Resume(false);
}

void MNPauseMenuUI::OnHelp() {
    PushScreen("help_menu");
}

} // namespace Kelvo_lib
