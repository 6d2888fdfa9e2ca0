#include <puzzles/mntargettimewarning.h>

#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>
#include <services/mnsound.h>

namespace Kelvo_lib {

void MNTargetTimeWarning::Reset(bool bNewTarget) {
    if (bNewTarget) {
        m_bExpired = false;
    }
    m_fSecondTimer = 0.0f;
    m_bTickTock = true;
}

void MNTargetTimeWarning::Tick(float timer, float delta) {
    MNProfile* profile = MNProfileManager::GetActiveProfile();
    if (m_bExpired || profile == nullptr) {
        return;
    }
    const MNTournamentData* tournament = profile->GetTournamentData();
    if (tournament->m_currentPuzzle < 0 || tournament->m_currentPuzzle >= MN_TOURNAMENT_SLOTS) {
        return;
    }
    const MNTournamentPuzzleData& slot = tournament->m_puzzleDataList[tournament->m_currentPuzzle];
    if (slot.m_puzzleType != m_puzzleType) {
        return;
    }
    const float remaining = slot.m_fTargetTime - timer;
    if (remaining > 0.0f && remaining < kWarningSeconds) {
        if (m_fSecondTimer <= 0.0f) {
            m_fSecondTimer += 1.0f;
            MNSound::PlaySoundEffect(m_bTickTock ? SFX_TICK : SFX_TOCK);
            m_bTickTock = !m_bTickTock;
        }
        m_fSecondTimer -= delta;
    } else if (remaining <= 0.0f) {
        m_bExpired = true;
        MNSound::PlaySoundEffect(SFX_TARGET_EXPIRED);
    }
}

} // namespace Kelvo_lib
