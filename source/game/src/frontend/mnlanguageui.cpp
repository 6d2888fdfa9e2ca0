#include <frontend/mnlanguageui.h>

#include <frontend/mnprofileui.h>
#include <services/mnprofilemanager.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

bool s_bNOA = false;

// The eLanguage of the entries 3 to 8.
constexpr int s_languages[] = {0, 1, 3, 4, 2, 5};

} // namespace

bool MNLanguageUI::GetNOA() {
    return s_bNOA;
}

int MNLanguageUI::LanguageOfNode(int id) {
    if (id < MENU_LANGUAGE_UK_ENGLISH || id > MENU_LANGUAGE_DUTCH) {
        return s_languages[0];
    }
    return s_languages[id - MENU_LANGUAGE_UK_ENGLISH];
}

void MNLanguageUI::Init() {
    MNMenuScreen::Init();
    m_menuWidget->SetShowHelp(false);
    m_menuWidget->SetButtonScroll(true);
    m_menuWidget->SignalSelect.Connect(this, &MNLanguageUI::OnSelect);
    m_menuWidget->SignalHighlight.Connect(this, &MNLanguageUI::OnHighlight);
}

void MNLanguageUI::Activate(kUILayer* layer) {
    m_layer = layer;
    ShowNode(MENU_LANGUAGES);
    const int depth = layer != nullptr ? layer->GetNumUIs() : -1;
    if (layer == m_movedOnLayer && depth == m_movedOnDepth) {
        // Uncovered: the screen it opened has gone; moving on again would never let the
        // layer empty.
        m_movedOnLayer = nullptr;
        m_movedOnDepth = -1;
        return;
    }
    OnSelect(MENU_LANGUAGE_UK_ENGLISH);
}

void MNLanguageUI::OnSelect(int id) {
    const MNProfileUI* const profiles = static_cast<const MNProfileUI*>(
        GetUIManager() != nullptr ? GetUIManager()->FindUI("profile_menu") : nullptr);
    const char* next = "profile_menu";
    if (profiles != nullptr && profiles->GetState() == MNProfileUI::STATE_CHOSEN) {
        kLogFmt("Profile will skip to main menu anyway\n");
        next = "main_menu";
    }
    m_movedOnLayer = m_layer;
    m_movedOnDepth = m_layer != nullptr ? m_layer->GetNumUIs() : -1;
    PushScreen(next);
    kLogFmt("Language %d selected\n", id);
    MNProfileManager::SetLanguage(LanguageOfNode(id), true, true);
}

void MNLanguageUI::OnHighlight(int id) {
    kLogFmt("Language %d highlighted\n", id);
    MNProfileManager::SetLanguage(LanguageOfNode(id), false, false);
}

} // namespace Kelvo_lib
