// Console events: the RESET and POWER callbacks, the per-frame poll of remotes, HOME and
// the disc drive, and the small test read that keeps a removed disc visible in the drive
// status.
#include <framework/kevent.h>
#include <framework/ktext.h>

#include <kelvo/input/kinputsystem.h>
#include <kelvo/platform/klog.h>

#include <console/dvd.h>
#include <console/os.h>

bool g_bResetFlag = false;
bool g_bEnableControllerCheck = true;

namespace Kelvo_lib {

kSignal0<> kEvent::ResetButtonSignal;
kSignal0<> kEvent::PowerButtonSignal;
kSignal0<> kEvent::HomeButtonSignal;
kSignal2<kDialog*, int> kEvent::ControllerCommunicationLostSignal;
kSignal2<kDialog*, int> kEvent::ControllerCommunicationEstablishedSignal;
kSignal1<kDialog*> kEvent::DiscErrorSignal;
kSignal1<kDialog*> kEvent::DiscOkSignal;
kSignal2<kDialog*, int> kEvent::UnsupportedControllerExtensionSignal;
kSignal2<kDialog*, int> kEvent::ControllerDisconnectSignal;
kSignal2<kDialog*, int> kEvent::ControllerConnectSignal;
kSignal0<> kEvent::LostFocusSignal;
kSignal0<> kEvent::GotFocusSignal;
kSignal0<> kEvent::AltEnterSignal;
kSignal0<> kEvent::AltEscapeSignal;
kSignal0<> kEvent::AltTabSignal;
kSignal0<> kEvent::SaveLoadUtilityCompleteSignal;

namespace {

constexpr const char* kLogSystem = "kEvent";
constexpr int kNumChannels = 4;
constexpr int kRemoteLostMessage = 101;
constexpr int kFatalDiscErrorMessage = 106;
// A pausing drive counts as ready, as an idle one does.
constexpr s32 kDriveStatePausing = 8;
constexpr s32 kTestReadSize = 1024;
constexpr s32 kTestReadOffset = 128;
constexpr s32 kTestReadPriority = 2;

bool s_bUseResetSignal = false;
bool s_bInit = false;
bool s_bWiiControllerConnected[kNumChannels] = {};
kDialog* s_controllerDisconnectDialog = nullptr;
kDialog* s_discErrorDialog = nullptr;
bool s_bDiscErrorReported = false;
int s_lastDiscError = 0;
DVDFileInfo s_wiiFileInfo = {};
alignas(32) u8 s_buf[kTestReadSize];
bool s_bWiiOpenFile = true;
bool s_bWiiTestRead = false;
// The next test read starts at offset 0 (else at kTestReadOffset).
bool offset = false;
OSResetCallback s_previousResetCallback = nullptr;
OSPowerCallback s_previousPowerCallback = nullptr;

void readCallback(s32, DVDFileInfo*) {
    s_bWiiTestRead = true;
}

// The system message for a disc error status; -1 for any other status.
int DiscErrorMessage(s32 status) {
    switch (status) {
    case DVD_STATE_NO_DISK:
        return 103;
    case DVD_STATE_WRONG_DISK:
        return 104;
    case DVD_STATE_RETRY:
        return 105;
    default:
        return -1;
    }
}

// The disc dialog's message for a drive status: a drive error's, or, for a fatal error, the one
// telling the player to take the disc out and turn the power off; -1 for any other status.
int DiscDialogMessage(s32 status) {
    return status == DVD_STATE_FATAL_ERROR ? kFatalDiscErrorMessage : DiscErrorMessage(status);
}

// 0: the remote dialog carries script ids; else it carries literal text of that language.
// Ids also while the active dialog uses ids, so that the two look alike.
int RemoteDialogLanguage() {
    const int language = kText::GetLanguage();
    const kDialog* active = kDialogManager::GetActiveDialog();
    const bool bActiveUsesIds = kDialogManager::IsOpen() && active != nullptr &&
                                (active->m_titleScriptId >= 0 || active->m_bodyScriptId >= 0);
    return bActiveUsesIds ? KTEXT_NONE : language;
}

void PrepareRemoteDialog(int language) {
    kDialog* dialog = s_controllerDisconnectDialog;
    dialog->m_titleScriptId = -1;
    if (language == KTEXT_NONE) {
        dialog->m_bodyScriptId = kRemoteLostMessage;
        return;
    }
    dialog->m_bodyScriptId = -1;
    dialog->m_title = "";
    dialog->m_body = kText::SystemText(kRemoteLostMessage, language);
}

void CheckRemotes(int language) {
    for (int channel = 0; channel < kNumChannels; ++channel) {
        const bool bLost =
            kInput->CheckStatus(static_cast<unsigned>(channel)) == KI_STATUS_DISCONNECTED;
        bool& bConnected = s_bWiiControllerConnected[channel];
        if (!bConnected && !bLost) {
            bConnected = true;
            kEvent::ControllerCommunicationEstablishedSignal(s_controllerDisconnectDialog, channel);
        } else if (bConnected && bLost) {
            bConnected = false;
            PrepareRemoteDialog(language);
            kEvent::ControllerCommunicationLostSignal(s_controllerDisconnectDialog, channel);
        }
    }
}

// The press is consumed here: nobody else sees HOME.
void CheckHomeButton() {
    if (kInput->GetInputState(KI_WII_PAD1_BUTTON_HOME, 0) != 0.0f) {
        kInput->SetInputState(KI_WII_PAD1_BUTTON_HOME, 0.0f, 0);
        kEvent::HomeButtonSignal();
    }
}

// One signal per error status in a row, and one when the drive is ready again. The state
// changes before the signal, so a listener may clear the report from its slot.
void CheckDisc() {
    const s32 status = DVDGetDriveStatus();
    if (status == DVD_STATE_END || status == kDriveStatePausing) {
        if (s_bDiscErrorReported) {
            s_bDiscErrorReported = false;
            s_lastDiscError = 0;
            kEvent::DiscOkSignal(s_discErrorDialog);
        }
        return;
    }
    const int message = DiscDialogMessage(status);
    if (message < 0 || (s_bDiscErrorReported && s_lastDiscError == status)) {
        return;
    }
    s_discErrorDialog->m_titleScriptId = -1;
    s_discErrorDialog->m_bodyScriptId = message;
    s_bDiscErrorReported = true;
    s_lastDiscError = status;
    kEvent::DiscErrorSignal(s_discErrorDialog);
}

void OpenTestReadFile(const char* filename) {
    s_bWiiOpenFile = false;
    s_bWiiTestRead = DVDFastOpen(DVDConvertPathToEntrynum(filename), &s_wiiFileInfo) != FALSE;
    if (!s_bWiiTestRead) {
        kLogSys(kLogSystem, "Disc check: cannot open %s; no test reads\n",
                filename != nullptr ? filename : "(null)");
    }
}

} // namespace

void kEvent::Init() {
    if (s_bInit) {
        return;
    }
    s_controllerDisconnectDialog = new kDialog("", "", kDialogPriority);
    s_discErrorDialog = new kDialog("", "", kDialogPriority);
    for (int channel = 0; channel < kNumChannels; ++channel) {
        s_bWiiControllerConnected[channel] =
            kInput != nullptr &&
            kInput->CheckStatus(static_cast<unsigned>(channel)) == KI_STATUS_OK;
    }
    s_bWiiControllerConnected[0] = true;
    s_previousResetCallback = OSSetResetCallback(ResetButtonCallback);
    s_previousPowerCallback = OSSetPowerCallback(PowerButtonCallback);
    s_bInit = true;
}

void kEvent::Deinit() {
    if (s_bInit) {
        OSSetResetCallback(s_previousResetCallback);
        OSSetPowerCallback(s_previousPowerCallback);
        delete s_controllerDisconnectDialog;
        delete s_discErrorDialog;
    }
    DVDClose(&s_wiiFileInfo);
    s_wiiFileInfo = {};
    s_controllerDisconnectDialog = nullptr;
    s_discErrorDialog = nullptr;
    s_bInit = false;
    s_bUseResetSignal = false;
    s_bDiscErrorReported = false;
    s_lastDiscError = 0;
    s_bWiiOpenFile = true;
    s_bWiiTestRead = false;
    offset = false;
    g_bResetFlag = false;
    g_bEnableControllerCheck = true;
}

void kEvent::WiiDiscCheck(const char* filename) {
    const s32 status = DVDGetDriveStatus();
    if (status == DVD_STATE_BUSY || DiscErrorMessage(status) >= 0) {
        return;
    }
    if (s_bWiiOpenFile) {
        OpenTestReadFile(filename);
    }
    if (!s_bWiiTestRead) {
        return;
    }
    s_bWiiTestRead = false;
    if (!DVDReadAsyncPrio(&s_wiiFileInfo, s_buf, kTestReadSize, offset ? 0 : kTestReadOffset,
                          readCallback, kTestReadPriority)) {
        kLogSys(kLogSystem, "Disc check: test read refused; no test reads\n");
        return;
    }
    offset = !offset;
}

void kEvent::Check() {
    if (!s_bInit) {
        return;
    }
    const int language = RemoteDialogLanguage();
    if (kInput != nullptr) {
        if (g_bEnableControllerCheck) {
            CheckRemotes(language);
        }
        CheckHomeButton();
    }
    CheckDisc();
}

void kEvent::ResetButtonCallback() {
    if (s_bUseResetSignal) {
        ResetButtonSignal();
    } else {
        g_bResetFlag = true;
    }
}

void kEvent::PowerButtonCallback() {
    kLogFmt("PowerButton\n");
    PowerButtonSignal();
}

kDialog* kEvent::GetWiiDiscErrorDialog(int status) {
    kDialog* dialog = new kDialog("", "", 0);
    const int message = DiscErrorMessage(status);
    if (message >= 0) {
        dialog->m_bodyScriptId = message;
    }
    return dialog;
}

void kEvent::SetDiscErrorReported(bool bReported) {
    s_bDiscErrorReported = bReported;
}

void kEvent::DisableResetSignal() {
    s_bUseResetSignal = false;
}

void kEvent::EnableResetSignal() {
    s_bUseResetSignal = true;
}

} // namespace Kelvo_lib
