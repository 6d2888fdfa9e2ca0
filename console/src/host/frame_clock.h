// The run's frame count, carried across a restart, and the requests that end the run:
// the window's close and the stop signals. The main loop's frame start counts the frames
// and ends the loop on a request. Main thread, but for the signal handler.
#pragma once

#include <console/types.h>

// Counts a frame of the main loop; returns the new count.
u32 HostCountFrame();

// Ending a run as closing the window does: POWER while the program listens for it, else
// the close request that ends the frame loop. SIGINT and SIGTERM, once caught, ask for it
// at the next retrace or frame; a second one ends the program at once.
void HostRequestClose();
// Ends the frame loop at its next frame whatever the program listens for.
void HostRequestEnd();
void HostCatchStopSignals();
void HostCheckStopSignal();
