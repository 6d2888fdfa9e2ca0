// The point where queued flash-memory commands run: OSYieldThread calls it.
#pragma once

// On the main thread, runs the commands queued before this call, in order, each
// followed by its callback; elsewhere does nothing.
void NANDRunQueuedCommands();
