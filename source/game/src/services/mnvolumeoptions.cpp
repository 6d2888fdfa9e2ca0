#include <services/mnvolumeoptions.h>

#include <services/mnprofilemanager.h>
#include <services/mnsound.h>

#include <framework/kmenu.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

void MNVolumeOptions::Show(kMenu* menu) const {
    const MNProfile* const profile = MNProfileManager::GetActiveProfile();
    if (profile == nullptr) {
        kLogFmt("MNVolumeOptions: no active profile for the volumes\n");
        return;
    }
    const int levels[2] = {profile->GetSoundVolume(), profile->GetMusicVolume()};
    const int ids[2] = {m_effectsId, m_musicId};
    for (int i = 0; i < 2; ++i) {
        if (kMenuNode* const node = menu->GetNodeById(ids[i])) {
            node->m_currentState = levels[i];
            node->m_bVolumeBars = true;
        }
    }
}

bool MNVolumeOptions::Change(int id, int state) const {
    if (id != m_effectsId && id != m_musicId) {
        return false;
    }
    MNProfile* const profile = MNProfileManager::GetActiveProfile();
    if (profile == nullptr) {
        kLogFmt("MNVolumeOptions: no active profile to keep volume %d in\n", state);
    } else {
        if (id == m_effectsId) {
            profile->SetSoundVolume(state);
        } else {
            profile->SetMusicVolume(state);
        }
        profile->ApplyVolumes();
    }
    MNSound::PlaySoundEffect(SFX_VOLUME);
    return true;
}

void MNVolumeOptions::Track(int currentNodeId) {
    if (currentNodeId == m_optionsId) {
        m_bOnOptions = true;
    } else if (m_bOnOptions) {
        kLogFmt("Saving as we were on options menu\n");
        MNProfileManager::SaveData(false);
        m_bOnOptions = false;
    }
}

} // namespace Kelvo_lib
