// The host's part of each video retrace, called by VI on the main thread: the wait
// for the field (headless: the virtual clock moves one field; in a window: real time
// on the monotonic clock), then the window shows the new picture and handles events.
// Also the close request of the window and of the stop signals.
#pragma once

#include <console/types.h>

void HostWaitForField(s64 ticksPerField);
void HostShowRetrace();

// Ending a run as closing the window does: POWER while the program listens for it, else
// the close request that ends the frame loop. SIGINT and SIGTERM, once caught, ask for it
// at the next retrace or frame; a second one ends the program at once.
void HostRequestClose();
// Ends the frame loop at its next frame whatever the program listens for.
void HostRequestEnd();
void HostCatchStopSignals();
void HostCheckStopSignal();
