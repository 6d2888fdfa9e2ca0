// Remote controller library: which remotes are connected, the library's memory,
// the console's sync button and the sensor-bar setting. The remotes themselves are
// the host's (see host_input.h); KPAD reads them. The library's memory comes from
// the allocator the program registers. Callbacks run on the main thread, from the
// next KPADRead. Main thread only; a bad channel reads as no controller.
#pragma once

#include <console/types.h>

enum : s32 {
    WPAD_CHAN0 = 0,
    WPAD_CHAN1 = 1,
    WPAD_CHAN2 = 2,
    WPAD_CHAN3 = 3,
    WPAD_MAX_CONTROLLERS = 4,
};

// Results of the library's calls.
enum : s32 {
    WPAD_ERR_NONE = 0,
    WPAD_ERR_NO_CONTROLLER = -1,
    WPAD_ERR_INVALID = -4,
};

// Device types: the remote alone or with an extension, and the states in between.
enum : u8 {
    WPAD_DEV_CORE = 0,
    WPAD_DEV_NUNCHUK = 1,
    WPAD_DEV_CLASSIC = 2,
    WPAD_DEV_FUTURE = 251,
    WPAD_DEV_NOT_SUPPORTED = 252,
    WPAD_DEV_NOT_FOUND = 253,
    WPAD_DEV_UNKNOWN = 255,
};

// Bits of a remote's held buttons.
enum : u32 {
    WPAD_BUTTON_LEFT = 0x0001,
    WPAD_BUTTON_RIGHT = 0x0002,
    WPAD_BUTTON_DOWN = 0x0004,
    WPAD_BUTTON_UP = 0x0008,
    WPAD_BUTTON_PLUS = 0x0010,
    WPAD_BUTTON_2 = 0x0100,
    WPAD_BUTTON_1 = 0x0200,
    WPAD_BUTTON_B = 0x0400,
    WPAD_BUTTON_A = 0x0800,
    WPAD_BUTTON_MINUS = 0x1000,
    WPAD_BUTTON_Z = 0x2000,
    WPAD_BUTTON_C = 0x4000,
    WPAD_BUTTON_HOME = 0x8000,
};

// Results passed to the sync callback.
enum : s32 {
    WPAD_SYNC_EVT_START = 0,
    WPAD_SYNC_EVT_DONE = 1,
};

using WPADAlloc = void* (*)(u32 size);
using WPADFree = BOOL (*)(void* block);
// result is a WPAD_SYNC_EVT_*; count is the number of connected remotes when done.
using WPADSyncDeviceCallback = void (*)(s32 result, s32 count);

// The library takes its memory through these at KPADInit; both must be given.
s32 WPADRegisterAllocator(WPADAlloc alloc, WPADFree free);
// Returns the callback it replaces.
WPADSyncDeviceCallback WPADSetSyncDeviceCallback(WPADSyncDeviceCallback callback);
// Starts pairing after the sync button; false while a sync is already running.
BOOL WPADStartSyncDevice();
// Host remotes run on mains power: they never fall asleep, whatever the setting.
void WPADSetAutoSleepTime(u8 minutes);
// WPAD_ERR_NONE with the device type (when type is not null) for a connected remote,
// else WPAD_ERR_NO_CONTROLLER.
s32 WPADProbe(s32 channel, u32* type);
// Drops a connected remote, as the console does: it reads as no controller at once, KPAD
// gives its farewell sample at the next read, and it stays down until the player connects
// it again (the window's C key, a script's connect). Nothing for a remote not connected.
void WPADDisconnect(s32 channel);
// The console's sensor-bar setting: 0 below the screen, 1 above. Always 1 here.
u8 WPADGetSensorBarPosition();
