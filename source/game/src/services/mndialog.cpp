#include <services/mndialog.h>

#include <services/mndialogbox.h>
#include <services/mninputedge.h>
#include <services/mnsound.h>

#include <framework/kdialog.h>
#include <framework/kevent.h>
#include <framework/kspritemanager.h>
#include <framework/kstoragemanager.h>
#include <ui/kuimouse.h>

#include <kelvo/platform/klog.h>

#include <console/hbm.h>

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "MNDialog";
// How long the sign shows after a HOME press that is not allowed.
constexpr float kHomeOffSeconds = 1.0f;
// Only player 1's remote plays; losing another one stops nothing.
constexpr int kPlayerOneChannel = 0;

class DialogListener : public kHasSlots<> {
public:
    void OnReset() { MNDialog::Reset(); }
    void OnPower() { MNDialog::PowerOff(); }
    void OnHome();
    void OnRemoteLost(kDialog* dialog, int channel) {
        if (channel == kPlayerOneChannel) {
            kLogSys(kSystem, "Remote %d lost\n", channel);
            kDialogManager::Open(dialog);
        }
    }
    void OnRemoteFound(kDialog* dialog, int channel) {
        if (channel == kPlayerOneChannel) {
            kLogSys(kSystem, "Remote %d found\n", channel);
            kDialogManager::Close(dialog);
        }
    }
    void OnDiscError(kDialog* dialog) {
        kLogSys(kSystem, "Disc error\n");
        kDialogManager::Open(dialog);
    }
    void OnDiscOk(kDialog* dialog) {
        kLogSys(kSystem, "Disc ready\n");
        kDialogManager::Close(dialog);
    }
};

struct DialogState {
    bool bHomeButtonEnabled = true;
    MNDialog::eExit pending = MNDialog::EXIT_NONE;
    MNDialog::eExit done = MNDialog::EXIT_NONE;
    MNInputEdge buttonA;
    int hotOption = -1;
    float homeOffTime = 0.0f;
};

DialogState s_state;
DialogListener* s_listener = nullptr;
MNDialogBox* s_box = nullptr;
// The home-button menu's own art, from PreloadHomeMenu on.
MNDialogBox* s_homeMenuBox = nullptr;

float PointerX() {
    return kUIMouse::GetX() * static_cast<float>(kSpriteManager::GetDisplayWidth());
}

float PointerY() {
    return kUIMouse::GetY() * static_cast<float>(kSpriteManager::GetDisplayHeight());
}

// A save being written must end before the run does. A storage dialog on screen means the
// flow waits for the player (or can go no further), so nothing is being written then.
bool IsSaveBeingWritten() {
    return kStorageManager::IsSaving() &&
           !kDialogManager::IsOpen(kStorageManager::GetStorageDialog());
}

void CloseHomeMenu() {
    HBMClose();
    MNSound::RestartAfterHomeMenu();
}

// HOME opens the menu when allowed and nothing else is open, and closes it again.
void DialogListener::OnHome() {
    if (HBMIsOpen()) {
        kLogSys(kSystem, "Home menu closed by HOME\n");
        CloseHomeMenu();
    } else if (!s_state.bHomeButtonEnabled) {
        s_state.homeOffTime = kHomeOffSeconds; // the sign shows, menu or not
    } else if (s_homeMenuBox == nullptr) {
        kLogSys(kSystem, "Home menu not loaded yet\n");
    } else if (!MNDialog::IsDialogOpen() && !MNDialog::IsScreenBlack()) {
        kLogSys(kSystem, "Home menu\n");
        MNSound::FadeDownForHomeMenu();
        HBMOpen();
    }
}

void HandleHomeMenu() {
    const HBMSelect choice =
        HBMCalc(kUIMouse::GetX(), kUIMouse::GetY(), s_state.buttonA.WasPressed());
    switch (choice) {
    case HBM_SELECT_CLOSE:
        CloseHomeMenu();
        break;
    case HBM_SELECT_RESET:
        MNDialog::Reset();
        break;
    case HBM_SELECT_MENU:
        MNDialog::ReturnToMenu();
        break;
    case HBM_SELECT_NONE:
        break;
    }
}

void CarryOutPendingExit() {
    if (s_state.pending == MNDialog::EXIT_NONE || IsSaveBeingWritten()) {
        return;
    }
    constexpr const char* kExitNames[] = {"", "Reset", "Power off", "Return to the menu"};
    kLogSys(kSystem, "%s\n", kExitNames[s_state.pending]);
    s_state.done = s_state.pending;
    s_state.pending = MNDialog::EXIT_NONE;
}

// The pointer lights an option; an A press over it chooses it and closes the dialog, which
// tells its owner through the manager's close signal.
void HandleOptions(kDialog* dialog) {
    s_box->Layout(*dialog);
    s_state.hotOption = s_box->OptionAt(PointerX(), PointerY());
    if (s_state.hotOption < 0 || !s_state.buttonA.WasPressed()) {
        return;
    }
    kLogSys(kSystem, "Option %d chosen\n", s_state.hotOption);
    dialog->m_currentOption = s_state.hotOption;
    s_state.hotOption = -1;
    kDialogManager::Close(dialog);
}

} // namespace

void MNDialog::Init() {
    if (s_listener != nullptr) {
        kLogSys(kSystem, "Init: already initialised\n");
        return;
    }
    s_state = DialogState();
    s_listener = new DialogListener();
    s_box = new MNDialogBox();
    kEvent::ResetButtonSignal.Connect(s_listener, &DialogListener::OnReset);
    kEvent::PowerButtonSignal.Connect(s_listener, &DialogListener::OnPower);
    kEvent::HomeButtonSignal.Connect(s_listener, &DialogListener::OnHome);
    kEvent::ControllerCommunicationLostSignal.Connect(s_listener, &DialogListener::OnRemoteLost);
    kEvent::ControllerCommunicationEstablishedSignal.Connect(s_listener,
                                                             &DialogListener::OnRemoteFound);
    kEvent::DiscErrorSignal.Connect(s_listener, &DialogListener::OnDiscError);
    kEvent::DiscOkSignal.Connect(s_listener, &DialogListener::OnDiscOk);
}

void MNDialog::Deinit() {
    HBMClose();
    delete s_listener; // its connections end with it
    s_listener = nullptr;
    delete s_box;
    s_box = nullptr;
    delete s_homeMenuBox;
    s_homeMenuBox = nullptr;
}

void MNDialog::PreloadHomeMenu() {
    if (s_listener == nullptr || s_homeMenuBox != nullptr) {
        kLogSys(kSystem, "PreloadHomeMenu: not initialised, or loaded already\n");
        return;
    }
    s_homeMenuBox = new MNDialogBox();
    kLogSys(kSystem, "Home menu loaded\n");
}

void MNDialog::Tick(float delta) {
    if (s_listener == nullptr) {
        return;
    }
    s_state.homeOffTime = s_state.homeOffTime > delta ? s_state.homeOffTime - delta : 0.0f;
    s_state.buttonA.UpdateButton();
    CarryOutPendingExit();
    if (IsScreenBlack()) {
        return;
    }
    if (HBMIsOpen()) {
        HandleHomeMenu();
        return;
    }
    kDialog* const dialog = kDialogManager::GetActiveDialog();
    if (dialog != nullptr) {
        HandleOptions(dialog);
    }
}

void MNDialog::Render() {
    kDialog* const dialog = kDialogManager::GetActiveDialog();
    if (s_box == nullptr || IsScreenBlack()) {
        return;
    }
    if (HBMIsOpen()) {
        if (s_homeMenuBox != nullptr) {
            s_homeMenuBox->RenderHomeMenu(PointerX(), PointerY());
        }
        return;
    }
    if (dialog == nullptr) {
        return;
    }
    s_box->Layout(*dialog);
    s_box->Render(s_state.hotOption, PointerX(), PointerY());
}

void MNDialog::RenderHomeButtonIcon() {
    if (s_box != nullptr && IsHomeOffIconShown()) {
        s_box->RenderHomeOffIcon();
    }
}

bool MNDialog::IsHomeOffIconShown() {
    return s_state.homeOffTime > 0.0f;
}

bool MNDialog::IsDialogOpen() {
    return kDialogManager::IsOpen() || HBMIsOpen();
}

bool MNDialog::IsScreenBlack() {
    return s_state.pending != EXIT_NONE || s_state.done != EXIT_NONE;
}

void MNDialog::SetHomeButtonEnabled(bool bEnabled) {
    s_state.bHomeButtonEnabled = bEnabled;
    if (bEnabled) {
        s_state.homeOffTime = 0.0f; // the sign says HOME is refused: not over what allows it
    }
}

bool MNDialog::IsHomeButtonEnabled() {
    return s_state.bHomeButtonEnabled;
}

void MNDialog::Reset() {
    if (s_state.pending == EXIT_NONE && s_state.done == EXIT_NONE) {
        kLogSys(kSystem, IsSaveBeingWritten() ? "Reset: waiting for the save\n" : "Reset asked\n");
        s_state.pending = EXIT_RESET;
    }
    CarryOutPendingExit();
}

void MNDialog::ReturnToMenu() {
    if (s_state.pending == EXIT_NONE && s_state.done == EXIT_NONE) {
        s_state.pending = EXIT_MENU;
    }
    CarryOutPendingExit();
}

void MNDialog::PowerOff() {
    // POWER wins over a reset still waiting.
    if (s_state.done == EXIT_NONE) {
        s_state.pending = EXIT_POWER;
    }
    CarryOutPendingExit();
}

bool MNDialog::IsExitRequested() {
    return s_state.done != EXIT_NONE;
}

MNDialog::eExit MNDialog::GetExit() {
    return s_state.done;
}

} // namespace Kelvo_lib
