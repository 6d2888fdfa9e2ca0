#include <modes/mnmodemenu.h>
#include <modes/mnpuzzlemode.h>

#include <puzzles/anagram/mnanagram.h>
#include <puzzles/crossword/mncrosswordui.h>
#include <puzzles/fitword/mnfitwordui.h>
#include <puzzles/sudoku/mnsudokuui.h>
#include <puzzles/wordsearch/mnwordsearchui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/mnsound.h>
#include <services/mnsubgameworld.h>
#include <services/puzzle.h>
#include <services/puzzlebank.h>
#include <tui/mnbackground.h>
#include <tui/mnpausemenuui.h>
#include <tui/tui.h>

#include <kelvo/platform/klog.h>

#include <algorithm>
#include <cstring>

namespace Kelvo_lib {

namespace {

// The hosts' widget classes, in the object model's list from the start.
[[maybe_unused]] kClass* const s_registeredRecords[] = {
    TournamentUIWidget::StaticClass(), QuickBlastUIWidget::StaticClass(),
    SimplyPuzzleUIWidget::StaticClass(), FastAndFunUIWidget::StaticClass(),
    HeadToHeadUIWidget::StaticClass()};

// Hints of each kind a puzzle starts with, [Tournament, or Quick Blast and Simply Puzzle]
// [difficulty][kind]: the sudoku's, and the fitword's and wordsearch's.
using HintTable = int[2][PUZZLE_DIFFICULTIES][PUZZLE_HINT_KINDS];
constexpr HintTable kSudokuHints = {
    {{4, 2, 1}, {4, 2, 1}, {3, 2, 1}, {2, 1, 1}},
    {{6, 3, 2}, {6, 3, 2}, {5, 3, 1}, {3, 2, 1}},
};
constexpr HintTable kWordHints = {
    {{4, 3, 2}, {4, 3, 2}, {3, 2, 1}, {2, 1, 1}},
    {{7, 5, 3}, {7, 5, 3}, {5, 3, 1}, {3, 2, 1}},
};

const HintTable* HintTableOf(int typeFlag) {
    switch (typeFlag) {
    case PUZZLE_FLAG_SUDOKU:
        return &kSudokuHints;
    case PUZZLE_FLAG_FITWORD:
    case PUZZLE_FLAG_WORDSEARCH:
        return &kWordHints;
    default:
        return nullptr;
    }
}

// The allowance of rules that offer hints; the crossword's hints are never rationed.
void SetHintAllowance(MNPuzzleRules& rules, int gameMode, int typeFlag,
                      ePuzzleDifficulty difficulty) {
    if (typeFlag == PUZZLE_FLAG_CROSSWORD) {
        std::fill(std::begin(rules.maxHints), std::end(rules.maxHints), PUZZLE_HINTS_UNLIMITED);
        return;
    }
    const HintTable* const table = HintTableOf(typeFlag);
    if (table == nullptr || !rules.bHintsOffered) {
        return;
    }
    const int row = BankValueOf(difficulty);
    if (row >= PUZZLE_DIFFICULTIES) {
        kLogSys("MNPuzzleMode", "RulesOf: difficulty %d out of range, no hints\n", row);
        return;
    }
    // Simply Puzzle's small wordsearches give no hints.
    if (typeFlag == PUZZLE_FLAG_WORDSEARCH && gameMode == GAME_MODE_SIMPLYPUZZLE &&
        difficulty == PUZZLE_DIFFICULTY_MINI) {
        return;
    }
    const int* const allowance = (*table)[gameMode == GAME_MODE_TOURNAMENT ? 0 : 1][row];
    std::copy(allowance, allowance + PUZZLE_HINT_KINDS, rules.maxHints);
}

// The hidden word of a crossword or fitword, null for other kinds or none.
SpelloutData* SpelloutOf(Puzzle* puzzle) {
    switch (puzzle->GetType()) {
    case PUZZLE_TYPE_CROSSWORD:
        return static_cast<CrosswordPuzzle*>(puzzle)->m_spellout;
    case PUZZLE_TYPE_FITWORD:
        return static_cast<FitwordPuzzle*>(puzzle)->m_spellout;
    default:
        return nullptr;
    }
}

// The record of played puzzles that draws mark: the active profile's, null without one.
MNSaveProfileData* ActivePlayedRecord() {
    MNProfile* const profile = MNProfileManager::GetActiveProfile();
    return profile != nullptr ? profile->GetSaveData() : nullptr;
}

} // namespace

int MNPuzzleMode::DrawPuzzleId(int typeFlag, ePuzzleDifficulty difficulty) {
    return MNProfile::GetPuzzlebank()->GetRandomPuzzleId(
        PuzzleBankType(typeFlag), difficulty, MNProfileManager::GetLanguage(),
        *MNProfile::GetRandomGen(), ActivePlayedRecord());
}

Puzzle* MNPuzzleMode::DrawPuzzle(int typeFlag, ePuzzleDifficulty difficulty) {
    return MNProfile::GetPuzzlebank()->GetRandomPuzzle(
        PuzzleBankType(typeFlag), difficulty, MNProfileManager::GetLanguage(),
        *MNProfile::GetRandomGen(), ActivePlayedRecord());
}

const char* MNPuzzleMode::KindName(int typeFlag) {
    switch (typeFlag) {
    case PUZZLE_FLAG_SUDOKU:
        return "sudoku";
    case PUZZLE_FLAG_FITWORD:
        return "fitword";
    case PUZZLE_FLAG_CROSSWORD:
        return "crossword";
    case PUZZLE_FLAG_WORDSEARCH:
        return "wordsearch";
    default:
        return "unknown";
    }
}

MNPuzzleRules MNPuzzleMode::RulesOf(int gameMode, int typeFlag, ePuzzleDifficulty difficulty) {
    MNPuzzleRules rules;
    rules.bHintsOffered = gameMode == GAME_MODE_TOURNAMENT || gameMode == GAME_MODE_QUICKBLAST ||
                          gameMode == GAME_MODE_SIMPLYPUZZLE;
    rules.bPrefilled = gameMode == GAME_MODE_FASTANDFUN;
    rules.bTargetTimeWarning = gameMode == GAME_MODE_TOURNAMENT;
    rules.bTakeTurns = gameMode == GAME_MODE_HEADTOHEAD;
    rules.bClockRunsDown = gameMode == GAME_MODE_QUICKBLAST || gameMode == GAME_MODE_FASTANDFUN;
    SetHintAllowance(rules, gameMode, typeFlag, difficulty);
    return rules;
}

MNPuzzleUI* MNPuzzleMode::CreatePuzzleScreen(int typeFlag) {
    switch (typeFlag) {
    case PUZZLE_FLAG_SUDOKU:
        return new MNSudokuUI;
    case PUZZLE_FLAG_FITWORD:
        return new MNFitwordUI;
    case PUZZLE_FLAG_CROSSWORD:
        return new MNCrosswordUI;
    case PUZZLE_FLAG_WORDSEARCH:
        return new MNWordsearchUI;
    default:
        kLogFmt("ERROR: no puzzle screen for type %d\n", typeFlag);
        return nullptr;
    }
}

eBackgroundLook MNPuzzleMode::BackgroundMode(int typeFlag) {
    switch (typeFlag) {
    case PUZZLE_FLAG_SUDOKU:
        return BACKGROUND_SUDOKU;
    case PUZZLE_FLAG_FITWORD:
        return BACKGROUND_FITWORD;
    case PUZZLE_FLAG_CROSSWORD:
        return BACKGROUND_CROSSWORD;
    case PUZZLE_FLAG_WORDSEARCH:
        return BACKGROUND_WORDSEARCH;
    default:
        return BACKGROUND_MENUS;
    }
}

int MNPuzzleMode::ScoreTableIndex(int typeFlag) {
    switch (typeFlag) {
    case PUZZLE_FLAG_SUDOKU:
        return 0;
    case PUZZLE_FLAG_CROSSWORD:
        return 1;
    case PUZZLE_FLAG_FITWORD:
        return 2;
    case PUZZLE_FLAG_WORDSEARCH:
        return 3;
    default:
        return -1;
    }
}

MNPuzzleMode::MNPuzzleMode(MNSubGameWorld* world, int gameMode, bool bAnagrams, const char* menuId,
                           const char* bgId)
    : MNSubGame(world), m_gameMode(gameMode), m_bAnagrams(bAnagrams), m_menuId(menuId),
      m_bgId(bgId) {}

MNPuzzleMode::~MNPuzzleMode() {
    Deinit();
}

void MNPuzzleMode::InitHost(MNModeMenu* menu, MNModeHostUI* host, kUIWidget* widget,
                            kSignal1<float>& tick, kSignal0<>& render) {
    m_menu = menu;
    m_menu->SetShowHelp(true);
    m_menu->SignalHelp.Connect(this, &MNPuzzleMode::OnHelp);
    m_hostWidget = widget;
    tick.Connect(this, &MNPuzzleMode::TickUI);
    render.Connect(this, &MNPuzzleMode::RenderUI);
    m_host = host;
    m_host->SetWidget(widget);
    m_bg = new MNBackgroundUI;
    kUIManager* const manager = m_world->GetUIManager();
    manager->AddUI(m_bgId, m_bg);
    manager->AddUI(m_menuId, m_host);
}

void MNPuzzleMode::Deinit() {
    if (m_host != nullptr) {
        delete m_hostWidget;
        delete m_host;
    }
    m_hostWidget = nullptr;
    m_host = nullptr;
    delete m_gameUI;
    m_gameUI = nullptr;
    EndAnagram();
    ReleaseWaitingAnagram();
    delete m_menu;
    m_menu = nullptr;
    delete m_bg;
    m_bg = nullptr;
}

void MNPuzzleMode::PushMenuLayers() {
    SetBackground(BACKGROUND_MENUS);
    kUIManager* const manager = m_world->GetUIManager();
    manager->PushLayer("bg")->PushUI(m_bg);
    m_menuLayer = manager->PushLayer("menu");
    m_menuLayer->PushUI(m_host);
}

void MNPuzzleMode::ShowMenuLayer() {
    kUIManager* const manager = m_world->GetUIManager();
    manager->PopLayer();
    m_menuLayer = manager->PushLayer("menu");
    m_menuLayer->PushUI(m_host);
}

void MNPuzzleMode::Deactivate() {
    kUIManager* const manager = m_world->GetUIManager();
    manager->PopLayer();
    manager->PopLayer();
}

void MNPuzzleMode::Tick(float delta) {
    if (m_bg != nullptr) {
        m_bg->Tick(delta);
    }
}

void MNPuzzleMode::SetBackground(eBackgroundLook look) {
    if (m_bg != nullptr) {
        m_bg->GetBackground()->SetMode(look);
    }
}

kUILayer* MNPuzzleMode::TopLayer() const {
    kUIManager* const manager = m_world->GetUIManager();
    return manager->GetLayer(manager->GetNumLayers() - 1);
}

bool MNPuzzleMode::StartPuzzle(Puzzle* puzzle, int typeFlag, const SaveGameActivePuzzle* saved) {
    m_bScreenUndrawable = false;
    if (puzzle == nullptr || PuzzleBankType(typeFlag) != puzzle->GetType()) {
        kLogFmt("ERROR: no puzzle of type %d to play\n", typeFlag);
        return false;
    }
    delete m_gameUI;
    m_gameUI = CreatePuzzleScreen(typeFlag);
    kUIManager* const manager = m_world->GetUIManager();
    if (manager->FindUI("game") != nullptr) {
        manager->RemoveUI("game");
    }
    manager->AddUI("game", m_gameUI);
    // The screen is set before it replaces the menu, so a screen the disc gave no art for, or
    // a refused record, leaves the menu up.
    m_bScreenUndrawable = !m_gameUI->IsDrawable();
    if (m_bScreenUndrawable || !m_gameUI->SetPuzzle(puzzle, RulesFor(*puzzle, typeFlag))) {
        kLogFmt(m_bScreenUndrawable
                    ? "ERROR: the %s screen's art is not on the disc; the puzzle is refused\n"
                    : "ERROR: the %s screen refused the bank's puzzle\n",
                KindName(typeFlag));
        delete m_gameUI;
        m_gameUI = nullptr;
        return false;
    }
    m_currentPuzzleType = typeFlag;
    manager->PopLayer();
    m_gameLayer = manager->PushLayer("game");
    m_gameLayer->PushUI(m_gameUI);
    if (m_bAnagrams) {
        m_gameUI->SetSpellout(SpelloutOf(puzzle));
    }
    m_gameUI->Play();
    m_gameUI->GameOverSignal.Connect(this, &MNPuzzleMode::OnGameOver);
    m_gameUI->GamePauseSignal.Connect(this, &MNPuzzleMode::OnGamePause);
    if (saved != nullptr) {
        u8 state[MNPuzzleUI::K_SAVED_STATE_SIZE];
        std::memcpy(state, saved->data, sizeof(state));
        if (m_gameUI->LoadPuzzleState(state, MNPuzzleUI::K_SAVED_STATE_SIZE) == 0) {
            kLogFmt("ERROR: the stored puzzle's state was refused; it starts afresh\n");
        }
    }
    m_gameUI->HelpSignal.Connect(this, &MNPuzzleMode::OnHowToPlay);
    ReleaseWaitingAnagram();
    if (m_bAnagrams) {
        PrepareAnagram(puzzle);
    }
    SetBackground(BackgroundMode(typeFlag));
    return true;
}

MNPuzzleRules MNPuzzleMode::RulesFor(const Puzzle& puzzle, int typeFlag) const {
    MNPuzzleRules rules = RulesOf(m_gameMode, typeFlag, puzzle.GetDifficulty());
    rules.prefillLevel = PrefillLevel();
    rules.targetTime = PuzzleTargetTime(typeFlag);
    return rules;
}

void MNPuzzleMode::PrepareAnagram(Puzzle* puzzle) {
    const SpelloutData* const spellout = SpelloutOf(puzzle);
    if (spellout == nullptr) {
        return;
    }
    MNAnagram* const anagram = new MNAnagram;
    if (!anagram->SetString(spellout->word)) {
        kLogFmt("ERROR: hidden word \"%.40s\" refused; no anagram follows\n", spellout->word);
        delete anagram;
        return;
    }
    m_spellout = anagram;
}

void MNPuzzleMode::ReleaseWaitingAnagram() {
    delete m_spellout;
    m_spellout = nullptr;
}

MNPuzzleUI* MNPuzzleMode::RunningScreen() const {
    return m_gameUI != nullptr && m_currentPuzzleType == m_gameUI->GetPuzzleType() ? m_gameUI
                                                                                   : nullptr;
}

bool MNPuzzleMode::StorePuzzle(SaveGameActivePuzzle& record) {
    if (RunningScreen() == nullptr) {
        kLogFmt("ERROR: stop and save without a puzzle; nothing stored\n");
        return false;
    }
    kLogFmt("Stop & save %s\n", KindName(m_currentPuzzleType));
    u8 state[MNPuzzleUI::K_SAVED_STATE_SIZE] = {};
    const bool bSaved = m_gameUI->SavePuzzleState(state, MNPuzzleUI::K_SAVED_STATE_SIZE) > 0;
    if (bSaved) {
        record.type = static_cast<u32>(m_currentPuzzleType);
        record.id = static_cast<u32>(m_gameUI->GetPuzzleId());
        std::memcpy(record.data, state, sizeof(record.data));
    } else {
        kLogFmt("ERROR: the puzzle's state did not fit; it is not stored\n");
    }
    record.bActive = bSaved;
    MNProfileManager::SaveData(true);
    return bSaved;
}

void MNPuzzleMode::ResumeStoredPuzzle(SaveGameActivePuzzle& record) {
    if (!record.bActive) {
        return;
    }
    const int type = static_cast<int>(record.type);
    const int bankType = PuzzleBankType(type);
    if (bankType == 0) {
        kLogFmt("ERROR: stored puzzle of unknown type %d dropped\n", type);
    } else {
        kLogFmt("Previous %s game found...loading\n", KindName(type));
        Puzzle* const puzzle = MNProfile::GetPuzzlebank()->GetPuzzle(
            static_cast<int>(record.id), MNProfileManager::GetLanguage());
        if (!StartPuzzle(puzzle, type, &record) && m_bScreenUndrawable) {
            kLogFmt("The stored %s is kept for a disc that can show it\n", KindName(type));
            return;
        }
    }
    record.Clear();
}

void MNPuzzleMode::StopAndSave(SaveGameActivePuzzle* record) {
    if (m_currentPuzzleType != PUZZLE_FLAG_ANAGRAM && record != nullptr) {
        StorePuzzle(*record);
    }
    DoGameOver(GAME_OVER_LEAVE);
}

int MNPuzzleMode::EndPuzzleScreen(int result) {
    if (RunningScreen() == nullptr) {
        return result;
    }
    switch (m_gameUI->GetState()) {
    case PUZZLE_STATE_COMPLETED:
        result = GAME_OVER_SOLVED;
        break;
    case PUZZLE_STATE_ABANDONED:
        result = GAME_OVER_ABANDONED;
        break;
    case PUZZLE_STATE_FAILED:
        result = GAME_OVER_FAILED;
        break;
    default:
        break;
    }
    const bool bSudoku = m_currentPuzzleType == PUZZLE_FLAG_SUDOKU;
    if (bSudoku) {
        kLogFmt("SUDOKU GAMEOVER DISCONNECT 1\n");
    }
    m_gameUI->GameOverSignal.Disconnect(this, &MNPuzzleMode::OnGameOver);
    if (bSudoku) {
        kLogFmt("SUDOKU GAMEOVER DISCONNECT 2\n");
    }
    ShowMenuLayer();
    return result;
}

void MNPuzzleMode::DisconnectPuzzleScreen() {
    if (m_gameUI == nullptr) {
        return;
    }
    m_gameUI->GameOverSignal.Disconnect(this, &MNPuzzleMode::OnGameOver);
    m_gameUI->GamePauseSignal.Disconnect(this, &MNPuzzleMode::OnGamePause);
    m_gameUI->HelpSignal.Disconnect(this, &MNPuzzleMode::OnHowToPlay);
}

bool MNPuzzleMode::HandOverToAnagram(int result) {
    const bool bHasWord =
        m_currentPuzzleType == PUZZLE_FLAG_FITWORD || m_currentPuzzleType == PUZZLE_FLAG_CROSSWORD;
    if (m_spellout == nullptr || result != GAME_OVER_SOLVED || !bHasWord) {
        return false;
    }
    m_bAnagram = true;
    delete m_game;
    MNAnagram* const anagram = m_spellout;
    m_spellout = nullptr;
    m_game = anagram;
    anagram->Play();
    anagram->GameOverSignal.Connect(this, &MNPuzzleMode::OnGameOver);
    anagram->GamePauseSignal.Connect(this, &MNPuzzleMode::OnGamePause);
    return true;
}

void MNPuzzleMode::EndAnagram() {
    m_bAnagram = false;
    MNAnagram* const anagram = static_cast<MNAnagram*>(m_game);
    if (anagram != nullptr) {
        anagram->GameOverSignal.Disconnect(this, &MNPuzzleMode::OnGameOver);
        anagram->GamePauseSignal.Disconnect(this, &MNPuzzleMode::OnGamePause);
    }
    delete m_game;
    m_game = nullptr;
}

bool MNPuzzleMode::IsMenuOpen() const {
    return m_menu->IsOpen();
}

bool MNPuzzleMode::IsMenuInGame() const {
    return m_menu->IsGame();
}

void MNPuzzleMode::TickUI(float delta) {
    if (m_game != nullptr) {
        m_game->Tick(delta);
        return;
    }
    m_menu->Tick(delta);
    if (!IsMenuOpen() && !IsMenuInGame()) {
        m_world->SetCurrentSubGame(SUBGAME_FRONTEND);
    }
}

void MNPuzzleMode::RenderUI() {
    if (m_game != nullptr) {
        m_game->Render();
    } else {
        m_menu->Render();
    }
}

void MNPuzzleMode::OnGamePause() {
    kLogFmt("OnGamePause\n");
    MNPauseMenuUI* const pause =
        static_cast<MNPauseMenuUI*>(m_world->GetUIManager()->FindUI("pause_menu"));
    if (pause == nullptr) {
        kLogFmt("ERROR: no pause screen\n");
        return;
    }
    PauseClock();
    pause->SetGameMode(m_gameMode, m_bAnagram);
    TopLayer()->PushUI(pause);
    SetBackground(BACKGROUND_MENUS);
}

void MNPuzzleMode::OnHowToPlay() {
    kLogFmt("OnHowToPlay\n");
    PushHelp(TopLayer());
}

void MNPuzzleMode::OnHelp() {
    MNSound::PlaySoundEffect(SFX_PRESS);
    PushHelp(m_menuLayer);
}

void MNPuzzleMode::PushHelp(kUILayer* layer) {
    kUI* const help = m_world->GetUIManager()->FindUI("help_menu");
    if (help == nullptr || layer == nullptr) {
        kLogFmt("ERROR: no help screen to show\n");
        return;
    }
    SetBackground(BACKGROUND_MENUS);
    layer->PushUI(help);
}

void MNPuzzleMode::ResetPuzzle() {
    if (RunningScreen() != nullptr) {
        m_gameUI->Reset();
    }
    SetBackground(BackgroundMode(m_currentPuzzleType));
}

void MNPuzzleMode::ResumePuzzle() {
    SetBackground(BackgroundMode(m_currentPuzzleType));
}

} // namespace Kelvo_lib
