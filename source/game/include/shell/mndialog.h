// MNDialog: the system-dialog layer. It listens to the console events and the dialog
// manager: it opens the lost-remote dialog while player 1's remote is gone and the disc
// dialog while the disc cannot be read, shows the active framework dialog as a dialog box
// whose options are chosen with the pointer and A, and carries out RESET, POWER and the
// return to the console menu once no save is being written (the screen is held black
// meanwhile). While a dialog is open the main loop does not tick the game. Static, main
// thread only; signals reach it from the console's callbacks on the main thread too.
#pragma once

namespace Kelvo_lib {

class MNDialog {
public:
    // How the run ends, once asked for and no save is being written.
    enum eExit { EXIT_NONE, EXIT_RESET, EXIT_POWER };

    // Connects to the console-event signals (kEvent::Init and kDialogManager::Init first);
    // loads the dialog box's art. Storage dialogs are opened by the profile manager.
    static void Init();
    static void Deinit();
    // Reads A and the pointer for the open dialog and carries out a pending reset or power
    // off once no save is being written. May run twice a frame.
    static void Tick(float delta);
    // Draws the active dialog; nothing while none is open or the screen is black.
    static void Render();
    // The home-button icon over the game's picture while the home button is enabled.
    static void RenderHomeButtonIcon();

    static bool IsDialogOpen();
    static bool IsScreenBlack();

    // Whether a HOME press may open the home-button menu; off during the strap screen.
    static void SetHomeButtonEnabled(bool bEnabled);
    static bool IsHomeButtonEnabled();

    // RESET (the signal, or the main loop's flag) and POWER: the screen turns black and,
    // once no save is being written, the main loop ends.
    static void Reset();
    static void PowerOff();
    static bool IsExitRequested();
    // Which end was carried out (EXIT_NONE while the run goes on).
    static eExit GetExit();
};

} // namespace Kelvo_lib
