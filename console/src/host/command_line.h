// The process's own command line, for the options read before main and for a restart
// that starts the program again with the same arguments.
#pragma once

// Splits /proc/self/cmdline into argv (static storage, overwritten by the next call);
// returns the count, 0 when it cannot be read.
int HostReadOwnCommandLine(const char** argv, int maxArgs);
