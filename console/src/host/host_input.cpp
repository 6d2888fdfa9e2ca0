// The host's remotes: one record per remote behind one lock, so that the window host may
// change them from its event handling while the remote library reads them. A button that
// changes twice between two frames (a press and release in one batch of window events)
// keeps each edge: the second waits for the next frame, so the game sees both.
#include "host/host_input.h"

#include <console/host_input.h>
#include <console/os.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <utility>

namespace {

constexpr HostRemote kPlayerRemoteAtStart{true, 0, 0.5f, 0.5f};
constexpr HostRemote kOtherRemoteAtStart{false, 0, 0.5f, 0.5f};

// A button change that waits for a later frame.
struct ButtonEdge {
    u32 buttons;
    bool down;
};

constexpr int kMostWaitingEdges = 16;

// A remote's buttons changed since the last frame began (no frame has read them yet), and
// the changes that wait, oldest first.
struct RemoteEdges {
    u32 changedSinceFrame = 0;
    ButtonEdge waiting[kMostWaitingEdges] = {};
    int numWaiting = 0;
};

struct RemoteBank {
    HostRemote remotes[HOST_REMOTE_COUNT] = {kPlayerRemoteAtStart, kOtherRemoteAtStart,
                                             kOtherRemoteAtStart, kOtherRemoteAtStart};
    RemoteEdges edges[HOST_REMOTE_COUNT];
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

u32 Apply(u32 held, const ButtonEdge& edge) {
    return edge.down ? (held | edge.buttons) : (held & ~edge.buttons);
}

// The held buttons once every waiting change has been made.
u32 HeldAfterWaiting(const HostRemote& state, const RemoteEdges& edges) {
    u32 held = state.held;
    for (int i = 0; i < edges.numWaiting; ++i) {
        held = Apply(held, edges.waiting[i]);
    }
    return held;
}

// Makes the change now, unless one of its buttons changed since the last frame began or an
// earlier change waits; then it waits too.
void ChangeButtons(HostRemote& state, RemoteEdges& edges, const ButtonEdge& edge) {
    if (edges.numWaiting == 0 && (edges.changedSinceFrame & edge.buttons) == 0) {
        state.held = Apply(state.held, edge);
        edges.changedSinceFrame |= edge.buttons;
    } else if (edges.numWaiting < kMostWaitingEdges) {
        edges.waiting[edges.numWaiting++] = edge;
    } else {
        OSReport("HostInputSetButton: too many button changes in one frame; one is dropped\n");
    }
}

// A new frame reads the buttons: waiting changes are made in order, up to one that touches a
// button this frame is the first to see changed.
void StartFrameOfEdges(HostRemote& state, RemoteEdges& edges) {
    u32 blocked = edges.changedSinceFrame;
    edges.changedSinceFrame = 0;
    int made = 0;
    while (made < edges.numWaiting && (blocked & edges.waiting[made].buttons) == 0) {
        state.held = Apply(state.held, edges.waiting[made]);
        blocked |= edges.waiting[made].buttons;
        ++made;
    }
    edges.numWaiting -= made;
    for (int i = 0; i < edges.numWaiting; ++i) {
        edges.waiting[i] = edges.waiting[i + made];
    }
}

} // namespace

void HostInputStartFrameOfEdges() {
    const std::lock_guard<std::mutex> guard(s_lock);
    for (int remote = 0; remote < HOST_REMOTE_COUNT; ++remote) {
        StartFrameOfEdges(s_bank.remotes[remote], s_bank.edges[remote]);
    }
}

HostRemote HostInputReadRemote(int remote) {
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
    if (!IsRemote(remote, "HostInputSetHeld")) {
        return;
    }
    const std::lock_guard<std::mutex> guard(s_lock);
    s_bank.remotes[remote].held = held;
    s_bank.edges[remote].numWaiting = 0;
}

void HostInputSetButton(int remote, u32 buttons, bool down) {
    if (!IsRemote(remote, "HostInputSetButton")) {
        return;
    }
    const std::lock_guard<std::mutex> guard(s_lock);
    HostRemote& state = s_bank.remotes[remote];
    RemoteEdges& edges = s_bank.edges[remote];
    const u32 held = HeldAfterWaiting(state, edges);
    const u32 changing = down ? (buttons & ~held) : (buttons & held);
    if (changing != 0) {
        ChangeButtons(state, edges, ButtonEdge{changing, down});
    }
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

void HostInputResetRemotes() {
    const std::lock_guard<std::mutex> guard(s_lock);
    s_bank = RemoteBank{};
}
