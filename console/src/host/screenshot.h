// Screenshots: the picture VI shows, written as PNG files at the frame counts the
// --screenshot options name. A file that cannot be written is reported and counted
// as missing. Main thread only.
#pragma once

#include <console/types.h>

// Writes every screenshot due once framesDone frames have run.
void HostTakeDueScreenshots(u32 framesDone);
// True when every screenshot asked for was written; reports each one that was not.
bool HostScreenshotsWritten();
