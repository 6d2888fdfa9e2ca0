// The host's part of each video retrace, called by VI on the main thread: the wait
// for the field (headless: the virtual clock moves one field; in a window: real time
// on the monotonic clock), then a stop signal is taken, and the window shows the new
// picture and handles events.
#pragma once

#include <console/types.h>

void HostWaitForField(s64 ticksPerField);
void HostShowRetrace();
