// Disc drive: the disc is a directory on the host (--disc DIR, by default disc/ beside
// the executable's bin/), whose paths are found case-insensitively as on the console's
// disc. Reads run on the drive's own thread, or headless at the polls (each serves the
// reads queued before it: no virtual time passes, whatever the host's load); a command's
// completion (its state, size and callback) reaches the caller only when it polls
// (DVDGetCommandBlockStatus, DVDGetDriveStatus, DVDCancel, DVDReadPrio's wait), and
// callbacks run only on the main thread. Injected faults (console/fault.h) hold a read in
// a drive error state for a number of polls; a read queued behind it reports that error and
// its polls count, and a blocking read of a console thread waits, giving the run to the
// others, until their polls release the drive. Bad arguments are reported and refused.
// Nothing here allocates through operator new.
#pragma once

#include <console/types.h>

// Drive and command states.
enum : s32 {
    DVD_STATE_FATAL_ERROR = -1,
    DVD_STATE_END = 0, // idle, or the command finished
    DVD_STATE_BUSY = 1,
    DVD_STATE_NO_DISK = 4,
    DVD_STATE_WRONG_DISK = 6,
    DVD_STATE_CANCELED = 10,
    DVD_STATE_RETRY = 11,
};

// Results of synchronous reads (else the bytes read) and of callbacks.
enum : s32 {
    DVD_RESULT_FATAL_ERROR = -1,
    DVD_RESULT_CANCELED = -3,
};

// Read priorities: 0 is served first, 3 last; equal priorities in request order.
constexpr s32 DVD_PRIO_COUNT = 4;

struct DVDFileInfo;
using DVDCallback = void (*)(s32 result, DVDFileInfo* fileInfo);

// One read command. Every field belongs to the drive while the command is in flight;
// callers read the state with DVDGetCommandBlockStatus.
struct DVDCommandBlock {
    DVDCommandBlock* next;
    s32 state;
    s32 phase;
    s32 priority;
    s32 result;
    u32 offset;
    u32 length;
    u32 transferredSize;
    u32 order;       // of the request, for equal priorities
    u32 finishOrder; // of the completion, for handing completions over
    u32 faultPolls;
    s32 faultState;
    bool cancelRequested;
    void* addr;
    DVDCallback callback;
    DVDFileInfo* fileInfo;
};

// An open file: a plain record, which callers may copy while no read is in flight.
struct DVDFileInfo {
    DVDCommandBlock cb;
    s32 entryNum;
    u32 length;
};

void DVDInit();

// The file's entry number, or -1 when the disc has no such file.
s32 DVDConvertPathToEntrynum(const char* path);
BOOL DVDFastOpen(s32 entryNum, DVDFileInfo* fileInfo);
BOOL DVDOpen(const char* path, DVDFileInfo* fileInfo);
// Cancels a read still in flight on the file.
BOOL DVDClose(DVDFileInfo* fileInfo);

// The buffer is 32-byte aligned, length a multiple of 32, offset a multiple of 4, and
// the range within the file's length rounded up to 32 (the bytes past the end read 0).
// The asynchronous read returns FALSE when refused; the callback may be null.
BOOL DVDReadAsyncPrio(DVDFileInfo* fileInfo, void* addr, s32 length, s32 offset,
                      DVDCallback callback, s32 priority);
// Blocks until done: the bytes read, or a negative DVD_RESULT.
s32 DVDReadPrio(DVDFileInfo* fileInfo, void* addr, s32 length, s32 offset, s32 priority);

s32 DVDGetCommandBlockStatus(DVDCommandBlock* block);
// The drive's state: an injected error while a command is held in one, busy while any
// command is in flight, else DVD_STATE_END.
s32 DVDGetDriveStatus();
u32 DVDGetTransferredSize(const DVDFileInfo* fileInfo);
// Stops the command (waiting for a transfer under way); its result is
// DVD_RESULT_CANCELED. Returns 0, or -1 for a null block.
s32 DVDCancel(DVDCommandBlock* block);
// Stops every command in flight, as DVDCancel does each; TRUE.
BOOL DVDCancelAll();

// Host: the files the program cannot run without, handed down before it first reads the
// disc. Returns the first one the disc folder lacks, or null when it holds them all; the
// program itself (not a test) ends there instead, with exit code 2 and a line on standard
// error naming the file and the folder.
const char* DVDHostCheckFiles(const char* const* paths, u32 count);
