// Operating system: the two memory arenas, the time base, console output, panics
// and the interrupt lock. Arenas are allocated on first use (before main when a
// static initialiser allocates); nothing here allocates through operator new.
// OSDisableInterrupts is a real recursive lock shared with the audio thread.
#pragma once

#include <console/types.h>

using OSTime = s64;
using OSTick = s32;

// Arena sizes on the console; a test may ask for smaller ones before first use.
constexpr u32 OS_MEM1_ARENA_SIZE = 24u * 1024u * 1024u;
constexpr u32 OS_MEM2_ARENA_SIZE = 64u * 1024u * 1024u;

// Bus clock in Hz; the time base runs at a quarter of it.
constexpr u32 OS_BUS_CLOCK = 243000000u;
constexpr u32 OS_TIMER_CLOCK = OS_BUS_CLOCK / 4;

// Sizes the arenas before first use; returns false once they exist.
bool OSSetArenaSizes(u32 mem1Size, u32 mem2Size);

void* OSGetMEM1ArenaLo();
void* OSGetMEM1ArenaHi();
void* OSGetMEM2ArenaLo();
void* OSGetMEM2ArenaHi();
void OSSetMEM1ArenaLo(void* lo);
void OSSetMEM1ArenaHi(void* hi);
void OSSetMEM2ArenaLo(void* lo);
void OSSetMEM2ArenaHi(void* hi);

// Physical addresses, for the hardware that works with them (AI DMA, AX voices): the
// whole of MEM1 from 0x00000000 and the whole of MEM2 from OS_MEM2_PHYSICAL_BASE.
constexpr u32 OS_MEM1_PHYSICAL_BASE = 0x00000000u;
constexpr u32 OS_MEM2_PHYSICAL_BASE = 0x10000000u;
constexpr u32 OS_PHYSICAL_INVALID = 0xFFFFFFFFu;
// The physical address of an arena byte; OS_PHYSICAL_INVALID, reported, for any other.
u32 OSCachedToPhysical(const void* address);
// The arena byte at a physical address; null, reported, outside both arenas.
void* OSPhysicalToCached(u32 physical);

// The data cache. Host memory is coherent, so writing a range back for the hardware
// (flush) or discarding it before reading what the hardware wrote (invalidate) needs
// no work; callers keep the console's order of operations all the same.
void DCFlushRange(void* start, u32 size);
void DCInvalidateRange(void* start, u32 size);

// Bus clock word of the low-memory system area.
u32 OSGetBusClock();

// Time base ticks: the host's monotonic clock, or the virtual clock when headless.
OSTime OSGetTime();

// printf-style output to stderr.
void OSReport(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Prints file, line and message to stderr and aborts; never returns.
[[noreturn]] void OSPanic(const char* file, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Returns whether interrupts were enabled before; each call must be paired with
// one OSRestoreInterrupts of its result.
BOOL OSDisableInterrupts();
BOOL OSRestoreInterrupts(BOOL level);

// Lets other threads run. On the main thread it is also where queued flash-memory
// commands complete and their callbacks run (nand.h).
void OSYieldThread();

// Returns to the console's menu: the host stops (the window closes, output is flushed)
// and the process ends with exit code 0. Callers show a black frame first.
[[noreturn]] void OSReturnToMenu();

// Restarts the program, as the console's hot reset does: the host stops as at a run's end
// and the program starts again from its entry point with the same host options, the run's
// frame count going on (host.h). Callers end their main loop in order and show a black
// frame first. Should the program not start again, the process ends with exit code 1.
[[noreturn]] void OSRestart();

// Current stack pointer, for the assertion report's frame walk.
void* OSGetStackPointer();

// The RESET and POWER buttons. The host raises a press (host.h); the installed callback
// runs on the main thread at the next retrace wait, once however often the button was
// pressed before it. A press with no callback installed is reported and dropped. Each
// setter returns the callback it replaces.
using OSResetCallback = void (*)();
using OSPowerCallback = void (*)();
OSResetCallback OSSetResetCallback(OSResetCallback callback);
OSPowerCallback OSSetPowerCallback(OSPowerCallback callback);
// For the host: without a power callback, closing the window ends the program instead.
bool OSHasPowerCallback();

// ---- Threads and message queues ----
// Threads run one at a time (the console has one core): a thread keeps running until it
// waits (on a message queue, suspended, at its end), and then the most urgent ready thread
// runs (priority 0 first, 31 last; the main thread is 16; equal priorities by creation).
// While the main thread waits for a retrace (VIWaitForRetrace) every other thread runs
// until all of them wait, so a headless run is deterministic. Callbacks (retrace, audio
// DMA) may send and receive without blocking; a thread is never switched inside them.
// A blocking call from a thread that is neither the main thread nor one created here is
// reported and refused.
constexpr s32 OS_PRIORITY_MAX = 0;
constexpr s32 OS_PRIORITY_MIN = 31;
constexpr s32 OS_MAIN_THREAD_PRIORITY = 16;
constexpr u16 OS_THREAD_ATTR_DETACH = 1;

struct OSThread {
    s32 slot; // of the scheduler's fixed table, -1 before creation
};
using OSThreadFunction = void* (*)(void* param);

// Creates the thread suspended (resume it to start it). The stack is the caller's memory,
// kept for the console's sake; the thread runs on a host stack. False, reported, for a bad
// priority or when every one of the 15 thread slots is taken.
BOOL OSCreateThread(OSThread* thread, OSThreadFunction function, void* param, void* stackTop,
                    u32 stackSize, s32 priority, u16 attributes);
// Both return the suspend count before the call; suspending the calling thread waits until
// another resumes it.
s32 OSResumeThread(OSThread* thread);
s32 OSSuspendThread(OSThread* thread);
// Ends a thread wherever it waits (its stack unwinds) and frees its slot; returns once it
// has ended. A thread cannot cancel itself.
void OSCancelThread(OSThread* thread);
// For VIWaitForRetrace: lets every other ready thread run until each of them waits.
void OSRunThreadsUntilIdle();

using OSMessage = void*;
constexpr s32 OS_MESSAGE_NOBLOCK = 0;
constexpr s32 OS_MESSAGE_BLOCK = 1;

struct OSMessageQueue {
    OSMessage* msgArray;
    s32 msgCount;
    s32 firstIndex;
    s32 usedCount;
};

void OSInitMessageQueue(OSMessageQueue* queue, OSMessage* msgArray, s32 msgCount);
// FALSE when the queue is full (or empty) and the flag asks not to block.
BOOL OSSendMessage(OSMessageQueue* queue, OSMessage message, s32 flags);
BOOL OSReceiveMessage(OSMessageQueue* queue, OSMessage* message, s32 flags);

// The locked cache: a fast scratch area on the console, nothing to set up on the host.
void LCEnable();
void LCDisable();
