// The remote library's state shared by its WPAD and KPAD halves: the work area taken
// from the program's allocator at KPADInit, one record per channel. Main thread only.
#pragma once

#include <console/kpad.h>

// A remote's pointer camera: off (the remote is away), starting (the read at which a remote
// connects after KPADInit: no pointer yet) or on.
enum class Camera { Off, Starting, On };

struct RemoteChannel {
    bool dpdEnabled = false;
    Camera camera = Camera::Off;
    // The last sample delivered showed the remote; a drop then gives one farewell sample.
    bool reportedConnected = false;
    f32 playRadius = 0.0f;
    f32 sensitivity = 1.0f;
    KPADVec2 pos{0.0f, 0.0f}; // the pointer as last reported
};

struct RemoteLibrary {
    RemoteChannel channels[WPAD_MAX_CONTROLLERS];
};

namespace remote_library {

// Null before KPADInit has taken the work area.
RemoteLibrary* Get();
// Takes the work area through the registered allocator once; false (reported) when
// there is no allocator or it gives no memory.
bool Start();
// Reports a channel outside 0 to 3 for the named call.
bool IsChannel(s32 channel, const char* caller);
// Runs the sync callbacks that are due, on the calling (main) thread.
void DeliverCallbacks();

} // namespace remote_library
