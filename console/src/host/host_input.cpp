// The host's remotes: one record per remote behind one lock, so that the window host may
// change them from its event handling while the remote library reads them.
#include "host/input_script.h"

#include <console/host_input.h>
#include <console/os.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <utility>

namespace {

constexpr HostRemote kPlayerRemoteAtStart{true, 0, 0.5f, 0.5f};
constexpr HostRemote kOtherRemoteAtStart{false, 0, 0.5f, 0.5f};

struct RemoteBank {
    HostRemote remotes[HOST_REMOTE_COUNT] = {kPlayerRemoteAtStart, kOtherRemoteAtStart,
                                             kOtherRemoteAtStart, kOtherRemoteAtStart};
    bool syncPressed = false;
};

std::mutex s_lock;
RemoteBank s_bank;

bool IsRemote(int remote, const char* caller) {
    if (remote >= 0 && remote < HOST_REMOTE_COUNT) {
        return true;
    }
    OSReport("%s: no remote %d (there are remotes 0 to %d)\n", caller, remote,
             HOST_REMOTE_COUNT - 1);
    return false;
}

template <typename Change>
void ChangeRemote(int remote, const char* caller, Change change) {
    if (!IsRemote(remote, caller)) {
        return;
    }
    const std::lock_guard<std::mutex> guard(s_lock);
    change(s_bank.remotes[remote]);
}

} // namespace

HostRemote HostInputGetRemote(int remote) {
    InputScriptEnsureStarted();
    if (!IsRemote(remote, "HostInputGetRemote")) {
        return kOtherRemoteAtStart;
    }
    const std::lock_guard<std::mutex> guard(s_lock);
    return s_bank.remotes[remote];
}

void HostInputSetConnected(int remote, bool connected) {
    ChangeRemote(remote, "HostInputSetConnected",
                 [connected](HostRemote& state) { state.connected = connected; });
}

void HostInputToggleConnected(int remote) {
    ChangeRemote(remote, "HostInputToggleConnected",
                 [](HostRemote& state) { state.connected = !state.connected; });
}

void HostInputSetHeld(int remote, u32 held) {
    ChangeRemote(remote, "HostInputSetHeld", [held](HostRemote& state) { state.held = held; });
}

void HostInputSetButton(int remote, u32 buttons, bool down) {
    ChangeRemote(remote, "HostInputSetButton", [buttons, down](HostRemote& state) {
        state.held = down ? (state.held | buttons) : (state.held & ~buttons);
    });
}

void HostInputSetPointer(int remote, f32 nx, f32 ny) {
    if (std::isnan(nx) || std::isnan(ny)) {
        OSReport("HostInputSetPointer: no position given for remote %d\n", remote);
        return;
    }
    ChangeRemote(remote, "HostInputSetPointer", [nx, ny](HostRemote& state) {
        state.nx = std::clamp(nx, 0.0f, 1.0f);
        state.ny = std::clamp(ny, 0.0f, 1.0f);
    });
}

void HostInputPressSyncButton() {
    const std::lock_guard<std::mutex> guard(s_lock);
    s_bank.syncPressed = true;
}

bool HostInputTakeSyncPress() {
    const std::lock_guard<std::mutex> guard(s_lock);
    return std::exchange(s_bank.syncPressed, false);
}

void HostInputReset() {
    {
        const std::lock_guard<std::mutex> guard(s_lock);
        s_bank = RemoteBank{};
    }
    InputScriptReset();
}
