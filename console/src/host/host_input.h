// The host's remotes as a bank of records, below the input script's replay: the window
// and the replay change them through the setters of console/host_input.h, and the replay
// reads them for the remote library once it has started. Main thread but for the setters.
#pragma once

#include <console/host_input.h>

// The remote as it stands; a bad index is reported and reads as disconnected.
HostRemote HostInputReadRemote(int remote);
// The remotes and the sync press back to the start-up state.
void HostInputResetRemotes();
// A new main-loop frame for the remotes' buttons: button changes that waited for it are made.
void HostInputStartFrameOfEdges();
