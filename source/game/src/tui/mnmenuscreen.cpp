#include <tui/mnmenuscreen.h>

#include <services/mnprofilemanager.h>
#include <services/mnsound.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

MNMenuScreen::~MNMenuScreen() {
    FreeMenu();
}

void MNMenuScreen::Init() {
    FreeMenu();
    m_menuWidget = new MNMenuWidget;
    m_nodes = new MenuNodeData;
}

void MNMenuScreen::Deinit() {
    FreeMenu();
}

void MNMenuScreen::FreeMenu() {
    delete m_menuWidget;
    m_menuWidget = nullptr;
    delete m_nodes;
    m_nodes = nullptr;
}

int MNMenuScreen::GetCurrentNodeId() const {
    const kMenuNode* const node =
        m_menuWidget != nullptr ? m_menuWidget->GetMenu()->GetCurrentNode() : nullptr;
    return node != nullptr ? node->m_menuIdx : -1;
}

void MNMenuScreen::ShowNode(int id) {
    if (m_menuWidget != nullptr) {
        m_menuWidget->GetMenu()->SetNode(FindNode(id));
    }
}

kMenuNode* MNMenuScreen::FindNode(int id) const {
    return m_nodes != nullptr ? m_nodes->GetNode(id) : nullptr;
}

kUI* MNMenuScreen::PushScreen(const char* name) {
    kUI* const screen = GetUIManager() != nullptr ? GetUIManager()->FindUI(name) : nullptr;
    if (screen == nullptr || m_layer == nullptr) {
        kLogFmt("ERROR: %s cannot open %s\n", GetId(), name);
        return nullptr;
    }
    return m_layer->PushUI(screen);
}

void MNMenuScreen::Close() {
    if (m_layer != nullptr) {
        m_layer->RemoveUI(this);
    }
}

void MNMenuScreen::ShowVolumes(int effectsId, int musicId) {
    const MNProfile* const profile = MNProfileManager::GetActiveProfile();
    if (profile == nullptr) {
        kLogFmt("%s: no active profile for the volumes\n", GetId());
        return;
    }
    const int levels[2] = {profile->GetSoundVolume(), profile->GetMusicVolume()};
    const int ids[2] = {effectsId, musicId};
    for (int i = 0; i < 2; ++i) {
        if (kMenuNode* const node = m_menuWidget->GetMenu()->GetNodeById(ids[i])) {
            node->m_currentState = levels[i];
            node->m_bVolumeBars = true;
        }
    }
}

bool MNMenuScreen::ChangeVolume(int id, int state, int effectsId, int musicId) {
    if (id != effectsId && id != musicId) {
        return false;
    }
    MNProfile* const profile = MNProfileManager::GetActiveProfile();
    if (id == effectsId) {
        MNSound::SetSoundEffectVolume(state);
        if (profile != nullptr) {
            profile->SetSoundVolume(state);
        }
    } else {
        MNSound::SetMusicVolume(state);
        if (profile != nullptr) {
            profile->SetMusicVolume(state);
        }
    }
    MNSound::PlaySoundEffect(SFX_VOLUME);
    return true;
}

void MNMenuScreen::SaveOnLeavingOptions(bool bOnOptions) {
    if (bOnOptions) {
        m_bOnOptions = true;
    } else if (m_bOnOptions) {
        kLogFmt("Saving as we were on options menu\n");
        MNProfileManager::SaveData(false);
        m_bOnOptions = false;
    }
}

} // namespace Kelvo_lib
