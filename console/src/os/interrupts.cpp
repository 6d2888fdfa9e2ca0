// Interrupt masking as a recursive lock shared with the audio thread: the thread
// that disables interrupts keeps every other thread out of the masked section.
#include <console/os.h>

#include "nand/nand_poll.h"

#include <mutex>
#include <thread>

namespace {

constinit std::recursive_mutex s_interruptLock;
thread_local int t_disableDepth = 0;

} // namespace

BOOL OSDisableInterrupts() {
    s_interruptLock.lock();
    return t_disableDepth++ == 0 ? TRUE : FALSE;
}

BOOL OSRestoreInterrupts(BOOL level) {
    if (t_disableDepth == 0) {
        OSReport("OSRestoreInterrupts: interrupts are not disabled\n");
        return TRUE;
    }
    (void)level;
    --t_disableDepth;
    s_interruptLock.unlock();
    return FALSE; // interrupts were disabled until this call
}

void OSYieldThread() {
    NANDRunQueuedCommands();
    std::this_thread::yield();
}

void* OSGetStackPointer() {
    return __builtin_frame_address(0);
}
