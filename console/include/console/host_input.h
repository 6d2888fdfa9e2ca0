// The host's four remotes as the player drives them: connected or not, buttons held,
// and where the pointer is on the picture in fractions of its width and height (0 at
// the left and top, 1 at the right and bottom). The window host sets them from the
// mouse and keyboard, the input script (--input) at the start of each main-loop frame,
// and the remote library (wpad.h, kpad.h) reads them. Remote 0 starts connected with the
// pointer in the middle; remotes 1 to 3 start disconnected. Setters may be called from
// any thread; a bad remote index is reported and changes nothing.
#pragma once

#include <console/types.h>

constexpr int HOST_REMOTE_COUNT = 4;

struct HostRemote {
    bool connected;
    u32 held; // WPAD_BUTTON_* bits
    f32 nx;   // 0.0 (left) to 1.0 (right)
    f32 ny;   // 0.0 (top) to 1.0 (bottom)
};

// Main thread (the remote library). Starts the input script's replay on first use, so
// its frame-0 lines hold from the first reading on. A bad index reads as disconnected.
HostRemote HostInputGetRemote(int remote);

void HostInputSetConnected(int remote, bool connected);
void HostInputToggleConnected(int remote);
// Replaces the held buttons (WPAD_BUTTON_* bits).
void HostInputSetHeld(int remote, u32 held);
// Presses or releases the given button bits, leaving the others as they are. A button that
// changed since the last frame began changes again only for a later frame, so a press and a
// release between two frames reach the game on two frames.
void HostInputSetButton(int remote, u32 buttons, bool down);
// Values outside 0.0 to 1.0 are clamped to the picture's edge; NaN is ignored.
void HostInputSetPointer(int remote, f32 nx, f32 ny);

// The console's sync button; the remote library answers it at its next read.
void HostInputPressSyncButton();
// For the remote library: true once for each press since the last call.
bool HostInputTakeSyncPress();

// Reads and checks an input script, reporting the first bad line; keeps nothing.
bool HostInputCheckScript(const char* path);
// Replaces the script being replayed (applying its frame-0 lines at once); on failure
// nothing is replayed.
bool HostInputLoadScript(const char* path);
// Main thread, from HostBeginFrame: applies the script's lines up to this frame.
void HostInputBeginFrame(u32 frame);

// Back to the start-up state: remotes as above, no sync press, no script; the script of
// --input is loaded again on next use. For tests.
void HostInputReset();
// The remote library back to before KPADInit, its memory returned and its allocator
// and callback forgotten. For tests.
void HostResetRemoteLibrary();
