// The data cache calls: nothing to do on a coherent host.
#include <console/os.h>

void DCFlushRange(void*, u32) {}

void DCInvalidateRange(void*, u32) {}
