// MNDialog: the system-dialog layer's place in the start-up and the main loop. For now it
// opens no dialogs: nothing is ever open and the screen is never held black, so the loop
// always runs the game. It listens to RESET and POWER, which end the main loop so that the
// run closes in order, and keeps whether HOME is enabled. The home-button menu and the
// message dialogs will live behind these same calls. Static, main thread only.
#pragma once

namespace Kelvo_lib {

class MNDialog {
public:
    // Connects to the console-event signals (kEvent::Init first).
    static void Init();
    static void Deinit();
    static void Tick(float delta);
    // Draws the open dialog; nothing while none is open or the screen is black.
    static void Render();
    // The home-button icon over the game's picture while the home button is enabled.
    static void RenderHomeButtonIcon();

    static bool IsDialogOpen();
    static bool IsScreenBlack();

    // Whether a HOME press may open the home-button menu; off during the strap screen.
    static void SetHomeButtonEnabled(bool bEnabled);
    static bool IsHomeButtonEnabled();

    // RESET (the signal, or the main loop's flag) and POWER: the main loop ends.
    static void Reset();
    static void PowerOff();
    static bool IsExitRequested();
};

} // namespace Kelvo_lib
