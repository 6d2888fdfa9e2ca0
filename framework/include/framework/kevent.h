// kEvent: the console's happenings (RESET, POWER, HOME, remotes losing or regaining their
// connection, disc drive errors) as static signals, for the game's system-dialog layer.
// It owns one dialog for a lost remote and one for disc errors, hands them out with its
// signals and never opens them itself. Static service on the main thread: the console
// delivers RESET and POWER there at the retrace wait, and Check polls the rest once per
// frame. Nothing fails: calls before Init do nothing, disc test reads that cannot run stop.
#pragma once

#include <framework/kdialog.h>

#include <kelvo/object/ksignal.h>

// Set by RESET while the reset signal is held back; the main loop acts on it.
extern bool g_bResetFlag;
// Whether Check watches the remotes; true at start.
extern bool g_bEnableControllerCheck;

namespace Kelvo_lib {

class kEvent {
public:
    static constexpr int kDialogPriority = 4;

    // Once only (until Deinit): creates the two dialogs, takes the remotes' connection
    // states (remote 0 counts as connected) and installs the RESET and POWER callbacks.
    static void Init();
    // Removes the callbacks, stops the disc test reads and frees the dialogs.
    static void Deinit();

    // Starts an asynchronous test read of the file, alternating between offsets 128 and 0,
    // unless the drive is busy or in error or a test read is still in flight.
    static void WiiDiscCheck(const char* filename);
    // The per-frame poll: remotes, HOME, disc drive status (the disc dialog's body id 103 no
    // disc, 104 wrong disc, 105 retry, 106 fatal error).
    static void Check();

    static void ResetButtonCallback();
    static void PowerButtonCallback();

    // A new dialog for the disc status, owned by the caller: body id 103 (no disc, 4),
    // 104 (wrong disc, 6) or 105 (retry, 11).
    static kDialog* GetWiiDiscErrorDialog(int status);
    static void SetDiscErrorReported(bool bReported);

    // While held back, RESET only sets g_bResetFlag; held back at start.
    static void DisableResetSignal();
    static void EnableResetSignal();

    static kSignal0<> ResetButtonSignal;
    static kSignal0<> PowerButtonSignal;
    static kSignal0<> HomeButtonSignal;
    static kSignal2<kDialog*, int> ControllerCommunicationLostSignal;
    static kSignal2<kDialog*, int> ControllerCommunicationEstablishedSignal;
    static kSignal1<kDialog*> DiscErrorSignal;
    static kSignal1<kDialog*> DiscOkSignal;

    // Connection points only: nothing emits them on this console.
    static kSignal2<kDialog*, int> UnsupportedControllerExtensionSignal;
    static kSignal2<kDialog*, int> ControllerDisconnectSignal;
    static kSignal2<kDialog*, int> ControllerConnectSignal;
    static kSignal0<> LostFocusSignal;
    static kSignal0<> GotFocusSignal;
    static kSignal0<> AltEnterSignal;
    static kSignal0<> AltEscapeSignal;
    static kSignal0<> AltTabSignal;
    static kSignal0<> SaveLoadUtilityCompleteSignal;
};

} // namespace Kelvo_lib
