// WPAD: the library's memory and start, connection probes, the sync button and its
// callbacks. The console's sync button may be pressed from any thread of the host; the
// callbacks it leads to run later on the main thread, inside KPADRead.
#include "wpad/remote_library.h"

#include <console/host.h>
#include <console/host_input.h>
#include <console/os.h>
#include <console/wpad.h>

#include <new>

namespace {

struct WpadState {
    WPADAlloc alloc = nullptr;
    WPADFree free = nullptr;
    WPADSyncDeviceCallback syncCallback = nullptr;
    RemoteLibrary* library = nullptr;
    WPADFree libraryFree = nullptr;
    bool syncRunning = false;
    u32 syncStartFrame = 0;
};

WpadState s_wpad;

s32 ConnectedRemoteCount() {
    s32 count = 0;
    for (int remote = 0; remote < HOST_REMOTE_COUNT; ++remote) {
        count += HostInputGetRemote(remote).connected ? 1 : 0;
    }
    return count;
}

// Pairing takes until the frame after the one it started in.
void FinishDueSync() {
    if (!s_wpad.syncRunning || HostFrameCount() == s_wpad.syncStartFrame) {
        return;
    }
    s_wpad.syncRunning = false;
    if (s_wpad.syncCallback != nullptr) {
        s_wpad.syncCallback(WPAD_SYNC_EVT_DONE, ConnectedRemoteCount());
    }
}

} // namespace

namespace remote_library {

RemoteLibrary* Get() {
    return s_wpad.library;
}

bool Start() {
    if (s_wpad.library != nullptr) {
        return true;
    }
    if (s_wpad.alloc == nullptr) {
        OSReport("KPADInit: no allocator registered with WPADRegisterAllocator\n");
        return false;
    }
    void* block = s_wpad.alloc(sizeof(RemoteLibrary));
    if (block == nullptr) {
        OSReport("KPADInit: the allocator gave no %zu bytes for the remote library\n",
                 sizeof(RemoteLibrary));
        return false;
    }
    s_wpad.library = new (block) RemoteLibrary{};
    s_wpad.libraryFree = s_wpad.free;
    return true;
}

bool IsChannel(s32 channel, const char* caller) {
    if (channel >= 0 && channel < WPAD_MAX_CONTROLLERS) {
        return true;
    }
    OSReport("%s: no channel %d (there are channels 0 to %d)\n", caller, channel,
             WPAD_MAX_CONTROLLERS - 1);
    return false;
}

void DeliverCallbacks() {
    if (s_wpad.library == nullptr) {
        return;
    }
    FinishDueSync();
    if (HostInputTakeSyncPress() && s_wpad.syncCallback != nullptr) {
        s_wpad.syncCallback(WPAD_SYNC_EVT_START, 0);
    }
}

} // namespace remote_library

s32 WPADRegisterAllocator(WPADAlloc alloc, WPADFree free) {
    if (alloc == nullptr || free == nullptr) {
        OSReport("WPADRegisterAllocator: both an allocation and a free function are needed\n");
        return WPAD_ERR_INVALID;
    }
    s_wpad.alloc = alloc;
    s_wpad.free = free;
    return WPAD_ERR_NONE;
}

WPADSyncDeviceCallback WPADSetSyncDeviceCallback(WPADSyncDeviceCallback callback) {
    const WPADSyncDeviceCallback previous = s_wpad.syncCallback;
    s_wpad.syncCallback = callback;
    return previous;
}

BOOL WPADStartSyncDevice() {
    if (s_wpad.library == nullptr || s_wpad.syncRunning) {
        return FALSE;
    }
    s_wpad.syncRunning = true;
    s_wpad.syncStartFrame = HostFrameCount();
    return TRUE;
}

void WPADSetAutoSleepTime(u8) {}

s32 WPADProbe(s32 channel, u32* type) {
    if (!remote_library::IsChannel(channel, "WPADProbe") || s_wpad.library == nullptr ||
        !HostInputGetRemote(channel).connected) {
        return WPAD_ERR_NO_CONTROLLER;
    }
    if (type != nullptr) {
        *type = WPAD_DEV_CORE;
    }
    return WPAD_ERR_NONE;
}

void WPADDisconnect(s32 channel) {
    if (remote_library::IsChannel(channel, "WPADDisconnect")) {
        HostInputSetConnected(channel, false);
    }
}

u8 WPADGetSensorBarPosition() {
    return 1;
}

void HostResetRemoteLibrary() {
    if (s_wpad.library != nullptr) {
        s_wpad.library->~RemoteLibrary();
        s_wpad.libraryFree(s_wpad.library);
    }
    s_wpad = WpadState{};
}
