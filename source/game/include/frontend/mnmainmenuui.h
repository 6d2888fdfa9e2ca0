// MNMainMenuUI: the screen "main_menu": the five game modes and the options list with the
// sound-effect and music volumes. Choosing a mode emits its start signal; back at the top
// returns to the profile screen, help opens "help_menu". The options are saved once when
// the player leaves their list. Registered with and owned by the world's UI manager.
// Main thread only.
#pragma once

#include <services/mnvolumeoptions.h>
#include <tui/mnmenuscreen.h>

namespace Kelvo_lib {

class MNMainMenuUI : public MNMenuScreen {
public:
    void Init() override;
    void Activate(kUILayer* layer) override;
    void Tick(float delta) override;

    kSignal0<> StartTournamentSignal;
    kSignal0<> StartQuickBlastSignal;
    kSignal0<> StartSimplyPuzzleSignal;
    kSignal0<> StartFastAndFunSignal;
    kSignal0<> StartHeadToHeadSignal;

private:
    void OnSelect(int id);
    void OnStateChange(int id, int state);
    void OnHelp();
    void OnBack();

    MNVolumeOptions m_volumes{MENU_OPTIONS, MENU_EFFECTS_VOLUME, MENU_MUSIC_VOLUME};
};

} // namespace Kelvo_lib
