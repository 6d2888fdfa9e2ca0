#include <shell/mndialog.h>

#include <framework/kevent.h>

#include <kelvo/platform/klog.h>

namespace Kelvo_lib {

namespace {

constexpr const char* kSystem = "MNDialog";

struct DialogState {
    bool bHomeButtonEnabled = true;
    bool bExitRequested = false;
};

DialogState s_state;

class ConsoleEventHandler : public kHasSlots<> {
public:
    void OnReset() { MNDialog::Reset(); }
    void OnPower() { MNDialog::PowerOff(); }
};

ConsoleEventHandler* s_handler = nullptr;

} // namespace

void MNDialog::Init() {
    if (s_handler != nullptr) {
        kLogSys(kSystem, "Init: already initialised\n");
        return;
    }
    s_state = DialogState();
    s_handler = new ConsoleEventHandler();
    kEvent::ResetButtonSignal.Connect(s_handler, &ConsoleEventHandler::OnReset);
    kEvent::PowerButtonSignal.Connect(s_handler, &ConsoleEventHandler::OnPower);
}

void MNDialog::Deinit() {
    delete s_handler; // its connections end with it
    s_handler = nullptr;
}

void MNDialog::Tick(float) {}

void MNDialog::Render() {}

void MNDialog::RenderHomeButtonIcon() {}

bool MNDialog::IsDialogOpen() {
    return false;
}

bool MNDialog::IsScreenBlack() {
    return false;
}

void MNDialog::SetHomeButtonEnabled(bool bEnabled) {
    s_state.bHomeButtonEnabled = bEnabled;
}

bool MNDialog::IsHomeButtonEnabled() {
    return s_state.bHomeButtonEnabled;
}

void MNDialog::Reset() {
    kLogSys(kSystem, "Reset\n");
    s_state.bExitRequested = true;
}

void MNDialog::PowerOff() {
    kLogSys(kSystem, "Power off\n");
    s_state.bExitRequested = true;
}

bool MNDialog::IsExitRequested() {
    return s_state.bExitRequested;
}

} // namespace Kelvo_lib
