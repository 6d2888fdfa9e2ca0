#include <modes/mnheadtohead.h>

#include <frontend/mnprofileui.h>
#include <modes/mnheadtoheadmenu.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>
#include <services/mnsubgameworld.h>
#include <services/puzzlebank.h>
#include <tui/mnbackground.h>

#include <kelvo/platform/klog.h>

#include <cstdio>

namespace Kelvo_lib {

namespace {

constexpr const char* kProfileSelectId = "head_to_head_profile_select";
// The order the ticked types are played in.
constexpr int kRotation[] = {PUZZLE_FLAG_SUDOKU, PUZZLE_FLAG_FITWORD, PUZZLE_FLAG_CROSSWORD,
                             PUZZLE_FLAG_WORDSEARCH};
// The players' puzzle backgrounds: player 1 sudoku, other; player 2 sudoku, other.
constexpr eBackgroundLook kPlayerBackgrounds[2][2] = {{BACKGROUND_BRICK, BACKGROUND_SKY},
                                                      {BACKGROUND_LEAF, BACKGROUND_SUN}};

void CopyName(char* out, const char* name) {
    std::snprintf(out, sizeof(MNHeadToHeadData::m_player1Name), "%s", name);
}

} // namespace

MNHeadToHead::MNHeadToHead(MNSubGameWorld* world)
    : MNPuzzleMode(world, GAME_MODE_HEADTOHEAD, false, "head_to_head_menu", "head_to_head_bg") {}

MNHeadToHead::~MNHeadToHead() {
    Deinit();
}

MNHeadToHeadMenu* MNHeadToHead::GetMenu() const {
    return static_cast<MNHeadToHeadMenu*>(m_menu);
}

MNHeadToHeadData* MNHeadToHead::Record() const {
    MNProfile* const profile = m_world->GetProfile();
    return profile != nullptr ? profile->GetHeadToHeadData() : nullptr;
}

void MNHeadToHead::Init() {
    kLogFmt("MNHeadToHead::Init\n");
    MNHeadToHeadMenu* const menu = new MNHeadToHeadMenu(m_world->GetProfile());
    menu->PlaySignal.Connect(this, &MNHeadToHead::OnPlay);
    menu->NewSprintSignal.Connect(this, &MNHeadToHead::OnNewSprint);
    menu->NewMarathonSignal.Connect(this, &MNHeadToHead::OnNewMarathon);
    HeadToHeadUIWidget* const widget = new HeadToHeadUIWidget;
    InitHost(menu, new HeadToHeadUI, widget, widget->TickSignal, widget->RenderSignal);
    // Registering the profile screen initialises it: once.
    m_profileUI = new MNProfileUI;
    m_world->GetUIManager()->AddUI(kProfileSelectId, m_profileUI);
    m_currentPuzzleType = 0;
    ResetGame(true, 0.0f, 0);
}

void MNHeadToHead::Deinit() {
    if (m_menu != nullptr) {
        kLogFmt("MNHeadToHead::Deinit\n");
    }
    delete m_profileUI;
    m_profileUI = nullptr;
    MNPuzzleMode::Deinit();
}

void MNHeadToHead::ResetGame(bool bSprint, float timeLimit, int lives) {
    m_fTimeLimit = timeLimit;
    m_fCurrentTime[0] = 0.0f;
    m_fCurrentTime[1] = 0.0f;
    m_bSprintGame = bSprint;
    m_turn = 0;
    m_lives[0] = lives;
    m_lives[1] = lives;
    m_bPause = false;
    m_waitForErrorFix = 0;
}

void MNHeadToHead::Activate() {
    GetMenu()->SetProfile(m_world->GetProfile());
    SetBackground(BACKGROUND_MENUS);
    kUIManager* const manager = m_world->GetUIManager();
    manager->PushLayer("bg")->PushUI(m_bg);
    m_profileLayer = manager->PushLayer("profile");
    m_profileLayer->PushUI(m_profileUI);
    GetMenu()->Rebuild();
    m_profileUI->Rebuild();
    m_profileUI->ReloadProfiles();
    m_currentProfileSelect = 1;
    m_profileUI->SetState(MNProfileUI::STATE_CHOOSING);
    m_profileUI->SetHeadToHeadMode(1, false);
    kLogFmt("H2H::Activated\nTurn = %d, turn will equal 1\n", m_turn);
    m_puzzles = 0;
    m_currentPuzzleType = 0;
    ResetGame(true, 0.0f, 0);
    m_bStartNew = false;
    m_countdown.Restart();
    kLogFmt("4\n");
}

// --- Choosing the players ---

void MNHeadToHead::ChoosePlayers() {
    if (m_currentProfileSelect <= 0) {
        return;
    }
    MNHeadToHeadData* const record = Record();
    const int state = m_profileUI->GetState();
    if (state == MNProfileUI::STATE_CHOSEN && m_currentProfileSelect == 1) {
        if (record != nullptr) {
            CopyName(record->m_player1Name, m_profileUI->GetHeadToHeadName());
            kLogFmt("PLAYER 1 NAME %s\n", record->m_player1Name);
        }
        m_currentProfileSelect = 2;
        m_profileUI->SetState(MNProfileUI::STATE_CHOOSING);
        m_profileUI->SetHeadToHeadMode(2, false);
    } else if (state == MNProfileUI::STATE_CHOSEN) {
        if (record != nullptr) {
            CopyName(record->m_player2Name, m_profileUI->GetHeadToHeadName());
            kLogFmt("PLAYER 2 NAME %s\n", record->m_player2Name);
        }
        m_currentProfileSelect = 0;
        ShowMenuLayer();
        GetMenu()->Open();
    } else if (state == MNProfileUI::STATE_BACK && m_currentProfileSelect == 2) {
        m_currentProfileSelect = 1;
        m_profileUI->SetState(MNProfileUI::STATE_CHOOSING);
        m_profileUI->SetHeadToHeadMode(1, false);
    } else if (state == MNProfileUI::STATE_BACK) {
        m_world->SetCurrentSubGame(SUBGAME_FRONTEND);
    }
}

void MNHeadToHead::TickUI(float delta) {
    m_menu->Tick(delta);
    if (!IsMenuOpen() && !IsMenuInGame()) {
        BackToPlayerTwo();
    }
}

void MNHeadToHead::BackToPlayerTwo() {
    m_currentProfileSelect = 2;
    m_profileUI->SetState(MNProfileUI::STATE_CHOOSING);
    m_profileUI->SetHeadToHeadMode(2, true);
    kUIManager* const manager = m_world->GetUIManager();
    manager->PopLayer();
    m_profileLayer = manager->PushLayer("profile");
    m_profileLayer->PushUI(m_profileUI);
}

// --- The menu's requests ---

void MNHeadToHead::OnNewSprint(int lives, int puzzles, ePuzzleDifficulty difficulty) {
    kLogFmt("NEW SPRINT\n");
    m_puzzles = puzzles;
    m_currentPuzzleType = 0;
    m_difficulty = difficulty;
    ResetGame(true, 0.0f, lives);
}

void MNHeadToHead::OnNewMarathon(float time, int puzzles, ePuzzleDifficulty difficulty) {
    kLogFmt("NEW MARATHON %f,%d\n", static_cast<double>(time), puzzles);
    m_puzzles = puzzles;
    m_currentPuzzleType = 0;
    m_difficulty = difficulty;
    ResetGame(false, time, 0);
}

void MNHeadToHead::OnPlay() {
    kLogFmt("OnPlay\n");
    if (m_currentPuzzleType == 0) {
        NewPuzzle();
        return;
    }
    if (!m_bPause) {
        return;
    }
    kLogFmt("m_bPause = %d, m_gameUI = %p\n", m_bPause ? 1 : 0, static_cast<void*>(m_gameUI));
    kLogFmt("turn = %d\n", m_turn);
    m_bPause = false;
    if (m_gameUI != nullptr) {
        // The turn's screen and the background that hid the puzzle.
        kUIManager* const manager = m_world->GetUIManager();
        manager->PopLayer();
        manager->PopLayer();
        SetBackgroundByTurn();
        // The fitword takes the A button's release of Continue before its next real tick.
        if (m_currentPuzzleType == PUZZLE_FLAG_FITWORD) {
            m_gameUI->GetScreen()->Tick(0.0f);
            m_gameUI->GetScreen()->Render();
        }
    }
    UpdateProfile();
    kLogFmt("<<\n");
}

// --- Puzzles ---

int MNHeadToHead::NextPuzzleType(int typeFlag) const {
    int index = -1;
    for (int i = 0; i < 4; ++i) {
        index = kRotation[i] == typeFlag ? i : index;
    }
    for (int step = 1; step <= 4; ++step) {
        const int next = kRotation[(index + step + 4) % 4];
        if ((m_puzzles & next) != 0) {
            return next;
        }
    }
    return 0;
}

void MNHeadToHead::NewPuzzle() {
    kUIManager* const manager = m_world->GetUIManager();
    if (m_bStartNew) {
        // The menu layer went with the solved grid: this one is what the start takes down.
        manager->PushLayer("bg")->PushUI(m_bg);
    }
    const int type = NextPuzzleType(m_currentPuzzleType);
    MNSound::StopMusic();
    Puzzle* const puzzle = type == 0 ? nullptr : DrawPuzzle(type, m_difficulty);
    if (!StartPuzzle(puzzle, type)) {
        kLogFmt("ERROR: no %s puzzle of difficulty %d: the game ends\n", KindName(type),
                BankValueOf(m_difficulty));
        m_currentPuzzleType = 0;
        EndOnMenu(MNHeadToHeadMenu::SCREEN_MODE_CHOICE);
        return;
    }
    ConnectPlay();
    UpdateProfile();
    SetBackgroundByTurn();
    if (m_bStartNew) {
        OnValidEntry();
    }
}

void MNHeadToHead::ConnectPlay() {
    m_gameUI->ValidEntrySignal.Connect(this, &MNHeadToHead::OnValidEntry);
    m_gameUI->InvalidEntrySignal.Connect(this, &MNHeadToHead::OnError);
}

void MNHeadToHead::DisconnectPlay() {
    m_gameUI->ValidEntrySignal.Disconnect(this, &MNHeadToHead::OnValidEntry);
    m_gameUI->InvalidEntrySignal.Disconnect(this, &MNHeadToHead::OnError);
    DisconnectPuzzleScreen();
}

void MNHeadToHead::DoGameOver(int result) {
    kLogFmt("OnGameOver\n");
    if (m_gameUI == nullptr) {
        kLogFmt("ERROR: game over without a puzzle\n");
        return;
    }
    result = EndPuzzleScreen(result);
    DisconnectPlay();
    if (result == GAME_OVER_SOLVED) {
        // The next tick starts the next type with the same players, clocks and lives.
        m_bStartNew = true;
        m_world->GetUIManager()->PopLayer();
    } else {
        kLogFmt("Quit\n");
        GetMenu()->PostGameMenu(MNHeadToHeadMenu::SCREEN_MODE_CHOICE);
    }
    SetBackground(BACKGROUND_MENUS);
}

void MNHeadToHead::EndOnMenu(int menu) {
    GetMenu()->PostGameMenu(menu);
    ShowMenuLayer();
    SetBackground(BACKGROUND_MENUS);
}

// --- Entries ---

void MNHeadToHead::OnValidEntry() {
    kLogFmt(">> MNHeadToHead::OnValidEntry\n");
    if (m_gameUI != nullptr && !m_gameUI->IsGridFull()) {
        m_bPause = true;
        UpdateProfile();
        ShowTurnScreen(m_turn == 0 ? MNHeadToHeadMenu::SCREEN_PLAYER1_CORRECT
                                   : MNHeadToHeadMenu::SCREEN_PLAYER2_CORRECT);
        m_turn = 1 - m_turn;
    }
    MNSound::PlaySoundEffect(SFX_TURN_OVER);
    LogLayers();
    kLogFmt("<< MNHeadToHead::OnValidEntry\n");
}

void MNHeadToHead::OnError() {
    kLogFmt(">> MNHeadToHead::OnError()\n");
    if (m_gameUI != nullptr) {
        // Every wrong stroke on a wordsearch is a new error; elsewhere only a rise in the
        // grid's errors counts, so that one wrong entry is not counted again.
        const bool bWordsearch = m_currentPuzzleType == PUZZLE_FLAG_WORDSEARCH;
        if (bWordsearch) {
            m_waitForErrorFix = 0;
        }
        const int errors = bWordsearch ? 1 : m_gameUI->GetNumErrors();
        if (errors <= m_waitForErrorFix) {
            m_waitForErrorFix = errors;
        } else {
            if (m_bSprintGame) {
                SprintError();
            } else {
                MarathonError();
            }
            if (!bWordsearch) {
                m_gameUI->RemoveErrors();
            }
        }
    }
    MNSound::PlaySoundEffect(SFX_TURN_OVER);
    kLogFmt("<< MNHeadToHead::OnError\n");
}

void MNHeadToHead::SprintError() {
    kLogFmt("Sprint\n");
    --m_lives[m_turn];
    kLogFmt("LIVES %d - %d\n", m_lives[0], m_lives[1]);
    UpdateProfile();
    if (m_lives[m_turn] < 1) {
        EndOnMenu(MNHeadToHeadMenu::SCREEN_SPRINT_GAME_OVER);
        return;
    }
    m_bPause = true;
    ShowTurnScreen(m_turn == 0 ? MNHeadToHeadMenu::SCREEN_PLAYER1_SPRINT_ERROR
                               : MNHeadToHeadMenu::SCREEN_PLAYER2_SPRINT_ERROR);
    m_turn = 1 - m_turn;
    SetBackground(BACKGROUND_MENUS);
}

void MNHeadToHead::MarathonError() {
    kLogFmt("Marathon\n");
    float& clock = m_fCurrentTime[m_turn];
    clock = static_cast<float>(static_cast<int>(clock)) + kErrorPenalty;
    UpdateProfile();
    m_bPause = true;
    ShowTurnScreen(m_turn == 0 ? MNHeadToHeadMenu::SCREEN_PLAYER1_MARATHON_ERROR
                               : MNHeadToHeadMenu::SCREEN_PLAYER2_MARATHON_ERROR);
    SetBackground(BACKGROUND_MENUS);
}

void MNHeadToHead::ShowTurnScreen(int menu) {
    GetMenu()->PostGameMenu(menu);
    kUIManager* const manager = m_world->GetUIManager();
    manager->PushLayer("bg")->PushUI(m_bg);
    m_menuLayer = manager->PushLayer("menu");
    m_menuLayer->PushUI(m_host);
}

// --- The clocks ---

void MNHeadToHead::Tick(float delta) {
    ChoosePlayers();
    if (MNHeadToHeadData* const record = Record()) {
        record->m_player1Time = RemainingSeconds(0);
        record->m_player2Time = RemainingSeconds(1);
    }
    if (m_bStartNew) {
        NewPuzzle();
        m_bStartNew = false;
    }
    MNPuzzleMode::Tick(delta);
    if (m_bSprintGame || m_gameUI == nullptr || m_bPause) {
        return;
    }
    TickClock(delta);
}

void MNHeadToHead::TickClock(float delta) {
    float& clock = m_fCurrentTime[m_turn];
    if (!m_gameUI->IsContinueScreenOpen()) {
        clock += delta;
    }
    if (m_countdown.Warn(m_fTimeLimit - clock, delta)) {
        MNSound::PlaySoundEffect(SFX_LAST_SECONDS);
    }
    if (clock >= m_fTimeLimit) {
        TimeUp();
    }
}

// The player in turn ran out of time: the other one wins. The puzzle screen goes at once;
// deleting it takes its signals and registration with it.
void MNHeadToHead::TimeUp() {
    MNSound::PlaySoundEffect(SFX_TIME_UP);
    UpdateProfile();
    EndOnMenu(MNHeadToHeadMenu::SCREEN_MARATHON_GAME_OVER);
    delete m_gameUI;
    m_gameUI = nullptr;
}

int MNHeadToHead::RemainingSeconds(int player) const {
    const int remaining = static_cast<int>(m_fTimeLimit - m_fCurrentTime[player]);
    return remaining > 0 ? remaining : 0;
}

void MNHeadToHead::UpdateProfile() {
    MNHeadToHeadData* const record = Record();
    if (record == nullptr) {
        return;
    }
    if (m_bSprintGame) {
        if (m_lives[0] > 0) {
            record->m_player1Winner = true;
        } else if (m_lives[1] > 0) {
            record->m_player1Winner = false;
        }
    } else if (m_fCurrentTime[0] < m_fTimeLimit) {
        record->m_player1Winner = true;
    } else if (m_fCurrentTime[1] < m_fTimeLimit) {
        record->m_player1Winner = false;
    }
    record->m_player1Lives = m_lives[0];
    record->m_player2Lives = m_lives[1];
    record->m_player1Time = RemainingSeconds(0);
    record->m_player2Time = RemainingSeconds(1);
    record->m_player1Active = m_turn == 0;
    record->m_sprintMode = m_bSprintGame;
}

void MNHeadToHead::SetBackgroundByTurn() {
    SetBackground(kPlayerBackgrounds[m_turn][m_currentPuzzleType == PUZZLE_FLAG_SUDOKU ? 0 : 1]);
}

void MNHeadToHead::LogLayers() const {
    kUIManager* const manager = m_world->GetUIManager();
    kLogFmt("%d layers\n", manager->GetNumLayers());
    for (int i = 0; i < manager->GetNumLayers(); ++i) {
        kUILayer* const layer = manager->GetLayer(i);
        kLogFmt("  %s: %d ui's\n", layer->GetId(), layer->GetNumUIs());
        for (int j = 0; j < layer->GetNumUIs(); ++j) {
            kLogFmt("    %s\n", layer->GetUI(j)->GetId());
        }
    }
}

} // namespace Kelvo_lib
