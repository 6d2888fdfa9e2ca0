// The host's part of each video retrace, called by VI on the main thread: the wait
// for the field (headless: the virtual clock moves one field; in a window: real time
// on the monotonic clock), then a stop signal is taken and the view, while one is set,
// shows the new picture.
#pragma once

#include <console/types.h>

void HostWaitForField(s64 ticksPerField);
void HostShowRetrace();

// What shows each retrace's picture and answers its user: the window sets it while it is
// open; null for none (headless).
using HostRetraceView = void (*)();
void HostSetRetraceView(HostRetraceView view);
