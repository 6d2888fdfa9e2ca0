#include <modes/mnsimplypuzzle.h>

#include <modes/mnsimplypuzzlemenu.h>
#include <puzzles/mnpuzzleui.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsavedata.h>
#include <services/mnsound.h>
#include <services/mnsubgameworld.h>
#include <services/puzzlebank.h>

#include <kelvo/input/kinputsystem.h>
#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

MNSimplyPuzzle::MNSimplyPuzzle(MNSubGameWorld* world)
    : MNPuzzleMode(world, GAME_MODE_SIMPLYPUZZLE, true, "simply_puzzle_menu", "simply_puzzle_bg") {}

MNSimplyPuzzleMenu* MNSimplyPuzzle::GetMenu() const {
    return static_cast<MNSimplyPuzzleMenu*>(m_menu);
}

void MNSimplyPuzzle::Init() {
    kLogFmt("MNSimplyPuzzle::Init\n");
    MNSimplyPuzzleMenu* const menu = new MNSimplyPuzzleMenu;
    menu->PlaySignal.Connect(this, &MNSimplyPuzzle::OnPlay);
    SimplyPuzzleUIWidget* const widget = new SimplyPuzzleUIWidget;
    InitHost(menu, new SimplyPuzzleUI, widget, widget->TickSignal, widget->RenderSignal);
    m_currentPuzzleType = 0;
    m_cheatPuzzleId = -1;
}

void MNSimplyPuzzle::Deinit() {
    if (m_menu != nullptr) {
        kLogFmt("MNSimplyPuzzle::Deinit\n");
    }
    MNPuzzleMode::Deinit();
}

SaveGameActivePuzzle* MNSimplyPuzzle::ResumeRecord() const {
    MNProfile* const profile = m_world->GetProfile();
    return profile != nullptr ? &profile->GetSaveData()->simplypuzzleActivePuzzle : nullptr;
}

void MNSimplyPuzzle::Activate() {
    m_cheatPuzzleId = -1;
    PushMenuLayers();
    GetMenu()->Rebuild();
    GetMenu()->Open();
    SaveGameActivePuzzle* const record = ResumeRecord();
    if (record != nullptr) {
        ResumeStoredPuzzle(*record);
    }
}

void MNSimplyPuzzle::OnPlay(int type, ePuzzleDifficulty difficulty) {
    m_currentDifficulty = difficulty;
    MNSound::StopMusic();
    Puzzle* const puzzle = DrawPuzzle(type, difficulty);
    if (!StartPuzzle(puzzle, type)) {
        GetMenu()->Open();
    }
}

void MNSimplyPuzzle::QuitPuzzle() {
    StopAndSave(ResumeRecord());
}

void MNSimplyPuzzle::DoGameOver(int result) {
    kLogFmt("OnGameOver\n");
    const bool bAnagramEnded = m_bAnagram;
    if (bAnagramEnded) {
        result = GAME_OVER_SOLVED;
    } else {
        result = EndPuzzleScreen(result);
    }
    if (!bAnagramEnded && HandOverToAnagram(result)) {
        m_currentPuzzleType = PUZZLE_FLAG_ANAGRAM;
        SetBackground(BACKGROUND_MENUS);
        kLogFmt("Save\n");
        MNProfileManager::SaveData(false);
        m_cheatPuzzleId = -1;
        return;
    }
    if (result == GAME_OVER_LEAVE) {
        m_world->SetCurrentSubGame(SUBGAME_FRONTEND);
    }
    SetBackground(BACKGROUND_MENUS);
    kLogFmt("Save\n");
    MNProfileManager::SaveData(false);
    EndAnagram();
    GetMenu()->PostGameMenu();
    m_cheatPuzzleId = -1;
}

void MNSimplyPuzzle::Tick(float delta) {
    MNPuzzleMode::Tick(delta);
    TickCheatKey(m_cheatFwd, KI_PAD1_RIGHT, false, delta);
    TickCheatKey(m_cheatBwd, KI_PAD1_LEFT, true, delta);
}

void MNSimplyPuzzle::TickCheatKey(CheatKey& key, int input, bool bPrevious, float delta) {
    const bool bHeld =
        kInput != nullptr && kInput->GetInputState(static_cast<kInputType>(input), 0) != 0.0f;
    if (m_gameUI == nullptr || !bHeld) {
        key.repeat = 0.0f;
        key.bFirstPress = true;
        return;
    }
    if (!MNSimplyPuzzleMenu::IsDebugProfile()) {
        return;
    }
    if (key.repeat > 0.0f) {
        key.repeat -= delta;
    }
    if (key.repeat <= 0.0f) {
        key.repeat = key.bFirstPress ? kCheatFirstRepeat : kCheatRepeat;
        key.bFirstPress = false;
        Cheat(bPrevious);
    }
}

void MNSimplyPuzzle::Cheat(bool bPrevious) {
    if (m_currentPuzzleType == PUZZLE_FLAG_SUDOKU) {
        kLogFmt("No cheat mode on Sudoku\n");
        return;
    }
    MNSound::StopMusic();
    const int bankType = PuzzleBankType(m_currentPuzzleType);
    const int language = MNProfileManager::GetLanguage();
    PuzzleBank* const bank = MNProfile::GetPuzzlebank();
    kLogFmt("Cheat: CheatID: %d\n", m_cheatPuzzleId);
    const int id = bank->GetNextPrevPuzzleId(m_cheatPuzzleId, bankType, m_currentDifficulty,
                                             language, bPrevious);
    kLogFmt(" returned puzzle %d - cheatid %d\n", id, m_cheatPuzzleId);
    if (id == -2) {
        MNSound::PlaySoundEffect(SFX_END_OF_LIST);
        kLogFmt("END OF PUZZLES\n");
        return;
    }
    if (bankType == 0 || m_gameUI == nullptr) {
        return;
    }
    Puzzle* const puzzle = bank->GetPuzzle(id, language);
    if (puzzle != nullptr && m_gameUI->SetPuzzle(puzzle, RulesFor(*puzzle, m_currentPuzzleType))) {
        m_gameUI->Reset();
    }
}

} // namespace Kelvo_lib
