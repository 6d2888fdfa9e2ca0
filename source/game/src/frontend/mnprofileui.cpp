#include <frontend/mnprofileui.h>

#include <shell/mnprofilemanager.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

void MNProfileUI::Tick(float) {
    kUI* const mainMenu = GetUIManager() != nullptr ? GetUIManager()->FindUI("main_menu") : nullptr;
    if (mainMenu == nullptr || m_layer == nullptr) {
        kLogFmt("ERROR: Couldn't find main menu\n");
        return;
    }
    if (MNProfileManager::GetActiveProfileIndex() < 0) {
        MNProfileManager::SetActiveProfile(0);
    }
    m_state = STATE_CHOSEN;
    // Gives way to the main menu: uncovers it when it lies just below, else replaces itself.
    kUILayer* const layer = m_layer;
    const int count = layer->GetNumUIs();
    const bool bMenuBelow = count >= 2 && layer->GetUI(count - 2) == mainMenu;
    layer->RemoveUI(this);
    if (!bMenuBelow) {
        layer->PushUI(mainMenu);
    }
}

} // namespace Kelvo_lib
