// The RESET and POWER buttons: a press raised by the host, from any thread, waits in a
// flag until the main thread's retrace wait hands it to the program's callback. Presses
// of one button that come before that point count as one, as a button's interrupt does.
#include <console/host.h>
#include <console/os.h>

#include <atomic>

namespace {

struct ConsoleButton {
    const char* name;
    std::atomic<void (*)()> callback{nullptr};
    std::atomic<bool> pressed{false};
};

ConsoleButton s_reset{"RESET"};
ConsoleButton s_power{"POWER"};

void (*Install(ConsoleButton& button, void (*callback)()))() {
    return button.callback.exchange(callback);
}

void Deliver(ConsoleButton& button) {
    if (!button.pressed.exchange(false)) {
        return;
    }
    void (*callback)() = button.callback.load();
    if (callback == nullptr) {
        OSReport("host: %s pressed with no callback installed; ignored\n", button.name);
        return;
    }
    callback();
}

} // namespace

OSResetCallback OSSetResetCallback(OSResetCallback callback) {
    return Install(s_reset, callback);
}

OSPowerCallback OSSetPowerCallback(OSPowerCallback callback) {
    return Install(s_power, callback);
}

bool OSHasPowerCallback() {
    return s_power.callback.load() != nullptr;
}

void HostRaiseReset() {
    s_reset.pressed = true;
}

void HostRaisePower() {
    s_power.pressed = true;
}

void HostDeliverButtonPresses() {
    Deliver(s_reset);
    Deliver(s_power);
}
