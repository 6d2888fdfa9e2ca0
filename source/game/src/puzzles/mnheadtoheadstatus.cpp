#include <puzzles/mnheadtoheadstatus.h>

#include <services/mnpalette.h>
#include <services/mnprofile.h>
#include <services/mnprofilemanager.h>

#include <framework/kfont.h>

#include <cstdio>

namespace Kelvo_lib {

bool MNHeadToHeadStatus::IsPaused(bool bTakeTurns) {
    if (!bTakeTurns) {
        return false;
    }
    MNProfile* profile = MNProfileManager::GetActiveProfile();
    const MNHeadToHeadData* players = profile != nullptr ? profile->GetHeadToHeadData() : nullptr;
    return players != nullptr && !players->m_sprintMode &&
           (players->m_player1Time == 0 || players->m_player2Time == 0);
}

bool MNHeadToHeadStatus::Read() {
    MNProfile* profile = MNProfileManager::GetActiveProfile();
    if (profile == nullptr) {
        return false;
    }
    const MNHeadToHeadData& players = *profile->GetHeadToHeadData();
    const char* names[] = {players.m_player1Name, players.m_player2Name};
    const int lives[] = {players.m_player1Lives, players.m_player2Lives};
    const int times[] = {players.m_player1Time, players.m_player2Time};
    for (int i = 0; i < 2; ++i) {
        if (players.m_sprintMode) {
            std::snprintf(m_lines[i], sizeof(m_lines[i]), "%.32s: %d", names[i], lives[i]);
        } else {
            std::snprintf(m_lines[i], sizeof(m_lines[i]), "%.32s: %d:%.2d", names[i], times[i] / 60,
                          times[i] % 60);
        }
    }
    m_bPlayer1ToMove = players.m_player1Active;
    return true;
}

void MNHeadToHeadStatus::Print(kFont& font, int player, int x, int y,
                               unsigned int moverColour) const {
    const bool bToMove = (player == 0) == m_bPlayer1ToMove;
    font.SetColour(bToMove ? moverColour : MNPalette::kWhite, false);
    font.Print(x, y, m_lines[player], 0, 0.0f);
}

} // namespace Kelvo_lib
