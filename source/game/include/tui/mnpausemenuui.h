// MNPauseMenuUI: the pause screen "pause_menu" that every game mode opens over its puzzle:
// resume, reset, quit (saved), abandon the puzzle or the Quick Blast run (each after a yes),
// and the volume options. Which entries show depends on the game mode and on whether the
// anagram runs. It takes itself off its layer before it calls the world's current sub-game.
// Registered with and owned by the world's UI manager. Main thread only; without a current
// sub-game a choice only closes the screen.
#pragma once

#include <services/mnvolumeoptions.h>
#include <tui/mnmenuscreen.h>

namespace Kelvo_lib {

class MNSubGameWorld;
class MNSubGame;

class MNPauseMenuUI : public MNMenuScreen {
public:
    explicit MNPauseMenuUI(MNSubGameWorld* world) : m_world(world) {}

    void Init() override;
    void Activate(kUILayer* layer) override;
    void Tick(float delta) override;

    // The eGameMode served, and whether the anagram of a solved puzzle runs.
    void SetGameMode(int gameMode, bool bSpellout);

private:
    void ShowEntries();
    void AskConfirmation(int entry);
    // Closes the screen; returns the sub-game to call, null when there is none.
    MNSubGame* Leave();
    void Resume(bool bReset);

    void OnSelect(int id);
    void OnStateChange(int id, int state);
    void OnBack();
    void OnHelp();

    MNSubGameWorld* m_world;
    int m_gameMode = 0;
    bool m_bSpellout = false;
    int m_pendingEntry = -1; // the entry waiting for a yes
    MNVolumeOptions m_volumes{MENU_PAUSE_OPTIONS, MENU_PAUSE_EFFECTS_VOLUME,
                              MENU_PAUSE_MUSIC_VOLUME};
};

} // namespace Kelvo_lib
