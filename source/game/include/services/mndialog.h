// MNDialog: the system-dialog layer. HOME opens the console's home-button menu (sound
// faded meanwhile); player 1's remote lost and a disc that cannot be read open their
// dialogs; the active framework dialog shows as a dialog box whose options are chosen with
// the pointer and A; RESET, POWER and the return to the console menu are carried out once
// no save is being written (the screen held black meanwhile). While a dialog is open the
// main loop does not tick the game. Static, main thread only.
#pragma once

namespace Kelvo_lib {

class MNDialog {
public:
    // How the run ends, once asked for and no save is being written.
    enum eExit { EXIT_NONE, EXIT_RESET, EXIT_POWER, EXIT_MENU };

    // Connects to the console-event signals (kEvent::Init and kDialogManager::Init first);
    // loads the dialog box's art. Storage dialogs are opened by the profile manager.
    static void Init();
    static void Deinit();
    // Loads the home-button menu's own art and fonts (after Init, at start-up), so that it
    // opens later without the disc; until then HOME opens no menu (logged).
    static void PreloadHomeMenu();
    // Reads A and the pointer for the open dialog and carries out a pending reset or power
    // off once no save is being written. May run twice a frame.
    static void Tick(float delta);
    // Draws the active dialog; nothing while none is open or the screen is black.
    static void Render();
    // For a moment after a HOME press that is not allowed, the sign saying so; never once
    // HOME is allowed again.
    static void RenderHomeButtonIcon();
    static bool IsHomeOffIconShown();

    static bool IsDialogOpen();
    static bool IsScreenBlack();

    // Whether a HOME press may open the home-button menu; off during the strap screen.
    // Allowing it takes the sign away.
    static void SetHomeButtonEnabled(bool bEnabled);
    static bool IsHomeButtonEnabled();

    // RESET (the signal, or the main loop's flag) and POWER: the screen turns black and,
    // once no save is being written, the main loop ends; after RESET the entry point, with
    // everything shut down, starts the program again (OSRestart).
    static void Reset();
    static void PowerOff();
    // The home-button menu's return to the console menu, carried out as RESET is.
    static void ReturnToMenu();
    static bool IsExitRequested();
    // Which end was carried out (EXIT_NONE while the run goes on).
    static eExit GetExit();
};

} // namespace Kelvo_lib
