#include <modes/mnfastandfun.h>

#include <modes/mnfastandfunmenu.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/mnsound.h>
#include <services/mnsubgameworld.h>
#include <services/puzzlebank.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

// The unsaved fields the puzzle screens read from the active profile.
void SetActiveProfileTimer(float seconds) {
    if (MNProfile* const profile = MNProfileManager::GetActiveProfile()) {
        profile->m_hackTimer = seconds;
    }
}

} // namespace

float MNFastAndFun::RunLimit(ePuzzleDifficulty level) {
    constexpr float kLimits[PUZZLE_LEVELS] = {1200.0f, 900.0f, 600.0f};
    return IsLevel(level) ? kLimits[LevelOf(level)] : 0.0f;
}

int MNFastAndFun::NextType(int typeFlag) {
    switch (typeFlag) {
    case PUZZLE_FLAG_SUDOKU:
        return PUZZLE_FLAG_FITWORD;
    case PUZZLE_FLAG_FITWORD:
        return PUZZLE_FLAG_CROSSWORD;
    case PUZZLE_FLAG_CROSSWORD:
        return PUZZLE_FLAG_WORDSEARCH;
    default:
        return PUZZLE_FLAG_SUDOKU;
    }
}

MNFastAndFun::MNFastAndFun(MNSubGameWorld* world)
    : MNPuzzleMode(world, GAME_MODE_FASTANDFUN, false, "fast_and_fun_menu", "fast_and_fun_bg") {}

MNFastAndFunMenu* MNFastAndFun::GetMenu() const {
    return static_cast<MNFastAndFunMenu*>(m_menu);
}

MNFastAndFunData* MNFastAndFun::Data() const {
    MNProfile* const profile = m_world->GetProfile();
    return profile != nullptr ? profile->GetFastAndFunData() : nullptr;
}

int* MNFastAndFun::BestRun() const {
    MNFastAndFunData* const data = Data();
    return data != nullptr ? data->BestRunOf(m_currentDifficulty) : nullptr;
}

void MNFastAndFun::Init() {
    kLogFmt("MNFastAndFun::Init\n");
    MNFastAndFunMenu* const menu = new MNFastAndFunMenu(m_world->GetProfile());
    menu->PlaySignal.Connect(this, &MNFastAndFun::OnPlay);
    menu->NewGameSignal.Connect(this, &MNFastAndFun::OnNewGame);
    FastAndFunUIWidget* const widget = new FastAndFunUIWidget;
    InitHost(menu, new FastAndFunUI, widget, widget->TickSignal, widget->RenderSignal);
    m_currentPuzzleType = 0;
    m_currentDifficulty = PUZZLE_DIFFICULTY_BEGINNER;
    m_runClock.Clear();
}

void MNFastAndFun::Deinit() {
    if (m_menu != nullptr) {
        kLogFmt("MNFastAndFun::Deinit\n");
    }
    MNPuzzleMode::Deinit();
}

void MNFastAndFun::Activate() {
    GetMenu()->SetProfile(m_world->GetProfile());
    PushMenuLayers();
    GetMenu()->Rebuild();
    GetMenu()->Open();
    m_runClock.Clear();
    m_countdown.Restart();
    m_bPaused = false;
    m_bNewGame = true;
    if (MNFastAndFunData* const data = Data()) {
        data->m_currentPuzzle = -1;
    }
}

void MNFastAndFun::OnNewGame() {
    m_runClock.Clear();
    SetActiveProfileTimer(0.0f);
    if (MNFastAndFunData* const data = Data()) {
        data->m_currentPuzzle = -1;
    }
    m_bNewGame = false;
    m_bPaused = false;
}

void MNFastAndFun::OnPlay(ePuzzleDifficulty level) {
    MNFastAndFunData* const data = Data();
    if (data == nullptr) {
        kLogFmt("ERROR: Fast and Fun without a profile\n");
        return;
    }
    m_bNewGame = false;
    kLogFmt("OnPlay Difficulty: %d\n", LevelOf(level));
    ++data->m_currentPuzzle;
    kLogFmt("STARTING PUZZLE %d\n", data->m_currentPuzzle);
    m_currentDifficulty = level;
    // The rotation moves on even when the bank has no puzzle of this type.
    const int type = NextType(m_currentPuzzleType);
    m_currentPuzzleType = type;
    m_runClock.StartPuzzle();
    MNSound::StopMusic();
    Puzzle* const puzzle = DrawPuzzle(type, PUZZLE_DIFFICULTY_MINI);
    if (!StartPuzzle(puzzle, type)) {
        kLogFmt("ERROR: no small %s to play; the run ends\n", KindName(type));
        --data->m_currentPuzzle;
        m_bNewGame = true;
        GetMenu()->Open();
        return;
    }
    m_gameUI->InvalidEntrySignal.Connect(this, &MNFastAndFun::OnError);
}

void MNFastAndFun::Tick(float delta) {
    MNPuzzleMode::Tick(delta);
    if (m_bNewGame) {
        return;
    }
    if (!m_bPaused) {
        const MNPuzzleUI* const screen = RunningScreen();
        if (screen == nullptr || !m_runClock.Follow(screen->GetTime())) {
            return; // the puzzle's own clock stands still (intro, help, completion)
        }
    }
    const float limit = RunLimit(m_currentDifficulty);
    const float total = m_runClock.Total();
    const float left = limit - total;
    SetActiveProfileTimer(left);
    if (!m_bPaused && m_countdown.Warn(left, delta)) {
        kLogFmt("Time warning at %.2f\n", total);
        MNSound::PlaySoundEffect(SFX_LAST_SECONDS);
    }
    if (total >= limit && m_gameUI != nullptr) {
        kLogFmt("Time up at %.2f\n", total);
        m_runClock.Clear();
        MNSound::PlaySoundEffect(SFX_TIME_UP);
        DoGameOver(GAME_OVER_FAILED);
    }
}

void MNFastAndFun::DisconnectScreen() {
    if (m_gameUI != nullptr) {
        m_gameUI->InvalidEntrySignal.Disconnect(this, &MNFastAndFun::OnError);
    }
    DisconnectPuzzleScreen();
}

void MNFastAndFun::OnError() {
    // A game over in the same tick must not end the run a second time.
    if (m_bNewGame) {
        return;
    }
    kLogFmt("Wrong entry: the run is lost\n");
    m_bNewGame = true;
    DisconnectScreen();
    if (MNFastAndFunData* const data = Data()) {
        --data->m_currentPuzzle;
    }
    GetMenu()->PostGameMenu(false);
    ShowMenuLayer();
    SetBackground(BACKGROUND_MENUS);
}

void MNFastAndFun::DoGameOver(int result) {
    kLogFmt("OnGameOver\n");
    m_bNewGame = true;
    float time = 0.0f;
    if (MNPuzzleUI* const screen = RunningScreen()) {
        time = screen->GetTime();
        screen->InvalidEntrySignal.Disconnect(this, &MNFastAndFun::OnError);
    }
    result = EndPuzzleScreen(result);
    m_runClock.EndPuzzle(time);
    SetBackground(BACKGROUND_MENUS);
    MNFastAndFunData* const data = Data();
    if (result == GAME_OVER_SOLVED) {
        int* const best = BestRun();
        if (data != nullptr && best != nullptr && data->m_currentPuzzle >= *best) {
            *best = data->m_currentPuzzle + 1;
        }
        GetMenu()->PostGameMenu(true);
    } else {
        if (data != nullptr) {
            --data->m_currentPuzzle;
        }
        GetMenu()->PostGameMenu(false);
    }
    MNProfileManager::SaveData(false);
}

void MNFastAndFun::PauseClock() {
    m_bPaused = true;
    kLogFmt("Paused at: %f\n", m_runClock.Total());
}

void MNFastAndFun::UnPause() {
    kLogFmt("Resumed at: %f\n", m_runClock.Total());
    m_bPaused = false;
}

} // namespace Kelvo_lib
