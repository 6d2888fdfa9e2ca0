#include <frontend/mnmainmenuui.h>

#include <frontend/mnprofileui.h>
#include <services/mnprofilemanager.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

void MNMainMenuUI::Init() {
    MNMenuScreen::Init();
    m_menuWidget->SetAllowBackAtRoot(true);
    m_menuWidget->SignalSelect.Connect(this, &MNMainMenuUI::OnSelect);
    m_menuWidget->SignalHelp.Connect(this, &MNMainMenuUI::OnHelp);
    m_menuWidget->SignalBack.Connect(this, &MNMainMenuUI::OnBack);
    m_menuWidget->SignalStateChange.Connect(this, &MNMainMenuUI::OnStateChange);
    m_volumes.Forget();
}

void MNMainMenuUI::Activate(kUILayer* layer) {
    m_layer = layer;
    ShowNode(m_volumes.IsOnOptions() ? MENU_OPTIONS : MENU_MAIN);
    m_volumes.Forget();
    m_volumes.Show(m_menuWidget->GetMenu());
    // The language is fixed: the options offer the two volumes only.
    m_menuWidget->DisableItem(MENU_CHANGE_LANGUAGE);
}

void MNMainMenuUI::Tick(float) {
    m_volumes.Track(GetCurrentNodeId());
}

void MNMainMenuUI::OnSelect(int id) {
    kLogFmt("Selected %d\n", id);
    switch (id) {
    case MENU_TOURNAMENT:
        StartTournamentSignal();
        break;
    case MENU_QUICKBLAST:
        StartQuickBlastSignal();
        break;
    case MENU_SIMPLYPUZZLE:
        StartSimplyPuzzleSignal();
        break;
    case MENU_FASTANDFUN:
        StartFastAndFunSignal();
        break;
    case MENU_HEADTOHEAD:
        StartHeadToHeadSignal();
        break;
    case MENU_CHANGE_LANGUAGE_YES:
        PushScreen("language_menu");
        break;
    case MENU_CHANGE_LANGUAGE_NO:
        m_menuWidget->GetMenu()->DoAction(KMENU_BACK);
        m_menuWidget->GetMenu()->DoAction(KMENU_BACK);
        break;
    default:
        break;
    }
}

void MNMainMenuUI::OnStateChange(int id, int state) {
    kLogFmt("MainMenu StateChange %d, %d\n", id, state);
    m_volumes.Change(id, state);
}

void MNMainMenuUI::OnHelp() {
    PushScreen("help_menu");
}

void MNMainMenuUI::OnBack() {
    MNProfileUI* const profiles = static_cast<MNProfileUI*>(
        GetUIManager() != nullptr ? GetUIManager()->FindUI("profile_menu") : nullptr);
    if (profiles == nullptr) {
        kLogFmt("ERROR: Couldn't find profile UI\n");
        return;
    }
    kLogFmt("Restarting profile UI\n");
    MNProfileManager::SaveData(false);
    if (GetUIManager()->FindUI("game") != nullptr) {
        GetUIManager()->RemoveUI("game");
    }
    profiles->SetState(MNProfileUI::STATE_CHOOSING);
    m_layer->PushUI(profiles);
}

} // namespace Kelvo_lib
