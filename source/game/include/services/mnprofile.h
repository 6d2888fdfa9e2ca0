// MNProfile: one player's profile, a view onto its record in the profile manager's save
// block plus the Head to Head state and the run timers that are never saved. The profile
// manager owns the four profiles; the random generator and the puzzle bank of the current
// language are the game's only ones. Main thread only.
#pragma once

#include <services/mnsavedata.h>

#include <kelvo/math/kmrandom.h>

namespace Kelvo_lib {

class PuzzleBank;

// The Head to Head state of a profile, in memory only.
struct MNHeadToHeadData {
    char m_player1Name[32];
    char m_player2Name[32];
    bool m_player1Winner;
    int m_player1Lives;
    int m_player2Lives;
    int m_player1Time; // whole seconds left
    int m_player2Time;
    bool m_player1Active; // player 1's turn
    bool m_sprintMode;
    int m_player1Index;
    int m_player2Index;
};

class MNProfile {
public:
    // The debug profile's name: it turns on the debug key and the debug puzzle choices.
    static constexpr const char* kDebugName = "ZAVIVIRI";

    explicit MNProfile(MNSaveProfileData* data) : m_data(data) {}
    MNProfile(const MNProfile&) = delete;
    MNProfile& operator=(const MNProfile&) = delete;

    const char* GetName() const { return m_data->name; }
    int GetSoundVolume() const { return m_data->soundVolume; }
    int GetMusicVolume() const { return m_data->musicVolume; }
    // Levels outside 0 to MN_MAX_VOLUME are logged and brought into range.
    void SetSoundVolume(int level);
    void SetMusicVolume(int level);
    // The sound table plays the two levels: the one place a profile's volumes are applied.
    void ApplyVolumes() const;
    // The record back to an unused slot: "UNUSED", handedness 1, music 3, sound 5, every
    // mode record at its start.
    void Clear();

    MNSaveProfileData* GetSaveData() { return m_data; }
    MNTournamentData* GetTournamentData() { return &m_data->tournamentData; }
    MNQuickBlastData* GetQuickBlastData() { return &m_data->quickblastData; }
    MNFastAndFunData* GetFastAndFunData() { return &m_data->fastandfunData; }
    MNHeadToHeadData* GetHeadToHeadData() { return &m_headToHead; }

    // True once per press of the debug key while the active profile is the debug profile.
    static bool CheatKeyPressed();
    // Seeded from the tick count on first use.
    static kmRandomMersenneTwister* GetRandomGen();
    static PuzzleBank* GetPuzzlebank();

    float m_hackTimer = 0.0f; // the run's seconds left (Quick Blast, Fast and Fun)

private:
    MNSaveProfileData* m_data;
    MNHeadToHeadData m_headToHead{};
};

} // namespace Kelvo_lib
